#include "GameTestSupport.h"

#include <cerrno>
#include <cstring>
#include <grp.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
const std::string OLD_SAVE = "level::5\nlives::1\nscore::10\n";
const std::string OLD_TABLE = "old::900\nxyz::1";
const int NOBODY = 65534;

class DiskFaultsTest : public GameTest
{
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        WriteFileBytes("save.txt", OLD_SAVE);
        WriteFileBytes("highscores.txt", OLD_TABLE);
    }
    void TearDown() override
    {
        if (!m_strMount.empty() && umount2(m_strMount.c_str(), MNT_DETACH) != 0)
            ADD_FAILURE() << "cannot unmount " << m_strMount << ": " << strerror(errno);
        GameTest::TearDown();
    }

    // Save Game at the end of level 2 must fail with "save failed" drawn over the screen, the
    // old file kept and no save found; then the next level is played.
    void ExpectSaveFailsAndPlayGoesOn(const std::string& strOld)
    {
        MyProjectMain& oGame = *m_pGame;
        srand(5); // no rock of level 3 drifts onto the bullets resting in the corner
        EnterPlay(2);
        oGame.m_iGameState = STATE_LEVEL_COMPLETE;
        oGame.m_iMenuSelection = MENU_SAVE_GAME;
        oGame.m_iLives = 1;
        oGame.m_iScore = 800;
        oGame.m_iPendingScore = 100;
        RunTicks(&oGame, 1);
        std::set<std::string> setNames = DirectoryNames();
        oGame.m_bSaveFound = false;
        SDL_Surface* pExpected = NewSurface(800, 600);
        SDL_BlitSurface(oGame.m_pScreenSurface, nullptr, pExpected, nullptr);
        oGame.DrawText(280, 550, "save failed", 0xFFFFFF, oGame.m_pFont24, pExpected);
        EXPECT_GT(CountDifferentPixels(oGame.m_pScreenSurface, pExpected), 0) << "no text drawn";
        TapKey(&oGame, SDLK_RETURN);
        EXPECT_EQ(CountDifferentPixels(oGame.m_pScreenSurface, pExpected), 0)
            << "expected \"save failed\" over the level-complete screen";
        SDL_FreeSurface(pExpected);
        EXPECT_EQ(ReadFileBytes("save.txt"), strOld) << "the old save was changed";
        EXPECT_EQ(DirectoryNames(), setNames) << "a temporary file was left behind";
        EXPECT_FALSE(oGame.m_bSaveFound) << "a failed save counted as found";
        EXPECT_EQ(Status(), std::make_tuple(STATE_LEVEL_COMPLETE, 2, 1, 900, 0, 20))
            << "after the failed save";

        RunTicks(&oGame, 10);
        TapKey(&oGame, SDLK_UP);
        TapKey(&oGame, SDLK_RETURN);
        double dStartX = AsteroidAt(7)->m_dPosX, dStartY = AsteroidAt(7)->m_dPosY;
        RunTicks(&oGame, 100);
        EXPECT_EQ(std::make_tuple(oGame.m_iGameState, oGame.m_iLevel, oGame.m_iObjectListSize),
                  std::make_tuple(STATE_PLAYING, 3, 24));
        EXPECT_TRUE(AsteroidAt(10) && !oGame.GetObjectAt(11)) << "not the rocks of level 3";
        EXPECT_TRUE(AsteroidAt(7)->m_dPosX != dStartX || AsteroidAt(7)->m_dPosY != dStartY)
            << "the first rock of level 3 did not move in 100 ticks";
        EXPECT_TRUE(oGame.m_iScore > 900 && oGame.m_iScore + oGame.m_iPendingScore == 2900)
            << "expected the level bonus counting in: score " << oGame.m_iScore << ", pending "
            << oGame.m_iPendingScore;
    }

    // Entering "abc" for 4200 points leaves the table unwritten; the title menu runs.
    void ExpectRecordKeepsTheTableAndTheMenuRuns(const std::string& strOld)
    {
        MyProjectMain& oGame = *m_pGame;
        oGame.m_iGameState = STATE_GAME_OVER;
        oGame.m_iScore = 4200;
        oGame.m_iPendingScore = 0; // the game-over transition counted them in
        std::set<std::string> setNames = DirectoryNames();
        for (int iKey : {SDLK_a, SDLK_b, SDLK_c, SDLK_RETURN})
            TapKey(&oGame, iKey);
        EXPECT_EQ(ReadFileBytes("highscores.txt"), strOld) << "the old table was changed";
        EXPECT_EQ(DirectoryNames(), setNames) << "a temporary file was left behind";
        double dStartX = AsteroidAt(0)->m_dPosX, dStartY = AsteroidAt(0)->m_dPosY;
        RunTicks(&oGame, 100);
        EXPECT_EQ(Status(), std::make_tuple(STATE_MENU, 1, 3, 0, 0, 4)) << "after the name entry";
        EXPECT_TRUE(AsteroidAt(0)->m_dPosX != dStartX || AsteroidAt(0)->m_dPosY != dStartY)
            << "the title menu's first rock did not move in 100 ticks";
    }

    // Both writes fail as the game runs in a child that becomes user 65534 (nobody), who owns the
    // working directory and the files but cannot write szUnwritable; the child's failures are
    // printed as usual and reported by its exit status.
    void ExpectWritesFailAsNobody(const char* szUnwritable)
    {
        for (const char* szName : {".", "save.txt", "highscores.txt"})
            ASSERT_EQ(chown(szName, NOBODY, NOBODY), 0) << szName << ": " << strerror(errno);
        fflush(nullptr);
        pid_t iChild = fork();
        ASSERT_GE(iChild, 0) << strerror(errno);
        if (iChild == 0)
        {
            bool bReadOnly = setgroups(0, nullptr) == 0 && setgid(NOBODY) == 0 &&
                             setuid(NOBODY) == 0 && access(szUnwritable, W_OK) != 0;
            if (bReadOnly)
            {
                ExpectSaveFailsAndPlayGoesOn(OLD_SAVE);
                ExpectRecordKeepsTheTableAndTheMenuRuns(OLD_TABLE);
            }
            fflush(nullptr);
            _exit(!bReadOnly ? 2 : HasFailure() ? 1 : 0);
        }
        int iStatus = 0;
        ASSERT_EQ(waitpid(iChild, &iStatus, 0), iChild);
        EXPECT_TRUE(WIFEXITED(iStatus) && WEXITSTATUS(iStatus) == 0)
            << "the game as user " << NOBODY << " ended with wait status " << iStatus
            << " (exit 1: its checks failed, see above; 2: it could not drop root or could write)";
        EXPECT_EQ(ReadFileBytes("save.txt") + ReadFileBytes("highscores.txt"),
                  OLD_SAVE + OLD_TABLE);
    }

    std::string m_strMount;
};

