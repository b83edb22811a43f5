#ifndef MYPROJECTMAIN_H
#define MYPROJECTMAIN_H

#include "BaseEngine.h"

class PixelImage;

// Game states
const int STATE_MENU = 0;
const int STATE_HIGH_SCORES = 1;
const int STATE_PLAYING = 2;
const int STATE_GAME_OVER = 3;
const int STATE_LEVEL_COMPLETE = 4;

// Title-menu items
const int MENU_NEW_GAME = 1;
const int MENU_LOAD_GAME = 2;
const int MENU_HIGH_SCORES = 3;
const int MENU_EXIT = 4;

// Level-complete menu items
const int MENU_NEXT_LEVEL = 1;
const int MENU_SAVE_GAME = 2;
const int MENU_MAIN_MENU = 3;

// Starshards: the title menu, play, pause, level-complete menu, game over with name entry, the
// high-score table and the saved game. Objects reach the game through their engine pointer and
// read or write the members below directly; the game reaches objects by their list slots:
// during play the ship in slot 0, bullets in 1 to 6, asteroids from 7.
class MyProjectMain : public BaseEngine
{
public:
    static constexpr int SHIP_SLOT = 0;
    static constexpr int FIRST_BULLET_SLOT = 1;
    static constexpr int LAST_BULLET_SLOT = 6;
    static constexpr int FIRST_ASTEROID_SLOT = 7;
    // Each level has one more large rock than the last up to this one; later levels keep its 31
    // rocks. Placing them needs at most about a third of the placement's draws (2000 seeds
    // measured); with more rocks some seeds find no free place.
    static constexpr int MAX_ROCK_LEVEL = 30;
    // A higher level in a save file is read as this one; the level number never passes it.
    static constexpr int MAX_LEVEL = 9999;
    static constexpr int EXTRA_LIFE_EVERY = 50000;
    static constexpr int MAX_LIVES = 3;
    static constexpr int LEVEL_BONUS = 2000;
    static constexpr int GAME_TICK_MS = 1; // 1000 advances make a second of play

    MyProjectMain();
    ~MyProjectMain() override;

public: // Engine operations the game replaces
    void OnKeyUp(int iKeyCode) override;
    void OnKeyDown(int iKeyCode) override;
    int BuildObjectList() override;
    void PaintBackground() override;
    void RunGameTick() override;
    void DrawOverlayText() override;
    void AdvanceAllObjects(int iTickTime) override;
    void OnWindowHidden() override;

public: // Called by the asteroids
    // Stores a fragment in the first empty asteroid slot; nothing when none is empty.
    void SpawnAsteroid(int iSize, int iX, int iY, const char* szPictureName, int iVariant,
                       double dSpeed, double dHeading);
    // Points pending and the score stop at the largest int rather than wrapping negative.
    void AddPendingScore(int iPoints);

public: // Levels, scoring and the two files
    // Sets the level-complete state once every asteroid slot holds a shot-away asteroid.
    void CheckLevelComplete();
    // After each advance in play: one pending point on every even millisecond, so points run in
    // with the game's time, however often frames are drawn.
    void CountPointOfTick(int iTickTime);
    // Moves one pending point into the score, with the extra-life rule.
    void CountPendingPoint();
    // Counts every pending point into the score at once (a save, a game over), no extra life.
    void CountAllPendingPoints();
    void SaveGame();
    void LoadGame();
    void RecordHighScore();

public: // State read and written by the objects and the screens
    bool m_bFireReady;
    bool m_bSaveFound;
    bool m_bPaused;
    int m_iBulletsReady;
    int m_iGameState;
    int m_iMenuSelection;
    int m_iNameLength;
    char m_szName[4];
    int m_iObjectListSize; // slots of the last list built, terminator included
    int m_iScore;
    int m_iPendingScore;
    // "game saved" or "save failed" under the level-complete menu, until the game leaves it; null
    // when there is none.
    const char* m_szSaveMessage;
    PixelImage* m_pLifeIconRight;
    PixelImage* m_pLifeIconMiddle;
    PixelImage* m_pLifeIconLeft;
    int m_iLives;
    int m_iLevel;
    FontEntry* m_pFont72;
    FontEntry* m_pFont46;
    FontEntry* m_pFont24;
    FontEntry* m_pFont12;
    FontEntry* m_pFont36;
    FontEntry* m_pFont50;

private:
    void ResetGame();
    // Sets the state, rebuilds the list, repaints, requests a full redraw.
    void EnterState(int iState);
    void TogglePause();
    void ReturnToTitleMenu();
    void MoveSelection(int iStep);
    int MenuItemCount() const; // of the menu on the screen, 0 elsewhere
    void BlankMenuStrips();
    void ChooseTitleMenuItem();
    void ChooseLevelCompleteItem();
    void FireBullet();
    void TypeNameLetter(int iKeyCode);
    void EraseNameLetter();
    void FinishNameEntry();
    int PlayLevel() const;    // m_iLevel brought into 1 to MAX_LEVEL
    void CountReadyBullets(); // into m_iBulletsReady, for the head-up display

    void DrawTitleMenu();
    void DrawMenuItem(const char* szText, int iItem, int iPlainX, int iQueuedWidth);
    void DrawHighScoreTable();
    void DrawPlayScreen();
    void DrawLifeIcons();
    void DrawGameOver();
    void DrawLevelComplete();
    void ShowSaveMessage(const char* szMessage);
};

#endif
