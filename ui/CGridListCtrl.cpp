#include "ui/CGridListCtrl.h"

#include "platform/framework/CDC.h"
#include "platform/framework/CImageList.h"
#include "platform/framework/MessageMap.h"
#include "platform/gdi/Rects.h"
#include "platform/window/WindowClass.h"
#include "store/CPreferences.h"
#include "ui/AppPalette.h"
#include "ui/CGridCalendarWnd.h"
#include "ui/CGridComboBox.h"
#include "ui/CGridEdit.h"
#include "ui/GridEditEnd.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CGridListCtrl, CListCtrl)

namespace {

constexpr int COLUMN_GROW_BY = 16;
constexpr DWORD GRID_EXTENDED_STYLES = LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT;
constexpr DWORD VIEW_STYLE_MASK = 0x303;        // the view and LVS_AUTOARRANGE | LVS_EDITLABELS
constexpr DWORD ICON_VIEW_EXTRAS = 0x300;       // LVS_AUTOARRANGE | LVS_EDITLABELS
constexpr UINT RECALC_FLAGS = 0x216;            // SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER
constexpr DWORD TEXT_EDITOR_STYLE = 0x50800044; // WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOVSCROLL | ES_MULTILINE
constexpr DWORD COMBO_EDITOR_STYLE
    = 0x50100203; // WS_CHILD | WS_VISIBLE | WS_HSCROLL | CBS_DROPDOWNLIST | CBS_HASSTRINGS
constexpr int EDITOR_INSET_LEFT = 4;
constexpr int EDITOR_INSET_RIGHT = 3;

// clang-format off
constexpr COLORREF DEFAULT_COLORS[GRID_COLOR_COUNT] = {
    0x02000000, 0x02FFFFFF, 0, 0x02F0F0F0, 0x02E0E0E0, 0x02202020, 0x02FFFFFF, 0x02707070,
};
// clang-format on

UINT ColorsChangedMessage()
{
    static const UINT s_nMessage = RegisterWindowMessage("APPM TrocarCores");
    return s_nMessage;
}

UINT DeleteEditorsMessage()
{
    static const UINT s_nMessage = RegisterWindowMessage("Archivora grid editors retired");
    return s_nMessage;
}

UINT g_nMsgColorsChanged = ColorsChangedMessage();
UINT g_nMsgDeleteEditors = DeleteEditorsMessage();

} // namespace

// clang-format off
BEGIN_MESSAGE_MAP(CGridListCtrl, CListCtrl)
    ON_WM_SIZE()
    ON_WM_TIMER()
    ON_WM_RBUTTONDOWN()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_PALETTECHANGED()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_MEASUREITEM_REFLECT()
    ON_NOTIFY_REFLECT(LVN_BEGINLABELEDIT, &CGridListCtrl::OnBeginLabelEdit)
    ON_NOTIFY_REFLECT(LVN_ENDLABELEDIT, &CGridListCtrl::OnEndLabelEdit)
    ON_NOTIFY_REFLECT(LVN_BEGINDRAG, &CGridListCtrl::OnBeginDrag)
    ON_NOTIFY_REFLECT(LVN_COLUMNCLICK, &CGridListCtrl::OnColumnClick)
    ON_NOTIFY(HDN_BEGINTRACK, 0, &CGridListCtrl::OnColumnClick)
    ON_NOTIFY(HDN_DIVIDERDBLCLICK, 0, &CGridListCtrl::OnColumnClick)
    ON_NOTIFY(HDN_TRACK, 0, &CGridListCtrl::OnHeaderTrack)
    ON_REGISTERED_MESSAGE(g_nMsgColorsChanged, &CGridListCtrl::OnResetColors)
    ON_REGISTERED_MESSAGE(g_nMsgDeleteEditors, &CGridListCtrl::OnDeleteRetiredEditors)
END_MESSAGE_MAP()
// clang-format on

CGridListCtrl::CGridListCtrl()
{
    m_columns.SetSize(0, COLUMN_GROW_BY);
    ResetColors();
}

CGridListCtrl::~CGridListCtrl()
{
    m_pDateEditor.reset();
    m_pTextEditor.reset();
    m_pComboEditor.reset();
    m_retiredEditors.clear();
    if (m_header.GetSafeHwnd())
        m_header.UnsubclassWindow();
}

