#include "Platform.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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

// The titled top-level window, or 0: the classic library reports it as wmwindow (window is its
// child); sdl12-compat reports 0 there and its top-level window as window.
Window TopLevelWindow(const SDL_SysWMinfo& oInfo)
{
    if (oInfo.subsystem != SDL_SYSWM_X11 || oInfo.info.x11.display == nullptr)
        return 0;
    return oInfo.info.x11.wmwindow != 0 ? oInfo.info.x11.wmwindow : oInfo.info.x11.window;
}
} // namespace

bool MoveReportedWindowToTopLeft(const SDL_SysWMinfo& oInfo)
{
    Window iWindow = TopLevelWindow(oInfo);
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
    // A write to the dead server would otherwise end the game by SIGPIPE (status 141) before Xlib
    // sees EPIPE and calls the handler; the game writes to no other pipe or socket.
    signal(SIGPIPE, SIG_IGN);
    XSetIOErrorHandler(EndOnBrokenConnection);
}

void ShowDisplayRects(SDL_Surface* pDisplay, int iCount, SDL_Rect* pRects)
{
    SDL_UpdateRects(pDisplay, iCount, pRects);
}

void ShowIconToWindowManager(SDL_Surface* pIcon)
{
    SDL_SysWMinfo oInfo;
    SDL_VERSION(&oInfo.version);
    Window iWindow = SDL_GetWMInfo(&oInfo) > 0 ? TopLevelWindow(oInfo) : 0;
    if (iWindow == 0 || pIcon->format->BytesPerPixel != 4)
        return;
    // _NET_WM_ICON: width, height, then the pixels as 0xAARRGGBB, each in a long.
    std::vector<unsigned long> vecIcon = {static_cast<unsigned long>(pIcon->w),
                                          static_cast<unsigned long>(pIcon->h)};
    for (int iY = 0; iY < pIcon->h; iY++)
    {
        const Uint32* pRow =
            reinterpret_cast<const Uint32*>(static_cast<Uint8*>(pIcon->pixels) + iY * pIcon->pitch);
        for (int iX = 0; iX < pIcon->w; iX++)
        {
            Uint8 iRed, iGreen, iBlue, iAlpha;
            SDL_GetRGBA(pRow[iX], pIcon->format, &iRed, &iGreen, &iBlue, &iAlpha);
            vecIcon.push_back(static_cast<unsigned long>(iAlpha) << 24 | iRed << 16 | iGreen << 8 |
                              iBlue);
        }
    }
    if (oInfo.info.x11.lock_func != nullptr)
        oInfo.info.x11.lock_func();
    Display* pDisplay = oInfo.info.x11.display;
    XChangeProperty(pDisplay, iWindow, XInternAtom(pDisplay, "_NET_WM_ICON", False), XA_CARDINAL,
                    32, PropModeReplace, reinterpret_cast<unsigned char*>(vecIcon.data()),
                    static_cast<int>(vecIcon.size()));
    XFlush(pDisplay);
    if (oInfo.info.x11.unlock_func != nullptr)
        oInfo.info.x11.unlock_func();
}

void PreferNearestPixelScaling()
{
    setenv("SDL12COMPAT_SCALE_METHOD", "nearest", 0);
}

namespace
{
// Events already read from the connection would not wake a poll of it: those in Xlib's queue, and
// those in XCB's, where a renderer's own round trips on the connection leave them (a hardware
// renderer under sdl12-compat). This reads what the connection holds, without waiting, into Xlib's
// queue, where both libraries' event pumps look first.
int CountEventsRead(const SDL_SysWMinfo& oInfo)
{
    // The classic library's event thread may use the display too: hold its lock, where it has one.
    if (oInfo.info.x11.lock_func != nullptr)
        oInfo.info.x11.lock_func();
    int iCount = XEventsQueued(oInfo.info.x11.display, QueuedAfterReading);
    if (oInfo.info.x11.unlock_func != nullptr)
        oInfo.info.x11.unlock_func();
    return iCount;
}
} // namespace

bool SleepUntilInput(int iMicroseconds)
{
    SDL_SysWMinfo oInfo;
    SDL_VERSION(&oInfo.version);
    bool bWatched = SDL_GetWMInfo(&oInfo) > 0 && oInfo.subsystem == SDL_SYSWM_X11 &&
                    oInfo.info.x11.display != nullptr;
    pollfd oConnection = {-1, POLLIN, 0}; // a negative descriptor is not watched
    if (bWatched)
    {
        if (CountEventsRead(oInfo) > 0)
            return true;
        oConnection.fd = ConnectionNumber(oInfo.info.x11.display);
    }
    timespec oTimeout = {iMicroseconds / 1000000, iMicroseconds % 1000000 * 1000L};
    // SDL turns SIGTERM and SIGINT into a quit event: their interruption counts as input.
    return ppoll(&oConnection, 1, &oTimeout, nullptr) != 0;
}

