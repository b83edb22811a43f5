#ifndef TESTSUPPORT_H
#define TESTSUPPORT_H

#include <SDL.h>
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "MyProjectMain.h"
#include "Sandbox.h"

// Every test runs in a fresh temporary working directory that holds links to the game's assets,
// so files the game writes (highscores.txt, save.txt) never touch the repository.
class WorkingDirectoryTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Path of a file inside the temporary working directory.
    std::string PathOf(const std::string& strName) const { return m_strDirectory + "/" + strName; }

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

inline Uint32 PixelAt(SDL_Surface* pSurface, int iX, int iY)
{
    return static_cast<Uint32*>(pSurface->pixels)[iY * (pSurface->pitch / 4) + iX];
}
inline void FillSurface(SDL_Surface* pSurface, Uint32 iColour)
{
    SDL_FillRect(pSurface, nullptr, iColour);
}
// A new 32-bit software surface in the screen's 0xRRGGBB layout.
inline SDL_Surface* NewSurface(int iWidth, int iHeight)
{
    return SDL_CreateRGBSurface(0, iWidth, iHeight, 32, 0xFF0000, 0x00FF00, 0x0000FF, 0);
}
// Number of pixels that differ between two surfaces of the same size.
int CountDifferentPixels(SDL_Surface* pA, SDL_Surface* pB);
// Number of pixels of the given colour inside a rectangle of a surface.
int CountPixels(SDL_Surface* pSurface, Uint32 iColour, int iX, int iY, int iWidth, int iHeight);
// The names in a directory, "." and ".." left out; a file left behind shows up here.
std::set<std::string> DirectoryNames(const std::string& strDirectory = ".");

#endif
