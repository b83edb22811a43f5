#ifndef PLAYHARNESS_H
#define PLAYHARNESS_H

// Shared by the headless players: the game started as the program starts it, under SDL's dummy
// driver in a fresh working directory, with keys and ticks fed in as the main loop feeds them.
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <string>
#include <unistd.h>

#include "Asteroid.h"
#include "MyProjectMain.h"

inline std::string& PlayDirectory()
{
    static std::string s_strDirectory;
    return s_strDirectory;
}

inline void RemovePlayDirectory()
{
    if (chdir("/") == 0)
        (void)!system(("rm -rf '" + PlayDirectory() + "'").c_str());
}

// Constructs and starts the game in a new temporary directory holding links to the assets
// (removed at exit), with rand seeded by iSeed after the constructor's own seeding.
inline MyProjectMain* StartPlayGame(unsigned iSeed)
{
    char szDirectory[] = "/tmp/starshards-play-XXXXXX";
    DIR* pAssets = opendir(STARSHARDS_ASSET_DIR);
    if (mkdtemp(szDirectory) == nullptr || pAssets == nullptr)
        return nullptr;
    PlayDirectory() = szDirectory;
    atexit(RemovePlayDirectory);
    while (dirent* pEntry = readdir(pAssets))
    {
        std::string strName = std::string("/") + pEntry->d_name;
        if (strName[1] != '.' &&
            symlink((STARSHARDS_ASSET_DIR + strName).c_str(), (szDirectory + strName).c_str()) != 0)
            return nullptr;
    }
    closedir(pAssets);
    if (chdir(szDirectory) != 0 || setenv("SDL_VIDEODRIVER", "dummy", 1) != 0)
        return nullptr;
    MyProjectMain* pGame = new MyProjectMain;
    srand(iSeed);
    return pGame->StartUp("Starshards", 800, 600, "emulogic.ttf", 24) == 0 ? pGame : nullptr;
}

// A key event through the game's handlers, with the key table kept in step as the main loop does.
inline void SetPlayKey(BaseEngine* pGame, int iKey, bool bDown)
{
    if (iKey >= 0 && iKey < 324)
        pGame->m_pKeyStates[iKey] = bDown;
    bDown ? pGame->OnKeyDown(iKey) : pGame->OnKeyUp(iKey);
}

// One main-loop pass on the next millisecond: the game tick, then the frame.
inline void RunPlayTick(BaseEngine* pGame)
{
    pGame->m_iTickTime++;
    pGame->RunGameTick();
    pGame->PresentFrame();
}

inline Asteroid* FirstLiveRock(MyProjectMain* pGame)
{
    for (int i = MyProjectMain::FIRST_ASTEROID_SLOT; pGame->GetObjectAt(i) != nullptr; i++)
    {
        if (pGame->GetObjectAt(i)->m_bActive)
            return dynamic_cast<Asteroid*>(pGame->GetObjectAt(i));
    }
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
