#include "ScreenDamage.h"

#include <algorithm>

#include "Platform.h"

ScreenDamage::ScreenDamage()
    : m_iWidth(0), m_iHeight(0), m_iColumns(0), m_iRows(0), m_bWholeScreen(false), m_bAnyTile(false)
{
}

void ScreenDamage::Resize(int iWidth, int iHeight)
{
    m_iWidth = std::max(0, iWidth);
    m_iHeight = std::max(0, iHeight);
    m_iColumns = (m_iWidth + TILE_SIZE - 1) / TILE_SIZE;
    m_iRows = (m_iHeight + TILE_SIZE - 1) / TILE_SIZE;
    m_vecTiles.assign(static_cast<size_t>(m_iColumns) * m_iRows, 0);
    m_bWholeScreen = m_bAnyTile = false;
}

void ScreenDamage::AddRect(const SDL_Rect& oRect)
{
    int iLeft = std::max<int>(oRect.x, 0);
    int iTop = std::max<int>(oRect.y, 0);
    int iRight = std::min(oRect.x + oRect.w, m_iWidth);
    int iBottom = std::min(oRect.y + oRect.h, m_iHeight);
    if (m_bWholeScreen || iRight <= iLeft || iBottom <= iTop)
        return;
    for (int iRow = iTop / TILE_SIZE; iRow <= (iBottom - 1) / TILE_SIZE; iRow++)
    {
        unsigned char* pRow = &m_vecTiles[static_cast<size_t>(iRow) * m_iColumns];
        std::fill(pRow + iLeft / TILE_SIZE, pRow + (iRight - 1) / TILE_SIZE + 1, 1);
    }
    m_bAnyTile = true;
}

void ScreenDamage::AddWholeScreen()
{
    m_bWholeScreen = true;
}

bool ScreenDamage::IsEmpty() const
{
    return !m_bWholeScreen && !m_bAnyTile;
}

void ScreenDamage::Push(SDL_Surface* pScreen)
{
    if (m_bWholeScreen)
    {
        SDL_Rect oWhole = {0, 0, static_cast<Uint16>(m_iWidth), static_cast<Uint16>(m_iHeight)};
        ShowDisplayRects(pScreen, 1, &oWhole);
    }
    else if (m_bAnyTile)
    {
        CollectRects();
        ShowDisplayRects(pScreen, static_cast<int>(m_vecRects.size()), m_vecRects.data());
    }
    std::fill(m_vecTiles.begin(), m_vecTiles.end(), 0);
    m_bWholeScreen = m_bAnyTile = false;
}

bool ScreenDamage::IsTileDamaged(int iColumn, int iRow) const
{
    return m_vecTiles[static_cast<size_t>(iRow) * m_iColumns + iColumn] != 0;
}

// Few rectangles, each as large as it can be: X pays for every request it is sent.
void ScreenDamage::CollectRects()
{
    m_vecRects.clear();
    m_vecOpenRuns.clear();
    for (int iRow = 0; iRow < m_iRows; iRow++)
        AddRowRuns(iRow);
    for (const TileRun& oRun : m_vecOpenRuns)
        FinishRun(oRun);
}

// Each run of damaged tiles in the row grows a rectangle of the rows above that spans the same
// columns, or starts a new one; rectangles that no run grows are finished.
void ScreenDamage::AddRowRuns(int iRow)
{
    m_vecNextOpenRuns.clear();
    size_t iOpen = 0; // open runs are in column order, like the row's runs
    for (int iColumn = 0; iColumn < m_iColumns;)
    {
        if (!IsTileDamaged(iColumn, iRow))
        {
            iColumn++;
            continue;
        }
        int iEnd = iColumn;
        while (iEnd < m_iColumns && IsTileDamaged(iEnd, iRow))
            iEnd++;
        TileRun oRun{iColumn, iEnd - iColumn, iRow, 1};
        while (iOpen < m_vecOpenRuns.size() && m_vecOpenRuns[iOpen].iColumn < iColumn)
            FinishRun(m_vecOpenRuns[iOpen++]);
        if (iOpen < m_vecOpenRuns.size() && m_vecOpenRuns[iOpen].iColumn == iColumn &&
            m_vecOpenRuns[iOpen].iColumns == oRun.iColumns)
        {
            oRun = m_vecOpenRuns[iOpen++];
            oRun.iRows++;
        }
        m_vecNextOpenRuns.push_back(oRun);
        iColumn = iEnd;
    }
    for (; iOpen < m_vecOpenRuns.size(); iOpen++)
        FinishRun(m_vecOpenRuns[iOpen]);
    m_vecOpenRuns.swap(m_vecNextOpenRuns);
}

// Adds the screen area of a block of tiles to the push; the last column and row end at the
// screen's edge.
void ScreenDamage::FinishRun(const TileRun& oRun)
{
    int iX = oRun.iColumn * TILE_SIZE, iY = oRun.iRow * TILE_SIZE;
    SDL_Rect oRect;
    oRect.x = static_cast<Sint16>(iX);
    oRect.y = static_cast<Sint16>(iY);
    oRect.w = static_cast<Uint16>(std::min(oRun.iColumns * TILE_SIZE, m_iWidth - iX));
    oRect.h = static_cast<Uint16>(std::min(oRun.iRows * TILE_SIZE, m_iHeight - iY));
    m_vecRects.push_back(oRect);
}
