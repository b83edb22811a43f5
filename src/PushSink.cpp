#include "PushSink.h"

#include "Platform.h"

PushSink::PushSink(bool bWholeScreensOnly) : m_bWholeScreensOnly(bWholeScreensOnly) {}

PushSink::~PushSink() = default;

void PushSink::PushWholeScreen(SDL_Surface* pScreen)
{
    SDL_Rect oWhole = {0, 0, static_cast<Uint16>(pScreen->w), static_cast<Uint16>(pScreen->h)};
    ShowDisplayRects(pScreen, 1, &oWhole);
}

void PushSink::PushAreas(SDL_Surface* pScreen, int iCount, SDL_Rect* pRects)
{
    if (m_bWholeScreensOnly)
        PushSink::PushWholeScreen(pScreen);
    else
        ShowDisplayRects(pScreen, iCount, pRects);
}
