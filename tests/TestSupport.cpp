#include "TestSupport.h"

#include <cstring>

void WorkingDirectoryTest::SetUp()
{
    char szPrevious[4096];
    ASSERT_NE(getcwd(szPrevious, sizeof szPrevious), nullptr);
    m_strPreviousDirectory = szPrevious;
    m_strDirectory = EnterSandbox();
    ASSERT_NE(m_strDirectory, "") << "cannot make a working directory with the assets";
}

void WorkingDirectoryTest::TearDown()
{
    if (chdir(m_strPreviousDirectory.c_str()) != 0)
        ADD_FAILURE() << "cannot return to " << m_strPreviousDirectory;
    if (!RemoveSandbox(m_strDirectory))
        ADD_FAILURE() << "cannot remove " << m_strDirectory;
}

void StartedEngineTest::Start(BaseEngine* pEngine)
{
    testing::internal::CaptureStdout();
    int iStatus = StartGame(pEngine);
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(iStatus, 0) << SDL_GetError();
}

void StartedEngineTest::TearDown()
{
    TTF_Quit();
    SDL_Quit();
    WorkingDirectoryTest::TearDown();
}

int CountDifferentPixels(SDL_Surface* pA, SDL_Surface* pB)
{
    int iDifferent = 0;
    for (int iY = 0; iY < pA->h; iY++)
        for (int iX = 0; iX < pA->w; iX++)
            iDifferent += (PixelAt(pA, iX, iY) & 0xFFFFFF) != (PixelAt(pB, iX, iY) & 0xFFFFFF);
    return iDifferent;
}

std::set<std::string> DirectoryNames(const std::string& strDirectory)
{
    std::set<std::string> setNames;
    DIR* pDirectory = opendir(strDirectory.c_str());
    while (dirent* pEntry = pDirectory != nullptr ? readdir(pDirectory) : nullptr)
    {
        if (strcmp(pEntry->d_name, ".") != 0 && strcmp(pEntry->d_name, "..") != 0)
            setNames.insert(pEntry->d_name);
    }
    if (pDirectory != nullptr)
        closedir(pDirectory);
    return setNames;
}

int CountPixels(SDL_Surface* pSurface, Uint32 iColour, int iX, int iY, int iWidth, int iHeight)
{
    int iCount = 0;
    for (int iRow = iY; iRow < iY + iHeight; iRow++)
        for (int iColumn = iX; iColumn < iX + iWidth; iColumn++)
            iCount += (PixelAt(pSurface, iColumn, iRow) & 0xFFFFFF) == iColour;
    return iCount;
}
