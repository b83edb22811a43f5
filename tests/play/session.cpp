// A scripted session through every screen of the real game, for the memory check: title menu, a
// missing save, high scores, a game quit from the pause, levels cleared with hits and fragments,
// a save, Main Menu, the game loaded and played to game over, a name entered, then Exit,
// shutdown and destruction as the program does them. Exits non-zero when the session does not
// reach a state it should. --short clears two levels instead of four.
#include <cstring>

#include "Bullet.h"
#include "PlayHarness.h"
#include "Ship.h"

namespace
{
MyProjectMain* g_pGame;
long g_lTicks = 0;

void Expect(bool bReached, const char* szStep, const std::string& strExpected)
{
    if (bReached)
        return;
    fprintf(stderr, "session: %s at tick %ld: expected %s; state %s, level %d, lives %d\n", szStep,
            g_lTicks, strExpected.c_str(), StateName(g_pGame->m_iGameState), g_pGame->m_iLevel,
            g_pGame->m_iLives);
    exit(1);
}

void Run(int iTicks)
{
    RunTicks(g_pGame, iTicks);
    g_lTicks += iTicks;
}

// Taps each key with 10 ticks after it (none after Return into play, so that no rock drifts
// onto a bullet parked in the corner first); then the state must be iState.
void Keys(std::initializer_list<int> lKeys, int iState, const char* szStep)
{
    for (int iKey : lKeys)
    {
        TapKey(g_pGame, iKey);
        Run(iState == STATE_PLAYING && iKey == SDLK_RETURN ? 0 : 10);
    }
    Expect(g_pGame->m_iGameState == iState, szStep, std::string("state ") + StateName(iState));
}

Asteroid* LiveRock()
{
    Asteroid* pRock = FirstLiveRock(g_pGame);
    Expect(pRock != nullptr, "finding a rock", "a live rock in play");
    return pRock;
}

// Shoots the level's rocks and fragments, 7 hits for each large rock: a bullet fired with Space
// is moved onto the first live rock, and the next advance is the hit. Pauses once on level 1.
void ClearLevel()
{
    Run(200); // a new level's bullets become ready after 200 ticks; later ones land on their hit
    for (int iHit = 0; g_pGame->m_iGameState == STATE_PLAYING; iHit++)
    {
        Expect(iHit < 7 * (g_pGame->m_iLevel + 1), "clearing a level", "no more hits than rocks");
        Keys({SDLK_SPACE}, STATE_PLAYING, "firing");
        Bullet* pBullet = nullptr;
        for (int i = MyProjectMain::FIRST_BULLET_SLOT; i <= MyProjectMain::LAST_BULLET_SLOT; i++)
        {
            if (g_pGame->GetObjectAt(i)->m_bActive)
                pBullet = dynamic_cast<Bullet*>(g_pGame->GetObjectAt(i));
        }
        Expect(pBullet != nullptr, "firing", "a bullet in flight after Space");
        Asteroid* pRock = LiveRock();
        CentreOn(pBullet, pRock->m_iPosX + pRock->m_iAreaWidth / 2,
                 pRock->m_iPosY + pRock->m_iAreaHeight / 2);
        int iPoints = g_pGame->m_iScore + g_pGame->m_iPendingScore;
        Run(1);
        Expect(g_pGame->m_iScore + g_pGame->m_iPendingScore >= iPoints + 100, "hitting",
               "at least 100 more points after a hit");
        if (g_pGame->m_iLevel == 1 && iHit == 0)
        {
            int iRockX = pRock->m_iPosX, iPending = g_pGame->m_iPendingScore;
            Keys({SDLK_ESCAPE}, STATE_PLAYING, "pausing");
            Expect(g_pGame->m_bPaused && pRock->m_iPosX == iRockX &&
                       g_pGame->m_iPendingScore == iPending,
                   "pausing", "rocks and points at rest while paused");
            Keys({SDLK_ESCAPE}, STATE_PLAYING, "resuming");
        }
    }
    Keys({}, STATE_LEVEL_COMPLETE, "clearing a level");
}
} // namespace

