#include "Platform.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

bool MoveReportedWindowToTopLeft(const SDL_SysWMinfo& oInfo)
{
    if (oInfo.window == nullptr)
        return false;
    return SetWindowPos(oInfo.window, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE) != 0;
}

bool MoveWindowToTopLeft()
{
    SDL_SysWMinfo oInfo;
    SDL_VERSION(&oInfo.version);
    // No window-manager information (the dummy driver): no move.
    if (SDL_GetWMInfo(&oInfo) <= 0)
        return false;
    return MoveReportedWindowToTopLeft(oInfo);
}

// Windows shows the icon that SDL gave the window.
void ShowIconToWindowManager(SDL_Surface*) {}

// Windows has no display connection to lose.
void EndProgramOnLostDisplay() {}

void PreferNearestPixelScaling()
{
    if (getenv("SDL12COMPAT_SCALE_METHOD") == nullptr)
        _putenv_s("SDL12COMPAT_SCALE_METHOD", "nearest");
}

namespace
{
// Windows 10 1803's flag, which older MinGW-w64 headers lack; older Windows refuse it.
const DWORD HIGH_RESOLUTION_TIMER = 0x00000002;

// Sleep alone rounds up to the system's timer tick, about 15.6 ms: a high-resolution waitable
// timer keeps the game's one-millisecond waits short where Windows has one.
HANDLE IdleTimer()
{
    static HANDLE hTimer = nullptr;
    if (hTimer == nullptr)
        hTimer = CreateWaitableTimerExW(nullptr, nullptr, HIGH_RESOLUTION_TIMER, TIMER_ALL_ACCESS);
    if (hTimer == nullptr)
        hTimer = CreateWaitableTimerW(nullptr, TRUE, nullptr);
    return hTimer;
}
} // namespace

bool SleepUntilInput(int iMicroseconds)
{
    HANDLE hTimer = IdleTimer();
    LARGE_INTEGER oDue;
    oDue.QuadPart = -10LL * iMicroseconds; // relative, in 100 ns units
    bool bTimed = hTimer != nullptr && SetWaitableTimer(hTimer, &oDue, 0, nullptr, nullptr, FALSE);
    DWORD iTimeout = bTimed ? INFINITE : static_cast<DWORD>((iMicroseconds + 999) / 1000);
    // Messages SDL left in the queue count too: they are the window's input.
    DWORD iWoken = MsgWaitForMultipleObjectsEx(bTimed ? 1 : 0, &hTimer, iTimeout, QS_ALLINPUT,
                                               MWMO_INPUTAVAILABLE);
    return iWoken == WAIT_OBJECT_0 + (bTimed ? 1 : 0);
}

namespace
{
const DWORD SHARE_ALL = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// A file on a disk: not a console, a device or a pipe.
bool IsDiskFile(HANDLE hFile)
{
    return GetFileType(hFile) == FILE_TYPE_DISK;
}

bool IsMissing(DWORD iError)
{
    return iError == ERROR_FILE_NOT_FOUND || iError == ERROR_PATH_NOT_FOUND;
}
} // namespace

