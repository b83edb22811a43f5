#include "TestSupport.h"

#include <cstring>

namespace
{
const std::string DEFAULT_TABLE = "oru::39400\nfen::20000\nzol::15600\nwyr::13500\nkha::10000\n"
                                  "mip::9500\ntzo::8700\nlun::5400\nvek::5000\nqrx::3200";
using HighScoresTest = WorkingDirectoryTest;

TEST_F(HighScoresTest, StartKeepsATableItFindsAndANewScoreGoesAboveEqualScoresWithinTenEntries)
{
    const std::string strTwelveEntries = DEFAULT_TABLE + "\nzzz::99999\nyyy::1\n";
    // table before (nullptr: none), score recorded, table after
    const std::tuple<const char*, int, std::string> aCases[] = {
        {DEFAULT_TABLE.c_str(), 20000,
         "oru::39400\nabc::20000\nfen::20000\nzol::15600\nwyr::13500\nkha::10000\nmip::9500\n"
         "tzo::8700\nlun::5400\nvek::5000"},
        {DEFAULT_TABLE.c_str(), 3200,
         DEFAULT_TABLE.substr(0, DEFAULT_TABLE.rfind('\n') + 1) + "abc::3200"},
        {strTwelveEntries.c_str(), 100, DEFAULT_TABLE},
        {nullptr, 500, "abc::500"},
        {"", 0, "abc::0"},
        {"zed::0042", 0, "zed::42\nabc::0"},
        {"ab\n\nccc::\nddd::-50\ne::9\n", 5, "abc::5\nccc::0\nddd::0"},
        {"ABC::40000\nAnn::700", 500, "ABC::40000\nAnn::700\nabc::500"}, // edited by hand
        {"aaa::1\nbbb::5\nccc::5", 0, "bbb::5\nccc::5\naaa::1\nabc::0"}, // out of order
    };
    for (const auto& [szBefore, iScore, strAfter] : aCases)
    {
        remove("highscores.txt");
        if (szBefore != nullptr)
            WriteFileBytes("highscores.txt", szBefore);
        MyProjectMain oGame; // keeps a table it finds, even an empty one
        if (szBefore == nullptr)
            remove("highscores.txt"); // and the default one it made may go missing
        strcpy(oGame.m_szName, "abc");
        oGame.m_iNameLength = 3;
        oGame.m_iScore = iScore;
        oGame.RecordHighScore();
        EXPECT_EQ(std::make_pair(std::string(oGame.m_szName), oGame.m_iNameLength),
                  std::make_pair(std::string("___"), 0));
        EXPECT_EQ(ReadFileBytes("highscores.txt"), strAfter)
            << "score " << iScore << " into table:\n"
            << (szBefore ? szBefore : "(no table)");
    }
}
} // namespace
