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
    m_bFirstPass = true;
    bool bWindowOpen = true;
    while (m_iExitCode == -1 && bWindowOpen)
        bWindowOpen = RunLoopPass(*this);
    // Every millisecond that came due from the first pass on, advanced or held back by the pause.
    m_oSamples.lDueTicks = LoopClock::TicksSince(m_iNextTickTime, m_iFirstTickTime);
    m_oSamples.dSeconds = MicrosecondsBetween(m_tRunStart, Clock::now()) / 1e6;
    return m_oSamples;
}

int BenchGame::ReadTickTime()
{
    m_tPassStart = Clock::now();
    m_iNextTickAtPassStart = m_iNextTickTime;
    m_pFrameKind = &m_oSamples.vNoFrames;
    int iTickTime = LoopClock::ReadTickTime();
    if (m_bFirstPass)
        m_iFirstTickTime = iTickTime;
    m_bFirstPass = false;
    return iTickTime;
}

void BenchGame::RunGameTick()
{
    if (m_bKeepLives)
        m_iLives = MAX_LIVES;
    MyProjectMain::RunGameTick();
}

void BenchGame::AdvanceAllObjects(int iTickTime)
{
    m_oSamples.lAdvances++;
    MyProjectMain::AdvanceAllObjects(iTickTime);
}

// A frame that draws the whole screen may draw changed areas after it: it stays a whole one.
void BenchGame::RenderFullScreen()
{
    m_pFrameKind = &m_oSamples.vWholeFrames;
    MyProjectMain::RenderFullScreen();
}

void BenchGame::RenderChangedAreas()
{
    if (m_pFrameKind == &m_oSamples.vNoFrames)
        m_pFrameKind = &m_oSamples.vPartialFrames;
    MyProjectMain::RenderChangedAreas();
}

void BenchGame::PresentFrame()
{
    if (m_bWholeFrames)
        RequestWholeScreenRedraw();
    Clock::time_point tFrameStart = Clock::now();
    MyProjectMain::PresentFrame();
    Clock::time_point tEnd = Clock::now();
    m_pFrameKind->push_back(static_cast<float>(MicrosecondsBetween(tFrameStart, tEnd)));
    // A pass that neither ticked nor drew only waited for the next millisecond: not a pass's cost.
    if (m_iNextTickTime != m_iNextTickAtPassStart || m_pFrameKind != &m_oSamples.vNoFrames)
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
