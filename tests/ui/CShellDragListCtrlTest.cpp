#include "ui/CShellDragListCtrl.h"

#include "catalog/ShellItemIds.h"
#include "resources/ResourceIds.h"
#include "tests/support/DriveTreeFixture.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/CKadDragObjPIDL.h"
#include "ui/CKadDropTarget.h"
#include "ui/DropTargets.h"

#include <string>

// A stand-in for the recycle bin's list, a drop target by its class name,
// that records the shell items dropped on it.
class CLixeiraListCtrl
    : public CWnd
    , public CKadDropTarget {
    DECLARE_DYNAMIC(CLixeiraListCtrl)

public:
    BOOL Make(CWnd* pParent, RECT rect)
    {
        return Create(AfxRegisterWndClass(0), "", WS_CHILD | WS_VISIBLE, rect, pParent, 0);
    }
    void DropEnter() override { }
    DROPEFFECT DropOver(CKadDragObj*, UINT, int, int) override { return DROPEFFECT_COPY; }
    void DropLeave() override { }
    BOOL DropTake(CKadDragObj* pPayload, DROPEFFECT) override
    {
        const auto* pItems = dynamic_cast<CKadDragObjPIDL*>(pPayload);
        if (!pItems)
            return FALSE;
        m_strMask = pItems->GetText();
        for (const CString& strPath : pItems->GetDroppedItems().paths)
            m_paths.emplace_back(strPath);
        for (int i = 0; i < pItems->GetItemCount(); ++i) {
            CString strName;
            GetDisplayNameOfPIDL(pItems->GetFolder(), pItems->GetItem(i).pidl, SHGDN_INFOLDER, strName);
            m_names.emplace_back(strName);
        }
        return TRUE;
    }

    std::vector<std::string> m_names;
    std::vector<std::string> m_paths;
    std::string m_strMask;
};
IMPLEMENT_DYNAMIC(CLixeiraListCtrl, CWnd)

namespace {

// A drag list over drive C:, a temporary tree, beside a drop target.
class CShellDragListCtrlTest : public DriveTreeTest {
protected:
    void SetUp() override
    {
        DriveTreeTest::SetUp();
        ASSERT_TRUE(SetDriveOverride('Z', "/", DRIVE_CDROM)); // the program's own files
        m_pUi = std::make_unique<CUiHarness>();
        InitDragDrop();
        ASSERT_TRUE(m_list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, RECT { 0, 0, 200, 200 }, &m_pUi->m_host, 1900));
        m_list.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)));
        ASSERT_TRUE(m_list.Initialize());
        m_list.InsertColumn(0, 180, IDS_SHELL_LIST_NAME, FALSE, GRID_COLUMN_TEXT, LVCFMT_LEFT);
        ASSERT_TRUE(m_target.Make(&m_pUi->m_host, RECT { 250, 0, 350, 100 }));
        ASSERT_EQ(RegisterDropTarget(&m_target, TRUE), 1);
        WriteFile("a.txt");
        WriteFile("b.txt");
        WriteFile("c.doc");
        LPITEMIDLIST pidl = nullptr;
        ASSERT_EQ(PathToPIDL("C:\\", &pidl, nullptr), S_OK);
        m_list.Fill(pidl, "*.txt", TRUE);
        CoTaskMemFree(pidl);
        ASSERT_EQ(m_list.GetItemCount(), 2);
    }
    void TearDown() override
    {
        RegisterDropTarget(&m_target, FALSE);
        m_list.DestroyWindow();
        m_pUi.reset();
        DriveTreeTest::TearDown();
    }
    POINT RowPoint(int nItem)
    {
        RECT rect {};
        m_list.GetItemRect(nItem, &rect, LVIR_LABEL);
        return POINT { rect.left + 5, (rect.top + rect.bottom) / 2 };
    }
    // The target's middle in the list's coordinates.
    POINT TargetPoint()
    {
        POINT point { 300, 50 };
        m_pUi->m_host.ClientToScreen(&point);
        m_list.ScreenToClient(&point);
        return point;
    }

    std::unique_ptr<CUiHarness> m_pUi;
    CShellDragListCtrl m_list;
    CLixeiraListCtrl m_target;
};

TEST_F(CShellDragListCtrlTest, TheSelectedItemsDropOnATargetWithTheMask)
{
    m_list.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    const POINT target = TargetPoint();
    ASSERT_TRUE(m_pUi->m_driver.PressAndMove(m_list.m_hWnd, { RowPoint(0), target, POINT { target.x + 1, target.y } }));
    ASSERT_TRUE(m_list.IsDragging());
    ASSERT_TRUE(m_pUi->m_driver.Release(m_list.m_hWnd, target.x + 1, target.y));
    EXPECT_EQ(m_target.m_names, (std::vector<std::string> { "a.txt", "b.txt" }));
    EXPECT_EQ(m_target.m_strMask, "*.txt");
    EXPECT_FALSE(m_list.IsDragging()) << "the drag's parts are gone";
}

TEST_F(CShellDragListCtrlTest, RowsOfDifferentFoldersDropTogether)
{
    WriteFile("sub/d.txt");
    m_list.ClearItems();
    ASSERT_EQ(m_list.InsertPath(0, "C:\\sub\\d.txt"), 0);
    ASSERT_EQ(m_list.InsertPath(1, "C:\\a.txt"), 1);
    m_list.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    const POINT target = TargetPoint();
    ASSERT_TRUE(m_pUi->m_driver.PressAndMove(m_list.m_hWnd, { RowPoint(0), target, POINT { target.x + 1, target.y } }));
    ASSERT_TRUE(m_pUi->m_driver.Release(m_list.m_hWnd, target.x + 1, target.y));
    EXPECT_EQ(m_target.m_paths, (std::vector<std::string> { "C:\\sub\\d.txt", "C:\\a.txt" }));
}

TEST_F(CShellDragListCtrlTest, EscCancelsADragWithoutDropping)
{
    m_list.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    const POINT target = TargetPoint();
    ASSERT_TRUE(m_pUi->m_driver.PressAndMove(m_list.m_hWnd, { RowPoint(1), target, POINT { target.x + 1, target.y } }));
    ASSERT_TRUE(m_list.IsDragging());
    ASSERT_TRUE(m_pUi->m_driver.PressKey(VK_ESCAPE));
    EXPECT_FALSE(m_list.IsDragging());
    m_pUi->m_driver.Release(m_list.m_hWnd, target.x, target.y);
    EXPECT_TRUE(m_target.m_names.empty());
}

TEST_F(CShellDragListCtrlTest, ARowsMenuSendsItsCommandToTheListsWindow)
{
    m_pUi->m_driver.ChooseNextMenuCommand(ID_DOC_OPEN);
    ASSERT_TRUE(m_pUi->m_driver.RightClick(m_list.m_hWnd, 100, 180));
    EXPECT_TRUE(m_pUi->m_host.m_commands.empty()) << "no menu beside the rows";
    for (const CRecordedNotify& notify : m_pUi->m_host.m_notifies)
        EXPECT_NE(notify.nCode, UINT(NM_RCLICK)) << "the right click stays with the list";
    ASSERT_TRUE(m_pUi->m_driver.RightClick(m_list.m_hWnd, RowPoint(0).x, RowPoint(0).y));
    ASSERT_EQ(m_pUi->m_host.m_commands.size(), 1u);
    EXPECT_EQ(m_pUi->m_host.m_commands[0].first, UINT(ID_DOC_OPEN));
}

} // namespace
