#include "ui/CDragTracker.h"

#include "resources/ResourceIds.h"
#include "tests/ui/TestDragSource.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/CBtnSeta.h"
#include "ui/CKadDragObjReg.h"
#include "ui/CSisPopupCtrl.h"
#include "ui/DropTargets.h"

#include <string>

// Stand-ins for the classes of later layers that the registry names: what
// matters to it is the run-time class name and the drop interface.
class CArqListCtrl
    : public CWnd
    , public CKadDropTarget {
    DECLARE_DYNAMIC(CArqListCtrl)

public:
    BOOL Make(CWnd* pParent, RECT rect)
    {
        return Create(AfxRegisterWndClass(0), "", WS_CHILD | WS_VISIBLE, rect, pParent, 0);
    }
    void DropEnter() override { m_events += "enter "; }
    DROPEFFECT DropOver(CKadDragObj*, UINT nKeyState, int x, int y) override
    {
        m_lastPoint = POINT { x, y };
        return (nKeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
    }
    void DropLeave() override { m_events += "leave "; }
    BOOL DropTake(CKadDragObj*, DROPEFFECT effect) override
    {
        m_events += "take" + std::to_string(effect) + " ";
        return m_bTakes;
    }

    std::string m_events;
    POINT m_lastPoint {};
    BOOL m_bTakes { TRUE };
};
IMPLEMENT_DYNAMIC(CArqListCtrl, CWnd)

class CDerivedArqList : public CArqListCtrl {
    DECLARE_DYNAMIC(CDerivedArqList)
};
IMPLEMENT_DYNAMIC(CDerivedArqList, CArqListCtrl)

namespace {

class DragDropTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        InitDragDrop();
        ASSERT_TRUE(m_source.Make(&Host(), RECT { 0, 0, 100, 100 }));
        ASSERT_TRUE(m_target.Make(&Host(), RECT { 200, 0, 300, 100 }));
        ASSERT_EQ(RegisterDropTarget(&m_target, TRUE), 1);
    }
    void TearDown() override
    {
        RegisterDropTarget(&m_target, FALSE);
        UiTest::TearDown();
    }

    // Presses in the source and moves over the target (host coordinates of the target: 250, 50).
    void DragOverTarget()
    {
        ASSERT_TRUE(Driver().Press(m_source.m_hWnd, 50, 50));
        ASSERT_TRUE(Driver().MoveTo(m_source.m_hWnd, 250, 50));
    }
    static HCURSOR Cursor(UINT nID) { return LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(nID)); }

    CTestDragSource m_source;
    CArqListCtrl m_target;
};

TEST_F(DragDropTest, RegistryKnowsListedClassesOnceAndKeepsOrder)
{
    EXPECT_EQ(RegisterDropTarget(&m_target, TRUE), 0) << "twice";
    EXPECT_EQ(FindDropTarget(&m_target), 0);
    EXPECT_EQ(GetDropTargetKind(0), DROP_KIND_DOCUMENT_LIST);

    CDerivedArqList derived;
    ASSERT_TRUE(derived.Make(&Host(), RECT { 0, 150, 10, 160 }));
    EXPECT_EQ(RegisterDropTarget(&derived, TRUE), 0) << "a subclass of an exact class is no target";
    EXPECT_EQ(RegisterDropTarget(&derived, FALSE), 0) << "absent";

    CSisPopupCtrl popup;
    CBtnSeta arrow;
    ASSERT_TRUE(popup.Create(WS_CHILD | WS_VISIBLE, RECT { 20, 150, 30, 160 }, &Host(), 0));
    ASSERT_TRUE(arrow.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, RECT { 40, 150, 50, 160 }, &Host(), 1));
    EXPECT_EQ(RegisterDropTarget(&popup, TRUE), 1);
    EXPECT_EQ(RegisterDropTarget(&arrow, TRUE), 1);
    EXPECT_EQ(GetDropTargetKind(FindDropTarget(&popup)), DROP_KIND_POPUP);
    EXPECT_EQ(GetDropTargetKind(FindDropTarget(&arrow)), DROP_KIND_ARROW_BUTTON);

    EXPECT_EQ(RegisterDropTarget(&popup, FALSE), 1);
    EXPECT_EQ(FindDropTarget(&arrow), 1) << "later entries move down";
    arrow.DestroyWindow();
    EXPECT_EQ(FindDropTarget(&arrow), -1) << "an arrow button leaves with its window";
    CWnd plain;
    ASSERT_TRUE(plain.Create(AfxRegisterWndClass(0), "", WS_CHILD, RECT { 0, 0, 1, 1 }, &Host(), 2));
    EXPECT_EQ(RegisterDropTarget(&plain, TRUE), 0);
}

TEST_F(DragDropTest, CursorAndEffectFollowTheTargetAndTheModifiersWhileResting)
{
    DragOverTarget();
    ASSERT_NE(m_source.m_pTracker, nullptr);
    EXPECT_EQ(m_target.m_events, "enter ");
    EXPECT_EQ(m_target.m_lastPoint.x, 50) << "the point in the target's client coordinates";
    EXPECT_EQ(CTestDriver::Cursor(), Cursor(IDC_DRAG_MOVE));
    ASSERT_TRUE(Driver().KeyDown(VK_CONTROL));
    EXPECT_EQ(CTestDriver::Cursor(), Cursor(IDC_DRAG_COPY)) << "at once, the mouse resting";
    ASSERT_TRUE(Driver().KeyUp(VK_CONTROL));
    EXPECT_EQ(CTestDriver::Cursor(), Cursor(IDC_DRAG_MOVE));

    ASSERT_TRUE(Driver().MoveTo(m_source.m_hWnd, 50, 200));
    EXPECT_EQ(m_target.m_events, "enter leave ");
    EXPECT_EQ(CTestDriver::Cursor(), Cursor(IDC_DRAG_NONE));
    ASSERT_TRUE(Driver().KeyDown(VK_CONTROL));
    EXPECT_EQ(CTestDriver::Cursor(), Cursor(IDC_DRAG_NONE)) << "over no target the keys change nothing";
    ASSERT_TRUE(Driver().KeyUp(VK_CONTROL));

    ASSERT_TRUE(Driver().KeyDown(VK_MENU));
    EXPECT_EQ(m_source.m_nSysKeys, 1) << "Alt is passed on";
    ASSERT_TRUE(Driver().KeyUp(VK_MENU));
    EXPECT_NE(m_source.m_pTracker, nullptr) << "the drag goes on";
    Driver().Release(m_source.m_hWnd, 50, 200);
    EXPECT_EQ(m_source.m_result, DROPEFFECT_NONE);
}

