#include "TestSupport.h"
#include "fuzz/FileProperties.h"

#include <climits>
#include <cstring>
#include <random>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace
{
const int FILES_PER_READER = 2000;
// Pieces of generated lines ('|' between them): names, separators, numbers, line ends.
const char* const PIECES[] = {
    "|a|ab|abc|zzz|ABC|a_c|a:|___|abcd|level|lives|score|\xe9t\xe9|a b",
    "::|:|:::||: :|::::|=|\t::",
    "0|7|0042|-1|-0|+12| 42|2147483647|2147483648|-2147483648||99999999999999999999999|"
    "-99999999999999999999|12abc|3:4|1e9|20|21|30|31|9999|10000",
    "\n|\r\n|\r||\n\n| |\t\v\f"};

class MalformedFilesTest : public StartedEngineTest
{
protected:
    void SetUp() override
    {
        StartedEngineTest::SetUp();
        // Font only, no rocks; in memory if possible, as the game flushes every file it writes.
        char szMemory[] = "/dev/shm/starshards-test-XXXXXX";
        ASSERT_EQ(system("rm -f *.png *.jpg"), 0);
        if (access("/dev/shm", W_OK) == 0 && mkdtemp(szMemory) != nullptr)
        {
            ASSERT_EQ(system(("rm -rf '" + m_strDirectory + "'").c_str()), 0);
            m_strDirectory = szMemory; // removed by the tear-down in place of the other
            ASSERT_EQ(symlink(STARSHARDS_ASSET_DIR "/emulogic.ttf", PathOf("emulogic.ttf").c_str()),
                      0);
            ASSERT_EQ(chdir(szMemory), 0);
        }
        m_pGame = new StarlessGame;
        Start(m_pGame);
        srand(1);
        for (int i = 0; i < 4; i++)
        {
            std::istringstream oPieces(PIECES[i]);
            for (std::string strPiece; std::getline(oPieces, strPiece, '|');)
                m_avPieces[i].push_back(strPiece);
        }
    }
    void TearDown() override
    {
        delete m_pGame;
        StartedEngineTest::TearDown();
    }
    int Pick(size_t iCount) { return static_cast<int>(m_oRandom() % iCount); }
    const std::string& Piece(int iKind)
    {
        return m_avPieces[iKind][Pick(m_avPieces[iKind].size())];
    }
    // Random bytes, one huge line, lines of 0 to 6 characters or of pieces; NUL and CR strewn in.
    std::string MakeFile()
    {
        std::string strFile;
        int iShape = Pick(8);
        for (int i = iShape == 0 ? Pick(600) : 0; i > 0; i--)
            strFile += static_cast<char>(Pick(256));
        while (iShape == 1 && strFile.size() < 100000 + static_cast<size_t>(Pick(40000)))
            strFile += Piece(0) + Piece(1) + "9";
        for (int iLine = iShape == 2 ? Pick(14) : 0; iLine > 0; iLine--)
        {
            for (int i = Pick(7); i > 0; i--)
                strFile += std::string("ab::7 -\r:\0\xff", 10)[Pick(10)];
            strFile += '\n';
        }
        for (int iLine = iShape < 3 ? 0 : Pick(6) == 0 ? Pick(3000) : Pick(14); iLine > 0; iLine--)
            strFile += Piece(0) + Piece(1) + Piece(2) + Piece(3);
        for (int i = Pick(4) == 0 && !strFile.empty() ? Pick(8) : 0; i > 0; i--)
            strFile[Pick(strFile.size())] = Pick(2) == 0 ? '\0' : '\r';
        return strFile;
    }
    static std::string Shown(const std::string& strFile)
    {
        return testing::PrintToString(strFile.substr(0, 160)) + " (" +
               std::to_string(strFile.size()) + " bytes)";
    }

    MyProjectMain* m_pGame = nullptr;
    std::mt19937 m_oRandom{20240611};
    std::vector<std::string> m_avPieces[4];
};

TEST_F(MalformedFilesTest, AnyHighScoreFileIsShownAndRewrittenWithEveryEntryAsItReadsBack)
{
    MyProjectMain& oGame = *m_pGame;
    const int aScores[] = {0, 1, 3200, 39400, INT_MAX};
    for (int iFile = 0; iFile < FILES_PER_READER; iFile++)
    {
        std::string strFile = MakeFile();
        WriteFileBytes("highscores.txt", strFile);
        oGame.m_iGameState = STATE_HIGH_SCORES;
        oGame.m_iUpdateRectCount = 0;
        oGame.DrawOverlayText();
        ASSERT_LE(oGame.m_iUpdateRectCount, 11)
            << "file " << iFile << ": more than ten rows drawn of " << Shown(strFile);

        std::string strName = {char('a' + Pick(26)), char('a' + Pick(26)), char('a' + Pick(26))};
        int iScore = Pick(2) == 0 ? aScores[Pick(5)] : Pick(50000);
        strcpy(oGame.m_szName, strName.c_str());
        oGame.m_iNameLength = 3;
        oGame.m_iScore = iScore;
        oGame.RecordHighScore();
        std::string strTable = ReadFileBytes("highscores.txt");
        ASSERT_EQ(HighScoreTableProblem(strTable, strName, iScore, CountTableEntries(strFile)), "")
            << "file " << iFile << " after recording " << strName << " " << iScore << ": "
            << Shown(strFile) << "\nwritten: " << Shown(strTable);

        strcpy(oGame.m_szName, "R-T");
        oGame.m_iScore = 0;
        oGame.RecordHighScore();
        ASSERT_EQ(RoundTripProblem(strTable, ReadFileBytes("highscores.txt"), "R-T"), "")
            << "file " << iFile << ": " << Shown(strFile);
    }
}

TEST_F(MalformedFilesTest, EntriesEditedByHandAreKeptAndOnlyNamesHoldingAColonAreDropped)
{
    const char szFile[] = "ab:::5 Abc::9\na\0c::4 abcxx6 ___::8\n\xe9t\xe9::7 Jo::30 xyz::3 ab";
    WriteFileBytes("highscores.txt", std::string(szFile, sizeof szFile - 1));
    strcpy(m_pGame->m_szName, "new");
    m_pGame->m_iScore = 5;
    m_pGame->RecordHighScore();
    const char szTable[] = "Abc::9\n___::8\n\xe9t\xe9::7\nabc::6\nnew::5\na\0c::4\nxyz::3";
    EXPECT_EQ(ReadFileBytes("highscores.txt"), std::string(szTable, sizeof szTable - 1));
}

TEST_F(MalformedFilesTest, AnySaveFileStartsPlayOfALevelTheGameCanBuild)
{
    MyProjectMain& oGame = *m_pGame;
    for (int iFile = 0; iFile < FILES_PER_READER; iFile++)
    {
        std::string strFile = MakeFile();
        WriteFileBytes("save.txt", strFile);
        oGame.m_iGameState = STATE_MENU;
        oGame.m_iLevel = 1 + Pick(40);
        oGame.m_iLives = Pick(4);
        oGame.m_iScore = Pick(100000);
        oGame.m_bSaveFound = false;
        oGame.LoadGame();
        ASSERT_TRUE(oGame.m_bSaveFound) << "file " << iFile;
        ASSERT_EQ(LoadedGameProblem(oGame), "") << "file " << iFile << ": " << Shown(strFile);
    }
}
} // namespace
