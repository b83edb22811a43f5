#ifndef SAVED_GAME_H
#define SAVED_GAME_H

#include <string>

// The saved game's text, as the game writes it: "level::2\nlives::3\nscore::750\n", the level to
// play, the spare lives and the score. Text in, a record out, and back; the file is the game's.
struct SavedGame
{
    int iLevel;
    int iLives;
    int iScore;
};

// The values of a save's text by line position, each after the last ':' of its line, the level
// kept in 1 to the game's last, lives and score in 0 to the largest int (lives above 3 are kept).
// A line without a ':' keeps oBefore's value. A read past the end keeps the last line when it had
// no line end, so a two-line text without one gives the score the lives value too.
SavedGame ReadSavedGame(const std::string& strText, const SavedGame& oBefore);

std::string WriteSavedGame(const SavedGame& oSave);

#endif