TEST_F(DragDropTest, AnEscapeBeforeTheDragDoesNotCancelIt)
{
    ASSERT_TRUE(Driver().PressKey(VK_ESCAPE));
    DragOverTarget();
    EXPECT_NE(m_source.m_pTracker, nullptr);
    EXPECT_EQ(m_target.m_events, "enter ");
    ASSERT_TRUE(Driver().Release(m_source.m_hWnd, 250, 50));
    EXPECT_EQ(m_source.m_result, DROPEFFECT_MOVE);
}

TEST_F(DragDropTest, ReleaseDropsWithTheEffectShown)
{
    DragOverTarget();
    ASSERT_TRUE(Driver().KeyDown(VK_CONTROL));
    ASSERT_TRUE(Driver().Release(m_source.m_hWnd, 250, 50));
    ASSERT_TRUE(Driver().KeyUp(VK_CONTROL));
    EXPECT_EQ(m_source.m_result, DROPEFFECT_COPY);
    EXPECT_EQ(m_target.m_events, "enter take1 ");
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(g_dragSource, nullptr);
}

TEST_F(DragDropTest, RefusedDropLeavesTheTarget)
{
    m_target.m_bTakes = FALSE;
    DragOverTarget();
    ASSERT_TRUE(Driver().Release(m_source.m_hWnd, 250, 50));
    EXPECT_EQ(m_source.m_result, DROPEFFECT_NONE);
    EXPECT_EQ(m_target.m_events, "enter take2 leave ");
}

TEST_F(DragDropTest, EscapeAndOtherButtonsCancel)
{
    DragOverTarget();
    ASSERT_TRUE(Driver().PressKey(VK_ESCAPE));
    EXPECT_EQ(m_source.m_result, DROPEFFECT_NONE);
    EXPECT_EQ(m_target.m_events, "enter leave ");
    Driver().Release(m_source.m_hWnd, 250, 50);

    for (EMouseButton eButton : { EMouseButton::Right, EMouseButton::Middle }) {
        m_target.m_events.clear();
        m_source.m_result = 99;
        DragOverTarget();
        ASSERT_TRUE(Driver().Press(m_source.m_hWnd, 250, 50, eButton));
        EXPECT_EQ(m_source.m_result, DROPEFFECT_NONE);
        EXPECT_EQ(m_target.m_events, "enter leave ");
        Driver().Release(m_source.m_hWnd, 250, 50, eButton);
        Driver().Release(m_source.m_hWnd, 250, 50);
    }
}

TEST_F(DragDropTest, TargetThatGoesDuringTheDragIsNoTarget)
{
    auto pGone = std::make_unique<CArqListCtrl>();
    ASSERT_TRUE(pGone->Make(&Host(), RECT { 200, 150, 300, 250 }));
    ASSERT_EQ(RegisterDropTarget(pGone.get(), TRUE), 1);
    ASSERT_TRUE(Driver().Press(m_source.m_hWnd, 50, 50));
    ASSERT_TRUE(Driver().MoveTo(m_source.m_hWnd, 250, 200));
    // The first target leaves the registry: the second one's entry moves down.
    RegisterDropTarget(&m_target, FALSE);
    EXPECT_EQ(CTestDriver::Cursor(), Cursor(IDC_DRAG_MOVE));
    RegisterDropTarget(pGone.get(), FALSE);
    pGone.reset();
    ASSERT_TRUE(Driver().MoveTo(m_source.m_hWnd, 250, 201));
    EXPECT_EQ(CTestDriver::Cursor(), Cursor(IDC_DRAG_NONE));
    ASSERT_TRUE(Driver().Release(m_source.m_hWnd, 250, 201));
    EXPECT_EQ(m_source.m_result, DROPEFFECT_NONE);
}

TEST_F(DragDropTest, ArrowButtonRepeatsUnderADragAndTakesNoDrop)
{
    CBtnSeta arrow;
    ASSERT_TRUE(arrow.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, RECT { 120, 150, 160, 180 }, &Host(), 77));
    ASSERT_EQ(RegisterDropTarget(&arrow, TRUE), 1);
    ASSERT_TRUE(Driver().Press(m_source.m_hWnd, 50, 50));
    ASSERT_TRUE(Driver().MoveTo(m_source.m_hWnd, 140, 165));
    Driver().Advance(500);
    EXPECT_EQ(Host().m_commands.size(), 3u) << "0, 350 and 450 ms";
    EXPECT_EQ(CTestDriver::Cursor(), Cursor(IDC_DRAG_NONE));
    ASSERT_TRUE(Driver().Release(m_source.m_hWnd, 140, 165));
    EXPECT_EQ(m_source.m_result, DROPEFFECT_NONE);
    Driver().Advance(500);
    EXPECT_EQ(Host().m_commands.size(), 3u) << "the repeat stopped with the drag";
}

} // namespace
