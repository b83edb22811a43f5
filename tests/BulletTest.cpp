#include "GameTestSupport.h"

using BulletTest = GameTest;
using std::make_pair;

// A launched bullet flies, drawn, 1200 ticks; a new one is out of flight after 200.
TEST_F(BulletTest, WrapsPastAnEdgeAndFlies1200TicksOfFourTenthsOfAPixelFromWholePixels)
{
    const double aCases[][6] = {{10, -0.1, 0, -0.5, 10, -0.6},
                                {0.5, -0.5, -1.5, -0.5, 799, 599},
                                {799.5, 599.5, 0.5, 0.5, 0, 0},
                                {799.5, 10, 0.25, 0, 799.75, 10}};
    for (const auto& aCase : aCases) // start x, y, velocity x, y, expected x, y
    {
        Bullet oBullet(m_pGame);
        PlaceAt(&oBullet, aCase[0], aCase[1]);
        std::tie(oBullet.m_dVelX, oBullet.m_dVelY) = make_pair(aCase[2], aCase[3]);
        oBullet.Advance(0);
        EXPECT_EQ(make_pair(oBullet.m_dPosX, oBullet.m_dPosY), make_pair(aCase[4], aCase[5]))
            << "from (" << aCase[0] << ", " << aCase[1] << ")";
    }
    Bullet oLaunched(m_pGame), oNew(m_pGame);
    oLaunched.Launch(300.7, 580.2, 270); // from whole pixels
    for (int i = 1; i <= 1200; i++)
    {
        oLaunched.Advance(0);
        oNew.Advance(0);
        ASSERT_NEAR(oLaunched.m_dPosX, 300, 1e-12) << i;
        ASSERT_NEAR(oLaunched.m_dPosY, 580 - 0.4 * i, 1e-9) << i;
        FillSurface(m_pGame->m_pScreenSurface, 0x000000);
        oLaunched.Render();
        int iBlack = CountPixels(m_pGame->m_pScreenSurface, 0, 300, oLaunched.m_iPosY, 4, 4);
        ASSERT_EQ(make_pair(iBlack < 16, oNew.m_bActive), make_pair(i < 1200, i < 200)) << i;
    }
}
