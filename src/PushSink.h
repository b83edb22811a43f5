#ifndef PUSHSINK_H
#define PUSHSINK_H

#include <SDL.h>

// Where a push of the screen goes: the display, as the library shows it. A test puts a recorder
// in its place to read what was pushed.
class PushSink
{
public:
    // With bWholeScreensOnly every push carries the whole screen: sdl12-compat shows a push of
    // changed areas only when a later push or event poll finds 16 ms gone since it last showed
    // one (after the loop's sleep, at the next pass's poll), a whole-screen push at once.
    explicit PushSink(bool bWholeScreensOnly = false);
    virtual ~PushSink();

    virtual void PushWholeScreen(SDL_Surface* pScreen);
    // Rectangles inside the screen.
    virtual void PushAreas(SDL_Surface* pScreen, int iCount, SDL_Rect* pRects);

private:
    bool m_bWholeScreensOnly;
};

#endif
