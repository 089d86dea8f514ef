#include "platform/framework/CMenu.h"

#include "platform/framework/CCmdUI.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/MessageQueue.h"
#include "tests/platform/framework/FrameworkTestSupport.h"

#include <functional>

namespace {

constexpr UINT ID_CUT = 300;
constexpr UINT ID_PASTE = 301;
constexpr UINT ID_WRAP = 302;
constexpr UINT ID_TITLE = 303;
constexpr UINT ID_ORPHAN = 304;
constexpr UINT ID_INNER = 305;
constexpr UINT ID_DROPPED = 306;
constexpr UINT ID_PICTURE = 307;

// A window whose update handlers gray, check, rename and remove items, and
// which runs m_onIdle when a menu loop it owns goes idle.
class CEditorWnd : public CWnd {
    DECLARE_MESSAGE_MAP()

public:
    std::function<void()> m_onIdle;

protected:
    LRESULT OnEnterIdle(WPARAM, LPARAM)
    {
        if (m_onIdle)
            std::exchange(m_onIdle, nullptr)();
        else
            EndMenu();
        return 0;
    }
    void OnCut() { }
    void OnUpdateCut(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    void OnUpdateWrap(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }
    void OnUpdateTitle(CCmdUI* pCmdUI) { pCmdUI->SetText("Title: report.odt"); }
    void OnUpdateInner(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    void OnUpdateDropped(CCmdUI* pCmdUI) { pCmdUI->m_pMenu->DeleteMenu(pCmdUI->m_nIndex, MF_BYPOSITION); }
    void OnUpdateOrphan(CCmdUI*) { HandlerLog::Add("orphan updated"); }
    void OnInitMenu(CMenu*) { HandlerLog::Add("menu set up"); }
};

// clang-format off
BEGIN_MESSAGE_MAP(CEditorWnd, CWnd)
    ON_COMMAND(ID_CUT, &CEditorWnd::OnCut)
    ON_UPDATE_COMMAND_UI(ID_CUT, &CEditorWnd::OnUpdateCut)
    ON_UPDATE_COMMAND_UI(ID_WRAP, &CEditorWnd::OnUpdateWrap)
    ON_UPDATE_COMMAND_UI(ID_TITLE, &CEditorWnd::OnUpdateTitle)
    ON_UPDATE_COMMAND_UI(ID_INNER, &CEditorWnd::OnUpdateInner)
    ON_UPDATE_COMMAND_UI(ID_DROPPED, &CEditorWnd::OnUpdateDropped)
    ON_UPDATE_COMMAND_UI(ID_ORPHAN, &CEditorWnd::OnUpdateOrphan)
    ON_MESSAGE(WM_ENTERIDLE, &CEditorWnd::OnEnterIdle)
    ON_WM_INITMENU()
END_MESSAGE_MAP()
// clang-format on

// A menu whose owner-drawn items are sized and painted by the object.
class CImageMenu : public CMenu {
public:
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override
    {
        HandlerLog::Add("measure " + std::to_string(lpMeasureItemStruct->itemID));
        lpMeasureItemStruct->itemWidth = 120;
        lpMeasureItemStruct->itemHeight = 40;
    }
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override
    {
        HandlerLog::Add("draw " + std::to_string(lpDrawItemStruct->itemID));
        m_rcLast = lpDrawItemStruct->rcItem;
    }
    RECT m_rcLast {};
};

class CMenuTest : public FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        ASSERT_TRUE(m_wnd.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr));
        SetActiveWindow(m_wnd.GetSafeHwnd());
        SetFocus(m_wnd.GetSafeHwnd());
        PumpUntilIdle();
    }
    void TearDown() override
    {
        m_wnd.DestroyWindow();
        FrameworkTest::TearDown();
    }
    // Escape typed ahead: the menu opens, goes through its set-up and closes.
    BOOL OpenAndClose(CMenu& menu)
    {
        InjectKeyEvent(VK_ESCAPE, TRUE);
        InjectKeyEvent(VK_ESCAPE, FALSE);
        return menu.TrackPopupMenu(TPM_RETURNCMD, 20, 20, &m_wnd);
    }

    CEditorWnd m_wnd;
};

TEST_F(CMenuTest, UpdateHandlersRunOverThePopupsItems)
{
    CMenu inner;
    ASSERT_TRUE(inner.CreatePopupMenu());
    inner.AppendMenu(MF_STRING, ID_INNER, "Inner");
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, ID_CUT, "Cu&t");
    menu.AppendMenu(MF_STRING, ID_DROPPED, "Dropped");
    menu.AppendMenu(MF_STRING | MF_GRAYED, ID_PASTE, "&Paste"); // no handlers: left as it is
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING | MF_DEFAULT, ID_WRAP, "&Wrap");
    menu.AppendMenu(MF_STRING | MF_DEFAULT, ID_TITLE, "Title");
    menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(inner.Detach()), "More");
    EXPECT_EQ(OpenAndClose(menu), 0);

    EXPECT_EQ(menu.GetMenuItemCount(), 6u); // Dropped removed itself
    EXPECT_EQ(menu.GetMenuState(ID_CUT, MF_BYCOMMAND) & MF_GRAYED, MF_GRAYED);
    EXPECT_EQ(menu.GetMenuState(ID_PASTE, MF_BYCOMMAND) & MF_GRAYED, MF_GRAYED);
    EXPECT_EQ(menu.GetMenuState(ID_WRAP, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);
    CString strTitle;
    menu.GetMenuString(ID_TITLE, strTitle, MF_BYCOMMAND);
    EXPECT_EQ(strTitle, "Title: report.odt");
    EXPECT_EQ(menu.GetMenuState(ID_TITLE, MF_BYCOMMAND) & MF_DEFAULT, MF_DEFAULT); // the state stays
    // The submenu's item grays the item that opens it.
    EXPECT_EQ(menu.GetMenuState(5, MF_BYPOSITION) & MF_GRAYED, MF_GRAYED);
    EXPECT_EQ(menu.GetSubMenu(5)->GetMenuState(ID_INNER, MF_BYCOMMAND) & MF_GRAYED, 0u);
}

