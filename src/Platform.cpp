#include "Platform.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

void MoveWindowToTopLeft()
{
    SDL_SysWMinfo oInfo;
    SDL_VERSION(&oInfo.version);
    if (SDL_GetWMInfo(&oInfo) <= 0 || oInfo.subsystem != SDL_SYSWM_X11)
        return;
    // SDL's event thread may use the display too: hold its lock around our own requests.
    oInfo.info.x11.lock_func();
    XMoveWindow(oInfo.info.x11.display, oInfo.info.x11.wmwindow, 0, 0);
    XRaiseWindow(oInfo.info.x11.display, oInfo.info.x11.wmwindow);
    XFlush(oInfo.info.x11.display);
    oInfo.info.x11.unlock_func();
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
} // namespace

bool ReplaceFileContent(const char* szFileName, const std::string& strContent)
{
    std::string strTemporary = std::string(szFileName) + ".new";
    unlink(strTemporary.c_str()); // a leftover of an interrupted write
    int iFile = open(strTemporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_TRUNC, 0666);
    if (iFile < 0)
        return false;
    bool bWritten = WriteAll(iFile, strContent) && fsync(iFile) == 0;
    bWritten = close(iFile) == 0 && bWritten;
    if (bWritten && rename(strTemporary.c_str(), szFileName) == 0)
        return true;
    unlink(strTemporary.c_str());
    return false;
}
