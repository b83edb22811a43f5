#ifndef TESTSUPPORT_H
#define TESTSUPPORT_H

#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

#include "BaseEngine.h"
#include "MyProjectMain.h"

// Every test runs in a fresh temporary working directory that holds links to the game's assets,
// so files the game writes (highscores.txt, save.txt) never touch the repository.
class WorkingDirectoryTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Path of a file inside the temporary working directory.
    std::string PathOf(const std::string& strName) const;
    // Removes an asset link, so the game finds the file missing.
    void RemoveAsset(const std::string& strName);

    std::string m_strDirectory;

private:
    std::string m_strPreviousDirectory;
};

// A started engine or game on an 800 by 600 dummy screen.
class StartedEngineTest : public WorkingDirectoryTest
{
protected:
    void TearDown() override;
    // Starts the engine as the program does; stdout lines are swallowed.
    void Start(BaseEngine* pEngine);
};

// Reading and writing whole files as bytes.
std::string ReadFileBytes(const std::string& strPath);
void WriteFileBytes(const std::string& strPath, const std::string& strBytes);
bool FileExists(const std::string& strPath);

// The 32-bit pixel at (iX, iY) of a surface.
Uint32 PixelAt(SDL_Surface* pSurface, int iX, int iY);
// Fills a whole surface with one colour.
void FillSurface(SDL_Surface* pSurface, Uint32 iColour);
// A new 32-bit software surface in the screen's 0xRRGGBB layout.
SDL_Surface* NewSurface(int iWidth, int iHeight);
// Number of pixels that differ between two surfaces of the same size.
int CountDifferentPixels(SDL_Surface* pA, SDL_Surface* pB);
// Number of pixels of the given colour inside a rectangle of a surface.
int CountPixels(SDL_Surface* pSurface, Uint32 iColour, int iX, int iY, int iWidth, int iHeight);

// Presses and releases keys through the game's own handlers, keeping the key table in step as
// the main loop would.
void PressKey(BaseEngine* pEngine, int iKey);
void ReleaseKey(BaseEngine* pEngine, int iKey);
void TapKey(BaseEngine* pEngine, int iKey);

// Runs the game's tick for iTicks consecutive milliseconds from the current tick time,
// presenting a frame after each, as the main loop does.
void RunTicks(BaseEngine* pEngine, int iTicks, bool bPresentFrames = true);

#endif
