#ifndef DISPLAYABLEOBJECT_H
#define DISPLAYABLEOBJECT_H

#include <SDL.h>

class BaseEngine;

// Base of everything that moves on the screen. The engine calls objects only through the
// virtual operations below; the object list owns every object stored in it.
class DisplayableObject
{
public:
    explicit DisplayableObject(BaseEngine* pEngine);
    DisplayableObject(const DisplayableObject&) = delete;
    DisplayableObject& operator=(const DisplayableObject&) = delete;

public: // Operations the engine calls
    virtual ~DisplayableObject();
    // Draws the object at its position; the base draws a magenta box over its area.
    virtual void Render();
    // Copies the background over the area where the object was last drawn.
    virtual void EraseFromScreen();
    // Fills an update-rectangle slot with the redraw rectangle.
    virtual void WriteRedrawRect(SDL_Rect* pRect);
    // One game tick of movement.
    virtual void Advance(int iTickTime);

    // Makes the redraw rectangle cover both the last drawn and the current area, then records the
    // current position as drawn. Called at the end of every Render that draws.
    void UpdateRedrawRect();

public:
    int m_iRedrawX;
    int m_iRedrawY;
    int m_iRedrawWidth;
    int m_iRedrawHeight;
    BaseEngine* m_pHostEngine; // not owned
    int m_iPosX;
    int m_iPosY;
    int m_iLastDrawnX;
    int m_iLastDrawnY;
    // The drawn area, relative to the position.
    int m_iAreaOffsetX;
    int m_iAreaOffsetY;
    int m_iAreaWidth;
    int m_iAreaHeight;
    // Meaning chosen by each kind: shown, alive or in flight.
    bool m_bActive;
};

#endif
