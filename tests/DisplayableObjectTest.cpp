#include <string>

#include "DisplayableObject.h"
#include "TestSupport.h"

namespace
{
const Uint32 MAGENTA = 0xFF00FF;
std::string g_strLog; // what the probes were asked to do, in order

// Records every call the engine makes on it.
struct ProbeObject : DisplayableObject
{
    ProbeObject(BaseEngine* pEngine, const char* szName) : DisplayableObject(pEngine), m_sz(szName)
    {
    }
    ~ProbeObject() override { g_strLog += std::string("~") + m_sz + " "; }
    void Render() override { Log("Render"); }
    void EraseFromScreen() override { Log("Erase"); }
    void WriteRedrawRect(SDL_Rect*) override { Log("Rect"); }
    void Advance(int) override { Log("Advance"); }
    void Log(const char* szCall) { g_strLog += std::string(m_sz) + "." + szCall + " "; }
    const char* m_sz;
};

// Its Advance deletes the whole list, itself included.
struct ListDeletingObject : ProbeObject
{
    using ProbeObject::ProbeObject;
    void Advance(int) override { Log("Advance"), m_pHostEngine->DeleteAllObjects(); }
};

std::string RedrawRect(DisplayableObject& oObject)
{
    SDL_Rect r;
    oObject.WriteRedrawRect(&r);
    return std::to_string(r.x) + "," + std::to_string(r.y) + "," + std::to_string(r.w) + "," +
           std::to_string(r.h);
}

using DisplayableObjectTest = StartedEngineTest;

// The base object is a 10 by 10 magenta box; its redraw rectangle spans where it was last drawn
// (first at the start place (-1,-1)) and where it is drawn now.
TEST_F(DisplayableObjectTest, PartialFrameErasesTheBoxesAlsoPartlyOffTheScreenAndDrawsThemAnew)
{
    BaseEngine oEngine(100);
    Start(&oEngine);
    for (int i = 0; i < 800 * 600; i++) // a different colour in every pixel: x + 800 y
        static_cast<Uint32*>(oEngine.m_pBackdropSurface->pixels)[i] = i;
    const int aaiMove[][4] = {{100, 100, 103, 98},
                              {300, -5, 340, 260},
                              {795, 595, -5, -5},
                              {50, 300, 50, 300},
                              {-5, 300, 795, 300}};
    const char* aszRects[] = {"100,98,13,12", "300,-5,50,275", "-5,-5,810,610", "50,300,10,10",
                              "-5,300,810,10"};
    oEngine.m_ppObjects = new DisplayableObject* [6] {};
    for (int i = 0; i < 5; i++)
    {
        oEngine.m_ppObjects[i] = new DisplayableObject(&oEngine);
        oEngine.m_ppObjects[i]->m_iPosX = aaiMove[i][0];
        oEngine.m_ppObjects[i]->m_iPosY = aaiMove[i][1];
    }
    oEngine.PresentFrame(); // the first frame is a whole-screen one
    EXPECT_EQ(RedrawRect(*oEngine.m_ppObjects[0]), "-1,-1,111,111");
    SDL_Surface* pExpected = NewSurface(800, 600);
    SDL_BlitSurface(oEngine.m_pBackdropSurface, nullptr, pExpected, nullptr);
    for (int i = 0; i < 5; i++)
    {
        oEngine.m_ppObjects[i]->m_iPosX = aaiMove[i][2];
        oEngine.m_ppObjects[i]->m_iPosY = aaiMove[i][3];
        SDL_Rect oBox{Sint16(aaiMove[i][2]), Sint16(aaiMove[i][3]), 10, 10};
        SDL_FillRect(pExpected, &oBox, MAGENTA);
    }
    oEngine.m_bRedrawNeeded = true;
    oEngine.PresentFrame();
    EXPECT_EQ(CountDifferentPixels(oEngine.m_pScreenSurface, pExpected), 0)
        << "pixels differing from the background with the boxes at their new places";
    for (int i = 0; i < 5; i++)
        EXPECT_EQ(RedrawRect(*oEngine.m_ppObjects[i]), aszRects[i]) << "object " << i;
    SDL_FreeSurface(pExpected);
}

TEST(ObjectListTest, WalksStopAtTheFirstEmptyEntryOrRightAfterTheListIsDeleted)
{
    BaseEngine oEngine(100);
    ProbeObject* pBehindTheEnd = new ProbeObject(&oEngine, "c");
    oEngine.m_ppObjects = new DisplayableObject* [4]
    { new ProbeObject(&oEngine, "a"), new ProbeObject(&oEngine, "b"), nullptr, pBehindTheEnd };
    g_strLog.clear();
    oEngine.AdvanceAllObjects(1);
    oEngine.RenderAllObjects();
    oEngine.EraseAllObjects();
    oEngine.CollectObjectRects();
    EXPECT_EQ(oEngine.m_iUpdateRectCount, 2);
    oEngine.DeleteAllObjects();
    EXPECT_EQ(g_strLog,
              "a.Advance b.Advance a.Render b.Render a.Erase b.Erase a.Rect b.Rect ~a ~b ");
    EXPECT_EQ(oEngine.GetObjectAt(0), nullptr) << "no list after deleting it";
    delete pBehindTheEnd;

    g_strLog.clear();
    oEngine.m_ppObjects = new DisplayableObject* [4]
    {
        new ProbeObject(&oEngine, "a"), new ListDeletingObject(&oEngine, "b"),
            new ProbeObject(&oEngine, "c"), nullptr
    };
    oEngine.AdvanceAllObjects(7);
    EXPECT_EQ(g_strLog, "a.Advance b.Advance ~a ~b ~c ") << "c must not be advanced";
}
} // namespace