void CGridListCtrl::ResetColors()
{
    std::copy(std::begin(DEFAULT_COLORS), std::end(DEFAULT_COLORS), std::begin(m_colors));
    m_colors[GRID_COLOR_RECENT_TEXT] = thePreferences.m_crRecentlyCatalog;
}

/******************************************************************************
 * Setting up
 ******************************************************************************/

BOOL CGridListCtrl::Initialize()
{
    SetViewMode(LVS_REPORT);
    ModifyStyle(LVS_EDITLABELS, LVS_OWNERDRAWFIXED);
    SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, GRID_EXTENDED_STYLES, GRID_EXTENDED_STYLES);
    if (!m_header.GetSafeHwnd())
        m_header.SubclassDlgItem(0, this);
    auto hFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    LOGFONT logFont {};
    if (!hFont || !GetObject(hFont, sizeof(logFont), &logFont))
        return FALSE;
    logFont.lfWeight = 700;
    auto pBold = std::make_unique<CFont>();
    if (pBold->CreateFontIndirect(&logFont))
        m_pBoldFont = std::move(pBold);
    return TRUE;
}

void CGridListCtrl::SetViewMode(DWORD dwMode)
{
    EndEdit();
    dwMode &= LVS_TYPEMASK;
    if (dwMode == LVS_ICON || dwMode == LVS_SMALLICON)
        dwMode |= ICON_VIEW_EXTRAS;
    else if (dwMode == LVS_LIST)
        dwMode |= LVS_EDITLABELS;
    ModifyStyle(VIEW_STYLE_MASK, dwMode);
}

int CGridListCtrl::InsertColumn(int nColumn, int nWidth, UINT nTitleID, BOOL bShaded, int nType, int nFormat)
{
    const GridColumn column { nTitleID, nType, bShaded };
    if (nColumn >= 0 && nColumn < m_columns.GetSize())
        m_columns.InsertAt(nColumn, column);
    else if (nColumn >= 0)
        m_columns.SetAtGrow(nColumn, column);
    CString strTitle;
    strTitle.LoadString(nTitleID);
    LVCOLUMN lvc {};
    lvc.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    lvc.fmt = nFormat;
    lvc.cx = nWidth;
    lvc.pszText = strTitle.GetBuffer(0);
    return CListCtrl::InsertColumn(nColumn, &lvc);
}

const GridColumn* CGridListCtrl::GetGridColumn(int nColumn) const
{
    return nColumn >= 0 && nColumn < m_columns.GetSize() ? &m_columns[nColumn] : nullptr;
}

void CGridListCtrl::SetImageColumnList(CImageList* pImageList)
{
    m_pImageColumnList.reset(pImageList);
}

