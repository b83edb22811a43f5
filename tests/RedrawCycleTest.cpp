#include <map>
#include <string_view>

#include "Asteroid.h"
#include "Bullet.h"
#include "DisplayableObject.h"
#include "TestSupport.h"

// What the engine pushed: "[x,y,w,h]" for the whole screen, "{x,y,w,h;...}" for areas. When
// m_pDisplay is set, the pushed areas of the screen are also copied there, as a display shows them.
struct RecordingSink : PushSink
{
    void PushWholeScreen(SDL_Surface* pScreen) override
    {
        m_strPushed += "[" + Show(pScreen, {0, 0, Uint16(pScreen->w), Uint16(pScreen->h)}) + "]";
    }
    void PushAreas(SDL_Surface* pScreen, int iCount, SDL_Rect* pRects) override
    {
        m_strPushed += "{";
        for (int i = 0; i < iCount; i++)
            m_strPushed += Show(pScreen, pRects[i]) + ";";
        m_strPushed += "}";
    }
    std::string Show(SDL_Surface* pScreen, SDL_Rect oArea)
    {
        if (m_pDisplay != nullptr)
            SDL_BlitSurface(pScreen, &oArea, m_pDisplay, &oArea);
        return std::to_string(oArea.x) + "," + std::to_string(oArea.y) + "," +
               std::to_string(oArea.w) + "," + std::to_string(oArea.h);
    }
    std::string m_strPushed;
    SDL_Surface* m_pDisplay = nullptr;
};

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

// Presents one frame with the given flags; returns what it pushed to oSink.
static std::string Present(BaseEngine& oEngine, RecordingSink& oSink, bool bRedrawNeeded,
                           bool bWholeScreen)
{
    oSink.m_strPushed.clear();
    oEngine.SendPushesTo(&oSink);
    oEngine.m_bRedrawNeeded = bRedrawNeeded;
    oEngine.m_bWholeScreenRedraw = bWholeScreen;
    oEngine.PresentFrame();
    return oSink.m_strPushed;
}

using RedrawCycleTest = StartedEngineTest;

// On a screen that must be locked for pixel access, as a display's own memory is: text and
// background copies are blits, which SDL refuses on a locked surface.
TEST_F(RedrawCycleTest, FramesAreDrawnOnlyWhenDueAndWholeScreenFramesKeepTheQueue)
{
    OverlayEngine oEngine;
    RecordingSink oSink;
    Start(&oEngine);
    oEngine.SetPushInterval(0);
    SDL_Surface* pScreen = oEngine.m_pScreenSurface;
    Uint32 iFlags = pScreen->flags;
    pScreen->flags |= SDL_HWSURFACE;
    ASSERT_TRUE(SDL_MUSTLOCK(pScreen));
    oEngine.m_ppObjects = new DisplayableObject* [2] { new DisplayableObject(&oEngine), nullptr };
    oEngine.m_ppObjects[0]->m_iPosX = oEngine.m_ppObjects[0]->m_iPosY = 40; // under the overlay
    oEngine.ClearBackground(YELLOW);
    FillSurface(pScreen, BLUE);
    oEngine.QueueUpdateRect(100, 2, 3, 4);
    EXPECT_EQ(Present(oEngine, oSink, false, true), "") << "a whole-screen frame, but none due";
    EXPECT_EQ(CountPixels(pScreen, BLUE, 0, 0, 800, 600), 800 * 600) << "drawn, not due";
    EXPECT_EQ(Present(oEngine, oSink, true, true), "[0,0,800,600]");
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
    // As the 16-pixel tiles they touch; the object's and the second overlay square lie in the
    // first.
    EXPECT_EQ(Present(oEngine, oSink, true, false), "{96,0,16,16;0,0,64,64;}");
    EXPECT_EQ(PixelAt(pScreen, 45, 45) & 0xFFFFFF, GREEN) << "partial: overlay over the object";
    EXPECT_EQ(PixelAt(pScreen, 400, 300) & 0xFFFFFF, YELLOW) << "new background, partial frame";
    Present(oEngine, oSink, true, true);
    EXPECT_EQ(PixelAt(pScreen, 400, 300) & 0xFFFFFF, BLUE) << "new background, whole screen";
    // At the display's pace: a whole-screen frame and the changes asked for after it are owed to
    // the next push, which carries the whole screen.
    oEngine.SetPushInterval(17); // after the last push, at tick time 0
    for (auto [iTime, bWhole, strPushed] :
         {std::make_tuple(5, true, ""), std::make_tuple(10, false, ""),
          std::make_tuple(17, false, "[0,0,800,600]")})
    {
        oEngine.m_iTickTime = iTime;
        EXPECT_EQ(Present(oEngine, oSink, iTime < 17, bWhole), strPushed) << "at " << iTime;
    }
    EXPECT_EQ(pScreen->locked + oEngine.m_bScreenLocked, 0) << "left locked";
    pScreen->flags = iFlags;
}

