#include <algorithm>
#include <string>

#include "TestSupport.h"

namespace
{
const Uint32 WHITE = 0xFFFFFF;

// White pixels in one column, or on the whole surface.
int White(SDL_Surface* pSurface, int iColumn = -1)
{
    return iColumn < 0 ? CountPixels(pSurface, WHITE, 0, 0, 800, 600)
                       : CountPixels(pSurface, WHITE, iColumn, 0, 1, 600);
}

using DrawingTest = StartedEngineTest;

TEST_F(DrawingTest, TriangleFillsTheSamePixelsWhateverTheVertexOrder)
{
    BaseEngine oEngine(100);
    Start(&oEngine);
    SDL_Surface* pBackground = oEngine.m_pBackdropSurface;
    FillSurface(pBackground, 0);
    oEngine.DrawTriangle(10, 10, 30, 10, 20, 30, WHITE, pBackground);
    EXPECT_EQ(White(pBackground), 221) << "a triangle 20 wide and 20 high, with its edges";
    EXPECT_EQ(White(pBackground, 20), 21) << "column 20, from the top edge to the tip";
    const double ad[] = {10, 10, 30, 10, 20, 30};
    int a[] = {0, 2, 4};
    do
    {
        FillSurface(oEngine.m_pScreenSurface, 0);
        oEngine.DrawTriangle(ad[a[0]], ad[a[0] + 1], ad[a[1]], ad[a[1] + 1], ad[a[2]], ad[a[2] + 1],
                             WHITE, nullptr);
        EXPECT_EQ(CountDifferentPixels(oEngine.m_pScreenSurface, pBackground), 0)
            << "vertex order " << a[0] / 2 << a[1] / 2 << a[2] / 2;
    } while (std::next_permutation(a, a + 3));

    // Here an inner column's edge lands on exactly half a pixel, at (411, 61): the edge formula's
    // order of operations decides whether that pixel is filled.
    FillSurface(pBackground, 0);
    oEngine.DrawTriangle(404, 71, 394, 71, 428, 52, WHITE, pBackground);
    EXPECT_EQ(White(pBackground), 130);
    EXPECT_EQ(PixelAt(pBackground, 411, 61) & 0xFFFFFF, 0u);
}

TEST_F(DrawingTest, VerticalSidesAndOneColumnStripsFillTheColumnsTheirEdgesGive)
{
    BaseEngine oEngine(100);
    Start(&oEngine);
    SDL_Surface* pScreen = oEngine.m_pScreenSurface;
    FillSurface(pScreen, 0);
    oEngine.DrawTriangle(10, 10, 10, 30, 30, 20, WHITE, nullptr);
    EXPECT_EQ(White(pScreen, 10), 21) << "the vertical left side";
    EXPECT_EQ(White(pScreen, 30), 1) << "the tip";
    EXPECT_EQ(White(pScreen, 9) + White(pScreen, 31), 0) << "outside columns 10 to 30";
    for (int iColumn = 10; iColumn <= 30; iColumn++)
        EXPECT_GT(White(pScreen, iColumn), 0) << "column " << iColumn << " left empty";

    // Strip (1) or triangle (0), its six numbers, the column to look at and its pixel count.
    const double aadCases[][9] = {
        {0, 5, 0, 5, 10, 5, 20, 5, 21},         // three equal x: rows 0 to 20
        {0, 5, 20, 5, 10, 5, 0, 5, 0},          // the same upwards: nothing
        {1, 5, 5.2, 10, 20, 0, 30, 5, 11},      // one column: edge 1 only, rows 10 to 20
        {1, 5, 5.2, 20, 10, 0, 30, 5, 0},       // one column, edge 1 upwards: nothing
        {0, -1.2, 0, -1.2, 5, -1.2, 10, 0, 11}, // x -1.2 is column 0
        {0, -1.6, 0, -1.6, 5, -1.6, 10, 0, 0}}; // x -1.6 is column -1, clipped
    for (const auto& d : aadCases)
    {
        FillSurface(pScreen, 0);
        auto pDraw = d[0] != 0 ? &BaseEngine::FillEdgeStrip : &BaseEngine::DrawTriangle;
        (oEngine.*pDraw)(d[1], d[2], d[3], d[4], d[5], d[6], WHITE, nullptr);
        EXPECT_EQ(White(pScreen, static_cast<int>(d[7])), d[8]) << "case " << &d - aadCases;
        EXPECT_EQ(White(pScreen), d[8]) << "case " << &d - aadCases << ": pixels elsewhere";
    }
}

TEST_F(DrawingTest, TrianglesPartlyOffTheScreenDrawOnlyTheirOnScreenPixels)
{
    BaseEngine oEngine(100);
    Start(&oEngine);
    // The three vertices, then the rectangle (x, y, w, h) that must hold all the pixels drawn.
    const double aadCases[][10] = {{-50, 100, 20, 80, 20, 120, 0, 80, 21, 41},
                                   {780, 300, 850, 280, 850, 320, 780, 280, 20, 41},
                                   {400, 10, 380, -50, 420, -50, 380, 0, 41, 11},
                                   {400, 590, 380, 650, 420, 650, 380, 590, 41, 10},
                                   {900, 100, 950, 100, 920, 200, 0, 0, 0, 0},
                                   {-100, -100, -50, -100, -70, -40, 0, 0, 0, 0}};
    for (SDL_Surface* pTarget : {oEngine.m_pScreenSurface, oEngine.m_pBackdropSurface})
    {
        for (const auto& d : aadCases)
        {
            FillSurface(pTarget, 0);
            oEngine.DrawTriangle(d[0], d[1], d[2], d[3], d[4], d[5], WHITE, pTarget);
            int iInside = CountPixels(pTarget, WHITE, d[6], d[7], d[8], d[9]);
            EXPECT_EQ(White(pTarget), iInside) << "case " << &d - aadCases << ": pixels outside";
            EXPECT_EQ(iInside > 0, d[8] > 0) << "case " << &d - aadCases;
            EXPECT_TRUE(d[6] != 0 || d[8] == 0 || White(pTarget, 0) > 0) << "column 0 empty";
            EXPECT_TRUE(d[6] + d[8] != 800 || White(pTarget, 799) > 0) << "last column empty";
        }
    }
}

TEST_F(DrawingTest, BackgroundPixelWritesReachBothCornersAndOutsideStopAtTheFirstFailedCheck)
{
    BaseEngine oEngine(100);
    Start(&oEngine);
    FillSurface(oEngine.m_pBackdropSurface, 0);
    oEngine.PutBackgroundPixel(0, 0, WHITE);
    oEngine.PutBackgroundPixel(799, 599, WHITE);
    SDL_Surface* pBackground = oEngine.m_pBackdropSurface;
    EXPECT_EQ(CountPixels(pBackground, WHITE, 0, 0, 1, 1) +
                  CountPixels(pBackground, WHITE, 799, 599, 1, 1) + White(pBackground),
              4)
        << "white in both corners and nowhere else";
    const std::tuple<int, int, const char*> aCases[] = {{-1, -1, "iX >= 0"},
                                                        {800, -1, "iX < m_iIntsPerScreenRow"},
                                                        {0, -1, "iY >= 0"},
                                                        {799, 600, "iY < m_iScreenHeight"}};
    for (const auto& [iX, iY, szCheck] : aCases)
        EXPECT_DEATH(oEngine.PutBackgroundPixel(iX, iY, WHITE),
                     std::string("Assertion failed: ") + szCheck + ", file src/BaseEngine")
            << "pixel (" << iX << "," << iY << ")";
}
} // namespace
