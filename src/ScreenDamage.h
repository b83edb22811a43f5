#ifndef SCREENDAMAGE_H
#define SCREENDAMAGE_H

#include <SDL.h>

#include <vector>

class PushSink;

// The areas of the screen changed since the last push to the display, pooled over any number of
// frames. Kept as a grid of tiles, so that a push carries a bounded list of rectangles however
// many were added, and areas added again and again (an object moving a pixel a frame) cost
// nothing more.
class ScreenDamage
{
public:
    ScreenDamage();

    // Forgets everything and covers a screen of the given size.
    void Resize(int iWidth, int iHeight);
    // Adds an area; the parts off the screen are ignored.
    void AddRect(const SDL_Rect& oRect);
    void AddWholeScreen();
    bool IsEmpty() const;
    // Pushes every damaged area of the screen surface to oSink, then forgets them.
    void Push(SDL_Surface* pScreen, PushSink& oSink);

private:
    static constexpr int TILE_SIZE = 16; // pixels a side: a small rock spans 3 by 3 tiles

    struct TileRun; // defined below, with the push's working lists

    bool IsTileDamaged(int iColumn, int iRow) const;
    void CollectRects();
    void AddRowRuns(int iRow);
    void FinishRun(const TileRun& oRun);

    int m_iWidth;
    int m_iHeight;
    int m_iColumns;
    int m_iRows;
    bool m_bWholeScreen;
    bool m_bAnyTile;
    std::vector<unsigned char> m_vecTiles; // row by row, 1 where damaged
    // Rectangles being built by the push, in tiles: runs of a row, grown down while the next row
    // has a run with the same columns.
    struct TileRun
    {
        int iColumn, iColumns, iRow, iRows;
    };
    std::vector<TileRun> m_vecOpenRuns;
    std::vector<TileRun> m_vecNextOpenRuns;
    std::vector<SDL_Rect> m_vecRects;
};

#endif
