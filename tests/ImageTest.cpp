#include <SDL_image.h>
#include <cstdlib>

#include "PixelImage.h"
#include "Platform.h"
#include "SurfaceImage.h"
#include "TestSupport.h"

namespace
{
const Uint32 BLUE = 0x0000FF, GREEN = 0x00FF00;

// The 4 by 4 test picture "grey.bmp": greys from black at (0,0) to white at (3,3), all different.
Uint32 Grey(int iX, int iY)
{
    return (iX + 4 * iY) * 0x111111;
}

class ImageTest : public WorkingDirectoryTest
{
protected:
    void SetUp() override
    {
        WorkingDirectoryTest::SetUp();
        SDL_Surface* pPicture = NewSurface(4, 4);
        for (int i = 0; i < 16; i++)
            static_cast<Uint32*>(pPicture->pixels)[i / 4 * pPicture->pitch / 4 + i % 4] =
                Grey(i % 4, i / 4);
        ASSERT_EQ(SDL_SaveBMP(pPicture, "grey.bmp"), 0);
        SDL_FreeSurface(pPicture);
        FillSurface(m_pTarget, BLUE);
    }
    void TearDown() override
    {
        SDL_FreeSurface(m_pTarget);
        WorkingDirectoryTest::TearDown();
    }
    SDL_Surface* m_pTarget = NewSurface(10, 10);
};

TEST_F(ImageTest, PixelImageCopiesEveryPixelOfTheDrawThatLiesOnTheTargetAndInThePicture)
{
    PixelImage oImage;
    ASSERT_TRUE(oImage.LoadPicture("grey.bmp"));
    // Source x, y, destination x, y, width, height: inside; cut by or off each edge; exactly
    // reaching the right and bottom edges; source rectangles reaching outside the picture.
    const int aaiDraws[][6] = {{0, 0, 3, 3, 4, 4},   {0, 0, -2, 3, 4, 4},   {0, 0, 3, -2, 4, 4},
                               {0, 0, 8, 3, 4, 4},   {0, 0, 3, 8, 4, 4},    {0, 0, -4, 3, 4, 4},
                               {0, 0, 10, 3, 4, 4},  {0, 0, 3, -4, 4, 4},   {0, 0, 3, 10, 4, 4},
                               {0, 0, 6, 6, 4, 4},   {1, 0, 2, 2, 2, 3},    {2, 1, 0, 0, 4, 4},
                               {-2, -1, 5, 5, 4, 4}, {0, 0, -1, -1, 12, 12}};
    for (const auto& d : aaiDraws)
    {
        FillSurface(m_pTarget, BLUE);
        oImage.DrawImage(m_pTarget, d[0], d[1], d[2], d[3], d[4], d[5]);
        int iWrong = 0;
        for (int iY = 0; iY < 10; iY++)
        {
            for (int iX = 0; iX < 10; iX++)
            {
                int iPictureX = d[0] + iX - d[2], iPictureY = d[1] + iY - d[3];
                bool bCopied = iX >= d[2] && iX < d[2] + d[4] && iY >= d[3] && iY < d[3] + d[5] &&
                               iPictureX >= 0 && iPictureX < 4 && iPictureY >= 0 && iPictureY < 4;
                iWrong += (PixelAt(m_pTarget, iX, iY) & 0xFFFFFF) !=
                          (bCopied ? Grey(iPictureX, iPictureY) : BLUE);
            }
        }
        EXPECT_EQ(iWrong, 0) << "wrong pixels after drawing source (" << d[0] << "," << d[1]
                             << ") at (" << d[2] << "," << d[3] << "), " << d[4] << "x" << d[5];
    }
}

TEST_F(ImageTest, ImagesWithoutAPictureDrawNothingAndPngAlphaIsKeptOnlyBySurfaceImage)
{
    PixelImage oImage;
    EXPECT_FALSE(oImage.LoadPicture("missing.png"));
    oImage.DrawImage(m_pTarget, 0, 0, 0, 0, 4, 4);
    EXPECT_EQ(CountPixels(m_pTarget, BLUE, 0, 0, 10, 10), 100) << "after a failed load";
    SDL_Surface* pTarget = NewSurface(96, 96);
    FillSurface(pTarget, GREEN);
    SurfaceImage oRock, oEmpty;
    ASSERT_TRUE(oRock.LoadPicture("asteroid1_small.png") && oRock.LoadPicture("asteroid1.png"));
    EXPECT_EQ(oRock.DrawImage(pTarget, 0, 0, 0, 0, 96, 96), 0);
    EXPECT_EQ(PixelAt(pTarget, 0, 0) & 0xFFFFFF, GREEN) << "corner, outside the rock";
    EXPECT_NE(PixelAt(pTarget, 48, 48) & 0xFFFFFF, GREEN) << "centre of the rock";
    EXPECT_LT(oEmpty.DrawImage(pTarget, 0, 0, 0, 0, 96, 96), 0) << "no picture loaded";
    ASSERT_TRUE(oImage.LoadPicture("asteroid1.png"));
    oImage.DrawImage(pTarget, 0, 0, 0, 0, 96, 96);
    EXPECT_EQ(CountPixels(pTarget, GREEN, 0, 0, 96, 96), 0) << "PixelImage has no transparency";
    SDL_FreeSurface(pTarget);
}

// Once a video mode exists the rocks are kept in the display's format for fast blits; what they
// draw must not change (SDL's two blend paths may round one step apart, SDL2's up to two).
using DisplayFormatTest = StartedEngineTest;

TEST_F(DisplayFormatTest, RocksInTheDisplayFormatDrawLikeThePicturesAsLoaded)
{
    BaseEngine oEngine(10);
    Start(&oEngine);
    for (const char* szName : {"asteroid1.png", "asteroid2_medium.png", "asteroid3_small.png"})
    {
        SurfaceImage oRock;
        SDL_Surface* pLoaded = IMG_Load(szName);
        ASSERT_TRUE(oRock.LoadPicture(szName) && pLoaded != nullptr);
        SDL_Surface* pExpected = NewSurface(pLoaded->w, pLoaded->h);
        SDL_Surface* pDrawn = NewSurface(pLoaded->w, pLoaded->h);
        int iPixels = pLoaded->w * pLoaded->h, iFarOff = 0;
        for (int i = 0; i < iPixels; i++) // a varied background under the edges
            static_cast<Uint32*>(pExpected->pixels)[i] = static_cast<Uint32*>(pDrawn->pixels)[i] =
                static_cast<Uint32>(i * 2654435761u) & 0xFFFFFF;
        SDL_BlitSurface(pLoaded, nullptr, pExpected, nullptr);
        oRock.DrawImage(pDrawn, 0, 0, 0, 0, pLoaded->w, pLoaded->h);
        for (int i = 0; i < iPixels * 4; i++)
            iFarOff += i % 4 != 3 && abs(static_cast<Uint8*>(pExpected->pixels)[i] -
                                         static_cast<Uint8*>(pDrawn->pixels)[i]) > 2;
        EXPECT_EQ(iFarOff, 0) << szName << ": channels more than two steps off";
        SDL_FreeSurface(pExpected);
        SDL_FreeSurface(pDrawn);
        SDL_FreeSurface(pLoaded);
    }
}

// A window scaled by sdl12-compat keeps sharp pixels, unless the player chose otherwise.
TEST_F(DisplayFormatTest, ScalingByTheNearestPixelIsAskedForUnlessThePlayerChoseAMethod)
{
    unsetenv("SDL12COMPAT_SCALE_METHOD");
    BaseEngine oEngine(10);
    Start(&oEngine);
    EXPECT_STREQ(getenv("SDL12COMPAT_SCALE_METHOD"), "nearest");
    setenv("SDL12COMPAT_SCALE_METHOD", "linear", 1);
    PreferNearestPixelScaling();
    EXPECT_STREQ(getenv("SDL12COMPAT_SCALE_METHOD"), "linear");
}
} // namespace
