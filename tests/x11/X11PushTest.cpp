#include <algorithm>
#include <vector>

#include "../TestSupport.h"

// After gtest: X11's macros (None, Bool) would break its headers.
#include <SDL_syswm.h>
#include <X11/Xutil.h>

// Run through run-under-xvfb.sh: the engine pushes to a real X window, which is read back.
namespace
{
const Uint32 YELLOW = 0xFFFF00, NEW_COLOUR = 0x3366CC;

// Window pixels not showing NEW_COLOUR inside the given rectangles and YELLOW outside them.
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
            iWrong += (XGetPixel(pImage, iX, iY) & 0xFFFFFF) != (bNew ? NEW_COLOUR : YELLOW);
        }
    }
    XDestroyImage(pImage);
    return iWrong;
}

using X11PushTest = StartedEngineTest;

TEST_F(X11PushTest, PushesReachTheWindowAndRectanglesPastItsEdgesAreClipped)
{
    BaseEngine oEngine(100);
    Start(&oEngine);
    char szDriver[16] = "";
    ASSERT_STREQ(SDL_VideoDriverName(szDriver, sizeof szDriver), "x11") << "use run-under-xvfb.sh";
    SDL_SysWMinfo oInfo;
    SDL_VERSION(&oInfo.version);
    ASSERT_EQ(SDL_GetWMInfo(&oInfo), 1);

    oEngine.PresentFrame(); // the first frame is a whole-screen one: the yellow background
    EXPECT_EQ(WrongWindowPixels(oInfo, {}), 0) << "not yellow after the whole-screen push";

    const std::vector<SDL_Rect> vQueued = {{-20, -20, 60, 60}, {780, 580, 60, 60},
                                           {0, 0, 2000, 10},   {700, 100, 5000, 5000},
                                           {900, 700, 10, 10}, {-100, 300, 50, 10}};
    for (const SDL_Rect& r : vQueued)
        oEngine.QueueUpdateRect(r.x, r.y, r.w, r.h);
    FillSurface(oEngine.m_pScreenSurface, NEW_COLOUR);
    oEngine.m_bRedrawNeeded = true;
    oEngine.PresentFrame(); // unclipped, X answers BadValue here and Xlib ends the process
    EXPECT_EQ(WrongWindowPixels(oInfo, vQueued), 0)
        << "new colour not exactly in the visible parts of the queued rectangles";
}
} // namespace
