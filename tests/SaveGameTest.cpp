#include "GameTestSupport.h"

#include <climits>
#include <csignal>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

namespace
{
using SaveGameTest = GameTest;
using HighScoresTest = WorkingDirectoryTest; // the table needs no started game
const std::string DEFAULT_TABLE = "oru::39400\nfen::20000\nzol::15600\nwyr::13500\nkha::10000\n"
                                  "mip::9500\ntzo::8700\nlun::5400\nvek::5000\nqrx::3200";

// The save is made where the last load left the game. A directory in the save's place stands in
// the way of the write, and of the load.
TEST_F(SaveGameTest, LoadTakesTheValuesByLinePositionWithinTheirRangesAndSaveShowsWhetherItWorked)
{
    MyProjectMain& oGame = *m_pGame;
    const std::tuple<const char*, int, int, int> aCases[] = {
        // file, level, lives and score loaded; before loading: level 6, lives 2, score 999
        {"level::3:7\nb:1\nc:250\n", 7, 1, 250},
        {"a:7\nb:1\n", 7, 1, 999},
        {"a:7\nb:1", 7, 1, 1},
        {"level 4\n\nscore::8\n", 6, 2, 8},
        {"level::0\nlives::9\nscore::-5\n", 1, 3, 0},
        {"level::10000\nlives::-1\nscore::99999999999\n", 9999, 0, INT_MAX}};
    for (const auto& [szFile, iLevel, iLives, iScore] : aCases)
    {
        WriteFileBytes("save.txt", szFile);
        oGame.m_iLevel = 6;
        oGame.m_iLives = 2;
        oGame.m_iScore = 999;
        oGame.LoadGame();
        EXPECT_EQ(std::make_tuple(oGame.m_iLevel, oGame.m_iLives, oGame.m_iScore),
                  std::make_tuple(iLevel, iLives, iScore))
            << szFile;
    }
    for (bool bSaved : {true, false})
    {
        ASSERT_TRUE(bSaved || (remove("save.txt") == 0 && mkdir("save.txt", 0755) == 0));
        oGame.m_bSaveFound = false;
        oGame.m_iUpdateRectCount = 0;
        oGame.CopyBackgroundToScreen();
        oGame.SaveGame();
        SDL_Surface* pExpected =
            SDL_ConvertSurface(oGame.m_pBackdropSurface, oGame.m_pBackdropSurface->format, 0);
        oGame.DrawText(280, 550, bSaved ? "game saved" : "save failed", 0xFFFFFF, oGame.m_pFont24,
                       pExpected);
        EXPECT_EQ(CountDifferentPixels(oGame.m_pScreenSurface, pExpected), 0);
        SDL_FreeSurface(pExpected);
        SDL_Rect oRect = oGame.m_pUpdateRects[0];
        EXPECT_EQ(std::make_tuple(oGame.m_iUpdateRectCount, oRect.x, oRect.y, oRect.w, oRect.h),
                  std::make_tuple(1, 280, 550, 800, 55));
        EXPECT_EQ(oGame.m_bSaveFound, bSaved);
        EXPECT_EQ(ReadFileBytes("save.txt"),
                  bSaved ? "level::10000\nlives::0\nscore::2147483647\n" : "");
        oGame.m_iGameState = STATE_MENU; // a save that cannot be read keeps the title menu
        oGame.LoadGame();
        EXPECT_EQ(std::make_pair(oGame.m_iGameState, oGame.m_bSaveFound),
                  std::make_pair(bSaved ? STATE_PLAYING : STATE_MENU, bSaved));
    }
}

// Both files are written through a link, keep their modes and leave the player's other files,
// even those named like a temporary file. A failed write (a file size limit of a few bytes fails
// it, also for root) and a table that is a directory leave the old file and no temporary file.
TEST_F(SaveGameTest, WritesKeepLinksModesAndThePlayersFilesAndAFailedOneLeavesTheOldFile)
{
    MyProjectMain& oGame = *m_pGame;
    ASSERT_EQ(mkdir("mine", 0755), 0);
    WriteFileBytes("mine/save", "old");
    ASSERT_EQ(chmod("mine/save", 0604) + chmod("highscores.txt", 0640), 0);
    ASSERT_EQ(symlink("mine/save", "save.txt"), 0);
    const char* aszStrays[] = {"save.txt.new", "highscores.txt.new", "mine/save.new"};
    for (const char* szStray : aszStrays)
        WriteFileBytes(szStray, "player's own");
    std::set<std::string> setNames = DirectoryNames(), setMine = DirectoryNames("mine");
    oGame.SaveGame();
    strcpy(oGame.m_szName, "abc");
    oGame.m_iScore = 50000;
    oGame.RecordHighScore();
    struct stat oStatus;
    EXPECT_TRUE(lstat("save.txt", &oStatus) == 0 && S_ISLNK(oStatus.st_mode)) << "link replaced";
    for (auto [szFile, iMode] : {std::pair("mine/save", 0604u), {"highscores.txt", 0640u}})
        EXPECT_TRUE(stat(szFile, &oStatus) == 0 && (oStatus.st_mode & 07777) == iMode) << szFile;
    std::string strTable = ReadFileBytes("highscores.txt");
    EXPECT_EQ(strTable.substr(0, 22), "abc::50000\noru::39400\n");

    rlimit oLimit, oTiny;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &oLimit), 0);
    oTiny = {4, oLimit.rlim_max};
    signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &oTiny), 0);
    oGame.SaveGame();
    oGame.RecordHighScore();
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &oLimit), 0);
    EXPECT_EQ(ReadFileBytes("mine/save"), "level::2\nlives::3\nscore::0\n");
    EXPECT_EQ(ReadFileBytes("highscores.txt"), strTable);
    ASSERT_TRUE(remove("highscores.txt") == 0 && mkdir("highscores.txt", 0755) == 0);
    oGame.RecordHighScore();
    for (const char* szStray : aszStrays)
        EXPECT_EQ(ReadFileBytes(szStray), "player's own") << szStray;
    EXPECT_EQ(std::make_pair(DirectoryNames(), DirectoryNames("mine")),
              std::make_pair(setNames, setMine));
}

