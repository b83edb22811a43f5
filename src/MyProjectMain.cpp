#include "MyProjectMain.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "Asteroid.h"
#include "Bullet.h"
#include "DisplayableObject.h"
#include "GameGeometry.h"
#include "HighScoreTable.h"
#include "PixelImage.h"
#include "Platform.h"
#include "SavedGame.h"
#include "Ship.h"

namespace
{
const int WHITE = 0xFFFFFF;
// The head-up display's strips: the band above the play area and one as high at the bottom.
const int HUD_STRIP_HEIGHT = PLAY_AREA_TOP;
const char* const HIGH_SCORE_FILE = "highscores.txt";
const char* const SAVE_FILE = "save.txt";
const char* const FONT_FILE = "emulogic.ttf";
// Only the start of a file matters; a huge file is not read whole.
const size_t MAX_FILE_BYTES = 64 * 1024;

const char* const DEFAULT_HIGH_SCORES = "oru::39400\nfen::20000\nzol::15600\nwyr::13500\n"
                                        "kha::10000\nmip::9500\ntzo::8700\nlun::5400\n"
                                        "vek::5000\nqrx::3200";

// A menu item stands in a strip from its left edge drawn large to the screen's right edge, the
// first at y 200 and each next one 100 lower.
const int MENU_STRIP_HEIGHT = 55;
const int TITLE_STRIP_X[] = {216, 193, 149, 309};
const int LEVEL_COMPLETE_STRIP_X[] = {172, 195, 195};

int MenuStripX(int iGameState, int iItem)
{
    return (iGameState == STATE_MENU ? TITLE_STRIP_X : LEVEL_COMPLETE_STRIP_X)[iItem - 1];
}

int MenuStripY(int iItem)
{
    return 100 + 100 * iItem;
}

// Points never take a score past the largest int: it stays there instead of wrapping negative.
int SaturatingSum(int iA, int iB)
{
    return static_cast<int>(std::min<long long>(INT_MAX, static_cast<long long>(iA) + iB));
}

// The table's file, or as much of it as the read limit takes, ended at its last whole word: a
// word cut by the limit would read as another entry.
FileReadResult ReadHighScoreFile(std::string& strContent)
{
    FileReadResult eRead = ReadFileContent(HIGH_SCORE_FILE, MAX_FILE_BYTES + 1, strContent);
    if (strContent.size() > MAX_FILE_BYTES)
    {
        size_t iWordEnd = strContent.find_last_of(" \t\n\v\f\r", MAX_FILE_BYTES);
        strContent.resize(iWordEnd == std::string::npos ? 0 : iWordEnd);
    }
    return eRead;
}
} // namespace

MyProjectMain::MyProjectMain()
    : BaseEngine(50000), m_bFireReady(false), m_bSaveFound(true), m_bPaused(false),
      m_iBulletsReady(0), m_iGameState(STATE_MENU), m_iMenuSelection(MENU_NEW_GAME),
      m_iNameLength(0), m_szName{'_', '_', '_', '\0'}, m_iObjectListSize(0), m_iScore(0),
      m_iPendingScore(0), m_szSaveMessage(nullptr), m_pLifeIconRight(nullptr),
      m_pLifeIconMiddle(nullptr), m_pLifeIconLeft(nullptr), m_iLives(MAX_LIVES), m_iLevel(1),
      m_pFont72(nullptr), m_pFont46(nullptr), m_pFont24(nullptr), m_pFont12(nullptr),
      m_pFont36(nullptr), m_pFont50(nullptr)
{
    srand(static_cast<unsigned>(time(nullptr)));

    m_pLifeIconRight = new PixelImage;
    m_pLifeIconRight->LoadPicture("life.jpg");
    m_pLifeIconMiddle = new PixelImage;
    m_pLifeIconMiddle->LoadPicture("life.jpg");
    m_pLifeIconLeft = new PixelImage;
    m_pLifeIconLeft->LoadPicture("life.jpg");

    m_pFont72 = m_oFontCache.LookUpFont(FONT_FILE, 72);
    m_pFont50 = m_oFontCache.LookUpFont(FONT_FILE, 50);
    m_pFont46 = m_oFontCache.LookUpFont(FONT_FILE, 46);
    m_pFont36 = m_oFontCache.LookUpFont(FONT_FILE, 36);
    m_pFont24 = m_oFontCache.LookUpFont(FONT_FILE, 24);
    m_pFont12 = m_oFontCache.LookUpFont(FONT_FILE, 12);

    // Only a missing table gets the defaults: one that exists, even unreadable, is the player's.
    std::string strExisting;
    if (ReadFileContent(HIGH_SCORE_FILE, 1, strExisting) == FILE_MISSING)
        ReplaceFileContent(HIGH_SCORE_FILE, DEFAULT_HIGH_SCORES);
}

