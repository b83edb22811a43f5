#ifndef BENCHGAME_H
#define BENCHGAME_H

#include <chrono>
#include <vector>

#include "LoopClock.h"
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

// The real game run pass by pass on the real clock, timed from inside: a pass runs from the
// reading of its tick time to the end of its frame, and the frame's kind is the redraw it ran; a
// pass whose push is not due draws none. Scripted keys go in as SDL events, read on the next pass.
class BenchGame : public MyProjectMain, private LoopClock
{
public:
    using Clock = std::chrono::steady_clock;

    // Runs the main loop's passes for dSeconds of wall time. bWholeFrames asks for a whole-screen
    // redraw on every pass; bKeepLives gives back a lost life at once, so play never ends.
    RunSamples Run(double dSeconds, const KeyScript* pScript, bool bWholeFrames, bool bKeepLives);

    void RunGameTick() override;
    void RenderFullScreen() override;
    void RenderChangedAreas() override;
    void PresentFrame() override;
    void AdvanceAllObjects(int iTickTime) override;

private:
    int ReadTickTime() override;
    void PushDueKeys(Clock::time_point tNow);

    RunSamples m_oSamples;
    const KeyScript* m_pScript = nullptr;
    size_t m_iNextKey = 0;
    int m_iScriptPeriod = 0;
    bool m_bWholeFrames = false;
    bool m_bKeepLives = false;
    bool m_bFirstPass = false;
    int m_iFirstTickTime = 0;
    int m_iNextTickAtPassStart = 0;
    std::vector<float>* m_pFrameKind = nullptr; // the samples of the frame this pass drew
    Clock::time_point m_tRunStart;
    Clock::time_point m_tRunEnd;
    Clock::time_point m_tPassStart;
};

// Microseconds between two clock readings.
double MicrosecondsBetween(BenchGame::Clock::time_point tFrom, BenchGame::Clock::time_point tTo);

#endif
