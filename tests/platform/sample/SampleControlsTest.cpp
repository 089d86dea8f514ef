// The common controls as a program's dialog uses them: a template from a
// compiled resource script with a report list of 1 000 callback rows that a
// small list class draws itself (with a sort arrow its header class draws),
// an icon view with state images, a tree with check images, lazy children
// and an italic item, and a button with a tip. The test driver works them as
// a user would, and their pictures are compared with references checked by eye.

#include "platform/framework/CDialog.h"
#include "platform/framework/CHeaderCtrl.h"
#include "platform/framework/CImageList.h"
#include "platform/framework/CListCtrl.h"
#include "platform/framework/CToolTipCtrl.h"
#include "platform/framework/CTreeCtrl.h"

#include "platform/base/ResourceModule.h"
#include "platform/base/TextFunctions.h"
#include "platform/framework/CDataExchange.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"
#include "platform/testing/TestDriver.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "tests/platform/sample/ControlsIds.h"
#include "tests/platform/sample/SampleSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <optional>
#include <string>

namespace {

constexpr int DOCUMENTS = 1000;
constexpr COLORREF MASK_COLOUR = RGB(255, 0, 255);

/***** Pictures the sample draws for itself *****/

// An image list of nCount images, each painted by `paint` on the mask colour.
void PaintImages(CImageList& images, int cx, int cy, int nCount, const std::function<void(HDC, RECT, int)>& paint)
{
    images.Create(cx, cy, ILC_COLOR24 | ILC_MASK, nCount, 0);
    HDC hdc = CreateCompatibleDC(nullptr);
    for (int i = 0; i < nCount; ++i) {
        HBITMAP hbm = CreateBitmap(cx, cy, 1, 32, nullptr);
        HGDIOBJ hOld = SelectObject(hdc, hbm);
        RECT rc { 0, 0, cx, cy };
        HBRUSH hMask = CreateSolidBrush(MASK_COLOUR);
        FillRect(hdc, &rc, hMask);
        DeleteObject(hMask);
        paint(hdc, rc, i);
        SelectObject(hdc, hOld);
        ImageList_AddMasked(images.GetSafeHandle(), hbm, MASK_COLOUR);
        DeleteObject(hbm);
    }
    DeleteDC(hdc);
}

// A sheet of paper with a coloured band: one colour per kind of document.
void PaintDocument(HDC hdc, RECT rc, int nKind)
{
    static constexpr COLORREF BANDS[]
        = { RGB(200, 40, 40), RGB(40, 120, 200), RGB(40, 160, 60), RGB(200, 150, 20), RGB(120, 60, 170) };
    RECT rcSheet { rc.left + 6, rc.top + 2, rc.right - 6, rc.bottom - 2 };
    FillRect(hdc, &rcSheet, GetSysColorBrush(COLOR_WINDOW));
    FrameRect(hdc, &rcSheet, GetSysColorBrush(COLOR_WINDOWTEXT));
    RECT rcBand { rcSheet.left + 1, rcSheet.top + 1, rcSheet.right - 1, rcSheet.top + 7 };
    HBRUSH hBand = CreateSolidBrush(BANDS[nKind % 5]);
    FillRect(hdc, &rcBand, hBand);
    DeleteObject(hBand);
    for (int y = rcBand.bottom + 4; y < rcSheet.bottom - 3; y += 4) {
        RECT rcLine { rcSheet.left + 3, y, rcSheet.right - 3, y + 1 };
        FillRect(hdc, &rcLine, GetSysColorBrush(COLOR_GRAYTEXT));
    }
}

// State image 1 is an empty box, 2 a checked one.
void PaintCheck(HDC hdc, RECT rc, int nImage)
{
    RECT rcBox { rc.left + 2, rc.top + 2, rc.right - 1, rc.bottom - 1 };
    DrawFrameControl(hdc, &rcBox, DFC_BUTTON, DFCS_BUTTONCHECK | (nImage == 1 ? DFCS_CHECKED : 0));
}

/***** The report list: rows drawn by the list object *****/

CString DocumentCell(int nDocument, int iSubItem)
{
    char szText[40] {};
    if (iSubItem == 0)
        std::snprintf(szText, sizeof(szText), "Document %03d", nDocument);
    else if (iSubItem == 1)
        std::snprintf(szText, sizeof(szText), "%d KB", (nDocument * 37) % 900 + 1);
    else
        std::snprintf(szText, sizeof(szText), "2024-%02d-%02d", nDocument % 12 + 1, nDocument % 28 + 1);
    return szText;
}

int DocumentKey(int nDocument, int nColumn)
{
    if (nColumn == 1)
        return (nDocument * 37) % 900;
    if (nColumn == 2)
        return (nDocument % 12) * 32 + nDocument % 28;
    return nDocument;
}

class CDocumentGrid;

// The header draws the sorted column itself, with an arrow for the direction.
class CSortHeader : public CHeaderCtrl {
public:
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    const CDocumentGrid* m_pGrid { nullptr };
};

class CDocumentGrid : public CListCtrl {
    DECLARE_MESSAGE_MAP()

public:
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override
    {
        HDC hdc = lpDrawItemStruct->hDC;
        const int nRow = static_cast<int>(lpDrawItemStruct->itemID);
        const bool bSelected = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
        FillRect(hdc, &lpDrawItemStruct->rcItem, GetSysColorBrush(bSelected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
        SetBkMode(hdc, TRANSPARENT);
        SetTextColor(hdc, GetSysColor(bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        // Every cell, in the header's order, through the list's texts.
        for (int iSubItem = 0; iSubItem < 3; ++iSubItem) {
            RECT rcCell { LVIR_LABEL, iSubItem, 0, 0 };
            if (!::SendMessage(
                    m_hWnd, LVM_GETSUBITEMRECT, static_cast<WPARAM>(nRow), reinterpret_cast<LPARAM>(&rcCell)))
                continue;
            rcCell.left += 4;
            rcCell.right -= 4;
            const CString strText = GetItemText(nRow, iSubItem);
            DrawText(hdc, strText, strText.GetLength(), &rcCell,
                (iSubItem == 1 ? DT_RIGHT : DT_LEFT) | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        }
        if (lpDrawItemStruct->itemState & ODS_FOCUS)
            DrawFocusRect(hdc, &lpDrawItemStruct->rcItem);
    }

    void SortBy(int nColumn)
    {
        m_bAscending = nColumn == m_nSortColumn ? !m_bAscending : true;
        m_nSortColumn = nColumn;
        SortItems(CompareDocuments, reinterpret_cast<DWORD_PTR>(this));
        // Only the sorted column is drawn by the header object.
        for (int i = 0; i < 3; ++i) {
            HDITEM item {};
            item.mask = HDI_FORMAT;
            m_header.GetItem(i, &item);
            item.fmt = i == nColumn ? (item.fmt | HDF_OWNERDRAW) : (item.fmt & ~HDF_OWNERDRAW);
            m_header.SetItem(i, &item);
        }
    }

    CSortHeader m_header;
    int m_nSortColumn { -1 };
    bool m_bAscending { true };
    bool m_bDragStarted { false };
    bool m_bDragSeenInClick { false }; // LVN_BEGINDRAG came before the default click handling returned

protected:
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) { lpMeasureItemStruct->itemHeight = 18; }
    void OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult)
    {
        LVITEM& item = reinterpret_cast<NMLVDISPINFO*>(pNMHDR)->item;
        if (item.mask & LVIF_TEXT)
            lstrcpyn(item.pszText, DocumentCell(static_cast<int>(item.lParam), item.iSubItem), item.cchTextMax);
        *pResult = 0;
    }
    void OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult)
    {
        SortBy(reinterpret_cast<NMLISTVIEW*>(pNMHDR)->iSubItem);
        *pResult = 0;
    }
    void OnBeginDrag(NMHDR*, LRESULT* pResult)
    {
        m_bDragStarted = true;
        *pResult = 0;
    }
    void OnLButtonDown(UINT, CPoint)
    {
        m_bDragStarted = false;
        Default();
        m_bDragSeenInClick = m_bDragStarted;
    }

private:
    static int CALLBACK CompareDocuments(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort)
    {
        const auto* pGrid = reinterpret_cast<const CDocumentGrid*>(lParamSort);
        const int nDifference = DocumentKey(static_cast<int>(lParam1), pGrid->m_nSortColumn)
            - DocumentKey(static_cast<int>(lParam2), pGrid->m_nSortColumn);
        return pGrid->m_bAscending ? nDifference : -nDifference;
    }
};

// clang-format off
BEGIN_MESSAGE_MAP(CDocumentGrid, CListCtrl)
    ON_WM_LBUTTONDOWN()
    ON_WM_MEASUREITEM_REFLECT()
    ON_NOTIFY_REFLECT(LVN_GETDISPINFO, &CDocumentGrid::OnGetDispInfo)
    ON_NOTIFY_REFLECT(LVN_COLUMNCLICK, &CDocumentGrid::OnColumnClick)
    ON_NOTIFY_REFLECT(LVN_BEGINDRAG, &CDocumentGrid::OnBeginDrag)
END_MESSAGE_MAP()
// clang-format on

void CSortHeader::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    HDC hdc = lpDrawItemStruct->hDC;
    RECT rc = lpDrawItemStruct->rcItem;
    FillRect(hdc, &rc, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(
        hdc, &rc, (lpDrawItemStruct->itemState & ODS_SELECTED) ? BDR_SUNKENOUTER : EDGE_RAISED, BF_RECT | BF_ADJUST);
    char szText[64] {};
    HDITEM item {};
    item.mask = HDI_TEXT;
    item.pszText = szText;
    item.cchTextMax = sizeof(szText);
    GetItem(static_cast<int>(lpDrawItemStruct->itemID), &item);
    RECT rcText { rc.left + 5, rc.top, rc.right - 18, rc.bottom };
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, GetSysColor(COLOR_BTNTEXT));
    DrawText(hdc, szText, -1, &rcText, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    // A small triangle at the right: up for ascending, down for descending.
    const int x = rc.right - 12;
    const int y = (rc.top + rc.bottom) / 2;
    const bool bUp = m_pGrid && m_pGrid->m_bAscending;
    const POINT arrow[]
        = { { x - 4, bUp ? y + 2 : y - 2 }, { x + 4, bUp ? y + 2 : y - 2 }, { x, bUp ? y - 2 : y + 2 } };
    HGDIOBJ hOldBrush = SelectObject(hdc, GetSysColorBrush(COLOR_BTNTEXT));
    HGDIOBJ hOldPen = SelectObject(hdc, GetStockObject(NULL_PEN));
    Polygon(hdc, arrow, 3);
    SelectObject(hdc, hOldPen);
    SelectObject(hdc, hOldBrush);
}

/***** The dialog *****/

class CDlgDocumentList : public CDialog {
    DECLARE_MESSAGE_MAP()

public:
    CDlgDocumentList()
        : CDialog(IDD_DOCUMENT_LIST)
    {
    }

    CDocumentGrid m_grid;
    CListCtrl m_icons;
    CTreeCtrl m_tree;
    CToolTipCtrl m_tip;
    HTREEITEM m_hDrafts { nullptr };
    HTREEITEM m_hArchive { nullptr };
    HTREEITEM m_hReports { nullptr };

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, IDC_DOCUMENTS, m_grid);
        DDX_Control(pDX, IDC_ICONS, m_icons);
        DDX_Control(pDX, IDC_FOLDERS, m_tree);
    }

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        FillDocuments();
        FillIcons();
        FillFolders();
        m_tip.Create(this);
        m_tip.AddTool(GetDlgItem(IDC_REFRESH), "Read the folder again");
        m_tip.Activate(TRUE);
        return TRUE;
    }

    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        m_tip.RelayEvent(pMsg);
        return CDialog::PreTranslateMessage(pMsg);
    }

    void OnDestroy()
    {
        m_grid.m_header.UnsubclassWindow();
        CDialog::OnDestroy();
    }

    void OnIconRenamed(NMHDR*, LRESULT* pResult) { *pResult = TRUE; }

    // The folder expands for the first time: its children are made now.
    void OnFolderExpanding(NMHDR* pNMHDR, LRESULT* pResult)
    {
        const HTREEITEM hItem = reinterpret_cast<NMTREEVIEW*>(pNMHDR)->itemNew.hItem;
        if (hItem == m_hArchive && !m_tree.GetChildItem(hItem)) {
            for (LPCTSTR lpszYear : { "1998", "1999", "2000" })
                m_tree.InsertItem(TVIF_TEXT | TVIF_STATE, lpszYear, 0, 0, INDEXTOSTATEIMAGEMASK(1), TVIS_STATEIMAGEMASK,
                    0, hItem, TVI_LAST);
        }
        *pResult = 0;
    }

    // A click on a check image turns it over.
    void OnFolderClick(NMHDR*, LRESULT* pResult)
    {
        const DWORD dwPos = GetMessagePos();
        CPoint pt(static_cast<short>(LOWORD(dwPos)), static_cast<short>(HIWORD(dwPos)));
        m_tree.ScreenToClient(&pt);
        UINT nFlags = 0;
        const HTREEITEM hItem = m_tree.HitTest(pt, &nFlags);
        if (hItem && (nFlags & TVHT_ONITEMSTATEICON)) {
            const UINT nState = m_tree.GetItemState(hItem, TVIS_STATEIMAGEMASK) >> 12;
            m_tree.SetItemState(hItem, INDEXTOSTATEIMAGEMASK(nState == 1 ? 2 : 1), TVIS_STATEIMAGEMASK);
        }
        *pResult = 0;
    }

    // The drafts folder is written in italics.
    void OnFolderCustomDraw(NMHDR* pNMHDR, LRESULT* pResult)
    {
        auto* pDraw = reinterpret_cast<NMTVCUSTOMDRAW*>(pNMHDR);
        *pResult = CDRF_DODEFAULT;
        if (pDraw->nmcd.dwDrawStage == CDDS_PREPAINT) {
            *pResult = CDRF_NOTIFYITEMDRAW;
        } else if (pDraw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT
            && reinterpret_cast<HTREEITEM>(pDraw->nmcd.dwItemSpec) == m_hDrafts) {
            SelectObject(pDraw->nmcd.hdc, m_hItalic);
            *pResult = CDRF_NEWFONT;
        }
    }

