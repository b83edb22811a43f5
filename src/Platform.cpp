#include "Platform.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
// Errors of the X requests MoveXWindow is making.
int g_iXErrorsCaught = 0;

int CountXError(Display*, XErrorEvent*)
{
    g_iXErrorsCaught++;
    return 0;
}

// Xlib's own handler ends the process on any error, and a library's atexit handlers can then
// hang in their shutdown: errors of our own requests are counted instead, and the handler in
// place before is put back. The requests are synced so that their errors arrive meanwhile.
int MoveXWindow(Display* pDisplay, Window iWindow, int iX, int iY)
{
    XSync(pDisplay, False); // errors of earlier requests belong to whoever made them
    XErrorHandler pPrevious = XSetErrorHandler(CountXError);
    g_iXErrorsCaught = 0;
    XMoveWindow(pDisplay, iWindow, iX, iY);
    XRaiseWindow(pDisplay, iWindow);
    XSync(pDisplay, False);
    XSetErrorHandler(pPrevious);
    return g_iXErrorsCaught;
}
} // namespace

bool MoveReportedWindowToTopLeft(const SDL_SysWMinfo& oInfo)
{
    if (oInfo.subsystem != SDL_SYSWM_X11 || oInfo.info.x11.display == nullptr)
        return false;
    // The classic library reports the titled top-level window as wmwindow (window is its child);
    // sdl12-compat reports 0 there and its top-level window as window.
    Window iWindow = oInfo.info.x11.wmwindow != 0 ? oInfo.info.x11.wmwindow : oInfo.info.x11.window;
    if (iWindow == 0)
        return false;
    // The classic library's event thread may use the display too: hold its lock, where it has one.
    if (oInfo.info.x11.lock_func != nullptr)
        oInfo.info.x11.lock_func();
    int iErrors = MoveXWindow(oInfo.info.x11.display, iWindow, 0, 0);
    if (oInfo.info.x11.unlock_func != nullptr)
        oInfo.info.x11.unlock_func();
    return iErrors == 0;
}

namespace
{
// Xlib calls this when the connection breaks; it must not return. Xlib's own handler would call
// exit, whose handlers (SDL_Quit) wait on the dead display under sdl12-compat for ever.
int EndOnBrokenConnection(Display* pDisplay)
{
    int iError = errno;
    // A server that went away leaves EPIPE, or EAGAIN from the last read of a closed socket.
    if (iError == EPIPE || iError == EAGAIN || iError == ECONNRESET)
        fprintf(stderr, "X connection to %s broken (explicit kill or server shutdown).\r\n",
                DisplayString(pDisplay));
    else
        fprintf(stderr, "XIO:  fatal IO error %d (%s) on X server \"%s\"\r\n", iError,
                strerror(iError), DisplayString(pDisplay));
    fflush(stdout); // the console lines already printed; the files need nothing
    _exit(1);
}
} // namespace

void EndProgramOnLostDisplay()
{
    XSetIOErrorHandler(EndOnBrokenConnection);
}

bool MoveWindowToTopLeft()
{
    SDL_SysWMinfo oInfo;
    SDL_VERSION(&oInfo.version);
    // No window-manager information (the dummy driver, an SDL running natively on Wayland): no
    // move.
    if (SDL_GetWMInfo(&oInfo) <= 0)
        return false;
    return MoveReportedWindowToTopLeft(oInfo);
}

void PreferNearestPixelScaling()
{
    setenv("SDL12COMPAT_SCALE_METHOD", "nearest", 0);
}

void SleepMicroseconds(int iMicroseconds)
{
    usleep(static_cast<useconds_t>(iMicroseconds));
}

