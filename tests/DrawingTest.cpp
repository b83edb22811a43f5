#include <algorithm>

#include "TestSupport.h"

const Uint32 WHITE = 0xFFFFFF;

using DrawingTest = StartedEngineTest;

// Pixels are filled column by column between the edges, v + 0.5 truncated toward zero giving the
// pixel of a coordinate v; what lies off the screen is skipped. A single background pixel off it
// is a caller's fault.
TEST_F(DrawingTest, TrianglesFillTheColumnsTheirEdgesGiveClippedAndPixelWritesOffTheScreenFail)
{
    BaseEngine oEngine(100);
    Start(&oEngine);
    SDL_Surface *pScreen = oEngine.m_pScreenSurface, *pBackground = oEngine.m_pBackdropSurface;
    // Kind (0 a triangle in every vertex order, 1 a triangle, 2 a strip), its six numbers, a
    // column and its white pixels, and the white pixels in all.
    const double aadCases[][10] = {
        {0, 404, 71, 394, 71, 428, 52, 411, 4, 130},     // an edge on half a pixel at (411, 61)
        {0, 10, 10, 10, 30, 30, 20, 10, 21, 231},        // a vertical left side
        {1, 5, 0, 5, 10, 5, 20, 5, 21, 21},              // three equal x: rows 0 to 20
        {1, 5, 20, 5, 10, 5, 0, 5, 0, 0},                // the same upwards: nothing
        {2, 5, 5.2, 10, 20, 0, 30, 5, 11, 11},           // one column: edge 1 only, rows 10 to 20
        {2, 5, 5.2, 20, 10, 0, 30, 5, 0, 0},             // one column, edge 1 upwards: nothing
        {1, -1.2, 0, -1.2, 5, -1.2, 10, 0, 11, 11},      // x -1.2 is column 0
        {1, -1.6, 0, -1.6, 5, -1.6, 10, 0, 0, 0},        // x -1.6 is column -1, clipped
        {0, -50, 100, 20, 80, 20, 120, 0, 29, 741},      // off the left edge
        {0, 780, 300, 850, 280, 850, 320, 799, 11, 128}, // off the right edge
        {0, 400, 10, 380, -50, 420, -50, 400, 11, 41},   // off the top
        {0, 400, 590, 380, 650, 420, 650, 400, 10, 34}}; // off the bottom
    for (const auto& d : aadCases)
    {
        int iCase = &d - aadCases;
        FillSurface(pBackground, 0);
        auto pDraw = d[0] == 2 ? &BaseEngine::FillEdgeStrip : &BaseEngine::DrawTriangle;
        (oEngine.*pDraw)(d[1], d[2], d[3], d[4], d[5], d[6], WHITE, pBackground);
        EXPECT_EQ(CountPixels(pBackground, WHITE, int(d[7]), 0, 1, 600), d[8]) << iCase;
        EXPECT_EQ(CountPixels(pBackground, WHITE, 0, 0, 800, 600), d[9]) << "case " << iCase;
        int a[] = {1, 3, 5}; // the screen, by default, gets the same in any vertex order
        do
        {
            FillSurface(pScreen, 0);
            (oEngine.*pDraw)(d[a[0]], d[a[0] + 1], d[a[1]], d[a[1] + 1], d[a[2]], d[a[2] + 1],
                             WHITE, nullptr);
            EXPECT_EQ(CountDifferentPixels(pScreen, pBackground), 0)
                << "case " << iCase << ", vertex order " << a[0] / 2 << a[1] / 2 << a[2] / 2;
        } while (d[0] == 0 && std::next_permutation(a, a + 3));
    }
    FillSurface(pBackground, 0);
    oEngine.PutBackgroundPixel(0, 0, WHITE);
    oEngine.PutBackgroundPixel(799, 599, WHITE);
    EXPECT_TRUE(PixelAt(pBackground, 0, 0) == WHITE && PixelAt(pBackground, 799, 599) == WHITE &&
                CountPixels(pBackground, WHITE, 0, 0, 800, 600) == 2)
        << "white in both corners and nowhere else";
    const std::tuple<int, int, const char*> aCases[] = {{-1, -1, "iX >= 0"},
                                                        {800, -1, "iX < m_iIntsPerScreenRow"},
                                                        {0, -1, "iY >= 0"},
                                                        {799, 600, "iY < m_iScreenHeight"}};
    for (const auto& [iX, iY, szCheck] : aCases)
        EXPECT_DEATH_IF_SUPPORTED(oEngine.PutBackgroundPixel(iX, iY, WHITE),
                                  std::string("Assertion failed: ") + szCheck +
                                      ", file src/BaseEngine");
}
