#include "GameTestSupport.h"

using BulletTest = GameTest;
using std::make_pair;

TEST_F(BulletTest, WrapsAroundTheWholeScreenOncePastAnEdge)
{
    const double aCases[][6] = {{10, -0.1, 0, -0.5, 10, -0.6}, {10, -0.5, 0, -0.5, 10, 599},
                                {799.5, 20, 0.5, 0, 0, 20},    {0.5, 20, -1.5, 0, 799, 20},
                                {20, 599.5, 0, 0.5, 20, 0},    {799.5, 10, 0.25, 0, 799.75, 10}};
    for (const auto& aCase : aCases) // start x, y, velocity x, y, expected x, y
    {
        Bullet oBullet(m_pGame);
        oBullet.m_dPosX = aCase[0];
        oBullet.m_dPosY = aCase[1];
        oBullet.m_dVelX = aCase[2];
        oBullet.m_dVelY = aCase[3];
        oBullet.Advance(0);
        EXPECT_EQ(make_pair(oBullet.m_dPosX, oBullet.m_dPosY), make_pair(aCase[4], aCase[5]))
            << "from (" << aCase[0] << ", " << aCase[1] << ")";
    }
}

// A launched bullet flies 1200 ticks; a new one is out of flight after 200 and then stays put.
TEST_F(BulletTest, LaunchDropsTheFractionsAndFlies1200TicksOfFourTenthsOfAPixelDrawnOnlyThen)
{
    Bullet oLaunched(m_pGame), oNew(m_pGame);
    oLaunched.Launch(300.7, 580.2, 270);
    EXPECT_EQ(make_pair(oLaunched.m_dPosX, oLaunched.m_dPosY), make_pair(300.0, 580.0));
    for (int i = 1; i <= 1200; i++)
    {
        oLaunched.Advance(0);
        oNew.Advance(0);
        ASSERT_NEAR(oLaunched.m_dPosX, 300, 1e-12) << i;
        ASSERT_NEAR(oLaunched.m_dPosY, 580 - 0.4 * i, 1e-9) << i;
        ASSERT_EQ(make_pair(oLaunched.m_bActive, oNew.m_bActive), make_pair(i < 1200, i < 200))
            << i;
        FillSurface(m_pGame->m_pScreenSurface, 0x000000);
        oLaunched.Render();
        int iBlack = CountPixels(m_pGame->m_pScreenSurface, 0, 300, oLaunched.m_iPosY, 4, 4);
        ASSERT_EQ(iBlack < 16, i < 1200) << "drawn only while in flight, " << i;
    }
    oNew.m_dVelX = 1;
    auto oRest = make_pair(oNew.m_dPosX, oNew.m_dPosY);
    oNew.Advance(0);
    EXPECT_EQ(make_pair(oNew.m_dPosX, oNew.m_dPosY), oRest) << "a bullet out of flight stays put";
}