FileReadResult ReadFileContent(const char* szFileName, size_t iMaxBytes, std::string& strContent)
{
    strContent.clear();
    int iFile = open(szFileName, O_RDONLY);
    if (iFile < 0)
        return errno == ENOENT ? FILE_MISSING : FILE_UNREADABLE;
    char acBuffer[4096];
    FileReadResult eResult = FILE_READ_OK;
    while (strContent.size() < iMaxBytes)
    {
        ssize_t iRead = read(iFile, acBuffer, sizeof acBuffer);
        if (iRead < 0 && errno == EINTR)
            continue;
        if (iRead < 0)
        {
            eResult = FILE_UNREADABLE; // a directory answers EISDIR here
            break;
        }
        if (iRead == 0)
            break;
        strContent.append(acBuffer,
                          std::min(static_cast<size_t>(iRead), iMaxBytes - strContent.size()));
    }
    close(iFile);
    return eResult;
}

namespace
{
bool WriteAll(int iFile, const std::string& strContent)
{
    size_t iWritten = 0;
    while (iWritten < strContent.size())
    {
        ssize_t iResult = write(iFile, strContent.data() + iWritten, strContent.size() - iWritten);
        if (iResult < 0 && errno == EINTR)
            continue;
        if (iResult <= 0)
            return false;
        iWritten += static_cast<size_t>(iResult);
    }
    return true;
}

// "dir/" of "dir/name"; "" for a name in the working directory.
std::string DirectoryPart(const std::string& strPath)
{
    size_t iSlash = strPath.rfind('/');
    return iSlash == std::string::npos ? std::string() : strPath.substr(0, iSlash + 1);
}

// The file a name finally stands for, through any symbolic links (a link's relative target is
// taken from the link's directory). A loop of links is left for the open to report.
std::string FollowLinks(const char* szFileName)
{
    const int MAX_LINKS = 40; // as the kernel allows
    std::string strPath = szFileName;
    char acTarget[4096];
    for (int i = 0; i < MAX_LINKS; i++)
    {
        ssize_t iLength = readlink(strPath.c_str(), acTarget, sizeof acTarget);
        if (iLength <= 0 || iLength == static_cast<ssize_t>(sizeof acTarget))
            break;
        std::string strTarget(acTarget, static_cast<size_t>(iLength));
        strPath = strTarget[0] == '/' ? strTarget : DirectoryPart(strPath) + strTarget;
    }
    return strPath;
}

// The permission bits the new file gets: the old file's, or what a plain create would give. False
// when the old file could not be written in place, exactly as a plain write would fail: no
// permission (which root does not need), a directory, anything but a regular file.
bool NewFileMode(const std::string& strPath, mode_t& iMode)
{
    int iOld = open(strPath.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY);
    if (iOld < 0)
    {
        bool bMissing = errno == ENOENT;
        mode_t iUmask = umask(0);
        umask(iUmask);
        iMode = 0666 & ~iUmask;
        return bMissing;
    }
    struct stat oStatus;
    bool bRegular = fstat(iOld, &oStatus) == 0 && S_ISREG(oStatus.st_mode);
    close(iOld);
    iMode = oStatus.st_mode & 07777;
    return bRegular;
}

// After a rename the directory holds the new name; syncing it keeps the file through a power cut.
// Some file systems cannot sync a directory: the new file is in place all the same.
void SyncDirectory(const std::string& strDirectory)
{
    int iDirectory =
        open(strDirectory.empty() ? "." : strDirectory.c_str(), O_RDONLY | O_DIRECTORY);
    if (iDirectory < 0)
        return;
    fsync(iDirectory);
    close(iDirectory);
}
} // namespace

bool ReplaceFileContent(const char* szFileName, const std::string& strContent)
{
    std::string strPath = FollowLinks(szFileName);
    mode_t iMode = 0;
    if (!NewFileMode(strPath, iMode))
        return false;
    // A name of our own making beside the file: never one of the player's files.
    std::string strTemporary = strPath + ".XXXXXX";
    int iFile = mkstemp(&strTemporary[0]);
    if (iFile < 0)
        return false;
    bool bWritten = fchmod(iFile, iMode) == 0 && WriteAll(iFile, strContent) && fsync(iFile) == 0;
    bWritten = close(iFile) == 0 && bWritten;
    if (bWritten && rename(strTemporary.c_str(), strPath.c_str()) == 0)
    {
        SyncDirectory(DirectoryPart(strPath));
        return true;
    }
    unlink(strTemporary.c_str());
    return false;
}
