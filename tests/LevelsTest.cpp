#include <climits>
#include <complex>

#include "GameTestSupport.h"

using LevelsTest = GameTest;

// Out-of-range levels are played within 1 to 9999; from level 30 the rocks stop growing in number.
// New asteroids fill the free slots but never the last.
TEST_F(LevelsTest, PlayListHoldsRocksClearOfTheShipAndOfEachOtherAndEndsInAnEmptySlot)
{
    auto Centre = [](const DisplayableObject* pRock)
    { return std::complex<double>(pRock->m_iPosX + 48, pRock->m_iPosY + 48); };
    const int aCases[][3] = {{1, 1, 2},    {10, 10, 11}, {0, 1, 2},
                             {30, 30, 31}, {31, 31, 31}, {INT_MAX, 9999, 31}};
    for (unsigned iSeed = 1; iSeed <= 10; iSeed++)
        for (auto [iAsked, iLevel, iRocks] : aCases) // level asked for, level played, large rocks
        {
            SCOPED_TRACE(testing::Message() << "seed " << iSeed << ", level " << iAsked);
            srand(iSeed);
            EnterPlay(iAsked);
            EXPECT_EQ(std::make_pair(m_pGame->m_iLevel, m_pGame->m_iObjectListSize),
                      std::make_pair(iLevel, 4 * iRocks + 8));
            for (int i = 1; i < 4 * iRocks + 8; i++)
            {
                bool bAsteroid = i >= 7 && i < iRocks + 7;
                EXPECT_EQ(m_pGame->GetObjectAt(i) != nullptr, i <= 6 || bAsteroid) << "slot " << i;
                if (!bAsteroid || iRocks > 11) // 31 rocks need not find room apart
                    continue;
                EXPECT_EQ(AsteroidAt(i)->m_iSize, 96) << "slot " << i;
                EXPECT_GE(std::abs(Centre(AsteroidAt(i)) - std::complex<double>(400, 300)), 63)
                    << "slot " << i << " and the ship";
                for (int j = 7; j < i; j++)
                    EXPECT_GE(std::abs(Centre(AsteroidAt(i)) - Centre(AsteroidAt(j))), 96)
                        << "slots " << j << ", " << i;
            }
        }
    EnterPlay(1);
    for (int i = 0; i < 7; i++) // six free slots are left for new asteroids
        m_pGame->SpawnAsteroid(32, 10 * i, 50, "asteroid1_small.png", 1, 0.175, 1);
    EXPECT_TRUE(AsteroidAt(14) && !m_pGame->GetObjectAt(15)) << "the last slot must stay empty";
}

// The score, the points still to count and the level bonus stop there, also through a save.
TEST_F(LevelsTest, PointsBringASpareLifeEveryFiftyThousandAndStopAtTheLargestInt)
{
    MyProjectMain& oGame = *m_pGame;
    const int aCases[][4] = {{49999, 2, 50000, 3},
                             {99999, 1, 100000, 2},
                             {49999, 3, 50000, 3},
                             {50000, 1, 50001, 1},
                             {INT_MAX, 1, INT_MAX, 1}};
    for (auto [iScore, iLives, iScoreAfter, iLivesAfter] : aCases) // before and after a point
    {
        std::tie(oGame.m_iScore, oGame.m_iLives, oGame.m_iPendingScore) =
            std::make_tuple(iScore, iLives, 1);
        oGame.CountPendingPoint();
        EXPECT_EQ(std::tie(oGame.m_iScore, oGame.m_iLives, oGame.m_iPendingScore),
                  std::make_tuple(iScoreAfter, iLivesAfter, 0));
    }
    EnterPlay(20);
    oGame.m_iGameState = STATE_LEVEL_COMPLETE;
    oGame.m_iMenuSelection = MENU_NEXT_LEVEL;
    TapKey(&oGame, SDLK_RETURN);
    ExpectStatus({STATE_PLAYING, 21, 1, INT_MAX, 2000, 4 * 22 + 8}, "Next Level");
    oGame.m_iPendingScore = 2147483600;
    oGame.m_iGameState = STATE_LEVEL_COMPLETE;
    TapKey(&oGame, SDLK_RETURN); // Next Level again
    EXPECT_EQ(oGame.m_iPendingScore, INT_MAX);
    oGame.m_iScore = 2147483600;
    oGame.SaveGame();
    EXPECT_EQ(ReadFileBytes("save.txt"), TextFile("level::23\nlives::1\nscore::2147483647\n"));
    EXPECT_EQ(std::make_pair(oGame.m_iScore, oGame.m_iPendingScore), std::make_pair(INT_MAX, 0));
}
