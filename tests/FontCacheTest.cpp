#include "TestSupport.h"

#include <algorithm>
#include <functional>

static std::string StdoutOf(const std::function<void()>& fnAction)
{
    testing::internal::CaptureStdout();
    fnAction();
    return testing::internal::GetCapturedStdout();
}

static std::string Line(const char* szWhat, int iSize, const std::string& strName = "emulogic.ttf")
{
    return std::string(szWhat) + ": " + std::to_string(iSize) + " point " + strName + "\n";
}

using FontCacheTest = WorkingDirectoryTest;

// Thirty-one fonts outgrow the first table: entries already handed out must stay valid. Each size
// comes in two names that differ in case only, and the upper-case file does not exist.
TEST_F(FontCacheTest, FontsRequestedEarlyOpenAtTheSweepEachNameIsItsOwnEntryFailuresAreReported)
{
    FontCache oCache;
    FontEntry* apEntries[31];
    auto fnName = [](int i) { return i % 2 ? "EMULOGIC.TTF" : "emulogic.ttf"; };
    std::string strLoading, strFailed, strFreed;
    for (int i = 0; i < 31; i++)
    {
        strLoading += Line("Loading font", 1 + i / 2, fnName(i));
        strFailed += i % 2 ? "Font loading failed.\n" : "";
        strFreed += i % 2 ? "" : Line("Free font", 1 + i / 2);
    }
    auto fnLookUpAll = [&](FontEntry** ppTo)
    {
        for (int i = 0; i < 31; i++)
            ppTo[i] = oCache.LookUpFont(fnName(i), 1 + i / 2);
    };
    EXPECT_EQ(StdoutOf([&] { fnLookUpAll(apEntries); }), strLoading) << "no failures reported yet";
    ASSERT_EQ(TTF_Init(), 0);
    EXPECT_EQ(StdoutOf([&] { oCache.OpenPendingFonts(); }), strFailed);
    ASSERT_EQ(symlink("emulogic.ttf", "EMULOGIC.TTF"), 0); // a failed font is not opened again
    FontEntry* apAgain[31];
    EXPECT_EQ(StdoutOf([&] { fnLookUpAll(apAgain); }), "");
    EXPECT_TRUE(std::equal(apAgain, apAgain + 31, apEntries)) << "the same entries";

    FontEntry *pLate, *pAbsent;
    EXPECT_EQ(StdoutOf([&] { pLate = oCache.LookUpFont("emulogic.ttf", 30); }) +
                  StdoutOf([&] { pAbsent = oCache.LookUpFont("absent.ttf", 30); }),
              Line("Loading font", 30) + Line("Loading font", 30, "absent.ttf") +
                  "Font loading failed.\n");
    EXPECT_TRUE(pLate->m_pFont != nullptr && pAbsent->m_pFont == nullptr) << "opened at once";
    // Only the fonts that opened are freed: the failed ones stayed closed.
    EXPECT_EQ(StdoutOf([&] { oCache.FreeAllFonts(); }), strFreed + Line("Free font", 30));
    TTF_Quit();
}
