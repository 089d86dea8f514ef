// The kit's controls as they look, compared with reference pictures that
// were checked by eye once: grid rows with their header, buttons in each
// state, a dropped colour combo, the owner-drawn list boxes, the node path
// and the data tip.

#include "platform/framework/CImageList.h"
#include "platform/framework/MessageMap.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/SysColors.h"
#include "resources/ResourceIds.h"
#include "store/CPreferences.h"
#include "tests/ui/UiCatalogTest.h"
#include "tests/ui/data/ui_test_ids.h"
#include "ui/CBtnSeta.h"
#include "ui/CColorComboBox.h"
#include "ui/CDataTipWnd.h"
#include "ui/CGridListCtrl.h"
#include "ui/CHotButton.h"
#include "ui/CHotTrackButton.h"
#include "ui/CImageButton.h"
#include "ui/CImageListBox.h"
#include "ui/CNodeButton.h"
#include "ui/CNodePathCtrl.h"
#include "ui/CRecordListBox.h"

namespace {

// Rows of the pictured grid: a recent row, an image column and a shaded one.
class CPicturedGrid : public CGridListCtrl {
public:
    void UseImages(CImageList* pImages) { SetImageColumnList(pImages); }
    BOOL IsItemRecent(int nItem) override { return nItem == 2; }
};

// The arrow button drawn as its owner draws it.
class CPicturedArrow : public CBtnSeta {
public:
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override { DrawArrowFrame(lpDrawItemStruct, DFCS_SCROLLUP); }
};

class KitPicturesTest : public UiCatalogTest {
protected:
    CTestHostWnd& Host() { return m_pUi->m_host; }
    CTestDriver& Driver() { return m_pUi->m_driver; }
    // A child of the button face colour that controls stand on, as in a dialog.
    void MakePanel(CWnd& panel, RECT rect)
    {
        ASSERT_TRUE(panel.Create(AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)), "",
            WS_CHILD | WS_VISIBLE, rect, &Host(), 99));
    }
    void ExpectMatches(HWND hWnd, const char* pszReference)
    {
        RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Driver().Pump();
        m_pUi->ExpectWindowMatches(hWnd, pszReference);
    }
};

TEST_F(KitPicturesTest, GridRows)
{
    const COLORREF crSaved = thePreferences.m_crRecentlyCatalog;
    thePreferences.m_crRecentlyCatalog = RGB(255, 0, 0); // recent rows in red
    CPicturedGrid grid;
    ASSERT_TRUE(grid.Create(WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, RECT { 0, 0, 360, 120 }, &Host(), 100));
    grid.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)));
    ASSERT_TRUE(grid.Initialize());
    grid.InsertColumn(0, 110, IDS_NODE_BUTTON_EMPTY, FALSE, GRID_COLUMN_TEXT, LVCFMT_LEFT);
    grid.InsertColumn(1, 80, IDS_NODE_BUTTON_EMPTY, TRUE, GRID_COLUMN_DATE, LVCFMT_LEFT);
    grid.InsertColumn(2, 40, IDS_NODE_BUTTON_EMPTY, FALSE, GRID_COLUMN_IMAGE, LVCFMT_CENTER);
    grid.InsertColumn(3, 70, IDS_NODE_BUTTON_EMPTY, FALSE, GRID_COLUMN_TEXT, LVCFMT_RIGHT);
    HMODULE hPictures = m_pUi->TestPictures();
    ASSERT_NE(hPictures, nullptr);
    auto* pImages = new CImageList;
    pImages->Attach(
        ImageList_LoadImage(hPictures, MAKEINTRESOURCE(IDB_TEST_IMAGES), 12, 0, RGB(255, 0, 255), IMAGE_BITMAP, 0));
    grid.UseImages(pImages);
    const char* pszNames[] = { "Minutes.odt", "Budget\t2024.ods", "Recent notes.txt", "Letter.doc" };
    for (int nRow = 0; nRow < 4; ++nRow) {
        grid.InsertItem(nRow, pszNames[nRow]);
        grid.SetItemText(nRow, 1, "2024-05-0" + CString(static_cast<char>('1' + nRow)));
        grid.SetItemText(nRow, 2, nRow == 3 ? "9" : (nRow % 2 ? "1" : "0"));
        grid.SetItemText(nRow, 3, CString(static_cast<char>('1' + nRow)) + "2 KB");
    }
    grid.SetFocus();
    grid.SetItemState(1, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    grid.GetGridHeader().SetSortImage(3, TRUE);
    ExpectMatches(grid.m_hWnd, "grid_rows.png");
    grid.GetGridHeader().SetSortImage(3, FALSE);
    grid.Invalidate();
    ExpectMatches(grid.m_hWnd, "grid_rows_sorted_up.png");

    // The sort column's item held down: its text moves right and down.
    CGridHeaderCtrl& header = grid.GetGridHeader();
    RECT item {};
    ASSERT_TRUE(header.GetItemRect(3, &item));
    HDC hdc = GetDC(header.m_hWnd);
    DRAWITEMSTRUCT pressed { ODT_HEADER, 0, 3, ODA_DRAWENTIRE, ODS_SELECTED, header.m_hWnd, hdc, item, 0 };
    header.DrawItem(&pressed);
    ReleaseDC(header.m_hWnd, hdc);
    m_pUi->ExpectWindowMatches(header.m_hWnd, "grid_header_pressed.png");
    thePreferences.m_crRecentlyCatalog = crSaved;
}

