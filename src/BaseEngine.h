#ifndef BASEENGINE_H
#define BASEENGINE_H

#include <SDL.h>

#include "FontCache.h"
#include "ScreenDamage.h"
#include "TextSurfaceCache.h"

class DisplayableObject;

// The reusable engine: window, surfaces, main loop, redraw cycle, object list, fonts and text.
// A game derives from it and is called only through the virtual operations below. Members are
// public because objects and the game read and write them directly (redraw flags, screen size).
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
    // Runs until m_iExitCode leaves -1 or the window is closed; returns 0.
    int RunMainLoop();
    void ShutDown();
    // Between the window and the whole screen (F11 or Alt+Return), the same picture in both; back
    // in a window, it goes to the desktop's top-left corner again.
    void ToggleFullScreen();
    // After the video mode was set again: draws on the display's new surface, or off screen where
    // it cannot be drawn on as it is, and shows the whole frame on it at once.
    void FollowDisplayMode();

public: // Input
    int IsKeyDown(int iKeyCode);

public: // Timing
    // Whether tick time iTime comes before iLater; right also across the wrap of SDL's
    // millisecond counter (2^31 ms after start the int turns negative).
    static bool IsTickBefore(int iTime, int iLater);
    // Milliseconds from tick time iEarlier to iTime, for times at most 2^32 - 1 ms apart.
    static unsigned TicksSince(int iTime, int iEarlier);
    // Advances the objects once for every iIntervalMs of tick time due by this pass, each time
    // with the time it was due, so a slow pass slows nothing down; while m_bCatchingUp only those
    // due before this millisecond. The first pass advances once; a stall longer than
    // MAX_CATCH_UP_MS replays only its last MAX_CATCH_UP_MS. With bAdvance false the due times pass
    // without an advance (a paused game).
    void AdvanceDueTicks(int iIntervalMs, bool bAdvance);

public: // Redraw cycle
    // The next frame is drawn afresh from the background and pushed whole.
    void RequestWholeScreenRedraw();
    // Whether this pass may push to the display: m_iPushIntervalMs since the last push.
    bool IsPushDue() const;
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
    bool m_bTicksStarted; // false until the first pass has advanced the objects
    bool m_bCatchingUp;   // the pass's tick before its events is running
    int m_iButtonDownX, m_iButtonDownY;
    int m_iButtonUpX, m_iButtonUpY;
    int m_iMouseX, m_iMouseY;
    // Set by whatever deletes or replaces the list, so a walk in progress stops.
    int m_iObjectListChanged;
    DisplayableObject** m_ppObjects; // ended by the first null entry
    FontCache m_oFontCache;
    FontEntry* m_pStandardFont;
    bool m_bScreenLocked;
    // Frames are drawn and pushed to the display at most once in this many milliseconds: a display
    // shows no more, and a push can cost more than a millisecond (sdl12-compat renders its whole
    // window texture each time). 0 draws and pushes on every pass that asks for a redraw.
    int m_iPushIntervalMs;
    int m_iLastPushTime;
    // What the redraws asked for since the last frame owe it: a whole-screen frame, and changed
    // areas drawn after it (or alone).
    bool m_bWholeScreenOwed;
    bool m_bChangesOwed;
    ScreenDamage m_oDamage; // what the next push must carry
    // Every push carries the whole screen: sdl12-compat shows a push of changed areas only when a
    // later push or event poll finds 16 ms gone since it last showed one (after the loop's sleep,
    // at the next pass's poll), a whole-screen push at once.
    bool m_bPushWholeScreens;
    TextSurfaceCache m_oTextCache; // the texts DrawText rendered, for the next frames
    // The display's surface while the picture is drawn off screen in m_pScreenSurface and each push
    // shows it there: scaled down on a full screen smaller than the picture, else copied as it is
    // to a display surface of another layout. Null while the picture is drawn on the display.
    SDL_Surface* m_pScaledDisplay;
    SDL_Surface* m_pOffScreenSurface; // drawn on instead of the display while that is set

    static constexpr int MAX_CATCH_UP_MS = 250;
    static constexpr int DISPLAY_PUSH_INTERVAL_MS = 17; // about as often as a 60 Hz display shows

private:
    static constexpr int KEY_TABLE_SIZE = 324; // SDL 1.2 key symbols 0 to SDLK_LAST (323)
    static constexpr int TICK_INTERVAL_MS = 10;

    template <typename Operation> void WalkObjects(Operation fnOperation);
    bool DispatchEvent(const SDL_Event& oEvent);
    void DispatchWindowState(const SDL_ActiveEvent& oEvent);
    bool LibraryShowsWholePicture() const;
    void EnterScaledFullScreen();
    void TakeDisplaySurface();
    bool CanDrawOn(const SDL_Surface* pDisplay) const;
    void PushWholeFrameNow();
    void UpdateScaledDisplay();
    void WaitUntilDue();
    bool LockScreenForFrame();
    void UnlockScreenAfterFrame();
    bool OweRedrawAsked();
    bool DrawWholeScreen();
    void DrawChangedAreas();
    void PushWholeScreen();
    void PushQueuedRects();
    void PushDamage();
    void CopyBackgroundArea(SDL_Rect* pRect);
    bool CanCopyRowsDirectly() const;
    void CopyBackgroundRows(SDL_Rect oRect);
    void FillClippedColumn(int iX, int iYFrom, int iYTo, int iColour, SDL_Surface* pTarget);
};

#endif
