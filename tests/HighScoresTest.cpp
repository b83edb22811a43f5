#include "TestSupport.h"

#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
const std::string DEFAULT_TABLE = "oru::39400\nfen::20000\nzol::15600\nwyr::13500\nkha::10000\n"
                                  "mip::9500\ntzo::8700\nlun::5400\nvek::5000\nqrx::3200";
using HighScoresTest = WorkingDirectoryTest;

// Enters a finished game's name and score into the table, as the name entry does.
void Record(MyProjectMain& oGame, int iScore)
{
    strcpy(oGame.m_szName, "abc");
    oGame.m_iNameLength = 3;
    oGame.m_iScore = iScore;
    oGame.RecordHighScore();
    EXPECT_STREQ(oGame.m_szName, "___") << "name after recording " << iScore;
    EXPECT_EQ(oGame.m_iNameLength, 0) << "name length after recording " << iScore;
}

TEST_F(HighScoresTest, StartingWithoutATableCreatesTheDefaultsAndKeepsAnExistingOne)
{
    for (const char* szExisting : {static_cast<const char*>(nullptr), "", "odd\r\ncontent\n"})
    {
        if (szExisting != nullptr)
            WriteFileBytes("highscores.txt", szExisting);
        MyProjectMain oGame;
        EXPECT_EQ(ReadFileBytes("highscores.txt"), szExisting ? szExisting : DEFAULT_TABLE);
    }
}

TEST_F(HighScoresTest, NewScoreGoesAboveEqualScoresAndTheTableKeepsTenEntries)
{
    const std::string strTwelveEntries = DEFAULT_TABLE + "\nzzz::99999\nyyy::1\n";
    // table before (nullptr: none), score recorded, table after
    const std::tuple<const char*, int, std::string> aCases[] = {
        {DEFAULT_TABLE.c_str(), 20000,
         "oru::39400\nabc::20000\nfen::20000\nzol::15600\nwyr::13500\nkha::10000\nmip::9500\n"
         "tzo::8700\nlun::5400\nvek::5000"},
        {DEFAULT_TABLE.c_str(), 3200,
         DEFAULT_TABLE.substr(0, DEFAULT_TABLE.rfind('\n') + 1) + "abc::3200"},
        {DEFAULT_TABLE.c_str(), 3199, DEFAULT_TABLE},
        {strTwelveEntries.c_str(), 100, DEFAULT_TABLE},
        {nullptr, 500, "abc::500"},
        {"", 0, "abc::0"},
        {"zed::0042", 0, "zed::42\nabc::0"},
        {"aaa::300\r\nbbb::100\r\n", 200, "aaa::300\nabc::200\nbbb::100"},
        {"ab\n\nccc::\nddd::-50\ne::9\n", 5, "abc::5\nccc::0\nddd::0"},
        {"ABC::40000\nAnn::700", 500, "ABC::40000\nAnn::700\nabc::500"}, // edited by hand
        {"aaa::1\nbbb::5\nccc::5", 0, "bbb::5\nccc::5\naaa::1\nabc::0"}, // out of order
    };
    for (const auto& [szBefore, iScore, strAfter] : aCases)
    {
        MyProjectMain oGame;
        remove("highscores.txt");
        if (szBefore != nullptr)
            WriteFileBytes("highscores.txt", szBefore);
        Record(oGame, iScore);
        EXPECT_EQ(ReadFileBytes("highscores.txt"), strAfter)
            << "score " << iScore << " into table:\n"
            << (szBefore ? szBefore : "(no table)");
    }
}

// A failed write (a file size limit of a few bytes fails it, also for root) and a table that
// cannot be read, a directory or a link to one, leave the old table and no temporary file.
TEST_F(HighScoresTest, TableThatCannotBeWrittenOrReadIsLeftAlone)
{
    MyProjectMain oGame;
    std::set<std::string> setNames = DirectoryNames();
    rlimit oLimit, oTiny;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &oLimit), 0);
    oTiny = {4, oLimit.rlim_max};
    signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &oTiny), 0);
    Record(oGame, 50000);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &oLimit), 0);
    EXPECT_EQ(ReadFileBytes("highscores.txt"), DEFAULT_TABLE);
    EXPECT_EQ(DirectoryNames(), setNames) << "a temporary file was left behind";
    ASSERT_TRUE(remove("highscores.txt") == 0 && mkdir("highscores.txt", 0755) == 0);
    Record(oGame, 50000);
    EXPECT_EQ(DirectoryNames(), setNames) << "a temporary file was left behind";
    ASSERT_TRUE(rename("highscores.txt", "tables") == 0 &&
                symlink("tables", "highscores.txt") == 0);
    Record(oGame, 50000);
    struct stat oStatus;
    EXPECT_TRUE(lstat("highscores.txt", &oStatus) == 0 && S_ISLNK(oStatus.st_mode)) << "replaced";
    setNames.insert("tables");
    EXPECT_EQ(DirectoryNames(), setNames) << "a temporary file was left behind";
}
} // namespace
