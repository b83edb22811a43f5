#include "TestSupport.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

static std::string Line(const char* szWhat, int iSize, const std::string& strName = "emulogic.ttf")
{
    return std::string(szWhat) + ": " + std::to_string(iSize) + " point " + strName + "\n";
}

using FontCacheTest = WorkingDirectoryTest;

// Thirty-one fonts outgrow the first table: entries already handed out must stay valid. Each size
// comes in two names that differ in case only, and the upper-case file does not exist.
TEST_F(FontCacheTest, FontsRequestedEarlyOpenAtTheSweepEachNameIsItsOwnEntryFailuresAreReported)
{
#ifdef _WIN32
    GTEST_SKIP() << "names that differ in case only name the same file on Windows";
#endif
    FontCache oCache;
    FontEntry* apEntries[31];
    auto fnName = [](int i) { return i % 2 ? "EMULOGIC.TTF" : "emulogic.ttf"; };
    std::string strLoading, strFailed, strFreed;
    CaptureStdout();
    for (int i = 0; i < 31; i++)
    {
        apEntries[i] = oCache.LookUpFont(fnName(i), 1 + i / 2);
        strLoading += Line("Loading font", 1 + i / 2, fnName(i));
        strFailed += i % 2 ? "Font loading failed.\n" : "";
        strFreed += i % 2 ? "" : Line("Free font", 1 + i / 2);
    }
    EXPECT_EQ(GetCapturedStdout(), strLoading) << "no failures reported yet";
    ASSERT_EQ(TTF_Init(), 0);
    CaptureStdout();
    oCache.OpenPendingFonts();
    EXPECT_EQ(GetCapturedStdout(), strFailed);
    ASSERT_TRUE(std::filesystem::copy_file("emulogic.ttf",
                                           "EMULOGIC.TTF")); // a failed font is not opened again
    CaptureStdout();
    for (int i = 0; i < 31; i++)
        EXPECT_EQ(oCache.LookUpFont(fnName(i), 1 + i / 2), apEntries[i]) << "not the same entry";
    FontEntry* pLate = oCache.LookUpFont("emulogic.ttf", 30);
    FontEntry* pAbsent = oCache.LookUpFont("absent.ttf", 30);
    EXPECT_EQ(GetCapturedStdout(), Line("Loading font", 30) +
                                       Line("Loading font", 30, "absent.ttf") +
                                       "Font loading failed.\n");
    EXPECT_TRUE(pLate->m_pFont != nullptr && pAbsent->m_pFont == nullptr) << "opened at once";
    // Only the fonts that opened are freed: the failed ones stayed closed.
    CaptureStdout();
    oCache.FreeAllFonts();
    EXPECT_EQ(GetCapturedStdout(), strFreed + Line("Free font", 30));
    TTF_Quit();
}
