#include "ui/CGridCalendarWnd.h"

#include "platform/framework/MessageMap.h"
#include "platform/window/WindowClass.h"
#include "ui/GridEditEnd.h"

#include <algorithm>
#include <cstring>

IMPLEMENT_DYNAMIC(CGridCalendarWnd, CWnd)

namespace {

constexpr LPCTSTR CALENDAR_CLASS = "SysMonthCal32";

UINT g_nMsgTakeFocusBack = RegisterWindowMessage("Archivora grid calendar closed");

} // namespace

// clang-format off
BEGIN_MESSAGE_MAP(CGridCalendarWnd, CDatePickerCtrl)
    ON_WM_KILLFOCUS()
    ON_WM_ACTIVATE()
    ON_WM_KEYUP()
    ON_REGISTERED_MESSAGE(g_nMsgTakeFocusBack, &CGridCalendarWnd::OnTakeFocusBack)
END_MESSAGE_MAP()
// clang-format on

CGridCalendarWnd::CGridCalendarWnd(int nItem, int nColumn, LONG lInitial)
    : m_nItem(nItem)
    , m_nColumn(nColumn)
    , m_lInitial(lInitial)
{
}

BOOL CGridCalendarWnd::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    if (!CDatePickerCtrl::Create(dwStyle, rect, pParentWnd, nID))
        return FALSE;
    CTime start = CTime::GetCurrentTime();
    if (m_lInitial > 0) {
        const time_t nMinimum = RangeMinimum().GetTime();
        const time_t nMaximum = RangeMaximum().GetTime();
        start = CTime(std::min(std::max(static_cast<time_t>(m_lInitial), nMinimum), nMaximum));
    }
    SetTime(start);
    SetFocus();
    return TRUE;
}

void CGridCalendarWnd::FocusList()
{
    if (CWnd* pList = GetParent())
        pList->SetFocus();
}

void CGridCalendarWnd::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    switch (nChar) {
    case VK_RETURN:
        FocusList();
        return;
    case VK_ESCAPE:
        m_bCancelled = TRUE;
        FocusList();
        return;
    case VK_DELETE:
        if (!SendMessage(DTM_GETMONTHCAL)) {
            m_bCleared = TRUE;
            FocusList();
            return;
        }
        break;
    default:
        break;
    }
    CDatePickerCtrl::OnKeyUp(nChar, nRepCnt, nFlags);
}

void CGridCalendarWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    CDatePickerCtrl::OnActivate(nState, pWndOther, bMinimized);
    if (nState == WA_INACTIVE)
        FocusList();
}

BOOL CGridCalendarWnd::OnCloseUp(NMHDR* pNotify, LRESULT* pResult)
{
    const BOOL bHandled = CDatePickerCtrl::OnCloseUp(pNotify, pResult);
    // The calendar closes while the activation moves back to the top-level
    // window, which may take the focus on the way: the editor takes it back
    // once that has settled, so that the move does not end the edit.
    PostMessage(g_nMsgTakeFocusBack);
    return bHandled;
}

LRESULT CGridCalendarWnd::OnTakeFocusBack(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    SetFocus();
    return 0;
}

void CGridCalendarWnd::OnKillFocus(CWnd* pNewWnd)
{
    if (pNewWnd && pNewWnd->m_hWnd == m_hWnd)
        return;
    CDatePickerCtrl::OnKillFocus(pNewWnd);
    if (!pNewWnd)
        return;
    char szClass[32] {};
    GetClassName(pNewWnd->m_hWnd, szClass, sizeof(szClass));
    if (std::strcmp(szClass, CALENDAR_CLASS) == 0)
        return;
    NMLVDISPINFO info {};
    info.item.mask = LVIF_PARAM;
    if (m_bCancelled) {
        info.item.lParam = VALUE_UNCHANGED;
    } else if (m_bCleared) {
        info.item.lParam = VALUE_CLEARED;
    } else {
        SYSTEMTIME st {};
        GetOleTime().GetAsSystemTime(st);
        const auto nValue = static_cast<LPARAM>(CTime(st).GetTime());
        info.item.lParam = nValue == m_lInitial ? VALUE_UNCHANGED : nValue;
    }
    SendGridEditEnd(this, m_nItem, m_nColumn, info);
}
