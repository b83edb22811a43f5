#include "GameTestSupport.h"

#include <algorithm>
#include <climits>
#include <sys/stat.h>

namespace
{
class SaveGameTest : public GameTest
{
protected:
    // Pixels in which the screen differs from the background with one 24-point text on it.
    int DifferencesFromBackgroundWith(int iX, int iY, const char* szText)
    {
        EXPECT_NE(m_pGame->m_pFont24->m_pFont, nullptr) << "24-point font not open";
        SDL_Surface* pExpected = NewSurface(800, 600);
        SDL_BlitSurface(m_pGame->m_pBackdropSurface, nullptr, pExpected, nullptr);
        m_pGame->DrawText(iX, iY, szText, 0xFFFFFF, m_pGame->m_pFont24, pExpected);
        int iDifferent = CountDifferentPixels(m_pGame->m_pScreenSurface, pExpected);
        SDL_FreeSurface(pExpected);
        return iDifferent;
    }
    // Play of the level: ship, six bullets, level + 1 asteroids (31 from level 30 on), then the
    // end of the list.
    void ExpectPlayOfLevel(int iLevel)
    {
        int iRocks = std::min(iLevel, 30) + 1;
        EXPECT_EQ(m_pGame->m_iGameState, STATE_PLAYING) << "level " << iLevel;
        EXPECT_TRUE(TheShip() && AsteroidAt(iRocks + 6) && !m_pGame->GetObjectAt(iRocks + 7))
            << "not the list of level " << iLevel;
    }
};

TEST_F(SaveGameTest, SaveCountsPendingPointsStoresTheNextLevelAndLoadsBack)
{
    MyProjectMain& oGame = *m_pGame;
    oGame.m_iGameState = STATE_LEVEL_COMPLETE;
    oGame.m_iLives = 2;
    oGame.m_iScore = 1500;
    oGame.m_iPendingScore = 200;
    for (int iSave = 1; iSave <= 2; iSave++)
    {
        oGame.SaveGame();
        EXPECT_EQ(ReadFileBytes("save.txt"), "level::2\nlives::2\nscore::1700\n")
            << "save " << iSave;
        EXPECT_EQ(std::make_tuple(oGame.m_iScore, oGame.m_iPendingScore, oGame.m_iGameState),
                  std::make_tuple(1700, 0, STATE_LEVEL_COMPLETE))
            << "save " << iSave;
    }
    oGame.m_iLives = 3;
    oGame.m_iScore = 0;
    oGame.m_iGameState = STATE_MENU;
    oGame.LoadGame();
    EXPECT_EQ(std::make_tuple(oGame.m_iLevel, oGame.m_iLives, oGame.m_iScore),
              std::make_tuple(2, 2, 1700));
    ExpectPlayOfLevel(2);
}

TEST_F(SaveGameTest, SaveShowsGameSavedOrSaveFailedAndAFailedSaveKeepsTheOldFile)
{
    MyProjectMain& oGame = *m_pGame;
    const std::string strOld = "level::5\nlives::1\nscore::10\n";
    // A directory in the save's place stands in the way of the write.
    for (bool bSaved : {true, false})
    {
        remove("save.txt");
        if (bSaved)
            WriteFileBytes("save.txt", strOld);
        else
        {
            ASSERT_EQ(mkdir("save.txt", 0755), 0);
            WriteFileBytes("save.txt/keep", "x");
        }
        oGame.m_bSaveFound = false;
        oGame.m_iUpdateRectCount = 0;
        oGame.CopyBackgroundToScreen();
        oGame.SaveGame();
        EXPECT_EQ(DifferencesFromBackgroundWith(280, 550, bSaved ? "game saved" : "save failed"), 0)
            << "saved: " << bSaved;
        SDL_Rect oRect = oGame.m_pUpdateRects[0];
        EXPECT_EQ(std::make_tuple(oGame.m_iUpdateRectCount, oRect.x, oRect.y, oRect.w, oRect.h),
                  std::make_tuple(1, 280, 550, 800, 55))
            << "the message's rectangle queued alone, saved: " << bSaved;
        EXPECT_EQ(oGame.m_bSaveFound, bSaved);
        EXPECT_EQ(ReadFileBytes("save.txt"), bSaved ? "level::2\nlives::3\nscore::0\n" : "");
        EXPECT_EQ(FileExists("save.txt/keep"), !bSaved);
    }
}

// Both files are written through a link to the file it names, keep their permission bits, and
// leave the player's other files alone, even those named like a temporary file.
TEST_F(SaveGameTest, ReplacingAFileKeepsTheLinksModesAndFilesThePlayerSetUp)
{
    MyProjectMain& oGame = *m_pGame;
    ASSERT_EQ(mkdir("mine", 0755), 0);
    WriteFileBytes("mine/save", "old");
    ASSERT_EQ(chmod("mine/save", 0604), 0);
    ASSERT_EQ(symlink("mine/save", "save.txt"), 0);
    ASSERT_EQ(chmod("highscores.txt", 0640), 0);
    for (const char* szStray : {"save.txt.new", "highscores.txt.new", "mine/save.new"})
        WriteFileBytes(szStray, "player's own");
    std::set<std::string> setNames = DirectoryNames(), setMine = DirectoryNames("mine");

    oGame.m_iGameState = STATE_LEVEL_COMPLETE;
    oGame.SaveGame();
    strcpy(oGame.m_szName, "abc");
    oGame.m_iScore = 50000;
    oGame.RecordHighScore();

    EXPECT_TRUE(oGame.m_bSaveFound);
    struct stat oStatus;
    EXPECT_TRUE(lstat("save.txt", &oStatus) == 0 && S_ISLNK(oStatus.st_mode)) << "link replaced";
    EXPECT_EQ(ReadFileBytes("mine/save"), "level::2\nlives::3\nscore::0\n");
    for (auto [szFile, iMode] : {std::pair("mine/save", 0604u), {"highscores.txt", 0640u}})
        EXPECT_TRUE(stat(szFile, &oStatus) == 0 && (oStatus.st_mode & 07777) == iMode) << szFile;
    EXPECT_EQ(ReadFileBytes("highscores.txt").substr(0, 22), "abc::50000\noru::39400\n");
    for (const char* szStray : {"save.txt.new", "highscores.txt.new", "mine/save.new"})
        EXPECT_EQ(ReadFileBytes(szStray), "player's own") << szStray;
    EXPECT_EQ(DirectoryNames(), setNames);
    EXPECT_EQ(DirectoryNames("mine"), setMine);
}

TEST_F(SaveGameTest, LoadTakesTheValuesByLinePositionWithinTheirRanges)
{
    MyProjectMain& oGame = *m_pGame;
    const std::tuple<const char*, int, int, int> aCases[] = {
        // file, level, lives and score loaded; before loading: level 6, lives 2, score 999
        {"a:7\nb:1\nc:250\n", 7, 1, 250},
        {"level::3:9\nlives::2\nscore::5\n", 9, 2, 5},
        {"level::4\r\nlives::1\r\nscore::30\r\n", 4, 1, 30},
        {"a:7\nb:1\n", 7, 1, 999},
        {"a:7\nb:1", 7, 1, 1},
        {"level 4\n\nscore::8\n", 6, 2, 8},
        {"level::0\nlives::9\nscore::-5\n", 1, 3, 0},
        {"level::-3\nlives::-1\nscore::99999999999\n", 1, 0, INT_MAX},
        {"level::25\nlives::1\nscore::1\n", 25, 1, 1},
        {"level::10000\nlives::1\nscore::1\n", 9999, 1, 1},
        {"level::99999999999\nlives::1\nscore::1\n", 9999, 1, 1},
    };
    for (const auto& oCase : aCases)
    {
        WriteFileBytes("save.txt", std::get<0>(oCase));
        oGame.m_iGameState = STATE_MENU;
        oGame.m_iLevel = 6;
        oGame.m_iLives = 2;
        oGame.m_iScore = 999;
        oGame.m_bSaveFound = false;
        oGame.LoadGame();
        EXPECT_EQ(
            std::make_tuple(std::get<0>(oCase), oGame.m_iLevel, oGame.m_iLives, oGame.m_iScore),
            oCase);
        EXPECT_TRUE(oGame.m_bSaveFound) << std::get<0>(oCase);
        ExpectPlayOfLevel(std::get<1>(oCase));
    }
}

TEST_F(SaveGameTest, LoadedLevelTwentyFiveIsShownAsLevel25)
{
    MyProjectMain& oGame = *m_pGame;
    WriteFileBytes("save.txt", "level::25\nlives::1\nscore::1\n");
    oGame.LoadGame();
    ExpectPlayOfLevel(25);
    oGame.CopyBackgroundToScreen();
    oGame.DrawOverlayText();
    // The level's corner of the bottom strip holds that text alone.
    SDL_Surface* pExpected = NewSurface(800, 600);
    SDL_BlitSurface(oGame.m_pScreenSurface, nullptr, pExpected, nullptr);
    SDL_Rect oCorner = {700, 565, 100, 35};
    SDL_BlitSurface(oGame.m_pBackdropSurface, &oCorner, pExpected, &oCorner);
    oGame.DrawText(700, 575, "Level 25", 0xFFFFFF, oGame.m_pFont12, pExpected);
    EXPECT_EQ(CountDifferentPixels(oGame.m_pScreenSurface, pExpected), 0);
    SDL_FreeSurface(pExpected);
}

TEST_F(SaveGameTest, LoadOfASaveThatIsADirectoryStaysOnTheTitleMenu)
{
    MyProjectMain& oGame = *m_pGame;
    ASSERT_EQ(mkdir("save.txt", 0755), 0);
    oGame.m_iMenuSelection = MENU_LOAD_GAME;
    oGame.m_bSaveFound = true;
    DisplayableObject** ppList = oGame.m_ppObjects;
    TapKey(&oGame, SDLK_RETURN);
    EXPECT_TRUE(!oGame.m_bSaveFound && oGame.m_iGameState == STATE_MENU &&
                oGame.m_ppObjects == ppList)
        << "expected the title menu kept and no save found";
}
} // namespace
