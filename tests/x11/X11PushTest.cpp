#include <algorithm>
#include <vector>

#include "../TestSupport.h"
#include "Platform.h"

// After gtest: X11's macros (None, Bool) would break its headers.
#include <SDL_syswm.h>
#include <X11/Xutil.h>

// Run through run-under-xvfb.sh: the engine pushes to a real X window, which is read back.
namespace
{
const Uint32 YELLOW = 0xFFFF00, NEW_COLOUR = 0x3366CC;

// Window pixels not showing NEW_COLOUR inside the given rectangles, or showing neither colour
// outside them (sdl12-compat presents the whole window on every push).
int WrongWindowPixels(const SDL_SysWMinfo& oInfo, const std::vector<SDL_Rect>& vNew)
{
    XSync(oInfo.info.x11.gfxdisplay, False);
    XImage* pImage = XGetImage(oInfo.info.x11.gfxdisplay, oInfo.info.x11.window, 0, 0, 800, 600,
                               AllPlanes, ZPixmap);
    if (pImage == nullptr)
        return -1;
    int iWrong = 0;
    for (int iY = 0; iY < 600; iY++)
    {
        for (int iX = 0; iX < 800; iX++)
        {
            bool bNew =
                std::any_of(vNew.begin(), vNew.end(),
                            [&](const SDL_Rect& r)
                            { return iX >= r.x && iX < r.x + r.w && iY >= r.y && iY < r.y + r.h; });
            Uint32 iPixel = XGetPixel(pImage, iX, iY) & 0xFFFFFF;
            iWrong += iPixel != NEW_COLOUR && (bNew || iPixel != YELLOW);
        }
    }
    XDestroyImage(pImage);
    return iWrong;
}

// WrongWindowPixels once the window shows the push: sdl12-compat presents what was pushed on a
// later event poll, at most 60 times a second, as the main loop's polling gives it the chance.
int WrongPixelsOncePresented(const SDL_SysWMinfo& oInfo, const std::vector<SDL_Rect>& vNew)
{
    int iWrong = -1;
    for (Uint32 iStart = SDL_GetTicks(); SDL_GetTicks() - iStart < 5000; SDL_Delay(1))
    {
        SDL_PumpEvents();
        if ((iWrong = WrongWindowPixels(oInfo, vNew)) == 0)
            break;
    }
    return iWrong;
}

using X11PushTest = StartedEngineTest;

TEST_F(X11PushTest, PushesReachTheWindowAndRectanglesPastItsEdgesAreClipped)
{
    BaseEngine oEngine(100);
    Start(&oEngine);
    oEngine.m_iPushIntervalMs = 0; // every frame pushed
    char szDriver[16] = "";
    ASSERT_STREQ(SDL_VideoDriverName(szDriver, sizeof szDriver), "x11") << "use run-under-xvfb.sh";
    SDL_SysWMinfo oInfo;
    SDL_VERSION(&oInfo.version);
    ASSERT_EQ(SDL_GetWMInfo(&oInfo), 1);

    oEngine.PresentFrame(); // the first frame is a whole-screen one: the yellow background
    EXPECT_EQ(WrongPixelsOncePresented(oInfo, {}), 0) << "not yellow after the whole-screen push";

    const std::vector<SDL_Rect> vQueued = {{-20, -20, 60, 60}, {780, 580, 60, 60},
                                           {0, 0, 2000, 10},   {700, 100, 5000, 5000},
                                           {900, 700, 10, 10}, {-100, 300, 50, 10}};
    for (const SDL_Rect& r : vQueued)
        oEngine.QueueUpdateRect(r.x, r.y, r.w, r.h);
    FillSurface(oEngine.m_pScreenSurface, NEW_COLOUR);
    oEngine.m_bRedrawNeeded = true;
    oEngine.PresentFrame(); // unclipped, X answers BadValue here and Xlib ends the process
    EXPECT_EQ(WrongPixelsOncePresented(oInfo, vQueued), 0)
        << "new colour not in the visible parts of the queued rectangles";
}

int IgnoreXError(Display*, XErrorEvent*)
{
    return 0;
}

// Where the server has a window now, relative to the root.
std::pair<int, int> PlaceOf(Display* pDisplay, Window iWindow)
{
    XWindowAttributes oAttributes;
    if (XGetWindowAttributes(pDisplay, iWindow, &oAttributes) == 0)
        return {-1, -1};
    return {oAttributes.x, oAttributes.y};
}

TEST_F(X11PushTest, WindowMoveTakesTheTopLevelWindowReportedAndSurvivesARefusedRequest)
{
    BaseEngine oEngine(100);
    Start(&oEngine);
    SDL_SysWMinfo oInfo;
    SDL_VERSION(&oInfo.version);
    ASSERT_EQ(SDL_GetWMInfo(&oInfo), 1);
    Display* pDisplay = XOpenDisplay(nullptr);
    ASSERT_NE(pDisplay, nullptr);
    Window iRoot = DefaultRootWindow(pDisplay);
    Window iTopLevel = XCreateSimpleWindow(pDisplay, iRoot, 50, 60, 20, 20, 0, 0, 0);
    Window iOther = XCreateSimpleWindow(pDisplay, iRoot, 70, 80, 20, 20, 0, 0, 0);
    XSync(pDisplay, False);

    SDL_SysWMinfo oReported = oInfo; // as sdl12-compat reports it: no wmwindow
    oReported.info.x11.wmwindow = 0;
    oReported.info.x11.window = iTopLevel;
    EXPECT_TRUE(MoveReportedWindowToTopLeft(oReported));
    EXPECT_EQ(PlaceOf(pDisplay, iTopLevel), std::make_pair(0, 0));
    oReported.info.x11.wmwindow = iOther; // as the classic library reports it
    EXPECT_TRUE(MoveReportedWindowToTopLeft(oReported));
    EXPECT_EQ(PlaceOf(pDisplay, iOther), std::make_pair(0, 0));

    XDestroyWindow(pDisplay, iOther);
    XSync(pDisplay, False);
    XErrorHandler pBefore = XSetErrorHandler(IgnoreXError);
    EXPECT_FALSE(MoveReportedWindowToTopLeft(oReported)) << "the window is gone: BadWindow";
    EXPECT_EQ(XSetErrorHandler(pBefore), IgnoreXError) << "the handler in place was not restored";
    oReported.info.x11.wmwindow = oReported.info.x11.window = 0;
    EXPECT_FALSE(MoveReportedWindowToTopLeft(oReported)) << "no window reported";
    XCloseDisplay(pDisplay);
}
} // namespace
