// Any high-score file is drawn on the high-score screen, then a new score is recorded into it and
// the table written is read back as written.
#include "FuzzGame.h"

#include <cstring>

static void Record(const char* szName, int iScore)
{
    strcpy(g_pGame->m_szName, szName);
    g_pGame->m_iNameLength = 3;
    g_pGame->m_iScore = iScore;
    g_pGame->RecordHighScore();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t iSize)
{
    WriteWholeFile("highscores.txt", pData, iSize);
    g_pGame->m_iGameState = STATE_HIGH_SCORES;
    g_pGame->m_iUpdateRectCount = 0;
    g_pGame->DrawOverlayText();
    Require(g_pGame->m_iUpdateRectCount <= 11 ? "" : "more than ten rows drawn");

    int iScore = static_cast<int>(iSize * 977 % 60000);
    Record("new", iScore);
    std::string strTable = ReadFileBytes("highscores.txt");
    std::string strFile(reinterpret_cast<const char*>(pData), iSize);
    Require(HighScoreTableProblem(strTable, "new", iScore, CountTableEntries(strFile)));
    Record("R-T", 0);
    Require(RoundTripProblem(strTable, ReadFileBytes("highscores.txt"), "R-T"));
    return 0;
}
