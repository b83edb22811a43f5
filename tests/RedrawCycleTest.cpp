#include <cstdio>
#include <string>

#include "DisplayableObject.h"
#include "TestSupport.h"

// What the engine pushed: "[x,y,w,h]" per SDL_UpdateRect, "{x,y,w,h;...}" per SDL_UpdateRects,
// which these functions replace in this program.
static std::string g_strPushed;

static void Record(const char* szFormat, int iX, int iY, int iWidth, int iHeight)
{
    char szText[64];
    snprintf(szText, sizeof szText, szFormat, iX, iY, iWidth, iHeight);
    g_strPushed += szText;
}

void SDL_UpdateRect(SDL_Surface*, Sint32 iX, Sint32 iY, Uint32 iWidth, Uint32 iHeight)
{
    Record("[%d,%d,%d,%d]", iX, iY, iWidth, iHeight);
}

void SDL_UpdateRects(SDL_Surface*, int iCount, SDL_Rect* pRects)
{
    g_strPushed += "{";
    for (int i = 0; i < iCount; i++)
        Record("%d,%d,%d,%d;", pRects[i].x, pRects[i].y, pRects[i].w, pRects[i].h);
    g_strPushed += "}";
}

namespace
{
const Uint32 YELLOW = 0xFFFF00, BLUE = 0x0000FF, GREEN = 0x00FF00;

// Its overlay paints a green square over the top-left corner and queues it.
struct OverlayEngine : BaseEngine
{
    OverlayEngine() : BaseEngine(100) {}
    void DrawOverlayText() override
    {
        SDL_Rect oSquare{0, 0, 50, 50};
        SDL_FillRect(m_pScreenSurface, &oSquare, GREEN);
        QueueUpdateRect(0, 0, 50, 50);
    }
};

// Presents one frame with the given flags; returns what it pushed.
std::string Present(BaseEngine& oEngine, bool bRedrawNeeded, bool bWholeScreen)
{
    g_strPushed.clear();
    oEngine.m_bRedrawNeeded = bRedrawNeeded;
    oEngine.m_bWholeScreenRedraw = bWholeScreen;
    oEngine.PresentFrame();
    return g_strPushed;
}

using RedrawCycleTest = StartedEngineTest;

TEST_F(RedrawCycleTest, FramesAreDrawnOnlyWhenDueAndWholeScreenFramesKeepTheQueue)
{
    OverlayEngine oEngine;
    Start(&oEngine);
    SDL_Surface* pScreen = oEngine.m_pScreenSurface;
    oEngine.m_ppObjects = new DisplayableObject* [2] { new DisplayableObject(&oEngine), nullptr };
    oEngine.m_ppObjects[0]->m_iPosX = oEngine.m_ppObjects[0]->m_iPosY = 40; // under the overlay
    FillSurface(pScreen, BLUE);
    oEngine.QueueUpdateRect(100, 2, 3, 4);
    for (bool bWholeScreen : {false, true})
    {
        EXPECT_EQ(Present(oEngine, false, bWholeScreen), "")
            << "whole-screen flag " << bWholeScreen;
        EXPECT_EQ(CountPixels(pScreen, BLUE, 0, 0, 800, 600), 800 * 600) << "drawn though not due";
        EXPECT_EQ(oEngine.m_iUpdateRectCount, 1) << "the queued rectangle must wait";
    }
    EXPECT_EQ(Present(oEngine, true, true), "[0,0,800,600]");
    EXPECT_FALSE(oEngine.m_bRedrawNeeded || oEngine.m_bWholeScreenRedraw) << "flags consumed";
    EXPECT_EQ(PixelAt(pScreen, 400, 300) & 0xFFFFFF, YELLOW) << "the base background";
    EXPECT_EQ(PixelAt(pScreen, 10, 10) & 0xFFFFFF, GREEN) << "the overlay";
    EXPECT_EQ(PixelAt(pScreen, 45, 45) & 0xFFFFFF, 0xFF00FFu) << "the object, over the overlay";
    EXPECT_EQ(oEngine.m_iUpdateRectCount, 2) << "the earlier and the overlay's rectangle wait";

    oEngine.ClearBackground(BLUE);
    // The second overlay square and the object's rectangle lie inside the first square.
    EXPECT_EQ(Present(oEngine, true, false), "{100,2,3,4;0,0,50,50;}");
    EXPECT_EQ(oEngine.m_iUpdateRectCount, 0);
    EXPECT_EQ(PixelAt(pScreen, 45, 45) & 0xFFFFFF, GREEN) << "partial: overlay over the object";
    EXPECT_EQ(PixelAt(pScreen, 400, 300) & 0xFFFFFF, YELLOW) << "new background, partial frame";
    Present(oEngine, true, true);
    EXPECT_EQ(PixelAt(pScreen, 400, 300) & 0xFFFFFF, BLUE) << "new background, whole screen";
}

TEST_F(RedrawCycleTest, PartialPushClipsItsRectanglesToTheScreenOrCoversItWhenThePoolOverflows)
{
    BaseEngine oEngine(2); // a pool of 4
    Start(&oEngine);
    const int aaiQueued[][4] = {{-20, -20, 60, 60}, {780, 580, 60, 60}, {900, 700, 10, 10}};
    for (const auto& ai : aaiQueued)
        oEngine.QueueUpdateRect(ai[0], ai[1], ai[2], ai[3]);
    EXPECT_EQ(Present(oEngine, true, false), "{0,0,40,40;780,580,20,20;}") << "off it: dropped";
    for (int i = 0; i < 5; i++)
    {
        EXPECT_EQ(oEngine.NextUpdateRect() - oEngine.m_pUpdateRects, i < 3 ? i : 0) << "call " << i;
        EXPECT_EQ(oEngine.m_iUpdateRectCount, i < 3 ? i + 1 : 4) << "after call " << i;
    }
    EXPECT_EQ(Present(oEngine, true, false), "[0,0,0,0]") << "overflow pushes the whole surface";
    EXPECT_EQ(oEngine.m_iUpdateRectCount, 0);
    oEngine.QueueUpdateRect(0, 0, 2000, 10);
    oEngine.QueueUpdateRect(700, 100, 5000, 5000);
    oEngine.QueueUpdateRect(-100, 300, 50, 10);
    EXPECT_EQ(Present(oEngine, true, false), "{0,0,800,10;700,100,100,500;}");
    EXPECT_EQ(Present(oEngine, true, false), "{}") << "nothing queued, no objects";
}

TEST_F(RedrawCycleTest, BackgroundCopyPartlyOffTheScreenCopiesOnlyTheVisiblePartInPlace)
{
    BaseEngine oEngine(100);
    Start(&oEngine);
    SDL_Surface* pScreen = oEngine.m_pScreenSurface;
    oEngine.PutBackgroundPixel(0, 0, GREEN); // corners mark where the copies land
    oEngine.PutBackgroundPixel(799, 599, GREEN);
    FillSurface(pScreen, BLUE);
    const int aaiCopy[][4] = {
        {-10, -10, 30, 30}, {790, 590, 30, 30}, {900, 9, 5, 5}, {-9, 9, 5, 5}};
    for (const auto& ai : aaiCopy)
        oEngine.CopyBackgroundRect(ai[0], ai[1], ai[2], ai[3]);
    EXPECT_EQ(CountPixels(pScreen, YELLOW, 0, 0, 20, 20), 399) << "top-left corner";
    EXPECT_EQ(CountPixels(pScreen, YELLOW, 790, 590, 10, 10), 99) << "bottom-right corner";
    EXPECT_EQ(CountPixels(pScreen, BLUE, 0, 0, 800, 600), 800 * 600 - 500) << "copied elsewhere";
    EXPECT_EQ(PixelAt(pScreen, 0, 0) & 0xFFFFFF, GREEN);
    EXPECT_EQ(PixelAt(pScreen, 799, 599) & 0xFFFFFF, GREEN);
}

} // namespace
