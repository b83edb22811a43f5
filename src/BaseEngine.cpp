#include "BaseEngine.h"

#include <SDL_image.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "DisplayableObject.h"
#include "FileReport.h"
#include "Platform.h"

// Background pixel writes are guarded in every build: a write outside the surface is a
// programming error that must stop the program rather than corrupt memory.
#define ENGINE_CHECK(condition)                                                                    \
    do                                                                                             \
    {                                                                                              \
        if (!(condition))                                                                          \
        {                                                                                          \
            fprintf(stderr, "Assertion failed: %s, file src/BaseEngine.cpp, line %d\n",            \
                    #condition, __LINE__);                                                         \
            abort();                                                                               \
        }                                                                                          \
    } while (0)

namespace
{
// The engine's rounding from a coordinate to a pixel: v + 0.5 truncated toward zero.
int PixelOf(double dValue)
{
    return static_cast<int>(dValue + 0.5);
}

// SDL 1.2 pushes rectangles unclipped: with X shared memory one reaching off the window makes the
// X server fail the request and ends the process. Returns false when nothing is left on screen.
bool ClipToScreen(SDL_Rect* pRect, int iScreenWidth, int iScreenHeight)
{
    int iLeft = pRect->x < 0 ? 0 : pRect->x;
    int iTop = pRect->y < 0 ? 0 : pRect->y;
    int iRight = pRect->x + pRect->w;
    int iBottom = pRect->y + pRect->h;
    if (iRight > iScreenWidth)
        iRight = iScreenWidth;
    if (iBottom > iScreenHeight)
        iBottom = iScreenHeight;
    if (iRight <= iLeft || iBottom <= iTop)
        return false;
    pRect->x = static_cast<Sint16>(iLeft);
    pRect->y = static_cast<Sint16>(iTop);
    pRect->w = static_cast<Uint16>(iRight - iLeft);
    pRect->h = static_cast<Uint16>(iBottom - iTop);
    return true;
}

bool Covers(const SDL_Rect& oOuter, const SDL_Rect& oInner)
{
    return oOuter.x <= oInner.x && oOuter.y <= oInner.y &&
           oOuter.x + oOuter.w >= oInner.x + oInner.w && oOuter.y + oOuter.h >= oInner.y + oInner.h;
}

// Every rectangle pushed costs the X server a request: leave out those that another rectangle of
// the same push covers (objects at rest queue the same area every frame). Quadratic, so only for
// the short lists of ordinary frames. Returns the count left, kept in order.
int DropCoveredRects(SDL_Rect* pRects, int iCount)
{
    const int MAX_COMPARED = 128;
    if (iCount > MAX_COMPARED)
        return iCount;
    bool abCovered[MAX_COMPARED];
    for (int i = 0; i < iCount; i++)
    {
        abCovered[i] = false;
        for (int j = 0; j < iCount && !abCovered[i]; j++)
        {
            bool bSame = Covers(pRects[i], pRects[j]) && Covers(pRects[j], pRects[i]);
            // Of two equal rectangles the first stays.
            abCovered[i] = j != i && Covers(pRects[j], pRects[i]) && (!bSame || j < i);
        }
    }
    int iKept = 0;
    for (int i = 0; i < iCount; i++)
    {
        if (!abCovered[i])
            pRects[iKept++] = pRects[i];
    }
    return iKept;
}

// Pushes the whole of a surface the size of the display to the display.
void ShowWholeDisplay(SDL_Surface* pDisplay)
{
    SDL_Rect oWhole = {0, 0, static_cast<Uint16>(pDisplay->w), static_cast<Uint16>(pDisplay->h)};
    ShowDisplayRects(pDisplay, 1, &oWhole);
}

// Tick time iMs after iTime, wrapping as SDL's counter does instead of overflowing.
int TickAfter(int iTime, int iMs)
{
    return static_cast<int>(static_cast<unsigned>(iTime) + static_cast<unsigned>(iMs));
}

// The engine's own keys, which the game never sees: F11 and Alt+Return switch to and from the
// whole screen, as on most desktops.
bool IsFullScreenKey(const SDL_keysym& oKey)
{
    return oKey.sym == SDLK_F11 || (oKey.sym == SDLK_RETURN && (oKey.mod & KMOD_ALT) != 0);
}

// sdl12-compat, the SDL 1.2 over SDL2, numbers its versions from 1.2.50 on.
bool IsLibraryOverSdl2()
{
    const SDL_version* pLinked = SDL_Linked_Version();
    return SDL_VERSIONNUM(pLinked->major, pLinked->minor, pLinked->patch) >=
           SDL_VERSIONNUM(1, 2, 50);
}

SDL_Rect MakeRect(int iX, int iY, int iWidth, int iHeight)
{
    SDL_Rect oRect;
    oRect.x = static_cast<Sint16>(iX);
    oRect.y = static_cast<Sint16>(iY);
    oRect.w = static_cast<Uint16>(iWidth);
    oRect.h = static_cast<Uint16>(iHeight);
    return oRect;
}
} // namespace

BaseEngine::BaseEngine(int iUpdateRectLimit)
    : m_iExitCode(-1), m_pKeyStates(nullptr), m_iScreenWidth(0), m_iScreenHeight(0),
      m_pScreenSurface(nullptr), m_pBackdropSurface(nullptr), m_iIntsPerScreenRow(0),
      m_iTickTime(0), m_bRedrawNeeded(true), m_bWholeScreenRedraw(true),
      m_iUpdateRectCapacity(iUpdateRectLimit + 2), m_pUpdateRects(nullptr), m_iUpdateRectCount(0),
      m_iNextTickTime(0), m_bTicksStarted(false), m_bCatchingUp(false), m_iButtonDownX(0),
      m_iButtonDownY(0), m_iButtonUpX(0), m_iButtonUpY(0), m_iMouseX(0), m_iMouseY(0),
      m_iObjectListChanged(0), m_ppObjects(nullptr), m_pStandardFont(nullptr),
      m_bScreenLocked(false), m_iPushIntervalMs(DISPLAY_PUSH_INTERVAL_MS), m_iLastPushTime(0),
      m_bWholeScreenOwed(false), m_bChangesOwed(false), m_bPushWholeScreens(IsLibraryOverSdl2()),
      m_pScaledDisplay(nullptr), m_pOffScreenSurface(nullptr)
{
    m_pUpdateRects = new SDL_Rect[m_iUpdateRectCapacity];
}

BaseEngine::~BaseEngine()
{
    BaseEngine::DeleteAllObjects();
    delete[] m_pUpdateRects;
    m_oFontCache.FreeAllFonts();
    delete[] m_pKeyStates; // only still held when the shutdown step was skipped
    SDL_FreeSurface(m_pBackdropSurface);
    SDL_FreeSurface(m_pOffScreenSurface);
}

// ---------------------------------------------------------------- start, run, stop

int BaseEngine::StartUp(const char* szCaption, int iWindowWidth, int iWindowHeight,
                        const char* szFontName, int iFontSize, const char* szIconFile)
{
    m_iScreenWidth = iWindowWidth;
    m_iScreenHeight = iWindowHeight;

    PreferNearestPixelScaling();
    if (SDL_Init(SDL_INIT_VIDEO) < 0)
    {
        fprintf(stderr, "Unable to init SDL: %s\n", SDL_GetError());
        return 1;
    }
    atexit(SDL_Quit);
    TTF_Init();
    atexit(TTF_Quit); // exit handlers run in reverse: the text library stops before SDL

    m_oFontCache.OpenPendingFonts();
    if (szFontName != nullptr && szFontName[0] != '\0')
        m_pStandardFont = m_oFontCache.LookUpFont(szFontName, iFontSize);

    // The icon must be in place before the window opens; Windows takes it only then.
    SDL_Surface* pIcon = szIconFile != nullptr ? IMG_Load(szIconFile) : nullptr;
    if (pIcon != nullptr)
        SDL_WM_SetIcon(pIcon, nullptr);
    else if (szIconFile != nullptr)
        ReportUnloadableFile(szIconFile);
    m_pScreenSurface = SDL_SetVideoMode(iWindowWidth, iWindowHeight, 32, 0);
    // The calls that follow may set errors of their own (sdl12-compat does on an 8-bit screen):
    // the one reported is the failed call's.
    std::string strVideoError = m_pScreenSurface == nullptr ? SDL_GetError() : "";
    SDL_WM_SetCaption(szCaption, nullptr);
    MoveWindowToTopLeft();
    if (pIcon != nullptr)
        ShowIconToWindowManager(pIcon);
    SDL_FreeSurface(pIcon);
    EndProgramOnLostDisplay();
    // Masks of 0 give SDL's default 32-bit layout, 0xRRGGBB, the same as the colours we store.
    m_pBackdropSurface = SDL_CreateRGBSurface(0, iWindowWidth, iWindowHeight, 32, 0, 0, 0, 0);
    m_pOffScreenSurface = SDL_CreateRGBSurface(0, iWindowWidth, iWindowHeight, 32, 0, 0, 0, 0);
    if ((m_pBackdropSurface == nullptr || m_pOffScreenSurface == nullptr) && strVideoError.empty())
        strVideoError = SDL_GetError();

    // Without these surfaces nothing can be drawn: a failed video set-up, not a later crash.
    if (m_pScreenSurface == nullptr || m_pBackdropSurface == nullptr ||
        m_pOffScreenSurface == nullptr)
    {
        fprintf(stderr, "Unable to set up video: %s\n", strVideoError.c_str());
        return 2;
    }
    TakeDisplaySurface();
    m_oDamage.Resize(iWindowWidth, iWindowHeight);

    m_pKeyStates = new int[KEY_TABLE_SIZE];
    memset(m_pKeyStates, 0, sizeof(int) * KEY_TABLE_SIZE);

    StartGame();
    return 0;
}

// The loop's phases, in order: the catch-up (the advances that fell due before this millisecond,
// so the events act after them as if they came in the last pass on time), the events (handlers may
// change anything, but a quit ends the pass at once), the advance due now, the frame (drawn and
// pushed only when a push is due; changes no game state), then the idle wait until the next push
// or input.
int BaseEngine::RunMainLoop()
{
    while (m_iExitCode == -1)
    {
        m_iTickTime = static_cast<int>(SDL_GetTicks());

        m_bCatchingUp = true;
        RunGameTick();
        m_bCatchingUp = false;

        SDL_Event oEvent;
        while (SDL_PollEvent(&oEvent))
        {
            if (!DispatchEvent(oEvent))
                return 0;
        }

        RunGameTick();
        PresentFrame();
        if (m_iExitCode == -1)
            WaitUntilDue();
    }
    return 0;
}

// Sleeps until the next thing is due: the next push, or at least the next millisecond. The
// advances in between change nothing shown before that push, and the next pass catches them up;
// input ends the sleep at once, so a key still acts in the advance of the millisecond it came in.
void BaseEngine::WaitUntilDue()
{
    int iDue = TickAfter(m_iTickTime, 1);
    int iPushDue = TickAfter(m_iLastPushTime, m_iPushIntervalMs);
    if (IsTickBefore(iDue, iPushDue))
        iDue = iPushDue;
    for (int iNow = static_cast<int>(SDL_GetTicks()); IsTickBefore(iNow, iDue);
         iNow = static_cast<int>(SDL_GetTicks()))
    {
        if (SleepUntilInput(static_cast<int>(TicksSince(iDue, iNow)) * 1000))
            return;
    }
}

// Returns false for a quit event, which ends the main loop at once.
bool BaseEngine::DispatchEvent(const SDL_Event& oEvent)
{
    switch (oEvent.type)
    {
    case SDL_KEYDOWN:
    {
        if (IsFullScreenKey(oEvent.key.keysym))
        {
            ToggleFullScreen();
            break;
        }
        int iKey = oEvent.key.keysym.sym;
        if (static_cast<unsigned>(iKey) < KEY_TABLE_SIZE)
            m_pKeyStates[iKey] = 1;
        OnKeyDown(iKey);
        break;
    }
    case SDL_KEYUP:
    {
        int iKey = oEvent.key.keysym.sym;
        if (static_cast<unsigned>(iKey) < KEY_TABLE_SIZE)
            m_pKeyStates[iKey] = 0;
        OnKeyUp(iKey);
        break;
    }
    case SDL_MOUSEMOTION:
        m_iMouseX = oEvent.motion.x;
        m_iMouseY = oEvent.motion.y;
        OnMouseMoved(m_iMouseX, m_iMouseY);
        break;
    case SDL_MOUSEBUTTONDOWN:
        m_iButtonDownX = oEvent.button.x;
        m_iButtonDownY = oEvent.button.y;
        OnMouseButtonDown(oEvent.button.button, m_iButtonDownX, m_iButtonDownY);
        break;
    case SDL_MOUSEBUTTONUP:
        m_iButtonUpX = oEvent.button.x;
        m_iButtonUpY = oEvent.button.y;
        OnMouseButtonUp(oEvent.button.button, m_iButtonUpX, m_iButtonUpY);
        break;
    case SDL_ACTIVEEVENT:
        DispatchWindowState(oEvent.active);
        break;
    case SDL_QUIT:
        return false;
    default:
        break;
    }
    return true;
}

void BaseEngine::DispatchWindowState(const SDL_ActiveEvent& oEvent)
{
    if ((oEvent.state & SDL_APPACTIVE) == 0)
        return;
    if (oEvent.gain == 0)
        OnWindowHidden();
    else // what the window showed may be gone
        m_bRedrawNeeded = m_bWholeScreenRedraw = true;
}

void BaseEngine::ToggleFullScreen()
{
    SDL_Surface* pDisplay = SDL_GetVideoSurface();
    bool bFullScreen = (pDisplay->flags & SDL_FULLSCREEN) != 0;
    if (bFullScreen && (pDisplay->w != m_iScreenWidth || pDisplay->h != m_iScreenHeight))
        SDL_SetVideoMode(m_iScreenWidth, m_iScreenHeight, 32, 0); // out of the scaled picture
    else if (!bFullScreen && !LibraryShowsWholePicture())
        EnterScaledFullScreen();
    // Where the library cannot switch the window it has (Windows), the mode is set anew, and a
    // mode the display refuses leaves the window as it was.
    else if (SDL_WM_ToggleFullScreen(pDisplay) == 0)
    {
        Uint32 iFlags = bFullScreen ? 0 : SDL_FULLSCREEN;
        if (SDL_SetVideoMode(m_iScreenWidth, m_iScreenHeight, 32, iFlags) == nullptr)
            SDL_SetVideoMode(m_iScreenWidth, m_iScreenHeight, 32, iFlags ^ SDL_FULLSCREEN);
    }
    if (SDL_GetVideoSurface() != nullptr && (SDL_GetVideoSurface()->flags & SDL_FULLSCREEN) == 0)
        MoveWindowToTopLeft();
    FollowDisplayMode();
}

void BaseEngine::FollowDisplayMode()
{
    if (SDL_GetVideoSurface() == nullptr)
    {
        fprintf(stderr, "Unable to set up video: %s\n", SDL_GetError());
        exit(2);
    }
    TakeDisplaySurface();
    PushWholeFrameNow();
}

// The engine writes 0xRRGGBB pixels straight into the screen, in the background's rows, and SDL
// copies no picture onto a surface while it is locked. A display surface of any other size or
// layout, or one that must be locked, gets the picture drawn off screen and copied to it: Windows
// sets a full screen larger than the picture and puts the picture in its middle, where only a lock
// reaches it.
void BaseEngine::TakeDisplaySurface()
{
    SDL_Surface* pDisplay = SDL_GetVideoSurface();
    bool bDirect = CanDrawOn(pDisplay);
    m_pScaledDisplay = bDirect ? nullptr : pDisplay;
    m_pScreenSurface = bDirect ? pDisplay : m_pOffScreenSurface;
    m_iIntsPerScreenRow = m_pScreenSurface->pitch / 4;
}

bool BaseEngine::CanDrawOn(const SDL_Surface* pDisplay) const
{
    const SDL_PixelFormat* pFormat = pDisplay->format;
    return pDisplay->w == m_iScreenWidth && pDisplay->h == m_iScreenHeight &&
           pDisplay->pitch == m_pBackdropSurface->pitch && !SDL_MUSTLOCK(pDisplay) &&
           pFormat->BitsPerPixel == 32 && pFormat->Rmask == 0xFF0000 &&
           pFormat->Gmask == 0x00FF00 && pFormat->Bmask == 0x0000FF;
}

// A new mode shows nothing until a frame is pushed: the whole frame is drawn and pushed at once,
// not when the next push falls due.
void BaseEngine::PushWholeFrameNow()
{
    m_bRedrawNeeded = m_bWholeScreenRedraw = m_bWholeScreenOwed = m_bChangesOwed = false;
    if (DrawWholeScreen())
        PushDamage();
    else // the screen could not be locked: the next push tries again
        m_bRedrawNeeded = m_bWholeScreenRedraw = true;
}

// Whether the library's own switch shows the whole picture: sdl12-compat (versions 1.2.50 and up)
// scales it to any screen; the classic library needs a full-screen mode the picture fits in. When
// the modes cannot be told, the library is left to decide.
bool BaseEngine::LibraryShowsWholePicture() const
{
    if (IsLibraryOverSdl2())
        return true;
    SDL_Rect** ppModes = SDL_ListModes(nullptr, SDL_FULLSCREEN);
    if (ppModes == nullptr || ppModes == reinterpret_cast<SDL_Rect**>(-1))
        return true;
    for (; *ppModes != nullptr; ppModes++)
        if ((*ppModes)->w >= m_iScreenWidth && (*ppModes)->h >= m_iScreenHeight)
            return true;
    return false;
}

// A screen smaller than the picture would cut it off: the frames are drawn off screen as before and
// each push shows them scaled down to the largest mode.
void BaseEngine::EnterScaledFullScreen()
{
    const SDL_Rect* pLargest = SDL_ListModes(nullptr, SDL_FULLSCREEN)[0];
    if (SDL_SetVideoMode(pLargest->w, pLargest->h, 32, SDL_FULLSCREEN) == nullptr)
        SDL_SetVideoMode(m_iScreenWidth, m_iScreenHeight, 32, 0);
}

// While the picture is drawn off screen, a push shows the whole of it: SDL copies it to a display
// of its size in whatever layout that has; a display of another size gets it by nearest pixels, as
// large as the display holds it with its aspect kept, centred on black.
void BaseEngine::UpdateScaledDisplay()
{
    if (m_pScaledDisplay == nullptr)
        return;
    int iDisplayW = m_pScaledDisplay->w, iDisplayH = m_pScaledDisplay->h;
    if (iDisplayW == m_iScreenWidth && iDisplayH == m_iScreenHeight)
    {
        SDL_BlitSurface(m_pScreenSurface, nullptr, m_pScaledDisplay, nullptr);
        ShowWholeDisplay(m_pScaledDisplay);
        return;
    }
    int iScaledW = std::min(iDisplayW, iDisplayH * m_iScreenWidth / m_iScreenHeight);
    int iScaledH = std::min(iDisplayH, iDisplayW * m_iScreenHeight / m_iScreenWidth);
    int iLeft = (iDisplayW - iScaledW) / 2, iTop = (iDisplayH - iScaledH) / 2;
    SDL_FillRect(m_pScaledDisplay, nullptr, 0);
    if (SDL_LockSurface(m_pScaledDisplay) != 0)
        return;
    const Uint32* pSource = static_cast<const Uint32*>(m_pScreenSurface->pixels);
    for (int iY = 0; iY < iScaledH; iY++)
    {
        Uint32* pRow = static_cast<Uint32*>(m_pScaledDisplay->pixels) +
                       (iTop + iY) * (m_pScaledDisplay->pitch / 4) + iLeft;
        const Uint32* pFrom =
            pSource + (2 * iY + 1) * m_iScreenHeight / (2 * iScaledH) * m_iIntsPerScreenRow;
        for (int iX = 0; iX < iScaledW; iX++)
            pRow[iX] = pFrom[(2 * iX + 1) * m_iScreenWidth / (2 * iScaledW)];
    }
    SDL_UnlockSurface(m_pScaledDisplay);
    ShowWholeDisplay(m_pScaledDisplay);
}

void BaseEngine::ShutDown()
{
    ReleaseGameResources();
    delete[] m_pKeyStates;
    m_pKeyStates = nullptr;
}

unsigned BaseEngine::TicksSince(int iTime, int iEarlier)
{
    return static_cast<unsigned>(iTime) - static_cast<unsigned>(iEarlier);
}

bool BaseEngine::IsTickBefore(int iTime, int iLater)
{
    return static_cast<int>(TicksSince(iTime, iLater)) < 0;
}

void BaseEngine::AdvanceDueTicks(int iIntervalMs, bool bAdvance)
{
    if (!m_bTicksStarted)
    {
        m_bTicksStarted = true;
        m_iNextTickTime = m_iTickTime;
    }
    int iDueBefore = m_bCatchingUp ? m_iTickTime : TickAfter(m_iTickTime, 1);
    if (!IsTickBefore(m_iNextTickTime, iDueBefore))
        return;
    if (!bAdvance)
    {
        m_iNextTickTime = iDueBefore;
        return;
    }
    unsigned iMaxTicks = std::max(1, MAX_CATCH_UP_MS / iIntervalMs);
    if (TicksSince(m_iTickTime, m_iNextTickTime) / iIntervalMs >= iMaxTicks)
        m_iNextTickTime = TickAfter(m_iTickTime, -static_cast<int>(iMaxTicks - 1) * iIntervalMs);
    while (IsTickBefore(m_iNextTickTime, iDueBefore))
    {
        int iDueTime = m_iNextTickTime;
        m_iNextTickTime = TickAfter(iDueTime, iIntervalMs);
        AdvanceAllObjects(iDueTime);
    }
}

int BaseEngine::IsKeyDown(int iKeyCode)
{
    if (static_cast<unsigned>(iKeyCode) >= KEY_TABLE_SIZE || m_pKeyStates == nullptr)
        return 0;
    return m_pKeyStates[iKeyCode];
}

// ---------------------------------------------------------------- operations the game overrides

void BaseEngine::DeleteAllObjects()
{
    m_iObjectListChanged = 1;
    if (m_ppObjects == nullptr)
        return;
    for (int i = 0; m_ppObjects[i] != nullptr; i++)
    {
        delete m_ppObjects[i];
        m_ppObjects[i] = nullptr;
    }
    delete[] m_ppObjects;
    m_ppObjects = nullptr;
}

int BaseEngine::GetFrameTime()
{
    return m_iTickTime;
}

void BaseEngine::CollectObjectRects()
{
    if (m_ppObjects == nullptr)
        return;
    for (int i = 0; m_ppObjects[i] != nullptr; i++)
        m_ppObjects[i]->WriteRedrawRect(NextUpdateRect());
}

void BaseEngine::OnKeyUp(int) {}
void BaseEngine::OnKeyDown(int) {}
void BaseEngine::OnMouseMoved(int, int) {}
void BaseEngine::OnMouseButtonDown(int, int, int) {}
void BaseEngine::OnMouseButtonUp(int, int, int) {}

int BaseEngine::StartGame()
{
    BuildObjectList();
    PaintBackground();
    return 0;
}

void BaseEngine::ReleaseGameResources() {}

int BaseEngine::BuildObjectList()
{
    DeleteAllObjects();
    return 0;
}

void BaseEngine::PaintBackground()
{
    ClearBackground(0xFFFF00);
}

void BaseEngine::RunGameTick()
{
    AdvanceDueTicks(TICK_INTERVAL_MS, true);
}

void BaseEngine::RenderFullScreen()
{
    CopyBackgroundToScreen();
    DrawOverlayText();
    RenderAllObjects();
}

void BaseEngine::RenderChangedAreas()
{
    EraseAllObjects();
    RenderAllObjects();
    DrawOverlayText();
}

void BaseEngine::DrawOverlayText() {}

void BaseEngine::PresentFrame()
{
    bool bWholeAskedNow = OweRedrawAsked();
    if ((!m_bWholeScreenOwed && !m_bChangesOwed) || !IsPushDue())
        return;
    // A whole-screen frame drawn when it was asked for, in an earlier pass, would have been
    // followed by changed-area frames up to this one whenever a redraw was asked for, also by its
    // own drawing: their objects lie under the overlay. A dropped frame drops them too.
    if (m_bWholeScreenOwed)
    {
        m_bWholeScreenOwed = false;
        if (!DrawWholeScreen())
            m_bChangesOwed = false;
        else if (!bWholeAskedNow)
            OweRedrawAsked();
    }
    if (m_bChangesOwed)
    {
        m_bChangesOwed = false;
        DrawChangedAreas();
    }
    PushDamage();
}

// Moves the redraw asked for into what the next frame owes; true when it is a whole-screen one.
bool BaseEngine::OweRedrawAsked()
{
    if (!m_bRedrawNeeded)
        return false;
    m_bRedrawNeeded = false;
    bool bWhole = m_bWholeScreenRedraw;
    m_bWholeScreenRedraw = false;
    if (bWhole)
        m_bWholeScreenOwed = true;
    // A whole-screen frame covers the changes asked for before it.
    m_bChangesOwed = !bWhole;
    return bWhole;
}

bool BaseEngine::IsPushDue() const
{
    return TicksSince(m_iTickTime, m_iLastPushTime) >= static_cast<unsigned>(m_iPushIntervalMs);
}

// False when the screen could not be locked: the frame is dropped.
bool BaseEngine::DrawWholeScreen()
{
    if (!LockScreenForFrame())
        return false;
    RenderFullScreen();
    UnlockScreenAfterFrame();
    // Rectangles queued meanwhile stay queued for the next partial push.
    PushWholeScreen();
    return true;
}

void BaseEngine::DrawChangedAreas()
{
    if (!LockScreenForFrame())
        return;
    RenderChangedAreas();
    UnlockScreenAfterFrame();
    CollectObjectRects();
    PushQueuedRects();
    m_iUpdateRectCount = 0;
}

// The guarded walk: up to the first empty entry, and no further once a call has replaced the
// list. Entries are read afresh at each step, so an object stored meanwhile is visited too.
template <typename Operation> void BaseEngine::WalkObjects(Operation fnOperation)
{
    m_iObjectListChanged = 0;
    if (m_ppObjects == nullptr || m_ppObjects[0] == nullptr)
        return;
    for (int i = 0;; i++)
    {
        fnOperation(m_ppObjects[i]);
        if (m_iObjectListChanged != 0 || m_ppObjects[i + 1] == nullptr)
            return;
    }
}

void BaseEngine::RenderAllObjects()
{
    WalkObjects([](DisplayableObject* pObject) { pObject->Render(); });
}

void BaseEngine::AdvanceAllObjects(int iTickTime)
{
    WalkObjects([iTickTime](DisplayableObject* pObject) { pObject->Advance(iTickTime); });
}

void BaseEngine::ClearBackground(int iColour)
{
    SDL_Rect oRect = MakeRect(0, 0, m_iScreenWidth, m_iScreenHeight);
    SDL_FillRect(m_pBackdropSurface, &oRect, static_cast<Uint32>(iColour));
}

void BaseEngine::OnWindowHidden() {}

// ---------------------------------------------------------------- redraw cycle

bool BaseEngine::LockScreenForFrame()
{
    if (!SDL_MUSTLOCK(m_pScreenSurface))
        return true;
    m_bScreenLocked = true;
    if (SDL_LockSurface(m_pScreenSurface) < 0)
    {
        m_bScreenLocked = false; // the frame is dropped
        return false;
    }
    return true;
}

void BaseEngine::UnlockScreenAfterFrame()
{
    if (SDL_MUSTLOCK(m_pScreenSurface))
        SDL_UnlockSurface(m_pScreenSurface);
    m_bScreenLocked = false;
}

void BaseEngine::PushWholeScreen()
{
    if (m_iPushIntervalMs > 0)
        m_oDamage.AddWholeScreen();
    else
    {
        ShowWholeDisplay(m_pScreenSurface);
        UpdateScaledDisplay();
    }
}

void BaseEngine::PushQueuedRects()
{
    if (m_iUpdateRectCount >= m_iUpdateRectCapacity || m_bPushWholeScreens)
    {
        // The pool overflowed, or only a whole-screen push shows at once: push everything.
        if (m_iPushIntervalMs > 0)
            m_oDamage.AddWholeScreen();
        else
        {
            ShowWholeDisplay(m_pScreenSurface);
            UpdateScaledDisplay();
        }
        return;
    }
    if (m_iPushIntervalMs > 0)
    {
        for (int i = 0; i < m_iUpdateRectCount; i++)
            m_oDamage.AddRect(m_pUpdateRects[i]);
        return;
    }
    // Clip in place: the pool is emptied right after this push anyway.
    int iKept = 0;
    for (int i = 0; i < m_iUpdateRectCount; i++)
    {
        SDL_Rect oRect = m_pUpdateRects[i];
        if (ClipToScreen(&oRect, m_iScreenWidth, m_iScreenHeight))
            m_pUpdateRects[iKept++] = oRect;
    }
    iKept = DropCoveredRects(m_pUpdateRects, iKept);
    ShowDisplayRects(m_pScreenSurface, iKept, m_pUpdateRects);
    UpdateScaledDisplay();
}

void BaseEngine::PushDamage()
{
    if (m_oDamage.IsEmpty())
        return;
    if (m_bPushWholeScreens)
        m_oDamage.AddWholeScreen();
    m_oDamage.Push(m_pScreenSurface);
    UpdateScaledDisplay();
    m_iLastPushTime = m_iTickTime;
}

void BaseEngine::EraseAllObjects()
{
    WalkObjects([](DisplayableObject* pObject) { pObject->EraseFromScreen(); });
}

void BaseEngine::CopyBackgroundToScreen()
{
    SDL_Rect oRect = MakeRect(0, 0, m_iScreenWidth, m_iScreenHeight);
    CopyBackgroundArea(&oRect);
}

void BaseEngine::CopyBackgroundRect(int iX, int iY, int iWidth, int iHeight)
{
    SDL_Rect oRect = MakeRect(iX, iY, iWidth, iHeight);
    CopyBackgroundArea(&oRect);
}

// Copies an area of the background to the same place on the screen. A blit must not run on a
// locked surface, so a frame's lock is released around it and taken again.
void BaseEngine::CopyBackgroundArea(SDL_Rect* pRect)
{
    if (CanCopyRowsDirectly())
    {
        CopyBackgroundRows(*pRect);
        return;
    }
    bool bRelock = m_bScreenLocked && SDL_MUSTLOCK(m_pScreenSurface);
    if (bRelock)
        SDL_UnlockSurface(m_pScreenSurface);
    SDL_Rect oSource = *pRect;
    SDL_Rect oDestination = *pRect; // the blit rewrites its destination while clipping
    SDL_UpperBlit(m_pBackdropSurface, &oSource, m_pScreenSurface, &oDestination);
    if (bRelock)
        SDL_LockSurface(m_pScreenSurface);
}

// Both surfaces hold the same 32-bit pixels and the screen's memory is always reachable: the
// normal case, where rows can be copied without SDL's blitter, which costs about half as much
// again for what the game copies most (object areas, the head-up strips, whole screens).
bool BaseEngine::CanCopyRowsDirectly() const
{
    const SDL_PixelFormat* pScreen = m_pScreenSurface->format;
    const SDL_PixelFormat* pBackground = m_pBackdropSurface->format;
    return !SDL_MUSTLOCK(m_pScreenSurface) && pScreen->BitsPerPixel == 32 &&
           pBackground->BitsPerPixel == 32 && pScreen->Rmask == pBackground->Rmask &&
           pScreen->Gmask == pBackground->Gmask && pScreen->Bmask == pBackground->Bmask;
}

void BaseEngine::CopyBackgroundRows(SDL_Rect oRect)
{
    if (!ClipToScreen(&oRect, std::min<int>(m_pScreenSurface->w, m_pBackdropSurface->w),
                      std::min<int>(m_pScreenSurface->h, m_pBackdropSurface->h)))
        return;
    const Uint8* pFrom = static_cast<const Uint8*>(m_pBackdropSurface->pixels) +
                         oRect.y * m_pBackdropSurface->pitch + oRect.x * 4;
    Uint8* pTo = static_cast<Uint8*>(m_pScreenSurface->pixels) + oRect.y * m_pScreenSurface->pitch +
                 oRect.x * 4;
    for (int iRow = 0; iRow < oRect.h; iRow++)
    {
        memcpy(pTo, pFrom, oRect.w * 4);
        pFrom += m_pBackdropSurface->pitch;
        pTo += m_pScreenSurface->pitch;
    }
}

SDL_Rect* BaseEngine::NextUpdateRect()
{
    if (m_iUpdateRectCount < m_iUpdateRectCapacity - 1)
        return &m_pUpdateRects[m_iUpdateRectCount++];
    // Overflow: whatever is written to slot 0 no longer matters, the next push is whole-screen.
    m_iUpdateRectCount = m_iUpdateRectCapacity;
    return &m_pUpdateRects[0];
}

SDL_Rect* BaseEngine::QueueUpdateRect(int iX, int iY, int iWidth, int iHeight)
{
    SDL_Rect* pRect = NextUpdateRect();
    *pRect = MakeRect(iX, iY, iWidth, iHeight);
    return pRect;
}

// ---------------------------------------------------------------- drawing primitives

void BaseEngine::DrawTriangle(double dX1, double dY1, double dX2, double dY2, double dX3,
                              double dY3, int iColour, SDL_Surface* pTarget)
{
    if (pTarget == nullptr)
        pTarget = m_pScreenSurface;

    // Sort by x with three compare-exchanges; equal x values keep their given order.
    if (dX1 > dX2)
    {
        std::swap(dX1, dX2);
        std::swap(dY1, dY2);
    }
    if (dX2 > dX3)
    {
        std::swap(dX2, dX3);
        std::swap(dY2, dY3);
    }
    if (dX1 > dX2)
    {
        std::swap(dX1, dX2);
        std::swap(dY1, dY2);
    }

    if (dX1 == dX2)
    {
        FillEdgeStrip(dX1, dX3, dY1, dY3, dY2, dY3, iColour, pTarget);
        return;
    }
    if (dX2 == dX3)
    {
        FillEdgeStrip(dX1, dX3, dY1, dY2, dY1, dY3, iColour, pTarget);
        return;
    }
    // Split at the middle vertex: the long edge's height there joins the two strips.
    double dYMiddle = dY1 + (dX2 - dX1) * (dY3 - dY1) / (dX3 - dX1);
    FillEdgeStrip(dX1, dX2, dY1, dY2, dY1, dYMiddle, iColour, pTarget);
    FillEdgeStrip(dX2, dX3, dY2, dY3, dYMiddle, dY3, iColour, pTarget);
}

void BaseEngine::FillEdgeStrip(double dXa, double dXb, double dEdge1Ya, double dEdge1Yb,
                               double dEdge2Ya, double dEdge2Yb, int iColour, SDL_Surface* pTarget)
{
    if (pTarget == nullptr)
        pTarget = m_pScreenSurface;
    if (dXa > dXb)
    {
        std::swap(dXa, dXb);
        std::swap(dEdge1Ya, dEdge1Yb);
        std::swap(dEdge2Ya, dEdge2Yb);
    }
    int iLeft = PixelOf(dXa);
    int iRight = PixelOf(dXb);

    if (iLeft == iRight)
    {
        // One column: only edge 1's ends count, in their given order.
        FillClippedColumn(iLeft, PixelOf(dEdge1Ya), PixelOf(dEdge1Yb), iColour, pTarget);
        return;
    }

    FillClippedColumn(iLeft, std::min(PixelOf(dEdge1Ya), PixelOf(dEdge2Ya)),
                      std::max(PixelOf(dEdge1Ya), PixelOf(dEdge2Ya)), iColour, pTarget);
    for (int iX = iLeft + 1; iX < iRight; iX++)
    {
        // Multiplied before dividing, in the order of the edge formula: the other order can move
        // an edge that lands on half a pixel by one pixel.
        double dY1 = dEdge1Ya + (dEdge1Yb - dEdge1Ya) * (iX - dXa) / (dXb - dXa);
        double dY2 = dEdge2Ya + (dEdge2Yb - dEdge2Ya) * (iX - dXa) / (dXb - dXa);
        FillClippedColumn(iX, PixelOf(std::min(dY1, dY2)), PixelOf(std::max(dY1, dY2)), iColour,
                          pTarget);
    }
    FillClippedColumn(iRight, std::min(PixelOf(dEdge1Yb), PixelOf(dEdge2Yb)),
                      std::max(PixelOf(dEdge1Yb), PixelOf(dEdge2Yb)), iColour, pTarget);
}

// Writes the pixels (iX, iYFrom..iYTo) that lie inside the screen's extent, skipping the rest.
void BaseEngine::FillClippedColumn(int iX, int iYFrom, int iYTo, int iColour, SDL_Surface* pTarget)
{
    if (iX < 0 || iX >= m_iIntsPerScreenRow)
        return;
    if (iYFrom < 0)
        iYFrom = 0;
    if (iYTo > m_iScreenHeight - 1)
        iYTo = m_iScreenHeight - 1;
    Uint32* pPixels = static_cast<Uint32*>(pTarget->pixels);
    for (int iY = iYFrom; iY <= iYTo; iY++)
        pPixels[iY * m_iIntsPerScreenRow + iX] = static_cast<Uint32>(iColour);
}

void BaseEngine::PutBackgroundPixel(int iX, int iY, int iColour)
{
    ENGINE_CHECK(iX >= 0);
    ENGINE_CHECK(iX < m_iIntsPerScreenRow);
    ENGINE_CHECK(iY >= 0);
    ENGINE_CHECK(iY < m_iScreenHeight);
    static_cast<Uint32*>(m_pBackdropSurface->pixels)[iY * m_iIntsPerScreenRow + iX] =
        static_cast<Uint32>(iColour);
}

void BaseEngine::DrawText(int iX, int iY, const char* szText, int iColour, FontEntry* pFont,
                          SDL_Surface* pTarget)
{
    if (pTarget == nullptr)
        pTarget = m_pScreenSurface;
    if (pFont == nullptr)
        pFont = m_pStandardFont;

    // The blit below must not run while the frame holds the screen locked.
    bool bRelock = m_bScreenLocked && SDL_MUSTLOCK(m_pScreenSurface);
    if (bRelock)
        SDL_UnlockSurface(m_pScreenSurface);

    SDL_Surface* pRendered = pFont != nullptr && pFont->m_pFont != nullptr
                                 ? m_oTextCache.Render(pFont->m_pFont, szText, iColour)
                                 : nullptr;
    if (pRendered != nullptr)
    {
        SDL_Rect oDestination = MakeRect(iX, iY, 0, 0);
        SDL_UpperBlit(pRendered, nullptr, pTarget, &oDestination);
    }

    if (bRelock)
        SDL_LockSurface(m_pScreenSurface);
}

// ---------------------------------------------------------------- object list

DisplayableObject* BaseEngine::GetObjectAt(int iIndex)
{
    if (m_ppObjects == nullptr)
        return nullptr;
    return m_ppObjects[iIndex];
}
