#ifndef BASEENGINE_H
#define BASEENGINE_H

#include <SDL.h>

#include "DisplayModes.h"
#include "FontCache.h"
#include "PushSink.h"
#include "ScreenDamage.h"
#include "TextSurfaceCache.h"

class DisplayableObject;
class LoopClock;

// The reusable engine: window, surfaces, main loop, redraw cycle, object list, fonts and text.
// A game derives from it and is called only through the virtual operations below. The state
// shared with the game and its objects is public because they read and write it directly
// (redraw flags, screen size); the loop's and the redraw cycle's own workings are private.
class BaseEngine
{
public:
    // The pool holds iUpdateRectLimit + 2 update rectangles.
    explicit BaseEngine(int iUpdateRectLimit);
    BaseEngine(const BaseEngine&) = delete;
    BaseEngine& operator=(const BaseEngine&) = delete;

public
    : // Operations the game overrides. Defaults are harmless so a game replaces only what it needs.
    virtual ~BaseEngine();
    // Deletes every object and the list; always marks the list as changed.
    virtual void DeleteAllObjects();
    // The tick time of the current main-loop pass.
    virtual int GetFrameTime();
    // Queues one update rectangle per object for the next partial push.
    virtual void CollectObjectRects();
    // Key events, after the key-state table is updated; codes outside the table too.
    virtual void OnKeyUp(int iKeyCode);
    virtual void OnKeyDown(int iKeyCode);
    // Mouse events, after the positions are stored.
    virtual void OnMouseMoved(int iX, int iY);
    virtual void OnMouseButtonDown(int iButton, int iX, int iY);
    virtual void OnMouseButtonUp(int iButton, int iX, int iY);
    // Last step of start-up: builds the object list and paints the background.
    virtual int StartGame();
    // First step of shutdown, for resources the game wants gone before the engine.
    virtual void ReleaseGameResources();
    // Replaces the object list; the engine alone has no objects.
    virtual int BuildObjectList();
    // Draws the background picture into the background surface.
    virtual void PaintBackground();
    // Twice per main-loop pass: before the events with m_bCatchingUp set, for the advances that
    // fell due before this millisecond, and after them for the one due now.
    virtual void RunGameTick();
    // The two kinds of redraw, called by PresentFrame with the screen ready for pixel access.
    virtual void RenderFullScreen();
    virtual void RenderChangedAreas();
    // Text and other drawing over the screen; called once for every frame drawn.
    virtual void DrawOverlayText();
    // Once per pass: when a push to the display is due, draws the frame that the redraws asked for
    // since the last one owe and pushes it; otherwise draws nothing.
    virtual void PresentFrame();
    virtual void RenderAllObjects();
    virtual void AdvanceAllObjects(int iTickTime);
    // Fills the whole background surface with a 0xRRGGBB colour.
    virtual void ClearBackground(int iColour);
    // The window was minimised or hidden; the game goes on unless it stops itself here.
    virtual void OnWindowHidden();

public: // Start, run, stop
    // 0 on success, 1 when SDL cannot start, 2 when the video mode cannot be set up. The window
    // shows the picture szIconFile as its icon, when one is given and can be loaded.
    int StartUp(const char* szCaption, int iWindowWidth, int iWindowHeight, const char* szFontName,
                int iFontSize, const char* szIconFile = nullptr);
    // Runs passes on SDL's clock until m_iExitCode leaves -1 or the window is closed; returns 0,
    // or 2 when a switch of mode left no display.
    int RunMainLoop();
    // One pass of the main loop at oClock's tick time, ending in oClock's wait until the next push
    // or input; false when the window was closed.
    bool RunLoopPass(LoopClock& oClock);
    void ShutDown();
    // Between the window and the whole screen (F11 or Alt+Return), the same picture in both; back
    // in a window, it goes to the desktop's top-left corner again.
    void ToggleFullScreen();
    // After the video mode was set again: draws on the display's new surface, or off screen where
    // it cannot be drawn on as it is, and shows the whole frame on it at once.
    void FollowDisplayMode();

public: // Input
    int IsKeyDown(int iKeyCode);

public: // Redraw cycle
    // The next frame is drawn afresh from the background and pushed whole.
    void RequestWholeScreenRedraw();
    // Frames are drawn and pushed at most once in iMs milliseconds (DISPLAY_PUSH_INTERVAL_MS
    // unless set); 0 draws and pushes on every pass that asks for a redraw.
    void SetPushInterval(int iMs);
    // Pushes go to pSink from now on, or to the display again when it is null.
    void SendPushesTo(PushSink* pSink);
    void EraseAllObjects();
    void CopyBackgroundToScreen();
    void CopyBackgroundRect(int iX, int iY, int iWidth, int iHeight);
    // A slot of the update-rectangle pool for the caller to fill; slot 0 once the pool overflowed.
    SDL_Rect* NextUpdateRect();
    SDL_Rect* QueueUpdateRect(int iX, int iY, int iWidth, int iHeight);

public: // Drawing primitives
    void DrawTriangle(double dX1, double dY1, double dX2, double dY2, double dX3, double dY3,
                      int iColour, SDL_Surface* pTarget);
    void FillEdgeStrip(double dXa, double dXb, double dEdge1Ya, double dEdge1Yb, double dEdge2Ya,
                       double dEdge2Yb, int iColour, SDL_Surface* pTarget);
    void PutBackgroundPixel(int iX, int iY, int iColour);
    void DrawText(int iX, int iY, const char* szText, int iColour, FontEntry* pFont,
                  SDL_Surface* pTarget);

public: // Object list
    DisplayableObject* GetObjectAt(int iIndex);

public: // State shared with the game and its objects
    int m_iExitCode;
    int* m_pKeyStates;
    int m_iScreenWidth;
    int m_iScreenHeight;
    SDL_Surface* m_pScreenSurface;
    SDL_Surface* m_pBackdropSurface;
    int m_iIntsPerScreenRow;
    int m_iTickTime;
    // Both set by RequestWholeScreenRedraw; only PresentFrame clears them.
    bool m_bRedrawNeeded;
    bool m_bWholeScreenRedraw;
    int m_iUpdateRectCapacity;
    SDL_Rect* m_pUpdateRects;
    int m_iUpdateRectCount; // equals the capacity once the pool overflowed
    int m_iNextTickTime;
    int m_iButtonDownX, m_iButtonDownY;
    int m_iButtonUpX, m_iButtonUpY;
    int m_iMouseX, m_iMouseY;
    // Set by whatever deletes or replaces the list, so a walk in progress stops.
    int m_iObjectListChanged;
    DisplayableObject** m_ppObjects; // ended by the first null entry
    FontCache m_oFontCache;
    FontEntry* m_pStandardFont;
    bool m_bScreenLocked;

protected: // For the game's tick
    // Advances the objects once for every iIntervalMs of tick time due by this pass, each time
    // with the time it was due, so a slow pass slows nothing down; while m_bCatchingUp only those
    // due before this millisecond. The first pass advances once; a stall longer than
    // MAX_CATCH_UP_MS replays only its last MAX_CATCH_UP_MS. With bAdvance false the due times pass
    // without an advance (a paused game).
    void AdvanceDueTicks(int iIntervalMs, bool bAdvance);

