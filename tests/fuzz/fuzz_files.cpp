// Any bytes, as the high-score table and as the saved game: the table is drawn on its screen and a
// new score recorded into it; the save loads into play. What the game then writes reads back, and
// what it reads writes back as it read.
#include <climits>
#include <regex>
#include <unistd.h>
#include <vector>

#include "../play/PlayHarness.h"
#include "HighScoreTable.h"
#include "SavedGame.h"

namespace
{
// Without its star field, which costs far more than reading a file.
class StarlessGame : public MyProjectMain
{
public:
    void PaintBackground() override {}
};
MyProjectMain* g_pGame;

void Require(const std::string& strProblem, const std::string& strFile = "")
{
    if (strProblem.empty())
        return;
    fprintf(stderr, "%s\nwritten:\n%s\n", strProblem.c_str(), strFile.c_str());
    RemoveSandbox(g_strSandbox); // libFuzzer keeps the input that failed
    abort();
}

// Entries read write back as text that reads the same. A table the game wrote: one to ten lines,
// each a name of three characters other than white space and ':', "::" and a plain decimal score up
// to the largest int, best first. It reads back: adding a score of 0 only puts its line above the
// first 0, or last, within ten lines.
void CheckHighScores(const std::string& strFile)
{
    std::string strRead = WriteHighScoreTable(ReadHighScoreTable(strFile));
    bool bSame = WriteHighScoreTable(ReadHighScoreTable(strRead)) == strRead;
    Require(bSame ? "" : "the entries read do not read back", strRead);
    g_pGame->m_iGameState = STATE_HIGH_SCORES;
    g_pGame->DrawOverlayText(); // the screen reads the file itself
    strcpy(g_pGame->m_szName, "new");
    g_pGame->m_iScore = static_cast<int>(strFile.size() * 977 % 60000);
    g_pGame->RecordHighScore();
    std::string strTable = ReadFileBytes("highscores.txt");
    static const std::string LINE = "[^\\s:]{3}::(0|[1-9][0-9]{0,9})";
    static const std::regex TABLE("(" + LINE + "\n){0,9}" + LINE);
    std::istringstream oLines(strTable);
    std::vector<std::string> vLines;
    std::vector<long> vScores = {2147483647L};
    for (std::string strLine; std::getline(oLines, strLine); vLines.push_back(strLine))
        vScores.push_back(atol(strLine.c_str() + 5));
    bool bTable =
        std::regex_match(strTable, TABLE) && std::is_sorted(vScores.rbegin(), vScores.rend());
    Require(bTable ? "" : "not one to ten entries, best first", strTable);
    auto IsZero = [](const std::string& strLine) { return strLine.substr(5) == "0"; };
    vLines.insert(std::find_if(vLines.begin(), vLines.end(), IsZero), "R-T::0");
    std::string strExpected;
    for (size_t i = 0; i < std::min<size_t>(vLines.size(), 10); i++)
        strExpected += (i == 0 ? "" : "\n") + vLines[i];
    std::string strAdded =
        WriteHighScoreTable(AddHighScore(ReadHighScoreTable(strTable), {"R-T", 0}));
    Require(strAdded == strExpected ? "" : "adding R-T::0 did more", strTable);
}

// Values read write back as text that reads the same, whatever values it replaces. Play of a level
// up to 9999 keeping the rules, with the lives as read; saved, it loads at the next, lives and
// points kept.
void CheckLoadedGame(const std::string& strFile)
{
    std::string strRead = WriteSavedGame(ReadSavedGame(strFile, {1, 1, 0}));
    bool bSame = WriteSavedGame(ReadSavedGame(strRead, {-1, -1, -1})) == strRead;
    Require(bSame ? "" : "the values read do not read back", strRead);
    g_pGame->m_iLevel = g_pGame->m_iLives = 1; // what a line without a value keeps
    g_pGame->m_iScore = 0;
    g_pGame->LoadGame();
    int iLevel = g_pGame->m_iLevel, iLives = g_pGame->m_iLives, iScore = g_pGame->m_iScore;
    bool bPlay = g_pGame->m_bSaveFound && g_pGame->m_iGameState == STATE_PLAYING && iLevel <= 9999;
    Require(bPlay ? GameStateProblem(*g_pGame, INT_MAX) : "no play of a level from 1 to 9999");
    g_pGame->SaveGame();
    g_pGame->LoadGame();
    bSame = g_pGame->m_iLevel == std::min(iLevel + 1, 9999) && g_pGame->m_iLives == iLives &&
            g_pGame->m_iScore == iScore;
    Require(bSame ? "" : "the save loads back other", ReadFileBytes("save.txt"));
}
} // namespace

// Started once, with only the font, in memory where possible: the game flushes each write.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    g_pGame = StartInSandbox<StarlessGame>(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp",
                                           "emulogic.ttf");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t iSize)
{
    std::string strFile(reinterpret_cast<const char*>(pData), iSize);
    bool bWritten =
        WriteFileBytes("highscores.txt", strFile) && WriteFileBytes("save.txt", strFile);
    Require(g_pGame != nullptr && bWritten ? "" : "cannot start the game or write the input");
    CheckLoadedGame(strFile);
    CheckHighScores(strFile);
    return 0;
}
