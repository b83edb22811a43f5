// Any save file loads into play of a level the game can build.
#include "FuzzGame.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t iSize)
{
    WriteWholeFile("save.txt", pData, iSize);
    g_pGame->m_iGameState = STATE_MENU;
    g_pGame->m_iLevel = 1;
    g_pGame->m_iLives = 3;
    g_pGame->m_iScore = 0;
    g_pGame->LoadGame();
    Require(g_pGame->m_bSaveFound ? LoadedGameProblem(*g_pGame) : "the save was not found");
    return 0;
}
