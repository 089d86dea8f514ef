#include "ui/CGridListCtrl.h"

#include "platform/framework/CEdit.h"
#include "platform/framework/CImageList.h"
#include "platform/window/WindowClass.h"
#include "resources/ResourceIds.h"
#include "store/CPreferences.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/CGridCalendarWnd.h"
#include "ui/CGridComboBox.h"
#include "ui/CGridEdit.h"
#include "ui/GridEditEnd.h"

#include <optional>

namespace {

constexpr UINT ID_GRID = 1800;

/* Columns of the test list. */
constexpr int COL_NAME = 0;   // text
constexpr int COL_DATE = 1;   // date
constexpr int COL_KIND = 2;   // per cell: combo
constexpr int COL_IMAGE = 3;  // image
constexpr int COL_HIDDEN = 4; // text, zero width
constexpr int COL_SIZE = 5;   // text, right-aligned, shaded

const CTime CELL_DATE(2005, 6, 15, 12, 0, 0);

// What an end of edit reported.
struct EditResult {
    int nItem;
    int nColumn;
    std::optional<std::string> text; // none: no text (cancelled) or a date
    LPARAM lValue;
};

// A grid list of three rows that answers its cells as the document list will.
class CTestGridList : public CGridListCtrl {
    DECLARE_MESSAGE_MAP()

public:
    LONG GetCellValue(int /*nItem*/, int nColumn) override
    {
        return nColumn == COL_DATE ? static_cast<LONG>(CELL_DATE.GetTime()) : 0;
    }
    int GetCellEditLimit(int /*nItem*/, int nColumn) override { return nColumn == COL_IMAGE ? 0 : 40; }
    int GetCellEditorKind(int /*nItem*/, int nColumn) override { return nColumn == COL_KIND ? GRID_EDITOR_COMBO : -1; }
    void GetCellChoices(int /*nItem*/, int /*nColumn*/, CStringArray& choices) override
    {
        for (LPCTSTR psz : { "Letter", "invoice", "Report" })
            choices.Add(psz);
        choices.Add(CString('x', 300));
    }
    BOOL IsItemRecent(int nItem) override { return nItem == 1; }

    std::vector<EditResult> m_results;

protected:
    void OnEndEdit(NMHDR* pNMHDR, LRESULT* pResult)
    {
        const auto* pInfo = reinterpret_cast<const NMLVDISPINFO*>(pNMHDR);
        EditResult result { pInfo->item.iItem, pInfo->item.iSubItem, std::nullopt, pInfo->item.lParam };
        if ((pInfo->item.mask & LVIF_TEXT) && pInfo->item.pszText)
            result.text = pInfo->item.pszText;
        m_results.push_back(result);
        OnEndLabelEdit(pNMHDR, pResult);
    }
};

// clang-format off
BEGIN_MESSAGE_MAP(CTestGridList, CGridListCtrl)
    ON_NOTIFY_REFLECT(LVN_ENDLABELEDIT, &CTestGridList::OnEndEdit)
END_MESSAGE_MAP()
// clang-format on

class CGridListCtrlTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        ASSERT_TRUE(
            m_list.Create(WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, RECT { 0, 0, 390, 200 }, &Host(), ID_GRID));
        EXPECT_FALSE(m_list.Initialize()) << "no font to make the bold one from";
        m_list.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)));
        ASSERT_TRUE(m_list.Initialize());
        m_list.InsertColumn(COL_NAME, 100, IDS_NODE_BUTTON_EMPTY, FALSE, GRID_COLUMN_TEXT, LVCFMT_LEFT);
        m_list.InsertColumn(COL_DATE, 80, IDS_NODE_BUTTON_EMPTY, FALSE, GRID_COLUMN_DATE, LVCFMT_LEFT);
        m_list.InsertColumn(COL_KIND, 60, IDS_NODE_BUTTON_EMPTY, FALSE, GRID_COLUMN_PER_CELL, LVCFMT_LEFT);
        m_list.InsertColumn(COL_IMAGE, 30, IDS_NODE_BUTTON_EMPTY, FALSE, GRID_COLUMN_IMAGE, LVCFMT_CENTER);
        m_list.InsertColumn(COL_HIDDEN, 0, IDS_NODE_BUTTON_EMPTY, FALSE, GRID_COLUMN_TEXT, LVCFMT_LEFT);
        m_list.InsertColumn(COL_SIZE, 60, IDS_NODE_BUTTON_EMPTY, TRUE, GRID_COLUMN_TEXT, LVCFMT_RIGHT);
        for (int nRow = 0; nRow < 3; ++nRow) {
            m_list.InsertItem(nRow, nRow == 1 ? "Budget" : "Notes");
            m_list.SetItemText(nRow, COL_KIND, "letter");
            m_list.SetItemText(nRow, COL_IMAGE, "x7");
            m_list.SetItemText(nRow, COL_SIZE, "12 KB");
        }
        m_list.SetFocus();
    }

    // The header position of a column, through the cell rectangles.
    POINT CellPoint(int nItem, int nColumn)
    {
        RECT cell {};
        m_list.GetCellRect(nItem, nColumn, &cell);
        return POINT { (cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2 };
    }
    void ClickCell(int nItem, int nColumn, UINT nModifiers = 0)
    {
        const POINT pt = CellPoint(nItem, nColumn);
        ASSERT_TRUE(Driver().Click(m_list.m_hWnd, pt.x, pt.y, nModifiers));
    }
    // Focuses and selects the row by a click, then waits past the double-click time.
    void FocusRow(int nItem, int nColumn)
    {
        ClickCell(nItem, nColumn);
        Driver().Advance(GetDoubleClickTime() + 1);
    }
    template<class TEditor> TEditor* Editor() const { return dynamic_cast<TEditor*>(m_list.GetEditor()); }

    CTestGridList m_list;
};

