#ifndef PLATFORM_H
#define PLATFORM_H

#include <string>

struct SDL_SysWMinfo;

// Window-system and file-system services that SDL 1.2 and the C++ library do not offer.

// Moves the game window to the desktop's top-left corner. Where the window system gives no way to
// do it (no window-manager information, as under SDL's dummy driver), nothing happens. False when
// the window did not move; never fatal, also when the X server refuses the request.
bool MoveWindowToTopLeft();
// The same for the window that a library's window-manager information reports.
bool MoveReportedWindowToTopLeft(const SDL_SysWMinfo& oInfo);

// From now on, a lost connection to the X server (a logout, a crashed server) ends the program at
// once with status 1 and Xlib's line on standard error, running no exit handlers: a library's
// shutdown can wait for ever on the dead display. Call after SDL's video start-up, whose classic
// library puts in a handler of its own.
void EndProgramOnLostDisplay();

// Asks an SDL 1.2 built over SDL2 (sdl12-compat) to scale the window by the nearest pixel rather
// than blend neighbours: the game draws sharp single pixels, and blending costs a software
// renderer about a sixth of a core. Call before SDL starts; a choice the player set is kept.
void PreferNearestPixelScaling();

// Suspends the program for about iMicroseconds.
void SleepMicroseconds(int iMicroseconds);

// How reading a whole file went.
enum FileReadResult
{
    FILE_READ_OK,
    FILE_MISSING,
    FILE_UNREADABLE // exists but cannot be read: a directory, no permission, an I/O error
};

// Reads at most iMaxBytes of a file into strContent, bytes as they are.
FileReadResult ReadFileContent(const char* szFileName, size_t iMaxBytes, std::string& strContent);

// Replaces a file's content whole: written to a temporary file of a new name in the file's
// directory, flushed to the disk, then renamed over the old one, so a failed write leaves the old
// file as it was. A symbolic link is written through to the file it names, and the file keeps its
// permission bits; a file that could not be written in place is not replaced either.
// Returns false when the new content could not be put in place.
bool ReplaceFileContent(const char* szFileName, const std::string& strContent);

#endif
