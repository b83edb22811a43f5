#include "GameTestSupport.h"

using AsteroidTest = GameTest;
using std::make_tuple;

TEST_F(AsteroidTest, EachHitShrinksItThrowsAFragmentBackwardsAndScoresAndItWrapsOnceWhollyOutside)
{
    EnterPlay(1);
    Asteroid* pRock = AsteroidAt(7);
    // The bullets not yet fired rest in flight in the bottom-right corner for a level's first
    // 200 ticks: a rock drifting over them there is not shot.
    for (int iTick = 0; iTick < 2; iTick++)
        BulletAt(6)->Advance(0);
    PlaceAt(pRock, 799 + 2 - 48, 599 + 2 - 48); // its centre on the bullet's
    pRock->Advance(0);
    ASSERT_EQ(pRock->m_iSize, 96) << "shot by a bullet resting unfired in the corner";
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
        // The bullet lands; a new heading and speed: the corner stays, then moves by the velocity.
        ExpectFields("size, area, alive, bullet in flight, points, speed, x, y",
                     make_tuple(pRock->m_iSize, pRock->m_iAreaWidth, pRock->m_bActive,
                                BulletAt(1)->m_bActive, m_pGame->m_iPendingScore - iPending,
                                pRock->m_dSpeed, pRock->m_dPosX, pRock->m_dPosY),
                     make_tuple(iSize, iSize, iSize > 0, false, static_cast<int>(aSteps[iStep][1]),
                                aSteps[iStep][2], 100 + pRock->m_dVelX, 200 + pRock->m_dVelY));
        Asteroid* pFragment = AsteroidAt(9 + iStep);
        ASSERT_EQ(pFragment != nullptr, iSize > 0) << "fragment in slot " << 9 + iStep;
        if (iSize == 0)
            break;
        ExpectFields("fragment x, y, size, opposite heading, speed",
                     make_tuple(pFragment->m_iPosX, pFragment->m_iPosY, pFragment->m_iSize,
                                pFragment->m_dHeading, pFragment->m_dSpeed),
                     make_tuple(100 + iSize, 200 + iSize, iSize,
                                1.0 * ((static_cast<int>(pRock->m_dHeading) + 180) % 360),
                                aSteps[iStep][2]));
    }
    m_pGame->SpawnAsteroid(64, 300, 300, "asteroid1_medium.png", 1, 0, 0);
    AimBullet(AsteroidAt(11));
    AimBullet(AsteroidAt(11), -28, -28, 2); // within 18 of the small centre, not 34 of the medium's
    AsteroidAt(11)->Advance(0);
    EXPECT_FALSE(AsteroidAt(11)->m_bActive) << "the second bullet of a tick meets the small rock";
    // size, x, y, heading given, x and y after one tick, heading
    const double aCases[][7] = {
        {96, -97, -62, 359, 799, 599, 179}, {96, -96, -61, 1, -96, -61, 181},
        {96, 800, 600, 180, -96, -61, 0},   {96, 799, 599, 360, 799, 599, 180},
        {32, -33, 2, 0, 799, 599, 180},     {32, 800, 600, 0, -32, 3, 180}};
    for (const auto& aCase : aCases)
    {
        Asteroid oRock(m_pGame, aCase[0], aCase[1], aCase[2], "asteroid1.png", 1, 0, aCase[3]);
        oRock.Advance(0);
        EXPECT_EQ(make_tuple(oRock.m_dPosX, oRock.m_dPosY, oRock.m_dHeading),
                  make_tuple(aCase[4], aCase[5], aCase[6]))
            << "size " << aCase[0] << " at (" << aCase[1] << ", " << aCase[2] << ")";
    }
}