FileReadResult ReadFileContent(const char* szFileName, size_t iMaxBytes, std::string& strContent)
{
    strContent.clear();
    // Without O_NONBLOCK the open of a FIFO waits for a writer that may never come.
    int iFile = open(szFileName, O_RDONLY | O_NONBLOCK | O_NOCTTY);
    if (iFile < 0)
        return errno == ENOENT ? FILE_MISSING : FILE_UNREADABLE;
    struct stat oStatus;
    if (fstat(iFile, &oStatus) != 0 || !S_ISREG(oStatus.st_mode))
    {
        close(iFile);
        return FILE_UNREADABLE;
    }
    char acBuffer[4096];
    FileReadResult eResult = FILE_READ_OK;
    while (strContent.size() < iMaxBytes)
    {
        ssize_t iRead = read(iFile, acBuffer, sizeof acBuffer);
        if (iRead < 0 && errno == EINTR)
            continue;
        if (iRead < 0)
        {
            eResult = FILE_UNREADABLE;
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

mode_t PlainCreateMode()
{
    mode_t iUmask = umask(0);
    umask(iUmask);
    return 0666 & ~iUmask;
}

// A new file beside strPath that can take its place: with the old file's owner, group and
// permission bits, or a plain create's bits when there is no old file. -1 when the directory
// takes no new file or the old file's set-up cannot all be given to it.
int CreateReplacement(const std::string& strPath, const struct stat* pOld,
                      std::string& strTemporary)
{
    // A name of our own making beside the file: never one of the player's files.
    strTemporary = strPath + ".XXXXXX";
    int iFile = mkstemp(&strTemporary[0]);
    if (iFile < 0)
        return -1;
    mode_t iMode = pOld != nullptr ? pOld->st_mode & 07777 : PlainCreateMode();
    // The bits after the owner: a change of owner clears the set-user-ID and set-group-ID bits.
    // Bits the kernel will not give (set-group-ID for a group we are not in) show in the check.
    struct stat oNew;
    bool bSameSetUp =
        (pOld == nullptr || fchown(iFile, pOld->st_uid, pOld->st_gid) == 0) &&
        fchmod(iFile, iMode) == 0 && fstat(iFile, &oNew) == 0 && (oNew.st_mode & 07777) == iMode &&
        (pOld == nullptr || (oNew.st_uid == pOld->st_uid && oNew.st_gid == pOld->st_gid));
    if (bSameSetUp)
        return iFile;
    close(iFile);
    unlink(strTemporary.c_str());
    return -1;
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

// Writes a new file of a new name and renames it over strPath: a failed write leaves the old file
// as it was, and no new file behind.
bool WriteAndRename(int iNew, const std::string& strTemporary, const std::string& strPath,
                    const std::string& strContent)
{
    bool bWritten = WriteAll(iNew, strContent) && fsync(iNew) == 0;
    bWritten = close(iNew) == 0 && bWritten;
    if (bWritten && rename(strTemporary.c_str(), strPath.c_str()) == 0)
    {
        SyncDirectory(DirectoryPart(strPath));
        return true;
    }
    unlink(strTemporary.c_str());
    return false;
}

// What a plain write does: the file emptied, written again from its start and flushed.
bool WriteInPlace(int iFile, const std::string& strContent)
{
    return ftruncate(iFile, 0) == 0 && WriteAll(iFile, strContent) && fsync(iFile) == 0;
}

bool LockWholeFile(int iFile)
{
    int iResult;
    while ((iResult = flock(iFile, LOCK_EX)) != 0 && errno == EINTR)
        ;
    return iResult == 0;
}

bool IsSameFile(const struct stat& oA, const struct stat& oB)
{
    return oA.st_dev == oB.st_dev && oA.st_ino == oB.st_ino;
}
} // namespace

bool ReplaceFileContent(const char* szFileName, const std::string& strContent)
{
    std::string strPath = FollowLinks(szFileName);
    std::string strTemporary;
    // Opened for writing as a plain write would open it, which also tells whether it may be
    // written at all (root needs no permission). O_NONBLOCK: a FIFO without a reader fails at once.
    int iOld = open(strPath.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY);
    if (iOld < 0)
    {
        int iNew = errno == ENOENT ? CreateReplacement(strPath, nullptr, strTemporary) : -1;
        return iNew >= 0 && WriteAndRename(iNew, strTemporary, strPath, strContent);
    }
    struct stat oOld;
    bool bReplaced = false;
    if (fstat(iOld, &oOld) == 0 && S_ISREG(oOld.st_mode))
    {
        // The other names of a file with hard links would keep its old content.
        int iNew = oOld.st_nlink == 1 ? CreateReplacement(strPath, &oOld, strTemporary) : -1;
        bReplaced = iNew >= 0 ? WriteAndRename(iNew, strTemporary, strPath, strContent)
                              : WriteInPlace(iOld, strContent);
    }
    close(iOld);
    return bReplaced;
}

FileLock::FileLock(const char* szFileName) : m_hLockedFile(-1)
{
    // A copy that replaced the file by a rename while this one waited has left it a lock on a
    // file that no longer has the name: then the file that has it now is locked instead.
    for (;;)
    {
        int iFile = open(szFileName, O_RDONLY | O_NONBLOCK | O_NOCTTY);
        if (iFile < 0)
            return;
        struct stat oLocked, oNamed;
        if (fstat(iFile, &oLocked) != 0 || !S_ISREG(oLocked.st_mode) || !LockWholeFile(iFile))
        {
            close(iFile);
            return;
        }
        if (stat(szFileName, &oNamed) == 0 && IsSameFile(oLocked, oNamed))
        {
            m_hLockedFile = iFile;
            return;
        }
        close(iFile);
    }
}

FileLock::~FileLock()
{
    if (m_hLockedFile >= 0)
        close(static_cast<int>(m_hLockedFile)); // which releases the lock
}

std::string WorkingDirectory()
{
    std::vector<char> acPath(256);
    while (getcwd(acPath.data(), acPath.size()) == nullptr)
    {
        if (errno != ERANGE)
            return std::string();
        acPath.resize(acPath.size() * 2);
    }
    return acPath.data();
}

void HideOwnConsoleWindow() {}
