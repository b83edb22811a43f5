#ifndef LOOPCLOCK_H
#define LOOPCLOCK_H

// The main loop's time and its idle wait: SDL's millisecond counter, and a sleep that input for
// the window ends. Tests and the benchmark run passes on clocks of their own.
class LoopClock
{
public:
    virtual ~LoopClock();
    // The tick time of a new pass.
    virtual int ReadTickTime();
    // Sleeps until tick time iDue, or until input for the window comes in.
    virtual void WaitUntil(int iDue);

    // Whether tick time iTime comes before iLater; right also across the wrap of SDL's
    // millisecond counter (2^31 ms after start the int turns negative).
    static bool IsTickBefore(int iTime, int iLater);
    // Milliseconds from tick time iEarlier to iTime, for times at most 2^32 - 1 ms apart.
    static unsigned TicksSince(int iTime, int iEarlier);
    // Tick time iMs after iTime, wrapping as SDL's counter does instead of overflowing.
    static int TickAfter(int iTime, int iMs);
};

#endif
