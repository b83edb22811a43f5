// Long play: random keys with a fixed seed, the rules checked on every tick; a rock put on a
// bullet every 50 ticks clears levels.   starshards-soak [--ticks N (1000000)]
#include <ctime>
#include <random>

#include "Asteroid.h"
#include "PlayHarness.h"

namespace
{
// Puts the first live rock on a bullet in flight: the next advance is a hit.
void PutRockOnBullet(MyProjectMain* pGame)
{
    int iRock = 7;
    while (pGame->GetObjectAt(iRock) != nullptr && !pGame->GetObjectAt(iRock)->m_bActive)
        iRock++;
    auto* pRock = static_cast<Asteroid*>(pGame->GetObjectAt(iRock));
    for (int i = 1; pRock != nullptr && i <= 6; i++)
    {
        Bullet* pBullet = static_cast<Bullet*>(pGame->GetObjectAt(i));
        if (!pBullet->m_bActive || !pBullet->m_bLaunched)
            continue;
        pRock->m_dPosX = pRock->m_iPosX = pBullet->m_iPosX - pRock->m_iSize / 2 + 2;
        pRock->m_dPosY = pRock->m_iPosY = pBullet->m_iPosY - pRock->m_iSize / 2 + 2;
        return;
    }
}
} // namespace

int main(int iArgs, char** ppArgs)
{
    long lTicks = iArgs > 2 ? atol(ppArgs[2]) : 1000000, lTick = 0;
    // Half the keys from those the screens use, half any code to 400, past the table's last, 323.
    const int KEYS[] = {SDLK_UP,    SDLK_DOWN,   SDLK_LEFT, SDLK_RIGHT,
                        SDLK_SPACE, SDLK_RETURN, SDLK_a,    SDLK_BACKSPACE};
    const char* const SEEN[] = {"title menu",     "high scores", "play",  "game over",
                                "level complete", "paused",      "loads", "saves",
                                "levels cleared", "game overs"};
    long alSeen[10] = {}; // ticks on each screen, then how often each event came
    std::mt19937 oRandom(1);
    bool abHeld[512] = {};
    MyProjectMain* pGame = StartInSandbox<MyProjectMain>("/tmp");
    std::string strProblem;
    while (pGame != nullptr && strProblem.empty() && ++lTick <= lTicks)
    {
        int iState = pGame->m_iGameState, iScore = pGame->m_iScore, iKey = -1;
        int iScreen = iState == STATE_PLAYING && pGame->m_bPaused ? 5 : iState;
        int iSelection = pGame->m_iMenuSelection;
        if (oRandom() % 8 == 0)
            iKey = oRandom() % 2 ? KEYS[oRandom() % 8] : static_cast<int>(oRandom() % 401);
        if (iKey >= 0)
            SetKey(pGame, iKey, abHeld[iKey] = !abHeld[iKey]);
        if (pGame->m_iGameState == STATE_PLAYING && !pGame->m_bPaused && lTick % 50 == 0)
            PutRockOnBullet(pGame);
        pGame->m_iExitCode = -1; // Exit ends the program; the soak plays on as its next run
        RunTicks(pGame);
        int iNow = pGame->m_iGameState;
        strProblem = InGame(iState) && InGame(iNow) && pGame->m_iScore < iScore
                         ? "the score dropped from " + std::to_string(iScore)
                         : GameStateProblem(*pGame);
        alSeen[6] += iState == STATE_MENU && iSelection == MENU_LOAD_GAME && iNow == STATE_PLAYING;
        alSeen[7] += abHeld[SDLK_RETURN] && iKey == SDLK_RETURN && iState == STATE_LEVEL_COMPLETE &&
                     iSelection == MENU_SAVE_GAME;
        alSeen[8] += iState == STATE_PLAYING && iNow == STATE_LEVEL_COMPLETE;
        alSeen[9] += iState == STATE_PLAYING && iNow == STATE_GAME_OVER;
        alSeen[iScreen]++;
    }
    printf("soak: %ld ticks passed at %.0f ticks per second of processor time\n", lTick - 1,
           (lTick - 1) * CLOCKS_PER_SEC / static_cast<double>(clock()));
    for (int i = 0; i < 10; i++)
        printf("soak: %s %ld\n", SEEN[i], alSeen[i]);
    printf("soak: %s\n", strProblem.empty() ? "every rule held" : strProblem.c_str());
    bool bPassed = std::count(alSeen, alSeen + 10, 0) == 0 && strProblem.empty() && pGame;
    delete pGame;
    return bPassed ? 0 : 1;
}
