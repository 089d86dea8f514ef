#include "ui/CIconCheckListBox.h"
#include "ui/CImageListBox.h"
#include "ui/CRecordListBox.h"
#include "ui/ListBoxGeometry.h"

#include "platform/base/CollectionArrays.h"
#include "platform/framework/CImageList.h"
#include "platform/gdi/SysColors.h"
#include "tests/ui/UiCatalogTest.h"
#include "tests/ui/data/ui_test_ids.h"

namespace {

constexpr UINT ID_LIST = 1500;

// A node that counts its deletions, to see the list box free its records.
class CCountedNodeRec : public CNodeRec {
public:
    CCountedNodeRec(CCatalog* pCatalog, CRecordRef ref, int* pDeleted)
        : CNodeRec(pCatalog, ref.nBlock, ref.nSlot)
        , m_pDeleted(pDeleted)
    {
    }
    ~CCountedNodeRec() override { ++*m_pDeleted; }

private:
    int* m_pDeleted;
};

class ListBoxesTest : public UiCatalogTest {
protected:
    static constexpr DWORD OWNER_DRAWN = WS_VISIBLE | LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT;
    CTestHostWnd& Host() { return m_pUi->m_host; }
};

TEST_F(ListBoxesTest, RecordRowsOwnTheirRecordsAndAreFoundFromTheLast)
{
    CRecordListBox list;
    ASSERT_TRUE(list.Create(OWNER_DRAWN | LBS_EXTENDEDSEL, RECT { 10, 10, 210, 200 }, &Host(), ID_LIST));
    int nDeleted = 0;
    const CRecordRef refs[] = { m_tree.projects, m_tree.alpha, m_tree.beta, m_tree.alpha, m_tree.gamma };
    for (const CRecordRef& ref : refs)
        ASSERT_GE(list.AddRecord(new CCountedNodeRec(m_pCatalog.get(), ref, &nDeleted)), 0);
    EXPECT_EQ(list.FindItemByData(m_tree.alpha), 3) << "the last of two equal rows";
    EXPECT_EQ(list.FindItemByData(m_tree.archive), -1);

    list.SetSel(1);
    list.SetSel(2);
    list.SetSel(4);
    list.DeleteSelected();
    EXPECT_EQ(nDeleted, 3);
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetRecord(0)->GetRef().nSlot, m_tree.projects.nSlot);
    EXPECT_EQ(list.GetRecord(1)->GetRef().nSlot, m_tree.alpha.nSlot);
    EXPECT_EQ(list.FindItemByData(m_tree.alpha), 1);

    list.Invalidate();
    UpdateWindow(list.m_hWnd); // node rows draw through the node path
    list.DestroyWindow();
    EXPECT_EQ(nDeleted, 5) << "destroying the list box frees the rest";
}

TEST_F(ListBoxesTest, GeometryWalksItemHeightsFromTheTopIndex)
{
    CListBox list;
    // A client area 45 pixels high (no border).
    ASSERT_TRUE(list.Create(OWNER_DRAWN, RECT { 10, 10, 110, 55 }, &Host(), ID_LIST));
    for (int i = 0; i < 6; ++i) {
        list.AddString("x");
        list.SetItemHeight(i, 10 + (i == 2 ? 5 : 0)); // 10, 10, 15, 10, 10, 10
    }
    RECT client {};
    list.GetClientRect(&client);
    ASSERT_EQ(client.bottom, 45);
    // 10 + 10 + 15 + 10 fill the 45 pixels exactly.
    EXPECT_EQ(GetListBoxLastFullItem(&list), 3);
    EXPECT_EQ(GetListBoxLastPartialItem(&list), 4) << "the budget goes negative only below the exact fit";
    EXPECT_EQ(GetListBoxItemFromPoint(&list, 5, 5), 0);
    EXPECT_EQ(GetListBoxItemFromPoint(&list, 5, 22), 2);
    EXPECT_EQ(GetListBoxItemFromPoint(&list, 5, 44), 3) << "the item that reaches the bottom";
    EXPECT_EQ(GetListBoxItemFromPoint(&list, -1, 5), -1);
    EXPECT_EQ(GetListBoxItemFromPoint(&list, 5, 45), -1) << "outside the client area";

    list.SetItemHeight(2, 20); // the fourth item is cut off by 5 pixels
    EXPECT_EQ(GetListBoxLastFullItem(&list), 3);
    EXPECT_EQ(GetListBoxLastPartialItem(&list), 3);
    EXPECT_EQ(GetListBoxItemFromPoint(&list, 5, 42), 3);

    for (int i = 5; i >= 3; --i)
        list.DeleteString(static_cast<UINT>(i));
    EXPECT_EQ(GetListBoxLastFullItem(&list), 3) << "the items ran out first";
    EXPECT_EQ(GetListBoxLastPartialItem(&list), 3);
    EXPECT_EQ(GetListBoxItemFromPoint(&list, 5, 42), -1) << "below the last item";
}