TEST_F(CGridListCtrlTest, ASlowSecondClickOnTheCurrentCellEdits)
{
    FocusRow(1, COL_SIZE);
    EXPECT_EQ(m_list.GetCurrentColumn(), 5) << "the hidden column takes no room but keeps its position";
    ClickCell(1, COL_SIZE);
    EXPECT_EQ(m_list.GetEditor(), nullptr) << "not before the double-click time";
    Driver().Advance(GetDoubleClickTime());
    ASSERT_NE(Editor<CGridEdit>(), nullptr);
    EXPECT_EQ(CTestDriver::Text(m_list.GetEditor()->m_hWnd), "12 KB");
    EXPECT_TRUE(m_list.GetEditor()->GetStyle() & ES_RIGHT);
    ASSERT_TRUE(Driver().PressKey(VK_ESCAPE));
    EXPECT_EQ(m_list.GetEditor(), nullptr);

    Driver().Advance(GetDoubleClickTime() + 1);
    const POINT pt = CellPoint(1, COL_SIZE);
    ASSERT_TRUE(Driver().DoubleClick(m_list.m_hWnd, pt.x, pt.y));
    Driver().Advance(2 * GetDoubleClickTime());
    EXPECT_EQ(m_list.GetEditor(), nullptr) << "a double click does not edit";

    Driver().Advance(GetDoubleClickTime() + 1);
    ClickCell(1, COL_SIZE);
    ASSERT_TRUE(Driver().RightClick(m_list.m_hWnd, pt.x, pt.y));
    Driver().Advance(2 * GetDoubleClickTime());
    EXPECT_EQ(m_list.GetEditor(), nullptr) << "a right click cancels the slow click";

    for (UINT nModifier : { CTestDriver::SHIFT, CTestDriver::CONTROL }) {
        Driver().Advance(GetDoubleClickTime() + 1);
        ClickCell(1, COL_SIZE, nModifier);
        Driver().Advance(2 * GetDoubleClickTime());
        EXPECT_EQ(m_list.GetEditor(), nullptr) << "never with Shift or Ctrl";
    }
}

