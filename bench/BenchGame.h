#ifndef BENCHGAME_H
#define BENCHGAME_H

#include <chrono>
#include <vector>

#include "MyProjectMain.h"

// One key change fed to the game iAtMs into each period of a script.
struct ScriptedKey
{
    int iAtMs;
    SDLKey eKey;
    bool bDown;
};

// Key changes in time order, repeated every iPeriodMs.
struct KeyScript
{
    std::vector<ScriptedKey> vKeys;
    int iPeriodMs;
};

// What one run measured; times in microseconds, as floats since a run can hold millions.
struct RunSamples
{
    std::vector<float> vPasses; // those that ticked or drew; waiting passes only in vNoFrames
    std::vector<float> vWholeFrames;
    std::vector<float> vPartialFrames;
    std::vector<float> vNoFrames;
    long lAdvances = 0;
    long lDueTicks = 0; // milliseconds that came due, advanced or held back by the pause
    double dSeconds = 0;
};

// The real game under the engine's own main loop on the real clock, timed from inside: a pass
// runs from the start of its first tick (the catch-up before the events) to the end of the frame,
// and the frame's kind is read from the redraws asked for and owed just before it is drawn; a pass
// whose push is not due draws none. Scripted keys go in as SDL events, read on the next pass.
class BenchGame : public MyProjectMain
{
public:
    using Clock = std::chrono::steady_clock;

    // Runs the main loop for dSeconds of wall time. bWholeFrames asks for a whole-screen redraw on
    // every pass; bKeepLives gives back a lost life at once, so play never ends.
    RunSamples Run(double dSeconds, const KeyScript* pScript, bool bWholeFrames, bool bKeepLives);

    void RunGameTick() override;
    void PresentFrame() override;
    void AdvanceAllObjects(int iTickTime) override;

private:
    void PushDueKeys(Clock::time_point tNow);

    RunSamples m_oSamples;
    const KeyScript* m_pScript = nullptr;
    size_t m_iNextKey = 0;
    int m_iScriptPeriod = 0;
    bool m_bWholeFrames = false;
    bool m_bKeepLives = false;
    bool m_bTickDue = false;
    Clock::time_point m_tRunStart;
    Clock::time_point m_tRunEnd;
    Clock::time_point m_tPassStart;
};

// Microseconds between two clock readings.
double MicrosecondsBetween(BenchGame::Clock::time_point tFrom, BenchGame::Clock::time_point tTo);

#endif
