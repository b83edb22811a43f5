#include "Platform.h"

#include <SDL.h>
#include <SDL_syswm.h>

// The parts of the platform face that are the same on every system, over each body's own calls.

bool MoveWindowToTopLeft()
{
    SDL_SysWMinfo oInfo;
    SDL_VERSION(&oInfo.version);
    // No window-manager information (the dummy driver, an SDL running natively on Wayland): no
    // move.
    if (SDL_GetWMInfo(&oInfo) <= 0)
        return false;
    return MoveReportedWindowToTopLeft(oInfo);
}
