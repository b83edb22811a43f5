#include "SurfaceImage.h"

#include <SDL_image.h>

#include "FileReport.h"

SurfaceImage::SurfaceImage() : m_pSurface(nullptr) {}

SurfaceImage::~SurfaceImage()
{
    SDL_FreeSurface(m_pSurface);
}

bool SurfaceImage::LoadPicture(const char* szFileName)
{
    SDL_FreeSurface(m_pSurface);
    m_pSurface = IMG_Load(szFileName);
    if (m_pSurface == nullptr)
        ReportUnloadableFile(szFileName);
    ConvertToDisplayFormat();
    return m_pSurface != nullptr;
}

// A PNG loads as RGBA bytes, which classic SDL 1.2 blends on its slowest path: a large rock costs
// 40 times the instructions of one converted once to the display's layout (sdl12-compat: a third
// more). The price is rounding on the soft edge, a step or two from the blend of the picture as
// loaded. Before a video mode exists there is no display format, and the picture stays as loaded.
void SurfaceImage::ConvertToDisplayFormat()
{
    if (m_pSurface == nullptr || SDL_GetVideoSurface() == nullptr)
        return;
    SDL_Surface* pConverted = SDL_DisplayFormatAlpha(m_pSurface);
    if (pConverted == nullptr)
        return;
    SDL_FreeSurface(m_pSurface);
    m_pSurface = pConverted;
    // Run-length encoded, a copy skips the clear pixels and copies the opaque ones without
    // blending: a rock is mostly one or the other.
    SDL_SetAlpha(m_pSurface, SDL_SRCALPHA | SDL_RLEACCEL, SDL_ALPHA_OPAQUE);
}

int SurfaceImage::DrawImage(SDL_Surface* pTarget, int iSourceX, int iSourceY, int iDestX,
                            int iDestY, int iWidth, int iHeight)
{
    if (m_pSurface == nullptr)
        return -1;
    SDL_Rect oSource;
    oSource.x = static_cast<Sint16>(iSourceX);
    oSource.y = static_cast<Sint16>(iSourceY);
    oSource.w = static_cast<Uint16>(iWidth);
    oSource.h = static_cast<Uint16>(iHeight);
    SDL_Rect oDestination = oSource;
    oDestination.x = static_cast<Sint16>(iDestX);
    oDestination.y = static_cast<Sint16>(iDestY);
    return SDL_UpperBlit(m_pSurface, &oSource, pTarget, &oDestination);
}
