#include "Platform.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <emscripten.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

// The browser's body of the platform face. SDL runs its dummy video driver, which draws into a
// plain surface; the page (dist/web/page.js, Module.starshards) shows that surface in its canvas,
// turns the page's key events and visibility into SDL events and keeps the game's files in the
// browser's storage. The functions below are the game's side of that page.

namespace
{
// clang-format off
EM_JS(void, CopyToCanvas, (const void* pPixels, int iPitch, int iWidth, int iHeight, int iX, int iY,
                           int iRectWidth, int iRectHeight), {
    Module.starshards.copyToCanvas(pPixels, iPitch, iWidth, iHeight, iX, iY, iRectWidth,
                                   iRectHeight);
});
EM_ASYNC_JS(int, WaitForPageEvent, (int iMilliseconds), {
    return await Module.starshards.waitForEvent(iMilliseconds);
});
EM_JS(int, TakePageEvent, (int* pKey, int* pModOrGain), {
    return Module.starshards.takeEvent(pKey, pModOrGain);
});
EM_JS(void, ShowCaption, (const char* szCaption), {
    document.title = UTF8ToString(szCaption);
});
EM_JS(void, ShowIcon, (const void* pRgba, int iWidth, int iHeight), {
    Module.starshards.showIcon(pRgba, iWidth, iHeight);
});
EM_ASYNC_JS(int, StoreFilesInBrowser, (), {
    return await Module.starshards.storeFiles();
});
EM_ASYNC_JS(void, RefreshFilesFromBrowser, (int bAlways), {
    await Module.starshards.refreshFiles(bAlways);
});
EM_ASYNC_JS(void, HoldStoredFiles, (), {
    await Module.starshards.holdFiles();
});
EM_JS(void, ReleaseStoredFiles, (), {
    Module.starshards.releaseFiles();
});
// clang-format on

// The page's events become the SDL events the game reads, in the order they came.
void PushPageEvents()
{
    int iKey, iModOrGain, iType;
    while ((iType = TakePageEvent(&iKey, &iModOrGain)) != 0)
    {
        SDL_Event oEvent = {};
        oEvent.type = static_cast<Uint8>(iType);
        if (iType == SDL_ACTIVEEVENT)
        {
            oEvent.active.gain = static_cast<Uint8>(iModOrGain);
            oEvent.active.state = SDL_APPACTIVE;
        }
        else
        {
            oEvent.key.state = iType == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
            oEvent.key.keysym.sym = static_cast<SDLKey>(iKey);
            oEvent.key.keysym.mod = static_cast<SDLMod>(iModOrGain);
        }
        SDL_PushEvent(&oEvent);
    }
}
} // namespace

// Only the display's own surface reaches the canvas, as only its pushes reach a window.
void ShowDisplayRects(SDL_Surface* pDisplay, int iCount, SDL_Rect* pRects)
{
    if (pDisplay != SDL_GetVideoSurface())
        return;
    for (int i = 0; i < iCount; i++)
        CopyToCanvas(pDisplay->pixels, pDisplay->pitch, pDisplay->w, pDisplay->h, pRects[i].x,
                     pRects[i].y, pRects[i].w, pRects[i].h);
}

// A page has no window to move; the window's caption becomes the page's title instead.
bool MoveWindowToTopLeft()
{
    char* szCaption = nullptr;
    SDL_WM_GetCaption(&szCaption, nullptr);
    if (szCaption != nullptr)
        ShowCaption(szCaption);
    return false;
}

// The icon becomes the page's icon, in the colours SDL reads from the picture.
void ShowIconToWindowManager(SDL_Surface* pIcon)
{
    std::vector<Uint8> vecRgba;
    vecRgba.reserve(static_cast<size_t>(pIcon->w) * pIcon->h * 4);
    SDL_LockSurface(pIcon);
    for (int iY = 0; iY < pIcon->h; iY++)
        for (int iX = 0; iX < pIcon->w; iX++)
        {
            const Uint8* pPixel = static_cast<const Uint8*>(pIcon->pixels) + iY * pIcon->pitch +
                                  iX * pIcon->format->BytesPerPixel;
            Uint32 iPixel = 0;
            memcpy(&iPixel, pPixel, pIcon->format->BytesPerPixel);
            Uint8 iRed, iGreen, iBlue, iAlpha;
            SDL_GetRGBA(iPixel, pIcon->format, &iRed, &iGreen, &iBlue, &iAlpha);
            vecRgba.insert(vecRgba.end(), {iRed, iGreen, iBlue, iAlpha});
        }
    SDL_UnlockSurface(pIcon);
    ShowIcon(vecRgba.data(), pIcon->w, pIcon->h);
}

