#include <gtest/gtest.h>

#include "BaseEngine.h"
#include "Platform.h"

// After gtest: X11's macros (None, Bool) would break its headers.
#include <SDL_syswm.h>
#include <X11/Xutil.h>

// Run through tests/e2e/lib.sh: the engine pushes to a real X window, which is read back.
namespace
{
const Uint32 YELLOW = 0xFFFF00;

// How many window pixels show COLOUR, once at least AT_LEAST do or after five seconds:
// sdl12-compat presents a push on a later event poll.
int PixelsOncePresented(const SDL_SysWMinfo& oInfo, Uint32 iColour, int iAtLeast)
{
    int iCount = 0;
    for (Uint32 iStart = SDL_GetTicks(); iCount < iAtLeast && SDL_GetTicks() - iStart < 5000;
         SDL_Delay(1))
    {
        SDL_PumpEvents();
        XImage* pImage = XGetImage(oInfo.info.x11.gfxdisplay, oInfo.info.x11.window, 0, 0, 800, 600,
                                   AllPlanes, ZPixmap);
        iCount = 0;
        for (int i = 0; i < 800 * 600; i++)
            iCount += (XGetPixel(pImage, i % 800, i / 800) & 0xFFFFFF) == iColour;
        XDestroyImage(pImage);
    }
    return iCount;
}

TEST(X11PushTest, PushesPastTheEdgesAreClippedInputEndsTheIdleWaitAndTheMoveTakesTheTopLevelWindow)
{
    BaseEngine oEngine(100); // gone before the exit handlers StartUp sets stop the libraries
    ASSERT_EQ(oEngine.StartUp("Starshards", 800, 600, nullptr, 0), 0) << SDL_GetError();
    SDL_SysWMinfo oInfo;
    SDL_VERSION(&oInfo.version);
    ASSERT_EQ(SDL_GetWMInfo(&oInfo), 1);
    ASSERT_EQ(oInfo.subsystem, SDL_SYSWM_X11) << "run by lib.sh";
    oEngine.m_iPushIntervalMs = 0; // every frame pushed
    oEngine.PresentFrame();        // a whole-screen frame first: the yellow background
    EXPECT_EQ(PixelsOncePresented(oInfo, YELLOW, 800 * 600), 800 * 600);
    const SDL_Rect aQueued[] = {{-20, -20, 60, 60},     {780, 580, 60, 60}, {0, 0, 2000, 10},
                                {700, 100, 5000, 5000}, {900, 700, 10, 10}, {-100, 300, 50, 10}};
    // Pushed at once, the visible parts of the rectangles: 59200 pixels; in tiles as the game
    // pushes, the 16-pixel tiles they touch: 70784 (or all, as some sdl12-compat present).
    const std::pair<Uint32, int> aRounds[] = {{0x3366CC, 59200}, {0xCC6633, 70784}};
    for (const auto& [iColour, iPixels] : aRounds)
    {
        for (const SDL_Rect& r : aQueued)
            oEngine.QueueUpdateRect(r.x, r.y, r.w, r.h);
        SDL_FillRect(oEngine.m_pScreenSurface, nullptr, iColour);
        oEngine.m_bRedrawNeeded = true;
        oEngine.PresentFrame(); // unclipped, X answers BadValue here and Xlib ends the process
        int iShown = PixelsOncePresented(oInfo, iColour, iPixels);
        EXPECT_TRUE(iShown == iPixels || iShown == 800 * 600) << iShown;
        oEngine.m_iPushIntervalMs = oEngine.m_iTickTime = 17; // in tiles from now on, and due
    }

    // The move, on windows of our own: sdl12-compat reports no wmwindow, the classic library does.
    Display* pDisplay = XOpenDisplay(nullptr);
    Window iRoot = DefaultRootWindow(pDisplay);
    Window aWindows[] = {XCreateSimpleWindow(pDisplay, iRoot, 50, 60, 20, 20, 0, 0, 0),
                         XCreateSimpleWindow(pDisplay, iRoot, 70, 80, 20, 20, 0, 0, 0)};
    XSync(pDisplay, False);
    // The idle wait sleeps its time out, and ends at once for an event the window's client gets.
    SDL_PumpEvents();
    EXPECT_FALSE(SleepUntilInput(20000)) << "woken without input";
    Window iTopLevel =
        oInfo.info.x11.wmwindow != 0 ? oInfo.info.x11.wmwindow : oInfo.info.x11.window;
    XEvent oMessage{};
    oMessage.xclient = {ClientMessage, 0, False, nullptr, iTopLevel, 0, 8, {}};
    XSendEvent(pDisplay, iTopLevel, False, KeyPressMask, &oMessage); // to whoever takes its keys
    XFlush(pDisplay);
    EXPECT_TRUE(SleepUntilInput(5000000)) << "not woken by input";
    XWindowAttributes oPlace;
    for (int i = 0; i < 2; i++)
    {
        oInfo.info.x11.wmwindow = i == 0 ? 0 : aWindows[1];
        oInfo.info.x11.window = aWindows[0];
        EXPECT_TRUE(MoveReportedWindowToTopLeft(oInfo));
        XGetWindowAttributes(pDisplay, aWindows[i], &oPlace);
        EXPECT_EQ(std::make_pair(oPlace.x, oPlace.y), std::make_pair(0, 0)) << i;
    }
    XDestroyWindow(pDisplay, aWindows[1]);
    XSync(pDisplay, False);
    XErrorHandler pIgnore = [](Display*, XErrorEvent*) { return 0; };
    XErrorHandler pBefore = XSetErrorHandler(pIgnore);
    EXPECT_FALSE(MoveReportedWindowToTopLeft(oInfo)) << "the window is gone: BadWindow";
    EXPECT_EQ(XSetErrorHandler(pBefore), pIgnore) << "the handler in place was not restored";
    oInfo.info.x11.wmwindow = oInfo.info.x11.window = 0;
    EXPECT_FALSE(MoveReportedWindowToTopLeft(oInfo)) << "no window reported";
    XCloseDisplay(pDisplay);
}
} // namespace