TEST_F(CGridListCtrlTest, OnTheNameColumnOnlyTheLabelArmsTheSlowClick)
{
    CImageList icons;
    ASSERT_TRUE(icons.Create(16, 16, ILC_COLOR24, 1, 1));
    m_list.SetImageList(&icons, LVSIL_SMALL);
    FocusRow(0, COL_NAME);
    RECT label {};
    ASSERT_TRUE(m_list.GetItemRect(0, &label, LVIR_LABEL));
    RECT cell {};
    m_list.GetCellRect(0, COL_NAME, &cell);
    ASSERT_GT(label.left, cell.left);
    ASSERT_TRUE(Driver().Click(m_list.m_hWnd, cell.left + 1, (cell.top + cell.bottom) / 2));
    Driver().Advance(2 * GetDoubleClickTime());
    EXPECT_EQ(m_list.GetEditor(), nullptr);
    ASSERT_TRUE(Driver().Click(m_list.m_hWnd, label.left + 2, (label.top + label.bottom) / 2));
    Driver().Advance(GetDoubleClickTime());
    EXPECT_NE(Editor<CGridEdit>(), nullptr);
    m_list.EndEdit();
    m_list.SetImageList(nullptr, LVSIL_SMALL);
}

TEST_F(CGridListCtrlTest, F2AndTheArrowsWalkTheVisibleColumnsInHeaderOrder)
{
    ASSERT_TRUE(Driver().PressKey(VK_F2));
    EXPECT_EQ(m_list.GetEditor(), nullptr) << "no focused row";

    FocusRow(0, COL_IMAGE);
    ASSERT_EQ(m_list.GetCurrentColumn(), 3);
    ASSERT_TRUE(Driver().PressKey(VK_RIGHT));
    EXPECT_EQ(m_list.GetCurrentColumn(), 5) << "the zero-width column is skipped";
    ASSERT_TRUE(Driver().PressKey(VK_RIGHT));
    EXPECT_EQ(m_list.GetCurrentColumn(), 5) << "the last column stays";
    for (int i = 0; i < 6; ++i)
        ASSERT_TRUE(Driver().PressKey(VK_LEFT));
    EXPECT_EQ(m_list.GetCurrentColumn(), 0);

    // The size column dragged to the front: positions follow the header.
    int order[] = { COL_SIZE, COL_NAME, COL_DATE, COL_KIND, COL_IMAGE, COL_HIDDEN };
    ASSERT_TRUE(m_list.GetGridHeader().SetOrderArray(6, order));
    ASSERT_TRUE(Driver().PressKey(VK_F2));
    ASSERT_NE(Editor<CGridEdit>(), nullptr) << "position 0 is now the size column";
    EXPECT_EQ(CTestDriver::Text(m_list.GetEditor()->m_hWnd), "12 KB");
    RECT editor {};
    m_list.GetEditor()->GetWindowRect(&editor);
    m_list.ScreenToClient(&editor);
    RECT cell {};
    m_list.GetCellRect(0, COL_SIZE, &cell);
    EXPECT_EQ(cell.left, 0) << "the size column's cell comes first";
    EXPECT_EQ(editor.left, cell.left + 4);
    ASSERT_TRUE(Driver().PressKey(VK_RETURN));

    ASSERT_TRUE(Driver().PressKey(VK_LEFT));
    EXPECT_EQ(m_list.GetCurrentColumn(), 0);
    ASSERT_TRUE(Driver().PressKey(VK_RIGHT));
    ASSERT_TRUE(Driver().PressKey(VK_RIGHT));
    ASSERT_TRUE(Driver().PressKey(VK_F2));
    EXPECT_NE(Editor<CGridCalendarWnd>(), nullptr) << "position 2 is the date column";
}