// The page outlives the game; there is no display connection to lose.
void EndProgramOnLostDisplay() {}

// The canvas is scaled by nearest pixels by the page's style. SDL here has no video driver but
// the dummy one, which it picks only when asked for by name.
void PreferNearestPixelScaling()
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
}

// The browser's console takes the program's lines; there is no window of its own to hide.
void HideOwnConsoleWindow() {}

// The browser runs the page only while the program waits: the wait gives it back, and the page's
// events end the wait at once.
bool SleepUntilInput(int iMicroseconds)
{
    bool bInput = WaitForPageEvent((iMicroseconds + 999) / 1000) != 0;
    PushPageEvents();
    return bInput;
}

// The game's files live in Emscripten's file system, which the page keeps in the browser's
// storage (IndexedDB): the names the game keeps (highscores.txt, save.txt) are links into the
// stored folder there, made by the page before the program starts. Another tab of the same page
// may have stored its own changes since: a read takes them once that tab has said so, and a
// write, held, reads what is stored in any case.

FileReadResult ReadFileContent(const char* szFileName, size_t iMaxBytes, std::string& strContent)
{
    RefreshFilesFromBrowser(false);
    strContent.clear();
    int iFile = open(szFileName, O_RDONLY);
    if (iFile < 0)
        return errno == ENOENT ? FILE_MISSING : FILE_UNREADABLE;
    struct stat oStatus;
    FileReadResult eResult =
        fstat(iFile, &oStatus) == 0 && S_ISREG(oStatus.st_mode) ? FILE_READ_OK : FILE_UNREADABLE;
    char acBuffer[4096];
    while (eResult == FILE_READ_OK && strContent.size() < iMaxBytes)
    {
        ssize_t iRead =
            read(iFile, acBuffer, std::min(sizeof acBuffer, iMaxBytes - strContent.size()));
        if (iRead < 0)
            eResult = FILE_UNREADABLE;
        if (iRead <= 0)
            break;
        strContent.append(acBuffer, static_cast<size_t>(iRead));
    }
    close(iFile);
    return eResult;
}

namespace
{
// The file a link names (the page's links name absolute paths), or the name itself.
std::string LinkTarget(const char* szFileName)
{
    char acTarget[4096];
    ssize_t iLength = readlink(szFileName, acTarget, sizeof acTarget);
    if (iLength <= 0 || iLength == static_cast<ssize_t>(sizeof acTarget))
        return szFileName;
    return std::string(acTarget, static_cast<size_t>(iLength));
}
} // namespace

// As on the desktop, the new content goes to a new file beside the old one, renamed over it, so a
// failed write leaves the old file; then the browser stores the folder, and a store that fails
// counts as a failed write. The browser stores the whole folder as this tab has it: the lock and
// the refresh keep another tab's change to the other file from being stored over.
bool ReplaceFileContent(const char* szFileName, const std::string& strContent)
{
    FileLock oLock(szFileName);
    std::string strPath = LinkTarget(szFileName);
    std::string strTemporary = strPath + ".new";
    FILE* pFile = fopen(strTemporary.c_str(), "wb");
    if (pFile == nullptr)
        return false;
    bool bWritten = fwrite(strContent.data(), 1, strContent.size(), pFile) == strContent.size();
    bWritten = fclose(pFile) == 0 && bWritten;
    if (!bWritten || rename(strTemporary.c_str(), strPath.c_str()) != 0)
    {
        unlink(strTemporary.c_str());
        return false;
    }
    return StoreFilesInBrowser() != 0;
}

// Each tab of the page runs its own copy of the game over the same storage. The page holds the
// whole stored folder with the browser's lock of the page's origin, which every tab honours, and
// the held folder is read afresh, as the desktop's lock holds one file from its read to its write.
FileLock::FileLock(const char*) : m_hLockedFile(1)
{
    HoldStoredFiles();
    RefreshFilesFromBrowser(true);
}

FileLock::~FileLock()
{
    ReleaseStoredFiles();
}

std::string WorkingDirectory()
{
    char acPath[4096];
    return getcwd(acPath, sizeof acPath) != nullptr ? acPath : std::string();
}
