#ifndef PLAYHARNESS_H
#define PLAYHARNESS_H

// For the soak and the fuzz target: the real game, started as the program starts it but under
// SDL's dummy driver in a fresh working directory, and the rules its state keeps whatever it is
// fed.
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "Asteroid.h"
#include "Bullet.h"
#include "MyProjectMain.h"
#include "Ship.h"

inline std::string g_strSandbox; // removed when the program exits

inline void RemoveSandbox()
{
    if (!g_strSandbox.empty() && system(("rm -rf '" + g_strSandbox + "'").c_str()) == 0)
        g_strSandbox.clear();
}

// A Game built and started in a new directory under szParent with links to the assets matching
// szAssets, rand seeded with iSeed after the constructor's own seeding; nullptr when that fails.
template <class Game>
Game* StartInSandbox(const char* szParent, const char* szAssets = "*", unsigned iSeed = 1)
{
    g_strSandbox = std::string(szParent) + "/starshards-XXXXXX";
    if (mkdtemp(&g_strSandbox[0]) == nullptr)
        return nullptr;
    atexit(RemoveSandbox);
    std::string strLink =
        "ln -s " STARSHARDS_ASSET_DIR "/" + std::string(szAssets) + " '" + g_strSandbox + "'";
    if (system(strLink.c_str()) != 0 || chdir(g_strSandbox.c_str()) != 0 ||
        setenv("SDL_VIDEODRIVER", "dummy", 1) != 0)
        return nullptr;
    Game* pGame = new Game; // it reads and writes its files in the working directory already
    srand(iSeed);
    return pGame->StartUp("Starshards", 800, 600, "emulogic.ttf", 24) == 0 ? pGame : nullptr;
}

inline bool InGame(int iState)
{
    return iState == STATE_PLAYING || iState == STATE_GAME_OVER || iState == STATE_LEVEL_COMPLETE;
}

// In a game the list holds the ship, six bullets, then asteroids in one run up to its empty last
// slot: 4 slots a level up to level 30, and 12; elsewhere three asteroids and the empty slot. A
// player has 0 to 3 lives and no negative points; the only exit code is 0. "" when all holds,
// else what does not.
inline std::string GameStateProblem(MyProjectMain& oGame)
{
    int iState = oGame.m_iGameState, iSize = oGame.m_iObjectListSize;
    bool bGame =
        iState == STATE_PLAYING || iState == STATE_GAME_OVER || iState == STATE_LEVEL_COMPLETE;
    std::string strState = "state " + std::to_string(iState) + ", level " +
                           std::to_string(oGame.m_iLevel) + ", lives " +
                           std::to_string(oGame.m_iLives) + ": ";
    if (iSize != (bGame ? 4 * std::min(oGame.m_iLevel, 30) + 12 : 4))
        return strState + "a list of " + std::to_string(iSize) + " slots";
    bool bEnded = false;
    for (int i = 0, iFirstRock = bGame ? 7 : 0; i < iSize; i++)
    {
        DisplayableObject* pObject = oGame.m_ppObjects[i];
        bEnded = bEnded || (i >= iFirstRock && pObject == nullptr) || i == iSize - 1;
        bool bRight = i >= iFirstRock ? (bEnded ? pObject == nullptr
                                                : dynamic_cast<Asteroid*>(pObject) != nullptr)
                      : i == 0        ? dynamic_cast<Ship*>(pObject) != nullptr
                                      : dynamic_cast<Bullet*>(pObject) != nullptr;
        if (!bRight)
            return strState + "the wrong object in slot " + std::to_string(i);
    }
    if (oGame.m_iLives < 0 || oGame.m_iLives > 3 || oGame.m_iScore < 0 || oGame.m_iPendingScore < 0)
        return strState + "lives out of range or negative points";
    if (oGame.m_iExitCode != -1 && oGame.m_iExitCode != 0) // Exit ends the program with status 0
        return strState + "exit code " + std::to_string(oGame.m_iExitCode);
    return "";
}

#endif
