#ifndef SANDBOX_H
#define SANDBOX_H

// Free of gtest for the headless players and fuzz targets: the game in a fresh working directory
// with links to its files, fed keys and ticks as the main loop does.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "BaseEngine.h"
#include "LoopClock.h"

// Removes a sandbox (or a file) named in UTF-8, also when a test took its permissions away or made
// a file read-only. True when it is gone.
inline bool RemoveSandbox(const std::string& strName)
{
    namespace fs = std::filesystem;
    std::error_code oError;
    auto fnAllowAll = [&](const fs::path& oPath)
    { fs::permissions(oPath, fs::perms::owner_all, fs::perm_options::add, oError); };
    const fs::path oDirectory = fs::u8path(strName);
    if (strName.empty())
        return true;
    if (!fs::is_symlink(fs::symlink_status(oDirectory, oError)))
        fnAllowAll(oDirectory);
    for (fs::recursive_directory_iterator it(oDirectory, oError), end; it != end;
         it.increment(oError))
        if (!it->is_symlink())
            fnAllowAll(it->path());
    fs::remove_all(oDirectory, oError);
    return !oError;
}

// The files the game loads from its working directory, and only those: any other file in assets/
// (a table, a save left there) would become every test's own, and be written through its link.
inline const char* const GAME_FILES[] = {
    "emulogic.ttf",  "bullet.jpg",           "life.jpg",
    "asteroid1.png", "asteroid1_medium.png", "asteroid1_small.png",
    "asteroid2.png", "asteroid2_medium.png", "asteroid2_small.png",
    "asteroid3.png", "asteroid3_medium.png", "asteroid3_small.png"};

// Makes a new directory under szParent (the temporary directory when none is given) holding links
// to the game's files (only strOnly when given) and changes into it. Where links cannot be made
// (Windows without the right to), it holds copies. Its name has letters no Western ANSI code page
// spells. Returns its path in UTF-8, or "" when that fails.
inline std::string EnterSandbox(const char* szParent = nullptr, const std::string& strOnly = "")
{
    namespace fs = std::filesystem;
    std::error_code oError;
    // Made absolute while the working directory is still the one the test started in (on
    // Windows, a path from the root takes the current drive).
    static const fs::path oAssets = fs::absolute(STARSHARDS_ASSET_DIR);
    fs::path oParent = szParent ? fs::path(szParent) : fs::temp_directory_path(oError), oDirectory;
    std::random_device oRandom;
    for (int i = 0; i < 100 && oDirectory.empty() && !oError; i++)
    {
        fs::path oNew = oParent / fs::u8path("starshards-\xd0\xb8\xd0\xb3\xd1\x80\xd0\xb0-" +
                                             std::to_string(oRandom()));
        if (fs::create_directory(oNew, oError)) // false when it exists already
            oDirectory = oNew;
    }
    bool bMade = !oDirectory.empty();
    for (std::string strName : GAME_FILES)
        if (bMade && (strOnly.empty() || strName == strOnly))
        {
            fs::create_symlink(oAssets / strName, oDirectory / strName, oError);
            bMade = !oError || fs::copy_file(oAssets / strName, oDirectory / strName, oError);
        }
    if (bMade)
        fs::current_path(oDirectory, oError);
    if (bMade && !oError)
        return oDirectory.u8string();
    RemoveSandbox(oDirectory.u8string());
    return "";
}

// Starts the engine as the program does: 800 by 600, the font at 24 points. Returns its status.
inline int StartGame(BaseEngine* pEngine)
{
    return pEngine->StartUp("Starshards", 800, 600, "emulogic.ttf", 24);
}

// A key event through the game's handlers, with the key table kept in step as the main loop does.
inline void SetKey(BaseEngine* pEngine, int iKey, bool bDown)
{
    if (iKey >= 0 && iKey < 324)
        pEngine->m_pKeyStates[iKey] = bDown;
    bDown ? pEngine->OnKeyDown(iKey) : pEngine->OnKeyUp(iKey);
}
inline void TapKey(BaseEngine* pEngine, int iKey)
{
    SetKey(pEngine, iKey, true);
    SetKey(pEngine, iKey, false);
}

// The main loop's clock in a test: the pass at the time given, and no waiting.
struct SetClock : LoopClock
{
    explicit SetClock(int iTime) : m_iTime(iTime) {}
    int ReadTickTime() override { return m_iTime; }
    void WaitUntil(int iDue) override { m_iWaitedUntil = iDue; }
    int m_iTime;
    int m_iWaitedUntil = 0; // 0 when the pass did not wait
};

// A pass of the main loop at tick time iTime, handling the events queued for it; returns the tick
// time it would have slept until.
inline int RunPassAt(BaseEngine* pEngine, int iTime)
{
    SetClock oClock(iTime);
    pEngine->RunLoopPass(oClock);
    return oClock.m_iWaitedUntil;
}

// Passes of the main loop for iTicks consecutive milliseconds.
inline void RunTicks(BaseEngine* pEngine, int iTicks = 1)
{
    for (int i = 0; i < iTicks; i++)
        RunPassAt(pEngine, LoopClock::TickAfter(pEngine->m_iTickTime, 1));
}

// The bytes of a file; "" when it cannot be read, also when it is a directory.
inline std::string ReadFileBytes(const std::string& strPath)
{
    std::ostringstream oBytes;
    oBytes << std::ifstream(strPath, std::ios::binary).rdbuf();
    return oBytes.str();
}

// True when all the bytes reached the file.
inline bool WriteFileBytes(const std::string& strPath, const std::string& strBytes)
{
    std::ofstream oFile(strPath, std::ios::binary | std::ios::trunc);
    return (oFile << strBytes).flush().good();
}

#endif
