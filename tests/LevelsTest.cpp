#include <climits>

#include "GameTestSupport.h"

using LevelsTest = GameTest;
using std::make_pair;

// Out-of-range levels are played within 1 to 9999; from level 30 the rocks stop growing in number.
TEST_F(LevelsTest, PlayListHoldsShipBulletsAndRocksClearOfTheShipAndOfEachOther)
{
    auto Gap = [](const DisplayableObject* pA, int iX, int iY) // centre to (iX, iY), squared
    {
        return (pA->m_iPosX + 48 - iX) * (pA->m_iPosX + 48 - iX) +
               (pA->m_iPosY + 48 - iY) * (pA->m_iPosY + 48 - iY);
    };
    const int aCases[][3] = {{1, 1, 2},       {2, 2, 3},    {10, 10, 11}, {0, 1, 2},
                             {INT_MIN, 1, 2}, {30, 30, 31}, {31, 31, 31}, {INT_MAX, 9999, 31}};
    for (unsigned iSeed = 1; iSeed <= 10; iSeed++)
    {
        for (auto [iAsked, iLevel, iRocks] : aCases) // level asked for, level played, large rocks
        {
            SCOPED_TRACE(testing::Message() << "seed " << iSeed << ", level " << iAsked);
            srand(iSeed);
            EnterPlay(iAsked);
            EXPECT_EQ(make_pair(m_pGame->m_iLevel, m_pGame->m_iObjectListSize),
                      make_pair(iLevel, 4 * iRocks + 8));
            EXPECT_NE(TheShip(), nullptr);
            for (int i = 1; i < 4 * iRocks + 8; i++)
            {
                bool bAsteroid = i >= 7 && i < iRocks + 7;
                EXPECT_EQ(m_pGame->GetObjectAt(i) != nullptr, i <= 6 || bAsteroid) << "slot " << i;
                EXPECT_TRUE(i > 6 || BulletAt(i) != nullptr) << "bullet in " << i;
                if (!bAsteroid || iRocks > 11) // 31 rocks need not find room apart
                    continue;
                EXPECT_EQ(AsteroidAt(i)->m_iSize, 96) << "slot " << i;
                EXPECT_GE(Gap(AsteroidAt(i), 400, 300), 63 * 63) << "slot " << i << " and the ship";
                for (int j = 7; j < i; j++)
                    EXPECT_GE(Gap(AsteroidAt(i), AsteroidAt(j)->m_iPosX + 48,
                                  AsteroidAt(j)->m_iPosY + 48),
                              96 * 96)
                        << "slots " << j << ", " << i;
            }
        }
    }
}

TEST_F(LevelsTest, NewAsteroidsFillTheFreeSlotsButNeverTheLast)
{
    EnterPlay(1);
    for (int i = 0; i < 7; i++) // six free slots are left
        m_pGame->SpawnAsteroid(32, 10 * i, 50, "asteroid1_small.png", 1, 0.175, 1);
    EXPECT_TRUE(AsteroidAt(14) && !m_pGame->GetObjectAt(15)) << "the last slot must stay empty";
}

TEST_F(LevelsTest, PointsCountOneByOneOnEvenMillisecondsWithAnExtraLifeAtFiftyThousand)
{
    EnterPlay(1);
    m_pGame->m_iPendingScore = 300;
    for (m_pGame->m_iTickTime = 1001; m_pGame->m_iTickTime <= 1010; m_pGame->m_iTickTime++)
        m_pGame->DrawOverlayText();
    EXPECT_EQ(m_pGame->m_iScore, 5) << "one point on each even millisecond";
    m_pGame->m_iTickTime = 1017; // frames 1011 to 1016 were not drawn: their points still count
    m_pGame->DrawOverlayText();
    EXPECT_EQ(m_pGame->m_iScore, 8) << "the even milliseconds 1012, 1014 and 1016";
    m_pGame->m_bPaused = true;
    m_pGame->m_iTickTime = 1018;
    m_pGame->DrawOverlayText();
    m_pGame->m_bPaused = false;
    m_pGame->m_iTickTime = 1019;
    m_pGame->DrawOverlayText();
    EXPECT_EQ(m_pGame->m_iScore, 8) << "no points for the milliseconds while paused";
    const int aCases[][3] = {{49999, 2, 3}, {99999, 1, 2}, {49999, 3, 3}, {50000, 1, 1}};
    for (const auto& aCase : aCases) // score, lives, lives after one more point
    {
        m_pGame->m_iScore = aCase[0];
        m_pGame->m_iLives = aCase[1];
        m_pGame->CountPendingPoint();
        EXPECT_EQ(m_pGame->m_iLives, aCase[2]) << "score " << aCase[0] + 1;
    }
}

TEST_F(LevelsTest, NextLevelAddsItsBonusAndPointsStopAtTheLargestIntThroughASave)
{
    MyProjectMain& oGame = *m_pGame;
    auto NextLevel = [&oGame]()
    {
        oGame.m_iGameState = STATE_LEVEL_COMPLETE;
        oGame.m_iMenuSelection = MENU_NEXT_LEVEL;
        TapKey(&oGame, SDLK_RETURN);
    };
    EnterPlay(20);
    NextLevel();
    EXPECT_EQ(Status(), std::make_tuple(STATE_PLAYING, 21, 3, 0, 2000, 4 * 22 + 8));
    oGame.m_iScore = 2147483646;
    oGame.m_iPendingScore = 3;
    for (int i = 0; i < 3; i++)
        oGame.CountPendingPoint();
    EXPECT_EQ(std::make_pair(oGame.m_iScore, oGame.m_iPendingScore), std::make_pair(INT_MAX, 0));
    oGame.AddPendingScore(2147483600);
    oGame.AddPendingScore(300); // and the level bonus on top
    NextLevel();
    EXPECT_EQ(oGame.m_iPendingScore, INT_MAX);

    oGame.m_iScore = 2147483600;
    oGame.m_iGameState = STATE_LEVEL_COMPLETE;
    oGame.SaveGame();
    EXPECT_EQ(ReadFileBytes("save.txt"), "level::23\nlives::3\nscore::2147483647\n");
    EXPECT_EQ(std::make_pair(oGame.m_iScore, oGame.m_iPendingScore), std::make_pair(INT_MAX, 0));
}
