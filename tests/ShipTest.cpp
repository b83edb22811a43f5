#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "GameTestSupport.h"

using std::make_pair;
using std::make_tuple;

class ShipTest : public GameTest
{
protected:
    // A level with its asteroids parked far from the ship, which rests in the middle.
    void SetUp() override
    {
        GameTest::SetUp();
        EnterPlay(1);
        PlaceAt(AsteroidAt(7), 700, 480);
        PlaceAt(AsteroidAt(8), 700, 480);
    }
    void AdvanceHolding(std::initializer_list<int> aKeys)
    {
        for (int iKey : aKeys)
            m_pGame->m_pKeyStates[iKey] = 1;
        TheShip()->Advance(0);
        for (int iKey : aKeys)
            m_pGame->m_pKeyStates[iKey] = 0;
    }
    int WhitePixelsDrawnAt(int iTime)
    {
        m_pGame->m_iTickTime = iTime;
        FillSurface(m_pGame->m_pScreenSurface, 0x000000);
        TheShip()->Render();
        return CountPixels(m_pGame->m_pScreenSurface, 0xFFFFFF, 0, 0, 800, 600);
    }
};

TEST_F(ShipTest, ThrustIsTheHeadingFormulaBitForBitLimitedPerAxisBeforeTheBrakeAndTheDrag)
{
    Ship* pShip = TheShip();
    for (double dStart : {0.0, -0.25}) // thrust, clamp, brake, drag
    {
        pShip->m_dVelY = dStart;
        AdvanceHolding({SDLK_UP, SDLK_DOWN});
        EXPECT_DOUBLE_EQ(pShip->m_dVelY, std::max(-0.25, dStart - 0.000625) * 0.9979 * 0.9989);
    }
    pShip->m_dHeading = 315;
    pShip->m_dVelX = 0.2499;
    AdvanceHolding({SDLK_UP});
    EXPECT_DOUBLE_EQ(pShip->m_dVelX, 0.249725) << "the limit is per axis, not on the length";
    const double aTurns[][3] = {
        {0.15, SDLK_LEFT, 360}, {0.175, SDLK_LEFT, 360}, {359.95, SDLK_RIGHT, 0}};
    for (const auto& aTurn : aTurns) // heading, key, heading after
    {
        pShip->m_dHeading = aTurn[0];
        AdvanceHolding({static_cast<int>(aTurn[1])});
        EXPECT_EQ(pShip->m_dHeading, aTurn[2]) << "turning from " << aTurn[0];
    }
    for (int iTurn = 1; iTurn <= 400; iTurn++)
    {
        AdvanceHolding({SDLK_RIGHT});
        double dHeading = pShip->m_dHeading;
        pShip->m_dVelX = pShip->m_dVelY = 0;
        AdvanceHolding({SDLK_UP}); // thrust from rest, then the drag
        double dRadians = dHeading * 3.141592653589793 / 180;
        ASSERT_EQ(make_pair(pShip->m_dVelX, pShip->m_dVelY),
                  make_pair(cos(dRadians) * 0.000625 * 0.9989, sin(dRadians) * 0.000625 * 0.9989))
            << "heading " << dHeading << " after " << iTurn << " turns";
    }
}

