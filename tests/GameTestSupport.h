#ifndef GAMETESTSUPPORT_H
#define GAMETESTSUPPORT_H

#include <tuple>

#include "Asteroid.h"
#include "Bullet.h"
#include "Ship.h"
#include "TestSupport.h"

// Tuples compared value by value, a failure naming its value from strNames ("size, speed").
template <class Actual, class Expected>
void ExpectFields(const std::string& strNames, const Actual& tActual, const Expected& tExpected,
                  const std::string& strCase = "")
{
    std::istringstream oNames(strNames);
    auto ExpectOne = [&](const auto& oActual, const auto& oExpected, std::string strName = "")
    {
        std::getline(oNames >> std::ws, strName, ',');
        EXPECT_EQ(oActual, oExpected) << strName << (strCase.empty() ? "" : "; ") << strCase;
    };
    auto ExpectAll = [&](const auto&... aActual) {
        std::apply([&](const auto&... aExpected) { (ExpectOne(aActual, aExpected), ...); },
                   tExpected);
    };
    std::apply(ExpectAll, tActual);
}

// A started game on the title menu, with helpers that reach into its object list.
class GameTest : public StartedEngineTest
{
protected:
    void SetUp() override
    {
        StartedEngineTest::SetUp();
        m_pGame = new MyProjectMain;
        Start(m_pGame);
    }
    void TearDown() override
    {
        delete m_pGame; // closes the fonts before the text library stops
        StartedEngineTest::TearDown();
    }
    // Builds the play list of a level, as New Game and Next Level do.
    void EnterPlay(int iLevel)
    {
        m_pGame->m_iLevel = iLevel;
        m_pGame->m_iGameState = STATE_PLAYING;
        m_pGame->BuildObjectList();
    }
    void ExpectStatus(const std::tuple<int, int, int, int, int, int>& tExpected,
                      const std::string& strCase = "")
    {
        MyProjectMain& oGame = *m_pGame;
        ExpectFields("state, level, lives, score, pending points, list size",
                     std::tie(oGame.m_iGameState, oGame.m_iLevel, oGame.m_iLives, oGame.m_iScore,
                              oGame.m_iPendingScore, oGame.m_iObjectListSize),
                     tExpected, strCase);
    }
    Ship* TheShip() { return dynamic_cast<Ship*>(m_pGame->GetObjectAt(0)); }
    Bullet* BulletAt(int iSlot) { return dynamic_cast<Bullet*>(m_pGame->GetObjectAt(iSlot)); }
    Asteroid* AsteroidAt(int iSlot) { return dynamic_cast<Asteroid*>(m_pGame->GetObjectAt(iSlot)); }
    // Launches a bullet with its centre (iDX, iDY) away from the asteroid's centre.
    void AimBullet(const Asteroid* pTarget, int iDX = 0, int iDY = 0, int iSlot = 1)
    {
        int iHalf = pTarget->m_iSize / 2 - 2;
        BulletAt(iSlot)->Launch(pTarget->m_iPosX + iHalf + iDX, pTarget->m_iPosY + iHalf + iDY, 0);
    }
    // Moves an object to an exact place and stops it there.
    template <class Moving> static void PlaceAt(Moving* pObject, double dX, double dY)
    {
        pObject->m_iPosX = static_cast<int>(pObject->m_dPosX = dX);
        pObject->m_iPosY = static_cast<int>(pObject->m_dPosY = dY);
        pObject->m_dVelX = pObject->m_dVelY = 0;
    }

    MyProjectMain* m_pGame = nullptr;
};

#endif