TEST_F(ListBoxesTest, ImageListBoxDrawsTheImageAndGreysOutWhenDisabled)
{
    HMODULE hPictures = m_pUi->TestPictures();
    ASSERT_NE(hPictures, nullptr);
    HIMAGELIST hImages
        = ImageList_LoadImage(hPictures, MAKEINTRESOURCE(IDB_TEST_IMAGES), 12, 0, RGB(255, 0, 255), IMAGE_BITMAP, 0);
    ASSERT_NE(hImages, nullptr);
    CImageListBox list;
    list.SetImageList(hImages, 1);
    ASSERT_TRUE(list.Create(OWNER_DRAWN, RECT { 10, 10, 210, 110 }, &Host(), ID_LIST));
    list.AddString("Mail");
    list.AddString("News");
    EXPECT_GE(list.GetItemHeight(0), 12 + CImageListBox::ITEM_MARGIN);
    list.SetCurSel(0);
    UpdateWindow(list.m_hWnd);
    EXPECT_EQ(CUiHarness::Pixel(list.m_hWnd, 190, 10), GetSysColor(COLOR_HIGHLIGHT));

    list.EnableWindow(FALSE);
    list.Invalidate();
    UpdateWindow(list.m_hWnd);
    EXPECT_EQ(CUiHarness::Pixel(list.m_hWnd, 190, 10), GetSysColor(COLOR_WINDOW)) << "no highlight when disabled";
    COLORREF crDarkest = RGB(255, 255, 255);
    for (int y = 20; y < 40; ++y) {
        for (int x = 24; x < 80; ++x) {
            const COLORREF cr = CUiHarness::Pixel(list.m_hWnd, x, y);
            if (GetRValue(cr) < GetRValue(crDarkest))
                crDarkest = cr;
        }
    }
    EXPECT_EQ(crDarkest, CImageListBox::DISABLED_TEXT) << "the second row's text is grey";
    list.DestroyWindow();
    ImageList_Destroy(hImages);
}

TEST_F(ListBoxesTest, IconCheckListShowsEachTypesFirstExtensionIconAndGreysDisabledRows)
{
    CStringArray text;
    text.Add(".txt");
    text.Add(".log");
    CStringArray other;
    other.Add(".xyz");
    CStringArray none;
    CIconCheckListBox list;
    ASSERT_TRUE(list.Create(WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT,
        RECT { 10, 10, 210, 110 }, &Host(), ID_LIST));
    const std::pair<const char*, CStringArray*> rows[]
        = { { "Text Document", &text }, { "OTHER", &other }, { "Empty", &none }, { "Unset", nullptr } };
    for (const auto& [pszText, pExtensions] : rows)
        list.SetItemData(list.AddString(pszText), reinterpret_cast<DWORD_PTR>(pExtensions));
    const int nTextIcon = GetFileIconIndex(".txt", FALSE, TRUE);
    ASSERT_NE(nTextIcon, 0);
    EXPECT_EQ(list.IconOf(0), nTextIcon);
    EXPECT_EQ(list.IconOf(1), 0) << "the other type, whatever its letter case";
    EXPECT_EQ(list.IconOf(2), 0);
    EXPECT_EQ(list.IconOf(3), 0);
    int cxIcon = 0;
    int cyIcon = 0;
    ASSERT_TRUE(ImageList_GetIconSize(*GetSystemImageList(1), &cxIcon, &cyIcon));
    EXPECT_GE(list.GetItemHeight(0), cyIcon + CIconCheckListBox::ITEM_MARGIN);

    list.Enable(0, FALSE);
    UpdateWindow(list.m_hWnd);
    RECT rect {};
    list.GetItemRect(0, &rect);
    COLORREF crDarkest = RGB(255, 255, 255);
    const int nTextLeft = CCheckListBox::CHECK_COLUMN + CIconCheckListBox::ICON_LEFT + cxIcon;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = nTextLeft; x < nTextLeft + 60; ++x) {
            const COLORREF cr = CUiHarness::Pixel(list.m_hWnd, x, y);
            if (GetRValue(cr) < GetRValue(crDarkest))
                crDarkest = cr;
        }
    }
    EXPECT_EQ(crDarkest, CCheckListBox::DISABLED_TEXT) << "a disabled type's text is grey";
    list.DestroyWindow();
}

} // namespace
