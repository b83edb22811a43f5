// starshards-rock-draws: draws the three rock pictures of one size over a varied screen, blitted as
// SDL_image loads them and through SurfaceImage as the game draws them, each way in a function of
// its own, so that callgrind counts each one's instructions (bench/rock-cost.sh).
//
//   starshards-rock-draws large|medium|small    (in a directory holding the pictures)

#include <SDL.h>
#include <SDL_image.h>
#include <cstdio>
#include <cstring>
#include <string>

#include "SurfaceImage.h"

namespace
{
const int DRAWS = 100; // of each picture, each way

// Places spread over the screen, the same for both ways.
SDL_Rect PlaceOfDraw(int iDraw)
{
    return SDL_Rect{static_cast<Sint16>(iDraw * 37 % 700), static_cast<Sint16>(iDraw * 53 % 500), 0,
                    0};
}

__attribute__((noinline)) void DrawAsLoaded(SDL_Surface* pPicture, SDL_Surface* pScreen)
{
    for (int i = 0; i < DRAWS; i++)
    {
        SDL_Rect oPlace = PlaceOfDraw(i);
        SDL_BlitSurface(pPicture, nullptr, pScreen, &oPlace);
    }
}

__attribute__((noinline)) void DrawThroughSurfaceImage(SurfaceImage& oImage, SDL_Surface* pScreen)
{
    for (int i = 0; i < DRAWS; i++)
    {
        SDL_Rect oPlace = PlaceOfDraw(i);
        SDL_Surface* pPicture = oImage.GetSurface();
        oImage.DrawImage(pScreen, 0, 0, oPlace.x, oPlace.y, pPicture->w, pPicture->h);
    }
}
} // namespace

int main(int argc, char** argv)
{
    const char* const aszSizes[] = {"large", "medium", "small"};
    const char* const aszSuffixes[] = {"", "_medium", "_small"};
    int iSize = 0;
    while (iSize < 3 && (argc != 2 || strcmp(argv[1], aszSizes[iSize]) != 0))
        iSize++;
    if (iSize == 3)
    {
        fprintf(stderr, "usage: starshards-rock-draws large|medium|small\n");
        return 2;
    }
    SDL_Surface* pScreen = nullptr;
    if (SDL_Init(SDL_INIT_VIDEO) != 0 ||
        (pScreen = SDL_SetVideoMode(800, 600, 32, SDL_SWSURFACE)) == nullptr)
    {
        fprintf(stderr, "starshards-rock-draws: %s\n", SDL_GetError());
        return 1;
    }
    for (int i = 0; i < pScreen->w * pScreen->h; i++) // every blend has work to do
        static_cast<Uint32*>(pScreen->pixels)[i] = static_cast<Uint32>(i * 2654435761u) >> 8;
    for (int iRock = 1; iRock <= 3; iRock++)
    {
        std::string strName = "asteroid" + std::to_string(iRock) + aszSuffixes[iSize] + ".png";
        SurfaceImage oImage;
        SDL_Surface* pPicture = IMG_Load(strName.c_str());
        if (pPicture == nullptr || !oImage.LoadPicture(strName.c_str()))
        {
            fprintf(stderr, "starshards-rock-draws: cannot load %s\n", strName.c_str());
            return 1;
        }
        DrawAsLoaded(pPicture, pScreen);
        DrawThroughSurfaceImage(oImage, pScreen);
        SDL_FreeSurface(pPicture);
    }
    SDL_Quit();
    return 0;
}
