#include "PushSink.h"

PushSink::PushSink(bool bWholeScreensOnly) : m_bWholeScreensOnly(bWholeScreensOnly) {}

PushSink::~PushSink() = default;

void PushSink::PushWholeScreen(SDL_Surface* pScreen)
{
    SDL_UpdateRect(pScreen, 0, 0, static_cast<Uint32>(pScreen->w), static_cast<Uint32>(pScreen->h));
}

void PushSink::PushAreas(SDL_Surface* pScreen, int iCount, SDL_Rect* pRects)
{
    if (m_bWholeScreensOnly)
        PushSink::PushWholeScreen(pScreen);
    else
        SDL_UpdateRects(pScreen, iCount, pRects);
}
