#include "SurfaceImage.h"

#include <SDL_image.h>

SurfaceImage::SurfaceImage() : m_pSurface(nullptr) {}

SurfaceImage::~SurfaceImage()
{
    SDL_FreeSurface(m_pSurface);
}

bool SurfaceImage::LoadPicture(const char* szFileName)
{
    SDL_FreeSurface(m_pSurface);
    m_pSurface = IMG_Load(szFileName);
    return m_pSurface != nullptr;
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
