#ifndef FILEPROPERTIES_H
#define FILEPROPERTIES_H

// What the game must make of any "highscores.txt" or "save.txt", shared by the property tests and
// the fuzz targets. Each check returns what is wrong, or "" when nothing is.

#include <algorithm>
#include <string>

#include "Asteroid.h"
#include "Bullet.h"
#include "MyProjectMain.h"
#include "Ship.h"

// The game without its star field, which costs far more than reading a file.
class StarlessGame : public MyProjectMain
{
public:
    void PaintBackground() override {}
};

// The entries the game reads from the start of a table file: its words (between white space) of
// five characters or more whose first three, the name, hold no ':'; ten at most.
inline int CountTableEntries(const std::string& strFile)
{
    const char* const WHITE_SPACE = " \t\n\v\f\r";
    std::string strStart = strFile.substr(0, 64 * 1024);
    int iEntries = 0;
    for (size_t iWord = strStart.find_first_not_of(WHITE_SPACE);
         iWord != std::string::npos && iEntries < 10;
         iWord = strStart.find_first_not_of(WHITE_SPACE, iWord))
    {
        size_t iEnd = std::min(strStart.find_first_of(WHITE_SPACE, iWord), strStart.size());
        iEntries += iEnd - iWord >= 5 && strStart.substr(iWord, 3).find(':') == std::string::npos;
        iWord = iEnd;
    }
    return iEntries;
}

// A table the game wrote: lines that each read back as the entry written, a name of three
// characters other than white space and ':', "::" and a score in plain decimal; best first,
// nothing after the last line. No entry of the file before (iEntriesBefore) is lost, and the entry
// just recorded (strName, iScore) is in it unless ten at least as good are.
inline std::string HighScoreTableProblem(const std::string& strTable, const std::string& strName,
                                         int iScore, int iEntriesBefore)
{
    std::string strRecorded = strName + "::" + std::to_string(iScore);
    long lPrevious = 2147483647L;
    bool bRecorded = false, bTenAsGood = true;
    int iLine = 0;
    for (size_t iStart = 0; iStart <= strTable.size(); iLine++)
    {
        size_t iEnd = std::min(strTable.find('\n', iStart), strTable.size());
        std::string strLine = strTable.substr(iStart, iEnd - iStart);
        iStart = iEnd + 1;
        std::string strWhere = "line " + std::to_string(iLine + 1) + " \"" + strLine + "\": ";
        if (iLine == 10)
            return strWhere + "more than ten lines";
        bool bWellFormed = strLine.size() >= 6 && strLine.size() <= 15 &&
                           strLine.find_first_of(" \t\v\f\r:") == 3 &&
                           strLine.compare(3, 2, "::") == 0 &&
                           (strLine[5] != '0' || strLine.size() == 6) &&
                           strLine.find_first_not_of("0123456789", 5) == std::string::npos;
        if (!bWellFormed)
            return strWhere + "not a name, \"::\" and a plain score";
        long lScore = std::stol(strLine.substr(5));
        if (lScore > lPrevious || lScore > 2147483647L)
            return strWhere + "above a lower score, or above the largest int";
        lPrevious = lScore;
        bRecorded = bRecorded || strLine == strRecorded;
        bTenAsGood = bTenAsGood && lScore >= iScore;
    }
    if (!bRecorded && (iLine < 10 || !bTenAsGood))
        return "the new entry " + strRecorded + " is missing";
    if (iLine != std::min(10, 1 + iEntriesBefore))
        return std::to_string(iLine) + " lines from " + std::to_string(iEntriesBefore) +
               " entries and the new one: entries were lost";
    return "";
}

// The round trip: a table the game wrote (strBefore) reads back as written, so recording a score
// of 0 for strName only puts its line above the first score of 0, or last, within ten lines.
inline std::string RoundTripProblem(const std::string& strBefore, const std::string& strAfter,
                                    const std::string& strName)
{
    std::string strExpected, strNew = strName + "::0";
    int iLines = 0;
    for (size_t iStart = 0; iStart <= strBefore.size() && iLines < 10; iLines++)
    {
        size_t iEnd = std::min(strBefore.find('\n', iStart), strBefore.size());
        std::string strLine = strBefore.substr(iStart, iEnd - iStart);
        if (!strNew.empty() && strLine.substr(5) == "0")
        {
            strLine = strNew;
            strNew.clear();
        }
        else
            iStart = iEnd + 1;
        strExpected += (iLines > 0 ? "\n" : "") + strLine;
    }
    if (!strNew.empty() && iLines < 10)
        strExpected += "\n" + strNew;
    if (strAfter == strExpected)
        return "";
    return "reading the table and writing it back changed it:\n" + strBefore + "\nbecame\n" +
           strAfter;
}

// A loaded game: play of a level from 1 to 9999 the game can build, with lives 0 to 3 and a score
// of at least 0.
inline std::string LoadedGameProblem(MyProjectMain& oGame)
{
    int iLevel = oGame.m_iLevel;
    // The list is looked at only when its size fits the level: no slot past its end is read.
    int iRockLevel = std::min(iLevel, 30); // one large rock more a level, until level 30
    bool bList = oGame.m_iGameState == STATE_PLAYING && iLevel >= 1 &&
                 oGame.m_iObjectListSize == 4 * iRockLevel + 12 &&
                 oGame.GetObjectAt(iRockLevel + 8) == nullptr;
    for (int i = 0; bList && i <= iRockLevel + 7; i++)
    {
        DisplayableObject* pObject = oGame.GetObjectAt(i);
        bList = i == 0   ? dynamic_cast<Ship*>(pObject) != nullptr
                : i <= 6 ? dynamic_cast<Bullet*>(pObject) != nullptr
                         : dynamic_cast<Asteroid*>(pObject) != nullptr;
    }
    if (bList && iLevel <= 9999 && oGame.m_iLives >= 0 && oGame.m_iLives <= 3 &&
        oGame.m_iScore >= 0)
        return "";
    return "state " + std::to_string(oGame.m_iGameState) + ", level " + std::to_string(iLevel) +
           ", lives " + std::to_string(oGame.m_iLives) + ", score " +
           std::to_string(oGame.m_iScore) + (bList ? "" : ", not the list of that level");
}

#endif
