#include "FileReport.h"

#include <cstdio>
#include <set>
#include <string>

#include "Platform.h"

void ReportUnloadableFile(const char* szFileName)
{
    // Each rock and each shot loads its picture: one line per file, not per load.
    static std::set<std::string> s_oReported;
    if (!s_oReported.insert(szFileName).second)
        return;
    std::string strIgnored;
    bool bMissing = ReadFileContent(szFileName, 0, strIgnored) == FILE_MISSING;
    fprintf(stderr, "cannot %s %s in %s\n", bMissing ? "find" : "load", szFileName,
            WorkingDirectory().c_str());
}
