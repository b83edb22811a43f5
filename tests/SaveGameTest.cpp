#include "GameTestSupport.h"

#include <climits>
#include <thread>

#include "Platform.h"
#include "SavedGame.h"

// Users, processes, links, FIFOs, file size limits and /proc/locks: the cases that need them are
// for POSIX systems only.
#ifndef _WIN32
#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#else
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <windows.h>
#undef DrawText // windows.h's own, which would rename the engine's
#endif

namespace
{
using SaveGameTest = GameTest;
using HighScoresTest = WorkingDirectoryTest; // the table needs no started game
const std::string DEFAULT_TABLE = "oru::39400\nfen::20000\nzol::15600\nwyr::13500\nkha::10000\n"
                                  "mip::9500\ntzo::8700\nlun::5400\nvek::5000\nqrx::3200";
// Values go by line position, each after its line's last ':' and within its range.
TEST(SavedGameTest, ReadTakesTheValuesByLinePositionWithinTheirRanges)
{
    // rule, text, then level, lives and score read over level 6, lives 2 and score 999
    const std::tuple<const char*, const char*, int, int, int> aCases[] = {
        {"after the last ':'", "level::3:7\nb:1\nc:250\n", 7, 1, 250},
        {"no third value: the score stays", "a:7\nb:1\n", 7, 1, 999},
        {"no line end: the last line read again", "a:7\nb:1", 7, 1, 1},
        {"CR LF lines, as Windows writes them", "a:7\r\nb:1\r\nc:5\r\n", 7, 1, 5},
        {"a line without ':' keeps its value", "level 4\n\nscore::8\n", 6, 2, 8},
        {"level from 1, lives above 3 kept, score from 0", "level::0\nlives::9\nscore::-5\n", 1, 9,
         0},
        {"level to 9999, lives from 0, score to the largest int",
         "level::10000\nlives::-1\nscore::99999999999\n", 9999, 0, INT_MAX}};
    for (const auto& [szRule, szText, iLevel, iLives, iScore] : aCases)
    {
        SavedGame oSave = ReadSavedGame(szText, {6, 2, 999});
        EXPECT_EQ(std::make_tuple(oSave.iLevel, oSave.iLives, oSave.iScore),
                  std::make_tuple(iLevel, iLives, iScore))
            << szRule;
    }
}

// The save holds the next level; loaded, the game plays the level it read, at most 9999. A
// directory in the save's place stands in the way of the write, and of the load.
TEST_F(SaveGameTest, SaveShowsWhetherItWorkedAndLoadPlaysWhatItRead)
{
    MyProjectMain& oGame = *m_pGame;
    for (bool bSaved : {true, false})
    {
        ASSERT_TRUE(bSaved ||
                    (remove("save.txt") == 0 && std::filesystem::create_directory("save.txt")));
        oGame.DeleteAllObjects(); // nothing drawn over the message
        std::tie(oGame.m_iGameState, oGame.m_bSaveFound) =
            std::make_pair(STATE_LEVEL_COMPLETE, false);
        std::tie(oGame.m_iLevel, oGame.m_iLives, oGame.m_iScore) =
            std::make_tuple(9999, 0, INT_MAX);
        oGame.SaveGame();
        // A whole-screen frame owed after the save, as a restored window asks, still shows it: the
        // strip under the menu holds just the message.
        oGame.RequestWholeScreenRedraw();
        RunTicks(&oGame, 17);
        SDL_Surface* pExpected =
            SDL_ConvertSurface(oGame.m_pScreenSurface, oGame.m_pScreenSurface->format, 0);
        SDL_Rect oStrip{280, 550, 520, 50};
        SDL_BlitSurface(oGame.m_pBackdropSurface, &oStrip, pExpected, &oStrip);
        oGame.DrawText(280, 550, bSaved ? "game saved" : "save failed", 0xFFFFFF, oGame.m_pFont24,
                       pExpected);
        EXPECT_EQ(oGame.m_bSaveFound, bSaved) << "a save found once it worked";
        EXPECT_EQ(CountDifferentPixels(oGame.m_pScreenSurface, pExpected), 0) << "the message";
        SDL_FreeSurface(pExpected);
        EXPECT_EQ(ReadFileBytes("save.txt"),
                  TextFile(bSaved ? "level::10000\nlives::0\nscore::2147483647\n" : ""));
        oGame.m_iGameState = STATE_MENU; // a save that cannot be read keeps the title menu
        std::tie(oGame.m_iLevel, oGame.m_iLives, oGame.m_iScore) = std::make_tuple(1, 3, 0);
        oGame.LoadGame();
        EXPECT_EQ(std::make_tuple(oGame.m_iGameState, oGame.m_bSaveFound, oGame.m_iLevel,
                                  oGame.m_iLives, oGame.m_iScore),
                  bSaved ? std::make_tuple(STATE_PLAYING, true, 9999, 0, INT_MAX)
                         : std::make_tuple(STATE_MENU, false, 1, 3, 0))
            << (bSaved ? "the values read played" : "no save: the title menu, nothing read");
    }
}

#ifndef _WIN32
const int NOBODY = 65534, PLAYERS = 4242; // PLAYERS: a group of players sharing a table

// A child process running fAction in szDirectory as user iUser (root stays root) in the groups
// nobody and PLAYERS, exiting with its result (99: it could not become that user there).
template <class Action> pid_t StartChild(int iUser, const char* szDirectory, Action fAction)
{
    gid_t aiGroups[] = {PLAYERS};
    pid_t iChild = (fflush(nullptr), fork());
    if (iChild == 0)
        _exit(setgroups(1, aiGroups) || setgid(NOBODY) || setuid(iUser) || chdir(szDirectory)
                  ? 99
                  : fAction());
    return iChild;
}

// The child's exit status; -1 when it did not exit by itself.
int ExitStatus(pid_t iChild)
{
    int iStatus = 0;
    return waitpid(iChild, &iStatus, 0) == iChild && WIFEXITED(iStatus) ? WEXITSTATUS(iStatus) : -1;
}

// True once the child waits for a lock (on a line of /proc/locks after "->"); false when it ends
// without waiting. The upper bound only catches a hang.
bool WaitsForLock(pid_t iChild)
{
    std::string strChild = " " + std::to_string(iChild) + " ";
    siginfo_t oEnded{};
    for (time_t iEnd = time(nullptr) + 60; time(nullptr) < iEnd && oEnded.si_pid == 0;
         waitid(P_PID, iChild, &oEnded, WEXITED | WNOHANG | WNOWAIT))
    {
        std::istringstream oLocks(ReadFileBytes("/proc/locks"));
        for (std::string strLine; std::getline(oLocks, strLine);)
            if (strLine.find("->") < strLine.find(strChild) &&
                strLine.find(strChild) != std::string::npos)
                return true;
    }
    return false;
}

// The owner, group and permission bits of a file, in one number.
long long OwnerGroupMode(const char* szPath)
{
    struct stat oStatus = {};
    stat(szPath, &oStatus);
    return (static_cast<long long>(oStatus.st_uid) << 32) + (oStatus.st_gid << 12) +
           (oStatus.st_mode & 07777);
}

// Both files are written through a link (one to a file not there yet, which is made), keep their
// modes and leave the player's other files, even those named like a temporary file; a second hard
// link to the table, written in place, shows the new one too, without the old one's longer tail.
// A failed write (a file size limit of a few bytes fails it, also for root) leaves the old file and
// no temporary file. A FIFO in either file's place cannot be read: nothing waits for its writer.
TEST_F(SaveGameTest, WritesKeepLinksModesAndThePlayersFilesAndAFailedOneLeavesTheOldFile)
{
    MyProjectMain& oGame = *m_pGame;
    ASSERT_EQ(mkdir("mine", 0755) + symlink("mine/save", "save.txt"), 0);
    oGame.SaveGame();
    ASSERT_EQ(chmod("mine/save", 0604) + chmod("highscores.txt", 0640), 0);
    WriteFileBytes("highscores.txt", DEFAULT_TABLE + "\nold::1\nold::1");
    const char* aszStrays[] = {"save.txt.new", "highscores.txt.new", "mine/save.new"};
    for (const char* szStray : aszStrays)
        WriteFileBytes(szStray, "player's own");
    std::set<std::string> setNames = DirectoryNames(), setMine = DirectoryNames("mine");
    ASSERT_EQ(link("highscores.txt", "mine/table"), 0);
    oGame.SaveGame();
    strcpy(oGame.m_szName, "abc");
    oGame.m_iScore = 50000;
    oGame.RecordHighScore();
    EXPECT_EQ(ReadFileBytes("mine/table"), ReadFileBytes("highscores.txt"));
    ASSERT_EQ(unlink("mine/table"), 0); // a failed write in place would empty both
    EXPECT_EQ(OwnerGroupMode("mine/save") + OwnerGroupMode("highscores.txt"), 0604 + 0640);
    std::string strTable = ReadFileBytes("highscores.txt");
    EXPECT_EQ(strTable, "abc::50000\n" + DEFAULT_TABLE.substr(0, DEFAULT_TABLE.rfind('\n')));

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

    for (const char* szFile : {"highscores.txt", "mine/save"})
        ASSERT_EQ(remove(szFile) + mkfifo(szFile, 0644), 0);
    signal(SIGALRM, SIG_DFL); // it may come ignored; a wait ends the test
    alarm(60);
    MyProjectMain oStarting; // checks that there is a table
    oGame.m_iGameState = STATE_HIGH_SCORES;
    oGame.DrawOverlayText();
    oGame.LoadGame();
    oGame.SaveGame();
    oGame.RecordHighScore();
    alarm(0);
    EXPECT_EQ(std::make_pair(oGame.m_iGameState, oGame.m_bSaveFound),
              std::make_pair(STATE_HIGH_SCORES, false));
    for (const char* szStray : aszStrays)
        EXPECT_EQ(ReadFileBytes(szStray), "player's own") << szStray;
    EXPECT_EQ(std::make_pair(DirectoryNames(), DirectoryNames("mine")),
              std::make_pair(setNames, setMine));
}

// As user nobody (root may write anything), both files are written where a plain write would be,
// also in a directory nobody may not write (then in place); otherwise the save shows "save failed".
// Owner, group, mode and names stay, so that a table a group shares takes each member's score.
TEST_F(SaveGameTest, AsAPlayerBothFilesAreWrittenWhereAPlainWriteWouldAndKeepTheirOwners)
{
    MyProjectMain& oGame = *m_pGame;
    const std::string strOldSave = "level::5\nlives::1\nscore::10\n";
    auto fPlay = [&]() { return (oGame.SaveGame(), oGame.RecordHighScore(), !oGame.m_bSaveFound); };
    strcpy(oGame.m_szName, "one");
    std::tie(oGame.m_iScore, oGame.m_bSaveFound) = std::make_pair(40000, false);
    ASSERT_EQ(chmod(".", 0755) + symlink("d/save.txt", "save.txt") + remove("highscores.txt") +
                  symlink("d/highscores.txt", "highscores.txt"),
              0);
    // directory: owner, group, mode; files: owner, group, mode; reached by the links; written
    const std::tuple<int, int, int, int, int, int, bool, bool> aCases[] = {
        {NOBODY, 0, 0755, NOBODY, NOBODY, 0644, false, true},
        {0, 0, 0755, NOBODY, NOBODY, 0644, false, true},
        {NOBODY, 0, 0755, NOBODY, NOBODY, 0444, false, false},
        {0, 0, 0755, NOBODY, NOBODY, 0444, false, false},
        {0, 0, 0755, NOBODY, NOBODY, 0644, true, true},
        {0, PLAYERS, 0775, 0, PLAYERS, 0664, false, true}}; // shared by a group
    for (auto [iDirOwner, iDirGroup, iDirMode, iOwner, iGroup, iMode, bLinked, bWritten] : aCases)
    {
        SCOPED_TRACE(testing::Message() << iDirOwner << " " << std::oct << iMode << " " << bLinked);
        ASSERT_TRUE(RemoveSandbox("d") && mkdir("d", 0) == 0 &&
                    chown("d", iDirOwner, iDirGroup) + chmod("d", iDirMode) == 0);
        for (auto [szFile, strOld] :
             {std::pair("d/save.txt", strOldSave), std::pair("d/highscores.txt", DEFAULT_TABLE)})
            ASSERT_TRUE(WriteFileBytes(szFile, strOld) &&
                        chown(szFile, iOwner, iGroup) + chmod(szFile, iMode) == 0);
        std::set<std::string> setNames = DirectoryNames("d");
        long long iOwners = OwnerGroupMode("d/save.txt") + OwnerGroupMode("d/highscores.txt");
        EXPECT_EQ(ExitStatus(StartChild(NOBODY, bLinked ? "." : "d", fPlay)), bWritten ? 0 : 1);
        EXPECT_EQ(ReadFileBytes("d/save.txt") + ReadFileBytes("d/highscores.txt").substr(0, 11),
                  bWritten ? "level::2\nlives::3\nscore::40000\none::40000\n"
                           : strOldSave + "oru::39400\n");
        EXPECT_EQ(OwnerGroupMode("d/save.txt") + OwnerGroupMode("d/highscores.txt"), iOwners);
        EXPECT_EQ(DirectoryNames("d"), setNames);
    }
    // Two members recording at once: the game that read the table first holds its lock until it
    // has written (here the test, rewriting it unchanged as a score too low does); the other waits.
    std::string strOnesTable = ReadFileBytes("d/highscores.txt");
    int iFirstGame = open("d/highscores.txt", O_RDONLY);
    ASSERT_EQ(flock(iFirstGame, LOCK_EX), 0);
    strcpy(oGame.m_szName, "two");
    oGame.m_iScore = 30000;
    pid_t iChild = StartChild(NOBODY - 1, "d", [&]() { return (close(iFirstGame), fPlay()); });
    EXPECT_TRUE(WaitsForLock(iChild)) << "the second member did not wait";
    // A third locks the first's new file before the first lets go: the second waits again, for it.
    int iThirdGame =
        (ReplaceFileContent("d/highscores.txt", strOnesTable), open("d/highscores.txt", O_RDONLY));
    ASSERT_TRUE(flock(iThirdGame, LOCK_EX) == 0 && close(iFirstGame) == 0);
    EXPECT_TRUE(WaitsForLock(iChild)) << "the second member locked the replaced table";
    EXPECT_TRUE(close(iThirdGame) == 0 && ExitStatus(iChild) == 0);
    EXPECT_EQ(ReadFileBytes("d/highscores.txt"),
              "one::40000\noru::39400\ntwo::30000\nfen::20000\nzol::15600\nwyr::13500\n"
              "kha::10000\nmip::9500\ntzo::8700\nlun::5400");
}

#endif

TEST_F(HighScoresTest, StartKeepsATableItFindsAndANewScoreGoesAboveEqualScoresWithinTenEntries)
{
    const std::string strTwelveEntries = DEFAULT_TABLE + "\nzzz::99999\nyyy::1\n";
    // Only the first 65536 bytes are read: yyy's word is cut at "yyy::12".
    const std::string strCutWord = std::string(65518, ' ') + "zzz::12345 yyy::12345";
    // table before (nullptr: none), score recorded, table after
    const std::tuple<const char*, int, std::string> aCases[] = {
        // first: Emscripten's file system brings back a file replaced by rename once it is removed
        {nullptr, 500, "abc::500"},
        {DEFAULT_TABLE.c_str(), 20000,
         "oru::39400\nabc::20000\nfen::20000\nzol::15600\nwyr::13500\nkha::10000\nmip::9500\n"
         "tzo::8700\nlun::5400\nvek::5000"},
        {"aaa::9\nbbb::9\nccc::1", 1, "aaa::9\nbbb::9\nabc::1\nccc::1"}, // equal ones keep order
        {strTwelveEntries.c_str(), 100, DEFAULT_TABLE},
        {"", 0, "abc::0"},
        {"abc::500\r\nxyz::100\r\n", 300, "abc::500\nabc::300\nxyz::100"}, // CR LF lines
        {"zed::0042\nab\n\nccc::\nddd::-50\ne::9\n", 5, "zed::42\nabc::5\nccc::0\nddd::0"},
        {strCutWord.c_str(), 5, "zzz::12345\nabc::5"},
        // edited by hand, out of order, with digits and signs in names
        {"aaa::1\nAnn::700\nbbb::5\nK-9::700\nccc::5\nR2D::5000\nABC::40000", 0,
         "ABC::40000\nR2D::5000\nAnn::700\nK-9::700\nbbb::5\nccc::5\naaa::1\nabc::0"},
    };
    for (const auto& [szBefore, iScore, strAfter] : aCases)
    {
        WriteFileBytes("highscores.txt", szBefore ? szBefore : "");
        MyProjectMain oGame; // keeps a table it finds, even an empty one
        if (szBefore == nullptr)
            remove("highscores.txt"); // and the table may go missing
        strcpy(oGame.m_szName, "abc");
        oGame.m_iScore = iScore;
        oGame.RecordHighScore();
        EXPECT_EQ(ReadFileBytes("highscores.txt"), TextFile(strAfter))
            << (szBefore ? szBefore : "none");
    }
}

// The copy of the game that read the table first holds it until it has written (here the test);
// a recording meanwhile waits for it, then takes its score into the table the first one wrote.
TEST_F(HighScoresTest, ARecordingWaitsForTheCopyHoldingTheTableAndKeepsItsScore)
{
    WriteFileBytes("highscores.txt", "old::100");
    MyProjectMain oGame;
    strcpy(oGame.m_szName, "two");
    oGame.m_iScore = 200;
    std::thread oSecond;
    {
        FileLock oFirst("highscores.txt");
        oSecond = std::thread([&oGame]() { oGame.RecordHighScore(); });
        EXPECT_TRUE(ReplaceFileContent("highscores.txt", "one::300\nold::100"));
    }
    oSecond.join();
    EXPECT_EQ(ReadFileBytes("highscores.txt"), TextFile("one::300\ntwo::200\nold::100"));
}

#ifdef _WIN32
// The file's identity on its volume: a new file has a new one, a file written in place keeps it.
ULONGLONG FileIndex(const wchar_t* szName)
{
    HANDLE hFile = CreateFileW(szName, 0, 7, nullptr, OPEN_EXISTING, 0, nullptr); // shared all ways
    BY_HANDLE_FILE_INFORMATION oInfo = {};
    GetFileInformationByHandle(hFile, &oInfo);
    CloseHandle(hFile);
    return ULONGLONG(oInfo.nFileIndexHigh) << 32 | oInfo.nFileIndexLow;
}

// In a folder whose full name is as long as Windows takes one, both files are made, and replaced
// by new files that keep their hidden and system attributes. One that another program holds open
// without letting it be deleted (as the C library opens a file) is written in place, emptied first,
// as a plain write would; a read-only one, or one held open against writing, keeps its bytes and
// the save says "save failed". No temporary file is left.
TEST_F(SaveGameTest, InADeepFolderFilesAreReplacedWithTheirAttributesOrWrittenInPlaceOrKept)
{
    namespace fs = std::filesystem;
    MyProjectMain& oGame = *m_pGame;
    fs::path oDeep(std::string(259 - 1 - 14 - 1 - fs::current_path().wstring().size(), 'd'));
    ASSERT_TRUE(fs::create_directory(oDeep));
    fs::current_path(oDeep);
    ASSERT_EQ((fs::current_path() / "highscores.txt").wstring().size(), 259u);
    const std::string strOld = DEFAULT_TABLE + "\nold::1\nold::1", // longer than a new table
        strNine = DEFAULT_TABLE.substr(0, DEFAULT_TABLE.rfind('\n'));
    const DWORD MISSING = 0x80000000, KEPT = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    // attributes (MISSING: no files), share mode of another program's open (-1: none), score,
    // table after ("": as it was), a new file in its place
    const std::tuple<DWORD, int, int, std::string, bool> aCases[] = {
        {MISSING, -1, 3200, "x__::3200", true},
        {KEPT, -1, 39400, "x__::39400\n" + strNine, true},
        {0, _SH_DENYNO, 3200, strNine + "\nx__::3200", false},
        {FILE_ATTRIBUTE_READONLY, -1, 300, "", false},
        {0, _SH_DENYWR, 300, "", false}};
    for (auto [iAttributes, iShare, iScore, strTable, bNewFile] : aCases)
    {
        std::vector<int> aiHeld;
        for (const char* szFile : {"save.txt", "highscores.txt"})
            if (iAttributes != MISSING && WriteFileBytes(szFile, strOld) && iShare >= 0)
                aiHeld.push_back(_sopen(szFile, _O_RDONLY, iShare));
        for (const wchar_t* szFile : {L"save.txt", L"highscores.txt"})
            SetFileAttributesW(szFile, iAttributes & ~MISSING);
        ULONGLONG iOldFile = FileIndex(L"highscores.txt");
        std::tie(oGame.m_iScore, oGame.m_szName[0], oGame.m_bSaveFound) =
            std::make_tuple(iScore, 'x', false);
        oGame.SaveGame();
        oGame.RecordHighScore();
        for (int iHeld : aiHeld)
            _close(iHeld);
        EXPECT_EQ(ReadFileBytes("save.txt") + ReadFileBytes("highscores.txt"),
                  strTable.empty() ? strOld + strOld
                                   : TextFile("level::2\nlives::3\nscore::" +
                                              std::to_string(iScore) + "\n" + strTable));
        EXPECT_EQ(std::make_pair(oGame.m_bSaveFound, FileIndex(L"highscores.txt") != iOldFile),
                  std::make_pair(!strTable.empty(), bNewFile));
        EXPECT_EQ(GetFileAttributesW(L"highscores.txt") & (KEPT | FILE_ATTRIBUTE_READONLY),
                  iAttributes & ~MISSING);
        EXPECT_EQ(DirectoryNames(), std::set<std::string>({"highscores.txt", "save.txt"}));
        for (const wchar_t* szFile : {L"save.txt", L"highscores.txt"})
            SetFileAttributesW(szFile, FILE_ATTRIBUTE_NORMAL);
    }
}
#endif

} // namespace
