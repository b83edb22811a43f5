#ifndef SANDBOX_H
#define SANDBOX_H

// Free of gtest for the headless players and fuzz targets: the game in a fresh working directory
// with links to its files, fed keys and ticks as the main loop does.
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "BaseEngine.h"

// Removes a sandbox, also when a test took its permissions away. True when it is gone.
inline bool RemoveSandbox(const std::string& strDirectory)
{
    std::string strQuoted = "'" + strDirectory + "'";
    return strDirectory.empty() ||
           system(("chmod -R u+rwx " + strQuoted + "; rm -rf " + strQuoted).c_str()) == 0;
}

// The files the game loads from its working directory, and only those: any other file in assets/
// (a table, a save left there) would become every test's own, and be written through its link.
inline const char* const GAME_FILES[] = {
    "emulogic.ttf",  "bullet.jpg",           "life.jpg",
    "asteroid1.png", "asteroid1_medium.png", "asteroid1_small.png",
    "asteroid2.png", "asteroid2_medium.png", "asteroid2_small.png",
    "asteroid3.png", "asteroid3_medium.png", "asteroid3_small.png"};

// Makes a new directory under szParent holding links to the game's files (only strOnly when
// given) and changes into it. Returns its path, or "" when that fails.
inline std::string EnterSandbox(const char* szParent = "/tmp", const std::string& strOnly = "")
{
    std::string strDirectory = std::string(szParent) + "/starshards-XXXXXX";
    bool bLinked = mkdtemp(&strDirectory[0]) != nullptr;
    for (std::string strName : GAME_FILES)
    {
        std::string strAsset = STARSHARDS_ASSET_DIR "/" + strName;
        if (bLinked && (strOnly.empty() || strName == strOnly))
            bLinked = symlink(strAsset.c_str(), (strDirectory + "/" + strName).c_str()) == 0;
    }
    if (bLinked && chdir(strDirectory.c_str()) == 0)
        return strDirectory;
    RemoveSandbox(strDirectory);
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

// Runs the game's tick for iTicks consecutive milliseconds, each followed by a frame by default.
inline void RunTicks(BaseEngine* pEngine, int iTicks = 1, bool bPresentFrames = true)
{
    for (int i = 0; i < iTicks; i++)
    {
        pEngine->m_iTickTime++;
        pEngine->RunGameTick();
        if (bPresentFrames)
            pEngine->PresentFrame();
    }
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
