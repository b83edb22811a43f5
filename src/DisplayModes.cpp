#include "DisplayModes.h"

#include <algorithm>
#include <cstdio>

#include "Platform.h"

DisplayModes::DisplayModes()
    : m_iWidth(0), m_iHeight(0), m_pOffScreenSurface(nullptr), m_pScaledDisplay(nullptr),
      m_pDrawingSurface(nullptr), m_bDisplayLost(false)
{
}

DisplayModes::~DisplayModes()
{
    SDL_FreeSurface(m_pOffScreenSurface);
}

bool DisplayModes::Open(int iWidth, int iHeight)
{
    m_iWidth = iWidth;
    m_iHeight = iHeight;
    // Masks of 0 give SDL's default 32-bit layout, 0xRRGGBB, the same as the colours we store.
    m_pOffScreenSurface = SDL_CreateRGBSurface(0, iWidth, iHeight, 32, 0, 0, 0, 0);
    return m_pOffScreenSurface != nullptr;
}

void DisplayModes::Toggle()
{
    SDL_Surface* pDisplay = SDL_GetVideoSurface();
    bool bFullScreen = (pDisplay->flags & SDL_FULLSCREEN) != 0;
    if (bFullScreen && (pDisplay->w != m_iWidth || pDisplay->h != m_iHeight))
        SDL_SetVideoMode(m_iWidth, m_iHeight, 32, 0); // out of the scaled picture
    else if (!bFullScreen && !LibraryShowsWholePicture())
        EnterScaledFullScreen();
    // Where the library cannot switch the window it has (Windows), the mode is set anew, and a
    // mode the display refuses leaves the window as it was.
    else if (SDL_WM_ToggleFullScreen(pDisplay) == 0)
    {
        Uint32 iFlags = bFullScreen ? 0 : SDL_FULLSCREEN;
        if (SDL_SetVideoMode(m_iWidth, m_iHeight, 32, iFlags) == nullptr)
            SDL_SetVideoMode(m_iWidth, m_iHeight, 32, iFlags ^ SDL_FULLSCREEN);
    }
    if (SDL_GetVideoSurface() != nullptr && (SDL_GetVideoSurface()->flags & SDL_FULLSCREEN) == 0)
        MoveWindowToTopLeft();
}

// The engine writes 0xRRGGBB pixels straight into the screen, in the background's rows, and SDL
// copies no picture onto a surface while it is locked. A display surface of any other size or
// layout, or one that must be locked, gets the picture drawn off screen and copied to it: Windows
// sets a full screen larger than the picture and puts the picture in its middle, where only a lock
// reaches it.
bool DisplayModes::Follow()
{
    SDL_Surface* pDisplay = SDL_GetVideoSurface();
    m_bDisplayLost = pDisplay == nullptr;
    if (m_bDisplayLost)
    {
        fprintf(stderr, "Unable to set up video: %s\n", SDL_GetError());
        m_pScaledDisplay = nullptr;
        m_pDrawingSurface = m_pOffScreenSurface;
        return false;
    }
    bool bDirect = CanDrawOn(pDisplay);
    m_pScaledDisplay = bDirect ? nullptr : pDisplay;
    m_pDrawingSurface = bDirect ? pDisplay : m_pOffScreenSurface;
    return true;
}

SDL_Surface* DisplayModes::DrawingSurface() const
{
    return m_pDrawingSurface;
}

bool DisplayModes::IsDisplayLost() const
{
    return m_bDisplayLost;
}

bool DisplayModes::IsLibraryOverSdl2()
{
    const SDL_version* pLinked = SDL_Linked_Version();
    return SDL_VERSIONNUM(pLinked->major, pLinked->minor, pLinked->patch) >=
           SDL_VERSIONNUM(1, 2, 50);
}

