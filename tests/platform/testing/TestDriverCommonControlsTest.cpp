#include "platform/testing/TestDriver.h"

#include "platform/controls/CommonControls.h"
#include "platform/controls/HeaderControl.h"
#include "platform/controls/ListViewControl.h"
#include "platform/controls/StandardControls.h"
#include "platform/controls/TreeViewControl.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/window/Dialog.h"
#include "tests/platform/window/WindowTestSupport.h"

#include <string>
#include <vector>

namespace {

constexpr int ID_LIST = 301, ID_TREE = 302;

// A list of four callback rows ("row N" and "size N") and a tree "docs" >
// "a", "b" with check-state images, built into hParent.
void FillControls(HWND hList, HWND hTree, HIMAGELIST hStates)
{
    for (int i = 0; i < 2; ++i) {
        LVCOLUMN column { LVCF_WIDTH | LVCF_TEXT, 0, 60 + 20 * i, const_cast<LPSTR>("Col"), 0, 0, 0, 0 };
        SendMessage(hList, LVM_INSERTCOLUMN, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
    for (int i = 0; i < 4; ++i) {
        LVITEM item { LVIF_TEXT | LVIF_PARAM, i, 0, 0, 0, LPSTR_TEXTCALLBACK, 0, 0, i, 0 };
        SendMessage(hList, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item));
    }
    SendMessage(hTree, TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(hStates));
    TVINSERTSTRUCT insert { TVI_ROOT, TVI_LAST, {} };
    insert.item.mask = TVIF_TEXT | TVIF_STATE;
    insert.item.stateMask = TVIS_STATEIMAGEMASK;
    insert.item.state = 1 << 12;
    insert.item.pszText = const_cast<LPSTR>("docs");
    insert.hParent
        = reinterpret_cast<HTREEITEM>(SendMessage(hTree, TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&insert)));
    for (LPCSTR pszChild : { "a", "b" }) {
        insert.item.pszText = const_cast<LPSTR>(pszChild);
        SendMessage(hTree, TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&insert));
    }
}

// Answers the list's callbacks; records state icon clicks as a checking owner would see them.
bool AnswerNotify(LPARAM lParam, std::string* pBuffer, std::vector<std::string>* pLog, HWND hTree)
{
    auto* pHdr = reinterpret_cast<NMHDR*>(lParam);
    if (pHdr->code == LVN_GETDISPINFO) {
        auto* pInfo = reinterpret_cast<NMLVDISPINFO*>(pHdr);
        *pBuffer = (pInfo->item.iSubItem == 0 ? "row " : "size ") + std::to_string(pInfo->item.lParam);
        pInfo->item.pszText = pBuffer->data();
        return true;
    }
    if (pHdr->code == LVN_COLUMNCLICK)
        pLog->push_back("column " + std::to_string(reinterpret_cast<NMLISTVIEW*>(pHdr)->iSubItem));
    if (pHdr->code == NM_CLICK && pHdr->hwndFrom == hTree) {
        TVHITTESTINFO hit {};
        GetCursorPos(&hit.pt);
        ScreenToClient(hTree, &hit.pt);
        SendMessage(hTree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        if (hit.flags & TVHT_ONITEMSTATEICON)
            pLog->push_back("state icon");
    }
    if (pHdr->code == LVN_ENDLABELEDIT) {
        const LPSTR pszText = reinterpret_cast<NMLVDISPINFO*>(pHdr)->item.pszText;
        pLog->push_back(std::string("edited ") + (pszText ? pszText : "(null)"));
    }
    if (pHdr->code == TVN_SELCHANGED)
        pLog->push_back("tree selection");
    return false;
}

class TestDriverCommonControlsTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        ASSERT_TRUE(RegisterStandardControls());
        InitCommonControls();
        m_hStates = ImageList_Create(12, 12, ILC_COLOR24, 2, 0);
        m_hBitmap = CreateBitmap(24, 12, 1, 32, nullptr);
        ImageList_Add(m_hStates, m_hBitmap, nullptr);
    }
    void TearDown() override
    {
        ImageList_Destroy(m_hStates);
        DeleteObject(m_hBitmap);
        WindowTest::TearDown();
    }

    CTestDriver m_driver;
    HIMAGELIST m_hStates { nullptr };
    HBITMAP m_hBitmap { nullptr };
    std::string m_strBuffer;
    std::vector<std::string> m_log;
};

