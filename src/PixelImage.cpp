#include "PixelImage.h"

#include <SDL_image.h>

#include "FileReport.h"

PixelImage::PixelImage() : m_iWidth(0), m_iHeight(0), m_pPixels(nullptr) {}

PixelImage::~PixelImage()
{
    delete[] m_pPixels;
}

bool PixelImage::LoadPicture(const char* szFileName)
{
    delete[] m_pPixels;
    m_pPixels = nullptr;

    SDL_Surface* pLoaded = IMG_Load(szFileName);
    if (pLoaded == nullptr)
    {
        ReportUnloadableFile(szFileName);
        return false;
    }
    SDL_Surface* pConverted = SDL_CreateRGBSurface(0, pLoaded->w, pLoaded->h, 32, 0x00FF0000,
                                                   0x0000FF00, 0x000000FF, 0xFF000000);
    if (pConverted == nullptr)
    {
        SDL_FreeSurface(pLoaded);
        return false;
    }
    SDL_UpperBlit(pLoaded, nullptr, pConverted, nullptr); // converts the pixel format
    SDL_FreeSurface(pLoaded);

    m_iWidth = pConverted->w;
    m_iHeight = pConverted->h;
    m_pPixels = new Uint32[m_iWidth * m_iHeight];
    const Uint32* pSource = static_cast<const Uint32*>(pConverted->pixels);
    int iSourceRow = pConverted->pitch / 4;
    for (int iY = 0; iY < m_iHeight; iY++)
    {
        for (int iX = 0; iX < m_iWidth; iX++)
            m_pPixels[iY * m_iWidth + iX] = pSource[iY * iSourceRow + iX];
    }
    SDL_FreeSurface(pConverted);
    return true;
}

void PixelImage::DrawImage(SDL_Surface* pTarget, int iSourceX, int iSourceY, int iDestX, int iDestY,
                           int iWidth, int iHeight)
{
    if (m_pPixels == nullptr)
        return;

    // Clip against the target.
    if (iDestX < 0)
    {
        iWidth += iDestX;
        iSourceX -= iDestX;
        iDestX = 0;
    }
    if (iDestX + iWidth >= pTarget->w)
        iWidth = pTarget->w - iDestX;
    if (iDestY < 0)
    {
        iSourceY -= iDestY;
        iHeight += iDestY;
        iDestY = 0;
    }
    if (iDestY + iHeight >= pTarget->h)
        iHeight = pTarget->h - iDestY;

    // Clip against the picture, so a source area reaching outside it reads nothing out of bounds.
    if (iSourceX < 0)
    {
        iWidth += iSourceX;
        iDestX -= iSourceX;
        iSourceX = 0;
    }
    if (iSourceY < 0)
    {
        iHeight += iSourceY;
        iDestY -= iSourceY;
        iSourceY = 0;
    }
    if (iSourceX + iWidth > m_iWidth)
        iWidth = m_iWidth - iSourceX;
    if (iSourceY + iHeight > m_iHeight)
        iHeight = m_iHeight - iSourceY;
    if (iWidth <= 0 || iHeight <= 0)
        return;

    Uint32* pTargetPixels = static_cast<Uint32*>(pTarget->pixels);
    int iTargetRow = pTarget->pitch / 4;
    for (int iRow = 0; iRow < iHeight; iRow++)
    {
        const Uint32* pFrom = &m_pPixels[(iSourceY + iRow) * m_iWidth + iSourceX];
        Uint32* pTo = &pTargetPixels[(iDestY + iRow) * iTargetRow + iDestX];
        for (int iColumn = 0; iColumn < iWidth; iColumn++)
            pTo[iColumn] = pFrom[iColumn];
    }
}
