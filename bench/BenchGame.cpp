#include "BenchGame.h"

#include <cstring>

double MicrosecondsBetween(BenchGame::Clock::time_point tFrom, BenchGame::Clock::time_point tTo)
{
    return std::chrono::duration<double, std::micro>(tTo - tFrom).count();
}

RunSamples BenchGame::Run(double dSeconds, const KeyScript* pScript, bool bWholeFrames,
                          bool bKeepLives)
{
    m_oSamples = RunSamples();
    m_pScript = pScript != nullptr && !pScript->vKeys.empty() ? pScript : nullptr;
    m_iNextKey = 0;
    m_iScriptPeriod = 0;
    m_bWholeFrames = bWholeFrames;
    m_bKeepLives = bKeepLives;
    m_iExitCode = -1;
    m_tRunStart = Clock::now();
    m_tRunEnd = m_tRunStart + std::chrono::duration_cast<Clock::duration>(
                                  std::chrono::duration<double>(dSeconds));
    PushDueKeys(m_tRunStart);
    RunMainLoop();
    m_oSamples.dSeconds = MicrosecondsBetween(m_tRunStart, Clock::now()) / 1e6;
    return m_oSamples;
}

// A pass starts with its catch-up tick, before its events; its tick after them comes second.
void BenchGame::RunGameTick()
{
    if (m_bKeepLives)
        m_iLives = MAX_LIVES;
    if (m_bCatchingUp)
    {
        m_tPassStart = Clock::now();
        m_bTickDue = false;
    }
    int iDueBefore = m_iNextTickTime;
    bool bTicking = m_bTicksStarted;
    long lAdvancesBefore = m_oSamples.lAdvances;
    MyProjectMain::RunGameTick();
    long lAdvanced = m_oSamples.lAdvances - lAdvancesBefore;
    bool bTickDue = m_iNextTickTime != iDueBefore || lAdvanced != 0;
    m_bTickDue = m_bTickDue || bTickDue;
    // Every millisecond that came due, advanced or held back by the pause.
    if (bTickDue)
        m_oSamples.lDueTicks += bTicking ? TicksSince(m_iNextTickTime, iDueBefore) : lAdvanced;
}

void BenchGame::AdvanceAllObjects(int iTickTime)
{
    m_oSamples.lAdvances++;
    MyProjectMain::AdvanceAllObjects(iTickTime);
}

void BenchGame::PresentFrame()
{
    if (m_bWholeFrames)
        RequestWholeScreenRedraw();
    bool bDrawn = (m_bRedrawNeeded || m_bWholeScreenOwed || m_bChangesOwed) && IsPushDue();
    bool bWhole = (m_bRedrawNeeded && m_bWholeScreenRedraw) || m_bWholeScreenOwed;
    std::vector<float>& vKind = !bDrawn  ? m_oSamples.vNoFrames
                                : bWhole ? m_oSamples.vWholeFrames
                                         : m_oSamples.vPartialFrames;
    Clock::time_point tFrameStart = Clock::now();
    MyProjectMain::PresentFrame();
    Clock::time_point tEnd = Clock::now();
    vKind.push_back(static_cast<float>(MicrosecondsBetween(tFrameStart, tEnd)));
    // A pass that neither ticked nor drew only waited for the next millisecond: not a pass's cost.
    if (m_bTickDue || &vKind != &m_oSamples.vNoFrames)
        m_oSamples.vPasses.push_back(static_cast<float>(MicrosecondsBetween(m_tPassStart, tEnd)));

    if (tEnd >= m_tRunEnd)
        m_iExitCode = 0;
    else
        PushDueKeys(tEnd);
}

// Queues every scripted key change whose time has come; the main loop reads them next pass.
void BenchGame::PushDueKeys(Clock::time_point tNow)
{
    if (m_pScript == nullptr)
        return;
    double dNowMs = MicrosecondsBetween(m_tRunStart, tNow) / 1000;
    for (;;)
    {
        const ScriptedKey& oKey = m_pScript->vKeys[m_iNextKey];
        if (m_iScriptPeriod * m_pScript->iPeriodMs + oKey.iAtMs > dNowMs)
            return;
        SDL_Event oEvent;
        memset(&oEvent, 0, sizeof oEvent);
        oEvent.type = static_cast<Uint8>(oKey.bDown ? SDL_KEYDOWN : SDL_KEYUP);
        oEvent.key.state = static_cast<Uint8>(oKey.bDown ? SDL_PRESSED : SDL_RELEASED);
        oEvent.key.keysym.sym = oKey.eKey;
        SDL_PushEvent(&oEvent);
        if (++m_iNextKey == m_pScript->vKeys.size())
        {
            m_iNextKey = 0;
            m_iScriptPeriod++;
        }
    }
}