TEST_F(CGridListCtrlTest, TheTextEditorReportsOnceHoweverItEnds)
{
    FocusRow(2, COL_NAME);
    m_list.EditCellAt(2, COL_NAME, nullptr);
    ASSERT_NE(Editor<CGridEdit>(), nullptr);
    ASSERT_TRUE(Driver().TypeText("Minutes"));
    ASSERT_TRUE(Driver().PressKey(VK_RETURN));
    m_list.EditCellAt(2, COL_NAME, "Draft");
    ASSERT_NE(Editor<CGridEdit>(), nullptr);
    ASSERT_TRUE(Driver().PressKey(VK_ESCAPE));
    m_list.EditCellAt(2, COL_NAME, nullptr);
    ASSERT_TRUE(Driver().TypeText("Agenda"));
    Host().SetFocus(); // a click elsewhere
    Driver().Pump();

    ASSERT_EQ(m_list.m_results.size(), 3u);
    EXPECT_EQ(m_list.m_results[0].text, std::optional<std::string>("Minutes"));
    EXPECT_EQ(m_list.m_results[0].nItem, 2);
    EXPECT_EQ(m_list.m_results[1].text, std::nullopt) << "Esc reports no text";
    EXPECT_EQ(m_list.m_results[2].text, std::optional<std::string>("Agenda"));
    EXPECT_EQ(m_list.GetEditor(), nullptr);
    EXPECT_EQ(CTestDriver::FindChild(m_list.m_hWnd, ID_GRID_TEXT_EDITOR), nullptr) << "retired editors are gone";
}

TEST_F(CGridListCtrlTest, TheDateEditorTellsUnchangedClearedAndNewDatesApart)
{
    FocusRow(0, COL_DATE);
    m_list.EditCellAt(0, COL_DATE, nullptr);
    ASSERT_NE(Editor<CGridCalendarWnd>(), nullptr);
    ASSERT_TRUE(Driver().PressKey(VK_RETURN));
    m_list.EditCellAt(0, COL_DATE, nullptr);
    ASSERT_TRUE(Driver().PressKey(VK_DELETE));
    m_list.EditCellAt(0, COL_DATE, nullptr);
    SYSTEMTIME day {};
    day.wYear = 2005;
    day.wMonth = 6;
    day.wDay = 20;
    ASSERT_TRUE(Driver().PickDate(m_list.GetEditor()->m_hWnd, day));
    EXPECT_NE(m_list.GetEditor(), nullptr) << "dropping the calendar keeps the edit";
    ASSERT_TRUE(Driver().PressKey(VK_RETURN));
    m_list.EditCellAt(0, COL_DATE, nullptr);
    ASSERT_TRUE(Driver().PressKey(VK_ESCAPE));

    ASSERT_EQ(m_list.m_results.size(), 4u);
    EXPECT_EQ(m_list.m_results[0].lValue, CGridCalendarWnd::VALUE_UNCHANGED);
    EXPECT_EQ(m_list.m_results[1].lValue, CGridCalendarWnd::VALUE_CLEARED);
    EXPECT_EQ(m_list.m_results[2].lValue, static_cast<LPARAM>(CTime(2005, 6, 20, 12, 0, 0).GetTime()));
    EXPECT_EQ(m_list.m_results[3].lValue, CGridCalendarWnd::VALUE_UNCHANGED) << "Esc";
}

TEST_F(CGridListCtrlTest, TheComboEditorMatchesTheCellAndCutsLongChoices)
{
    FocusRow(0, COL_KIND);
    m_list.EditCellAt(0, COL_KIND, nullptr);
    auto* pCombo = Editor<CGridComboBox>();
    ASSERT_NE(pCombo, nullptr);
    ASSERT_EQ(pCombo->GetCount(), 4);
    CString strSelected;
    pCombo->GetLBText(pCombo->GetCurSel(), strSelected);
    EXPECT_EQ(strSelected, "Letter") << "matched without regard to case";
    CString strLong;
    pCombo->GetLBText(0, strLong);
    EXPECT_EQ(strLong.GetLength(), CGridComboBox::CHOICE_LIMIT) << "added last to first";
    ASSERT_TRUE(Driver().PressKey(VK_UP));
    ASSERT_TRUE(Driver().PressKey(VK_RETURN));
    ASSERT_EQ(m_list.m_results.size(), 1u);
    EXPECT_EQ(m_list.m_results[0].text, std::optional<std::string>("invoice")) << "the choice above";

    m_list.EditCellAt(0, COL_IMAGE, nullptr);
    EXPECT_EQ(m_list.GetEditor(), nullptr) << "an image cell has no editor";
}