FileReadResult ReadFileContent(const char* szFileName, size_t iMaxBytes, std::string& strContent)
{
    strContent.clear();
    // A directory does not open without FILE_FLAG_BACKUP_SEMANTICS; a pipe's open never waits.
    HANDLE hFile = CreateFileA(szFileName, GENERIC_READ, SHARE_ALL, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return IsMissing(GetLastError()) ? FILE_MISSING : FILE_UNREADABLE;
    if (!IsDiskFile(hFile))
    {
        CloseHandle(hFile);
        return FILE_UNREADABLE;
    }
    char acBuffer[4096];
    FileReadResult eResult = FILE_READ_OK;
    while (strContent.size() < iMaxBytes)
    {
        DWORD iRead = 0;
        if (!ReadFile(hFile, acBuffer, sizeof acBuffer, &iRead, nullptr))
        {
            eResult = FILE_UNREADABLE;
            break;
        }
        if (iRead == 0)
            break;
        strContent.append(acBuffer, std::min<size_t>(iRead, iMaxBytes - strContent.size()));
    }
    CloseHandle(hFile);
    return eResult;
}

namespace
{
// Files are text: the game's "\n" line ends are written as Windows' CR LF.
std::string WithWindowsLineEnds(const std::string& strContent)
{
    std::string strText;
    strText.reserve(strContent.size() + strContent.size() / 16);
    for (char c : strContent)
    {
        if (c == '\n')
            strText += '\r';
        strText += c;
    }
    return strText;
}

bool WriteAll(HANDLE hFile, const std::string& strText)
{
    size_t iWritten = 0;
    while (iWritten < strText.size())
    {
        DWORD iChunk = static_cast<DWORD>(std::min<size_t>(strText.size() - iWritten, 1 << 20));
        DWORD iResult = 0;
        if (!WriteFile(hFile, strText.data() + iWritten, iChunk, &iResult, nullptr) || iResult == 0)
            return false;
        iWritten += iResult;
    }
    return true;
}

// A new file of a name of our own making beside strPath, never one of the player's files.
HANDLE CreateReplacement(const std::string& strPath, std::string& strTemporary)
{
    for (int i = 0; i < 100; i++)
    {
        strTemporary = strPath + "." + std::to_string(GetCurrentProcessId()) + "-" +
                       std::to_string(i) + ".tmp";
        HANDLE hFile = CreateFileA(strTemporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
        if (hFile != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS)
            return hFile;
    }
    return INVALID_HANDLE_VALUE;
}

bool WriteAndClose(HANDLE hFile, const std::string& strText)
{
    bool bWritten = WriteAll(hFile, strText) && FlushFileBuffers(hFile);
    return CloseHandle(hFile) && bWritten;
}

// What a plain write does: the file emptied, written again from its start and flushed.
bool WriteInPlace(HANDLE hFile, const std::string& strText)
{
    LARGE_INTEGER oStart = {};
    return SetFilePointerEx(hFile, oStart, nullptr, FILE_BEGIN) && SetEndOfFile(hFile) &&
           WriteAll(hFile, strText) && FlushFileBuffers(hFile);
}

// A rename would replace a symbolic link or a junction itself rather than write through it, and
// leave a file's other hard links with the old content.
bool RenameWouldLoseSetUp(const char* szFileName, HANDLE hOld)
{
    DWORD iAttributes = GetFileAttributesA(szFileName);
    BY_HANDLE_FILE_INFORMATION oInfo;
    return (iAttributes != INVALID_FILE_ATTRIBUTES &&
            (iAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) ||
           !GetFileInformationByHandle(hOld, &oInfo) || oInfo.nNumberOfLinks != 1;
}

std::string FullPath(const char* szFileName)
{
    char acPath[MAX_PATH];
    DWORD iLength = GetFullPathNameA(szFileName, sizeof acPath, acPath, nullptr);
    return iLength > 0 && iLength < sizeof acPath ? std::string(acPath, iLength) : szFileName;
}

// ReplaceFile gives the new file the old one's attributes, security and creation time, and only
// then takes its name. Wine's takes full paths only.
bool PutInPlace(const char* szFileName, const std::string& strTemporary)
{
    if (ReplaceFileA(FullPath(szFileName).c_str(), FullPath(strTemporary.c_str()).c_str(), nullptr,
                     REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
        return true;
    // The old file is gone already and the new one still has its own name.
    return GetLastError() == ERROR_UNABLE_TO_MOVE_REPLACEMENT &&
           MoveFileExA(strTemporary.c_str(), szFileName,
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

bool CreateByRename(const char* szFileName, const std::string& strText)
{
    std::string strTemporary;
    HANDLE hNew = CreateReplacement(szFileName, strTemporary);
    if (hNew == INVALID_HANDLE_VALUE)
        return false;
    bool bDone = WriteAndClose(hNew, strText) &&
                 MoveFileExA(strTemporary.c_str(), szFileName, MOVEFILE_WRITE_THROUGH);
    if (!bDone)
        DeleteFileA(strTemporary.c_str());
    return bDone;
}
} // namespace

bool ReplaceFileContent(const char* szFileName, const std::string& strContent)
{
    std::string strText = WithWindowsLineEnds(strContent);
    // Opened for writing as a plain write would open it, which also tells whether it may be
    // written at all: a read-only file is never replaced.
    HANDLE hOld = CreateFileA(szFileName, GENERIC_WRITE, SHARE_ALL, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hOld == INVALID_HANDLE_VALUE)
        return IsMissing(GetLastError()) && CreateByRename(szFileName, strText);
    if (!IsDiskFile(hOld))
    {
        CloseHandle(hOld);
        return false;
    }
    std::string strTemporary;
    HANDLE hNew = RenameWouldLoseSetUp(szFileName, hOld)
                      ? INVALID_HANDLE_VALUE
                      : CreateReplacement(szFileName, strTemporary);
    // The directory takes no new file, or a rename would lose what the player set up.
    if (hNew == INVALID_HANDLE_VALUE)
    {
        bool bWritten = WriteInPlace(hOld, strText);
        return CloseHandle(hOld) && bWritten;
    }
    CloseHandle(hOld);
    bool bReplaced = WriteAndClose(hNew, strText) && PutInPlace(szFileName, strTemporary);
    if (!bReplaced)
        DeleteFileA(strTemporary.c_str());
    return bReplaced;
}

namespace
{
// Windows locks are mandatory: a locked byte holds off reads and writes of others, even ours
// through another handle. The lock stands on a byte far past the end of any real file.
const DWORD LOCK_OFFSET_HIGH = 0x40000000;

bool LockFarByte(HANDLE hFile)
{
    OVERLAPPED oAt = {};
    oAt.OffsetHigh = LOCK_OFFSET_HIGH;
    return LockFileEx(hFile, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &oAt) != 0;
}

bool IsSameFile(HANDLE hA, HANDLE hB)
{
    BY_HANDLE_FILE_INFORMATION oA, oB;
    return GetFileInformationByHandle(hA, &oA) && GetFileInformationByHandle(hB, &oB) &&
           oA.dwVolumeSerialNumber == oB.dwVolumeSerialNumber &&
           oA.nFileIndexHigh == oB.nFileIndexHigh && oA.nFileIndexLow == oB.nFileIndexLow;
}

// Whether the file that has the name now is the one hFile holds.
bool StillNamed(const char* szFileName, HANDLE hFile)
{
    HANDLE hNamed = CreateFileA(szFileName, 0, SHARE_ALL, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hNamed == INVALID_HANDLE_VALUE)
        return false;
    bool bSame = IsSameFile(hFile, hNamed);
    CloseHandle(hNamed);
    return bSame;
}
} // namespace

FileLock::FileLock(const char* szFileName) : m_iLockedFile(-1)
{
    // A copy that replaced the file while this one waited has left it a lock on a file that no
    // longer has the name: then the file that has it now is locked instead.
    for (;;)
    {
        HANDLE hFile = CreateFileA(szFileName, GENERIC_READ, SHARE_ALL, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
        if (hFile == INVALID_HANDLE_VALUE)
            return;
        if (!IsDiskFile(hFile) || !LockFarByte(hFile))
        {
            CloseHandle(hFile);
            return;
        }
        if (StillNamed(szFileName, hFile))
        {
            // Held as a C library descriptor, whose close also closes the handle and the lock.
            m_iLockedFile = _open_osfhandle(reinterpret_cast<intptr_t>(hFile), _O_RDONLY);
            if (m_iLockedFile < 0)
                CloseHandle(hFile);
            return;
        }
        CloseHandle(hFile);
    }
}

FileLock::~FileLock()
{
    if (m_iLockedFile >= 0)
        _close(m_iLockedFile);
}

std::string WorkingDirectory()
{
    DWORD iLength = GetCurrentDirectoryW(0, nullptr);
    std::wstring strWide(iLength, L'\0');
    iLength = GetCurrentDirectoryW(iLength, &strWide[0]);
    if (iLength == 0 || iLength >= strWide.size())
        return std::string();
    int iBytes =
        WideCharToMultiByte(CP_UTF8, 0, strWide.c_str(), iLength, nullptr, 0, nullptr, nullptr);
    std::string strPath(iBytes, '\0');
    WideCharToMultiByte(CP_UTF8, 0, strWide.c_str(), iLength, &strPath[0], iBytes, nullptr,
                        nullptr);
    return strPath;
}

// A console that lists this program alone was made for it: started from a shell, the shell is
// attached too. Hidden, not freed, so the program's lines still have somewhere to go.
void HideOwnConsoleWindow()
{
    DWORD aiProcesses[2];
    HWND hConsole = GetConsoleWindow();
    if (hConsole != nullptr && GetConsoleProcessList(aiProcesses, 2) == 1)
        ShowWindow(hConsole, SW_HIDE);
}
