#include <gtest/gtest.h>

#ifdef _WIN32
#include <utility>
#include <windows.h>

#include "Platform.h"

// A console that lists the game alone was made for it (started from Explorer or the Start menu):
// its window is hidden. One a shell shares (started from cmd.exe) keeps showing the game's lines.
TEST(ConsoleTest, OnlyAConsoleMadeForTheGameAloneIsHidden)
{
    FreeConsole();
    ASSERT_TRUE(AllocConsole());
    HWND hConsole = GetConsoleWindow();
    ASSERT_NE(hConsole, nullptr);
    HideOwnConsoleWindow();
    bool bOwnShown = IsWindowVisible(hConsole);

    // The shell that started the game, on the same console.
    STARTUPINFOA oStartUp = {};
    oStartUp.cb = sizeof oStartUp;
    PROCESS_INFORMATION oShell;
    char szCommand[] = "cmd.exe /c pause";
    ASSERT_TRUE(CreateProcessA(nullptr, szCommand, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &oStartUp, &oShell));
    DWORD aiProcesses[2];
    while (GetConsoleProcessList(aiProcesses, 2) < 2)
        Sleep(1);
    ShowWindow(hConsole, SW_SHOW);
    HideOwnConsoleWindow();
    bool bSharedShown = IsWindowVisible(hConsole);
    TerminateProcess(oShell.hProcess, 0);
    CloseHandle(oShell.hThread);
    CloseHandle(oShell.hProcess);
    EXPECT_EQ(std::make_pair(bOwnShown, bSharedShown), std::make_pair(false, true));
}
#endif