TEST_F(ShipTest, StartsAsTheNotchedArrowheadAndWrapsOnceWhollyOutsideThePlayArea)
{
    SDL_Surface* pExpected = NewSurface(800, 600);
    FillSurface(pExpected, 0x000000);
    m_pGame->DrawTriangle(400, 280, 385, 316, 414, 316, 0xFFFFFF, pExpected);
    m_pGame->DrawTriangle(400, 305, 385, 316, 414, 316, 0x000000, pExpected);
    WhitePixelsDrawnAt(0);
    EXPECT_EQ(CountDifferentPixels(m_pGame->m_pScreenSurface, pExpected), 0);
    SDL_FreeSurface(pExpected);
    const double aCases[][4] = {{-30.5, 300, 799, 300}, {-30, 300, -30, 300}, {829.5, 300, 0, 300},
                                {829, 300, 829, 300},   {400, 4.5, 400, 599}, {400, 5, 400, 5},
                                {400, 629.5, 400, 35},  {400, 629, 400, 629}};
    for (const auto& aCase : aCases) // x, y, x and y after one tick
    {
        PlaceAt(TheShip(), aCase[0], aCase[1]);
        TheShip()->Advance(0);
        EXPECT_EQ(make_pair(TheShip()->m_dPosX, TheShip()->m_dPosY), make_pair(aCase[2], aCase[3]))
            << "from (" << aCase[0] << ", " << aCase[1] << ")";
    }
}

TEST_F(ShipTest, ShieldBlinksEveryEightyMillisecondsAndEndsAfterTwoThousandTicks)
{
    for (int iTime : {79, 80, 159, 160})
        EXPECT_EQ(WhitePixelsDrawnAt(iTime) > 0, iTime % 160 < 80) << "time " << iTime;
    for (int i = 1; i <= 2000; i++)
    {
        TheShip()->Advance(0);
        ASSERT_EQ(TheShip()->m_bShielded, i < 2000) << "after " << i << " ticks";
    }
    EXPECT_GT(WhitePixelsDrawnAt(80), 0) << "an unshielded ship does not blink";
}

TEST_F(ShipTest, AsteroidStrictlyWithinReachCostsALifeOrEndsTheGameButNeverHitsAHiddenShip)
{
    Ship* pShip = TheShip();
    const int aCases[][4] = {{63, 3, STATE_PLAYING, 3},
                             {62, 3, STATE_PLAYING, 2},
                             {62, 0, STATE_PLAYING, 0},
                             {62, 3, STATE_GAME_OVER, 3},
                             {62, 3, STATE_LEVEL_COMPLETE, 3}};
    for (const auto& aCase : aCases) // distance, lives, state, lives after
    {
        SCOPED_TRACE(testing::Message()
                     << aCase[0] << " px, lives " << aCase[1] << ", state " << aCase[2]);
        m_pGame->m_iGameState = aCase[2];
        m_pGame->m_iLives = aCase[1];
        m_pGame->m_iScore = 49766;
        m_pGame->m_iPendingScore = 234;
        m_pGame->m_bWholeScreenRedraw = pShip->m_bShielded = false;
        PlaceAt(pShip, 200.5, 150.5);
        pShip->m_dVelX = 0.001;
        pShip->m_dHeading = 10;
        PlaceAt(AsteroidAt(7), 200 + aCase[0] - 48, 150 - 48);
        AdvanceHolding({SDLK_LEFT}); // a hidden ship still turns
        bool bShown = aCase[2] == STATE_PLAYING, bHit = bShown && aCase[0] < 63;
        bool bOver = bHit && aCase[1] == 0;
        // A game over counts the pending points in one step, with no extra life at 50000.
        EXPECT_EQ(Status(), make_tuple(bOver ? STATE_GAME_OVER : aCase[2], 1, aCase[3],
                                       bOver ? 50000 : 49766, bOver ? 0 : 234, 16));
        EXPECT_EQ(m_pGame->m_bWholeScreenRedraw, bOver) << "full redraw on game over only";
        EXPECT_EQ(
            make_tuple(pShip->m_bShielded, pShip->m_dPosX, pShip->m_dPosY, pShip->m_dHeading,
                       pShip->m_dVelX),
            bHit ? make_tuple(true, 400.0, 300.0, 270.0, 0.0)
                 : make_tuple(false, 200.5 + 0.001 * 0.9989, 150.5, 10 - 0.175, 0.001 * 0.9989));
        EXPECT_EQ(make_pair(pShip->m_bActive, WhitePixelsDrawnAt(0) > 0),
                  make_pair(bShown, bShown));
    }
}