MyProjectMain::~MyProjectMain()
{
    delete m_pLifeIconRight;
    delete m_pLifeIconMiddle;
    delete m_pLifeIconLeft;
}

// ---------------------------------------------------------------- keys

void MyProjectMain::OnKeyDown(int iKeyCode)
{
    switch (iKeyCode)
    {
    case SDLK_UP:
        MoveSelection(-1);
        break;
    case SDLK_DOWN:
        MoveSelection(+1);
        break;
    case SDLK_RETURN:
        if (m_iGameState == STATE_MENU)
            ChooseTitleMenuItem();
        else if (m_iGameState == STATE_HIGH_SCORES)
        {
            m_iGameState = STATE_MENU;
            RequestWholeScreenRedraw();
        }
        else if (m_iGameState == STATE_PLAYING && m_bPaused)
            ReturnToTitleMenu();
        else if (m_iGameState == STATE_GAME_OVER && m_iNameLength == 3)
            FinishNameEntry();
        else if (m_iGameState == STATE_LEVEL_COMPLETE)
            ChooseLevelCompleteItem();
        break;
    case SDLK_ESCAPE:
        if (m_iGameState == STATE_PLAYING)
            TogglePause();
        break;
    case SDLK_SPACE:
        if (m_iGameState == STATE_PLAYING)
            FireBullet();
        break;
    case SDLK_BACKSPACE:
        if (m_iGameState == STATE_GAME_OVER)
            EraseNameLetter();
        break;
    default:
        if (iKeyCode >= SDLK_a && iKeyCode <= SDLK_z && m_iGameState == STATE_GAME_OVER)
            TypeNameLetter(iKeyCode);
        break;
    }
}

// Nobody watches a minimised window: play stops there as Escape stops it.
void MyProjectMain::OnWindowHidden()
{
    if (m_iGameState == STATE_PLAYING && !m_bPaused)
        TogglePause();
}

void MyProjectMain::TogglePause()
{
    RequestWholeScreenRedraw();
    m_bPaused = !m_bPaused;
}

void MyProjectMain::OnKeyUp(int iKeyCode)
{
    // Holding Space fires once: the next shot needs a release.
    if (iKeyCode == SDLK_SPACE)
        m_bFireReady = true;
}

// Up and Down on the two menus. The strips are wiped even at a limit, since the item drawn large
// for the old selection must go; the selection stops at the first and last items.
void MyProjectMain::MoveSelection(int iStep)
{
    int iItems = MenuItemCount();
    if (iItems == 0)
        return;
    m_iMenuSelection += iStep;
    BlankMenuStrips();
    m_iMenuSelection = std::max(1, std::min(iItems, m_iMenuSelection));
}

int MyProjectMain::MenuItemCount() const
{
    if (m_iGameState == STATE_MENU)
        return 4;
    return m_iGameState == STATE_LEVEL_COMPLETE ? 3 : 0;
}

void MyProjectMain::BlankMenuStrips()
{
    for (int iItem = 1; iItem <= MenuItemCount(); iItem++)
    {
        int iX = MenuStripX(m_iGameState, iItem);
        CopyBackgroundRect(iX, MenuStripY(iItem), m_iScreenWidth - iX, MENU_STRIP_HEIGHT);
    }
}

