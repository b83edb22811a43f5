#include <SDL_image.h>

#include "PixelImage.h"
#include "Platform.h"
#include "SurfaceImage.h"
#include "TestSupport.h"

const Uint32 BLUE = 0x0000FF;

using ImageTest = StartedEngineTest;

// A window scaled by sdl12-compat keeps sharp pixels, unless the player chose otherwise.
TEST_F(ImageTest, Sdl12CompatScalingKeepsSharpPixels)
{
    SetEnvironment("SDL12COMPAT_SCALE_METHOD", nullptr);
    BaseEngine oEngine(10);
    Start(&oEngine);
    EXPECT_STREQ(getenv("SDL12COMPAT_SCALE_METHOD"), "nearest");
    SetEnvironment("SDL12COMPAT_SCALE_METHOD", "linear");
    PreferNearestPixelScaling();
    EXPECT_STREQ(getenv("SDL12COMPAT_SCALE_METHOD"), "linear");
}

// PixelImage copies pixels as a blit without blending would: those of the source rectangle that
// lie in the picture, where they land on the target; nothing is transparent. A rock leaves the
// background under its clear pixels and shows the picture's colour in its opaque ones; kept in
// the display's format for fast blits, its soft edge lies within two steps of blending the
// picture as loaded.
TEST_F(ImageTest, PixelImageCopiesWhatLiesOnTheTargetAndRocksDrawAsLoaded)
{
    // The pixel memory of a 32-bit surface whose rows have no padding.
    auto Pixels = [](SDL_Surface* pSurface) { return static_cast<Uint32*>(pSurface->pixels); };
    BaseEngine oEngine(10);
    Start(&oEngine);
    SDL_Surface *pGrey = NewSurface(4, 4), *pTarget = NewSurface(10, 10);
    SDL_Surface* pExpected = NewSurface(10, 10);
    for (int i = 0; i < 16; i++) // greys from black at (0,0) to white at (3,3), all different
        Pixels(pGrey)[i] = i * 0x111111;
    ASSERT_EQ(SDL_SaveBMP(pGrey, "grey.bmp"), 0);
    PixelImage oImage;
    EXPECT_FALSE(oImage.LoadPicture("missing.png"));
    ASSERT_TRUE(oImage.LoadPicture("grey.bmp"));
    // Source x, y, destination x, y, width, height: inside; cut by or off each edge; exactly
    // reaching the right and bottom edges; cut by the right edge in the last rows, where a column
    // too many would leave the target's memory; source rectangles reaching outside the picture.
    const int aaiDraws[][6] = {{0, 0, 3, 3, 4, 4},  {0, 0, -2, 3, 4, 4},  {0, 0, 3, -2, 4, 4},
                               {0, 0, 8, 3, 4, 4},  {0, 0, 3, 8, 4, 4},   {0, 0, -4, 3, 4, 4},
                               {0, 0, 10, 3, 4, 4}, {0, 0, 3, -4, 4, 4},  {0, 0, 3, 10, 4, 4},
                               {0, 0, 6, 6, 4, 4},  {0, 0, 8, 6, 4, 4},   {1, 0, 2, 2, 2, 3},
                               {2, 1, 0, 0, 4, 4},  {-2, -1, 5, 5, 4, 4}, {0, 0, -1, -1, 12, 12}};
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
    EXPECT_LT(SurfaceImage().DrawImage(pTarget, 0, 0, 0, 0, 4, 4), 0) << "without a picture";
    for (SDL_Surface* pSurface : {pGrey, pTarget, pExpected})
        SDL_FreeSurface(pSurface);
    const char* const aszSizes[] = {"", "_medium", "_small"};
    for (int iRock = 0; iRock < 9; iRock++) // the three rocks in three sizes
    {
        std::string strName = "asteroid" + std::to_string(iRock / 3 + 1) + aszSizes[iRock % 3];
        SurfaceImage oRock;
        SDL_Surface* pLoaded = IMG_Load((strName += ".png").c_str());
        ASSERT_TRUE(oRock.LoadPicture(strName.c_str()) && pLoaded != nullptr);
        int iWidth = pLoaded->w, iHeight = pLoaded->h, aiOff[3] = {};
        SDL_Surface *pBlended = NewSurface(iWidth, iHeight), *pDrawn = NewSurface(iWidth, iHeight);
        for (int i = 0; i < iWidth * iHeight; i++) // a varied background
            Pixels(pBlended)[i] = Pixels(pDrawn)[i] = static_cast<Uint32>(i * 2654435761u) >> 8;
        SDL_BlitSurface(pLoaded, nullptr, pBlended, nullptr); // leaves the background where clear
        EXPECT_EQ(oRock.DrawImage(pDrawn, 0, 0, 0, 0, iWidth, iHeight), 0);
        for (int i = 0; i < iWidth * iHeight; i++)
        {
            Uint8 iR, iG, iB, iAlpha;
            SDL_GetRGBA(Pixels(pLoaded)[i], pLoaded->format, &iR, &iG, &iB, &iAlpha);
            int iKind = iAlpha == 0 ? 0 : (iAlpha == 255 ? 1 : 2); // clear, opaque, partly clear
            Uint32 iWanted = iKind == 1 ? iR << 16 | iG << 8 | iB : Pixels(pBlended)[i];
            for (int iShift = 0; iShift < 24; iShift += 8) // red, green and blue
                aiOff[iKind] += abs(int(Pixels(pDrawn)[i] >> iShift & 0xFF) -
                                    int(iWanted >> iShift & 0xFF)) > (iKind == 2 ? 2 : 0);
        }
        EXPECT_EQ(std::vector<int>(aiOff, aiOff + 3), std::vector<int>(3, 0))
            << strName << ": channels off among the clear, the opaque and the partly clear pixels";
        for (SDL_Surface* pSurface : {pBlended, pDrawn, pLoaded})
            SDL_FreeSurface(pSurface);
    }
}
