#include <map>
#include <string_view>

#include "Asteroid.h"
#include "Bullet.h"
#include "DisplayableObject.h"
#include "TestSupport.h"

// What the engine pushed: "{x,y,w,h;...}" per SDL_UpdateRects, which this function replaces in
// this program. When g_pDisplay is set, the pushed areas of
// the screen are also copied there, as a display would show them.
static std::string g_strPushed;
static SDL_Surface* g_pDisplay = nullptr;

static std::string Show(SDL_Surface* pScreen, SDL_Rect oArea)
{
    std::string strArea = std::to_string(oArea.x) + "," + std::to_string(oArea.y) + "," +
                          std::to_string(oArea.w) + "," + std::to_string(oArea.h);
    if (g_pDisplay != nullptr)
        SDL_BlitSurface(pScreen, &oArea, g_pDisplay, &oArea);
    return strArea;
}

void SDL_UpdateRects(SDL_Surface* pScreen, int iCount, SDL_Rect* pRects)
{
    g_strPushed += "{";
    for (int i = 0; i < iCount; i++)
        g_strPushed += Show(pScreen, pRects[i]) + ";";
    g_strPushed += "}";
}

const Uint32 YELLOW = 0xFFFF00, BLUE = 0x0000FF, GREEN = 0x00FF00, MAGENTA = 0xFF00FF;
const Uint32 INK = 0x3080C0; // every channel its own value

// Its overlay writes "HI" at (200, 200), and again in a font that failed, and paints a green
// square over the top-left corner, and queues it.
struct OverlayEngine : BaseEngine
{
    OverlayEngine() : BaseEngine(100) {}
    void DrawOverlayText() override
    {
        DrawText(200, 200, "HI", INK, nullptr, nullptr);
        DrawText(400, 400, "HI", INK, m_oFontCache.LookUpFont("missing.ttf", 24), nullptr);
        SDL_Rect oSquare{0, 0, 50, 50};
        SDL_FillRect(m_pScreenSurface, &oSquare, GREEN);
        QueueUpdateRect(0, 0, 50, 50);
    }
};

// Presents one frame with the given flags; returns what it pushed.
static std::string Present(BaseEngine& oEngine, bool bRedrawNeeded, bool bWholeScreen)
{
    g_strPushed.clear();
    oEngine.m_bRedrawNeeded = bRedrawNeeded;
    oEngine.m_bWholeScreenRedraw = bWholeScreen;
    oEngine.PresentFrame();
    return g_strPushed;
}

using RedrawCycleTest = StartedEngineTest;

// On a screen that must be locked for pixel access, as a display's own memory is: text and
// background copies are blits, which SDL refuses on a locked surface.
TEST_F(RedrawCycleTest, FramesAreDrawnOnlyWhenDueAndWholeScreenFramesKeepTheQueue)
{
    OverlayEngine oEngine;
    Start(&oEngine);
    std::tie(oEngine.m_iPushIntervalMs, oEngine.m_bPushWholeScreens) = std::make_pair(0, false);
    SDL_Surface* pScreen = oEngine.m_pScreenSurface;
    Uint32 iFlags = pScreen->flags;
    pScreen->flags |= SDL_HWSURFACE;
    ASSERT_TRUE(SDL_MUSTLOCK(pScreen));
    oEngine.m_ppObjects = new DisplayableObject* [2] { new DisplayableObject(&oEngine), nullptr };
    oEngine.m_ppObjects[0]->m_iPosX = oEngine.m_ppObjects[0]->m_iPosY = 40; // under the overlay
    oEngine.ClearBackground(YELLOW);
    FillSurface(pScreen, BLUE);
    oEngine.QueueUpdateRect(100, 2, 3, 4);
    EXPECT_EQ(Present(oEngine, false, true), "") << "a whole-screen frame, but none due";
    EXPECT_EQ(CountPixels(pScreen, BLUE, 0, 0, 800, 600), 800 * 600) << "drawn, not due";
    EXPECT_EQ(Present(oEngine, true, true), "{0,0,800,600;}");
    EXPECT_FALSE(oEngine.m_bRedrawNeeded || oEngine.m_bWholeScreenRedraw) << "flags consumed";
    EXPECT_EQ(PixelAt(pScreen, 400, 300) & 0xFFFFFF, YELLOW) << "the base background";
    EXPECT_EQ(PixelAt(pScreen, 10, 10) & 0xFFFFFF, GREEN) << "the overlay";
    int iInk = CountPixels(pScreen, INK, 200, 200, 100, 50);
    EXPECT_TRUE(iInk > 20 && CountPixels(pScreen, INK, 0, 0, 800, 600) == iInk) << "the text";
    EXPECT_EQ(CountPixels(pScreen, YELLOW, 200, 200, 100, 50), 100 * 50 - iInk)
        << "the background shows between the letters";
    EXPECT_EQ(PixelAt(pScreen, 45, 45) & 0xFFFFFF, MAGENTA) << "the object, over the overlay";
    EXPECT_EQ(oEngine.m_iUpdateRectCount, 2) << "the earlier and the overlay's rectangle wait";

    oEngine.ClearBackground(BLUE);
    // The second overlay square and the object's rectangle lie inside the first square.
    EXPECT_EQ(Present(oEngine, true, false), "{100,2,3,4;0,0,50,50;}");
    EXPECT_EQ(PixelAt(pScreen, 45, 45) & 0xFFFFFF, GREEN) << "partial: overlay over the object";
    EXPECT_EQ(PixelAt(pScreen, 400, 300) & 0xFFFFFF, YELLOW) << "new background, partial frame";
    Present(oEngine, true, true);
    EXPECT_EQ(PixelAt(pScreen, 400, 300) & 0xFFFFFF, BLUE) << "new background, whole screen";
    // At the display's pace: a whole-screen frame and the changes asked for after it are owed to
    // the next push, which carries the whole screen.
    oEngine.m_iPushIntervalMs = 17;
    oEngine.m_iLastPushTime = 1000;
    for (auto [iTime, bWhole, strPushed] :
         {std::make_tuple(1005, true, ""), std::make_tuple(1010, false, ""),
          std::make_tuple(1017, false, "{0,0,800,600;}")})
    {
        oEngine.m_iTickTime = iTime;
        EXPECT_EQ(Present(oEngine, iTime < 1017, bWhole), strPushed) << "at " << iTime;
    }
    EXPECT_EQ(pScreen->locked + oEngine.m_bScreenLocked, 0) << "left locked";
    pScreen->flags = iFlags;
}