TEST_F(DiskFaultsTest, ReadOnlyWorkingDirectoryFailsTheWritesAndKeepsTheOldFiles)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "becoming another user needs root";
    ASSERT_EQ(chmod(".", 0555), 0) << strerror(errno);
    ExpectWritesFailAsNobody(".");
}

// The player made both files read-only: they are not replaced, though the directory is writable.
TEST_F(DiskFaultsTest, ReadOnlyFilesFailTheWritesAndStayAsTheyWere)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "becoming another user needs root";
    for (const char* szFile : {"save.txt", "highscores.txt"})
        ASSERT_EQ(chmod(szFile, 0444), 0) << strerror(errno);
    ExpectWritesFailAsNobody("save.txt");
    struct stat oSave, oTable;
    EXPECT_TRUE(stat("save.txt", &oSave) == 0 && stat("highscores.txt", &oTable) == 0 &&
                (oSave.st_mode & 07777) == 0444 && (oTable.st_mode & 07777) == 0444)
        << "the files' permissions changed";
}

// The game keeps the directory it started in: a save after the directory was renamed and a new
// one put in its place goes into the renamed one; once it is removed, the save fails.
TEST_F(DiskFaultsTest, SaveFollowsTheRenamedWorkingDirectoryAndFailsOnceItIsRemoved)
{
    const std::string strMoved = m_strDirectory + "-moved";
    ASSERT_EQ(rename(m_strDirectory.c_str(), strMoved.c_str()), 0) << strerror(errno);
    ASSERT_EQ(mkdir(m_strDirectory.c_str(), 0700), 0) << strerror(errno);
    m_pGame->m_iGameState = STATE_LEVEL_COMPLETE;
    m_pGame->SaveGame();
    EXPECT_EQ(ReadFileBytes(strMoved + "/save.txt"), "level::2\nlives::3\nscore::0\n");
    EXPECT_FALSE(FileExists(PathOf("save.txt"))) << "saved into the new directory";
    ASSERT_EQ(system(("rm -r '" + strMoved + "'").c_str()), 0);
    ExpectSaveFailsAndPlayGoesOn("");
}

TEST_F(DiskFaultsTest, FullFileSystemFailsTheWritesAndKeepsTheOldFiles)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "mounting a small tmpfs needs root";
    ASSERT_EQ(mkdir("disk", 0755), 0);
    if (mount("tmpfs", PathOf("disk").c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a tmpfs here: " << strerror(errno);
    m_strMount = PathOf("disk");
    ASSERT_EQ(chdir("disk"), 0);
    WriteFileBytes("save.txt", OLD_SAVE);
    WriteFileBytes("highscores.txt", OLD_TABLE);
    WriteFileBytes("filler", std::string(100 * 4096, 'x'));
    ASSERT_LT(ReadFileBytes("filler").size(), 100 * 4096u) << "expected the 64k file system full";
    ExpectSaveFailsAndPlayGoesOn(OLD_SAVE);
    ExpectRecordKeepsTheTableAndTheMenuRuns(OLD_TABLE);
}
} // namespace