// The off-screen surface has the background's rows, the layout the engine draws in.
bool DisplayModes::CanDrawOn(const SDL_Surface* pDisplay) const
{
    const SDL_PixelFormat* pFormat = pDisplay->format;
    return pDisplay->w == m_iWidth && pDisplay->h == m_iHeight &&
           pDisplay->pitch == m_pOffScreenSurface->pitch && !SDL_MUSTLOCK(pDisplay) &&
           pFormat->BitsPerPixel == 32 && pFormat->Rmask == 0xFF0000 &&
           pFormat->Gmask == 0x00FF00 && pFormat->Bmask == 0x0000FF;
}

// Whether the library's own switch shows the whole picture: sdl12-compat (versions 1.2.50 and up)
// scales it to any screen; the classic library needs a full-screen mode the picture fits in. When
// the modes cannot be told, the library is left to decide.
bool DisplayModes::LibraryShowsWholePicture() const
{
    if (IsLibraryOverSdl2())
        return true;
    SDL_Rect** ppModes = SDL_ListModes(nullptr, SDL_FULLSCREEN);
    if (ppModes == nullptr || ppModes == reinterpret_cast<SDL_Rect**>(-1))
        return true;
    for (; *ppModes != nullptr; ppModes++)
        if ((*ppModes)->w >= m_iWidth && (*ppModes)->h >= m_iHeight)
            return true;
    return false;
}

// A screen smaller than the picture would cut it off: the frames are drawn off screen as before and
// each push shows them scaled down to the largest mode.
void DisplayModes::EnterScaledFullScreen()
{
    const SDL_Rect* pLargest = SDL_ListModes(nullptr, SDL_FULLSCREEN)[0];
    if (SDL_SetVideoMode(pLargest->w, pLargest->h, 32, SDL_FULLSCREEN) == nullptr)
        SDL_SetVideoMode(m_iWidth, m_iHeight, 32, 0);
}

// SDL copies the picture to a display of its size in whatever layout that has.
void DisplayModes::ShowOnDisplay()
{
    if (m_pScaledDisplay == nullptr)
        return;
    if (m_pScaledDisplay->w == m_iWidth && m_pScaledDisplay->h == m_iHeight)
        SDL_BlitSurface(m_pOffScreenSurface, nullptr, m_pScaledDisplay, nullptr);
    else if (!DrawScaledDown())
        return;
    SDL_Rect oWhole = {0, 0, static_cast<Uint16>(m_pScaledDisplay->w),
                       static_cast<Uint16>(m_pScaledDisplay->h)};
    ShowDisplayRects(m_pScaledDisplay, 1, &oWhole);
}

// A display of another size gets the picture by nearest pixels, as large as the display holds it
// with its aspect kept, centred on black. False when the display could not be locked.
bool DisplayModes::DrawScaledDown()
{
    int iDisplayW = m_pScaledDisplay->w, iDisplayH = m_pScaledDisplay->h;
    int iScaledW = std::min(iDisplayW, iDisplayH * m_iWidth / m_iHeight);
    int iScaledH = std::min(iDisplayH, iDisplayW * m_iHeight / m_iWidth);
    int iLeft = (iDisplayW - iScaledW) / 2, iTop = (iDisplayH - iScaledH) / 2;
    SDL_FillRect(m_pScaledDisplay, nullptr, 0);
    if (SDL_LockSurface(m_pScaledDisplay) != 0)
        return false;
    const Uint32* pSource = static_cast<const Uint32*>(m_pOffScreenSurface->pixels);
    int iSourceRowInts = m_pOffScreenSurface->pitch / 4;
    for (int iY = 0; iY < iScaledH; iY++)
    {
        Uint32* pRow = static_cast<Uint32*>(m_pScaledDisplay->pixels) +
                       (iTop + iY) * (m_pScaledDisplay->pitch / 4) + iLeft;
        const Uint32* pFrom = pSource + (2 * iY + 1) * m_iHeight / (2 * iScaledH) * iSourceRowInts;
        for (int iX = 0; iX < iScaledW; iX++)
            pRow[iX] = pFrom[(2 * iX + 1) * m_iWidth / (2 * iScaledW)];
    }
    SDL_UnlockSurface(m_pScaledDisplay);
    return true;
}