void MyProjectMain::ChooseTitleMenuItem()
{
    switch (m_iMenuSelection)
    {
    case MENU_NEW_GAME:
        EnterState(STATE_PLAYING);
        break;
    case MENU_LOAD_GAME:
        LoadGame();
        break;
    case MENU_HIGH_SCORES:
        m_iGameState = STATE_HIGH_SCORES;
        RequestWholeScreenRedraw();
        break;
    case MENU_EXIT:
        m_iExitCode = 0;
        break;
    default:
        break;
    }
}

void MyProjectMain::ChooseLevelCompleteItem()
{
    switch (m_iMenuSelection)
    {
    case MENU_NEXT_LEVEL:
        m_iLevel++;
        AddPendingScore(LEVEL_BONUS);
        EnterState(STATE_PLAYING);
        break;
    case MENU_SAVE_GAME:
        SaveGame();
        break;
    case MENU_MAIN_MENU:
        ReturnToTitleMenu();
        break;
    default:
        break;
    }
}

// Abandons the game in progress: the score is dropped without a name entry.
void MyProjectMain::ReturnToTitleMenu()
{
    ResetGame();
    m_bSaveFound = true;
    m_bPaused = false;
    m_iMenuSelection = MENU_NEW_GAME;
    EnterState(STATE_MENU);
}

void MyProjectMain::ResetGame()
{
    m_iLevel = 1;
    m_iScore = 0;
    m_iPendingScore = 0;
    m_iLives = MAX_LIVES;
}

// The state goes first: the list's layout, and where new asteroids may start, depend on it.
void MyProjectMain::EnterState(int iState)
{
    m_iGameState = iState;
    m_szSaveMessage = nullptr;
    BuildObjectList();
    PaintBackground();
    RequestWholeScreenRedraw();
}

// Launches the first bullet not in flight from the ship's nose, one per press of Space.
void MyProjectMain::FireBullet()
{
    Ship* pShip = dynamic_cast<Ship*>(GetObjectAt(SHIP_SLOT));
    for (int i = FIRST_BULLET_SLOT; i <= LAST_BULLET_SLOT; i++)
    {
        Bullet* pBullet = dynamic_cast<Bullet*>(GetObjectAt(i));
        if (pBullet == nullptr || pBullet->m_bActive)
            continue;
        if (m_bFireReady && pShip != nullptr)
        {
            pBullet->Launch(pShip->m_dNoseX, pShip->m_dNoseY, pShip->m_dHeading);
            m_iBulletsReady--;
            m_bFireReady = false;
        }
        return;
    }
}

void MyProjectMain::TypeNameLetter(int iKeyCode)
{
    if (m_iNameLength >= 3)
        return;
    m_szName[m_iNameLength++] = static_cast<char>(iKeyCode);
    RequestWholeScreenRedraw();
}

void MyProjectMain::EraseNameLetter()
{
    if (m_iNameLength <= 0)
        return;
    m_szName[--m_iNameLength] = '_';
    RequestWholeScreenRedraw();
}

// The score goes into the table before it is cleared.
void MyProjectMain::FinishNameEntry()
{
    m_iGameState = STATE_MENU;
    m_bSaveFound = true;
    BuildObjectList();
    m_iLives = MAX_LIVES;
    m_iLevel = 1;
    RecordHighScore();
    m_iScore = 0;
    PaintBackground();
    RequestWholeScreenRedraw();
}

// ---------------------------------------------------------------- tick and objects

void MyProjectMain::RunGameTick()
{
    // One advance for every millisecond of tick time; while paused the due time moves on and the
    // objects do not.
    AdvanceDueTicks(GAME_TICK_MS, !m_bPaused);
}

