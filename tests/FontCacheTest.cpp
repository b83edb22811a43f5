#include "TestSupport.h"

#include <functional>
#include <memory>
#include <unistd.h>
#include <vector>

namespace
{
std::string StdoutOf(const std::function<void()>& fnAction)
{
    testing::internal::CaptureStdout();
    fnAction();
    return testing::internal::GetCapturedStdout();
}

std::string Line(const char* szWhat, int iSize, const std::string& strName = "emulogic.ttf")
{
    return std::string(szWhat) + ": " + std::to_string(iSize) + " point " + strName + "\n";
}

const std::string FAILED = "Font loading failed.\n";
} // namespace

using FontCacheTest = WorkingDirectoryTest;

// Thirty-one fonts outgrow the first table: entries already handed out must stay valid.
TEST_F(FontCacheTest, EachCaseSensitivePairIsOneEntryThatSurvivesGrowth)
{
    FontCache oCache;
    std::vector<FontEntry*> vecEntries;
    auto fnName = [](int i) { return std::string(i % 2 ? "EMU" : "emu"); }; // i and i+1: same size
    for (int i = 0; i < 31; i++)
        EXPECT_EQ(
            StdoutOf([&]
                     { vecEntries.push_back(oCache.LookUpFont(fnName(i).c_str(), 1 + i / 2)); }),
            Line("Loading font", 1 + i / 2, fnName(i)))
            << "no failure line before the text library is ready";
    for (int i = 0; i < 31; i++)
    {
        FontEntry* pAgain = nullptr;
        EXPECT_EQ(StdoutOf([&] { pAgain = oCache.LookUpFont(fnName(i).c_str(), 1 + i / 2); }), "");
        EXPECT_TRUE(pAgain == vecEntries[i] && pAgain->m_szFileName == fnName(i) &&
                    pAgain->m_iPointSize == 1 + i / 2)
            << "entry " << i;
    }
}

TEST_F(FontCacheTest, DeferredFontsOpenAtTheSweepAndOnlyRealFailuresAreReported)
{
    FontCache oCache;
    FontEntry *pEarly, *pMissing, *pLate, *pAbsent;
    EXPECT_EQ(StdoutOf([&] { pEarly = oCache.LookUpFont("emulogic.ttf", 24); }) +
                  StdoutOf([&] { pMissing = oCache.LookUpFont("missing.ttf", 30); }),
              Line("Loading font", 24) + Line("Loading font", 30, "missing.ttf"));
    ASSERT_EQ(TTF_Init(), 0);
    EXPECT_EQ(StdoutOf([&] { oCache.OpenPendingFonts(); }), FAILED) << "for the missing font";
    EXPECT_NE(pEarly->m_pFont, nullptr) << "a font requested early opens at the sweep";
    EXPECT_EQ(pMissing->m_pFont, nullptr);

    EXPECT_EQ(StdoutOf([&] { pLate = oCache.LookUpFont("emulogic.ttf", 12); }) +
                  StdoutOf([&] { pAbsent = oCache.LookUpFont("absent.ttf", 12); }),
              Line("Loading font", 12) + Line("Loading font", 12, "absent.ttf") + FAILED);
    EXPECT_NE(pLate->m_pFont, nullptr) << "opened at once after the sweep";
    EXPECT_EQ(pAbsent->m_pFont, nullptr);

    ASSERT_EQ(symlink("emulogic.ttf", "missing.ttf"), 0);
    FontEntry* pAgain = nullptr;
    EXPECT_EQ(StdoutOf([&] { pAgain = oCache.LookUpFont("missing.ttf", 30); }), "");
    EXPECT_EQ(pAgain, pMissing);
    EXPECT_EQ(pMissing->m_pFont, nullptr) << "a failed font is not opened again";

    EXPECT_EQ(StdoutOf([&] { oCache.FreeAllFonts(); }),
              Line("Free font", 24) + Line("Free font", 12));
    TTF_Quit();
}

class TextDrawingTest : public StartedEngineTest
{
protected:
    void TearDown() override
    {
        m_pEngine.reset(); // closes the fonts while the text library still runs
        SDL_FreeSurface(m_pTarget);
        StartedEngineTest::TearDown();
    }
    int Ink() { return 160 * 40 - CountPixels(m_pTarget, 0, 0, 0, 160, 40); } // on black
    void DrawHi(int iColour, FontEntry* pFont)
    {
        FillSurface(m_pTarget, 0);
        m_pEngine->DrawText(8, 6, "HI", iColour, pFont, m_pTarget);
    }
    std::unique_ptr<BaseEngine> m_pEngine = std::make_unique<BaseEngine>(10);
    SDL_Surface* m_pTarget = NewSurface(160, 40);
};

TEST_F(TextDrawingTest, TextComesOutInItsColourAndANullFontMeansTheDefaultFont)
{
    Start(m_pEngine.get());
    SDL_Surface* pWithDefault = NewSurface(160, 40);
    for (int iColour : {0x00FF00, 0x0000FF})
    {
        DrawHi(iColour, nullptr);
        SDL_BlitSurface(m_pTarget, nullptr, pWithDefault, nullptr);
        DrawHi(iColour, m_pEngine->m_pStandardFont);
        EXPECT_TRUE(Ink() > 0 && CountPixels(m_pTarget, iColour, 0, 0, 160, 40) == Ink())
            << iColour;
        EXPECT_EQ(CountPixels(m_pTarget, iColour, 0, 0, 160, 6) +
                      CountPixels(m_pTarget, iColour, 0, 0, 8, 40),
                  0)
            << "ink above or left of (8, 6)";
        EXPECT_EQ(CountDifferentPixels(m_pTarget, pWithDefault), 0) << "null font, " << iColour;
    }
    SDL_FreeSurface(pWithDefault);
    DrawHi(0xFFFFFF, m_pEngine->m_oFontCache.LookUpFont("missing.ttf", 24));
    EXPECT_EQ(Ink(), 0) << "a font that failed to open draws nothing";
}
