// starshards-bench: runs the real game through named scenarios on the real clock and reports what
// a pass of the main loop and each kind of frame cost, and the speed the game reaches: advances of
// the objects per second over 1000, since the game advances at most once per millisecond.
//
//   starshards-bench [--seconds S] [--json PATH] [SCENARIO...]
//
// Without DISPLAY on X11 it runs under SDL's dummy video driver; with DISPLAY, on that X server.
// In the browser it is a page as the game's, its pushes copied into the canvas, with no arguments:
// every scenario, the JSON in /bench.json of its file system (bench/web.mjs reads it there).

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>

#include "Asteroid.h"
#include "BenchGame.h"
#include "BenchPlatform.h"
#include "Bullet.h"
#include "Platform.h"
#include "Ship.h"

namespace
{
namespace fs = std::filesystem;

// Made absolute before any scenario changes the working directory.
const fs::path& AssetDirectory()
{
    static const fs::path oAssets = fs::absolute(STARSHARDS_ASSET_DIR);
    return oAssets;
}

// A fresh working directory holding copies of the game's assets, current while the object lives.
class ScratchDirectory
{
public:
    ScratchDirectory() : m_oPrevious(fs::current_path())
    {
        std::random_device oRandom;
        do
            m_oPath = fs::temp_directory_path() / ("starshards-bench-" + std::to_string(oRandom()));
        while (!fs::create_directory(m_oPath));
        for (const fs::directory_entry& oAsset : fs::directory_iterator(AssetDirectory()))
            fs::copy_file(oAsset.path(), m_oPath / oAsset.path().filename());
        fs::current_path(m_oPath);
    }
    ~ScratchDirectory()
    {
        fs::current_path(m_oPrevious);
        fs::remove_all(m_oPath);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

private:
    fs::path m_oPrevious;
    fs::path m_oPath;
};

// Starts a fresh game as the program does, hands it to fnUse, then stops SDL and the text library
// so the next session starts from nothing. False when the game could not start.
template <typename Use> bool WithStartedGame(Use fnUse)
{
    ScratchDirectory oDirectory;
    BenchGame* pGame = new BenchGame;
    srand(1); // the same rocks in every run
    bool bStarted = pGame->StartUp("Starshards", 800, 600, "emulogic.ttf", 24) == 0;
    if (bStarted)
        fnUse(*pGame);
    pGame->ShutDown();
    delete pGame;
    TTF_Quit();
    SDL_Quit();
    return bStarted;
}

// Runs fnWork back to back for dSeconds; the time of each call in microseconds.
template <typename Work> std::vector<float> TimeRepeatedly(double dSeconds, Work fnWork)
{
    std::vector<float> vTimes;
    BenchGame::Clock::time_point tStart = BenchGame::Clock::now();
    for (;;)
    {
        BenchGame::Clock::time_point tBefore = BenchGame::Clock::now();
        fnWork();
        BenchGame::Clock::time_point tAfter = BenchGame::Clock::now();
        vTimes.push_back(static_cast<float>(MicrosecondsBetween(tBefore, tAfter)));
        if (MicrosecondsBetween(tStart, tAfter) >= dSeconds * 1e6)
            return vTimes;
    }
}

// ---------------------------------------------------------------- scenarios

// Set-up keys go straight to the handlers, with the key table kept in step.
void TapKey(BenchGame& oGame, int iKey)
{
    oGame.m_pKeyStates[iKey] = 1;
    oGame.OnKeyDown(iKey);
    oGame.m_pKeyStates[iKey] = 0;
    oGame.OnKeyUp(iKey);
}

Asteroid* AsteroidAt(BenchGame& oGame, int iSlot)
{
    return iSlot < oGame.m_iObjectListSize ? dynamic_cast<Asteroid*>(oGame.GetObjectAt(iSlot))
                                           : nullptr;
}

// Would a bullet on the target's centre hit a small rock instead, destroying it?
bool ShotWouldDestroyRock(BenchGame& oGame, const Asteroid* pTarget)
{
    const int REACH = Asteroid::SMALL / 2 + 5; // hit margin and a bullet's move, with room
    for (int i = MyProjectMain::FIRST_ASTEROID_SLOT; Asteroid* pOther = AsteroidAt(oGame, i); i++)
    {
        int iDX = pOther->m_iPosX + pOther->m_iSize / 2 - pTarget->m_iPosX - pTarget->m_iSize / 2;
        int iDY = pOther->m_iPosY + pOther->m_iSize / 2 - pTarget->m_iPosY - pTarget->m_iSize / 2;
        if (pOther != pTarget && pOther->m_bActive && pOther->m_iSize == Asteroid::SMALL &&
            iDX * iDX + iDY * iDY < REACH * REACH)
            return true;
    }
    return false;
}

// Shoots every rock down to its small fragments the way play does: a bullet in flight on a big
// rock's centre, then an advance, until no big rock is left. A shot that would destroy a small
// rock nearby waits until the rocks drift apart. The leftover bullets are taken out of flight.
void SplitEveryRock(BenchGame& oGame)
{
    for (int i = MyProjectMain::FIRST_BULLET_SLOT; i <= MyProjectMain::LAST_BULLET_SLOT; i++)
        oGame.GetObjectAt(i)->m_bActive = false;
    for (int iRound = 0; iRound < 100000; iRound++)
    {
        bool bAnyBig = false;
        Asteroid* pTarget = nullptr;
        for (int i = MyProjectMain::FIRST_ASTEROID_SLOT; Asteroid* pRock = AsteroidAt(oGame, i);
             i++)
        {
            bool bBig = pRock->m_bActive && pRock->m_iSize > Asteroid::SMALL;
            bAnyBig = bAnyBig || bBig;
            if (bBig && !ShotWouldDestroyRock(oGame, pRock))
                pTarget = pRock;
        }
        if (!bAnyBig)
            break;
        if (pTarget != nullptr)
        {
            auto* pBullet =
                dynamic_cast<Bullet*>(oGame.GetObjectAt(MyProjectMain::FIRST_BULLET_SLOT));
            pBullet->Launch(pTarget->m_iPosX + pTarget->m_iSize / 2,
                            pTarget->m_iPosY + pTarget->m_iSize / 2, 0);
        }
        oGame.m_iTickTime++;
        oGame.AdvanceAllObjects(oGame.m_iTickTime);
    }
    for (int i = MyProjectMain::FIRST_BULLET_SLOT; i <= MyProjectMain::LAST_BULLET_SLOT; i++)
        oGame.GetObjectAt(i)->m_bActive = false;
    int iSmall = 0;
    for (int i = MyProjectMain::FIRST_ASTEROID_SLOT; Asteroid* pRock = AsteroidAt(oGame, i); i++)
        iSmall += pRock->m_bActive ? 1 : 0;
    fprintf(stderr, "  %d small rocks on screen\n", iSmall);
}

// The last life lost the way play loses it: an unshielded ship under a rock.
void CrashLastLife(BenchGame& oGame)
{
    Ship* pShip = dynamic_cast<Ship*>(oGame.GetObjectAt(MyProjectMain::SHIP_SLOT));
    Asteroid* pRock = AsteroidAt(oGame, MyProjectMain::FIRST_ASTEROID_SLOT);
    pShip->m_bShielded = false;
    oGame.m_iLives = 0;
    pRock->m_iPosX = pShip->m_iPosX - pRock->m_iSize / 2;
    pRock->m_iPosY = pShip->m_iPosY - pRock->m_iSize / 2;
    pRock->m_dPosX = pRock->m_iPosX;
    pRock->m_dPosY = pRock->m_iPosY;
    oGame.AdvanceAllObjects(oGame.m_iTickTime);
}

// Thrust, turns both ways and a brake over 1.2 s; with bFire, a shot every 400 ms.
KeyScript FlyingScript(bool bFire)
{
    KeyScript oScript{{{0, SDLK_UP, true},
                       {400, SDLK_UP, false},
                       {400, SDLK_LEFT, true},
                       {700, SDLK_LEFT, false},
                       {700, SDLK_RIGHT, true},
                       {1000, SDLK_RIGHT, false},
                       {1000, SDLK_DOWN, true},
                       {1150, SDLK_DOWN, false}},
                      1200};
    for (int iAt = 100; bFire && iAt < 1200; iAt += 400)
    {
        oScript.vKeys.push_back({iAt, SDLK_SPACE, true});
        oScript.vKeys.push_back({iAt + 20, SDLK_SPACE, false});
    }
    std::stable_sort(oScript.vKeys.begin(), oScript.vKeys.end(),
                     [](const ScriptedKey& oA, const ScriptedKey& oB)
                     { return oA.iAtMs < oB.iAtMs; });
    return oScript;
}

const KeyScript PLAY_SCRIPT = FlyingScript(true);
const KeyScript DRIVE_SCRIPT = FlyingScript(false);
const KeyScript MENU_SCRIPT{
    {{0, SDLK_DOWN, true}, {50, SDLK_DOWN, false}, {500, SDLK_UP, true}, {550, SDLK_UP, false}},
    1000};
const KeyScript NAME_SCRIPT{{{0, SDLK_a, true},
                             {30, SDLK_a, false},
                             {250, SDLK_BACKSPACE, true},
                             {280, SDLK_BACKSPACE, false}},
                            500};

void Pause(BenchGame& oGame)
{
    TapKey(oGame, SDLK_ESCAPE);
}

void OpenHighScores(BenchGame& oGame)
{
    TapKey(oGame, SDLK_DOWN);
    TapKey(oGame, SDLK_DOWN);
    TapKey(oGame, SDLK_RETURN);
}

enum ScenarioFlags
{
    KEEP_LIVES = 1,   // a lost life is given back at once, so play never ends
    WHOLE_FRAMES = 2, // a whole-screen redraw on every pass
    STAR_FIELD = 4    // no main loop: PaintBackground alone, called back to back
};

struct Scenario
{
    const char* szName;
    int iLevel; // New Game at this level first; 0 stays on the title menu
    void (*pSetUp)(BenchGame&);
    const KeyScript* pScript;
    int iExpectedState;
    int iFlags;
};

const Scenario SCENARIOS[] = {
    {"title", 0, nullptr, &MENU_SCRIPT, STATE_MENU, 0},
    {"level1", 1, nullptr, &PLAY_SCRIPT, STATE_PLAYING, KEEP_LIVES},
    {"level10_split", 10, SplitEveryRock, &DRIVE_SCRIPT, STATE_PLAYING, KEEP_LIVES},
    {"level_max", MyProjectMain::MAX_ROCK_LEVEL, nullptr, &PLAY_SCRIPT, STATE_PLAYING, KEEP_LIVES},
    {"paused", 1, Pause, nullptr, STATE_PLAYING, KEEP_LIVES},
    {"high_scores", 0, OpenHighScores, nullptr, STATE_HIGH_SCORES, 0},
    {"game_over", 1, CrashLastLife, &NAME_SCRIPT, STATE_GAME_OVER, 0},
    {"whole_frame", 1, nullptr, &PLAY_SCRIPT, STATE_PLAYING, KEEP_LIVES | WHOLE_FRAMES},
    {"star_field", 0, nullptr, nullptr, STATE_MENU, STAR_FIELD},
};

// ---------------------------------------------------------------- figures and report

struct Figures
{
    size_t iCount = 0;
    double dP50 = NAN;
    double dP99 = NAN;
};

// Nearest-rank percentiles; reorders the samples.
Figures Summarise(std::vector<float>& vTimes)
{
    Figures oFigures;
    oFigures.iCount = vTimes.size();
    for (double dFraction : {0.50, 0.99})
    {
        if (vTimes.empty())
            break;
        auto pRank = vTimes.begin() + static_cast<long>(std::ceil(dFraction * vTimes.size())) - 1;
        std::nth_element(vTimes.begin(), pRank, vTimes.end());
        (dFraction < 0.9 ? oFigures.dP50 : oFigures.dP99) = *pRank;
    }
    return oFigures;
}

struct Result
{
    const char* szName;
    Figures oPass, oWhole, oPartial, oNone;
    long lAdvances;
    double dSeconds;
    double dSpeed;
};

Result MeasureScenario(const Scenario& oScenario, double dSeconds)
{
    Result oResult{oScenario.szName, {}, {}, {}, {}, 0, 0, NAN};
    bool bStarted = WithStartedGame(
        [&](BenchGame& oGame)
        {
            if (oScenario.iLevel > 0)
            {
                oGame.m_iLevel = oScenario.iLevel;
                TapKey(oGame, SDLK_RETURN); // New Game, the item selected at start
            }
            if (oScenario.pSetUp != nullptr)
                oScenario.pSetUp(oGame);
            if (oScenario.iFlags & STAR_FIELD)
            {
                std::vector<float> vTimes =
                    TimeRepeatedly(dSeconds, [&] { oGame.PaintBackground(); });
                double dTotal = 0;
                for (float fTime : vTimes)
                    dTotal += fTime;
                oResult.oPass = Summarise(vTimes);
                oResult.dSeconds = dTotal / 1e6;
                // as fast as the game would run if it painted the star field on every tick
                oResult.dSpeed = vTimes.size() / oResult.dSeconds / 1000;
                return;
            }
            RunSamples oSamples =
                oGame.Run(dSeconds, oScenario.pScript, oScenario.iFlags & WHOLE_FRAMES,
                          oScenario.iFlags & KEEP_LIVES);
            oResult.oPass = Summarise(oSamples.vPasses);
            oResult.oWhole = Summarise(oSamples.vWholeFrames);
            oResult.oPartial = Summarise(oSamples.vPartialFrames);
            oResult.oNone = Summarise(oSamples.vNoFrames);
            oResult.lAdvances = oSamples.lAdvances;
            oResult.dSeconds = oSamples.dSeconds;
            // Paused, nothing advances: the speed is that of the ticks the pause holds back.
            long lTicks = oGame.m_bPaused ? oSamples.lDueTicks : oSamples.lAdvances;
            oResult.dSpeed = lTicks / oSamples.dSeconds / 1000;
            if (oGame.m_iGameState != oScenario.iExpectedState)
                fprintf(stderr, "  warning: ended in game state %d, not %d\n", oGame.m_iGameState,
                        oScenario.iExpectedState);
        });
    if (!bStarted)
        fprintf(stderr, "  the game did not start: %s\n", SDL_GetError());
    return oResult;
}

// The least a whole-screen frame can cost: the background blitted whole, the screen pushed whole.
Figures MeasureWholeFrameFloor(double dSeconds, std::string& strDriver)
{
    Figures oFloor;
    WithStartedGame(
        [&](BenchGame& oGame)
        {
            char szDriver[64] = "";
            SDL_VideoDriverName(szDriver, sizeof szDriver);
            const SDL_version* pLinked = SDL_Linked_Version(); // 1.2.15 classic, 1.2.50 on compat
            strDriver = std::string(szDriver) + " video driver, SDL " +
                        std::to_string(pLinked->major) + "." + std::to_string(pLinked->minor) +
                        "." + std::to_string(pLinked->patch);
            SDL_Rect oWhole = {0, 0, static_cast<Uint16>(oGame.m_pScreenSurface->w),
                               static_cast<Uint16>(oGame.m_pScreenSurface->h)};
            auto fnBlitAndPush = [&]
            {
                SDL_BlitSurface(oGame.m_pBackdropSurface, nullptr, oGame.m_pScreenSurface, nullptr);
                ShowDisplayRects(oGame.m_pScreenSurface, 1, &oWhole); // the page's canvas, too
            };
            std::vector<float> vTimes = TimeRepeatedly(dSeconds, fnBlitAndPush);
            oFloor = Summarise(vTimes);
        });
    return oFloor;
}

// A number with iDecimals decimals, or sNone when there is none (a kind of frame never drawn).
std::string Number(double dValue, int iDecimals, const char* szNone)
{
    char szText[32];
    snprintf(szText, sizeof szText, "%.*f", iDecimals, dValue);
    return std::isnan(dValue) ? szNone : szText;
}

// A table cell: a space and the number right-aligned in 7 characters; times from 1000 on whole.
std::string Cell(double dValue, int iDecimals)
{
    char szCell[32];
    snprintf(szCell, sizeof szCell, " %7s", Number(dValue, iDecimals, "-").c_str());
    return szCell;
}

std::string TimeCell(double dMicroseconds)
{
    return Cell(dMicroseconds, dMicroseconds < 1000 ? 1 : 0);
}

std::string Cells(const Figures& oFigures)
{
    return Cell(static_cast<double>(oFigures.iCount), 0) + TimeCell(oFigures.dP50) +
           TimeCell(oFigures.dP99);
}

void PrintTable(const std::vector<Result>& vResults, const Figures& oFloor,
                const std::string& strDriver, double dSeconds)
{
    printf("starshards-bench: %s, %.1f s per scenario, times in microseconds\n", strDriver.c_str(),
           dSeconds);
    printf("%-14s %24s %24s %24s %24s\n", "", "pass (ticked or drew)", "whole-screen frame",
           "partial frame", "no frame");
    printf("%-14s", "scenario");
    for (int i = 0; i < 4; i++)
        printf(" %8s%8s%8s", "n", "p50", "p99");
    printf(" %7s\n", "speed");
    for (const Result& oResult : vResults)
    {
        printf("%-14s %s %s %s %s%s\n", oResult.szName, Cells(oResult.oPass).c_str(),
               Cells(oResult.oWhole).c_str(), Cells(oResult.oPartial).c_str(),
               Cells(oResult.oNone).c_str(), Cell(oResult.dSpeed, 3).c_str());
    }
    printf("floor of a whole-screen frame (background blit + whole push): p50 %.1f, p99 %.1f\n",
           oFloor.dP50, oFloor.dP99);
    printf("speed: advances per second / 1000 (1.000 = one advance every millisecond)\n");
}

void WriteJson(const char* szPath, const std::vector<Result>& vResults, const Figures& oFloor)
{
    FILE* pFile = fopen(szPath, "w");
    if (pFile == nullptr)
    {
        perror(szPath);
        exit(1);
    }
    fprintf(pFile, "{\n");
    for (const Result& oResult : vResults)
    {
        fprintf(pFile, "  \"%s\": {\"speed\": %s, \"advances\": %ld, \"seconds\": %s",
                oResult.szName, Number(oResult.dSpeed, 4, "null").c_str(), oResult.lAdvances,
                Number(oResult.dSeconds, 3, "null").c_str());
        const std::pair<const char*, const Figures*> aKinds[] = {{"pass", &oResult.oPass},
                                                                 {"whole", &oResult.oWhole},
                                                                 {"partial", &oResult.oPartial},
                                                                 {"none", &oResult.oNone}};
        for (const auto& oKind : aKinds)
        {
            fprintf(pFile, ",\n    \"%s_count\": %zu, \"%s_p50_us\": %s, \"%s_p99_us\": %s",
                    oKind.first, oKind.second->iCount, oKind.first,
                    Number(oKind.second->dP50, 1, "null").c_str(), oKind.first,
                    Number(oKind.second->dP99, 1, "null").c_str());
        }
        fprintf(pFile, "},\n");
    }
    fprintf(pFile, "  \"floor_whole_us\": %s\n}\n", Number(oFloor.dP50, 1, "null").c_str());
    fclose(pFile);
}

[[noreturn]] void Usage(int iStatus)
{
    fprintf(stderr, "usage: starshards-bench [--seconds S] [--json PATH] [SCENARIO...]\n"
                    "scenarios:");
    for (const Scenario& oScenario : SCENARIOS)
        fprintf(stderr, " %s", oScenario.szName);
    fprintf(stderr, "\n");
    exit(iStatus);
}
} // namespace

int main(int argc, char** argv)
{
    double dSeconds = 3;
    std::string strJson = "bench.json";
    std::vector<const Scenario*> vChosen;
    for (int i = 1; i < argc; i++)
    {
        std::string strArgument = argv[i];
        if (strArgument == "--seconds" && i + 1 < argc)
            dSeconds = atof(argv[++i]);
        else if (strArgument == "--json" && i + 1 < argc)
            strJson = argv[++i];
        else if (strArgument == "--help")
            Usage(0);
        else
        {
            auto pFound = std::find_if(std::begin(SCENARIOS), std::end(SCENARIOS),
                                       [&](const Scenario& oScenario)
                                       { return strArgument == oScenario.szName; });
            if (pFound == std::end(SCENARIOS))
                Usage(2);
            vChosen.push_back(pFound);
        }
    }
    if (!(dSeconds > 0))
        Usage(2);
    if (vChosen.empty())
    {
        for (const Scenario& oScenario : SCENARIOS)
            vChosen.push_back(&oScenario);
    }
    UseDummyVideoWithoutDisplay();
    strJson = fs::absolute(strJson).string(); // the scenarios change the working directory
    AssetDirectory();

    // The game's console lines (fonts loaded and freed) go nowhere; progress goes to stderr.
    SilenceStandardOutput();
    // Half a second of the first scenario, not counted, so that it measures its pace rather than
    // the program's start: a browser compiles and first runs the code then, once a page load.
    MeasureScenario(*vChosen.front(), 0.5);
    std::vector<Result> vResults;
    for (const Scenario* pScenario : vChosen)
    {
        fprintf(stderr, "bench: %s\n", pScenario->szName);
        vResults.push_back(MeasureScenario(*pScenario, dSeconds));
    }
    fprintf(stderr, "bench: whole-screen frame floor\n");
    std::string strDriver;
    Figures oFloor = MeasureWholeFrameFloor(dSeconds, strDriver);
    RestoreStandardOutput();

    PrintTable(vResults, oFloor, strDriver, dSeconds);
    WriteJson(strJson.c_str(), vResults, oFloor);
    printf("written: %s\n", strJson.c_str());
    return 0;
}