TEST_F(KitPicturesTest, ButtonsInEachState)
{
    CWnd panel;
    MakePanel(panel, RECT { 0, 0, 390, 44 });
    CPicturedArrow arrow;
    CHotButton hot;
    CHotTrackButton track;
    CImageButton image;
    CNodeButton node;
    ASSERT_TRUE(arrow.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, RECT { 10, 10, 34, 34 }, &panel, 1));
    ASSERT_TRUE(hot.Create("Add", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, RECT { 40, 10, 120, 34 }, &panel, 2));
    ASSERT_TRUE(track.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, RECT { 130, 10, 160, 34 }, &panel, 3));
    ASSERT_TRUE(image.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, RECT { 170, 10, 200, 34 }, &panel, 4));
    ASSERT_TRUE(node.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, RECT { 210, 10, 380, 34 }, &panel, 5));
    HMODULE hPictures = m_pUi->TestPictures();
    CImageList images;
    images.Attach(
        ImageList_LoadImage(hPictures, MAKEINTRESOURCE(IDB_TEST_IMAGES), 12, 0, RGB(255, 0, 255), IMAGE_BITMAP, 0));
    track.SetImage(&images, 0);
    image.SetImages(&images, 1, GetSysColor(COLOR_BTNFACE));
    auto pAlpha = Node(*m_pCatalog, m_tree.alpha);
    node.SetNode(pAlpha.get());
    ExpectMatches(panel.m_hWnd, "buttons_normal.png");

    for (CButton* pButton : std::initializer_list<CButton*> { &arrow, &hot, &track, &image })
        pButton->SetState(TRUE);
    ExpectMatches(panel.m_hWnd, "buttons_pushed.png");

    for (CButton* pButton : std::initializer_list<CButton*> { &arrow, &hot, &track, &image, &node }) {
        pButton->SetState(FALSE);
        pButton->EnableWindow(FALSE);
    }
    ExpectMatches(panel.m_hWnd, "buttons_disabled.png");
}

TEST_F(KitPicturesTest, DroppedColourCombo)
{
    CColorComboBox combo;
    ASSERT_TRUE(combo.Create(
        WS_VISIBLE | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, RECT { 10, 10, 170, 280 }, &Host(), 1));
    combo.SelectColor(RGB(0, 128, 0));
    combo.ShowDropDown(TRUE);
    Driver().Pump();
    RECT field {};
    combo.GetWindowRect(&field);
    HWND hList = WindowFromPoint(POINT { field.left + 20, field.bottom + 20 }); // the dropped list
    ASSERT_NE(hList, nullptr);
    ASSERT_NE(hList, Host().m_hWnd);
    ExpectMatches(hList, "colour_combo_dropped.png");
    combo.ShowDropDown(FALSE);
}

TEST_F(KitPicturesTest, OwnerDrawnListBoxes)
{
    constexpr DWORD STYLE = WS_CHILD | WS_VISIBLE | WS_BORDER | LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS;
    CRecordListBox records;
    CImageListBox images;
    HMODULE hPictures = m_pUi->TestPictures();
    HIMAGELIST hImages
        = ImageList_LoadImage(hPictures, MAKEINTRESOURCE(IDB_TEST_IMAGES), 12, 0, RGB(255, 0, 255), IMAGE_BITMAP, 0);
    images.SetImageList(hImages, 0);
    CWnd panel;
    MakePanel(panel, RECT { 0, 0, 390, 110 });
    ASSERT_TRUE(records.Create(STYLE, RECT { 10, 10, 190, 100 }, &panel, 1));
    ASSERT_TRUE(images.Create(STYLE, RECT { 200, 10, 380, 100 }, &panel, 2));
    records.AddRecord(Node(*m_pCatalog, m_tree.alpha).release());
    records.AddRecord(Node(*m_pCatalog, m_tree.archive).release());
    records.SetCurSel(0);
    for (LPCTSTR psz : { "Local mail", "Newsgroups" })
        images.AddString(psz);
    images.SetCurSel(1);
    ExpectMatches(panel.m_hWnd, "list_boxes.png");
    records.EnableWindow(FALSE);
    images.EnableWindow(FALSE);
    ExpectMatches(panel.m_hWnd, "list_boxes_disabled.png");
    images.DestroyWindow();
    ImageList_Destroy(hImages);
}

TEST_F(KitPicturesTest, NodePathAndDataTip)
{
    CNodePathCtrl path;
    ASSERT_TRUE(path.Create(WS_CHILD | WS_VISIBLE, RECT { 10, 10, 300, 34 }, &Host(), 1));
    auto pBeta = Node(*m_pCatalog, m_tree.beta);
    path.SetNode(pBeta.get());
    ExpectMatches(path.m_hWnd, "node_path.png");

    CDataTipWnd tip;
    ASSERT_TRUE(tip.Create(&Host()));
    tip.Enable(TRUE);
    Host().SetFocus();
    ASSERT_TRUE(Driver().Hover(Host().m_hWnd, 50, 100));
    tip.Show(50, 100, RECT { 0, 90, 200, 110 }, "c:\\work\\projects\\quarterly report with a long name.odt");
    Driver().Advance(CDataTipWnd::DELAY_MS);
    ASSERT_EQ(CDataTipWnd::GetShownTip(), &tip);
    ExpectMatches(tip.m_hWnd, "data_tip.png");
}

} // namespace
