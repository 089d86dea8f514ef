#include "ui/CPopupCtrl.h"

#include "platform/controls/ListBoxControl.h"
#include "platform/window/SystemMetrics.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/CPopupWnd.h"
#include "ui/DropTargets.h"
#include "ui/PopupHitTable.h"

#include <cstdint>
#include <memory>

namespace {

constexpr int ROW = 20;
constexpr int WIDTH = 80;

// A result that stands for an object: the item's value itself, so the tests
// need not free what the popups hand over.
DWORD ValueOf(void* pResult)
{
    return static_cast<DWORD>(reinterpret_cast<uintptr_t>(pResult));
}

class CTestPopupCtrl : public CPopupCtrl {
public:
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override { lpMeasureItemStruct->itemHeight = ROW; }
    void DrawItem(LPDRAWITEMSTRUCT /*lpDrawItemStruct*/) override { }
    int GetPopupWidth() override { return WIDTH; }
    void* GetItemResult(int nIndex) override
    {
        return reinterpret_cast<void*>(static_cast<uintptr_t>(GetItemValue(nIndex)));
    }
    CPopupWnd* CreateChildPopup(int nIndex) override;
};

class CTestPopupWnd : public CPopupWnd {
public:
    CTestPopupWnd()
        : CPopupWnd("TestPopupWnd")
    {
    }
    CPopupCtrl* GetPopupCtrl() override { return &m_list; }
    CTestPopupCtrl m_list;
};

// Items that have a child get one with "child b" (value 20, a child again) and "child a" (10).
CPopupWnd* CTestPopupCtrl::CreateChildPopup(int nIndex)
{
    if (!ItemHasChild(nIndex))
        return nullptr;
    auto pChild = std::make_unique<CTestPopupWnd>();
    if (pChild->Create(this) != 1)
        return nullptr;
    pChild->m_list.AddItem("child b", 20, TRUE, TRUE);
    pChild->m_list.AddItem("child a", 10, FALSE, TRUE);
    return pChild.release();
}

class PopupTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        ASSERT_EQ(m_root.Create(&Host()), 1);
        m_root.m_list.AddItem("beta", 2, TRUE, TRUE);
        m_root.m_list.AddItem("alpha", 1, FALSE, TRUE);
        m_root.m_list.AddItem("gamma", 3, TRUE, FALSE);
    }
    void TearDown() override
    {
        if (m_root.GetSafeHwnd())
            m_root.DestroyWindow();
        EXPECT_EQ(GetPopupHitCount(), 0) << "every window left the hit table";
        UiTest::TearDown();
    }
    // Shows the root at (x, y) beside an opening button and opens its list.
    void OpenRoot(int nMode, int x = 200, int y = 100)
    {
        const POINT pos { x, y };
        m_button = RECT { x - 60, y - 20, x, y };
        m_root.FitOnScreen(&pos, &m_button);
        m_root.m_list.Open(nMode, &m_button);
    }
    void Key(CPopupCtrl& list, UINT nVirtualKey) { list.OnKeyDown(nVirtualKey); }
    static RECT WindowRect(CWnd& wnd)
    {
        RECT rect {};
        wnd.GetWindowRect(&rect);
        return rect;
    }
    // Moves the cursor to the centre of a list's item, as the root's capture sees it.
    void MoveToItem(CPopupCtrl& list, int nItem)
    {
        RECT rect {};
        list.GetItemRect(nItem, &rect);
        ASSERT_TRUE(Driver().MoveTo(list.GetSafeHwnd(), (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2));
    }
    CTestPopupCtrl& ChildList(CPopupCtrl& list) { return static_cast<CTestPopupWnd*>(list.GetChildPopup())->m_list; }

    CTestPopupWnd m_root;
    RECT m_button {};
};

TEST_F(PopupTest, ItemsStandSortedAndCarryTheirFlags)
{
    EXPECT_EQ(CTestDriver::Items(m_root.m_list.GetSafeHwnd()), (std::vector<CString> { "alpha", "beta", "gamma" }));
    EXPECT_EQ(m_root.m_list.GetItemValue(1), 2u);
    EXPECT_TRUE(m_root.m_list.ItemHasChild(1));
    EXPECT_FALSE(m_root.m_list.ItemHasChild(0));
    EXPECT_FALSE(m_root.m_list.IsItemEnabled(2));
    m_root.m_list.SetItemEnabled(2, TRUE);
    m_root.m_list.SetItemEnabled(0, FALSE);
    EXPECT_TRUE(m_root.m_list.IsItemEnabled(2));
    EXPECT_FALSE(m_root.m_list.IsItemEnabled(0));
    EXPECT_TRUE(m_root.m_list.ItemHasChild(2)) << "enabling leaves the child flag alone";
    EXPECT_FALSE(m_root.m_list.IsItemEnabled(7));
}