TEST_F(CMenuTest, AContextMenuIsSetUpAsAWholeBeforeItsItemsAreUpdated)
{
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, ID_ORPHAN, "Orphan");
    HandlerLog::Take();
    EXPECT_EQ(OpenAndClose(menu), 0);
    EXPECT_EQ(HandlerLog::Take(), (std::vector<std::string> { "menu set up", "orphan updated" }));
}

TEST_F(CMenuTest, DisablingItemsWithoutHandlers)
{
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, ID_CUT, "Cut");
    menu.AppendMenu(MF_STRING, ID_PASTE, "Paste");
    menu.AppendMenu(MF_STRING, 0xF060, "Close");
    CCmdUI::UpdateMenuItems(&menu, &m_wnd, TRUE);
    EXPECT_EQ(menu.GetMenuState(ID_PASTE, MF_BYCOMMAND) & MF_GRAYED, MF_GRAYED);
    EXPECT_EQ(menu.GetMenuState(0xF060, MF_BYCOMMAND) & MF_GRAYED, 0u); // system commands stay
}

TEST_F(CMenuTest, OwnerDrawnItemsGoToTheirMenuObject)
{
    CImageMenu sub;
    ASSERT_TRUE(sub.CreatePopupMenu());
    sub.AppendMenu(MF_OWNERDRAW, ID_PICTURE, reinterpret_cast<LPCTSTR>(1));
    CImageMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_OWNERDRAW, ID_CUT, reinterpret_cast<LPCTSTR>(2));
    menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(sub.GetSafeHmenu()), "Sub");
    // Open the submenu; once both menus are painted, the idle handler ends the menu.
    for (UINT nKey : { VK_UP, VK_RIGHT }) {
        InjectKeyEvent(nKey, TRUE);
        InjectKeyEvent(nKey, FALSE);
    }
    EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 20, 20, &m_wnd), 0);
    std::vector<std::string> log = HandlerLog::Take();
    auto has = [&](const std::string& strEntry) { return std::find(log.begin(), log.end(), strEntry) != log.end(); };
    EXPECT_TRUE(has("measure 300"));
    EXPECT_TRUE(has("draw 300"));
    EXPECT_TRUE(has("measure 307")); // the submenu's item, measured by the submenu's object
    EXPECT_TRUE(has("draw 307"));
    EXPECT_EQ(sub.m_rcLast.right - sub.m_rcLast.left, 120);
    EXPECT_EQ(sub.m_rcLast.bottom - sub.m_rcLast.top, 40);
    sub.Detach(); // the menu owns its submenu
}

TEST_F(CMenuTest, OwnerDrawnItemsOfTheMenuBarGoToTheirMenuObject)
{
    CImageMenu sub;
    ASSERT_TRUE(sub.CreatePopupMenu());
    sub.AppendMenu(MF_OWNERDRAW, ID_PICTURE, reinterpret_cast<LPCTSTR>(1));
    CMenu bar;
    ASSERT_TRUE(bar.CreateMenu());
    bar.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(sub.GetSafeHmenu()), "&Pictures");
    ASSERT_TRUE(::SetMenu(m_wnd.GetSafeHwnd(), bar.GetSafeHmenu()));
    // Alt+P opens the bar's menu; once it is painted, the idle handler ends it.
    for (UINT nKey : { static_cast<UINT>(VK_MENU), static_cast<UINT>('P') })
        InjectKeyEvent(nKey, TRUE);
    for (UINT nKey : { static_cast<UINT>('P'), static_cast<UINT>(VK_MENU) })
        InjectKeyEvent(nKey, FALSE);
    PumpUntilIdle();
    std::vector<std::string> log = HandlerLog::Take();
    EXPECT_NE(std::find(log.begin(), log.end(), "measure 307"), log.end());
    EXPECT_EQ(sub.m_rcLast.bottom - sub.m_rcLast.top, 40);
    ::SetMenu(m_wnd.GetSafeHwnd(), nullptr);
    sub.Detach(); // the bar owns its menu
}

TEST_F(CMenuTest, ObjectsOwnTheirMenus)
{
    HMENU hKept = nullptr;
    HMENU hDestroyed = nullptr;
    {
        CMenu kept;
        kept.CreatePopupMenu();
        hKept = kept.Detach();
        CMenu destroyed;
        destroyed.CreateMenu();
        hDestroyed = destroyed;
        EXPECT_EQ(CMenu::FromHandle(hDestroyed), &destroyed);
        EXPECT_FALSE(destroyed.CreatePopupMenu()); // it has a menu already
    }
    EXPECT_TRUE(IsMenu(hKept));
    EXPECT_FALSE(IsMenu(hDestroyed));

    // A temporary object for a menu the program made no object for; freeing it leaves the menu.
    CMenu* pTemporary = CMenu::FromHandle(hKept);
    ASSERT_NE(pTemporary, nullptr);
    EXPECT_EQ(CMenu::FromHandlePermanent(hKept), nullptr);
    CMenu::DeleteTempMap();
    EXPECT_TRUE(IsMenu(hKept));
    ::DestroyMenu(hKept);

    CMenu missing;
    EXPECT_FALSE(missing.LoadMenu(12345));
    EXPECT_FALSE(missing.DestroyMenu());
}

} // namespace
