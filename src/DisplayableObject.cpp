#include "DisplayableObject.h"

#include <algorithm>

#include "BaseEngine.h"

DisplayableObject::DisplayableObject(BaseEngine* pEngine)
    : m_iRedrawX(0), m_iRedrawY(0), m_iRedrawWidth(0), m_iRedrawHeight(0), m_pHostEngine(pEngine),
      m_iPosX(-1), m_iPosY(-1), m_iLastDrawnX(-1), m_iLastDrawnY(-1), m_iAreaOffsetX(0),
      m_iAreaOffsetY(0), m_iAreaWidth(10), m_iAreaHeight(10), m_bActive(true)
{
}

DisplayableObject::~DisplayableObject() {}

void DisplayableObject::Render()
{
    const int MAGENTA = 0xFF00FF;
    BaseEngine* pEngine = m_pHostEngine;
    Uint32* pPixels = static_cast<Uint32*>(pEngine->m_pScreenSurface->pixels);
    int iLeft = m_iPosX + m_iAreaOffsetX;
    int iTop = m_iPosY + m_iAreaOffsetY;
    for (int iX = iLeft; iX < iLeft + m_iAreaWidth; iX++)
    {
        for (int iY = iTop; iY < iTop + m_iAreaHeight; iY++)
        {
            if (iX >= 0 && iX < pEngine->m_iIntsPerScreenRow && iY >= 0 &&
                iY < pEngine->m_iScreenHeight)
                pPixels[iY * pEngine->m_iIntsPerScreenRow + iX] = MAGENTA;
        }
    }
    UpdateRedrawRect();
}

void DisplayableObject::EraseFromScreen()
{
    m_pHostEngine->CopyBackgroundRect(m_iLastDrawnX + m_iAreaOffsetX,
                                      m_iLastDrawnY + m_iAreaOffsetY, m_iAreaWidth, m_iAreaHeight);
}

void DisplayableObject::WriteRedrawRect(SDL_Rect* pRect)
{
    pRect->x = static_cast<Sint16>(m_iRedrawX);
    pRect->y = static_cast<Sint16>(m_iRedrawY);
    pRect->w = static_cast<Uint16>(m_iRedrawWidth);
    pRect->h = static_cast<Uint16>(m_iRedrawHeight);
}

void DisplayableObject::Advance(int) {}

void DisplayableObject::UpdateRedrawRect()
{
    int iLeft = std::min(m_iLastDrawnX, m_iPosX) + m_iAreaOffsetX;
    int iRight = std::max(m_iLastDrawnX, m_iPosX) + m_iAreaOffsetX + m_iAreaWidth;
    int iTop = std::min(m_iLastDrawnY, m_iPosY) + m_iAreaOffsetY;
    int iBottom = std::max(m_iLastDrawnY, m_iPosY) + m_iAreaOffsetY + m_iAreaHeight;
    m_iRedrawX = iLeft;
    m_iRedrawY = iTop;
    m_iRedrawWidth = iRight - iLeft;
    m_iRedrawHeight = iBottom - iTop;
    m_iLastDrawnX = m_iPosX;
    m_iLastDrawnY = m_iPosY;
}
