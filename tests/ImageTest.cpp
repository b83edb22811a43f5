#include <SDL_image.h>

#include "PixelImage.h"
#include "Platform.h"
#include "SurfaceImage.h"
#include "TestSupport.h"

const Uint32 BLUE = 0x0000FF;

using ImageTest = StartedEngineTest;

// PixelImage copies pixels as a blit without blending would: those of the source rectangle that
// lie in the picture, where they land on the target; nothing is transparent. Once a video mode
// exists the rocks are kept in the display's format for fast blits; what they draw, their clear
// parts too, must not change (blend paths may round up to two steps apart). A window scaled by
// sdl12-compat keeps sharp pixels, unless the player chose otherwise.
TEST_F(ImageTest, PixelImageCopiesWhatLiesOnTheTargetRocksDrawAsLoadedScalingKeepsSharpPixels)
{
    unsetenv("SDL12COMPAT_SCALE_METHOD");
    BaseEngine oEngine(10);
    Start(&oEngine);
    EXPECT_STREQ(getenv("SDL12COMPAT_SCALE_METHOD"), "nearest");
    setenv("SDL12COMPAT_SCALE_METHOD", "linear", 1);
    PreferNearestPixelScaling();
    EXPECT_STREQ(getenv("SDL12COMPAT_SCALE_METHOD"), "linear");
    SDL_Surface *pGrey = NewSurface(4, 4), *pTarget = NewSurface(10, 10);
    SDL_Surface* pExpected = NewSurface(10, 10);
    for (int i = 0; i < 16; i++) // greys from black at (0,0) to white at (3,3), all different
        static_cast<Uint32*>(pGrey->pixels)[i] = i * 0x111111;
    ASSERT_EQ(SDL_SaveBMP(pGrey, "grey.bmp"), 0);
    PixelImage oImage;
    EXPECT_FALSE(oImage.LoadPicture("missing.png"));
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
        FillSurface(pTarget, BLUE);
        FillSurface(pExpected, BLUE);
        oImage.DrawImage(pTarget, d[0], d[1], d[2], d[3], d[4], d[5]);
        SDL_Rect oFrom{Sint16(d[0]), Sint16(d[1]), Uint16(d[4]), Uint16(d[5])};
        SDL_Rect oTo{Sint16(d[2]), Sint16(d[3]), 0, 0};
        SDL_BlitSurface(pGrey, &oFrom, pExpected, &oTo);
        EXPECT_EQ(CountDifferentPixels(pTarget, pExpected), 0) << "draw " << &d - aaiDraws;
    }
    ASSERT_TRUE(oImage.LoadPicture("asteroid1.png")); // its corners are clear
    oImage.DrawImage(pTarget, 0, 0, 0, 0, 10, 10);
    EXPECT_EQ(CountPixels(pTarget, BLUE, 0, 0, 10, 10), 0) << "a clear corner let blue through";
    SurfaceImage oEmpty;
    EXPECT_LT(oEmpty.DrawImage(pTarget, 0, 0, 0, 0, 4, 4), 0) << "a draw without a picture";
    for (SDL_Surface* pSurface : {pGrey, pTarget, pExpected})
        SDL_FreeSurface(pSurface);
    for (const char* szName : {"asteroid1.png", "asteroid2_medium.png", "asteroid3_small.png"})
    {
        SurfaceImage oRock;
        SDL_Surface* pLoaded = IMG_Load(szName);
        ASSERT_TRUE(oRock.LoadPicture(szName) && pLoaded != nullptr);
        SDL_Surface *pExpected = NewSurface(pLoaded->w, pLoaded->h),
                    *pDrawn = NewSurface(pLoaded->w, pLoaded->h);
        int iPixels = pLoaded->w * pLoaded->h, iFarOff = 0;
        for (int i = 0; i < iPixels; i++) // a varied background under the edges
            static_cast<Uint32*>(pExpected->pixels)[i] = static_cast<Uint32*>(pDrawn->pixels)[i] =
                static_cast<Uint32>(i * 2654435761u) & 0xFFFFFF;
        SDL_BlitSurface(pLoaded, nullptr, pExpected, nullptr);
        EXPECT_EQ(oRock.DrawImage(pDrawn, 0, 0, 0, 0, pLoaded->w, pLoaded->h), 0);
        for (int i = 0; i < iPixels * 4; i++)
            iFarOff += i % 4 != 3 && abs(static_cast<Uint8*>(pExpected->pixels)[i] -
                                         static_cast<Uint8*>(pDrawn->pixels)[i]) > 2;
        EXPECT_EQ(iFarOff, 0) << szName << ": channels more than two steps off";
        for (SDL_Surface* pSurface : {pExpected, pDrawn, pLoaded})
            SDL_FreeSurface(pSurface);
    }
}
