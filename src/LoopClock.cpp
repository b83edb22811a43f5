#include "LoopClock.h"

#include <SDL.h>

#include "Platform.h"

namespace
{
int TicksNow()
{
    return static_cast<int>(SDL_GetTicks());
}
} // namespace

LoopClock::~LoopClock() = default;

int LoopClock::ReadTickTime()
{
    return TicksNow();
}

// Input ends the sleep at once, so a key still acts in the advance of the millisecond it came in.
void LoopClock::WaitUntil(int iDue)
{
    for (int iNow = TicksNow(); IsTickBefore(iNow, iDue); iNow = TicksNow())
    {
        if (SleepUntilInput(static_cast<int>(TicksSince(iDue, iNow)) * 1000))
            return;
    }
}

unsigned LoopClock::TicksSince(int iTime, int iEarlier)
{
    return static_cast<unsigned>(iTime) - static_cast<unsigned>(iEarlier);
}

bool LoopClock::IsTickBefore(int iTime, int iLater)
{
    return static_cast<int>(TicksSince(iTime, iLater)) < 0;
}

int LoopClock::TickAfter(int iTime, int iMs)
{
    return static_cast<int>(static_cast<unsigned>(iTime) + static_cast<unsigned>(iMs));
}
