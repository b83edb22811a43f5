#include "GameTestSupport.h"

using BulletTest = GameTest;
using std::make_pair;

TEST_F(BulletTest, LaunchDropsTheFractionsAndFliesFourTenthsOfAPixelPerTick)
{
    const double aCases[][3] = {{270, 0, -0.4}, {0, 0.4, 0}, {90, 0, 0.4}}; // heading, step x, y
    for (const auto& aCase : aCases)
    {
        SCOPED_TRACE(aCase[0]);
        Bullet oBullet(m_pGame);
        oBullet.Launch(400.7, 299.2, aCase[0]);
        EXPECT_EQ(make_pair(oBullet.m_iPosX, oBullet.m_iPosY), make_pair(400, 299));
        oBullet.Advance(0);
        EXPECT_NEAR(oBullet.m_dPosX, 400 + aCase[1], 1e-12);
        EXPECT_NEAR(oBullet.m_dPosY, 299 + aCase[2], 1e-12);
        EXPECT_NE(oBullet.m_dVelX, 0.0) << "cos 90 and cos 270 are tiny, not 0";
    }
}

TEST_F(BulletTest, WrapsAroundTheWholeScreenOncePastAnEdge)
{
    const double aCases[][6] = {{10, -0.1, 0, -0.5, 10, -0.6}, {10, -0.5, 0, -0.5, 10, 599},
                                {799.5, 20, 0.5, 0, 0, 20},    {0.5, 20, -1.5, 0, 799, 20},
                                {20, 599.5, 0, 0.5, 20, 0},    {799.5, 10, 0.25, 0, 799.75, 10}};
    for (const auto& aCase : aCases) // start x, y, velocity x, y, expected x, y
    {
        Bullet oBullet(m_pGame);
        oBullet.Launch(aCase[0], aCase[1], 0);
        oBullet.m_dPosX = aCase[0];
        oBullet.m_dPosY = aCase[1];
        oBullet.m_dVelX = aCase[2];
        oBullet.m_dVelY = aCase[3];
        oBullet.Advance(0);
        EXPECT_EQ(make_pair(oBullet.m_dPosX, oBullet.m_dPosY), make_pair(aCase[4], aCase[5]))
            << "from (" << aCase[0] << ", " << aCase[1] << ")";
    }
}

TEST_F(BulletTest, LaunchedBulletLandsOnItsTwelveHundredthAdvanceAndIsNotDrawnThen)
{
    Bullet oBullet(m_pGame);
    oBullet.Launch(300, 580, 270);
    for (int i = 1; i <= 1200; i++)
    {
        SCOPED_TRACE(i);
        double dY = oBullet.m_dPosY;
        oBullet.Advance(0);
        ASSERT_LT(oBullet.m_dPosY, dY) << "every advance moves the bullet";
        ASSERT_EQ(make_pair(oBullet.m_bActive, oBullet.m_iAge), make_pair(i < 1200, i % 1200));
        FillSurface(m_pGame->m_pScreenSurface, 0x000000);
        oBullet.Render();
        int iBlack =
            CountPixels(m_pGame->m_pScreenSurface, 0, oBullet.m_iPosX, oBullet.m_iPosY, 4, 4);
        ASSERT_EQ(iBlack < 16, i < 1200) << "drawn only while in flight";
    }
}

TEST_F(BulletTest, NewBulletLandsAfterTwoHundredAdvancesAndThenStaysPut)
{
    Bullet oBullet(m_pGame);
    for (int i = 1; i <= 200; i++)
    {
        oBullet.Advance(0);
        ASSERT_EQ(oBullet.m_bActive, i < 200) << "new bullet after " << i << " advances";
    }
    auto aBefore = make_pair(make_pair(oBullet.m_dPosX, oBullet.m_dPosY), oBullet.m_iAge);
    oBullet.Advance(0);
    EXPECT_FALSE(oBullet.m_bActive);
    EXPECT_EQ(make_pair(make_pair(oBullet.m_dPosX, oBullet.m_dPosY), oBullet.m_iAge), aBefore);
}
