#include "GameTestSupport.h"

#include <array>
#include <cstring>
#include <vector>

#include "PixelImage.h"

namespace
{
using ScreensTest = GameTest;
using Rect = std::array<int, 4>;
using Text = std::tuple<int, int, std::string, int>; // x, y, text, points

// Draws a whole-screen frame's overlay without the moving objects, on stale red in the play
// screen's strips that it must wipe. The screen must then be the background with the texts in
// white in the game's fonts and iIcons life icons; the queued rectangles must be vQueued.
void ExpectScreen(MyProjectMain& oGame, const std::vector<Text>& vTexts,
                  const std::vector<Rect>& vQueued, const std::string& strCase, int iIcons = 0)
{
    oGame.m_iUpdateRectCount = 0;
    oGame.CopyBackgroundToScreen();
    SDL_Rect aStrips[] = {{0, 0, 800, 35}, {0, 565, 800, 35}};
    for (int i = 0; oGame.m_iGameState == STATE_PLAYING && i < 2; i++)
        SDL_FillRect(oGame.m_pScreenSurface, &aStrips[i], 0xFF0000);
    oGame.DrawOverlayText();
    SDL_Surface* pExpected =
        SDL_ConvertSurface(oGame.m_pBackdropSurface, oGame.m_pBackdropSurface->format, 0);
    for (const auto& [iX, iY, strText, iPoints] : vTexts)
    {
        FontEntry* pFont = oGame.m_oFontCache.LookUpFont("emulogic.ttf", iPoints);
        EXPECT_NE(pFont->m_pFont, nullptr) << "font of " << iPoints << " points not open";
        oGame.DrawText(iX, iY, strText.c_str(), 0xFFFFFF, pFont, pExpected);
    }
    for (int i = 0; i < iIcons; i++)
        oGame.m_pLifeIconLeft->DrawImage(pExpected, 0, 0, 85 + 20 * i, 17, 16, 16);
    EXPECT_EQ(CountDifferentPixels(oGame.m_pScreenSurface, pExpected), 0) << strCase;
    SDL_FreeSurface(pExpected);
    std::vector<Rect> vRects;
    for (SDL_Rect* p = oGame.m_pUpdateRects; p < oGame.m_pUpdateRects + oGame.m_iUpdateRectCount;
         p++)
        vRects.push_back({p->x, p->y, p->w, p->h});
    EXPECT_EQ(vRects, vQueued) << strCase;
}

// One draw per pixel of the band between the strips, column by column: a star where rand() % 700
// is 0. A second paint takes the draws after the first's: every screen gets a new sky.
TEST_F(ScreensTest, StarFieldKeepsTheHudBandsBlackAndFollowsTheSeed)
{
    SDL_Surface* pSky = m_pGame->m_pBackdropSurface;
    srand(7);
    m_pGame->PaintBackground();
    m_pGame->PaintBackground();
    srand(7);
    int iWrongPixels = 0;
    for (int i = 0; i < 2 * 800 * 600; i++) // column by column, the first sky's pixels passed over
    {
        bool bStar = i % 600 >= 35 && i % 600 < 580 && rand() % 700 == 0;
        Uint32 iPixel = PixelAt(pSky, i / 600 % 800, i % 600) & 0xFFFFFF;
        iWrongPixels += i >= 800 * 600 && iPixel != (bStar ? 0xFFFFFFu : 0u);
    }
    EXPECT_EQ(iWrongPixels, 0) << "pixels unlike the second sky of seed 7";
}

// Up and Down wipe every item strip, from the item's large x to the right edge and 55 rows high,
// also at a limit: the item drawn large for the old selection must go.
TEST_F(ScreensTest, MenusWipeEveryStripOnUpOrDownHighlightTheItemAndShowNoSaveGameWithoutASave)
{
    MyProjectMain& oGame = *m_pGame;
    const Uint32 INK = 0x123456;
    SDL_Surface* pScreen = oGame.m_pScreenSurface;
    // The title menu's items, then the level-complete menu's, item i % 4 at y 200 + 100 (i % 4):
    // highlighted in 46 points at the first x, otherwise in 24 points at the second.
    const std::tuple<int, int, const char*> aItems[] = {
        {216, 305, "New Game"}, {193, 294, "Load Game"},  {149, 270, "High Scores"},
        {309, 353, "Exit"},     {172, 282, "Next Level"}, {195, 294, "Save Game"},
        {195, 294, "Main Menu"}};
    for (int iCase = 0; iCase < 7; iCase++) // item iCase selected
    {
        bool bTitle = iCase < 4;
        oGame.m_iGameState = bTitle ? STATE_MENU : STATE_LEVEL_COMPLETE;
        oGame.m_iMenuSelection = iCase % 4 + 1;
        FillSurface(pScreen, INK);
        TapKey(&oGame, iCase % 2 == 0 ? SDLK_UP : SDLK_DOWN); // at a limit on items 1 and 4
        oGame.m_iMenuSelection = iCase % 4 + 1;
        oGame.m_bSaveFound = iCase % 2 == 0;
        int iWiped = 0;
        std::vector<Text> vTexts = {{51, 50, "LEVEL COMPLETE", 50}};
        std::vector<Rect> vQueued = {{172, 200, 800, 55}, {195, 300, 800, 55}, {195, 400, 800, 55}};
        if (bTitle)
        {
            vTexts = {{45, 10, "STARSHARDS", 72},
                      {263, 115, "Created by orvane", 12},
                      {650, 575, "Version: " STARSHARDS_MAJOR_MINOR, 12},
                      {256, 550, "no save game", 24}};
            vQueued = {{0, 0, 800, 50},     {263, 115, 800, 50}, {216, 200, 375, 55},
                       {193, 300, 425, 55}, {149, 400, 800, 55}, {309, 500, 185, 55},
                       {256, 550, 800, 55}, {650, 575, 800, 55}};
            if (oGame.m_bSaveFound) // no "no save game" line
                vTexts.pop_back(), vQueued.erase(vQueued.end() - 2);
        }
        for (int i = bTitle ? 0 : 4; i < (bTitle ? 4 : 7); i++)
        {
            const auto& [iLargeX, iSmallX, szText] = aItems[i];
            int iY = 200 + 100 * (i % 4);
            vTexts.push_back({i == iCase ? iLargeX : iSmallX, iY, szText, i == iCase ? 46 : 24});
            EXPECT_EQ(CountPixels(pScreen, INK, iLargeX, iY, 800 - iLargeX, 55), 0) << iY;
            iWiped += (800 - iLargeX) * 55;
        }
        EXPECT_EQ(CountPixels(pScreen, INK, 0, 0, 800, 600), 800 * 600 - iWiped);
        ExpectScreen(oGame, vTexts, vQueued, "item " + std::to_string(iCase % 4 + 1));
    }
}

TEST_F(ScreensTest, HighScoreTableDrawsTheRowsPresentInTheFile)
{
    std::string strTwelveLines = ReadFileBytes("highscores.txt") + "\nzzz::1\nyyy::2\n";
    const std::pair<const char*, std::vector<std::string>> aCases[] = {
        {nullptr, {}}, // no file
        {strTwelveLines.c_str(),
         {"1. oru 39400", "2. fen 20000", "3. zol 15600", "4. wyr 13500", "5. kha 10000",
          "6. mip 9500", "7. tzo 8700", "8. lun 5400", "9. vek 5000", "10. qrx 3200"}},
        {"abc::100\r\nde\n\nxyz::0042", {"1. abc 100", "2. de ", "3.  ", "4. xyz 0042"}}};
    m_pGame->m_iGameState = STATE_HIGH_SCORES;
    for (const auto& [szFile, vRows] : aCases)
    {
        remove("highscores.txt");
        if (szFile != nullptr)
            WriteFileBytes("highscores.txt", szFile);
        std::vector<Text> vTexts = {{149, 10, "High Scores", 46}, {148, 530, "press enter", 46}};
        std::vector<Rect> vQueued = {{149, 10, 800, 55}};
        for (int i = 0; i < static_cast<int>(vRows.size()); i++)
        {
            vTexts.push_back({i == 9 ? 226 : 250, 100 + 40 * i, vRows[i], 24});
            vQueued.push_back({i == 9 ? 226 : 250, 100 + 40 * i, 800, 40});
        }
        ExpectScreen(*m_pGame, vTexts, vQueued, szFile ? szFile : "(no file)");
    }
}

// The game-over screen queues nothing: every change to it asks for a whole-screen frame.
TEST_F(ScreensTest, GameOverCentresTheScoreByDigitCountAndPromptsForTheName)
{
    MyProjectMain& oGame = *m_pGame;
    // Score, name, its length, x of the score, the prompt and its x.
    const std::tuple<int, const char*, int, int, const char*, int> aCases[] = {
        {0, "ab_", 2, 386, "enter name", 179}, {123456, "abc", 3, 316, "press enter", 148}};
    oGame.m_iGameState = STATE_GAME_OVER;
    for (const auto& [iScore, szName, iNameLength, iScoreX, szPrompt, iPromptX] : aCases)
    {
        oGame.m_iScore = iScore;
        strcpy(oGame.m_szName, szName);
        oGame.m_iNameLength = iNameLength;
        ExpectScreen(oGame,
                     {{79, 50, "GAME OVER", 72},
                      {148, 200, "Final Score", 46},
                      {iScoreX, 275, std::to_string(iScore), 24},
                      {296, 350, szName, 72},
                      {iPromptX, 500, szPrompt, 46}},
                     {}, "score " + std::to_string(iScore) + ", name " + szName);
    }
}

TEST_F(ScreensTest, PlayScreenRedrawsBothStripsWithScoreLivesBulletsAndLevel)
{
    MyProjectMain& oGame = *m_pGame;
    EnterPlay(7);
    for (int i = 1; i <= 6; i++)
        BulletAt(i)->m_bActive = i != 2 && i != 5;
    RunTicks(m_pGame); // the tick counts them
    // Lives, score, paused (by Escape); the score and lives shown.
    const std::tuple<int, int, bool, const char*, int> aCases[] = {
        {3, 1700, false, "Score: 0000001700", 3},
        {1, 49999, false, "Score: 0000049999", 1},
        {0, 1700, false, "Score: 0000001700", 0},
        {4, 1700, true, "Score: 0000001700", 0}};
    ASSERT_EQ(oGame.m_pLifeIconLeft->GetWidth(), 16) << "life icon not loaded";
    for (const auto& [iLives, iScore, bPaused, szShownScore, iShownLives] : aCases)
    {
        std::tie(oGame.m_iLives, oGame.m_iScore) = std::tie(iLives, iScore);
        if (oGame.m_bPaused != bPaused)
            TapKey(m_pGame, SDLK_ESCAPE);
        oGame.m_bRedrawNeeded = false;
        std::vector<Text> vTexts = {{281, 10, "STARSHARDS", 24},
                                    {585, 20, szShownScore, 12},
                                    {15, 20, "Lives:", 12},
                                    {10, 575, "Bullets: 2", 12},
                                    {700, 575, "Level 7", 12},
                                    {187, 100, "paused", 72},
                                    {50, 400, "press enter to quit", 36}};
        std::vector<Rect> vQueued = {{0, 0, 800, 35}, {0, 565, 800, 35}, {50, 100, 800, 600}};
        vTexts.resize(bPaused ? 7 : 5); // the last two lines and rectangle while paused only
        vQueued.resize(bPaused ? 3 : 2);
        std::string strCase = std::string(szShownScore) + ", lives " + std::to_string(iLives);
        ExpectScreen(oGame, vTexts, vQueued, strCase, iShownLives);
        EXPECT_EQ(oGame.m_bRedrawNeeded, bPaused) << "pause keeps frames coming, " << strCase;
    }
}
} // namespace
