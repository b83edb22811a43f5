#include "TestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

void WorkingDirectoryTest::SetUp()
{
    char szPrevious[4096];
    ASSERT_NE(getcwd(szPrevious, sizeof szPrevious), nullptr);
    m_strPreviousDirectory = szPrevious;

    char szTemplate[] = "/tmp/starshards-test-XXXXXX";
    ASSERT_NE(mkdtemp(szTemplate), nullptr);
    m_strDirectory = szTemplate;
    const char* apAssets[] = {
        "emulogic.ttf",         "bullet.jpg",           "life.jpg",
        "asteroid1.png",        "asteroid2.png",        "asteroid3.png",
        "asteroid1_medium.png", "asteroid2_medium.png", "asteroid3_medium.png",
        "asteroid1_small.png",  "asteroid2_small.png",  "asteroid3_small.png"};
    for (const char* szAsset : apAssets)
    {
        std::string strSource = std::string(STARSHARDS_ASSET_DIR) + "/" + szAsset;
        ASSERT_EQ(symlink(strSource.c_str(), PathOf(szAsset).c_str()), 0) << szAsset;
    }
    ASSERT_EQ(chdir(m_strDirectory.c_str()), 0);
}

void WorkingDirectoryTest::TearDown()
{
    if (chdir(m_strPreviousDirectory.c_str()) != 0)
        ADD_FAILURE() << "cannot return to " << m_strPreviousDirectory;
    std::string strCommand =
        "chmod -R u+rwx '" + m_strDirectory + "' && rm -rf '" + m_strDirectory + "'";
    if (system(strCommand.c_str()) != 0)
        ADD_FAILURE() << "cannot remove " << m_strDirectory;
}

std::string WorkingDirectoryTest::PathOf(const std::string& strName) const
{
    return m_strDirectory + "/" + strName;
}

void WorkingDirectoryTest::RemoveAsset(const std::string& strName)
{
    ASSERT_EQ(unlink(PathOf(strName).c_str()), 0) << strName;
}

void StartedEngineTest::Start(BaseEngine* pEngine)
{
    testing::internal::CaptureStdout();
    int iStatus = pEngine->StartUp("Starshards", 800, 600, "emulogic.ttf", 24);
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(iStatus, 0) << SDL_GetError();
}

void StartedEngineTest::TearDown()
{
    TTF_Quit();
    SDL_Quit();
    WorkingDirectoryTest::TearDown();
}

std::string ReadFileBytes(const std::string& strPath)
{
    std::ifstream oFile(strPath, std::ios::binary);
    std::ostringstream oBytes;
    oBytes << oFile.rdbuf();
    return oBytes.str();
}

void WriteFileBytes(const std::string& strPath, const std::string& strBytes)
{
    std::ofstream oFile(strPath, std::ios::binary | std::ios::trunc);
    oFile << strBytes;
}

bool FileExists(const std::string& strPath)
{
    struct stat oStatus;
    return stat(strPath.c_str(), &oStatus) == 0;
}

Uint32 PixelAt(SDL_Surface* pSurface, int iX, int iY)
{
    return static_cast<Uint32*>(pSurface->pixels)[iY * (pSurface->pitch / 4) + iX];
}

void FillSurface(SDL_Surface* pSurface, Uint32 iColour)
{
    SDL_FillRect(pSurface, nullptr, iColour);
}

SDL_Surface* NewSurface(int iWidth, int iHeight)
{
    return SDL_CreateRGBSurface(0, iWidth, iHeight, 32, 0xFF0000, 0x00FF00, 0x0000FF, 0);
}

int CountDifferentPixels(SDL_Surface* pA, SDL_Surface* pB)
{
    int iDifferent = 0;
    for (int iY = 0; iY < pA->h; iY++)
    {
        for (int iX = 0; iX < pA->w; iX++)
        {
            if ((PixelAt(pA, iX, iY) & 0xFFFFFF) != (PixelAt(pB, iX, iY) & 0xFFFFFF))
                iDifferent++;
        }
    }
    return iDifferent;
}

int CountPixels(SDL_Surface* pSurface, Uint32 iColour, int iX, int iY, int iWidth, int iHeight)
{
    int iCount = 0;
    for (int iRow = iY; iRow < iY + iHeight; iRow++)
    {
        for (int iColumn = iX; iColumn < iX + iWidth; iColumn++)
        {
            if ((PixelAt(pSurface, iColumn, iRow) & 0xFFFFFF) == iColour)
                iCount++;
        }
    }
    return iCount;
}

void PressKey(BaseEngine* pEngine, int iKey)
{
    if (iKey >= 0 && iKey < 324)
        pEngine->m_pKeyStates[iKey] = 1;
    pEngine->OnKeyDown(iKey);
}

void ReleaseKey(BaseEngine* pEngine, int iKey)
{
    if (iKey >= 0 && iKey < 324)
        pEngine->m_pKeyStates[iKey] = 0;
    pEngine->OnKeyUp(iKey);
}

void TapKey(BaseEngine* pEngine, int iKey)
{
    PressKey(pEngine, iKey);
    ReleaseKey(pEngine, iKey);
}

void RunTicks(BaseEngine* pEngine, int iTicks, bool bPresentFrames)
{
    for (int i = 0; i < iTicks; i++)
    {
        pEngine->m_iTickTime++;
        pEngine->RunGameTick();
        if (bPresentFrames)
            pEngine->PresentFrame();
    }
}
