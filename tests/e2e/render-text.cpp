// render-text FONT POINTS TEXT OUT.bmp: draws TEXT in white the way the game draws its texts
// (TTF_RenderText_Solid), so a test can look for exactly these glyph pixels on the screen.
#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 5)
    {
        std::fprintf(stderr, "usage: %s FONT POINTS TEXT OUT.bmp\n", argv[0]);
        return 2;
    }
    if (TTF_Init() != 0)
        return 1;
    TTF_Font* pFont = TTF_OpenFont(argv[1], std::atoi(argv[2]));
    SDL_Color oWhite = {255, 255, 255, 0};
    SDL_Surface* pText = pFont != nullptr ? TTF_RenderText_Solid(pFont, argv[3], oWhite) : nullptr;
    int iStatus = pText != nullptr && SDL_SaveBMP(pText, argv[4]) == 0 ? 0 : 1;
    if (iStatus != 0)
        std::fprintf(stderr, "render-text: %s\n", TTF_GetError());
    SDL_FreeSurface(pText);
    if (pFont != nullptr)
        TTF_CloseFont(pFont);
    TTF_Quit();
    return iStatus;
}
