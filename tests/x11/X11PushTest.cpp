#include <gtest/gtest.h>

#include "BaseEngine.h"
#include "LoopClock.h"
#include "Platform.h"

// After gtest: X11's macros (None, Bool) would break its headers.
#include <SDL_syswm.h>
#include <X11/Xlib-xcb.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

// Run through tests/e2e/lib.sh: the engine pushes to a real X window, which the test reads back
// on a connection of its own.
namespace
{
// A key ends its main loop, the tick time of the pass that handled it its exit code.
struct KeyEngine : BaseEngine
{
    KeyEngine() : BaseEngine(100) {}
    void OnKeyDown(int) override { m_iExitCode = m_iTickTime; }
};

// How many pixels of the window show iColour, read right after a push: the sync makes the server
// take the library's requests first, and pumps no events.
int PixelsShown(const SDL_SysWMinfo& oInfo, Display* pDisplay, Uint32 iColour)
{
    XSync(oInfo.info.x11.gfxdisplay, False);
    XImage* pImage = XGetImage(pDisplay, oInfo.info.x11.window, 0, 0, 800, 600, AllPlanes, ZPixmap);
    int iCount = 0;
    for (int i = 0; i < 800 * 600; i++)
        iCount += (XGetPixel(pImage, i % 800, i / 800) & 0xFFFFFF) == iColour;
    XDestroyImage(pImage);
    return iCount;
}

TEST(X11PushTest, EachPushShowsAtOnceClippedInputEndsTheWaitsWhereverItWaitsTheMoveTakesTheTopLevel)
{
    KeyEngine oEngine; // gone before the exit handlers StartUp sets stop the libraries
    ASSERT_EQ(oEngine.StartUp("Starshards", 800, 600, nullptr, 0), 0) << SDL_GetError();
    SDL_SysWMinfo oInfo;
    SDL_VERSION(&oInfo.version);
    ASSERT_TRUE(SDL_GetWMInfo(&oInfo) == 1 && oInfo.subsystem == SDL_SYSWM_X11) << "run by lib.sh";
    Display* pDisplay = XOpenDisplay(nullptr);
    XAutoRepeatOff(pDisplay); // a key held down sends no more events
    // sdl12-compat shows a push of changed areas only at a later poll: each push is a whole one.
    bool bWholePushes = std::string(getenv("E2E_SDL") ? getenv("E2E_SDL") : "") == "compat";
    oEngine.m_iTickTime = 17; // a push due: a whole-screen frame first, the yellow background
    oEngine.PresentFrame();
    EXPECT_EQ(PixelsShown(oInfo, pDisplay, 0xFFFF00), 800 * 600);
    const SDL_Rect aQueued[] = {{-20, -20, 60, 60},     {780, 580, 60, 60}, {0, 0, 2000, 10},
                                {700, 100, 5000, 5000}, {900, 700, 10, 10}, {-100, 300, 50, 10}};
    for (const SDL_Rect& r : aQueued)
        oEngine.QueueUpdateRect(r.x, r.y, r.w, r.h);
    SDL_FillRect(oEngine.m_pScreenSurface, nullptr, 0x3366CC);
    std::tie(oEngine.m_bRedrawNeeded, oEngine.m_iTickTime) = std::make_pair(true, 34); // and due
    oEngine.PresentFrame(); // unclipped, X answers BadValue here and Xlib ends the process
    // As the game pushes: the 16-pixel tiles the rectangles touch, 70784 pixels.
    EXPECT_EQ(PixelsShown(oInfo, pDisplay, 0x3366CC), bWholePushes ? 800 * 600 : 70784);

    SDL_PumpEvents();
    EXPECT_FALSE(SleepUntilInput(20000)) << "woken without input";
    // The main loop's wait, the next push ten seconds away, ends for a key pressed a fifth of a
    // second after the loop starts, in that wait: the key acts in the next pass.
    int iPushDue = static_cast<int>(SDL_GetTicks()) + 10000;
    oEngine.SetPushInterval(iPushDue - 34);          // after the last push, at 34
    XTestFakeMotionEvent(pDisplay, -1, 400, 300, 0); // over the window, which then takes keys
    for (Bool bDown : {True, False})
        XTestFakeKeyEvent(pDisplay, XKeysymToKeycode(pDisplay, XK_space), bDown, bDown ? 200 : 0);
    XFlush(pDisplay);
    oEngine.RunMainLoop();
    EXPECT_TRUE(LoopClock::IsTickBefore(oEngine.m_iExitCode, iPushDue)) << "the key waited";
    // So does the idle wait for a key read already, into Xlib's queue or, by a renderer's round
    // trip, into XCB's alone. What came before, as the library's answers to a key, is handled.
    xcb_connection_t* pXcb = XGetXCBConnection(oInfo.info.x11.display);
    for (Bool bDown : {True, False})
    {
        XSync(oInfo.info.x11.display, False);
        SDL_PumpEvents();
        XTestFakeKeyEvent(pDisplay, XKeysymToKeycode(pDisplay, XK_space), bDown, 0);
        XSync(pDisplay, False);
        if (bDown)
            XSync(oInfo.info.x11.display, False);
        else
            free(xcb_get_input_focus_reply(pXcb, xcb_get_input_focus(pXcb), nullptr));
        EXPECT_TRUE(SleepUntilInput(2000000)) << "a key read by " << (bDown ? "Xlib" : "XCB");
    }

    // The move, on windows of our own: sdl12-compat reports no wmwindow, the classic library does.
    Window iRoot = DefaultRootWindow(pDisplay);
    Window aWindows[] = {XCreateSimpleWindow(pDisplay, iRoot, 50, 60, 20, 20, 0, 0, 0),
                         XCreateSimpleWindow(pDisplay, iRoot, 70, 80, 20, 20, 0, 0, 0)};
    XSync(pDisplay, False);
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