void CGridListCtrl::RecalcLayout()
{
    RECT window {};
    GetWindowRect(&window);
    WINDOWPOS pos {};
    pos.hwnd = m_hWnd;
    pos.cx = window.right - window.left;
    pos.cy = window.bottom - window.top;
    pos.flags = RECALC_FLAGS;
    SendMessage(WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
}

int CGridListCtrl::SelectAppPalette(BOOL bBackground)
{
    if (!g_appPalette)
        return 0;
    CClientDC dc(this);
    dc.SelectPalette(g_appPalette, bBackground);
    const int nRealized = static_cast<int>(dc.RealizePalette());
    if (bBackground)
        dc.UpdateColors();
    else
        Invalidate(FALSE);
    return nRealized;
}

/******************************************************************************
 * Header positions and the current column
 ******************************************************************************/

bool CGridListCtrl::IsReportView() const
{
    return (GetStyle() & LVS_TYPEMASK) == LVS_REPORT;
}

int CGridListCtrl::ColumnAtPosition(int nPosition) const
{
    CWnd* pHeader = GetDlgItem(0);
    return pHeader ? static_cast<int>(pHeader->SendMessage(HDM_ORDERTOINDEX, static_cast<WPARAM>(nPosition))) : -1;
}

int CGridListCtrl::PositionOfColumn(int nColumn) const
{
    CWnd* pHeader = GetDlgItem(0);
    const int nCount = pHeader ? static_cast<int>(pHeader->SendMessage(HDM_GETITEMCOUNT)) : 0;
    for (int nPosition = 0; nPosition < nCount; ++nPosition) {
        if (ColumnAtPosition(nPosition) == nColumn)
            return nPosition;
    }
    return -1;
}

void CGridListCtrl::StepColumn(int nStep)
{
    CWnd* pHeader = GetDlgItem(0);
    const int nCount = pHeader ? static_cast<int>(pHeader->SendMessage(HDM_GETITEMCOUNT)) : 0;
    for (int nPosition = m_nCurrentColumn + nStep; nPosition >= 0 && nPosition < nCount; nPosition += nStep) {
        const int nColumn = ColumnAtPosition(nPosition);
        if (GetColumnWidth(nColumn) == 0)
            continue;
        m_nCurrentColumn = nPosition;
        EnsureColumnVisible(nColumn);
        const int nFocused = GetNextItem(-1, LVNI_FOCUSED);
        if (nFocused != -1)
            RedrawItems(nFocused, nFocused);
        return;
    }
}

/******************************************************************************
 * Editing
 ******************************************************************************/

CWnd* CGridListCtrl::GetEditor() const
{
    if (m_pTextEditor)
        return m_pTextEditor.get();
    if (m_pComboEditor)
        return m_pComboEditor.get();
    return m_pDateEditor.get();
}

void CGridListCtrl::EndEdit()
{
    if (m_pTextEditor || m_pDateEditor)
        SetFocus();
    else if (m_pComboEditor)
        m_pComboEditor->EndEdit();
}

void CGridListCtrl::EditFocusedCell()
{
    EndEdit();
    const int nItem = GetNextItem(-1, LVNI_FOCUSED);
    if (nItem == -1)
        return;
    if (IsReportView()) {
        if (m_nCurrentColumn != -1)
            BeginCellEdit(nItem, ColumnAtPosition(m_nCurrentColumn), nullptr);
    } else if (GetCellEditLimit(nItem, 0) > 0) {
        EditLabel(nItem);
    }
}

void CGridListCtrl::EditCellAt(int nItem, int nColumn, LPCTSTR pszText)
{
    EndEdit();
    if (nItem == -1)
        return;
    SetItemState(nItem, LVIS_FOCUSED, LVIS_FOCUSED);
    if (IsReportView()) {
        const int nPosition = PositionOfColumn(nColumn);
        if (nPosition == -1)
            return;
        m_nCurrentColumn = nPosition;
        BeginCellEdit(nItem, nColumn, pszText);
    } else if (GetCellEditLimit(nItem, 0) > 0) {
        CEdit* pEdit = EditLabel(nItem);
        if (pEdit && pszText)
            pEdit->SetWindowText(pszText);
    }
}

void CGridListCtrl::BeginCellEdit(int nItem, int nColumn, LPCTSTR pszText)
{
    if (GetCellEditLimit(nItem, nColumn) <= 0)
        return;
    CWnd* pParent = GetParent();
    if (!pParent)
        return;
    NMLVDISPINFO info {};
    info.hdr.hwndFrom = m_hWnd;
    info.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    info.hdr.code = LVN_BEGINLABELEDIT;
    info.item.iItem = nItem;
    info.item.iSubItem = nColumn;
    CString strText;
    const GridColumn* pColumn = GetGridColumn(nColumn);
    const int nType = pColumn ? pColumn->nType : 0;
    if (pszText) {
        strText = pszText;
        info.item.mask = LVIF_TEXT;
    } else if (nType == GRID_COLUMN_TEXT) {
        strText = GetItemText(nItem, nColumn);
        info.item.mask = LVIF_TEXT;
    } else if (nType == GRID_COLUMN_DATE) {
        info.item.mask = LVIF_PARAM;
        info.item.lParam = GetCellValue(nItem, nColumn);
    } else if (nType == GRID_COLUMN_PER_CELL) {
        strText = GetItemText(nItem, nColumn);
        info.item.mask = LVIF_TEXT | LVIF_PARAM;
        info.item.lParam = GetCellEditorKind(nItem, nColumn);
    }
    if (info.item.mask & LVIF_TEXT) {
        info.item.pszText = strText.GetBuffer(0);
        info.item.cchTextMax = strText.GetLength();
    }
    pParent->SendMessage(WM_NOTIFY, static_cast<WPARAM>(GetDlgCtrlID()), reinterpret_cast<LPARAM>(&info));
}

BOOL CGridListCtrl::EditorRectForCell(int nItem, int nColumn, RECT* pRect)
{
    GetCellRect(nItem, nColumn, pRect);
    if (nColumn == 0) {
        RECT label {};
        if (GetItemRect(nItem, &label, LVIR_LABEL))
            pRect->left = label.left;
    }
    if (pRect->right - pRect->left < EDITOR_MIN_WIDTH)
        return FALSE;
    RECT client {};
    GetClientRect(&client);
    pRect->left += EDITOR_INSET_LEFT;
    pRect->right = std::min(pRect->right - EDITOR_INSET_RIGHT, client.right);
    return TRUE;
}

BOOL CGridListCtrl::MoveEditorToCell(CWnd* pEditor, int nItem, int nColumn)
{
    if (!EnsureVisible(nItem, TRUE))
        return FALSE;
    EnsureColumnVisible(nColumn);
    RECT rect {};
    if (!EditorRectForCell(nItem, nColumn, &rect))
        return FALSE;
    pEditor->MoveWindow(&rect, TRUE);
    return TRUE;
}

void CGridListCtrl::CreateEditEditor(int nItem, int nColumn, LPCTSTR pszText)
{
    LVCOLUMN column {};
    column.mask = LVCF_FMT;
    GetColumn(nColumn, &column);
    DWORD dwAlign = ES_LEFT;
    if ((column.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_RIGHT)
        dwAlign = ES_RIGHT;
    else if ((column.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_CENTER)
        dwAlign = ES_CENTER;
    auto pEditor = std::make_unique<CGridEdit>(nItem, nColumn, pszText);
    m_pTextEditor = std::move(pEditor);
    if (!m_pTextEditor->Create(TEXT_EDITOR_STYLE | dwAlign, RECT { 0, 0, 1, 1 }, this, ID_GRID_TEXT_EDITOR)) {
        m_pTextEditor.reset();
        return;
    }
    m_pTextEditor->LimitText(GetCellEditLimit(nItem, nColumn));
    MoveEditorToCell(m_pTextEditor.get(), nItem, nColumn);
    m_pTextEditor->FitToText();
}

void CGridListCtrl::CreateDateEditor(int nItem, int nColumn, LONG lValue)
{
    RECT rect {};
    GetCellRect(nItem, nColumn, &rect);
    m_pDateEditor = std::make_unique<CGridCalendarWnd>(nItem, nColumn, lValue);
    if (!m_pDateEditor->Create(WS_CHILD | WS_VISIBLE, rect, this, ID_GRID_DATE_EDITOR))
        m_pDateEditor.reset();
}

void CGridListCtrl::CreateComboEditor(int nItem, int nColumn, LPCTSTR pszText)
{
    EnsureVisible(nItem, TRUE);
    EnsureColumnVisible(nColumn);
    RECT rect {};
    if (!EditorRectForCell(nItem, nColumn, &rect))
        GetCellRect(nItem, nColumn, &rect);
    rect.bottom += COMBO_EXTRA_HEIGHT;
    CStringArray choices;
    GetCellChoices(nItem, nColumn, choices);
    m_pComboEditor = std::make_unique<CGridComboBox>(nItem, nColumn, pszText, choices);
    if (!m_pComboEditor->Create(COMBO_EDITOR_STYLE, rect, this, ID_GRID_COMBO_EDITOR))
        m_pComboEditor.reset();
}

void CGridListCtrl::OnBeginLabelEdit(NMHDR* pNMHDR, LRESULT* pResult)
{
    if (!IsReportView()) {
        *pResult = 0;
        return;
    }
    *pResult = 1; // the control's own editor never runs in report view
    const auto* pInfo = reinterpret_cast<const NMLVDISPINFO*>(pNMHDR);
    const int nItem = pInfo->item.iItem;
    const int nColumn = pInfo->item.iSubItem;
    const GridColumn* pColumn = GetGridColumn(nColumn);
    if (!pColumn || GetEditor())
        return;
    const LPCTSTR pszText = (pInfo->item.mask & LVIF_TEXT) ? pInfo->item.pszText : nullptr;
    const int nKind = pColumn->nType == GRID_COLUMN_PER_CELL ? GetCellEditorKind(nItem, nColumn) : 0;
    if (pColumn->nType == GRID_COLUMN_TEXT || nKind == GRID_EDITOR_TEXT)
        CreateEditEditor(nItem, nColumn, pszText);
    else if (pColumn->nType == GRID_COLUMN_DATE)
        CreateDateEditor(nItem, nColumn, (pInfo->item.mask & LVIF_PARAM) ? static_cast<LONG>(pInfo->item.lParam) : 0);
    else if (nKind == GRID_EDITOR_COMBO)
        CreateComboEditor(nItem, nColumn, pszText);
}

void CGridListCtrl::RetireEditor(std::unique_ptr<CWnd> pEditor)
{
    if (!pEditor)
        return;
    m_retiredEditors.push_back(std::move(pEditor));
    PostMessage(g_nMsgDeleteEditors);
}

void CGridListCtrl::OnEndLabelEdit(NMHDR* /*pNMHDR*/, LRESULT* pResult)
{
    // The editor that sent this is still in its focus-loss handler, and still
    // has the focus: it goes once that handler has returned (hiding it now
    // would move the focus again and end the edit twice).
    RetireEditor(std::move(m_pDateEditor));
    RetireEditor(std::move(m_pTextEditor));
    RetireEditor(std::move(m_pComboEditor));
    *pResult = 0;
}

LRESULT CGridListCtrl::OnDeleteRetiredEditors(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    std::vector<std::unique_ptr<CWnd>> retired = std::move(m_retiredEditors);
    m_retiredEditors.clear();
    for (auto& pEditor : retired) {
        if (pEditor->GetSafeHwnd())
            pEditor->DestroyWindow();
    }
    return 0;
}

/******************************************************************************
 * Geometry
 ******************************************************************************/

int CGridListCtrl::GetCellRect(int nItem, int nColumn, RECT* pRect)
{
    int nBefore = 0;
    const int nPosition = PositionOfColumn(nColumn);
    for (int p = 0; p < nPosition; ++p)
        nBefore += GetColumnWidth(ColumnAtPosition(p));
    const int nWidth = GetColumnWidth(nColumn);
    RECT bounds {};
    if (GetItemRect(nItem, &bounds, LVIR_BOUNDS)) {
        *pRect = RECT { bounds.left + nBefore, bounds.top, bounds.left + nBefore + nWidth, bounds.bottom };
        return nWidth;
    }
    SCROLLINFO scroll { sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0 };
    if (GetScrollInfo(SB_HORZ, &scroll, SIF_ALL)) {
        *pRect = RECT { nBefore - scroll.nPos, 0, nBefore - scroll.nPos + nWidth, 0 };
        return 0;
    }
    *pRect = RECT {};
    return 0;
}

void CGridListCtrl::EnsureColumnVisible(int nColumn)
{
    if (nColumn < 0)
        return;
    RECT cell {};
    GetCellRect(0, nColumn, &cell);
    RECT client {};
    GetClientRect(&client);
    if (cell.left < 0)
        Scroll(SIZE { cell.left, 0 });
    else if (cell.right > client.right)
        Scroll(SIZE { std::min(cell.right - client.right, cell.left), 0 });
}

void CGridListCtrl::InvertSelection()
{
    for (int nItem = GetItemCount() - 1; nItem >= 0; --nItem)
        SetItemState(nItem, GetItemState(nItem, LVIS_SELECTED) ^ LVIS_SELECTED, LVIS_SELECTED);
}

/******************************************************************************
 * What derived lists answer
 ******************************************************************************/

LONG CGridListCtrl::GetCellValue(int /*nItem*/, int /*nColumn*/)
{
    return 0;
}

int CGridListCtrl::GetCellEditLimit(int /*nItem*/, int /*nColumn*/)
{
    return 0;
}

int CGridListCtrl::GetCellEditorKind(int /*nItem*/, int /*nColumn*/)
{
    return -1;
}

void CGridListCtrl::GetCellChoices(int /*nItem*/, int /*nColumn*/, CStringArray& /*choices*/) { }

BOOL CGridListCtrl::IsItemRecent(int /*nItem*/)
{
    return FALSE;
}

/******************************************************************************
 * Messages
 ******************************************************************************/

BOOL CGridListCtrl::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->hwnd == m_hWnd) {
        if (pMsg->wParam == VK_F2) {
            EditFocusedCell();
            return TRUE;
        }
        if (IsReportView() && (pMsg->wParam == VK_LEFT || pMsg->wParam == VK_RIGHT)) {
            StepColumn(pMsg->wParam == VK_LEFT ? -1 : 1);
            return TRUE;
        }
    }
    return CListCtrl::PreTranslateMessage(pMsg);
}

void CGridListCtrl::OnSize(UINT nType, int cx, int cy)
{
    EndEdit();
    m_nClientWidth = cx;
    CListCtrl::OnSize(nType, cx, cy);
}

void CGridListCtrl::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != TIMER_SLOW_CLICK) {
        CListCtrl::OnTimer(nIDEvent);
        return;
    }
    KillTimer(TIMER_SLOW_CLICK);
    EditFocusedCell();
}

