#ifndef FUZZGAME_H
#define FUZZGAME_H

// The started game a fuzz target feeds its inputs to, and what the game must make of any
// "highscores.txt" or "save.txt". Each check returns what is wrong, or "" when nothing is.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "../play/PlayHarness.h"

inline void Require(const std::string& strProblem)
{
    if (strProblem.empty())
        return;
    fprintf(stderr, "%s\n", strProblem.c_str());
    RemoveSandbox(); // libFuzzer keeps the input that failed
    abort();
}

// The game without its star field, which costs far more than reading a file.
class StarlessGame : public MyProjectMain
{
public:
    void PaintBackground() override {}
};
inline MyProjectMain* g_pGame;

// Started once, with only the font (no pictures to load per input), in memory where possible:
// the game flushes every table it writes to the disk.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    g_pGame = StartInSandbox<StarlessGame>(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp",
                                           "emulogic.ttf");
    Require(g_pGame != nullptr ? "" : "cannot start the game");
    return 0;
}

inline void WriteWholeFile(const char* szName, const uint8_t* pData, size_t iSize)
{
    FILE* pFile = fopen(szName, "wb");
    bool bWritten = pFile != nullptr && fwrite(pData, 1, iSize, pFile) == iSize;
    Require(pFile != nullptr && fclose(pFile) == 0 && bWritten ? "" : "cannot write the input");
}

// The entries the game reads from the start (64 KiB) of a table file: its words (between white
// space) of five characters or more whose first three, the name, hold no ':'; ten at most.
inline int CountTableEntries(const std::string& strFile)
{
    std::istringstream oWords(strFile.substr(0, 64 * 1024));
    int iEntries = 0;
    for (std::string strWord; iEntries < 10 && oWords >> strWord;)
        iEntries += strWord.size() >= 5 && strWord.substr(0, 3).find(':') == std::string::npos;
    return iEntries;
}

// A table the game wrote: lines of a name of three characters other than white space and ':',
// "::" and a score in plain decimal, best first, nothing after the last line. No entry of the
// file before (iEntriesBefore) is lost, and the entry just recorded is in it unless ten at least
// as good are.
inline std::string HighScoreTableProblem(const std::string& strTable, const std::string& strName,
                                         int iScore, int iEntriesBefore)
{
    std::istringstream oLines(strTable);
    long lPrevious = 2147483647L;
    bool bRecorded = false, bTenAsGood = true;
    int iLines = 0;
    for (std::string strLine; std::getline(oLines, strLine); iLines++)
    {
        std::string strWhere = "line \"" + strLine + "\": ";
        bool bWellFormed = strLine.size() >= 6 && strLine.size() <= 15 &&
                           strLine.find_first_of(" \t\v\f\r:") == 3 &&
                           strLine.compare(3, 2, "::") == 0 &&
                           (strLine[5] != '0' || strLine.size() == 6) &&
                           strLine.find_first_not_of("0123456789", 5) == std::string::npos;
        if (iLines == 10 || !bWellFormed)
            return strWhere + "an eleventh line, or not a name, \"::\" and a plain score";
        long lScore = std::stol(strLine.substr(5));
        if (lScore > lPrevious)
            return strWhere + "above a lower score, or above the largest int";
        lPrevious = lScore;
        bRecorded = bRecorded || strLine == strName + "::" + std::to_string(iScore);
        bTenAsGood = bTenAsGood && lScore >= iScore;
    }
    if (strTable.empty() || strTable.back() == '\n')
        return "an empty table, or an empty last line";
    if (!bRecorded && (iLines < 10 || !bTenAsGood))
        return "the new entry is missing";
    if (iLines != std::min(10, 1 + iEntriesBefore))
        return std::to_string(iLines) + " lines from " + std::to_string(iEntriesBefore) +
               " entries and the new one: entries were lost";
    return "";
}

// The round trip: a table the game wrote (strBefore) reads back as written, so recording a score
// of 0 for strName only puts its line above the first score of 0, or last, within ten lines.
inline std::string RoundTripProblem(const std::string& strBefore, const std::string& strAfter,
                                    const std::string& strName)
{
    std::vector<std::string> vLines;
    std::istringstream oLines(strBefore);
    for (std::string strLine; std::getline(oLines, strLine);)
        vLines.push_back(strLine);
    vLines.insert(std::find_if(vLines.begin(), vLines.end(),
                               [](const std::string& strLine) { return strLine.substr(5) == "0"; }),
                  strName + "::0");
    vLines.resize(std::min<size_t>(vLines.size(), 10));
    std::string strExpected;
    for (const std::string& strLine : vLines)
        strExpected += (strExpected.empty() ? "" : "\n") + strLine;
    return strAfter == strExpected ? "" : "written back, " + strBefore + "\nbecame\n" + strAfter;
}

// A loaded game: play of a level from 1 to 9999 the game can build, its list holding the
// large rocks of that level: one more a level, until level 30.
inline std::string LoadedGameProblem(MyProjectMain& oGame)
{
    int iLastRock = 7 + std::min(oGame.m_iLevel, 30);
    if (oGame.m_iGameState != STATE_PLAYING || oGame.m_iLevel < 1 || oGame.m_iLevel > 9999)
        return "state " + std::to_string(oGame.m_iGameState) + ", level " +
               std::to_string(oGame.m_iLevel);
    std::string strProblem = GameStateProblem(oGame);
    if (strProblem.empty() &&
        (oGame.GetObjectAt(iLastRock) == nullptr || oGame.GetObjectAt(iLastRock + 1) != nullptr))
        strProblem = "not the rocks of level " + std::to_string(oGame.m_iLevel);
    return strProblem;
}

#endif
