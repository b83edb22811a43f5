// Long play: N ticks of random key input across every screen with a fixed seed, asserting on every
// tick the invariants the game relies on. Keys are pressed and released at random, half of them
// drawn from those that matter on the current screen; every 50 ticks of play a rock is put on a
// bullet in flight so that levels get cleared. Prints what it covered; exits non-zero on a broken
// invariant or a screen never reached. Options: --seed N (default 1), --ticks N (1000000).
#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>
#include <random>
#include <vector>

#include "Bullet.h"
#include "PlayHarness.h"
#include "Ship.h"

namespace
{
const int PAUSED = 5; // counted as a sixth screen
MyProjectMain* g_pGame;
long g_lTick = 0;

void Violation(const std::string& strExpected, const std::string& strWas)
{
    fprintf(stderr, "soak: tick %ld in %s%s: expected %s, was %s\n", g_lTick,
            StateName(g_pGame->m_iGameState), g_pGame->m_bPaused ? " (paused)" : "",
            strExpected.c_str(), strWas.c_str());
    exit(1);
}

bool InGame(int iState)
{
    return iState == STATE_PLAYING || iState == STATE_GAME_OVER || iState == STATE_LEVEL_COMPLETE;
}

const char* KindOf(DisplayableObject* pObject)
{
    return pObject == nullptr                            ? "nothing"
           : dynamic_cast<Ship*>(pObject) != nullptr     ? "the ship"
           : dynamic_cast<Bullet*>(pObject) != nullptr   ? "a bullet"
           : dynamic_cast<Asteroid*>(pObject) != nullptr ? "an asteroid"
                                                         : "something else";
}

// In a game the list holds the ship, six bullets, asteroids from slot 7 in one run, then nothing
// up to its last slot; on the title menu and the table three asteroids and the terminator.
void CheckInvariants(int iStateBefore, int iScoreBefore)
{
    bool bPlay = InGame(g_pGame->m_iGameState);
    int iSize = g_pGame->m_iObjectListSize;
    if (iSize != (bPlay ? 4 * std::min(g_pGame->m_iLevel, 30) + 12 : 4))
        Violation("a list of 4 slots, or 4 per level up to 30 and 12", std::to_string(iSize));
    bool bEnded = false;
    for (int i = 0, iFixed = bPlay ? MyProjectMain::FIRST_ASTEROID_SLOT : 3; i < iSize; i++)
    {
        const char* szWas = KindOf(g_pGame->m_ppObjects[i]);
        bEnded = bEnded || (i >= iFixed && strcmp(szWas, "nothing") == 0) || i == iSize - 1;
        const char* szWant = i >= iFixed ? (bEnded ? "nothing" : "an asteroid or nothing")
                             : !bPlay    ? "an asteroid"
                             : i == 0    ? "the ship"
                                         : "a bullet";
        if (strstr(szWant, szWas) == nullptr)
            Violation("slot " + std::to_string(i) + " to hold " + szWant, szWas);
    }
    if (g_pGame->m_iLives < 0 || g_pGame->m_iLives > MyProjectMain::MAX_LIVES)
        Violation("lives from 0 to 3", std::to_string(g_pGame->m_iLives));
    if (g_pGame->m_iPendingScore < 0)
        Violation("pending points of 0 or more", std::to_string(g_pGame->m_iPendingScore));
    if (InGame(iStateBefore) && bPlay && g_pGame->m_iScore < iScoreBefore)
        Violation("the score to stay at least " + std::to_string(iScoreBefore),
                  std::to_string(g_pGame->m_iScore));
}

// Puts the first live rock on a bullet flying on the screen: the next advance is a hit.
void PutRockOnBullet()
{
    Asteroid* pRock = FirstLiveRock(g_pGame);
    for (int i = MyProjectMain::FIRST_BULLET_SLOT; i <= MyProjectMain::LAST_BULLET_SLOT; i++)
    {
        DisplayableObject* pBullet = g_pGame->GetObjectAt(i);
        if (pRock != nullptr && pBullet->m_bActive && pBullet->m_iPosX >= 0)
            return CentreOn(pRock, pBullet->m_iPosX + 2, pBullet->m_iPosY + 2);
    }
}
} // namespace