TEST_F(PopupTest, HitTableTakesOnlyPopupWindowsOnceAndFindsTheDeepestList)
{
    EXPECT_EQ(GetPopupHitCount(), 2) << "the two arrow buttons";
    EXPECT_EQ(GetPopupHitKind(0), POPUP_HIT_ARROW_BUTTON);
    EXPECT_EQ(FindKeyboardPopup(), -1);
    EXPECT_FALSE(RegisterPopupHitWindow(&Host(), TRUE));
    OpenRoot(CPopupCtrl::MODE_KEYBOARD);
    EXPECT_FALSE(RegisterPopupHitWindow(&m_root.m_list, TRUE)) << "already present";
    EXPECT_EQ(FindKeyboardPopup(), 2);
    EXPECT_EQ(FindPopupHitWindow(&m_root.GetDownButton()), 1);
    EXPECT_TRUE(RegisterPopupHitWindow(&m_root.GetUpButton(), FALSE));
    EXPECT_FALSE(RegisterPopupHitWindow(&m_root.GetUpButton(), FALSE));
    EXPECT_EQ(FindPopupHitWindow(&m_root.m_list), 1) << "later entries moved down";
}

TEST_F(PopupTest, ArrowKeysWrapAndEscapeClosesTheRoot)
{
    OpenRoot(CPopupCtrl::MODE_KEYBOARD);
    CPopupCtrl& list = m_root.m_list;
    Key(list, VK_UP);
    EXPECT_EQ(list.GetCurSel(), 2) << "up from no selection: the last item";
    Key(list, VK_DOWN);
    EXPECT_EQ(list.GetCurSel(), 0) << "down from the last item: item 0";
    Key(list, VK_UP);
    EXPECT_EQ(list.GetCurSel(), 2) << "up from item 0 wraps";
    Key(list, VK_LEFT);
    EXPECT_TRUE(IsWindow(m_root.GetSafeHwnd())) << "left does nothing in the root";
    Key(list, VK_ESCAPE);
    EXPECT_FALSE(IsWindow(m_root.GetSafeHwnd()));
    EXPECT_TRUE(m_root.IsClosed());
}

TEST_F(PopupTest, RightOpensTheChildBesideItsItemAndAChoiceClosesTheChain)
{
    OpenRoot(CPopupCtrl::MODE_KEYBOARD);
    CPopupCtrl& root = m_root.m_list;
    Key(root, VK_RIGHT);
    EXPECT_EQ(root.GetCurSel(), 0) << "right with no selection selects item 0";
    Key(root, VK_RIGHT);
    Driver().Advance(10);
    EXPECT_EQ(root.GetChildPopup(), nullptr) << "alpha has no child";
    EXPECT_EQ(root.GetCurSel(), 0);

    Key(root, VK_DOWN);
    Key(root, VK_RIGHT);
    Driver().Advance(10);
    ASSERT_NE(root.GetChildPopup(), nullptr);
    EXPECT_EQ(root.GetOpenChildItem(), 1);
    RECT item {};
    root.GetItemRect(1, &item);
    root.ClientToScreen(&item);
    const RECT child = WindowRect(*root.GetChildPopup());
    EXPECT_EQ(child.left, item.right) << "placed at the item's right edge less 4, then off the item";
    EXPECT_EQ(child.top, item.top + 2);
    EXPECT_EQ(FindKeyboardPopup(), FindPopupHitWindow(&ChildList(root))) << "the child has the keyboard";

    Key(ChildList(root), VK_LEFT);
    EXPECT_EQ(root.GetChildPopup(), nullptr) << "left closes a child";
    EXPECT_EQ(root.GetOpenChildItem(), -1);
    EXPECT_TRUE(IsWindow(m_root.GetSafeHwnd()));

    Key(root, VK_RIGHT);
    Driver().Advance(10);
    ASSERT_NE(root.GetChildPopup(), nullptr);
    CTestPopupCtrl& child2 = ChildList(root);
    Key(child2, VK_DOWN);
    EXPECT_EQ(ValueOf(child2.ChooseHotItem()), 10u);
    EXPECT_FALSE(IsWindow(m_root.GetSafeHwnd())) << "a choice closes up to the root";
    EXPECT_EQ(root.GetChildPopup(), nullptr);
}

TEST_F(PopupTest, DisabledOrNoSelectionChoosesNothingButCloses)
{
    OpenRoot(CPopupCtrl::MODE_KEYBOARD);
    m_root.m_list.SelectItem(2);
    EXPECT_EQ(m_root.m_list.ChooseHotItem(), nullptr);
    EXPECT_FALSE(IsWindow(m_root.GetSafeHwnd()));
}

