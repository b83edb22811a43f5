#ifndef FILE_REPORT_H
#define FILE_REPORT_H

// Tells the player on standard error which file the game could not use and where it was looked
// for: "cannot find NAME in DIRECTORY" when it is missing, "cannot load NAME in DIRECTORY" when it
// is there but unusable. Once for each name, however often the file is asked for again.
void ReportUnloadableFile(const char* szFileName);

#endif
