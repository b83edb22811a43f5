#include <SDL_ttf.h>
#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

#include "BaseEngine.h"
#include "Platform.h"

// After gtest: X11's macros (None, Bool) would break its headers.
#include <SDL_syswm.h>
#include <X11/Xutil.h>

// Run through tests/e2e/lib.sh: the engine pushes to a real X window, which is read back.
namespace
{
const Uint32 YELLOW = 0xFFFF00, NEW_COLOUR = 0x3366CC;

// Window pixels not showing NEW_COLOUR inside the given rectangles, or showing neither colour
// outside them (sdl12-compat presents the whole window on every push), once the window shows the
// push: sdl12-compat presents what was pushed on a later event poll, at most 60 times a second.
int WrongPixelsOncePresented(const SDL_SysWMinfo& oInfo, const std::vector<SDL_Rect>& vNew)
{
    int iWrong = -1;
    for (Uint32 iStart = SDL_GetTicks(); iWrong != 0 && SDL_GetTicks() - iStart < 5000;
         SDL_Delay(1))
    {
        SDL_PumpEvents();
        XSync(oInfo.info.x11.gfxdisplay, False);
        XImage* pImage = XGetImage(oInfo.info.x11.gfxdisplay, oInfo.info.x11.window, 0, 0, 800, 600,
                                   AllPlanes, ZPixmap);
        iWrong = pImage == nullptr ? -1 : 0;
        for (int iY = 0; pImage != nullptr && iY < 600; iY++)
            for (int iX = 0; iX < 800; iX++)
            {
                bool bNew = std::any_of(vNew.begin(), vNew.end(),
                                        [&](const SDL_Rect& r) {
                                            return iX >= r.x && iX < r.x + r.w && iY >= r.y &&
                                                   iY < r.y + r.h;
                                        });
                Uint32 iPixel = XGetPixel(pImage, iX, iY) & 0xFFFFFF;
                iWrong += iPixel != NEW_COLOUR && (bNew || iPixel != YELLOW);
            }
        if (pImage != nullptr)
            XDestroyImage(pImage);
    }
    return iWrong;
}

// The engine started on the real driver, and what SDL reports of its window.
class X11PushTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(m_pEngine->StartUp("Starshards", 800, 600, nullptr, 0), 0) << SDL_GetError();
        char szDriver[16] = "";
        ASSERT_STREQ(SDL_VideoDriverName(szDriver, sizeof szDriver), "x11") << "run by lib.sh";
        SDL_VERSION(&m_oInfo.version);
        ASSERT_EQ(SDL_GetWMInfo(&m_oInfo), 1);
    }
    void TearDown() override
    {
        delete m_pEngine;
        TTF_Quit();
        SDL_Quit();
    }
    BaseEngine* m_pEngine = new BaseEngine(100);
    SDL_SysWMinfo m_oInfo;
};

TEST_F(X11PushTest, PushesReachTheWindowAndRectanglesPastItsEdgesAreClipped)
{
    m_pEngine->m_iPushIntervalMs = 0; // every frame pushed
    m_pEngine->PresentFrame();        // the first frame is a whole-screen one: yellow background
    EXPECT_EQ(WrongPixelsOncePresented(m_oInfo, {}), 0) << "not yellow after the whole-screen push";

    const std::vector<SDL_Rect> vQueued = {{-20, -20, 60, 60}, {780, 580, 60, 60},
                                           {0, 0, 2000, 10},   {700, 100, 5000, 5000},
                                           {900, 700, 10, 10}, {-100, 300, 50, 10}};
    for (const SDL_Rect& r : vQueued)
        m_pEngine->QueueUpdateRect(r.x, r.y, r.w, r.h);
    SDL_FillRect(m_pEngine->m_pScreenSurface, nullptr, NEW_COLOUR);
    m_pEngine->m_bRedrawNeeded = true;
    m_pEngine->PresentFrame(); // unclipped, X answers BadValue here and Xlib ends the process
    EXPECT_EQ(WrongPixelsOncePresented(m_oInfo, vQueued), 0)
        << "new colour not in the visible parts of the queued rectangles";
}

TEST_F(X11PushTest, WindowMoveTakesTheTopLevelWindowReportedAndSurvivesARefusedRequest)
{
    Display* pDisplay = XOpenDisplay(nullptr);
    ASSERT_NE(pDisplay, nullptr);
    Window iRoot = DefaultRootWindow(pDisplay);
    Window aWindows[] = {XCreateSimpleWindow(pDisplay, iRoot, 50, 60, 20, 20, 0, 0, 0),
                         XCreateSimpleWindow(pDisplay, iRoot, 70, 80, 20, 20, 0, 0, 0)};
    XSync(pDisplay, False);
    auto PlaceOf = [pDisplay](Window iWindow)
    {
        XWindowAttributes oPlace;
        XGetWindowAttributes(pDisplay, iWindow, &oPlace);
        return std::make_pair(oPlace.x, oPlace.y);
    };
    SDL_SysWMinfo oReported = m_oInfo; // as sdl12-compat reports it: no wmwindow
    oReported.info.x11.wmwindow = 0;
    oReported.info.x11.window = aWindows[0];
    EXPECT_TRUE(MoveReportedWindowToTopLeft(oReported));
    EXPECT_EQ(PlaceOf(aWindows[0]), std::make_pair(0, 0));
    oReported.info.x11.wmwindow = aWindows[1]; // as the classic library reports it
    EXPECT_TRUE(MoveReportedWindowToTopLeft(oReported));
    EXPECT_EQ(PlaceOf(aWindows[1]), std::make_pair(0, 0));

    XDestroyWindow(pDisplay, aWindows[1]);
    XSync(pDisplay, False);
    XErrorHandler pIgnore = [](Display*, XErrorEvent*) { return 0; };
    XErrorHandler pBefore = XSetErrorHandler(pIgnore);
    EXPECT_FALSE(MoveReportedWindowToTopLeft(oReported)) << "the window is gone: BadWindow";
    EXPECT_EQ(XSetErrorHandler(pBefore), pIgnore) << "the handler in place was not restored";
    oReported.info.x11.wmwindow = oReported.info.x11.window = 0;
    EXPECT_FALSE(MoveReportedWindowToTopLeft(oReported)) << "no window reported";
    XCloseDisplay(pDisplay);
}
} // namespace
