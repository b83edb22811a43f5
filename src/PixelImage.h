#ifndef PIXELIMAGE_H
#define PIXELIMAGE_H

#include <SDL.h>

// A picture converted once to 0xAARRGGBB and drawn by plain copy: no blending, nothing
// transparent. For small opaque sprites (the bullet, the life icons).
class PixelImage
{
public:
    PixelImage();
    ~PixelImage();
    PixelImage(const PixelImage&) = delete;
    PixelImage& operator=(const PixelImage&) = delete;

    // Releases any picture held, then loads the file. False when it cannot be loaded.
    bool LoadPicture(const char* szFileName);
    // Copies the w by h area at (iSourceX, iSourceY) of the picture to (iDestX, iDestY) of a
    // 32-bit target whose pixels are accessible. Clipped to the target and to the picture.
    void DrawImage(SDL_Surface* pTarget, int iSourceX, int iSourceY, int iDestX, int iDestY,
                   int iWidth, int iHeight);

    int GetWidth() const { return m_iWidth; }
    int GetHeight() const { return m_iHeight; }

private:
    int m_iWidth;
    int m_iHeight;
    Uint32* m_pPixels;
};

#endif
