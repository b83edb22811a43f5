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

// A table the game wrote: one to ten lines of a name of three letters 'a' to 'z', "::" and a score
// in plain decimal, best first, nothing after the last line. The entry just recorded (strName,
// iScore) is in it unless ten at least as good are.
inline std::string HighScoreTableProblem(const std::string& strTable, const std::string& strName,
                                         int iScore)
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
                           strLine.compare(3, 2, "::") == 0 &&
                           (strLine[5] != '0' || strLine.size() == 6);
        for (size_t i = 0; bWellFormed && i < strLine.size(); i++)
            bWellFormed = i < 3 ? strLine[i] >= 'a' && strLine[i] <= 'z'
                                : i < 5 || (strLine[i] >= '0' && strLine[i] <= '9');
        if (!bWellFormed)
            return strWhere + "not a name, \"::\" and a plain score";
        long lScore = std::stol(strLine.substr(5));
        if (lScore > lPrevious)
            return strWhere + "above a lower score";
        lPrevious = lScore;
        bRecorded = bRecorded || strLine == strRecorded;
        bTenAsGood = bTenAsGood && lScore >= iScore;
    }
    if (!bRecorded && (iLine < 10 || !bTenAsGood))
        return "the new entry " + strRecorded + " is missing";
    return "";
}

// A loaded game: play of a level the game can build, with lives 0 to 3 and a score of at least 0.
inline std::string LoadedGameProblem(MyProjectMain& oGame)
{
    int iLevel = oGame.m_iLevel;
    // The list is looked at only when its size fits the level: no slot past its end is read.
    bool bList = oGame.m_iGameState == STATE_PLAYING && iLevel >= 1 &&
                 oGame.m_iObjectListSize == 4 * iLevel + 12 &&
                 oGame.GetObjectAt(iLevel + 8) == nullptr;
    for (int i = 0; bList && i <= iLevel + 7; i++)
    {
        DisplayableObject* pObject = oGame.GetObjectAt(i);
        bList = i == 0   ? dynamic_cast<Ship*>(pObject) != nullptr
                : i <= 6 ? dynamic_cast<Bullet*>(pObject) != nullptr
                         : dynamic_cast<Asteroid*>(pObject) != nullptr;
    }
    if (bList && iLevel <= MyProjectMain::MAX_LEVEL && oGame.m_iLives >= 0 &&
        oGame.m_iLives <= MyProjectMain::MAX_LIVES && oGame.m_iScore >= 0)
        return "";
    return "state " + std::to_string(oGame.m_iGameState) + ", level " + std::to_string(iLevel) +
           ", lives " + std::to_string(oGame.m_iLives) + ", score " +
           std::to_string(oGame.m_iScore) + (bList ? "" : ", not the list of that level");
}

#endif
