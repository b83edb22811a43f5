#include "GameTestSupport.h"

using ScriptedGameTest = GameTest;

// A whole game by keys, through every screen: the table, a load without a save, a level cleared
// and saved, the save loaded, every life lost, the name entered, then Exit.
TEST_F(ScriptedGameTest, PlayerGoesThroughEveryScreenFromTheTitleMenuToExit)
{
    auto Press = [this](std::initializer_list<int> aKeys)
    {
        for (int iKey : aKeys)
            TapKey(m_pGame, iKey);
        RunTicks(m_pGame, 20);
    };
    auto ParkAsteroids = [this](double dX, double dY) // away from the bullets resting in a corner
    {
        for (int i = 7; AsteroidAt(i) != nullptr; i++)
            PlaceAt(AsteroidAt(i), dX, dY);
    };
    Press({SDLK_ESCAPE, SDLK_DOWN, SDLK_RETURN}); // Escape does nothing; Load Game, with no save
    Press({SDLK_DOWN, SDLK_RETURN});              // High Scores
    Press({SDLK_DOWN, SDLK_RETURN}); // Down does nothing here; "no save game" is still shown
    ASSERT_EQ(
        std::make_tuple(m_pGame->m_iGameState, m_pGame->m_bSaveFound, m_pGame->m_iMenuSelection),
        std::make_tuple(STATE_MENU, false, 3));
    Press({SDLK_UP, SDLK_UP, SDLK_UP, SDLK_RETURN}); // New Game: Up stops at the first item
    ParkAsteroids(680, 460);
    RunTicks(m_pGame, 200); // until the bullets are ready
    int iHits = 0;
    for (int iTarget = 7; AsteroidAt(iTarget) != nullptr; iTarget++)
    {
        for (Asteroid* pTarget = AsteroidAt(iTarget); pTarget->m_bActive;)
        {
            ASSERT_EQ(m_pGame->m_iGameState, STATE_PLAYING) << "level complete after " << iHits;
            ParkAsteroids(680, 460); // the target waits 80 pixels ahead of the nose
            int iSize = pTarget->m_iSize;
            PlaceAt(pTarget, TheShip()->m_dNoseX - iSize / 2, TheShip()->m_dNoseY - 80 - iSize / 2);
            TapKey(m_pGame, SDLK_SPACE);
            for (int i = 0; i < 400 && pTarget->m_iSize == iSize; i++)
                RunTicks(m_pGame, 1);
            ASSERT_LT(pTarget->m_iSize, iSize) << "shot at slot " << iTarget << " missed";
            iHits++;
        }
    }
    EXPECT_EQ(iHits, 14) << "two large asteroids break into fourteen hits";
    EXPECT_EQ(m_pGame->m_iGameState, STATE_LEVEL_COMPLETE) << "in the tick of the last hit";
    auto PointsBefore = std::make_pair(m_pGame->m_iScore, m_pGame->m_iPendingScore);
    RunTicks(m_pGame, 100);
    EXPECT_TRUE(PointsBefore.second > 0 &&
                std::make_pair(m_pGame->m_iScore, m_pGame->m_iPendingScore) == PointsBefore)
        << "points counted under the level-complete menu";

    Press({SDLK_UP, SDLK_DOWN, SDLK_RETURN}); // Save Game, the second item
    EXPECT_EQ(ReadFileBytes("save.txt"), TextFile("level::2\nlives::3\nscore::3400\n"));
    Press({SDLK_DOWN, SDLK_DOWN, SDLK_RETURN}); // Main Menu: Down stops at the last item
    Press({SDLK_DOWN, SDLK_RETURN});            // Load Game
    ExpectStatus({STATE_PLAYING, 2, 3, 3400, 0, 20}, "Load Game");
    ASSERT_EQ(m_pGame->m_iMenuSelection, 2) << "the selection is kept after Load Game";
    int iLives = 3; // asteroids kept on the ship hit it when its shield ends
    for (int i = 0; i < 4 * 2001 && m_pGame->m_iGameState == STATE_PLAYING; i++)
    {
        ParkAsteroids(400 - 48, 300 - 48);
        RunTicks(m_pGame, 1);
        ASSERT_GE(m_pGame->m_iLives, iLives - 1) << "two lives lost in one hit";
        iLives = m_pGame->m_iLives;
    }
    ExpectStatus({STATE_GAME_OVER, 2, 0, 3400, 0, 20}, "the last life lost");

    Press({SDLK_a, SDLK_1, SDLK_c, SDLK_x, SDLK_d});
    EXPECT_STREQ(m_pGame->m_szName, "acx") << "a fourth letter is ignored";
    Press({SDLK_BACKSPACE, SDLK_RETURN});
    EXPECT_STREQ(m_pGame->m_szName, "ac_") << "Return needs three letters";
    Press({SDLK_e, SDLK_RETURN});
    ExpectStatus({STATE_MENU, 1, 3, 0, 0, 4}, "the name entered");
    EXPECT_STREQ(m_pGame->m_szName, "___") << "the name is cleared for the next game";
    std::string strTable = ReadFileBytes("highscores.txt");
    EXPECT_EQ(strTable.substr(strTable.find("lun")), TextFile("lun::5400\nvek::5000\nace::3400"));
    Press({SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_RETURN}); // Exit: Down stops at the last item
    EXPECT_EQ(m_pGame->m_iExitCode, 0);
}