int main(int iArgs, char** ppArgs)
{
    long lSeed = 1, lTicks = 1000000;
    for (int i = 1; i + 1 < iArgs; i += 2)
        (strcmp(ppArgs[i], "--seed") == 0 ? lSeed : lTicks) = atol(ppArgs[i + 1]);
    // Every key the game knows, and some it does not: Tab, 1, F1, Shift, code 0, the key table's
    // last code and one beyond it.
    std::vector<int> vAllKeys = {SDLK_UP,     SDLK_DOWN,   SDLK_LEFT,  SDLK_RIGHT,
                                 SDLK_RETURN, SDLK_ESCAPE, SDLK_SPACE, SDLK_BACKSPACE,
                                 SDLK_TAB,    SDLK_1,      SDLK_F1,    SDLK_LSHIFT,
                                 0,           323,         400};
    for (int iKey = SDLK_a; iKey <= SDLK_z; iKey++)
        vAllKeys.push_back(iKey);
    const std::vector<int> vFavoured[6] = {{SDLK_UP, SDLK_DOWN, SDLK_RETURN},
                                           {SDLK_RETURN},
                                           {SDLK_UP, SDLK_LEFT, SDLK_RIGHT, SDLK_SPACE, SDLK_DOWN},
                                           {SDLK_a, SDLK_q, SDLK_z, SDLK_BACKSPACE, SDLK_RETURN},
                                           {SDLK_UP, SDLK_DOWN, SDLK_RETURN},
                                           {SDLK_ESCAPE, SDLK_SPACE}};
    std::mt19937 oRandom(static_cast<unsigned>(lSeed));
    bool abHeld[512] = {};
    long alTicks[6] = {};
    int iGames = 0, iLoads = 0, iCleared = 0, iHighest = 0, iOvers = 0, iNames = 0, iSaves = 0;
    int iExits = 0;

    g_pGame = StartPlayGame(static_cast<unsigned>(lSeed));
    if (g_pGame == nullptr)
        return 1;
    auto tStart = std::chrono::steady_clock::now();
    std::clock_t tCpuStart = std::clock();
    for (g_lTick = 1; g_lTick <= lTicks; g_lTick++)
    {
        int iState = g_pGame->m_iGameState, iScore = g_pGame->m_iScore;
        int iScreen = iState == STATE_PLAYING && g_pGame->m_bPaused ? PAUSED : iState;
        int iSelection = g_pGame->m_iMenuSelection;
        if (oRandom() % 8 == 0)
        {
            const std::vector<int>& vFrom = oRandom() % 2 ? vFavoured[iScreen] : vAllKeys;
            int iKey = vFrom[oRandom() % vFrom.size()];
            abHeld[iKey] = !abHeld[iKey];
            SetKey(g_pGame, iKey, abHeld[iKey]);
            int iNow = g_pGame->m_iGameState;
            bool bChose = abHeld[iKey] && iKey == SDLK_RETURN;
            iSaves += bChose && iState == STATE_LEVEL_COMPLETE && iSelection == MENU_SAVE_GAME;
            iLoads += iState == STATE_MENU && iSelection == MENU_LOAD_GAME && iNow == STATE_PLAYING;
            iGames += iState == STATE_MENU && iNow == STATE_PLAYING;
            iNames += iState == STATE_GAME_OVER && iNow == STATE_MENU;
            CheckInvariants(iState, iScore);
        }
        // Exit ends the program; the soak plays on as the next run of it would.
        iExits += g_pGame->m_iExitCode != -1;
        g_pGame->m_iExitCode = -1;
        if (g_pGame->m_iGameState == STATE_PLAYING && !g_pGame->m_bPaused && g_lTick % 50 == 0)
            PutRockOnBullet();
        iState = g_pGame->m_iGameState;
        iScore = g_pGame->m_iScore;
        RunTicks(g_pGame);
        CheckInvariants(iState, iScore);
        iCleared += iState == STATE_PLAYING && g_pGame->m_iGameState == STATE_LEVEL_COMPLETE;
        iOvers += iState == STATE_PLAYING && g_pGame->m_iGameState == STATE_GAME_OVER;
        iHighest = std::max(iHighest, InGame(iState) ? g_pGame->m_iLevel : 0);
        alTicks[iScreen]++;
    }
    double dSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - tStart).count();
    double dCpuSeconds = static_cast<double>(std::clock() - tCpuStart) / CLOCKS_PER_SEC;
    g_pGame->ShutDown();
    delete g_pGame;

    printf("soak: %ld ticks, seed %ld, %.1f s (%.1f s of CPU), %.0f ticks per second\n"
           "soak: ticks on the title menu %ld, high scores %ld, play %ld, paused %ld, game over "
           "%ld, level complete %ld\n"
           "soak: %d games (%d loaded), %d levels cleared, highest level %d, %d game overs, %d "
           "names entered, %d saves, %d exits chosen\n",
           lTicks, lSeed, dSeconds, dCpuSeconds, lTicks / dSeconds, alTicks[0], alTicks[1],
           alTicks[2], alTicks[PAUSED], alTicks[3], alTicks[4], iGames, iLoads, iCleared, iHighest,
           iOvers, iNames, iSaves, iExits);
    if (std::min({iCleared, iOvers, iNames, iSaves, iLoads}) == 0 ||
        *std::min_element(alTicks, alTicks + 6) == 0)
    {
        fprintf(stderr, "soak: expected every screen, a cleared level, a game over, a name, a "
                        "save and a load; one of them never came\n");
        return 1;
    }
    printf("soak: invariants held on every tick\n");
    return 0;
}