// Slot order matters: the ship, then the bullets, then the asteroids that test them. A walk cut
// short by a new list has nothing left to complete.
void MyProjectMain::AdvanceAllObjects(int iTickTime)
{
    BaseEngine::AdvanceAllObjects(iTickTime);
    if (m_iObjectListChanged != 0)
        return;
    CheckLevelComplete();
    CountPointOfTick(iTickTime);
    CountReadyBullets();
}

int MyProjectMain::PlayLevel() const
{
    return std::max(1, std::min(MAX_LEVEL, m_iLevel));
}

int MyProjectMain::BuildObjectList()
{
    m_iObjectListChanged = 1;
    DeleteAllObjects();

    if (m_iGameState == STATE_MENU)
    {
        m_iObjectListSize = 4;
        m_ppObjects = new DisplayableObject*[m_iObjectListSize]();
        for (int i = 0; i < 3; i++)
            m_ppObjects[i] = new Asteroid(this);
    }
    else if (m_iGameState == STATE_PLAYING)
    {
        // A level from an edited save file may be out of range: play it within the bounds.
        m_iLevel = PlayLevel();
        int iRockLevel = std::min(m_iLevel, MAX_ROCK_LEVEL);
        m_iObjectListSize = 4 * iRockLevel + 12;
        m_ppObjects = new DisplayableObject*[m_iObjectListSize]();
        // Stored one by one: each new asteroid must see the ship and the asteroids placed so far.
        m_ppObjects[SHIP_SLOT] = new Ship(this);
        for (int i = FIRST_BULLET_SLOT; i <= LAST_BULLET_SLOT; i++)
            m_ppObjects[i] = new Bullet(this);
        for (int i = FIRST_ASTEROID_SLOT; i <= iRockLevel + FIRST_ASTEROID_SLOT; i++)
            m_ppObjects[i] = new Asteroid(this);
        m_bFireReady = true;
        CountReadyBullets(); // none: each new bullet starts in flight
    }
    return 0;
}

void MyProjectMain::SpawnAsteroid(int iSize, int iX, int iY, const char* szPictureName,
                                  int iVariant, double dSpeed, double dHeading)
{
    int iLastSlot = m_iObjectListSize - 1; // always stays empty, as the terminator
    if (m_ppObjects == nullptr || iLastSlot <= FIRST_ASTEROID_SLOT)
        return;
    for (int i = FIRST_ASTEROID_SLOT; i < iLastSlot; i++)
    {
        if (m_ppObjects[i] == nullptr)
        {
            m_ppObjects[i] =
                new Asteroid(this, iSize, iX, iY, szPictureName, iVariant, dSpeed, dHeading);
            return;
        }
    }
}

void MyProjectMain::AddPendingScore(int iPoints)
{
    m_iPendingScore = SaturatingSum(m_iPendingScore, iPoints);
}

void MyProjectMain::CheckLevelComplete()
{
    if (m_ppObjects == nullptr)
        return;
    int iShotAway = 0;
    for (int i = FIRST_ASTEROID_SLOT; i < m_iObjectListSize && m_ppObjects[i] != nullptr; i++)
    {
        if (!m_ppObjects[i]->m_bActive)
            iShotAway++;
    }
    if (iShotAway == m_iObjectListSize - 8)
        m_iGameState = STATE_LEVEL_COMPLETE;
}

void MyProjectMain::CountPointOfTick(int iTickTime)
{
    if (m_iGameState == STATE_PLAYING && static_cast<unsigned>(iTickTime) % 2 == 0)
        CountPendingPoint();
}

// Counted where the bullets change (an advance, a new list; a shot counts itself), never while a
// frame is drawn.
void MyProjectMain::CountReadyBullets()
{
    if (m_iGameState != STATE_PLAYING)
        return; // only the play list holds bullets
    m_iBulletsReady = 0;
    for (int i = FIRST_BULLET_SLOT; i <= LAST_BULLET_SLOT; i++)
    {
        DisplayableObject* pBullet = GetObjectAt(i);
        if (pBullet != nullptr && !pBullet->m_bActive)
            m_iBulletsReady++;
    }
}