TEST_F(CGridListCtrlTest, TheTextEditorGrowsToItsTextButStaysInsideTheList)
{
    FocusRow(0, COL_SIZE);
    m_list.EditCellAt(0, COL_SIZE, nullptr);
    CWnd* pEditor = m_list.GetEditor();
    ASSERT_NE(pEditor, nullptr);
    RECT before {};
    pEditor->GetWindowRect(&before);
    ASSERT_TRUE(Driver().TypeText("a rather long size text that cannot fit"));
    RECT after {};
    pEditor->GetWindowRect(&after);
    m_list.ScreenToClient(&after);
    RECT client {};
    m_list.GetClientRect(&client);
    EXPECT_GT(after.right - after.left, before.right - before.left);
    EXPECT_LE(after.right, client.right - CGridEdit::LIST_MARGIN + 2) << "stops inside the list";
    ASSERT_TRUE(Driver().PressKey(VK_RETURN));
}

TEST_F(CGridListCtrlTest, AMultiLineTextStopsAtTheBottomWithAScrollBar)
{
    m_list.SetWindowPos(nullptr, 0, 0, 390, 70, SWP_NOMOVE | SWP_NOZORDER);
    FocusRow(2, COL_SIZE);
    m_list.EditCellAt(2, COL_SIZE, "");
    CWnd* pEditor = m_list.GetEditor();
    ASSERT_NE(pEditor, nullptr);
    CString strWords;
    for (int i = 0; i < 40; ++i)
        strWords += "word ";
    ASSERT_TRUE(Driver().TypeText(strWords));
    RECT editor {};
    pEditor->GetWindowRect(&editor);
    m_list.ScreenToClient(&editor);
    RECT client {};
    m_list.GetClientRect(&client);
    EXPECT_LE(editor.bottom, client.bottom);
    EXPECT_GE(editor.bottom, client.bottom - CGridEdit::LIST_MARGIN - 2) << "grew down to the bottom";
    EXPECT_TRUE(pEditor->GetStyle() & WS_VSCROLL);
    ASSERT_TRUE(Driver().PressKey(VK_RETURN));
}

TEST_F(CGridListCtrlTest, RowsPaintTheirColoursAndRecentRowsFollowThePreference)
{
    FocusRow(0, COL_DATE);
    m_list.Invalidate();
    UpdateWindow(m_list.m_hWnd);
    RECT cell {};
    m_list.GetCellRect(2, COL_KIND, &cell);
    EXPECT_EQ(CUiHarness::Pixel(m_list.m_hWnd, cell.left + 2, cell.top + 2), RGB(0xF0, 0xF0, 0xF0));
    EXPECT_EQ(CUiHarness::Pixel(m_list.m_hWnd, cell.left + 2, cell.bottom - 1), RGB(255, 255, 255)) << "grid line";
    m_list.GetCellRect(2, COL_SIZE, &cell);
    EXPECT_EQ(CUiHarness::Pixel(m_list.m_hWnd, cell.left + 2, cell.top + 2), RGB(0xE0, 0xE0, 0xE0)) << "shaded";
    m_list.GetCellRect(0, COL_DATE, &cell);
    EXPECT_EQ(CUiHarness::Pixel(m_list.m_hWnd, cell.left + 2, cell.top + 2), RGB(0xE0, 0xE0, 0xE0)) << "current cell";
    m_list.GetCellRect(0, COL_KIND, &cell);
    EXPECT_EQ(CUiHarness::Pixel(m_list.m_hWnd, cell.left + 2, cell.top + 2), RGB(255, 255, 255)) << "focused row";
    m_list.GetCellRect(1, COL_IMAGE, &cell);
    for (int x = cell.left; x < cell.right; ++x) {
        for (int y = cell.top; y < cell.bottom - 1; ++y)
            ASSERT_EQ(CUiHarness::Pixel(m_list.m_hWnd, x, y), RGB(0xF0, 0xF0, 0xF0)) << "no picture for x7";
    }

    const COLORREF crSaved = thePreferences.m_crRecentlyCatalog;
    thePreferences.m_crRecentlyCatalog = RGB(0, 128, 0);
    m_list.SendMessage(RegisterWindowMessage("APPM TrocarCores"));
    EXPECT_EQ(m_list.GetGridColor(GRID_COLOR_RECENT_TEXT), RGB(0, 128, 0));
    thePreferences.m_crRecentlyCatalog = crSaved;
}

