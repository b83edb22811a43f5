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

// Records an entry ("abc::123") as the end of a game does; the table file the game then holds.
std::string Record(const std::string& strEntry)
{
    strcpy(g_pGame->m_szName, strEntry.substr(0, 3).c_str());
    g_pGame->m_iNameLength = 3;
    g_pGame->m_iScore = atoi(strEntry.c_str() + 5);
    g_pGame->RecordHighScore();
    return ReadFileBytes("highscores.txt");
}

// A table the game wrote: one to ten lines, each a name of three characters other than white
// space and ':', "::" and a score in plain decimal up to the largest int, best first, without a
// line end after the last. No entry of the file before is lost, and the entry just recorded is
// in it unless ten at least as good are. It reads back as written: recording a score of 0 only
// puts its line above the first score of 0, or last, within ten lines.
void CheckHighScores(const std::string& strFile)
{
    g_pGame->m_iGameState = STATE_HIGH_SCORES;
    g_pGame->m_iUpdateRectCount = 0;
    g_pGame->DrawOverlayText();
    Require(g_pGame->m_iUpdateRectCount <= 11 ? "" : "more than ten rows drawn");
    std::string strEntry = "new::" + std::to_string(strFile.size() * 977 % 60000);
    std::string strTable = Record(strEntry);
    static const std::regex LINE("[^\\s:]{3}::(0|[1-9][0-9]{0,9})");
    std::istringstream oLines(strTable);
    std::vector<std::string> vLines;
    long lPrevious = 2147483647L, lScore = atol(strEntry.c_str() + 5);
    bool bRecorded = false, bTenAsGood = true;
    for (std::string strLine; std::getline(oLines, strLine); vLines.push_back(strLine))
    {
        if (!std::regex_match(strLine, LINE) || atol(strLine.c_str() + 5) > lPrevious)
            Require("\"" + strLine + "\": not a name, \"::\" and a score below the one above",
                    strTable);
        lPrevious = atol(strLine.c_str() + 5);
        bRecorded = bRecorded || strLine == strEntry;
        bTenAsGood = bTenAsGood && lPrevious >= lScore;
    }
    size_t iKept = std::min(10, 1 + CountTableEntries(strFile));
    Require(strTable.empty() || strTable.back() == '\n' || vLines.size() > 10
                ? "a line end after the last line, or more than ten lines"
            : !bRecorded && (vLines.size() < 10 || !bTenAsGood) ? "the new entry is missing"
            : vLines.size() != iKept                            ? "entries of the file were lost"
                                                                : "",
            strTable);
    auto IsZero = [](const std::string& strLine) { return strLine.substr(5) == "0"; };
    vLines.insert(std::find_if(vLines.begin(), vLines.end(), IsZero), "R-T::0");
    std::string strExpected;
    for (size_t i = 0; i < std::min<size_t>(vLines.size(), 10); i++)
        strExpected += (i == 0 ? "" : "\n") + vLines[i];
    Require(Record("R-T::0") == strExpected ? "" : "recording R-T::0 did more", strTable);
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
    bool bPlay = g_pGame->m_bSaveFound && g_pGame->m_iGameState == STATE_PLAYING && iLevel <= 9999;
    Require(bPlay ? GameStateProblem(*g_pGame) : "no play of a level from 1 to 9999");
    Require(g_pGame->GetObjectAt(iLastRock) != nullptr && !g_pGame->GetObjectAt(iLastRock + 1)
                ? ""
                : "not the rocks of level " + std::to_string(iLevel));
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
    bool bWritten =
        WriteFileBytes("highscores.txt", strFile) && WriteFileBytes("save.txt", strFile);
    Require(bWritten ? "" : "cannot write the input");
    CheckLoadedGame();
    CheckHighScores(strFile);
    return 0;
}
