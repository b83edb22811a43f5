// render-text FONT POINTS TEXT OUT.bmp: draws TEXT in white the way the game draws its texts
// (TTF_RenderText_Solid), so a test can look for exactly these glyph pixels on the screen.
#include <SDL.h>
#include <SDL_ttf.h>

int main(int argc, char** argv)
{
    TTF_Font* pFont = argc == 5 && TTF_Init() == 0 ? TTF_OpenFont(argv[1], atoi(argv[2])) : nullptr;
    SDL_Color oWhite = {255, 255, 255, 0};
    SDL_Surface* pText = pFont != nullptr ? TTF_RenderText_Solid(pFont, argv[3], oWhite) : nullptr;
    if (pText != nullptr && SDL_SaveBMP(pText, argv[4]) == 0)
        return 0; // the process's end frees the font and the picture
    fprintf(stderr, "usage: render-text FONT POINTS TEXT OUT.bmp: %s\n", TTF_GetError());
    return 1;
}