// Each 10 by 10 magenta box is erased where it was last drawn and drawn where it is now; the
// rectangle spanning both is pushed clipped to the screen, unless another pushed one covers it.
TEST_F(RedrawCycleTest, PartialFrameRedrawsTheBoxesAndPushesClippedRectanglesOrAllWhenThePoolIsFull)
{
    BaseEngine oEngine(8); // a pool of 10
    Start(&oEngine);
    std::tie(oEngine.m_iPushIntervalMs, oEngine.m_bPushWholeScreens) = std::make_pair(0, false);
    for (int i = 0; i < 800 * 600; i++) // a different colour in every pixel: x + 800 y
        static_cast<Uint32*>(oEngine.m_pBackdropSurface->pixels)[i] = i;
    const int aaiMove[][4] = {{100, 100, 103, 98}, {300, -5, 340, 260}, {795, 595, 785, -5},
                              {50, 300, 50, 300},  {-5, 300, 795, 300}, {400, 500, 400, 620}};
    SDL_Surface* pExpected = NewSurface(800, 600); // the background, the boxes at their new places
    SDL_BlitSurface(oEngine.m_pBackdropSurface, nullptr, pExpected, nullptr);
    oEngine.m_ppObjects = new DisplayableObject* [7] {};
    for (int i = 0; i < 6; i++)
    {
        oEngine.m_ppObjects[i] = new DisplayableObject(&oEngine);
        std::tie(oEngine.m_ppObjects[i]->m_iPosX, oEngine.m_ppObjects[i]->m_iPosY) =
            std::tie(aaiMove[i][0], aaiMove[i][1]);
        SDL_Rect oBox{Sint16(aaiMove[i][2]), Sint16(aaiMove[i][3]), 10, 10};
        SDL_FillRect(pExpected, &oBox, MAGENTA);
    }
    oEngine.PresentFrame(); // the first frame is a whole-screen one
    for (int i = 0; i < 6; i++)
        std::tie(oEngine.m_ppObjects[i]->m_iPosX, oEngine.m_ppObjects[i]->m_iPosY) =
            std::tie(aaiMove[i][2], aaiMove[i][3]);
    oEngine.QueueUpdateRect(-20, -20, 60, 60);
    oEngine.QueueUpdateRect(900, 700, 10, 10); // wholly off the screen
    oEngine.QueueUpdateRect(-100, 300, 50, 10);
    EXPECT_EQ(Present(oEngine, true, false),
              "{0,0,40,40;100,98,13,12;300,0,50,270;785,0,15,600;0,300,800,10;400,500,10,100;}");
    EXPECT_EQ(CountDifferentPixels(oEngine.m_pScreenSurface, pExpected), 0);
    for (int i = 0; i < 4; i++) // with the boxes' six, one more than the pool's nine slots
        oEngine.QueueUpdateRect(10 * i, 0, 5, 5);
    EXPECT_EQ(Present(oEngine, true, false), "{0,0,800,600;}")
        << "a full pool pushes the whole surface";
    oEngine.DeleteAllObjects();
    EXPECT_EQ(Present(oEngine, true, false), "{}") << "nothing queued, no objects";
    SDL_FreeSurface(pExpected);
}