TEST_F(PopupTest, TheModalLoopReturnsTheChosenItemAndAltCancels)
{
    const POINT pos { 200, 100 };
    const RECT button { 140, 80, 200, 100 };
    m_root.PostMessage(WM_KEYDOWN, VK_DOWN, 0);
    m_root.PostMessage(WM_KEYDOWN, VK_DOWN, 0);
    m_root.PostMessage(WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(ValueOf(m_root.TrackPopup(&pos, &button, &button)), 2u);
    EXPECT_EQ(GetCapture(), nullptr);

    ASSERT_EQ(m_root.Create(&Host()), 1);
    m_root.m_list.AddItem("alpha", 1, FALSE, TRUE);
    m_root.PostMessage(WM_KEYDOWN, VK_DOWN, 0);
    m_root.PostMessage(WM_SYSKEYDOWN, VK_MENU, 0);
    EXPECT_EQ(m_root.TrackPopup(&pos, &button, &button), nullptr);
    EXPECT_FALSE(IsWindow(m_root.GetSafeHwnd()));
}

TEST_F(PopupTest, EnteringTheChildShowsItsItemSelectedAgainInTheParent)
{
    OpenRoot(CPopupCtrl::MODE_MOUSE);
    ::SetCapture(m_root.GetSafeHwnd());
    CPopupCtrl& root = m_root.m_list;
    MoveToItem(root, 1);
    EXPECT_TRUE(root.IsInside());
    EXPECT_EQ(root.GetCurSel(), 1);
    Driver().Advance(CPopupCtrl::HOVER_DELAY_MS);
    ASSERT_NE(root.GetChildPopup(), nullptr);

    MoveToItem(ChildList(root), 0);
    EXPECT_FALSE(root.IsInside());
    EXPECT_TRUE(ChildList(root).IsInside());
    EXPECT_EQ(root.GetCurSel(), 1) << "the owning item shows selected again";
    EXPECT_EQ(ChildList(root).GetCurSel(), 0);
    ::ReleaseCapture();
}

TEST_F(PopupTest, LeavingTheChainClosesTheChildThenTheParent)
{
    OpenRoot(CPopupCtrl::MODE_MOUSE);
    ::SetCapture(m_root.GetSafeHwnd());
    CPopupCtrl& root = m_root.m_list;
    MoveToItem(root, 1);
    Driver().Advance(CPopupCtrl::HOVER_DELAY_MS);
    ASSERT_NE(root.GetChildPopup(), nullptr);
    MoveToItem(ChildList(root), 1);

    ASSERT_TRUE(Driver().MoveTo(Host().GetSafeHwnd(), 5, 5)); // empty screen for the popups
    Driver().Advance(CPopupCtrl::POLL_MS + CPopupCtrl::CLOSE_DELAY_MS - 5);
    EXPECT_NE(root.GetChildPopup(), nullptr) << "not yet 750 ms away";
    Driver().Advance(10);
    EXPECT_EQ(root.GetChildPopup(), nullptr);
    EXPECT_TRUE(IsWindow(m_root.GetSafeHwnd()));
    Driver().Advance(CPopupCtrl::SOON_MS);
    EXPECT_FALSE(IsWindow(m_root.GetSafeHwnd())) << "the parent follows 10 ms later";
}

TEST_F(PopupTest, ClickOutsideTheChainCancels)
{
    OpenRoot(CPopupCtrl::MODE_MOUSE);
    ::SetCapture(m_root.GetSafeHwnd());
    ASSERT_TRUE(Driver().Click(Host().GetSafeHwnd(), 5, 5));
    EXPECT_FALSE(IsWindow(m_root.GetSafeHwnd()));
}

TEST_F(PopupTest, APopupOpenedForADragClosesOnceNoDragRuns)
{
    const POINT pos { 200, 100 };
    m_root.FitOnScreen(&pos, nullptr);
    m_root.m_list.OpenForDrag(nullptr);
    EXPECT_EQ(GetDropTargetKind(FindDropTarget(&m_root.m_list)), DROP_KIND_POPUP);
    EXPECT_EQ(FindPopupHitWindow(&m_root.m_list), -1) << "a drag does not route through the hit table";
    Driver().Advance(CPopupCtrl::POLL_MS + CPopupCtrl::SOON_MS - 1);
    EXPECT_TRUE(IsWindow(m_root.GetSafeHwnd()));
    Driver().Advance(1);
    EXPECT_FALSE(IsWindow(m_root.GetSafeHwnd()));
    EXPECT_EQ(FindDropTarget(&m_root.m_list), -1);
}

TEST_F(PopupTest, PlacementKeepsOnScreenAndOffTheOpeningItem)
{
    const int cxScreen = GetSystemMetrics(SM_CXSCREEN);
    const int cxFrame = WIDTH + 3 * GetSystemMetrics(SM_CXEDGE);
    POINT pos { cxScreen - 10, 50 };
    m_root.FitOnScreen(&pos, nullptr);
    EXPECT_EQ(WindowRect(m_root).right, cxScreen) << "moved left by the overflow";

    const RECT avoid { 100, 100, 300, 140 };
    pos = { 150, 110 };
    m_root.FitOnScreen(&pos, &avoid);
    EXPECT_EQ(WindowRect(m_root).left, avoid.right) << "to the right of what it would cover";

    const RECT wide { 100, 100, cxScreen - 20, 140 };
    m_root.FitOnScreen(&pos, &wide);
    EXPECT_EQ(WindowRect(m_root).right, wide.left) << "no room right: to its left";
    EXPECT_EQ(WindowRect(m_root).right - WindowRect(m_root).left, cxFrame);
    EXPECT_FALSE(m_root.GetDownButton().IsWindowVisible());
    EXPECT_FALSE(m_root.GetUpButton().IsWindowVisible());
}

TEST_F(PopupTest, ATallPopupIsCutToWholeRowsAndScrollsWithItsArrows)
{
    for (int i = 0; i < 100; ++i) {
        CString strText;
        strText.Format("item %03d", i);
        m_root.m_list.AddItem(strText, i, FALSE, TRUE);
    }
    const int cyScreen = GetSystemMetrics(SM_CYSCREEN);
    const int cyFrame = 3 * GetSystemMetrics(SM_CYEDGE);
    const POINT pos { 10, 10 };
    m_root.FitOnScreen(&pos, nullptr);
    const RECT rect = WindowRect(m_root);
    EXPECT_LE(rect.bottom - rect.top, cyScreen * 3 / 4);
    EXPECT_GT(rect.bottom - rect.top + ROW, cyScreen * 3 / 4);
    EXPECT_EQ((rect.bottom - rect.top - cyFrame) % ROW, 0) << "whole rows";
    EXPECT_TRUE(m_root.GetDownButton().IsWindowVisible());
    EXPECT_FALSE(m_root.GetUpButton().IsWindowVisible());

    m_root.SendMessage(WM_COMMAND, CPopupWnd::ID_SCROLL_DOWN, 0);
    EXPECT_EQ(m_root.m_list.GetTopIndex(), 1);
    EXPECT_TRUE(m_root.GetUpButton().IsWindowVisible());
    m_root.SendMessage(WM_COMMAND, CPopupWnd::ID_SCROLL_UP, 0);
    EXPECT_EQ(m_root.m_list.GetTopIndex(), 0);
    EXPECT_FALSE(m_root.GetUpButton().IsWindowVisible());

    m_root.m_list.Open(CPopupCtrl::MODE_KEYBOARD, nullptr);
    Key(m_root.m_list, VK_UP);
    EXPECT_EQ(m_root.m_list.GetCurSel(), 102);
    EXPECT_TRUE(m_root.GetUpButton().IsWindowVisible()) << "the end shows the up arrow";
    EXPECT_FALSE(m_root.GetDownButton().IsWindowVisible());
}

TEST_F(PopupTest, HoveringOverTheDownArrowScrollsARowAtEachRepeat)
{
    for (int i = 0; i < 100; ++i) {
        CString strText;
        strText.Format("item %03d", i);
        m_root.m_list.AddItem(strText, i, FALSE, TRUE);
    }
    OpenRoot(CPopupCtrl::MODE_MOUSE, 10, 10);
    ::SetCapture(m_root.GetSafeHwnd());
    CBtnSetaPopup& down = m_root.GetDownButton();
    ASSERT_TRUE(down.IsWindowVisible());
    RECT rect {};
    down.GetClientRect(&rect);
    ASSERT_TRUE(Driver().MoveTo(down.GetSafeHwnd(), rect.right / 2, rect.bottom / 2));
    Driver().Pump();
    EXPECT_EQ(m_root.m_list.GetTopIndex(), 1) << "at once";
    EXPECT_TRUE(down.SendMessage(BM_GETSTATE) & BST_PUSHED);
    Driver().Advance(CBtnSeta::FIRST_DELAY_MS);
    EXPECT_EQ(m_root.m_list.GetTopIndex(), 2);
    Driver().Advance(CBtnSeta::REPEAT_MS);
    EXPECT_EQ(m_root.m_list.GetTopIndex(), 3);
    EXPECT_TRUE(m_root.GetUpButton().IsWindowVisible());

    MoveToItem(m_root.m_list, 10);
    Driver().Advance(CBtnSeta::REPEAT_MS * 3);
    EXPECT_EQ(m_root.m_list.GetTopIndex(), 3) << "leaving the arrow stops the repeat";
    ::ReleaseCapture();
}

} // namespace
