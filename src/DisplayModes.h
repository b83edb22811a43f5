#ifndef DISPLAYMODES_H
#define DISPLAYMODES_H

#include <SDL.h>

// The display's modes, the window and the whole screen, and the surface the picture is drawn on in
// each: the display's own where it can be drawn on as it is, else one off screen that every push
// then shows on the display, copied as it is or scaled down to a full screen smaller than it.
class DisplayModes
{
public:
    DisplayModes();
    ~DisplayModes();
    DisplayModes(const DisplayModes&) = delete;
    DisplayModes& operator=(const DisplayModes&) = delete;

    // Makes the off-screen surface for a picture of iWidth by iHeight; false when it cannot be
    // made.
    bool Open(int iWidth, int iHeight);
    // Between the window and the whole screen, the same picture in both; back in a window, it goes
    // to the desktop's top-left corner again. Follow() must come next.
    void Toggle();
    // After the video mode was set again: draws on the display's new surface, or off screen where
    // it cannot be drawn on as it is. False, with the error reported, when no mode is set.
    bool Follow();
    // Where the picture is drawn: the display's surface or the off-screen one.
    SDL_Surface* DrawingSurface() const;
    // A switch of mode left no display; the picture goes on being drawn off screen, unseen.
    bool IsDisplayLost() const;
    // While the picture is drawn off screen, shows the whole of it on the display.
    void ShowOnDisplay();
    // sdl12-compat, the SDL 1.2 over SDL2, numbers its versions from 1.2.50 on.
    static bool IsLibraryOverSdl2();

private:
    bool LibraryShowsWholePicture() const;
    void EnterScaledFullScreen();
    bool CanDrawOn(const SDL_Surface* pDisplay) const;
    bool DrawScaledDown();

    int m_iWidth;
    int m_iHeight;
    SDL_Surface* m_pOffScreenSurface;
    // The display's surface while the picture is drawn off screen; null while it is drawn on it.
    SDL_Surface* m_pScaledDisplay;
    SDL_Surface* m_pDrawingSurface;
    bool m_bDisplayLost;
};

#endif
