#include "ui/CKeywordListCtrl.h"

#include "platform/framework/CEdit.h"
#include "resources/ResourceIds.h"
#include "tests/ui/UiTestSupport.h"

#include <algorithm>

namespace {

constexpr UINT ID_LIST = 1400;

class ListFamilyTest : public UiTest {
protected:
    void MakeKeywords()
    {
        ASSERT_TRUE(m_list.Create(WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_EDITLABELS | LVS_NOCOLUMNHEADER,
            RECT { 10, 10, 210, 260 }, &Host(), ID_LIST));
        m_list.InitColumn();
    }
    std::vector<CString> Rows() const
    {
        std::vector<CString> rows;
        for (int i = 0; i < m_list.GetItemCount(); ++i)
            rows.push_back(m_list.GetItemText(i, 0));
        return rows;
    }
    CString NewEntry() const
    {
        CString str;
        str.LoadString(IDS_NEW_KEYWORD_ROW);
        return str;
    }
    // Types pszText into the new-entry row and ends the edit with Enter.
    void TypeWord(LPCTSTR pszText)
    {
        m_list.SetFocus();
        m_list.SetItemState(0, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
        ASSERT_TRUE(Driver().PressKey(VK_F2));
        ASSERT_NE(m_list.GetEditControl(), nullptr);
        EXPECT_EQ(Driver().Text(m_list.GetEditControl()->m_hWnd), "") << "the new-entry row edits from empty";
        ASSERT_TRUE(Driver().TypeText(pszText));
        ASSERT_TRUE(Driver().PressKey(VK_RETURN));
    }

    CKeywordListCtrl m_list;
};

TEST_F(ListFamilyTest, WordsStaySortedBelowTheNewEntryRowAndAreCutToTheLimit)
{
    MakeKeywords();
    CStringArray words;
    for (LPCTSTR psz : { "pear", "Apple", "fig", "banana", "Cherry", "apple pie" })
        words.Add(psz);
    m_list.FillFromArray(&words);
    EXPECT_EQ(Rows(), (std::vector<CString> { NewEntry(), "Apple", "apple pie", "banana", "Cherry", "fig", "pear" }));

    m_list.FillFromArray(nullptr);
    EXPECT_EQ(Rows(), std::vector<CString> { NewEntry() });

    // A word inserted on top changes places with the new-entry row and is cut.
    m_list.SetEditLimit(3);
    m_list.InsertItem(0, "zebra");
    m_list.InsertItem(1, "\xC3\xA9t\xC3\xA9s"); // cut at characters, not bytes
    EXPECT_EQ(Rows(), (std::vector<CString> { NewEntry(), "zeb", "\xC3\xA9t\xC3\xA9" }));
}

TEST_F(ListFamilyTest, SortingKeepsImagesAndDataWithTheirTextsAndHandlesEqualTexts)
{
    MakeKeywords();
    // Many rows with repeats: a pivot that moved during the scan would leave rows out of order.
    const char* pszWords[] = { "m", "c", "x", "a", "m", "b", "z", "c", "k", "a", "y", "m", "d", "q", "b" };
    for (int i = 0; i < static_cast<int>(std::size(pszWords)); ++i) {
        m_list.CListCtrl::InsertItem(LVIF_TEXT | LVIF_PARAM, m_list.GetItemCount(), pszWords[i], 0, 0, 0, 100 + i);
    }
    // Inserting the last rows ran the sort already; shuffle them by hand and sort again.
    for (int nRow = 1; nRow < m_list.GetItemCount(); ++nRow)
        m_list.SetItem(nRow, 0, LVIF_TEXT | LVIF_PARAM, pszWords[nRow - 1], 0, 0, 0, 100 + nRow - 1);
    EXPECT_TRUE(m_list.SortItems(TRUE, 1));
    for (int nRow = 1; nRow < m_list.GetItemCount(); ++nRow) {
        const CString strText = m_list.GetItemText(nRow, 0);
        if (nRow > 1) {
            EXPECT_LE(m_list.GetItemText(nRow - 1, 0).CompareNoCase(strText), 0) << nRow;
        }
        const auto nWord = static_cast<std::size_t>(m_list.GetItemData(nRow) - 100);
        EXPECT_EQ(strText, pszWords[nWord]) << "the data moved with its text";
    }
    EXPECT_TRUE(m_list.SortItems(FALSE, 1));
    EXPECT_EQ(m_list.GetItemText(1, 0), "z");
    EXPECT_FALSE(m_list.SortItems(TRUE, 3, 3));
}

TEST_F(ListFamilyTest, TypingIntoTheNewEntryRowAddsOnlyNewWords)
{
    MakeKeywords();
    TypeWord("grape");
    EXPECT_EQ(Rows(), (std::vector<CString> { NewEntry(), "grape" }));
    TypeWord("apple");
    TypeWord("GRAPE"); // the list finds words without regard to case
    TypeWord("   ");
    EXPECT_EQ(Rows(), (std::vector<CString> { NewEntry(), "apple", "grape" }));
    EXPECT_EQ(m_list.GetFirstSelectedItem(), 0) << "row 0 is selected again";
}

TEST_F(ListFamilyTest, AnEditedRowKeepsItsPlace)
{
    MakeKeywords();
    CStringArray words;
    words.Add("alpha");
    words.Add("beta");
    m_list.FillFromArray(&words);
    m_list.SetFocus();
    m_list.SetItemState(1, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    ASSERT_TRUE(Driver().PressKey(VK_F2));
    ASSERT_NE(m_list.GetEditControl(), nullptr);
    ASSERT_TRUE(Driver().PressKey('A', CTestDriver::CONTROL));
    ASSERT_TRUE(Driver().TypeText("zulu"));
    ASSERT_TRUE(Driver().PressKey(VK_RETURN));
    EXPECT_EQ(Rows(), (std::vector<CString> { NewEntry(), "zulu", "beta" }));
}

TEST_F(ListFamilyTest, DeleteRemovesSelectedWordsButNeverTheNewEntryRow)
{
    MakeKeywords();
    CStringArray words;
    for (LPCTSTR psz : { "a", "b", "c", "d" })
        words.Add(psz);
    m_list.FillFromArray(&words);
    m_list.SetFocus();
    for (int nRow : { 0, 2, 4 })
        m_list.SetItemState(nRow, LVIS_SELECTED, LVIS_SELECTED);
    ASSERT_TRUE(Driver().PressKey(VK_DELETE));
    EXPECT_EQ(Rows(), (std::vector<CString> { NewEntry(), "a", "c" }));
    EXPECT_EQ(m_list.GetSelectedCount(), 0) << "row 0 was only deselected";

    for (int nRow = 0; nRow < m_list.GetItemCount(); ++nRow)
        m_list.SetItemState(nRow, LVIS_SELECTED, LVIS_SELECTED);
    m_list.DeleteSelected();
    EXPECT_EQ(Rows(), std::vector<CString> { NewEntry() });
}

TEST_F(ListFamilyTest, TheParentHearsOfClicksMovesAndAltEnter)
{
    MakeKeywords();
    CStringArray words;
    words.Add("a");
    words.Add("b");
    m_list.FillFromArray(&words);
    m_list.SetFocus();
    m_list.SetItemState(1, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    Host().m_commands.clear();
    ASSERT_TRUE(Driver().PressKey(VK_DOWN));
    ASSERT_EQ(Host().m_commands.size(), 1u);
    EXPECT_EQ(Host().m_commands[0].first, CListCtrlEx::CMD_CLICK);
    EXPECT_EQ(m_list.GetFocusedItem(), 2) << "the focus moved before the command";
    ASSERT_TRUE(Driver().PressKey(VK_RETURN, CTestDriver::ALT));
    ASSERT_EQ(Host().m_commands.size(), 2u);
    EXPECT_EQ(Host().m_commands[1].first, CListCtrlEx::CMD_PROPERTIES);

    // The focused row goes with the focus and comes back with it.
    Host().SetFocus();
    EXPECT_EQ(m_list.GetFocusedItem(), -1);
    m_list.SetFocus();
    EXPECT_EQ(m_list.GetFocusedItem(), 2);
}

TEST_F(ListFamilyTest, ColumnsFitTheirTitlesAndCellsAreInsertedOrSet)
{
    CListCtrlEx list;
    ASSERT_TRUE(list.Create(WS_VISIBLE | LVS_REPORT, RECT { 10, 10, 310, 200 }, &Host(), ID_LIST));
    EXPECT_EQ(list.InsertColumnFit("Name", 0), 0);
    EXPECT_EQ(list.GetColumnWidth(0), list.GetStringWidth("Name") + 15);
    EXPECT_EQ(list.InsertColumnFit("Size", 1, 80), 1);
    EXPECT_EQ(list.GetColumnWidth(1), 80);
    LVCOLUMN column {};
    column.mask = LVCF_SUBITEM;
    ASSERT_TRUE(list.GetColumn(1, &column));
    EXPECT_EQ(column.iSubItem, 1) << "subitem -1 shows the column's own";

    EXPECT_EQ(list.InsertOrSetItem(0, 0, "a.txt", 3), 0);
    EXPECT_TRUE(list.InsertOrSetItem(0, 1, "12 KB"));
    EXPECT_EQ(list.GetItemCount(), 1) << "a cell is set, not inserted";
    EXPECT_EQ(list.GetItemText(0, 1), "12 KB");
    LVITEM item {};
    item.mask = LVIF_IMAGE;
    ASSERT_TRUE(list.GetItem(&item));
    EXPECT_EQ(item.iImage, 3);
    EXPECT_EQ(list.FindItemByText("a.txt"), 0);
    EXPECT_EQ(list.FindItemByText("b.txt"), -1);
    EXPECT_EQ(list.GetFirstSelectedItem(), -1);
}

} // namespace