private:
    void FillDocuments()
    {
        m_grid.InsertColumn(0, "Name", LVCFMT_LEFT, 130);
        m_grid.InsertColumn(1, "Size", LVCFMT_RIGHT, 70);
        m_grid.InsertColumn(2, "Date", LVCFMT_LEFT, 90);
        ::SendMessage(m_grid.m_hWnd, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT,
            LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT);
        m_grid.m_header.SubclassDlgItem(0, &m_grid);
        m_grid.m_header.m_pGrid = &m_grid;
        m_grid.SetItemCount(DOCUMENTS);
        for (int i = 0; i < DOCUMENTS; ++i)
            m_grid.InsertItem(LVIF_TEXT | LVIF_PARAM, i, LPSTR_TEXTCALLBACK, 0, 0, 0, i);
    }

    void FillIcons()
    {
        PaintImages(m_iconImages, 32, 32, 5, PaintDocument);
        PaintImages(m_checkImages, 16, 16, 2, PaintCheck);
        m_icons.SetImageList(&m_iconImages, LVSIL_NORMAL);
        m_icons.SetImageList(&m_checkImages, LVSIL_STATE);
        int nImage = 0;
        for (LPCTSTR lpszName : { "Report", "Letter", "Invoice", "Minutes", "Budget" }) {
            const int nItem = m_icons.InsertItem(nImage, lpszName, nImage);
            m_icons.SetItemState(nItem, INDEXTOSTATEIMAGEMASK(nImage % 2 + 1), LVIS_STATEIMAGEMASK);
            ++nImage;
        }
    }

    void FillFolders()
    {
        PaintImages(m_treeChecks, 16, 16, 2, PaintCheck);
        m_tree.SetImageList(&m_treeChecks, TVSIL_STATE);
        auto add = [this](LPCTSTR lpszText, HTREEITEM hParent, int nCheck) {
            return m_tree.InsertItem(TVIF_TEXT | TVIF_STATE, lpszText, 0, 0, INDEXTOSTATEIMAGEMASK(nCheck),
                TVIS_STATEIMAGEMASK, 0, hParent, TVI_LAST);
        };
        HTREEITEM hInbox = add("Inbox", TVI_ROOT, 2);
        m_hDrafts = add("Drafts", hInbox, 1);
        add("Sent", hInbox, 2);
        m_hReports = add("Reports", TVI_ROOT, 1);
        add("2023", m_hReports, 1);
        // The archive's children are made when it first opens.
        TVINSERTSTRUCT insert {};
        insert.hParent = TVI_ROOT;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_STATE | TVIF_CHILDREN;
        insert.item.pszText = const_cast<LPSTR>("Archive");
        insert.item.state = INDEXTOSTATEIMAGEMASK(1);
        insert.item.stateMask = TVIS_STATEIMAGEMASK;
        insert.item.cChildren = 1;
        m_hArchive = m_tree.InsertItem(&insert);
        m_tree.Expand(hInbox, TVE_EXPAND);
        LOGFONT lf {};
        GetObject(reinterpret_cast<HFONT>(m_tree.SendMessage(WM_GETFONT)), sizeof(lf), &lf);
        lf.lfItalic = TRUE;
        m_hItalic = CreateFontIndirect(&lf);
    }

    CImageList m_iconImages;
    CImageList m_checkImages;
    CImageList m_treeChecks;
    HFONT m_hItalic { nullptr };