void CGridListCtrl::OnRButtonDown(UINT nFlags, CPoint point)
{
    KillTimer(TIMER_SLOW_CLICK);
    if (IsReportView()) {
        LVHITTESTINFO hit {};
        hit.pt = point;
        SubItemHitTest(&hit);
        if (hit.iItem >= 0) {
            const int nPosition = PositionOfColumn(hit.iSubItem);
            if (!(GetItemState(hit.iItem, LVIS_FOCUSED) & LVIS_FOCUSED)) {
                m_nCurrentColumn = nPosition;
            } else if (m_nCurrentColumn != nPosition) {
                m_nCurrentColumn = nPosition;
                RedrawItems(hit.iItem, hit.iItem);
            }
        }
    }
    CListCtrl::OnRButtonDown(nFlags, point);
}

void CGridListCtrl::OnLButtonDown(UINT nFlags, CPoint point)
{
    KillTimer(TIMER_SLOW_CLICK);
    if (!IsReportView()) {
        CListCtrl::OnLButtonDown(nFlags, point);
        return;
    }
    EndEdit();
    LVHITTESTINFO hit {};
    hit.pt = point;
    SubItemHitTest(&hit);
    const int nItem = hit.iItem;
    const UINT nState = nItem >= 0 ? GetItemState(nItem, LVIS_FOCUSED | LVIS_SELECTED) : 0;
    const int nNew = nItem >= 0 ? PositionOfColumn(hit.iSubItem) : -1;
    const int nOld = m_nCurrentColumn;
    if (nItem >= 0 && !(nState & LVIS_FOCUSED))
        m_nCurrentColumn = nNew;

    m_bDragStarted = FALSE;
    CListCtrl::OnLButtonDown(nFlags, point);
    if (m_bDragStarted) {
        m_bDragStarted = FALSE;
        return;
    }
    if (nItem < 0)
        return;
    if (nOld == nNew) {
        RECT label {};
        const bool bOnLabel = hit.iSubItem != 0 || (GetItemRect(nItem, &label, LVIR_LABEL) && PtInRect(&label, point));
        if (!(nFlags & (MK_SHIFT | MK_CONTROL)) && (nState & LVIS_SELECTED) && bOnLabel)
            SetTimer(TIMER_SLOW_CLICK, GetDoubleClickTime(), nullptr);
    } else if (m_nCurrentColumn != nNew) {
        m_nCurrentColumn = nNew;
        RedrawItems(nItem, nItem);
    }
}

