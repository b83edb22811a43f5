#include "TestSupport.h"

#include <tuple>
#include <vector>

static void PushEvent(Uint8 iType, int iCode = 0, int iX = 0, int iY = 0)
{
    SDL_Event oEvent = {iType};
    if (iType == SDL_KEYDOWN || iType == SDL_KEYUP)
        oEvent.key.keysym.sym = static_cast<SDLKey>(iCode);
    else if (iType == SDL_MOUSEMOTION)
        oEvent.motion = {iType, 0, 0, Uint16(iX), Uint16(iY), 0, 0};
    else
        oEvent.button = {iType, 0, Uint8(iCode), 0, Uint16(iX), Uint16(iY)};
    ASSERT_EQ(SDL_PushEvent(&oEvent), 0);
}

// Logs the main loop's handler, tick and frame calls in order; Escape requests the exit. Its key
// table has a guard word either side, for the entries -1 and 324.
struct RecordingEngine : BaseEngine
{
    RecordingEngine() : BaseEngine(10) { m_pKeyStates = m_aiTable + 1; }
    ~RecordingEngine() override { m_pKeyStates = nullptr; }
    void OnKeyDown(int iKey) override
    {
        Log("down", iKey);
        m_iExitCode = iKey == SDLK_ESCAPE ? 0 : m_iExitCode;
    }
    void OnKeyUp(int iKey) override { Log("up", iKey); }
    void OnMouseMoved(int iX, int iY) override { Log("move", iX, iY); }
    void OnMouseButtonDown(int iButton, int iX, int iY) override { Log("press", iButton, iX, iY); }
    void OnMouseButtonUp(int iButton, int iX, int iY) override { Log("release", iButton, iX, iY); }
    // Logs whether the right arrow is held; the third pass queues its release and the exit.
    void RunGameTick() override
    {
        Log(m_bCatchingUp ? "catch-up" : "tick", IsKeyDown(SDLK_RIGHT));
        if (!m_bCatchingUp && m_iPasses++ == 2)
        {
            PushEvent(SDL_KEYUP, SDLK_RIGHT);
            PushEvent(SDL_KEYDOWN, SDLK_ESCAPE);
            PushEvent(SDL_MOUSEMOTION, 0, 1, 2);
        }
        BaseEngine::RunGameTick();
    }
    void PresentFrame() override { Log("frame"); }
    // Before a pass's events only the advances due before its millisecond, after them its own.
    void AdvanceAllObjects(int iTickTime) override
    {
        EXPECT_EQ(LoopClock::IsTickBefore(iTickTime, m_iTickTime), m_bCatchingUp)
            << "due at " << iTickTime;
        m_vecAdvanceTimes.push_back(iTickTime);
    }

    template <typename... Values> void Log(const char* szWhat, Values... values)
    {
        m_strCalls += szWhat;
        ((m_strCalls += " " + std::to_string(values)), ...);
        m_strCalls += "|";
    }

    int m_aiTable[326] = {};
    int m_iPasses = 0;
    std::string m_strCalls;
    std::vector<int> m_vecAdvanceTimes;
};

// Each pass ticks before its events, for the advances it owes, and after them. An exit from a
// handler finishes the pass; a quit ends the loop at once, dropping the events behind it and that
// pass's tick and frame. Between passes the loop sleeps until the next push is due, and at least
// into the next millisecond.
TEST(MainLoopTest, EventsReachTheirHandlersBetweenTheTwoTicksKeysStayDownUntilReleased)
{
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    RecordingEngine oEngine;
    for (int iKey : {int(SDLK_RIGHT), 323, 324})
        PushEvent(SDL_KEYDOWN, iKey);
    PushEvent(SDL_MOUSEMOTION, 0, 700, 65000);
    PushEvent(SDL_MOUSEBUTTONDOWN, 3, 10, 20);
    PushEvent(SDL_USEREVENT, 2, 5, 5);
    PushEvent(SDL_MOUSEBUTTONUP, 1, 30, 40);
    oEngine.SetPushInterval(static_cast<int>(SDL_GetTicks()) + 17); // the first push in 17 ms
    oEngine.RunMainLoop();
    EXPECT_GE(oEngine.m_vecAdvanceTimes.size(), 2u) << "the second pass came 10 ms on, or more";
    EXPECT_EQ(oEngine.m_strCalls,
              "catch-up 0|down 275|down 323|down 324|move 700 65000|press 3 10 20|"
              "release 1 30 40|tick 1|frame|catch-up 1|tick 1|frame|catch-up 1|tick 1|frame|"
              "catch-up 1|up 275|down 27|move 1 2|tick 0|frame|");
    EXPECT_EQ(std::make_pair(oEngine.m_iMouseX, oEngine.m_iMouseY), std::make_pair(1, 2))
        << "where it moved last";
    EXPECT_EQ(std::make_pair(oEngine.m_iButtonDownX, oEngine.m_iButtonDownY),
              std::make_pair(10, 20))
        << "where a button was last pressed";
    EXPECT_EQ(std::make_pair(oEngine.m_iButtonUpX, oEngine.m_iButtonUpY), std::make_pair(30, 40))
        << "where a button was last released";
    for (int iKey = 0; iKey <= 325; iKey++) // Escape (27) and 323 are held
        EXPECT_EQ(oEngine.m_aiTable[iKey], iKey == 28 || iKey == 324) << "key " << iKey - 1;

    oEngine.m_aiTable[0] = oEngine.m_aiTable[325] = 1;
    for (int iKey : {-1, 324, 100000})
        EXPECT_EQ(oEngine.IsKeyDown(iKey), 0) << "key " << iKey << " is outside the table";

    std::tie(oEngine.m_strCalls, oEngine.m_iExitCode) = std::make_pair("", -1);
    PushEvent(SDL_QUIT);
    PushEvent(SDL_KEYDOWN, SDLK_ESCAPE);
    oEngine.RunMainLoop();
    EXPECT_EQ(oEngine.m_strCalls, "catch-up 0|");
    SDL_Quit();
}

TEST(GameTickTest, ObjectsAdvanceOnceForEveryTenMillisecondsDueAndALongStallIsNotReplayed)
{
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError(); // for the passes' events
    RecordingEngine oEngine;
    const int T0 = 2147483647 - 35; // the int tick time wraps to negative on the way
    auto At = [](int iMs) { return static_cast<int>(static_cast<unsigned>(T0) + iMs); };
    for (int iPass : {0, 3, 6, 9, 12, 15, 18, 21, 24, 27, 30, 80, 89, 90, 1090})
        RunPassAt(&oEngine, At(iPass));
    std::vector<int> vecExpected;
    for (int iDue = 0; iDue <= 1090; iDue += 10) // of a second's stall, the last 250 ms only
        if (iDue <= 90 || iDue >= 850)
            vecExpected.push_back(At(iDue));
    EXPECT_EQ(oEngine.m_vecAdvanceTimes, vecExpected)
        << "passes every 3 ms, one 50 ms late caught up, then a stall of a second";
    EXPECT_EQ(oEngine.m_iNextTickTime, At(1100));
    SDL_Quit();
}