    bool m_bCatchingUp; // the pass's tick before its events is running

private:
    static constexpr int KEY_TABLE_SIZE = 324; // SDL 1.2 key symbols 0 to SDLK_LAST (323)
    static constexpr int TICK_INTERVAL_MS = 10;
    static constexpr int MAX_CATCH_UP_MS = 250;
    static constexpr int DISPLAY_PUSH_INTERVAL_MS = 17; // about as often as a 60 Hz display shows

    bool m_bTicksStarted; // false until the first pass has advanced the objects
    // Frames are drawn and pushed to the display at most once in this many milliseconds: a display
    // shows no more, and a push can cost more than a millisecond (sdl12-compat renders its whole
    // window texture each time).
    int m_iPushIntervalMs;
    int m_iLastPushTime;
    // What the redraws asked for since the last frame owe it: a whole-screen frame, and changed
    // areas drawn after it (or alone).
    bool m_bWholeScreenOwed;
    bool m_bChangesOwed;
    ScreenDamage m_oDamage;        // what the next push must carry
    PushSink m_oDisplaySink;       // the display, as this library shows a push
    PushSink* m_pPushSink;         // the display's, unless a test's recorder
    TextSurfaceCache m_oTextCache; // the texts DrawText rendered, for the next frames

    template <typename Operation> void WalkObjects(Operation fnOperation);
    bool DispatchEvent(const SDL_Event& oEvent);
    void DispatchWindowState(const SDL_ActiveEvent& oEvent);
    int LoopStatus() const;
    void TakeDrawingSurface();
    void PushWholeFrameNow();
    int NextDueTime() const;
    bool LockScreenForFrame();
    void UnlockScreenAfterFrame();
    bool OweRedrawAsked();
    bool IsPushDue() const;
    bool DrawWholeScreen();
    void DrawChangedAreas();
    void DamageQueuedRects();
    void PushDamage();
    void CopyBackgroundArea(SDL_Rect* pRect);
    bool CanCopyRowsDirectly() const;
    void CopyBackgroundRows(SDL_Rect oRect);
    void FillClippedColumn(int iX, int iYFrom, int iYTo, int iColour, SDL_Surface* pTarget);

    DisplayModes m_oDisplayModes; // where the picture is drawn, and how each push shows it
};

#endif
