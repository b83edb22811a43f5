#ifndef PLAYHARNESS_H
#define PLAYHARNESS_H

// For the soak and the fuzz target: the game headless in a fresh directory, and the rules it keeps.
#include <algorithm>

#include "../Sandbox.h"
#include "Bullet.h"
#include "MyProjectMain.h"
#include "Ship.h"

inline std::string g_strSandbox; // removed when the program exits

// A Game started in a sandbox under szParent (only the asset strOnly if given), or nullptr.
template <class Game> Game* StartInSandbox(const char* szParent, const std::string& strOnly = "")
{
    g_strSandbox = EnterSandbox(szParent, strOnly);
    if (g_strSandbox.empty() || setenv("SDL_VIDEODRIVER", "dummy", 1) != 0)
        return nullptr;
    atexit([] { RemoveSandbox(g_strSandbox); });
    Game* pGame = new Game; // it reads and writes its files in the working directory already
    srand(1);               // after the constructor's own seeding: the same game on every run
    return StartGame(pGame) == 0 ? pGame : nullptr;
}

inline bool InGame(int iState)
{
    return iState == STATE_PLAYING || iState == STATE_GAME_OVER || iState == STATE_LEVEL_COMPLETE;
}

// In a game the list holds the ship and six bullets, then asteroids in one run, up to its last
// slot, empty; 0 to iMostLives lives (3 in play, more only as a saved game held them), no negative
// points. "" when all holds, else the state breaking it.
inline std::string GameStateProblem(MyProjectMain& oGame, int iMostLives = 3)
{
    size_t iRocks = InGame(oGame.m_iGameState) ? 7 : 0; // the first rock's slot
    std::string strList;
    for (int i = 0; i < oGame.m_iObjectListSize; i++)
    {
        DisplayableObject* pObject = oGame.m_ppObjects[i];
        strList += pObject == nullptr                          ? '-'
                   : dynamic_cast<Ship*>(pObject) != nullptr   ? 'S'
                   : dynamic_cast<Bullet*>(pObject) != nullptr ? 'B'
                                                               : 'A'; // the only other kind
    }
    size_t iRocksEnd = strList.find_first_not_of('A', iRocks);
    if (strList.compare(0, iRocks, "SBBBBBB", iRocks) == 0 && iRocksEnd != std::string::npos &&
        strList.find_first_not_of('-', iRocksEnd) == std::string::npos && oGame.m_iLives >= 0 &&
        oGame.m_iLives <= iMostLives && oGame.m_iScore >= 0 && oGame.m_iPendingScore >= 0)
        return "";
    return "lives " + std::to_string(oGame.m_iLives) + ", points " +
           std::to_string(oGame.m_iScore) + " + " + std::to_string(oGame.m_iPendingScore) +
           ", list " + strList;
}

#endif
