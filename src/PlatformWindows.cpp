#include "Platform.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <algorithm>
#include <cstdlib>
#include <windows.h>

bool MoveReportedWindowToTopLeft(const SDL_SysWMinfo& oInfo)
{
    if (oInfo.window == nullptr)
        return false;
    return SetWindowPos(oInfo.window, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE) != 0;
}

void ShowDisplayRects(SDL_Surface* pDisplay, int iCount, SDL_Rect* pRects)
{
    SDL_UpdateRects(pDisplay, iCount, pRects);
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

// The game's file names are ASCII names in its working directory, taken as UTF-8 as any name
// given to these functions is; the folders around them can have any name (the player's own, in
// %LOCALAPPDATA%), which the ANSI functions turn into '?' where the code page cannot spell it. So
// every path is built and used in wide characters.
std::wstring WideName(const char* szFileName)
{
    int iSize = MultiByteToWideChar(CP_UTF8, 0, szFileName, -1, nullptr, 0);
    std::wstring strName(iSize > 0 ? iSize : 1, L'\0');
    if (iSize > 0)
        MultiByteToWideChar(CP_UTF8, 0, szFileName, -1, &strName[0], iSize);
    strName.resize(strName.size() - 1);
    return strName;
}

// Wine's ReplaceFile takes full paths only. Built to any length: near the length limit a relative
// name still stands for a full path that fits.
std::wstring FullPath(const std::wstring& strName)
{
    DWORD iSize = GetFullPathNameW(strName.c_str(), 0, nullptr, nullptr);
    std::wstring strPath(iSize, L'\0');
    DWORD iLength = iSize > 0 ? GetFullPathNameW(strName.c_str(), iSize, &strPath[0], nullptr) : 0;
    if (iLength == 0 || iLength >= iSize)
        return strName;
    strPath.resize(iLength);
    return strPath;
}

HANDLE OpenExisting(const std::wstring& strPath, DWORD iAccess)
{
    return CreateFileW(strPath.c_str(), iAccess, SHARE_ALL, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

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
    HANDLE hFile = OpenExisting(WideName(szFileName), GENERIC_READ);
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

// The attributes a player may have given the file, which the new file takes from its start: Wine's
// ReplaceFile carries none over, and Windows' may fail to.
const DWORD KEPT_ATTRIBUTES =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// A new file beside strPath, never one of the player's files, with those of iAttributes that are
// kept. Its name is no longer than the file's own (the last two characters made '~' and a letter
// or digit), so that wherever the file can be named, so can it, also near the length limit.
HANDLE CreateReplacement(const std::wstring& strPath, DWORD iAttributes, std::wstring& strTemporary)
{
    const wchar_t* szMarks = L"0123456789abcdefghijklmnopqrstuvwxyz";
    size_t iLeaf = strPath.find_last_of(L"\\/") + 1; // 0 when there is no directory part
    size_t iKept = strPath.size() >= iLeaf + 2 ? strPath.size() - 2 : strPath.size();
    strTemporary = strPath.substr(0, iKept) + L"~?";
    DWORD iKeptAttributes = iAttributes & KEPT_ATTRIBUTES;
    for (const wchar_t* pMark = szMarks; *pMark != L'\0'; pMark++)
    {
        strTemporary.back() = *pMark;
        HANDLE hFile =
            CreateFileW(strTemporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                        iKeptAttributes != 0 ? iKeptAttributes : FILE_ATTRIBUTE_NORMAL, nullptr);
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
    bool bWritten = SetFilePointerEx(hFile, oStart, nullptr, FILE_BEGIN) && SetEndOfFile(hFile) &&
                    WriteAll(hFile, strText) && FlushFileBuffers(hFile);
    return CloseHandle(hFile) && bWritten;
}

// A rename would replace a symbolic link or a junction itself rather than write through it, and
// leave a file's other hard links with the old content.
bool RenameWouldLoseSetUp(DWORD iAttributes, HANDLE hOld)
{
    BY_HANDLE_FILE_INFORMATION oInfo;
    return (iAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ||
           !GetFileInformationByHandle(hOld, &oInfo) || oInfo.nNumberOfLinks != 1;
}

// Another program (a virus scanner, an indexer, a backup tool) holding the file open without
// letting it be deleted stops a rename over it, where a plain write goes on. Such a hold is
// usually brief: it is waited out for a few short tries. Looked at before ReplaceFile, which under
// Wine would leave a temporary file of its own behind.
bool CanBeRenamedOver(const std::wstring& strPath)
{
    const int TRIES = 5, MILLISECONDS_APART = 10;
    for (int i = 0; i < TRIES; i++)
    {
        HANDLE hFile = OpenExisting(strPath, DELETE);
        if (hFile != INVALID_HANDLE_VALUE)
            return CloseHandle(hFile);
        if (GetLastError() != ERROR_SHARING_VIOLATION)
            return false;
        Sleep(MILLISECONDS_APART);
    }
    return false;
}

// How putting the new file in place went.
enum PutResult
{
    PUT_IN_PLACE,
    OLD_FILE_KEPT, // the old file has its name still, the new one has its own
    NEW_FILE_ASIDE // the old file has lost its name and the new one could not take it
};

// ReplaceFile gives the new file the old one's attributes, security and creation time, and only
// then takes its name; asked to ignore no merge error, it fails rather than lose what it could not
// carry over.
PutResult PutInPlace(const std::wstring& strPath, const std::wstring& strTemporary)
{
    if (ReplaceFileW(strPath.c_str(), strTemporary.c_str(), nullptr, 0, nullptr, nullptr))
        return PUT_IN_PLACE;
    DWORD iError = GetLastError();
    if (iError != ERROR_UNABLE_TO_MOVE_REPLACEMENT && iError != ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
        return OLD_FILE_KEPT;
    // The old file is gone, or lives on under another name (_2); the new one, the only copy of
    // the content, still has its own name.
    return MoveFileExW(strTemporary.c_str(), strPath.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? PUT_IN_PLACE
               : NEW_FILE_ASIDE;
}

// A symbolic link or a junction, by its own attributes, which Windows reads without following it.
bool IsLink(const std::wstring& strPath)
{
    DWORD iAttributes = GetFileAttributesW(strPath.c_str());
    return iAttributes != INVALID_FILE_ATTRIBUTES &&
           (iAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// A missing file is made by a rename too. Where its name is taken all the same by a symbolic link
// to a file that does not exist (its own attributes mark it), it is written through the link,
// creating that file, as a plain write does; a file that took the name meanwhile is left alone.
bool CreateByRename(const std::wstring& strPath, const std::string& strText)
{
    std::wstring strTemporary;
    HANDLE hNew = CreateReplacement(strPath, 0, strTemporary);
    if (hNew == INVALID_HANDLE_VALUE)
        return false;
    bool bWritten = WriteAndClose(hNew, strText);
    if (bWritten && MoveFileExW(strTemporary.c_str(), strPath.c_str(), MOVEFILE_WRITE_THROUGH))
        return true;
    DWORD iError = GetLastError();
    DeleteFileW(strTemporary.c_str());
    if (!bWritten || (iError != ERROR_ALREADY_EXISTS && iError != ERROR_FILE_EXISTS) ||
        !IsLink(strPath))
        return false;
    HANDLE hLinked = CreateFileW(strPath.c_str(), GENERIC_WRITE, SHARE_ALL, nullptr, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    return hLinked != INVALID_HANDLE_VALUE && WriteInPlace(hLinked, strText);
}

// Opened again as a plain write would open it, and written in place.
bool WriteInPlaceByName(const std::wstring& strPath, const std::string& strText)
{
    HANDLE hFile = OpenExisting(strPath, GENERIC_WRITE);
    return hFile != INVALID_HANDLE_VALUE && WriteInPlace(hFile, strText);
}
} // namespace

bool ReplaceFileContent(const char* szFileName, const std::string& strContent)
{
    std::string strText = WithWindowsLineEnds(strContent);
    std::wstring strPath = FullPath(WideName(szFileName));
    // Opened for writing as a plain write would open it, which also tells whether it may be
    // written at all: a read-only file is never replaced.
    HANDLE hOld = OpenExisting(strPath, GENERIC_WRITE);
    if (hOld == INVALID_HANDLE_VALUE)
        return IsMissing(GetLastError()) && CreateByRename(strPath, strText);
    // Wine run as root opens a read-only file for writing all the same: the attribute tells.
    DWORD iAttributes = GetFileAttributesW(strPath.c_str());
    if (!IsDiskFile(hOld) || iAttributes == INVALID_FILE_ATTRIBUTES ||
        (iAttributes & FILE_ATTRIBUTE_READONLY) != 0)
    {
        CloseHandle(hOld);
        return false;
    }
    std::wstring strTemporary;
    HANDLE hNew = RenameWouldLoseSetUp(iAttributes, hOld)
                      ? INVALID_HANDLE_VALUE
                      : CreateReplacement(strPath, iAttributes, strTemporary);
    // The directory takes no new file, or a rename would lose what the player set up.
    if (hNew == INVALID_HANDLE_VALUE)
        return WriteInPlace(hOld, strText);
    CloseHandle(hOld);
    bool bWritten = WriteAndClose(hNew, strText);
    // A new file without the attributes asked for could not stand in for the old one.
    bool bStandsIn = bWritten && (GetFileAttributesW(strTemporary.c_str()) & KEPT_ATTRIBUTES) ==
                                     (iAttributes & KEPT_ATTRIBUTES);
    PutResult eResult =
        bStandsIn && CanBeRenamedOver(strPath) ? PutInPlace(strPath, strTemporary) : OLD_FILE_KEPT;
    if (eResult == PUT_IN_PLACE)
        return true;
    // The new file is the only copy of the content: it stays, under its own name.
    if (eResult == NEW_FILE_ASIDE)
        return false;
    DeleteFileW(strTemporary.c_str());
    // Where the new file could not take the old one's place, a plain write still can.
    return bWritten && WriteInPlaceByName(strPath, strText);
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

// The file of a name, opened to be read. ReplaceFile is no single step (Wine's takes the old file
// away from the name before the new one takes it): a name another copy is replacing can be missing
// for a moment, and is looked for again a few times before it counts as missing.
HANDLE OpenThroughReplace(const std::wstring& strName, DWORD iAccess)
{
    const int TRIES = 10, MILLISECONDS_APART = 5;
    for (int i = 0;; i++)
    {
        HANDLE hFile = OpenExisting(strName, iAccess);
        if (hFile != INVALID_HANDLE_VALUE || !IsMissing(GetLastError()) || i == TRIES - 1)
            return hFile;
        Sleep(MILLISECONDS_APART);
    }
}

bool IsSameFile(HANDLE hA, HANDLE hB)
{
    BY_HANDLE_FILE_INFORMATION oA, oB;
    return GetFileInformationByHandle(hA, &oA) && GetFileInformationByHandle(hB, &oB) &&
           oA.dwVolumeSerialNumber == oB.dwVolumeSerialNumber &&
           oA.nFileIndexHigh == oB.nFileIndexHigh && oA.nFileIndexLow == oB.nFileIndexLow;
}

// Whether the file that has the name now is the one hFile holds.
bool StillNamed(const std::wstring& strName, HANDLE hFile)
{
    HANDLE hNamed = OpenThroughReplace(strName, 0);
    if (hNamed == INVALID_HANDLE_VALUE)
        return false;
    bool bSame = IsSameFile(hFile, hNamed);
    CloseHandle(hNamed);
    return bSame;
}
} // namespace

FileLock::FileLock(const char* szFileName) : m_hLockedFile(-1)
{
    // A copy that replaced the file while this one waited has left it a lock on a file that no
    // longer has the name: then the file that has it now is locked instead.
    std::wstring strName = WideName(szFileName);
    for (;;)
    {
        HANDLE hFile = OpenThroughReplace(strName, GENERIC_READ);
        if (hFile == INVALID_HANDLE_VALUE)
            return;
        if (!IsDiskFile(hFile) || !LockFarByte(hFile))
        {
            CloseHandle(hFile);
            return;
        }
        if (StillNamed(strName, hFile))
        {
            m_hLockedFile = reinterpret_cast<intptr_t>(hFile);
            return;
        }
        CloseHandle(hFile);
    }
}

FileLock::~FileLock()
{
    // INVALID_HANDLE_VALUE is -1 too.
    if (m_hLockedFile != -1)
        CloseHandle(reinterpret_cast<HANDLE>(m_hLockedFile)); // which releases the lock
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