// Root may write anything: the player's view is checked as user nobody, in a child process.
TEST_F(SaveGameTest, FilesThePlayerCannotWriteAreLeftAsTheyAre)
{
    const int NOBODY = 65534;
    MyProjectMain& oGame = *m_pGame;
    WriteFileBytes("save.txt", "level::5\nlives::1\nscore::10\n");
    for (const char* szName : {".", "save.txt", "highscores.txt"})
        ASSERT_EQ(chown(szName, NOBODY, NOBODY), 0) << szName;
    ASSERT_EQ(chmod("save.txt", 0444) + chmod("highscores.txt", 0444), 0);
    fflush(nullptr);
    pid_t iChild = fork();
    ASSERT_GE(iChild, 0);
    if (iChild == 0)
    {
        if (setgroups(0, nullptr) != 0 || setgid(NOBODY) != 0 || setuid(NOBODY) != 0)
            _exit(2);
        oGame.SaveGame();
        oGame.m_iScore = 50000;
        oGame.RecordHighScore();
        _exit(0);
    }
    int iStatus = 0;
    ASSERT_EQ(waitpid(iChild, &iStatus, 0), iChild);
    EXPECT_TRUE(WIFEXITED(iStatus) && WEXITSTATUS(iStatus) == 0) << "status " << iStatus;
    EXPECT_EQ(ReadFileBytes("save.txt"), "level::5\nlives::1\nscore::10\n");
    EXPECT_EQ(ReadFileBytes("highscores.txt"), DEFAULT_TABLE);
}

TEST_F(HighScoresTest, StartKeepsATableItFindsAndANewScoreGoesAboveEqualScoresWithinTenEntries)
{
    const std::string strTwelveEntries = DEFAULT_TABLE + "\nzzz::99999\nyyy::1\n";
    // table before (nullptr: none), score recorded, table after
    const std::tuple<const char*, int, std::string> aCases[] = {
        {DEFAULT_TABLE.c_str(), 20000,
         "oru::39400\nabc::20000\nfen::20000\nzol::15600\nwyr::13500\nkha::10000\nmip::9500\n"
         "tzo::8700\nlun::5400\nvek::5000"},
        {strTwelveEntries.c_str(), 100, DEFAULT_TABLE},
        {nullptr, 500, "abc::500"},
        {"", 0, "abc::0"},
        {"zed::0042\nab\n\nccc::\nddd::-50\ne::9\n", 5, "zed::42\nabc::5\nccc::0\nddd::0"},
        // edited by hand, out of order
        {"aaa::1\nAnn::700\nbbb::5\nccc::5\nABC::40000", 0,
         "ABC::40000\nAnn::700\nbbb::5\nccc::5\naaa::1\nabc::0"},
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
        EXPECT_EQ(ReadFileBytes("highscores.txt"), strAfter)
            << "score " << iScore << " into table:\n"
            << (szBefore ? szBefore : "(no table)");
    }
}
} // namespace