TEST_F(TestDriverCommonControlsTest, ReadsAndClicksListsHeadersAndTrees)
{
    HWND hParent = CreateRecordingWindow(WS_POPUP | WS_VISIBLE, 50, 50, 400, 300);
    HWND hList = CreateWindowEx(0, WC_LISTVIEW, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 200, 150, hParent,
        reinterpret_cast<HMENU>(ID_LIST), nullptr, nullptr);
    HWND hTree = CreateWindowEx(0, WC_TREEVIEW, "", WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_TRACKSELECT, 210, 0,
        180, 150, hParent, reinterpret_cast<HMENU>(ID_TREE), nullptr, nullptr);
    MessageLog::Instance().handler = [&](HWND hWnd, UINT uMsg, WPARAM, LPARAM lParam, LRESULT* plResult) {
        if (hWnd != hParent || uMsg != WM_NOTIFY)
            return false;
        *plResult = 0;
        return AnswerNotify(lParam, &m_strBuffer, &m_log, hTree);
    };
    FillControls(hList, hTree, m_hStates);
    m_driver.Pump();

    const std::vector<std::vector<CString>> rows = CTestDriver::ListRows(hList);
    ASSERT_EQ(rows.size(), 4U);
    EXPECT_EQ(rows[2], (std::vector<CString> { "row 2", "size 2" }));
    EXPECT_EQ(CTestDriver::ListColumnWidths(hList), (std::vector<int> { 60, 80 }));
    const int order[] = { 1, 0 };
    SendMessage(HWND(SendMessage(hList, LVM_GETHEADER, 0, 0)), HDM_SETORDERARRAY, 2, reinterpret_cast<LPARAM>(order));
    EXPECT_EQ(CTestDriver::ListColumnOrder(hList), (std::vector<int> { 1, 0 }));

    // With full-row selection a click on the second column's cell of row 3
    // selects the row, wherever that column stands.
    SendMessage(hList, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    ASSERT_TRUE(m_driver.ClickListRow(hList, 3, 1));
    EXPECT_EQ(CTestDriver::ListSelection(hList), std::vector<int> { 3 });
    EXPECT_EQ(CTestDriver::ListFocus(hList), 3);
    ASSERT_TRUE(m_driver.ClickHeaderItem(hList, 0));
    EXPECT_EQ(m_log, std::vector<std::string> { "column 0" });

    // Dividers and items of the header are dragged as a user would.
    ASSERT_TRUE(m_driver.DragHeaderDivider(hList, 1, 25));
    EXPECT_EQ(CTestDriver::ListColumnWidths(hList), (std::vector<int> { 60, 105 }));
    SendMessage(hList, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_HEADERDRAGDROP, LVS_EX_HEADERDRAGDROP);
    ASSERT_TRUE(m_driver.DragHeaderItem(hList, 0, 0));
    EXPECT_EQ(CTestDriver::ListColumnOrder(hList), (std::vector<int> { 0, 1 }));

    // A label editor takes typed text.
    m_log.clear();
    SetWindowLongPtr(hList, GWL_STYLE, GetWindowLongPtr(hList, GWL_STYLE) | LVS_EDITLABELS);
    ASSERT_TRUE(m_driver.PressKey(VK_F2));
    ASSERT_TRUE(m_driver.TypeText("New name"));
    ASSERT_TRUE(m_driver.PressKey(VK_RETURN));
    EXPECT_EQ(m_log, std::vector<std::string> { "edited New name" });

    m_log.clear();
    EXPECT_EQ(CTestDriver::TreeItem(hTree, { "docs", "c" }), nullptr);
    HTREEITEM hB = CTestDriver::TreeItem(hTree, { "docs", "b" });
    ASSERT_NE(hB, nullptr);
    EXPECT_EQ(CTestDriver::TreeChildren(hTree, nullptr), std::vector<CString> { "docs" });
    EXPECT_FALSE(CTestDriver::IsTreeExpanded(hTree, CTestDriver::TreeItem(hTree, { "docs" })));
    EXPECT_EQ(CTestDriver::TreeStateImage(hTree, hB), 1U);
    ASSERT_TRUE(m_driver.ClickTreeStateIcon(hTree, hB)); // shows the item first
    EXPECT_TRUE(CTestDriver::IsTreeExpanded(hTree, CTestDriver::TreeItem(hTree, { "docs" })));
    EXPECT_EQ(m_log, std::vector<std::string> { "state icon" });
    ASSERT_TRUE(m_driver.ClickTreeItem(hTree, hB));
    EXPECT_EQ(reinterpret_cast<HTREEITEM>(SendMessage(hTree, TVM_GETNEXTITEM, TVGN_CARET, 0)), hB);

    // Hovering moves the mouse there with no button held and presses nothing.
    MessageLog::Instance().Take();
    ASSERT_TRUE(m_driver.Hover(hParent, 300, 250));
    std::vector<std::pair<UINT, WPARAM>> seen;
    for (const LoggedMessage& message : MessageLog::Instance().Take()) {
        if (message.uMsg >= WM_MOUSEMOVE && message.uMsg <= WM_MBUTTONDBLCLK)
            seen.emplace_back(message.uMsg, message.wParam);
    }
    EXPECT_EQ(seen, (std::vector<std::pair<UINT, WPARAM>> { { WM_MOUSEMOVE, 0 } }));
    DestroyWindow(hParent);
}

// The dialog's list and tree, and what was selected when OK was pressed.
struct PickedValues {
    std::vector<int> rows;
    CString strTreeItem;
};
thread_local PickedValues* t_pPicked = nullptr;
thread_local std::string* t_pBuffer = nullptr;

INT_PTR CALLBACK PickerDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    static thread_local HIMAGELIST s_hStates = nullptr;
    switch (uMsg) {
    case WM_INITDIALOG:
        s_hStates = reinterpret_cast<HIMAGELIST>(lParam);
        FillControls(GetDlgItem(hDlg, ID_LIST), GetDlgItem(hDlg, ID_TREE), s_hStates);
        return TRUE;
    case WM_NOTIFY: {
        std::vector<std::string> log;
        if (AnswerNotify(lParam, t_pBuffer, &log, GetDlgItem(hDlg, ID_TREE)))
            return TRUE;
        return FALSE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            HWND hTree = GetDlgItem(hDlg, ID_TREE);
            auto hCaret = reinterpret_cast<HTREEITEM>(SendMessage(hTree, TVM_GETNEXTITEM, TVGN_CARET, 0));
            char szText[64] {};
            TVITEM item { TVIF_TEXT, hCaret, 0, 0, szText, sizeof(szText), 0, 0, 0, 0 };
            SendMessage(hTree, TVM_GETITEM, 0, reinterpret_cast<LPARAM>(&item));
            t_pPicked->rows = CTestDriver::ListSelection(GetDlgItem(hDlg, ID_LIST));
            t_pPicked->strTreeItem = szText;
            EndDialog(hDlg, IDOK);
        } else if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(hDlg, IDCANCEL);
        }
        return TRUE;
    default:
        return FALSE;
    }
}