TEST_F(CGridListCtrlTest, WhereRowsWentAndColumnsMovedTheNextPaintShowsBackground)
{
    m_list.Invalidate();
    UpdateWindow(m_list.m_hWnd);
    RECT lastRow {};
    ASSERT_TRUE(m_list.GetItemRect(2, &lastRow, LVIR_BOUNDS));
    RECT oldSize {};
    m_list.GetCellRect(0, COL_SIZE, &oldSize);

    // Two rows go and the shaded column grows: the background is erased where
    // the rows were, and rows paint the column where it now ends.
    ASSERT_TRUE(m_list.DeleteItem(2));
    ASSERT_TRUE(m_list.DeleteItem(1));
    m_list.SetColumnWidth(COL_SIZE, 100);
    m_list.Invalidate();
    UpdateWindow(m_list.m_hWnd);
    RECT kind {};
    m_list.GetCellRect(0, COL_KIND, &kind);
    EXPECT_EQ(CUiHarness::Pixel(m_list.m_hWnd, kind.left + 2, lastRow.bottom - 1), RGB(0xF0, 0xF0, 0xF0))
        << "the grid line of a deleted row";
    EXPECT_EQ(CUiHarness::Pixel(m_list.m_hWnd, kind.left + 2, lastRow.top + 2), RGB(0xF0, 0xF0, 0xF0));
    EXPECT_EQ(CUiHarness::Pixel(m_list.m_hWnd, oldSize.right + 20, lastRow.top + 2), RGB(0xE0, 0xE0, 0xE0))
        << "the shaded band below the rows";
    EXPECT_EQ(CUiHarness::Pixel(m_list.m_hWnd, oldSize.right + 20, oldSize.top + 2), RGB(0xE0, 0xE0, 0xE0))
        << "the widened cell";
    EXPECT_EQ(CUiHarness::Pixel(m_list.m_hWnd, oldSize.right + 20, oldSize.bottom - 1), RGB(255, 255, 255))
        << "its grid line";
}

TEST_F(CGridListCtrlTest, ControlCharactersPaintAsBlanksAndTheRowHeightFollowsTheFont)
{
    m_list.SetItemText(0, COL_KIND, "a\tb");
    m_list.SetItemText(2, COL_KIND, "a b");
    m_list.Invalidate();
    UpdateWindow(m_list.m_hWnd);
    RECT tab {};
    RECT blank {};
    m_list.GetCellRect(0, COL_KIND, &tab);
    m_list.GetCellRect(2, COL_KIND, &blank);
    for (int x = 0; x < tab.right - tab.left; ++x) {
        for (int y = 0; y < tab.bottom - tab.top - 1; ++y)
            ASSERT_EQ(CUiHarness::Pixel(m_list.m_hWnd, tab.left + x, tab.top + y),
                CUiHarness::Pixel(m_list.m_hWnd, blank.left + x, blank.top + y));
    }

    CFont big;
    ASSERT_TRUE(big.CreatePointFont(200, "DejaVu Sans"));
    m_list.SetFont(&big);
    m_list.RecalcLayout();
    RECT row {};
    ASSERT_TRUE(m_list.GetItemRect(0, &row, LVIR_BOUNDS));
    CClientDC dc(&m_list);
    CFont* pOld = dc.SelectObject(&big);
    TEXTMETRIC metrics {};
    dc.GetTextMetrics(&metrics);
    dc.SelectObject(pOld);
    EXPECT_EQ(row.bottom - row.top, metrics.tmHeight + 4);
    m_list.SetFont(nullptr, FALSE);
}

} // namespace
