#include "GameTestSupport.h"

using ScriptedGameTest = GameTest;

TEST_F(ScriptedGameTest, PlayerClearsALevelLosesEveryLifeAndEntersTheHighScoreTable)
{
    auto ParkAsteroids = [this](double dX, double dY) // away from the bullets resting in a corner
    {
        for (int i = 7; AsteroidAt(i) != nullptr; i++)
            PlaceAt(AsteroidAt(i), dX, dY);
    };
    TapKey(m_pGame, SDLK_RETURN); // New Game
    ASSERT_EQ(m_pGame->m_iGameState, STATE_PLAYING);
    ParkAsteroids(680, 460);
    RunTicks(m_pGame, 200); // until the bullets are ready
    int iHits = 0;
    for (int iTarget = 7; AsteroidAt(iTarget) != nullptr;)
    {
        Asteroid* pTarget = AsteroidAt(iTarget);
        if (!pTarget->m_bActive)
        {
            iTarget++;
            continue;
        }
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
    EXPECT_EQ(iHits, 14) << "two large asteroids break into fourteen hits";
    EXPECT_EQ(m_pGame->m_iGameState, STATE_LEVEL_COMPLETE) << "in the tick of the last hit";
    EXPECT_EQ(m_pGame->m_iScore + m_pGame->m_iPendingScore, 3400);

    TapKey(m_pGame, SDLK_RETURN); // Next Level
    ASSERT_EQ(m_pGame->m_iLevel, 2);
    int iLives = m_pGame->m_iLives; // asteroids kept on the ship hit it when its shield ends
    for (int i = 0; i < 4 * 2001 && m_pGame->m_iGameState == STATE_PLAYING; i++)
    {
        ParkAsteroids(400 - 48, 300 - 48);
        RunTicks(m_pGame, 1);
        ASSERT_GE(m_pGame->m_iLives, iLives - 1) << "two lives lost in one hit";
        iLives = m_pGame->m_iLives;
    }
    EXPECT_EQ(Status(), std::make_tuple(STATE_GAME_OVER, 2, 0, 5400, 0, 20)) << "all points in";

    for (int iKey : {SDLK_RETURN, SDLK_a, SDLK_1, SDLK_c, SDLK_x, SDLK_d})
        TapKey(m_pGame, iKey);
    EXPECT_STREQ(m_pGame->m_szName, "acx") << "a fourth letter is ignored";
    for (int iKey : {SDLK_BACKSPACE, SDLK_RETURN})
        TapKey(m_pGame, iKey);
    EXPECT_STREQ(m_pGame->m_szName, "ac_") << "Return needs three letters";
    for (int iKey : {SDLK_e, SDLK_RETURN})
        TapKey(m_pGame, iKey);
    EXPECT_EQ(Status(), std::make_tuple(STATE_MENU, 1, 3, 0, 0, 4));
    std::string strTable = ReadFileBytes(PathOf("highscores.txt"));
    EXPECT_NE(strTable.find("tzo::8700\nace::5400\nlun::5400\nvek::5000"), std::string::npos)
        << strTable;
    EXPECT_EQ(strTable.find("qrx"), std::string::npos) << "the last entry drops out";
}
