#include "GameTestSupport.h"

using GameKeysTest = GameTest;
using std::make_tuple;

// Space fires also while paused, where the bullets wait at the nose; held, it fires once.
TEST_F(GameKeysTest, EscapePausesThePlayAndReturnThenQuitsToTheTitleMenu)
{
    TapKey(m_pGame, SDLK_RETURN);
    RunTicks(m_pGame, 200); // the bullets are free
    std::tie(m_pGame->m_iPendingScore, m_pGame->m_iLives, m_pGame->m_bSaveFound) =
        make_tuple(50, 1, false);
    TapKey(m_pGame, SDLK_RETURN);
    EXPECT_EQ(m_pGame->m_iGameState, STATE_PLAYING) << "Return during play does nothing";
    TapKey(m_pGame, SDLK_ESCAPE);
    ASSERT_TRUE(m_pGame->m_bPaused);
    for (int i = 1; i <= 7; i++) // six bullets in flight block the next shot
    {
        SetKey(m_pGame, SDLK_SPACE, true);
        SetKey(m_pGame, SDLK_SPACE, true); // held: the key repeats
        EXPECT_TRUE(BulletAt(std::min(i, 6))->m_bActive && (i >= 6 || !BulletAt(i + 1)->m_bActive))
            << "one more bullet in flight after press " << i;
        EXPECT_EQ(m_pGame->m_bFireReady, i == 7) << "press " << i;
        SetKey(m_pGame, SDLK_SPACE, false);
    }
    RunTicks(m_pGame, 50);
    EXPECT_EQ(BulletAt(6)->m_dPosY, 280.0) << "the last bullet waits at the nose";
    TapKey(m_pGame, SDLK_RETURN);
    ExpectStatus({STATE_MENU, 1, 3, 0, 0, 4}, "the game is dropped");
    EXPECT_EQ(make_tuple(m_pGame->m_bPaused, m_pGame->m_bSaveFound, m_pGame->m_iMenuSelection),
              make_tuple(false, true, 1));
}

// The game for one pass of its real main loop.
struct OnePassGame : MyProjectMain
{
    void PresentFrame() override
    {
        MyProjectMain::PresentFrame();
        m_iExitCode = 0;
    }
};

// Up and Space in a late pass act after the advances owed before its millisecond, as in the last
// pass on time: one thrust, and a bullet one move from the drifting nose's latest place. An
// unpause after a paused stall of 120 ms replays none of it.
TEST_F(GameKeysTest,
       BulletsMoveFirstAndSlowOrLatePassesKeepOneAdvancePerMillisecondWithKeysActingOnTime)
{
    delete m_pGame;
    Start(m_pGame = new OnePassGame);
    EnterPlay(1);
    PlaceAt(AsteroidAt(8), 700, 480);
    PlaceAt(AsteroidAt(7), 100, 200);
    BulletAt(1)->Launch(196, 246, 180); // out of reach until it moves a pixel left
    BulletAt(1)->m_dVelX = -0.4;
    RunTicks(m_pGame);
    EXPECT_EQ(AsteroidAt(7)->m_iSize, 64) << "the bullet was tested before it moved";

    PlaceAt(AsteroidAt(7), 350, 200);
    AsteroidAt(7)->m_dVelX = 0.25;

    auto RunPassLate = [this](int iLateMs, std::initializer_list<SDLKey> aKeys)
    {
        SDL_Event oEvent = {SDL_KEYDOWN};
        for (SDLKey eKey : aKeys)
        {
            oEvent.key.keysym.sym = eKey;
            SDL_PushEvent(&oEvent);
        }
        m_pGame->m_iNextTickTime = static_cast<int>(SDL_GetTicks()) - iLateMs + 1;
        m_pGame->m_iExitCode = -1;
        m_pGame->RunMainLoop();
    };
    TheShip()->m_dVelX = 0.2;
    RunPassLate(3000, {SDLK_UP, SDLK_SPACE}); // of a three-second stall the last 250 ms are played
    EXPECT_EQ(AsteroidAt(7)->m_dPosX, 350 + 0.25 * 250);
    EXPECT_DOUBLE_EQ(TheShip()->m_dVelY, -0.000625 * 0.9989) << "one thrust, then the drag";
    EXPECT_EQ(BulletAt(1)->m_iAge, 1);
    EXPECT_NEAR(BulletAt(1)->m_dPosX, TheShip()->m_dNoseX, 1);

    TapKey(m_pGame, SDLK_ESCAPE);
    double dX = AsteroidAt(7)->m_dPosX;
    RunPassLate(120, {SDLK_ESCAPE});
    EXPECT_EQ(AsteroidAt(7)->m_dPosX, dX + 0.25) << "one advance, the pass's own";
}