TEST_F(TestDriverCommonControlsTest, ScriptsSelectListRowsAndTreeItemsByText)
{
    HWND hOwner = CreateRecordingWindow(WS_POPUP | WS_VISIBLE, 0, 0, 500, 400);
    DialogTemplate dialog;
    dialog.dwStyle = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT;
    dialog.cx = 260;
    dialog.cy = 160;
    dialog.nPointSize = 8;
    dialog.strFaceName = "DejaVu Sans";
    dialog.controls = {
        { static_cast<DWORD>(ID_LIST), WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 5, 5, 120, 120, "SysListView32", "" },
        { static_cast<DWORD>(ID_TREE), WS_CHILD | WS_VISIBLE, 0, 130, 5, 120, 120, "SysTreeView32", "" },
        { static_cast<DWORD>(IDOK), WS_CHILD | WS_VISIBLE, 0, 200, 135, 50, 14, "Button", "OK" },
    };
    PickedValues picked;
    t_pPicked = &picked;
    t_pBuffer = &m_strBuffer;
    CDialogScript script;
    script.SelectListRow(ID_LIST, "ROW 2").SelectTreeItem(ID_TREE, { "docs", "a" }).Press(IDOK);
    m_driver.AnswerNextDialog(script);
    EXPECT_EQ(
        DialogBoxIndirectParam(nullptr, &dialog, hOwner, PickerDlgProc, reinterpret_cast<LPARAM>(m_hStates)), IDOK);
    EXPECT_TRUE(m_driver.ScriptErrors().empty());
    EXPECT_EQ(picked.rows, std::vector<int> { 2 });
    EXPECT_EQ(picked.strTreeItem, CString("a"));

    // Missing rows and items stop the script with what went wrong.
    CDialogScript missing;
    missing.SelectTreeItem(ID_TREE, { "docs", "zzz" });
    m_driver.AnswerNextDialog(missing);
    EXPECT_EQ(
        DialogBoxIndirectParam(nullptr, &dialog, hOwner, PickerDlgProc, reinterpret_cast<LPARAM>(m_hStates)), IDCANCEL);
    ASSERT_EQ(m_driver.ScriptErrors().size(), 1U);
    EXPECT_EQ(m_driver.ScriptErrors()[0], CString("step 1: control 302 has no item \"zzz\""));
    t_pPicked = nullptr;
    t_pBuffer = nullptr;
    DestroyWindow(hOwner);
}

} // namespace