int main(int iArgs, char** ppArgs)
{
    int iLevels = iArgs > 1 && strcmp(ppArgs[1], "--short") == 0 ? 2 : 4;
    g_pGame = StartPlayGame(1);
    Expect(g_pGame != nullptr, "starting", "a started game");
    Keys({SDLK_DOWN, SDLK_RETURN}, STATE_MENU, "loading without a save");
    Expect(!g_pGame->m_bSaveFound, "loading without a save", "the \"no save game\" notice");
    Keys({SDLK_DOWN, SDLK_RETURN}, STATE_HIGH_SCORES, "choosing High Scores");
    Keys({SDLK_RETURN, SDLK_UP, SDLK_UP, SDLK_UP}, STATE_MENU, "leaving the table");
    Keys({SDLK_RETURN, SDLK_ESCAPE}, STATE_PLAYING, "pausing a new game");
    Keys({SDLK_RETURN}, STATE_MENU, "quitting a paused game");
    Keys({SDLK_RETURN}, STATE_PLAYING, "choosing New Game");
    for (int iLevel = 1; iLevel <= iLevels; iLevel++)
    {
        if (iLevel > 1)
            Keys({SDLK_RETURN}, STATE_PLAYING, "choosing Next Level");
        Expect(g_pGame->m_iLevel == iLevel, "next level", "level " + std::to_string(iLevel));
        ClearLevel();
    }

    int iScore = g_pGame->m_iScore + g_pGame->m_iPendingScore;
    Keys({SDLK_DOWN, SDLK_RETURN}, STATE_LEVEL_COMPLETE, "saving");
    std::string strSaved = "level::" + std::to_string(iLevels + 1) +
                           "\nlives::3\nscore::" + std::to_string(iScore) + "\n";
    Expect(ReadFileBytes("save.txt") == strSaved, "saving", "save.txt holding " + strSaved);
    Keys({SDLK_DOWN, SDLK_RETURN}, STATE_MENU, "choosing Main Menu");
    Keys({SDLK_DOWN, SDLK_RETURN}, STATE_PLAYING, "choosing Load Game");
    Expect(g_pGame->m_iLevel == iLevels + 1 && g_pGame->m_iScore == iScore, "loading",
           "the saved level and score");
    // Play to game over: whenever the ship's shield is down, a rock is put on it.
    for (long lStart = g_lTicks; g_pGame->m_iGameState == STATE_PLAYING;)
    {
        Expect(g_lTicks - lStart < 5 * Ship::SHIELD_TICKS, "losing lives", "game over in time");
        Ship* pShip = dynamic_cast<Ship*>(g_pGame->GetObjectAt(MyProjectMain::SHIP_SLOT));
        bool bExposed = !pShip->m_bShielded;
        if (bExposed)
            CentreOn(LiveRock(), pShip->m_iPosX, pShip->m_iPosY);
        Run(1);
        Expect(!bExposed || pShip->m_bShielded, "losing lives", "the ship hit by the rock on it");
    }
    Keys({SDLK_a, SDLK_b, SDLK_1, SDLK_x, SDLK_BACKSPACE, SDLK_c, SDLK_d}, STATE_GAME_OVER,
         "typing a name");
    Expect(strcmp(g_pGame->m_szName, "abc") == 0, "typing a name", "the name abc");
    int iFinal = g_pGame->m_iScore;
    Keys({SDLK_RETURN}, STATE_MENU, "entering the name");
    Expect(ReadFileBytes("highscores.txt").find("abc::" + std::to_string(iFinal)) !=
               std::string::npos,
           "entering the name", "abc with the final score in highscores.txt");
    Keys({SDLK_DOWN, SDLK_DOWN, SDLK_DOWN}, STATE_MENU, "choosing Exit");
    TapKey(g_pGame, SDLK_RETURN);
    Run(1); // the main loop ends after the pass in which Exit was chosen
    Expect(g_pGame->m_iExitCode == 0, "choosing Exit", "exit code 0");
    g_pGame->ShutDown();
    delete g_pGame;
    printf("session: %ld ticks, %d levels cleared, final score %d: every state reached\n", g_lTicks,
           iLevels, iFinal);
    return 0;
}
