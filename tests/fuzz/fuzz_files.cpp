// Any bytes, as the high-score table and as the saved game: the table is drawn on its screen,
// then a new score is recorded into it and what the game writes reads back as written; the save
// loads into play of a level the game can build.
#include <cstring>
#include <regex>
#include <vector>

#include "../play/PlayHarness.h"

namespace
{
// The game without its star field, which costs far more than reading a file.
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
    RemoveSandbox(); // libFuzzer keeps the input that failed
    abort();
}

// The entries the game reads from the start (64 KiB) of a table file: its words (between white
// space) of five characters or more whose first three, the name, hold no ':'; ten at most.
int CountTableEntries(const std::string& strFile)
{
    std::istringstream oWords(strFile.substr(0, 64 * 1024));
    int iEntries = 0;
    for (std::string strWord; iEntries < 10 && oWords >> strWord;)
        iEntries += strWord.size() >= 5 && strWord.substr(0, 3).find(':') == std::string::npos;
    return iEntries;
}

std::vector<std::string> Lines(const std::string& strFile)
{
    std::vector<std::string> vLines;
    std::istringstream oLines(strFile);
    for (std::string strLine; std::getline(oLines, strLine);)
        vLines.push_back(strLine);
    return vLines;
}

// A table the game wrote: one to ten lines, each a name of three characters other than white
// space and ':', "::" and a score in plain decimal up to the largest int, best first, without a
// line end after the last. No entry of the file before (iEntriesBefore) is lost, and the entry
// just recorded is in it unless ten at least as good are.
std::string HighScoreTableProblem(const std::string& strTable, const std::string& strEntry,
                                  int iEntriesBefore)
{
    static const std::regex LINE("[^\\s:]{3}::(0|[1-9][0-9]{0,9})");
    std::vector<std::string> vLines = Lines(strTable);
    long lPrevious = 2147483647L, lScore = atol(strEntry.c_str() + 5);
    bool bRecorded = false, bTenAsGood = true;
    for (const std::string& strLine : vLines)
    {
        if (!std::regex_match(strLine, LINE) || atol(strLine.c_str() + 5) > lPrevious)
            return "\"" + strLine + "\": not a name, \"::\" and a score below the one above";
        lPrevious = atol(strLine.c_str() + 5);
        bRecorded = bRecorded || strLine == strEntry;
        bTenAsGood = bTenAsGood && lPrevious >= lScore;
    }
    if (strTable.empty() || strTable.back() == '\n' || vLines.size() > 10)
        return "a line end after the last line, or more than ten lines";
    if (!bRecorded && (vLines.size() < 10 || !bTenAsGood))
        return "the new entry " + strEntry + " is missing";
    if (vLines.size() != std::min<size_t>(10, 1 + iEntriesBefore))
        return std::to_string(iEntriesBefore) + " entries and the new one: entries were lost";
    return "";
}

// A table the game wrote reads back as written: recording a score of 0 only puts its line
// (strEntry) above the first score of 0, or last, within ten lines.
std::string RoundTripProblem(const std::string& strBefore, const std::string& strAfter,
                             const std::string& strEntry)
{
    std::vector<std::string> vLines = Lines(strBefore);
    auto IsZero = [](const std::string& strLine) { return strLine.substr(5) == "0"; };
    vLines.insert(std::find_if(vLines.begin(), vLines.end(), IsZero), strEntry);
    vLines.resize(std::min<size_t>(vLines.size(), 10));
    std::string strExpected;
    for (const std::string& strLine : vLines)
        strExpected += (strExpected.empty() ? "" : "\n") + strLine;
    return strAfter == strExpected ? "" : "the table read and written back became\n" + strAfter;
}

std::string ReadFileBytes(const char* szName)
{
    std::ostringstream oBytes;
    oBytes << std::ifstream(szName, std::ios::binary).rdbuf();
    return oBytes.str();
}

void Record(const char* szName, int iScore)
{
    strcpy(g_pGame->m_szName, szName);
    g_pGame->m_iNameLength = 3;
    g_pGame->m_iScore = iScore;
    g_pGame->RecordHighScore();
}

void CheckHighScores(const std::string& strFile)
{
    g_pGame->m_iGameState = STATE_HIGH_SCORES;
    g_pGame->m_iUpdateRectCount = 0;
    g_pGame->DrawOverlayText();
    Require(g_pGame->m_iUpdateRectCount <= 11 ? "" : "more than ten rows drawn");
    int iScore = static_cast<int>(strFile.size() * 977 % 60000);
    Record("new", iScore);
    std::string strTable = ReadFileBytes("highscores.txt");
    std::string strEntry = "new::" + std::to_string(iScore);
    Require(HighScoreTableProblem(strTable, strEntry, CountTableEntries(strFile)), strTable);
    Record("R-T", 0);
    Require(RoundTripProblem(strTable, ReadFileBytes("highscores.txt"), "R-T::0"), strTable);
}

// Play of a level from 1 to 9999, its list holding the large rocks of that level: one more a
// level, until level 30. Saved, the game loads again at the next level, up to 9999, with its
// lives and score.
void CheckLoadedGame()
{
    g_pGame->m_iGameState = STATE_MENU;
    g_pGame->m_iLevel = 1;
    g_pGame->m_iLives = 3;
    g_pGame->m_iScore = g_pGame->m_iPendingScore = 0;
    g_pGame->LoadGame();
    int iLevel = g_pGame->m_iLevel, iLives = g_pGame->m_iLives, iScore = g_pGame->m_iScore;
    int iLastRock = 7 + std::min(iLevel, 30);
    std::string strProblem = GameStateProblem(*g_pGame);
    if (strProblem.empty() && (g_pGame->GetObjectAt(iLastRock) == nullptr ||
                               g_pGame->GetObjectAt(iLastRock + 1) != nullptr))
        strProblem = "not the rocks of level " + std::to_string(iLevel);
    bool bPlay = g_pGame->m_bSaveFound && g_pGame->m_iGameState == STATE_PLAYING && iLevel <= 9999;
    Require(bPlay ? strProblem : "no play of a level from 1 to 9999");
    g_pGame->SaveGame();
    g_pGame->LoadGame();
    Require(g_pGame->m_iLevel == std::min(iLevel + 1, 9999) && g_pGame->m_iLives == iLives &&
                    g_pGame->m_iScore == iScore
                ? ""
                : "saved at level " + std::to_string(iLevel) + ", loaded at level " +
                      std::to_string(g_pGame->m_iLevel),
            ReadFileBytes("save.txt"));
}
} // namespace

// The game is started once, with only the font (no pictures to load per input), in memory where
// possible: the game flushes every file it writes to the disk.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    g_pGame = StartInSandbox<StarlessGame>(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp",
                                           "emulogic.ttf");
    Require(g_pGame != nullptr ? "" : "cannot start the game");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t iSize)
{
    std::string strFile(reinterpret_cast<const char*>(pData), iSize);
    for (const char* szName : {"highscores.txt", "save.txt"})
        Require(std::ofstream(szName, std::ios::binary).write(strFile.data(), iSize).flush().good()
                    ? ""
                    : "cannot write the input");
    CheckLoadedGame();
    CheckHighScores(strFile);
    return 0;
}
