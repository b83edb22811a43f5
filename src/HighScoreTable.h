#ifndef HIGH_SCORE_TABLE_H
#define HIGH_SCORE_TABLE_H

#include <string>
#include <vector>

// The high-score table's text, as the game writes it: one entry a line, best first, at most ten,
// no line end after the last. An entry is a name of three characters, "::" and the score
// ("oru::39400"). Text in, entries out, and back; the file itself is the game's.

const int HIGH_SCORE_ROWS = 10;

struct HighScoreEntry
{
    std::string strName;
    int iScore;
};

// An entry's two columns as they stand in a piece of the text: the name in its first three
// characters, the score's text from the sixth (both shorter when the piece is).
struct HighScoreColumns
{
    std::string strName;
    std::string strScore;
};

// The one reading of an entry: the columns of a word of the table or a line of its screen.
HighScoreColumns SplitHighScoreEntry(const std::string& strPiece);

// The first ten entries in the text's words, in their order (negative scores count as 0). Names
// edited by hand are the player's and are kept; only a word that would not read back as the same
// entry once written is left out: one too short to hold a score, or one with a ':' in its name,
// whose "::" stands elsewhere than after the name (as in "Jo::500", whose name and score would
// come back as "Jo:" and 0).
std::vector<HighScoreEntry> ReadHighScoreTable(const std::string& strText);

// The rows the table's screen shows: the text's first ten lines, as they stand, each in its
// columns; a Windows line's CR is not part of it.
std::vector<HighScoreColumns> ReadHighScoreRows(const std::string& strText);

// The table with a new entry: best first, the new one above those with its score in a table in
// order, as the game writes it; the ten best kept.
std::vector<HighScoreEntry> AddHighScore(const std::vector<HighScoreEntry>& vTable,
                                         const HighScoreEntry& oNew);

std::string WriteHighScoreTable(const std::vector<HighScoreEntry>& vTable);

#endif
