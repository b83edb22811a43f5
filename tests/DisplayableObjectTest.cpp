#include "DisplayableObject.h"
#include "TestSupport.h"

static std::string g_strLog; // what the probes were asked to do, in order

// Records every call the engine makes on it.
struct ProbeObject : DisplayableObject
{
    ProbeObject(BaseEngine* pHost, const char* szName) : DisplayableObject(pHost), m_sz(szName) {}
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

TEST(ObjectListTest, WalksStopAtTheFirstEmptyEntryOrRightAfterTheListIsDeleted)
{
    BaseEngine oEngine(100);
    ProbeObject* pBehindTheEnd = new ProbeObject(&oEngine, "d");
    oEngine.m_ppObjects = new DisplayableObject* [5]
    {
        new ProbeObject(&oEngine, "a"), new ListDeletingObject(&oEngine, "b"),
            new ProbeObject(&oEngine, "c"), nullptr, pBehindTheEnd
    };
    oEngine.RenderAllObjects();
    oEngine.EraseAllObjects();
    oEngine.CollectObjectRects();
    EXPECT_EQ(oEngine.m_iUpdateRectCount, 3);
    oEngine.AdvanceAllObjects(7);
    EXPECT_EQ(g_strLog, "a.Render b.Render c.Render a.Erase b.Erase c.Erase a.Rect b.Rect c.Rect "
                        "a.Advance b.Advance ~a ~b ~c ")
        << "c must not be advanced once b deleted the list";
    EXPECT_EQ(oEngine.GetObjectAt(0), nullptr) << "no list after deleting it";
    delete pBehindTheEnd;
}