// Records the tick time of every frame it draws.
struct FrameTimesGame : MyProjectMain
{
    void DrawOverlayText() override
    {
        m_setDrawn.insert(m_iTickTime);
        MyProjectMain::DrawOverlayText();
    }
    std::set<int> m_setDrawn;
};

// One recorded game from one seed, played as the game runs (frames only for a push, at most every
// 17 ms, nothing left stale) and drawn and pushed every millisecond: each push of the first shows
// what the second showed by then. Keys visit the table, start play and pause it while points are
// pending from two rocks shot at rest under "paused" and over the bottom strip.
TEST_F(RedrawCycleTest, FramesDrawnOnlyForAPushShowWhatDrawingEveryMillisecondShowed)
{
    const std::map<int, int> mapTaps = {{30, SDLK_DOWN},    {45, SDLK_DOWN},    {60, SDLK_RETURN},
                                        {300, SDLK_RETURN}, {333, SDLK_UP},     {351, SDLK_UP},
                                        {370, SDLK_RETURN}, {470, SDLK_ESCAPE}, {653, SDLK_ESCAPE}};
    std::map<int, size_t> mapPushed; // a hash of the display after each push, by time
    g_pDisplay = NewSurface(800, 600);
    auto Shown = [] // all 800 by 600 pixels of four bytes
    {
        return std::hash<std::string_view>()({static_cast<char*>(g_pDisplay->pixels), 1920000});
    };
    for (int iIntervalMs : {17, 0})
    {
        FrameTimesGame* pGame = new FrameTimesGame;
        srand(7);
        Start(pGame);
        pGame->m_iPushIntervalMs = iIntervalMs;
        for (int iMs = 1; iMs <= 1000; iMs++)
        {
            if (mapTaps.count(iMs) != 0)
                TapKey(pGame, mapTaps.at(iMs));
            if (iMs == 390 || iMs == 700)
                SetKey(pGame, SDLK_UP, iMs == 390); // thrust
            for (int iSlot = 7; iMs == 450 && iSlot <= 8; iSlot++)
            {
                auto* pRock = dynamic_cast<Asteroid*>(pGame->GetObjectAt(iSlot));
                pRock->m_iPosX = static_cast<int>(pRock->m_dPosX = iSlot == 7 ? 250 : 600);
                pRock->m_iPosY = static_cast<int>(pRock->m_dPosY = iSlot == 7 ? 60 : 480);
                pRock->m_dVelX = pRock->m_dVelY = 0;
                dynamic_cast<Bullet*>(pGame->GetObjectAt(iSlot - 6))
                    ->Launch(pRock->m_iPosX + 40, pRock->m_iPosY + 40, 0);
            }
            g_strPushed.clear();
            RunTicks(pGame);
            if (iIntervalMs > 0 && !g_strPushed.empty())
            {
                EXPECT_EQ(iMs % 17, 0) << "a push off the 60 Hz beat";
                EXPECT_EQ(CountDifferentPixels(g_pDisplay, pGame->m_pScreenSurface), 0) << iMs;
                mapPushed[iMs] = Shown();
            }
            bool bCompared = iIntervalMs == 0 && mapPushed.count(iMs) != 0;
            EXPECT_TRUE(!bCompared || Shown() == mapPushed[iMs]) << "pushed at " << iMs;
        }
        // 200 points from the hits at 450: one each even millisecond of play, none while paused.
        EXPECT_EQ(std::make_pair(pGame->m_iScore, pGame->m_iPendingScore),
                  std::make_pair((468 - 450) / 2 + 1 + (1000 - 654) / 2 + 1, 16));
        for (int iDrawn : pGame->m_setDrawn)
            EXPECT_TRUE(iIntervalMs == 0 || mapPushed.count(iDrawn) != 0) << "drawn at " << iDrawn;
        EXPECT_EQ(mapPushed.size(), 1000u / 17) << "a push left out";
        delete pGame;
        TTF_Quit();
        SDL_Quit();
    }
    SDL_FreeSurface(g_pDisplay);
    g_pDisplay = nullptr;
}
