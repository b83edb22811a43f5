// Any high-score file is drawn on the high-score screen, then a new score is recorded into it and
// the table written is read back as written.
#include "FuzzGame.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t iSize)
{
    WriteWholeFile("highscores.txt", pData, iSize);
    g_pGame->m_iGameState = STATE_HIGH_SCORES;
    g_pGame->m_iUpdateRectCount = 0;
    g_pGame->DrawOverlayText();
    Require(g_pGame->m_iUpdateRectCount <= 11 ? "" : "more than ten rows drawn");

    int iScore = static_cast<int>(iSize * 977 % 60000);
    strcpy(g_pGame->m_szName, "new");
    g_pGame->m_iNameLength = 3;
    g_pGame->m_iScore = iScore;
    g_pGame->RecordHighScore();
    std::string strFile(reinterpret_cast<const char*>(pData), iSize);
    std::string strTable = ReadFileBytes("highscores.txt");
    Require(HighScoreTableProblem(strTable, "new", iScore, CountTableEntries(strFile)));

    strcpy(g_pGame->m_szName, "R-T");
    g_pGame->m_iScore = 0;
    g_pGame->RecordHighScore();
    Require(RoundTripProblem(strTable, ReadFileBytes("highscores.txt"), "R-T"));
    return 0;
}
