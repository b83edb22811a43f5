// Long play: N ticks of random keys across every screen with a fixed seed, the game's rules
// checked on every tick. Keys are pressed and released at random, half of them from those that
// matter on the current screen; every 50 ticks of play a rock is put on a bullet in flight, so
// that levels get cleared. Exits non-zero on a broken rule or a screen or event never reached.
//   starshards-soak [--seed N (1)] [--ticks N (1000000)]
#include <cstring>
#include <random>
#include <vector>

#include "PlayHarness.h"

namespace
{
MyProjectMain* g_pGame;

// The rules, and a score that never drops within a game.
void Check(long lTick, int iStateBefore, int iScoreBefore)
{
    std::string strProblem = GameStateProblem(*g_pGame);
    if (InGame(iStateBefore) && InGame(g_pGame->m_iGameState) && g_pGame->m_iScore < iScoreBefore)
        strProblem += "; the score dropped from " + std::to_string(iScoreBefore);
    if (strProblem.empty())
        return;
    fprintf(stderr, "soak: tick %ld: %s\n", lTick, strProblem.c_str());
    exit(1);
}

// Puts the first live rock on a bullet flying on the screen: the next advance is a hit.
void PutRockOnBullet()
{
    DisplayableObject* pRock = nullptr;
    for (int i = 7; pRock == nullptr && g_pGame->GetObjectAt(i) != nullptr; i++)
        pRock = g_pGame->GetObjectAt(i)->m_bActive ? g_pGame->GetObjectAt(i) : nullptr;
    for (int i = 1; pRock != nullptr && i <= 6; i++)
    {
        DisplayableObject* pBullet = g_pGame->GetObjectAt(i);
        if (!pBullet->m_bActive || pBullet->m_iPosX < 0)
            continue;
        int iHalf = pRock->m_iAreaWidth / 2 - 2; // from the rock's corner to the bullet's
        Asteroid* pAsteroid = static_cast<Asteroid*>(pRock);
        pAsteroid->m_dPosX = pRock->m_iPosX = pBullet->m_iPosX - iHalf;
        pAsteroid->m_dPosY = pRock->m_iPosY = pBullet->m_iPosY - iHalf;
        return;
    }
}
} // namespace

int main(int iArgs, char** ppArgs)
{
    long lSeed = 1, lTicks = 1000000;
    for (int i = 1; i + 1 < iArgs; i += 2)
        (strcmp(ppArgs[i], "--seed") == 0 ? lSeed : lTicks) = atol(ppArgs[i + 1]);
    // The keys that matter on each screen (paused play sixth), then every key the game knows and
    // some it does not: Tab, 1, F1, Shift, code 0, the key table's last code and one beyond it.
    std::vector<int> avKeys[7] = {{SDLK_UP, SDLK_DOWN, SDLK_RETURN},
                                  {SDLK_RETURN},
                                  {SDLK_UP, SDLK_LEFT, SDLK_RIGHT, SDLK_SPACE, SDLK_DOWN},
                                  {SDLK_a, SDLK_q, SDLK_z, SDLK_BACKSPACE, SDLK_RETURN},
                                  {SDLK_UP, SDLK_DOWN, SDLK_RETURN},
                                  {SDLK_ESCAPE, SDLK_SPACE},
                                  {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT, SDLK_RETURN,
                                   SDLK_ESCAPE, SDLK_SPACE, SDLK_BACKSPACE, SDLK_TAB, SDLK_1,
                                   SDLK_F1, SDLK_LSHIFT, 0, 323, 400}};
    for (int iKey = SDLK_a; iKey <= SDLK_z; iKey++)
        avKeys[6].push_back(iKey);
    const char* const SEEN[] = {"title menu",     "high scores", "play",         "game over",
                                "level complete", "paused",      "loads",        "saves",
                                "levels cleared", "game overs",  "names entered"};
    long alSeen[11] = {}; // ticks on each screen, then how often each event came
    std::mt19937 oRandom(static_cast<unsigned>(lSeed));
    bool abHeld[512] = {};
    g_pGame = StartInSandbox<MyProjectMain>("/tmp", "", static_cast<unsigned>(lSeed));
    for (long lTick = 1; g_pGame != nullptr && lTick <= lTicks; lTick++)
    {
        int iState = g_pGame->m_iGameState, iScore = g_pGame->m_iScore;
        int iScreen = iState == STATE_PLAYING && g_pGame->m_bPaused ? 5 : iState;
        if (oRandom() % 8 == 0)
        {
            const std::vector<int>& vFrom = avKeys[oRandom() % 2 ? iScreen : 6];
            int iKey = vFrom[oRandom() % vFrom.size()], iSelection = g_pGame->m_iMenuSelection;
            SetKey(g_pGame, iKey, abHeld[iKey] = !abHeld[iKey]);
            int iNow = g_pGame->m_iGameState;
            alSeen[6] +=
                iState == STATE_MENU && iSelection == MENU_LOAD_GAME && iNow == STATE_PLAYING;
            alSeen[7] += abHeld[iKey] && iKey == SDLK_RETURN && iState == STATE_LEVEL_COMPLETE &&
                         iSelection == MENU_SAVE_GAME;
            alSeen[10] += iState == STATE_GAME_OVER && iNow == STATE_MENU;
            Check(lTick, iState, iScore);
        }
        g_pGame->m_iExitCode = -1; // Exit ends the program; the soak plays on as its next run
        if (g_pGame->m_iGameState == STATE_PLAYING && !g_pGame->m_bPaused && lTick % 50 == 0)
            PutRockOnBullet();
        iState = g_pGame->m_iGameState;
        iScore = g_pGame->m_iScore;
        RunTicks(g_pGame);
        Check(lTick, iState, iScore);
        alSeen[8] += iState == STATE_PLAYING && g_pGame->m_iGameState == STATE_LEVEL_COMPLETE;
        alSeen[9] += iState == STATE_PLAYING && g_pGame->m_iGameState == STATE_GAME_OVER;
        alSeen[iScreen]++;
    }
    for (int i = 0; i < 11; i++)
        printf("soak: %s %ld\n", SEEN[i], alSeen[i]);
    bool bAllSeen = std::count(alSeen, alSeen + 11, 0) == 0 && g_pGame != nullptr;
    delete g_pGame;
    return bAllSeen ? 0 : 1;
}
