#include "SavedGame.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <sstream>

#include "MyProjectMain.h"

namespace
{
// The value after the last ':' of a line, read as atoi does and kept in lMin to lMax; iValue
// stays as it was when the line has no ':'.
void ReadValue(const std::string& strLine, int& iValue, long lMin, long lMax)
{
    size_t iColon = strLine.rfind(':');
    if (iColon == std::string::npos)
        return;
    long lValue = strtol(strLine.c_str() + iColon + 1, nullptr, 10);
    iValue = static_cast<int>(std::max(lMin, std::min(lMax, lValue)));
}
} // namespace

SavedGame ReadSavedGame(const std::string& strText, const SavedGame& oBefore)
{
    SavedGame oSave = oBefore;
    std::istringstream oInput(strText);
    std::string strLine;
    // A Windows line's CR ends the number as the line end would.
    std::getline(oInput, strLine);
    ReadValue(strLine, oSave.iLevel, 1, MyProjectMain::MAX_LEVEL);
    std::getline(oInput, strLine);
    ReadValue(strLine, oSave.iLives, 0, INT_MAX); // negative would never run out
    std::getline(oInput, strLine);
    ReadValue(strLine, oSave.iScore, 0, INT_MAX);
    return oSave;
}

std::string WriteSavedGame(const SavedGame& oSave)
{
    return "level::" + std::to_string(oSave.iLevel) + "\nlives::" + std::to_string(oSave.iLives) +
           "\nscore::" + std::to_string(oSave.iScore) + "\n";
}