void MyProjectMain::CountPendingPoint()
{
    if (m_iPendingScore <= 0)
        return;
    m_iPendingScore--;
    m_iScore = SaturatingSum(m_iScore, 1);
    if (m_iScore % EXTRA_LIFE_EVERY == 0 && m_iLives < MAX_LIVES)
        m_iLives++;
}

void MyProjectMain::CountAllPendingPoints()
{
    m_iScore = SaturatingSum(m_iScore, m_iPendingScore);
    m_iPendingScore = 0;
}

// ---------------------------------------------------------------- screens

void MyProjectMain::PaintBackground()
{
    const int STAR_ONE_IN = 700;
    const int BOTTOM_MARGIN = 20;
    ClearBackground(0x000000);
    for (int iX = 0; iX < m_iScreenWidth; iX++)
    {
        for (int iY = PLAY_AREA_TOP; iY < m_iScreenHeight - BOTTOM_MARGIN; iY++)
        {
            if (rand() % STAR_ONE_IN == 0)
                PutBackgroundPixel(iX, iY, WHITE);
        }
    }
}

void MyProjectMain::DrawOverlayText()
{
    switch (m_iGameState)
    {
    case STATE_MENU:
        DrawTitleMenu();
        break;
    case STATE_HIGH_SCORES:
        DrawHighScoreTable();
        break;
    case STATE_PLAYING:
        DrawPlayScreen();
        break;
    case STATE_GAME_OVER:
        DrawGameOver();
        break;
    case STATE_LEVEL_COMPLETE:
        DrawLevelComplete();
        break;
    default:
        break;
    }
}

// The selected item large at its strip's left edge, any other small at iPlainX; either way the
// strip's first iQueuedWidth pixels are queued.
void MyProjectMain::DrawMenuItem(const char* szText, int iItem, int iPlainX, int iQueuedWidth)
{
    int iStripX = MenuStripX(m_iGameState, iItem);
    int iY = MenuStripY(iItem);
    if (m_iMenuSelection == iItem)
        DrawText(iStripX, iY, szText, WHITE, m_pFont46, nullptr);
    else
        DrawText(iPlainX, iY, szText, WHITE, m_pFont24, nullptr);
    QueueUpdateRect(iStripX, iY, iQueuedWidth, MENU_STRIP_HEIGHT);
}

void MyProjectMain::DrawTitleMenu()
{
    int iWidth = m_iScreenWidth;
    int iHeight = m_iScreenHeight;
    DrawText(45, 10, "STARSHARDS", WHITE, m_pFont72, nullptr);
    QueueUpdateRect(0, 0, iWidth, 50);
    DrawText(263, 115, "Created by orvane", WHITE, m_pFont12, nullptr);
    QueueUpdateRect(263, 115, iWidth, 50);
    DrawMenuItem("New Game", MENU_NEW_GAME, 305, 375);
    DrawMenuItem("Load Game", MENU_LOAD_GAME, 294, 425);
    DrawMenuItem("High Scores", MENU_HIGH_SCORES, 270, iWidth);
    DrawMenuItem("Exit", MENU_EXIT, 353, 185);
    if (!m_bSaveFound)
    {
        DrawText(256, iHeight - 50, "no save game", WHITE, m_pFont24, nullptr);
        QueueUpdateRect(256, iHeight - 50, iWidth, MENU_STRIP_HEIGHT);
    }
    DrawText(iWidth - 150, iHeight - 25, "Version: 1.2", WHITE, m_pFont12, nullptr);
    QueueUpdateRect(iWidth - 150, iHeight - 25, iWidth, MENU_STRIP_HEIGHT);
}

