#include "ui/CGridEdit.h"

#include "platform/framework/CDC.h"
#include "platform/framework/MessageMap.h"
#include "platform/gdi/DrawText.h"
#include "ui/GridEditEnd.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CGridEdit, CEdit)

// clang-format off
BEGIN_MESSAGE_MAP(CGridEdit, CEdit)
    ON_WM_CREATE()
    ON_WM_CHAR()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()
// clang-format on

CGridEdit::CGridEdit(int nItem, int nColumn, LPCTSTR pszInitial)
    : m_nItem(nItem)
    , m_nColumn(nColumn)
    , m_strInitial(pszInitial ? pszInitial : "")
{
}

int CGridEdit::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CEdit::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (CWnd* pList = GetParent())
        SetFont(pList->GetFont(), TRUE);
    SetWindowText(m_strInitial);
    SetFocus();
    FitToText();
    SetSel(0, -1);
    SendMessage(EM_SCROLLCARET);
    return 0;
}

void CGridEdit::FitToText()
{
    CWnd* pList = GetParent();
    if (!pList)
        return;
    RECT rect {};
    GetClientRect(&rect);
    MapWindowPoints(pList, &rect);
    RECT list {};
    pList->GetClientRect(&list);
    CString strText;
    GetWindowText(strText);

    CClientDC dc(this);
    CFont* pOldFont = dc.SelectObject(pList->GetFont());
    SIZE needed {};
    if (GetStyle() & ES_MULTILINE) {
        constexpr UINT MEASURE = DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;
        RECT narrow { 0, 0, rect.right - rect.left, 0 };
        RECT wide { 0, 0, list.right - rect.left, 0 };
        dc.DrawText(strText, &narrow, MEASURE);
        dc.DrawText(strText, &wide, MEASURE);
        const RECT& chosen = narrow.bottom < wide.bottom ? narrow : wide;
        needed = SIZE { chosen.right - chosen.left, chosen.bottom - chosen.top + GROW_MARGIN };
    } else {
        needed = dc.GetTextExtent(strText);
    }
    dc.SelectObject(pOldFont);

    RECT grown = rect;
    bool bMoved = false;
    if (needed.cx + GROW_MARGIN > rect.right - rect.left) {
        grown.right = std::min(rect.left + needed.cx + GROW_MARGIN, list.right - LIST_MARGIN);
        bMoved = grown.right > rect.right;
    }
    if (needed.cy > rect.bottom - rect.top) {
        grown.bottom = rect.top + needed.cy;
        if (grown.bottom >= list.bottom - LIST_MARGIN) {
            grown.bottom = list.bottom - LIST_MARGIN;
            ShowScrollBar(SB_VERT, TRUE);
        }
        bMoved = bMoved || grown.bottom > rect.bottom;
    }
    if (!bMoved)
        return;
    grown.right = std::max(grown.right, rect.right);
    grown.bottom = std::max(grown.bottom, rect.bottom);
    // The client rectangle grew; the window keeps its frame around it.
    RECT window {};
    GetWindowRect(&window);
    pList->ScreenToClient(&window);
    window.right += grown.right - rect.right;
    window.bottom += grown.bottom - rect.bottom;
    MoveWindow(&window, TRUE);
}

BOOL CGridEdit::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN) {
        const bool bControl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
        if (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_DELETE || pMsg->wParam == VK_ESCAPE || bControl) {
            TranslateMessage(pMsg);
            if (!(pMsg->wParam == VK_ESCAPE && (GetStyle() & ES_MULTILINE)))
                DispatchMessage(pMsg);
            return TRUE;
        }
    }
    return CEdit::PreTranslateMessage(pMsg);
}

void CGridEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_RETURN || nChar == VK_ESCAPE) {
        if (nChar == VK_ESCAPE)
            m_bCancelled = TRUE;
        if (CWnd* pList = GetParent())
            pList->SetFocus();
        return;
    }
    CEdit::OnChar(nChar, nRepCnt, nFlags);
    FitToText();
}

void CGridEdit::OnKillFocus(CWnd* pNewWnd)
{
    CEdit::OnKillFocus(pNewWnd);
    CString strText;
    NMLVDISPINFO info {};
    info.item.mask = LVIF_TEXT;
    if (!m_bCancelled) {
        GetWindowText(strText);
        info.item.pszText = strText.GetBuffer(0);
        info.item.cchTextMax = strText.GetLength();
    }
    SendGridEditEnd(this, m_nItem, m_nColumn, info);
}
