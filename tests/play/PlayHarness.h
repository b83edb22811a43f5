#ifndef PLAYHARNESS_H
#define PLAYHARNESS_H

// Shared by the headless players: the game started as the program starts it, under SDL's dummy
// driver in a fresh working directory removed at exit.
#include "../Sandbox.h"
#include "Asteroid.h"
#include "MyProjectMain.h"

inline std::string g_strProgramSandbox; // removed when the program exits

// Enters a new sandbox under szParent (only strOnly of the assets when given) for the rest of
// the program, under the dummy video driver. False when that fails.
inline bool EnterProgramSandbox(const char* szParent = "/tmp", const std::string& strOnly = "")
{
    g_strProgramSandbox = EnterSandbox(szParent, strOnly);
    atexit([] { RemoveSandbox(g_strProgramSandbox); });
    return !g_strProgramSandbox.empty() && setenv("SDL_VIDEODRIVER", "dummy", 1) == 0;
}

// The started game, with rand seeded by iSeed after the constructor's own seeding.
inline MyProjectMain* StartPlayGame(unsigned iSeed)
{
    if (!EnterProgramSandbox())
        return nullptr;
    MyProjectMain* pGame = new MyProjectMain;
    srand(iSeed);
    return StartGame(pGame) == 0 ? pGame : nullptr;
}

inline Asteroid* FirstLiveRock(MyProjectMain* pGame)
{
    for (int i = MyProjectMain::FIRST_ASTEROID_SLOT; pGame->GetObjectAt(i) != nullptr; i++)
        if (pGame->GetObjectAt(i)->m_bActive)
            return dynamic_cast<Asteroid*>(pGame->GetObjectAt(i));
    return nullptr;
}

// Moves an object so that the centre of its area lies on (iX, iY).
template <class Moving> void CentreOn(Moving* pObject, int iX, int iY)
{
    pObject->m_dPosX = pObject->m_iPosX = iX - pObject->m_iAreaOffsetX - pObject->m_iAreaWidth / 2;
    pObject->m_dPosY = pObject->m_iPosY = iY - pObject->m_iAreaOffsetY - pObject->m_iAreaHeight / 2;
}

inline const char* StateName(int iState)
{
    const char* const NAMES[] = {"title menu", "high scores", "play", "game over",
                                 "level complete"};
    return iState >= 0 && iState <= 4 ? NAMES[iState] : "unknown";
}

#endif
