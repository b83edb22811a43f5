#include "TestSupport.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <unistd.h>
#include <vector>

namespace
{
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

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

TEST_F(FontCacheTest, EachCaseSensitivePairIsOneEntryThatSurvivesGrowth)
{
    FontCache oCache;
    std::vector<FontEntry*> vecEntries;
    std::vector<int> vecCapacities;
    std::string strExpected;
    auto fnName = [](int i) { return std::string(i % 2 ? "EMU" : "emu"); }; // i and i+1: same size
    CaptureStdout();
    for (int i = 0; i < 31; i++)
    {
        vecEntries.push_back(oCache.LookUpFont(fnName(i).c_str(), 1 + i / 2));
        vecCapacities.push_back(oCache.GetCapacity());
        strExpected += Line("Loading font", 1 + i / 2, fnName(i));
    }
    EXPECT_EQ(GetCapturedStdout(), strExpected)
        << "no failure lines before the text library is ready";
    for (int i = 0; i < 31; i++)
    {
        EXPECT_EQ(vecCapacities[i], std::max(20, (i + 10) / 10 * 10))
            << "after " << i + 1 << " fonts";
        EXPECT_EQ(vecEntries[i]->m_szFileName, fnName(i)) << "entry " << i;
        EXPECT_EQ(vecEntries[i]->m_iPointSize, 1 + i / 2) << "entry " << i;
        FontEntry* pAgain = nullptr;
        EXPECT_EQ(StdoutOf([&] { pAgain = oCache.LookUpFont(fnName(i).c_str(), 1 + i / 2); }), "");
        EXPECT_EQ(pAgain, vecEntries[i]) << "entry " << i;
    }
    EXPECT_EQ(oCache.GetCount(), 31);
}

TEST_F(FontCacheTest, DeferredFontsOpenAtTheSweepAndOnlyRealFailuresAreReported)
{
    FontCache oCache;
    FontEntry *pEarly, *pMissing, *pLate, *pAbsent;
    CaptureStdout();
    pEarly = oCache.LookUpFont("emulogic.ttf", 24);
    pMissing = oCache.LookUpFont("missing.ttf", 30);
    EXPECT_EQ(GetCapturedStdout(),
              Line("Loading font", 24) + Line("Loading font", 30, "missing.ttf"));
    ASSERT_EQ(TTF_Init(), 0);
    EXPECT_EQ(StdoutOf([&] { oCache.OpenPendingFonts(); }), FAILED) << "for the missing font";
    EXPECT_NE(pEarly->m_pFont, nullptr) << "a font requested early opens at the sweep";
    EXPECT_EQ(pMissing->m_pFont, nullptr);

    CaptureStdout();
    pLate = oCache.LookUpFont("emulogic.ttf", 12);
    pAbsent = oCache.LookUpFont("absent.ttf", 12);
    EXPECT_EQ(GetCapturedStdout(),
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
    for (int iColour : {0x00FF00, 0xFF0000, 0x0000FF})
    {
        DrawHi(iColour, nullptr);
        SDL_BlitSurface(m_pTarget, nullptr, pWithDefault, nullptr);
        DrawHi(iColour, m_pEngine->m_pStandardFont);
        EXPECT_GT(Ink(), 0) << std::hex << iColour;
        EXPECT_EQ(CountPixels(m_pTarget, iColour, 0, 0, 160, 40), Ink()) << std::hex << iColour;
        EXPECT_EQ(CountPixels(m_pTarget, iColour, 0, 0, 160, 6) +
                      CountPixels(m_pTarget, iColour, 0, 0, 8, 40),
                  0)
            << "ink above or left of (8, 6)";
        EXPECT_EQ(CountDifferentPixels(m_pTarget, pWithDefault), 0)
            << "null font, " << std::hex << iColour;
    }
    SDL_FreeSurface(pWithDefault);
    DrawHi(0xFFFFFF, m_pEngine->m_oFontCache.LookUpFont("missing.ttf", 24));
    EXPECT_EQ(Ink(), 0) << "a font that failed to open draws nothing";
}

TEST_F(TextDrawingTest, DefaultFontIsTheEntryRequestedBeforeStartUpAndNoneForAnEmptyName)
{
    FontEntry* p24 = nullptr;
    EXPECT_EQ(StdoutOf([&] { p24 = m_pEngine->m_oFontCache.LookUpFont("emulogic.ttf", 24); }),
              Line("Loading font", 24));
    EXPECT_EQ(StdoutOf([&] { m_pEngine->StartUp("Starshards", 800, 600, "emulogic.ttf", 24); }),
              "");
    EXPECT_EQ(m_pEngine->m_pStandardFont, p24);
    EXPECT_NE(p24->m_pFont, nullptr);
    EXPECT_EQ(StdoutOf([&] { m_pEngine.reset(); }), Line("Free font", 24));

    m_pEngine = std::make_unique<BaseEngine>(10);
    EXPECT_EQ(StdoutOf([&] { m_pEngine->StartUp("Starshards", 800, 600, "", 24); }), "");
    EXPECT_EQ(m_pEngine->m_pStandardFont, nullptr);
    EXPECT_EQ(m_pEngine->m_oFontCache.GetCount(), 0);
    DrawHi(0xFFFFFF, nullptr);
    EXPECT_EQ(Ink(), 0) << "no font given and no default font";
}
