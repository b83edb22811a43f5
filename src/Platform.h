#ifndef PLATFORM_H
#define PLATFORM_H

#include <cstdint>
#include <string>

struct SDL_Rect;
struct SDL_Surface;
struct SDL_SysWMinfo;

// Window-system and file-system services that SDL 1.2 and the C++ library do not offer.

// Moves the game window to the desktop's top-left corner. Where the window system gives no way to
// do it (no window-manager information, as under SDL's dummy driver), nothing happens. False when
// the window did not move; never fatal, also when the X server refuses the request.
bool MoveWindowToTopLeft();
// The same for the window that a library's window-manager information reports.
bool MoveReportedWindowToTopLeft(const SDL_SysWMinfo& oInfo);

// Shows these rectangles of the display surface on the display, as SDL_UpdateRects does; where
// SDL's display is a plain surface of its dummy driver (the browser), copies them to the page.
void ShowDisplayRects(SDL_Surface* pDisplay, int iCount, SDL_Rect* pRects);

// Gives the window manager the window's icon also in the form today's desktops read (the
// classic library gives X11 only the old one). Nothing where the window system takes the
// library's icon as it is, or gives no way to do it.
void ShowIconToWindowManager(SDL_Surface* pIcon);

// From now on, a lost connection to the X server (a logout, a crashed server) ends the program at
// once with status 1 and Xlib's line on standard error, running no exit handlers: a library's
// shutdown can wait for ever on the dead display. Call after SDL's video start-up, whose classic
// library puts in a handler of its own.
void EndProgramOnLostDisplay();

// Asks an SDL 1.2 built over SDL2 (sdl12-compat) to scale the window by the nearest pixel rather
// than blend neighbours: the game draws sharp single pixels, and blending costs a software
// renderer about a sixth of a core. Call before SDL starts; a choice the player set is kept.
void PreferNearestPixelScaling();

// Hides the console window that the system made for this program alone, as for a console program
// started from the desktop, so that the player sees only the game; a console that a shell or
// another program shares keeps showing the program's lines. Nothing where programs get no console
// window of their own (POSIX).
void HideOwnConsoleWindow();

// Suspends the program for about iMicroseconds, or until input for the game's window may have come
// in (keys, the mouse, a close, a signal), whichever is first; true when input ended the wait.
// Where input cannot be watched (SDL's dummy driver), the whole time.
bool SleepUntilInput(int iMicroseconds);

// File names are given in UTF-8 (the game's own are ASCII names in its working directory, whose
// own name can hold anything): on Windows they are used in wide characters.

// How reading a whole file went.
enum FileReadResult
{
    FILE_READ_OK,
    FILE_MISSING,
    FILE_UNREADABLE // exists but cannot be read: no permission, an I/O error, not a regular file
};

// The program's working directory, where files named without a directory are looked for; UTF-8
// on Windows. Empty when it cannot be told (it was removed).
std::string WorkingDirectory();

// Reads at most iMaxBytes of a file into strContent, bytes as they are. Only a regular file is
// read, and the open never waits: a FIFO or a device is unreadable, as is a directory.
FileReadResult ReadFileContent(const char* szFileName, size_t iMaxBytes, std::string& strContent);

// Replaces a file's content whole, where a plain write would: a file that could not be written
// in place is left as it is. A symbolic link is written through to the file it names. The new
// content goes to a temporary file of a new name beside the file, flushed to the disk and renamed
// over the old one, so that a failed write leaves the old file as it was; but where the rename
// would lose what the player set up (the directory takes no new file, the file has a second hard
// link, or its owner, group or permission bits cannot all be given to a new file), the file is
// emptied and written in place, as a plain write does, and flushed to the disk.
// Returns false when the new content could not be put in place.
bool ReplaceFileContent(const char* szFileName, const std::string& strContent);

// Holds other copies of the game off a file from the time it is read to the time it is replaced,
// so that their changes are not lost; waits while another copy holds it. A file that is missing,
// unreadable or not a regular file is not locked.
class FileLock
{
public:
    explicit FileLock(const char* szFileName);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    // The locked file as the platform's body holds files (a descriptor, a HANDLE); -1 when
    // nothing is locked.
    intptr_t m_hLockedFile;
};

#endif