// F11 and Alt+Return are the engine's: the screen turns whole and back, showing the same frame at
// once, and the paused game sees no Return; so does a mode set anew with a display that must be
// locked (Windows' full screen larger than the picture). Play pauses when minimised; the title
// menu stays as it is. A switch that leaves no display ends the loop for the program's shutdown.
TEST_F(GameKeysTest, F11AndAltReturnSwitchTheWholeScreenAndAMinimisedPlayPauses)
{
    delete m_pGame;
    Start(m_pGame = new OnePassGame);
    m_pGame->SetPushInterval(0); // each pass draws what it asks for
    auto RunPass = [this](SDL_Event oEvent)
    {
        SDL_PushEvent(&oEvent);
        m_pGame->m_iExitCode = -1;
        m_pGame->RunMainLoop();
    };
    SDL_Event oKey = {SDL_KEYDOWN}, oHidden = {SDL_ACTIVEEVENT};
    oHidden.active.state = SDL_APPACTIVE;
    oHidden.active.gain = 0; // lost (the braces set the event's type alone)
    EnterPlay(1);
    TheShip()->m_bShielded = false; // the passes take the clock's time: no blink between frames
    TapKey(m_pGame, SDLK_ESCAPE);
    RunTicks(m_pGame);
    SDL_Surface* pFrame =
        SDL_ConvertSurface(m_pGame->m_pScreenSurface, m_pGame->m_pScreenSurface->format, 0);
    m_pGame->SetPushInterval(1 << 30); // no push falls due
    for (auto [iPass, eKey, eMod] :
         {make_tuple(1, SDLK_F11, KMOD_NONE), make_tuple(2, SDLK_RETURN, KMOD_LALT)})
    {
        std::tie(oKey.key.keysym.sym, oKey.key.keysym.mod) = make_tuple(eKey, eMod);
        RunPass(oKey);
        SDL_Surface* pScreen = SDL_GetVideoSurface();
        EXPECT_EQ(make_tuple(pScreen->w, pScreen->h, (pScreen->flags & SDL_FULLSCREEN) != 0,
                             m_pGame->m_iGameState, CountDifferentPixels(pFrame, pScreen)),
                  make_tuple(800, 600, iPass == 1, STATE_PLAYING, 0))
            << "pass " << iPass;
    }
    SDL_Surface* pDisplay = SDL_SetVideoMode(800, 600, 32, 0);
    pDisplay->flags |= SDL_HWSURFACE; // must be locked
    m_pGame->FollowDisplayMode();
    EXPECT_EQ(CountDifferentPixels(pFrame, pDisplay), 0) << "a display set anew, locked";
    pDisplay->flags &= ~SDL_HWSURFACE;
    SDL_FreeSurface(pFrame);
    m_pGame->SetPushInterval(0);
    TapKey(m_pGame, SDLK_ESCAPE);
    RunPass(oHidden);
    RunPass(oHidden); // hidden again, already paused
    EXPECT_TRUE(m_pGame->m_bPaused);
    // Restored, the window may have lost what it showed: all of it is drawn again.
    SDL_Rect oLost{300, 250, 200, 100};
    SDL_FillRect(m_pGame->m_pScreenSurface, &oLost, 0x123456);
    oHidden.active.gain = 1;
    RunPass(oHidden);
    EXPECT_EQ(CountPixels(m_pGame->m_pScreenSurface, 0x123456, 300, 250, 200, 100), 0);
    TapKey(m_pGame, SDLK_RETURN);
    oHidden.active.gain = 0;
    RunPass(oHidden);
    EXPECT_EQ(make_tuple(m_pGame->m_iGameState, m_pGame->m_bPaused), make_tuple(STATE_MENU, false));

    SDL_QuitSubSystem(SDL_INIT_VIDEO); // no mode is set
    testing::internal::CaptureStderr();
    m_pGame->FollowDisplayMode();
    m_pGame->m_iExitCode = -1;
    int iStatus = m_pGame->RunMainLoop();
    EXPECT_EQ(make_tuple(iStatus, m_pGame->m_iExitCode), make_tuple(2, -1)) << "2, with no pass";
    EXPECT_EQ(testing::internal::GetCapturedStderr().rfind("Unable to set up video: ", 0), 0u);
}
