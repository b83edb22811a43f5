#ifndef FUZZGAME_H
#define FUZZGAME_H

// The started game that a fuzz target feeds its inputs to, and the files it exchanges with it.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

#include "FileProperties.h"

inline std::string g_strDirectory;

inline void RemoveDirectory()
{
    if (system(("rm -rf '" + g_strDirectory + "'").c_str()) != 0)
        fprintf(stderr, "cannot remove %s\n", g_strDirectory.c_str());
}

inline void Require(const std::string& strProblem)
{
    if (strProblem.empty())
        return;
    fprintf(stderr, "%s\n", strProblem.c_str());
    RemoveDirectory(); // libFuzzer keeps the input that failed
    abort();
}

// In a temporary working directory that holds only the font: no pictures to load per input.
inline MyProjectMain* StartGameInTemporaryDirectory()
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    // In memory where possible: the game flushes every table it writes to the disk.
    g_strDirectory = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    g_strDirectory += "/starshards-fuzz-XXXXXX";
    Require(mkdtemp(&g_strDirectory[0]) != nullptr && chdir(g_strDirectory.c_str()) == 0 &&
                    symlink(FONT_PATH, "emulogic.ttf") == 0
                ? ""
                : "cannot set up a working directory");
    atexit(RemoveDirectory);
    MyProjectMain* pGame = new StarlessGame;
    Require(pGame->StartUp("Starshards", 800, 600, "emulogic.ttf", 24) == 0 ? "" : SDL_GetError());
    return pGame;
}

inline void WriteWholeFile(const char* szName, const uint8_t* pData, size_t iSize)
{
    std::ofstream oFile(szName, std::ios::binary | std::ios::trunc);
    oFile.write(reinterpret_cast<const char*>(pData), static_cast<std::streamsize>(iSize));
    Require(oFile.flush().good() ? "" : std::string("cannot write ") + szName);
}

inline std::string ReadWholeFile(const char* szName)
{
    std::ifstream oFile(szName, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(oFile), {});
}

#endif
