#ifndef PLAYHARNESS_H
#define PLAYHARNESS_H

// For the soak and the fuzz target: the real game, started as the program starts it but under
// SDL's dummy driver in a fresh working directory, and the rules its state keeps whatever it is
// fed.
#include <algorithm>

#include "../Sandbox.h"
#include "Asteroid.h"
#include "Bullet.h"
#include "MyProjectMain.h"
#include "Ship.h"

inline std::string g_strSandbox; // removed when the program exits

inline void RemoveSandbox()
{
    if (RemoveSandbox(g_strSandbox))
        g_strSandbox.clear();
}

// A Game started in a new sandbox under szParent (with only the asset strOnly when given), rand
// seeded with iSeed after the constructor's own seeding; nullptr when that fails.
template <class Game>
Game* StartInSandbox(const char* szParent, const std::string& strOnly = "", unsigned iSeed = 1)
{
    g_strSandbox = EnterSandbox(szParent, strOnly);
    if (g_strSandbox.empty() || setenv("SDL_VIDEODRIVER", "dummy", 1) != 0)
        return nullptr;
    atexit(RemoveSandbox);
    Game* pGame = new Game; // it reads and writes its files in the working directory already
    srand(iSeed);
    return StartGame(pGame) == 0 ? pGame : nullptr;
}

inline bool InGame(int iState)
{
    return iState == STATE_PLAYING || iState == STATE_GAME_OVER || iState == STATE_LEVEL_COMPLETE;
}

// In a game the ship and six bullets come first; then the rocks, then at least one empty slot.
inline bool ListLayoutHolds(const std::string& strList, bool bGame)
{
    std::string strHead = bGame ? "SBBBBBB" : "";
    size_t iRocksEnd = strList.find_first_not_of('A', strHead.size());
    return strList.compare(0, strHead.size(), strHead) == 0 && iRocksEnd != std::string::npos &&
           strList.find_first_not_of('-', iRocksEnd) == std::string::npos;
}

// In a game the list holds the ship, six bullets, then asteroids in one run up to its empty last
// slot: 4 slots a level up to level 30, and 12; elsewhere three asteroids and the empty slot. A
// player has 0 to 3 lives and no negative points; the only exit code is 0 (-1 while running).
// "" when all holds, else the state that breaks it.
inline std::string GameStateProblem(MyProjectMain& oGame)
{
    bool bGame = InGame(oGame.m_iGameState);
    std::string strList;
    for (int i = 0; i < oGame.m_iObjectListSize; i++)
    {
        DisplayableObject* pObject = oGame.m_ppObjects[i];
        strList += pObject == nullptr                            ? '-'
                   : dynamic_cast<Ship*>(pObject) != nullptr     ? 'S'
                   : dynamic_cast<Bullet*>(pObject) != nullptr   ? 'B'
                   : dynamic_cast<Asteroid*>(pObject) != nullptr ? 'A'
                                                                 : '?';
    }
    if (strList.size() == size_t(bGame ? 4 * std::min(oGame.m_iLevel, 30) + 12 : 4) &&
        ListLayoutHolds(strList, bGame) && oGame.m_iLives >= 0 && oGame.m_iLives <= 3 &&
        oGame.m_iScore >= 0 && oGame.m_iPendingScore >= 0 &&
        (oGame.m_iExitCode == -1 || oGame.m_iExitCode == 0))
        return "";
    char szState[256];
    snprintf(szState, sizeof szState, "state %d, level %d, lives %d, points %d + %d, exit %d, ",
             oGame.m_iGameState, oGame.m_iLevel, oGame.m_iLives, oGame.m_iScore,
             oGame.m_iPendingScore, oGame.m_iExitCode);
    return szState + ("list " + strList);
}

#endif
