#ifndef TESTSUPPORT_H
#define TESTSUPPORT_H

#include <filesystem>
#include <gtest/gtest.h>
#include <set>

#include "MyProjectMain.h"
#include "Sandbox.h"

// The names in a directory, "." and ".." left out; a file left behind shows up here.
inline std::set<std::string> DirectoryNames(const std::string& strDirectory = ".")
{
    std::set<std::string> setNames;
    std::error_code oError; // an unreadable directory lists nothing
    for (const auto& oEntry : std::filesystem::directory_iterator(strDirectory, oError))
        setNames.insert(oEntry.path().filename().string());
    return setNames;
}

// Every test runs in a fresh temporary working directory holding links to the files the game loads
// and nothing else, so files the game writes (highscores.txt, save.txt) never touch the repository.
class WorkingDirectoryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_strDirectory = EnterSandbox();
        ASSERT_NE(m_strDirectory, "") << "cannot make a working directory with the assets";
        ASSERT_EQ(DirectoryNames().size(), 12u) << "not the font and the 11 pictures alone";
    }
    void TearDown() override
    {
        std::error_code oError; // out of the sandbox before it goes
        std::filesystem::current_path(std::filesystem::u8path(m_strDirectory).parent_path(),
                                      oError);
        EXPECT_FALSE(oError) << oError.message();
        EXPECT_TRUE(RemoveSandbox(m_strDirectory)) << "cannot remove " << m_strDirectory;
    }
    std::string m_strDirectory;
};

// A started engine or game on an 800 by 600 dummy screen.
class StartedEngineTest : public WorkingDirectoryTest
{
protected:
    void TearDown() override
    {
        TTF_Quit();
        SDL_Quit();
        WorkingDirectoryTest::TearDown();
    }
    // Starts the engine as the program does; stdout lines are swallowed.
    void Start(BaseEngine* pEngine)
    {
        testing::internal::CaptureStdout();
        int iStatus = StartGame(pEngine);
        testing::internal::GetCapturedStdout();
        ASSERT_EQ(iStatus, 0) << SDL_GetError();
    }
};

// A text file's bytes as the game writes them: its lines end as the system's text files do.
inline std::string TextFile(std::string strLines)
{
#ifdef _WIN32
    for (size_t i = 0; (i = strLines.find('\n', i)) != std::string::npos; i += 2)
        strLines.insert(i, 1, '\r');
#endif
    return strLines;
}

// Sets an environment variable, or removes it when szValue is null.
inline void SetEnvironment(const char* szName, const char* szValue)
{
#ifdef _WIN32
    _putenv_s(szName, szValue ? szValue : ""); // an empty value removes it
#else
    szValue ? setenv(szName, szValue, 1) : unsetenv(szName);
#endif
}

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
// Number of pixels of the given colour inside a rectangle of a surface.
inline int CountPixels(SDL_Surface* pSurface, Uint32 iColour, int iX, int iY, int iWidth,
                       int iHeight)
{
    int iCount = 0;
    for (int i = 0; i < iWidth * iHeight; i++)
        iCount += (PixelAt(pSurface, iX + i % iWidth, iY + i / iWidth) & 0xFFFFFF) == iColour;
    return iCount;
}
// Number of pixels that differ between two surfaces of the same size.
inline int CountDifferentPixels(SDL_Surface* pA, SDL_Surface* pB)
{
    int iDifferent = 0;
    for (int iY = 0; iY < pA->h; iY++)
        for (int iX = 0; iX < pA->w; iX++)
            iDifferent += (PixelAt(pA, iX, iY) & 0xFFFFFF) != (PixelAt(pB, iX, iY) & 0xFFFFFF);
    return iDifferent;
}
#endif
