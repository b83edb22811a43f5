#ifndef SURFACEIMAGE_H
#define SURFACEIMAGE_H

#include <SDL.h>

// A picture kept as an SDL surface and drawn with a blit, so the alpha channel of a PNG is
// honoured. For the asteroids.
class SurfaceImage
{
public:
    SurfaceImage();
    ~SurfaceImage();
    SurfaceImage(const SurfaceImage&) = delete;
    SurfaceImage& operator=(const SurfaceImage&) = delete;

    // Releases any picture held, then loads the file. False when it cannot be loaded.
    bool LoadPicture(const char* szFileName);
    // Blits the w by h area at (iSourceX, iSourceY) to (iDestX, iDestY); SDL clips it. Returns the
    // blit's result: negative when nothing could be drawn (no picture).
    int DrawImage(SDL_Surface* pTarget, int iSourceX, int iSourceY, int iDestX, int iDestY,
                  int iWidth, int iHeight);

    SDL_Surface* GetSurface() const { return m_pSurface; }

private:
    void ConvertToDisplayFormat();

    SDL_Surface* m_pSurface;
};

#endif