// Rows come straight from the file on every frame: there is no other store of high scores.
void MyProjectMain::DrawHighScoreTable()
{
    DrawText(149, 10, "High Scores", WHITE, m_pFont46, nullptr);
    QueueUpdateRect(149, 10, m_iScreenWidth, MENU_STRIP_HEIGHT);

    std::string strContent;
    if (ReadHighScoreFile(strContent) == FILE_READ_OK)
    {
        int iRow = 0;
        for (const HighScoreColumns& oRow : ReadHighScoreRows(strContent))
        {
            iRow++;
            char szRow[128];
            // Spaces where the table's layout has tabs: the font has no tab glyph and would draw
            // a box; in its fixed-width letters one space keeps the columns of all ten rows.
            snprintf(szRow, sizeof szRow, "%d. %s %s", iRow, oRow.strName.c_str(),
                     oRow.strScore.c_str());
            int iX = iRow == HIGH_SCORE_ROWS ? 226 : 250; // "10." is one digit wider
            int iY = 100 + 40 * (iRow - 1);
            DrawText(iX, iY, szRow, WHITE, m_pFont24, nullptr);
            QueueUpdateRect(iX, iY, m_iScreenWidth, 40);
        }
    }
    DrawText(148, m_iScreenHeight - 70, "press enter", WHITE, m_pFont46, nullptr);
}

void MyProjectMain::DrawPlayScreen()
{
    int iWidth = m_iScreenWidth;
    int iHeight = m_iScreenHeight;
    char szText[64];

    // top strip: title, score and lives, wiped and redrawn every frame
    CopyBackgroundRect(0, 0, iWidth, HUD_STRIP_HEIGHT);
    DrawText(281, 10, "STARSHARDS", WHITE, nullptr, nullptr);
    QueueUpdateRect(0, 0, iWidth, HUD_STRIP_HEIGHT);
    snprintf(szText, sizeof szText, "Score: %010d", m_iScore);
    DrawText(iWidth - 215, 20, szText, WHITE, m_pFont12, nullptr);
    DrawText(15, 20, "Lives:", WHITE, m_pFont12, nullptr);
    DrawLifeIcons();

    // bottom strip: bullets and level
    CopyBackgroundRect(0, iHeight - HUD_STRIP_HEIGHT, iWidth, HUD_STRIP_HEIGHT);
    snprintf(szText, sizeof szText, "Bullets: %d", m_iBulletsReady);
    DrawText(10, iHeight - 25, szText, WHITE, m_pFont12, nullptr);
    QueueUpdateRect(0, iHeight - HUD_STRIP_HEIGHT, iWidth, HUD_STRIP_HEIGHT);
    snprintf(szText, sizeof szText, "Level %d", m_iLevel);
    DrawText(iWidth - 100, iHeight - 25, szText, WHITE, m_pFont12, nullptr);

    if (m_bPaused)
    {
        DrawText(187, 100, "paused", WHITE, m_pFont72, nullptr);
        DrawText(50, 400, "press enter to quit", WHITE, m_pFont36, nullptr);
        QueueUpdateRect(50, 100, iWidth, iHeight);
        m_bRedrawNeeded = true; // keep frames coming while nothing moves
    }
}

// One icon per spare life, removed from the right.
void MyProjectMain::DrawLifeIcons()
{
    const int ICON_SIZE = 16;
    const int ICON_Y = 17;
    if (m_iLives == 3)
        m_pLifeIconRight->DrawImage(m_pScreenSurface, 0, 0, 125, ICON_Y, ICON_SIZE, ICON_SIZE);
    if (m_iLives >= 2 && m_iLives <= 3)
        m_pLifeIconMiddle->DrawImage(m_pScreenSurface, 0, 0, 105, ICON_Y, ICON_SIZE, ICON_SIZE);
    if (m_iLives >= 1 && m_iLives <= 3)
        m_pLifeIconLeft->DrawImage(m_pScreenSurface, 0, 0, 85, ICON_Y, ICON_SIZE, ICON_SIZE);
}

