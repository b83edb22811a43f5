#include <cmath>

#include "GameTestSupport.h"

using std::make_tuple;

// A level with its asteroids parked far from the ship, which rests in the middle.
class ShipTest : public GameTest
{
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        EnterPlay(1);
        PlaceAt(AsteroidAt(7), 700, 480);
        PlaceAt(AsteroidAt(8), 700, 480);
    }
    void AdvanceHolding(int iKey, int iOtherKey = SDLK_UNKNOWN)
    {
        m_pGame->m_pKeyStates[iKey] = m_pGame->m_pKeyStates[iOtherKey] = 1;
        TheShip()->Advance(0);
        m_pGame->m_pKeyStates[iKey] = m_pGame->m_pKeyStates[iOtherKey] = 0;
    }
    int WhitePixelsDrawnAt(int iTime)
    {
        m_pGame->m_iTickTime = iTime;
        FillSurface(m_pGame->m_pScreenSurface, 0x000000);
        TheShip()->Render();
        return CountPixels(m_pGame->m_pScreenSurface, 0xFFFFFF, 0, 0, 800, 600);
    }
};

TEST_F(ShipTest, StartsAsTheShieldedArrowheadThrustsByTheHeadingFormulaAndWrapsOnceWhollyOutside)
{
    Ship* pShip = TheShip();
    SDL_Surface* pExpected = NewSurface(800, 600); // black
    m_pGame->DrawTriangle(400, 280, 385, 316, 414, 316, 0xFFFFFF, pExpected);
    m_pGame->DrawTriangle(400, 305, 385, 316, 414, 316, 0x000000, pExpected);
    WhitePixelsDrawnAt(0);
    EXPECT_EQ(CountDifferentPixels(m_pGame->m_pScreenSurface, pExpected), 0);
    SDL_FreeSurface(pExpected);
    for (int iTime : {79, 80, 159, 160}) // the shield blinks
        EXPECT_EQ(WhitePixelsDrawnAt(iTime) > 0, iTime % 160 < 80) << "time " << iTime;
    for (int i = 1; i <= 2000; i++)
    {
        pShip->Advance(0);
        ASSERT_EQ(pShip->m_bShielded, i < 2000) << "after " << i << " ticks";
    }
    EXPECT_GT(WhitePixelsDrawnAt(80), 0) << "an unshielded ship does not blink";
    std::tie(pShip->m_dHeading, pShip->m_dVelX, pShip->m_dVelY) = make_tuple(315, 0.2499, -0.2499);
    AdvanceHolding(SDLK_UP, SDLK_DOWN); // each axis thrust to its limit, then brake and drag
    EXPECT_EQ(make_tuple(pShip->m_dVelX, pShip->m_dVelY),
              make_tuple(0.25 * 0.9979 * 0.9989, -0.25 * 0.9979 * 0.9989));
    for (auto oTurn : {make_tuple(0.175, SDLK_LEFT, 360.0), make_tuple(359.95, SDLK_RIGHT, 0.0)})
    {
        pShip->m_dHeading = std::get<0>(oTurn);
        AdvanceHolding(std::get<1>(oTurn));
        EXPECT_EQ(pShip->m_dHeading, std::get<2>(oTurn)) << "turning from " << std::get<0>(oTurn);
    }
    for (double dHeading = 0.45; dHeading < 360; dHeading += 0.9)
    {
        std::tie(pShip->m_dHeading, pShip->m_dVelX, pShip->m_dVelY) = make_tuple(dHeading, 0, 0);
        AdvanceHolding(SDLK_UP); // thrust from rest, then the drag
        double dRadians = dHeading * 3.141592653589793 / 180;
        ASSERT_EQ(make_tuple(pShip->m_dVelX, pShip->m_dVelY),
                  make_tuple(cos(dRadians) * 0.000625 * 0.9989, sin(dRadians) * 0.000625 * 0.9989))
            << "heading " << dHeading;
    }
    const double aCases[][4] = {
        {-30.5, 4.5, 799, 599}, {-30, 5, -30, 5}, {829.5, 629.5, 0, 35}, {829, 629, 829, 629}};
    for (const auto& aCase : aCases) // x, y, x and y after one tick
    {
        PlaceAt(pShip, aCase[0], aCase[1]);
        pShip->Advance(0);
        EXPECT_EQ(make_tuple(pShip->m_dPosX, pShip->m_dPosY), make_tuple(aCase[2], aCase[3]))
            << "from (" << aCase[0] << ", " << aCase[1] << ")";
    }
}

TEST_F(ShipTest, AsteroidStrictlyWithinReachCostsALifeOrEndsTheGameButNeverHitsAHiddenShip)
{
    Ship* pShip = TheShip();
    const int PLAY = STATE_PLAYING, OVER = STATE_GAME_OVER, DONE = STATE_LEVEL_COMPLETE;
    const int aCases[][4] = {
        {63, 3, PLAY, 3}, {62, 3, PLAY, 2}, {62, 0, PLAY, 0}, {62, 3, OVER, 3}, {62, 3, DONE, 3}};
    for (const auto& aCase : aCases) // distance, lives, state, lives after
    {
        std::tie(m_pGame->m_iGameState, m_pGame->m_iLives, m_pGame->m_iScore,
                 m_pGame->m_iPendingScore) = make_tuple(aCase[2], aCase[1], 49766, 234);
        m_pGame->m_bWholeScreenRedraw = pShip->m_bShielded = false;
        PlaceAt(pShip, 200.5, 150.5);
        std::tie(pShip->m_dVelX, pShip->m_dHeading) = make_tuple(0.001, 10);
        PlaceAt(AsteroidAt(7), 200 + aCase[0] - 48, 150 - 48);
        pShip->Advance(0);
        bool bShown = aCase[2] == PLAY, bHit = bShown && aCase[0] < 63;
        bool bOver = bHit && aCase[1] == 0;
        // Game over counts pending points (no extra life at 50000); a hit ship restarts at rest.
        SCOPED_TRACE(testing::PrintToString(std::vector<int>(aCase, aCase + 3)));
        ExpectStatus(
            {bOver ? OVER : aCase[2], 1, aCase[3], bOver ? 50000 : 49766, bOver ? 0 : 234, 16});
        ExpectFields("whole screen asked, shielded, x, x speed, heading, shown",
                     make_tuple(m_pGame->m_bWholeScreenRedraw, pShip->m_bShielded, pShip->m_dPosX,
                                pShip->m_dVelX, pShip->m_dHeading, WhitePixelsDrawnAt(0) > 0),
                     make_tuple(bOver, bHit, bHit ? 400.0 : 200.5 + 0.001 * 0.9989,
                                bHit ? 0.0 : 0.001 * 0.9989, bHit ? 270.0 : 10.0, bShown));
    }
}
