#include "GameTestSupport.h"

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
    // Play of the level: ship, six bullets, level + 1 asteroids, then the end of the list.
    void ExpectPlayOfLevel(int iLevel)
    {
        EXPECT_EQ(m_pGame->m_iGameState, STATE_PLAYING) << "level " << iLevel;
        EXPECT_TRUE(TheShip() && AsteroidAt(iLevel + 7) && !m_pGame->GetObjectAt(iLevel + 8))
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
    // The directory standing in the way of the write; none for the save that succeeds.
    for (std::string strBlocker : {"", "save.txt.new", "save.txt"})
    {
        remove("save.txt");
        if (strBlocker != "save.txt")
            WriteFileBytes("save.txt", strOld);
        if (!strBlocker.empty())
        {
            ASSERT_EQ(mkdir(strBlocker.c_str(), 0755), 0);
            WriteFileBytes(strBlocker + "/keep", "x");
        }
        oGame.m_bSaveFound = false;
        oGame.m_iUpdateRectCount = 0;
        oGame.CopyBackgroundToScreen();
        oGame.SaveGame();
        bool bSaved = strBlocker.empty();
        EXPECT_EQ(DifferencesFromBackgroundWith(280, 550, bSaved ? "game saved" : "save failed"), 0)
            << "blocked by " << strBlocker;
        SDL_Rect oRect = oGame.m_pUpdateRects[0];
        EXPECT_EQ(std::make_tuple(oGame.m_iUpdateRectCount, oRect.x, oRect.y, oRect.w, oRect.h),
                  std::make_tuple(1, 280, 550, 800, 55))
            << "the message's rectangle queued alone, blocked by " << strBlocker;
        EXPECT_EQ(oGame.m_bSaveFound, bSaved) << "blocked by " << strBlocker;
        EXPECT_EQ(ReadFileBytes("save.txt"), bSaved ? "level::2\nlives::3\nscore::0\n"
                                             : strBlocker == "save.txt" ? ""
                                                                        : strOld)
            << "blocked by " << strBlocker;
        if (!bSaved)
        {
            EXPECT_TRUE(FileExists(strBlocker + "/keep")) << strBlocker;
            ASSERT_EQ(system(("rm -r " + strBlocker).c_str()), 0);
        }
    }
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
        {"level::99999999999\nlives::1\nscore::1\n", MyProjectMain::MAX_LEVEL, 1, 1},
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