void CGridListCtrl::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    KillTimer(TIMER_SLOW_CLICK);
    CListCtrl::OnLButtonDblClk(nFlags, point);
}

void CGridListCtrl::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    EndEdit();
    CListCtrl::OnHScroll(nSBCode, nPos, pScrollBar);
}

void CGridListCtrl::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    EndEdit();
    CListCtrl::OnVScroll(nSBCode, nPos, pScrollBar);
}

void CGridListCtrl::OnPaletteChanged(CWnd* pFocusWnd)
{
    if (pFocusWnd && pFocusWnd->m_hWnd != m_hWnd)
        SelectAppPalette(TRUE);
}

void CGridListCtrl::OnBeginDrag(NMHDR* /*pNMHDR*/, LRESULT* pResult)
{
    m_bDragStarted = TRUE;
    *pResult = 0;
}

void CGridListCtrl::OnColumnClick(NMHDR* /*pNMHDR*/, LRESULT* pResult)
{
    EndEdit();
    *pResult = 0;
}

void CGridListCtrl::OnHeaderTrack(NMHDR* /*pNMHDR*/, LRESULT* pResult)
{
    *pResult = 0;
}

LRESULT CGridListCtrl::OnResetColors(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    ResetColors();
    Invalidate(TRUE);
    return 0;
}
