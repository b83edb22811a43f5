#ifndef FUZZGAME_H
#define FUZZGAME_H

// The started game that a fuzz target feeds its inputs to, and the files it exchanges with it.
#include <cstdint>
#include <cstdio>

#include "../play/PlayHarness.h"
#include "FileProperties.h"

inline void Require(const std::string& strProblem)
{
    if (strProblem.empty())
        return;
    fprintf(stderr, "%s\n", strProblem.c_str());
    RemoveSandbox(g_strProgramSandbox); // libFuzzer keeps the input that failed
    abort();
}

inline MyProjectMain* g_pGame;

// The game is started once, in a sandbox that holds only the font (no pictures to load per
// input), in memory where possible: the game flushes every table it writes to the disk.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    Require(EnterProgramSandbox(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp", "emulogic.ttf")
                ? ""
                : "cannot set up a working directory");
    g_pGame = new StarlessGame;
    Require(StartGame(g_pGame) == 0 ? "" : SDL_GetError());
    return 0;
}

inline void WriteWholeFile(const char* szName, const uint8_t* pData, size_t iSize)
{
    std::string strBytes(reinterpret_cast<const char*>(pData), iSize);
    Require(WriteFileBytes(szName, strBytes) ? "" : std::string("cannot write ") + szName);
}

#endif
