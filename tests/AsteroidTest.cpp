#include "GameTestSupport.h"

using AsteroidTest = GameTest;
using std::make_pair;
using std::make_tuple;

TEST_F(AsteroidTest, EachHitShrinksTheAsteroidThrowsAFragmentAndScores)
{
    EnterPlay(1);
    Asteroid* pRock = AsteroidAt(7);
    const double aSteps[][3] = {{64, 100, 0.125}, {32, 200, 0.175}, {0, 300, 0.175}};
    for (int iStep = 0; iStep < 3; iStep++) // size after the hit, points, speed
    {
        int iSize = static_cast<int>(aSteps[iStep][0]), iPending = m_pGame->m_iPendingScore;
        int iReach = pRock->m_iSize / 2 + 2;
        PlaceAt(pRock, 100, 200);
        AimBullet(pRock, 0, iReach, 1); // one at the reach, one not in flight: no hit
        AimBullet(pRock, 0, 0, 2);
        BulletAt(2)->m_bActive = false;
        pRock->Advance(0);
        ASSERT_EQ(pRock->m_iSize, iSize + 32) << "hit from " << iReach << " px or out of flight";
        AimBullet(pRock, iReach - 1, 0); // one pixel closer
        pRock->Advance(0);
        EXPECT_EQ(make_tuple(pRock->m_iSize, pRock->m_iAreaWidth, pRock->m_bActive,
                             BulletAt(1)->m_bActive, m_pGame->m_iPendingScore - iPending),
                  make_tuple(iSize, iSize, iSize > 0, false, static_cast<int>(aSteps[iStep][1])));
        int iHeading = static_cast<int>(pRock->m_dHeading);
        EXPECT_TRUE(pRock->m_dHeading == iHeading && iHeading >= 1 && iHeading <= 360) << iHeading;
        EXPECT_DOUBLE_EQ(pRock->m_dSpeed, aSteps[iStep][2]);
        EXPECT_DOUBLE_EQ(pRock->m_dPosX, 100 + pRock->m_dVelX) << "keeps its corner, then moves";
        EXPECT_DOUBLE_EQ(pRock->m_dPosY, 200 + pRock->m_dVelY);
        Asteroid* pFragment = AsteroidAt(9 + iStep);
        ASSERT_EQ(pFragment != nullptr, iSize > 0) << "fragment in slot " << 9 + iStep;
        if (iSize == 0)
            break;
        EXPECT_EQ(make_tuple(pFragment->m_iPosX, pFragment->m_iPosY, pFragment->m_iSize,
                             pFragment->m_dHeading, pFragment->m_dSpeed),
                  make_tuple(100 + iSize, 200 + iSize, iSize, 1.0 * ((iHeading + 180) % 360),
                             aSteps[iStep][2]));
    }
}

TEST_F(AsteroidTest, SecondBulletOfATickIsTestedAgainstTheShrunkenAsteroid)
{
    EnterPlay(1);
    m_pGame->SpawnAsteroid(64, 300, 300, "asteroid1_medium.png", 1, 0, 0);
    Asteroid* pMedium = AsteroidAt(9);
    AimBullet(pMedium);
    AimBullet(pMedium, -28, -28, 2); // within 18 of the small centre, not within 34 of the medium's
    pMedium->Advance(0);
    EXPECT_FALSE(pMedium->m_bActive) << "expected shot away by the second bullet";
    EXPECT_EQ(m_pGame->m_iPendingScore, 500);
    EXPECT_EQ(AsteroidAt(10)->m_iSize, 32) << "the small fragment of the first hit";
}

TEST_F(AsteroidTest, WrapsAroundThePlayAreaOnceWhollyOutsideAndFragmentsFlyBackwards)
{
    const double aCases[][5] = {{96, -97, 100, 799, 100}, {96, -96, 100, -96, 100},
                                {96, 800, 100, -96, 100}, {96, 799, 100, 799, 100},
                                {32, 100, 2, 100, 599},   {32, 100, 3, 100, 3},
                                {32, 100, 600, 100, 3},   {64, 100, 599, 100, 599}};
    for (const auto& aCase : aCases) // size, x, y, expected x, y
    {
        Asteroid oRock(m_pGame, aCase[0], aCase[1], aCase[2], "asteroid1.png", 1, 0, 0);
        oRock.Advance(0);
        EXPECT_EQ(make_pair(oRock.m_dPosX, oRock.m_dPosY), make_pair(aCase[3], aCase[4]))
            << "size " << aCase[0] << " at (" << aCase[1] << ", " << aCase[2] << ")";
    }
    for (auto aCase : {make_pair(359, 179), {1, 181}, {180, 0}, {360, 180}})
    {
        Asteroid oFragment(m_pGame, 32, 10, 50, "asteroid1_small.png", 1, 0.175, aCase.first);
        EXPECT_EQ(oFragment.m_dHeading, aCase.second) << "given " << aCase.first;
    }
}