// Each 10 by 10 magenta box is erased where it was last drawn and drawn where it is now; the
// areas pushed bring the display up to date, wherever the boxes and the queued rectangles lie.
TEST_F(RedrawCycleTest, PartialFrameRedrawsTheBoxesAndPushesTheirAreasOrAllWhenThePoolIsFull)
{
    BaseEngine oEngine(8); // a pool of 10
    RecordingSink oSink;
    oSink.m_pDisplay = NewSurface(800, 600);
    Start(&oEngine);
    oEngine.SetPushInterval(0);
    oEngine.SendPushesTo(&oSink);
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
    EXPECT_EQ(Present(oEngine, oSink, true, false)[0], '{') << "areas, not the whole screen";
    EXPECT_EQ(CountDifferentPixels(oEngine.m_pScreenSurface, pExpected), 0);
    EXPECT_EQ(CountDifferentPixels(oSink.m_pDisplay, pExpected), 0) << "left stale on the display";
    for (int i = 0; i < 4; i++) // with the boxes' six, one more than the pool's nine slots
        oEngine.QueueUpdateRect(10 * i, 0, 5, 5);
    EXPECT_EQ(Present(oEngine, oSink, true, false), "[0,0,800,600]") << "a full pool pushes all";
    oEngine.DeleteAllObjects();
    EXPECT_EQ(Present(oEngine, oSink, true, false), "") << "nothing queued, no objects";
    SDL_FreeSurface(pExpected);
    SDL_FreeSurface(oSink.m_pDisplay);
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
// 17 ms, each pass then sleeping until the next push, nothing left stale) and drawn and pushed
// every millisecond: each push of the first shows what the second showed by then. Keys visit the
// table, start play and pause it while points are pending from two rocks shot at rest under
// "paused" and over the bottom strip.
TEST_F(RedrawCycleTest, FramesDrawnOnlyForAPushShowWhatDrawingEveryMillisecondShowed)
{
    const std::map<int, int> mapTaps = {{30, SDLK_DOWN},    {45, SDLK_DOWN},    {60, SDLK_RETURN},
                                        {300, SDLK_RETURN}, {333, SDLK_UP},     {351, SDLK_UP},
                                        {370, SDLK_RETURN}, {470, SDLK_ESCAPE}, {653, SDLK_ESCAPE}};
    std::map<int, size_t> mapPushed; // a hash of the display after each push, by time
    RecordingSink oSink;
    oSink.m_pDisplay = NewSurface(800, 600);
    auto Shown = [&oSink] // all 800 by 600 pixels of four bytes
    {
        return std::hash<std::string_view>()(
            {static_cast<char*>(oSink.m_pDisplay->pixels), 1920000});
    };
    for (int iIntervalMs : {17, 0})
    {
        FrameTimesGame* pGame = new FrameTimesGame;
        srand(7);
        Start(pGame);
        pGame->SetPushInterval(iIntervalMs);
        pGame->SendPushesTo(&oSink);
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
            oSink.m_strPushed.clear();
            EXPECT_EQ(RunPassAt(pGame, iMs), iIntervalMs > 0 ? (iMs / 17 + 1) * 17 : iMs + 1)
                << "a sleep after " << iMs << " until the next push, or into the next millisecond";
            if (iIntervalMs > 0 && !oSink.m_strPushed.empty())
            {
                EXPECT_EQ(iMs % 17, 0) << "a push off the 60 Hz beat";
                EXPECT_EQ(CountDifferentPixels(oSink.m_pDisplay, pGame->m_pScreenSurface), 0)
                    << iMs;
                mapPushed[iMs] = Shown();
            }
            bool bCompared = iIntervalMs == 0 && mapPushed.count(iMs) != 0;
            EXPECT_TRUE(!bCompared || Shown() == mapPushed[iMs]) << "pushed at " << iMs;
        }
        // 200 points from the hits at 450: one each even millisecond of play, none while paused.
        EXPECT_EQ(pGame->m_iScore, (468 - 450) / 2 + 1 + (1000 - 654) / 2 + 1) << "counted up";
        EXPECT_EQ(pGame->m_iPendingScore, 16) << "still to count";
        for (int iDrawn : pGame->m_setDrawn)
            EXPECT_TRUE(iIntervalMs == 0 || mapPushed.count(iDrawn) != 0) << "drawn at " << iDrawn;
        EXPECT_EQ(mapPushed.size(), 1000u / 17) << "a push left out";
        delete pGame;
        TTF_Quit();
        SDL_Quit();
    }
    SDL_FreeSurface(oSink.m_pDisplay);
}
