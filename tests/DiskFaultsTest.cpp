#include "GameTestSupport.h"

#include <cerrno>
#include <cstring>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>

namespace
{
const std::string OLD_SAVE = "level::5\nlives::1\nscore::10\n";
const std::string OLD_TABLE = "old::900\nxyz::1";
const int NOBODY = 65534;

using DiskFaultsTest = GameTest;

// Runs the save and a high-score entry in a child that becomes user 65534 (nobody), who owns the
// working directory and both files but cannot write szUnwritable. Exit 0: both writes failed
// cleanly; 1: a check failed; 2: the child could not drop root or could still write.
int SaveAndRecordAsNobody(MyProjectMain& oGame, const char* szUnwritable)
{
    fflush(nullptr);
    pid_t iChild = fork();
    if (iChild != 0)
    {
        int iStatus = -1;
        waitpid(iChild, &iStatus, 0);
        return WIFEXITED(iStatus) ? WEXITSTATUS(iStatus) : -1;
    }
    if (setgroups(0, nullptr) != 0 || setgid(NOBODY) != 0 || setuid(NOBODY) != 0 ||
        access(szUnwritable, W_OK) == 0)
        _exit(2);
    std::set<std::string> setNames = DirectoryNames();
    oGame.m_bSaveFound = false;
    oGame.m_iGameState = STATE_LEVEL_COMPLETE;
    oGame.SaveGame();
    strcpy(oGame.m_szName, "abc");
    oGame.m_iScore = 4200;
    oGame.RecordHighScore();
    EXPECT_FALSE(oGame.m_bSaveFound) << "a failed save counted as found";
    EXPECT_EQ(DirectoryNames(), setNames) << "a temporary file was left behind";
    _exit(testing::Test::HasFailure() ? 1 : 0);
}

// A read-only working directory, or read-only files in a writable one: nothing is replaced.
TEST_F(DiskFaultsTest, WritesThePlayerCannotMakeFailAndKeepTheOldFiles)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "becoming another user needs root";
    for (const char* szUnwritable : {".", "save.txt"})
    {
        SCOPED_TRACE(szUnwritable);
        ASSERT_EQ(chmod(".", 0755), 0);
        WriteFileBytes("save.txt", OLD_SAVE);
        WriteFileBytes("highscores.txt", OLD_TABLE);
        for (const char* szName : {".", "save.txt", "highscores.txt"})
            ASSERT_EQ(chown(szName, NOBODY, NOBODY), 0) << szName << ": " << strerror(errno);
        bool bDirectory = strcmp(szUnwritable, ".") == 0;
        for (const char* szName : {".", "save.txt", "highscores.txt"})
        {
            bool bDot = szName[0] == '.';
            ASSERT_EQ(chmod(szName, bDot ? (bDirectory ? 0555 : 0755) : (bDirectory ? 0644 : 0444)),
                      0);
        }
        EXPECT_EQ(SaveAndRecordAsNobody(*m_pGame, szUnwritable), 0);
        EXPECT_EQ(ReadFileBytes("save.txt") + ReadFileBytes("highscores.txt"),
                  OLD_SAVE + OLD_TABLE);
        struct stat oSave;
        EXPECT_TRUE(bDirectory ||
                    (stat("save.txt", &oSave) == 0 && (oSave.st_mode & 07777) == 0444));
    }
    ASSERT_EQ(chmod(".", 0755), 0);
}
} // namespace