public:
    ~CDlgDocumentList() override { DeleteObject(m_hItalic); }
};

// clang-format off
BEGIN_MESSAGE_MAP(CDlgDocumentList, CDialog)
    ON_WM_DESTROY()
    ON_NOTIFY(LVN_ENDLABELEDIT, IDC_ICONS, &CDlgDocumentList::OnIconRenamed)
    ON_NOTIFY(TVN_ITEMEXPANDING, IDC_FOLDERS, &CDlgDocumentList::OnFolderExpanding)
    ON_NOTIFY(NM_CLICK, IDC_FOLDERS, &CDlgDocumentList::OnFolderClick)
    ON_NOTIFY(NM_CUSTOMDRAW, IDC_FOLDERS, &CDlgDocumentList::OnFolderCustomDraw)
END_MESSAGE_MAP()
// clang-format on

/***** The script *****/

POINT Middle(const RECT& rc)
{
    return POINT { (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 };
}

class SampleControlsTest : public SampleModuleTest {
protected:
    SampleControlsTest()
        : SampleModuleTest("controls.rc")
    {
    }
    void ExpectPicture(HWND hWnd, const char* pszReference)
    {
        ExpectPictureMatches(CaptureWindowImage(hWnd), pszReference);
    }
};

} // namespace

TEST_F(SampleControlsTest, AUserSortsSelectsDragsRenamesExpandsChecksAndReadsATip)
{
    CTestDriver driver;
    CDlgDocumentList dlg;
    driver.OnNextDialog([&](HWND hDlg) {
        HWND hGrid = dlg.m_grid.m_hWnd;
        EXPECT_EQ(dlg.m_grid.GetItemCount(), DOCUMENTS);

        // A click on "Size" sorts by it, smallest first, and shows the arrow there.
        ASSERT_TRUE(driver.ClickHeaderItem(hGrid, 1));
        EXPECT_EQ(dlg.m_grid.m_nSortColumn, 1);
        EXPECT_STREQ(dlg.m_grid.GetItemText(0, 1), "1 KB");
        EXPECT_STREQ(dlg.m_grid.GetItemText(DOCUMENTS - 1, 1), "900 KB");

        // "Date" goes to the front; "Name" grows by 20 pixels.
        ASSERT_TRUE(driver.DragHeaderItem(hGrid, 2, 0));
        EXPECT_EQ(CTestDriver::ListColumnOrder(hGrid), (std::vector<int> { 2, 0, 1 }));
        ASSERT_TRUE(driver.DragHeaderDivider(hGrid, 0, 20));
        EXPECT_EQ(CTestDriver::ListColumnWidths(hGrid), (std::vector<int> { 150, 70, 90 }));

        // Shift extends from the clicked row, Ctrl takes one out.
        driver.ClickListRow(hGrid, 2);
        driver.ClickListRow(hGrid, 5, 0, CTestDriver::SHIFT);
        EXPECT_EQ(CTestDriver::ListSelection(hGrid), (std::vector<int> { 2, 3, 4, 5 }));
        driver.ClickListRow(hGrid, 3, 0, CTestDriver::CONTROL);
        EXPECT_EQ(CTestDriver::ListSelection(hGrid), (std::vector<int> { 2, 4, 5 }));

        // Dragging a selected row starts a drag inside the press, and keeps the selection.
        RECT rcRow { LVIR_BOUNDS, 0, 0, 0 };
        dlg.m_grid.GetItemRect(4, &rcRow, LVIR_BOUNDS);
        const POINT ptRow = Middle(rcRow);
        ASSERT_TRUE(driver.Drag(hGrid, ptRow, POINT { ptRow.x, ptRow.y + 40 }));
        EXPECT_TRUE(dlg.m_grid.m_bDragSeenInClick);
        EXPECT_EQ(CTestDriver::ListSelection(hGrid), (std::vector<int> { 2, 4, 5 }));
        ExpectPicture(hGrid, "documents_report.png");

        // A slow second click on an icon's label opens its editor.
        HWND hIcons = dlg.m_icons.m_hWnd;
        driver.ClickListRow(hIcons, 1);
        driver.Advance(GetDoubleClickTime() + 1);
        driver.ClickListRow(hIcons, 1);
        driver.Advance(GetDoubleClickTime() + 1);
        ASSERT_NE(dlg.m_icons.GetEditControl(), nullptr);
        driver.TypeText("Memo");
        driver.PressKey(VK_RETURN);
        EXPECT_STREQ(dlg.m_icons.GetItemText(1, 0), "Memo");
        ExpectPicture(hIcons, "documents_icons.png");

        // The archive fills when it first opens; a click on a check image turns it.
        HWND hTree = dlg.m_tree.m_hWnd;
        RECT rcArchive {};
        dlg.m_tree.GetItemRect(dlg.m_hArchive, &rcArchive, TRUE);
        driver.DoubleClick(hTree, Middle(rcArchive).x, Middle(rcArchive).y);
        EXPECT_EQ(CTestDriver::TreeChildren(hTree, dlg.m_hArchive), (std::vector<CString> { "1998", "1999", "2000" }));
        EXPECT_EQ(CTestDriver::TreeStateImage(hTree, dlg.m_hReports), 1u);
        ASSERT_TRUE(driver.ClickTreeStateIcon(hTree, dlg.m_hReports));
        EXPECT_EQ(CTestDriver::TreeStateImage(hTree, dlg.m_hReports), 2u);
        ExpectPicture(hTree, "documents_tree.png");

        // Resting on the button brings its tip after the initial delay.
        HWND hRefresh = GetDlgItem(hDlg, IDC_REFRESH);
        driver.Hover(hRefresh, 10, 6);
        EXPECT_FALSE(IsWindowVisible(dlg.m_tip.m_hWnd));
        driver.Advance(GetDoubleClickTime() + 10);
        EXPECT_TRUE(IsWindowVisible(dlg.m_tip.m_hWnd));
        ExpectPicture(dlg.m_tip.m_hWnd, "documents_tip.png");

        HWND hOk = GetDlgItem(hDlg, IDOK);
        RECT rcOk {};
        GetClientRect(hOk, &rcOk);
        driver.Click(hOk, Middle(rcOk).x, Middle(rcOk).y);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}
