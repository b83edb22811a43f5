#include "HighScoreTable.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <sstream>

namespace
{
const size_t NAME_LENGTH = 3;
const size_t SCORE_START = NAME_LENGTH + 2; // after the "::"

// The score's text read as a decimal number the way atoi does, but kept in 0 to the largest int.
int ReadScore(const std::string& strScore)
{
    long lScore = strtol(strScore.c_str(), nullptr, 10);
    return static_cast<int>(std::max<long>(0, std::min<long>(INT_MAX, lScore)));
}

// Best first, by selection with exchanges: the lowest position wins among equal scores, so in a
// table in order, as the game writes it, a new entry (entry 0) goes above those with its score.
void SortBestFirst(std::vector<HighScoreEntry>& vEntries)
{
    int iCount = static_cast<int>(vEntries.size());
    for (int i = 0; i < iCount; i++)
    {
        int iBest = i;
        for (int j = iCount - 1; j >= i; j--)
        {
            if (vEntries[j].iScore >= vEntries[iBest].iScore)
                iBest = j;
        }
        if (iBest != i)
            std::swap(vEntries[i], vEntries[iBest]);
    }
}
} // namespace

HighScoreColumns SplitHighScoreEntry(const std::string& strPiece)
{
    std::string strScore = strPiece.size() > SCORE_START ? strPiece.substr(SCORE_START) : "";
    return {strPiece.substr(0, NAME_LENGTH), strScore};
}

std::vector<HighScoreEntry> ReadHighScoreTable(const std::string& strText)
{
    std::istringstream oInput(strText);
    std::vector<HighScoreEntry> vTable;
    std::string strWord;
    while (static_cast<int>(vTable.size()) < HIGH_SCORE_ROWS && oInput >> strWord)
    {
        HighScoreColumns oColumns = SplitHighScoreEntry(strWord);
        if (strWord.size() < SCORE_START || oColumns.strName.find(':') != std::string::npos)
            continue;
        vTable.push_back({oColumns.strName, ReadScore(oColumns.strScore)});
    }
    return vTable;
}

// Lines cut out by hand: a stream set up for every frame drawn costs a locale look-up.
std::vector<HighScoreColumns> ReadHighScoreRows(const std::string& strText)
{
    std::vector<HighScoreColumns> vRows;
    size_t iStart = 0;
    while (static_cast<int>(vRows.size()) < HIGH_SCORE_ROWS && iStart < strText.size())
    {
        size_t iEnd = std::min(strText.find('\n', iStart), strText.size());
        std::string strLine = strText.substr(iStart, iEnd - iStart);
        iStart = iEnd + 1;
        if (!strLine.empty() && strLine.back() == '\r')
            strLine.pop_back();
        vRows.push_back(SplitHighScoreEntry(strLine));
    }
    return vRows;
}

std::vector<HighScoreEntry> AddHighScore(const std::vector<HighScoreEntry>& vTable,
                                         const HighScoreEntry& oNew)
{
    std::vector<HighScoreEntry> vEntries = {oNew};
    vEntries.insert(vEntries.end(), vTable.begin(), vTable.end());
    SortBestFirst(vEntries);
    if (static_cast<int>(vEntries.size()) > HIGH_SCORE_ROWS)
        vEntries.resize(HIGH_SCORE_ROWS);
    return vEntries;
}

std::string WriteHighScoreTable(const std::vector<HighScoreEntry>& vTable)
{
    std::string strText;
    for (size_t i = 0; i < vTable.size(); i++)
    {
        if (i > 0)
            strText += '\n';
        strText += vTable[i].strName + "::" + std::to_string(vTable[i].iScore);
    }
    return strText;
}
