// render-text FONT POINTS TEXT OUT.bmp [POINTS TEXT OUT.bmp]...: draws each TEXT in white the way
// the game draws its texts (TTF_RenderText_Solid), so a test can look for exactly these glyph
// pixels on the screen; many texts in one run start Wine once.
#include <SDL.h>
#include <SDL_ttf.h>

int main(int argc, char** argv)
{
    bool bDrawn = argc >= 5 && (argc - 2) % 3 == 0 && TTF_Init() == 0;
    SDL_Color oWhite = {255, 255, 255, 0};
    for (int i = 2; bDrawn && i < argc; i += 3)
    {
        TTF_Font* pFont = TTF_OpenFont(argv[1], atoi(argv[i]));
        SDL_Surface* pText =
            pFont != nullptr ? TTF_RenderText_Solid(pFont, argv[i + 1], oWhite) : nullptr;
        bDrawn = pText != nullptr && SDL_SaveBMP(pText, argv[i + 2]) == 0;
    }
    if (bDrawn)
        return 0; // the process's end frees the fonts and the pictures
    fprintf(stderr, "usage: render-text FONT POINTS TEXT OUT.bmp [POINTS TEXT OUT.bmp]...: %s\n",
            TTF_GetError());
    return 1;
}