void MyProjectMain::DrawGameOver()
{
    const int DIGIT_WIDTH_ESTIMATE = 28; // at 24 points
    char szScore[16];
    snprintf(szScore, sizeof szScore, "%d", m_iScore);
    int iDigits = 1;
    for (int iRest = m_iScore / 10; iRest != 0; iRest /= 10)
        iDigits++;

    DrawText(79, 50, "GAME OVER", WHITE, m_pFont72, nullptr);
    DrawText(148, 200, "Final Score", WHITE, m_pFont46, nullptr);
    DrawText((800 - DIGIT_WIDTH_ESTIMATE * iDigits) / 2, 275, szScore, WHITE, m_pFont24, nullptr);
    DrawText(296, 350, m_szName, WHITE, m_pFont72, nullptr);
    if (m_iNameLength == 3)
        DrawText(148, m_iScreenHeight - 100, "press enter", WHITE, m_pFont46, nullptr);
    else
        DrawText(179, m_iScreenHeight - 100, "enter name", WHITE, m_pFont46, nullptr);
}

void MyProjectMain::DrawLevelComplete()
{
    DrawText(51, 50, "LEVEL COMPLETE", WHITE, m_pFont50, nullptr);
    DrawMenuItem("Next Level", MENU_NEXT_LEVEL, 282, m_iScreenWidth);
    DrawMenuItem("Save Game", MENU_SAVE_GAME, 294, m_iScreenWidth);
    DrawMenuItem("Main Menu", MENU_MAIN_MENU, 294, m_iScreenWidth);
    if (m_szSaveMessage != nullptr)
    {
        DrawText(280, m_iScreenHeight - 50, m_szSaveMessage, WHITE, m_pFont24, nullptr);
        QueueUpdateRect(280, m_iScreenHeight - 50, m_iScreenWidth, MENU_STRIP_HEIGHT);
    }
}

// ---------------------------------------------------------------- the two files

void MyProjectMain::RecordHighScore()
{
    // Another copy of the game recording a score meanwhile would otherwise lose it, or this one.
    FileLock oLock(HIGH_SCORE_FILE);
    std::string strContent;
    // A table that exists but cannot be read is kept rather than replaced by this one entry.
    if (ReadHighScoreFile(strContent) != FILE_UNREADABLE)
    {
        std::vector<HighScoreEntry> vTable = ReadHighScoreTable(strContent);
        vTable = AddHighScore(vTable, {m_szName, m_iScore});
        ReplaceFileContent(HIGH_SCORE_FILE, WriteHighScoreTable(vTable));
    }

    strcpy(m_szName, "___");
    m_iNameLength = 0;
}

void MyProjectMain::SaveGame()
{
    CountAllPendingPoints();

    std::string strContent = WriteSavedGame({m_iLevel + 1, m_iLives, m_iScore});
    if (!ReplaceFileContent(SAVE_FILE, strContent))
    {
        ShowSaveMessage("save failed");
        return;
    }
    ShowSaveMessage("game saved");
    m_bSaveFound = true;
}

// The message is part of the level-complete screen from now on, so a whole-screen frame drawn
// before the next push (a restored window, the whole screen toggled) still shows it. Its strip is
// wiped now: a partial frame draws the new message over whatever the old one left.
void MyProjectMain::ShowSaveMessage(const char* szMessage)
{
    m_szSaveMessage = szMessage;
    CopyBackgroundRect(280, m_iScreenHeight - 50, m_iScreenWidth, MENU_STRIP_HEIGHT);
    m_bRedrawNeeded = true;
}

void MyProjectMain::LoadGame()
{
    std::string strContent;
    if (ReadFileContent(SAVE_FILE, MAX_FILE_BYTES, strContent) != FILE_READ_OK)
    {
        m_bSaveFound = false;
        return;
    }
    m_bSaveFound = true;

    SavedGame oSave = ReadSavedGame(strContent, {m_iLevel, m_iLives, m_iScore});
    m_iLevel = oSave.iLevel;
    m_iLives = oSave.iLives;
    m_iScore = oSave.iScore;

    EnterState(STATE_PLAYING);
}
