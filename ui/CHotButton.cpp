#include "ui/CHotButton.h"

#include "platform/framework/MessageMap.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/Rects.h"
#include "platform/gdi/SysColors.h"
#include "ui/AppPalette.h"
#include "ui/DrawDisabledImage.h"

#include <array>

BEGIN_MESSAGE_MAP(CHotButton, CButton)
    ON_WM_DESTROY()
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
END_MESSAGE_MAP()

namespace {

/* The arrow: a triangle pointing down, its left corner this far from the right edge. */
constexpr int ARROW_WIDTH = 6;
constexpr int ARROW_HEIGHT = 3;
constexpr int ARROW_RIGHT_GAP = 9;
constexpr int FOCUS_INSET = 4;

} // namespace

void CHotButton::StopDwelling()
{
    KillTimer(TIMER_DWELL);
    KillTimer(TIMER_LEAVE_CHECK);
    m_bDwelling = FALSE;
}

void CHotButton::OnDestroy()
{
    KillTimer(TIMER_LEAVE_CHECK);
    KillTimer(TIMER_DWELL);
    CButton::OnDestroy();
}

void CHotButton::OnMouseMove(UINT nFlags, CPoint point)
{
    CButton::OnMouseMove(nFlags, point);
    if (GetState() & BST_PUSHED)
        return;
    if (!m_bDwelling) {
        SetTimer(TIMER_DWELL, DWELL_MS, nullptr);
        m_bDwelling = TRUE;
    }
    SetTimer(TIMER_LEAVE_CHECK, LEAVE_CHECK_MS, nullptr);
}

void CHotButton::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == TIMER_DWELL) {
        StopDwelling();
        if (!(GetState() & BST_PUSHED)) {
            if (CWnd* pParent = GetParent())
                pParent->PostMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), 0), reinterpret_cast<LPARAM>(m_hWnd));
        }
        return;
    }
    if (nIDEvent == TIMER_LEAVE_CHECK) {
        RECT window {};
        GetWindowRect(&window);
        POINT cursor {};
        GetCursorPos(&cursor);
        if (!PtInRect(&window, cursor))
            StopDwelling();
        return;
    }
    CButton::OnTimer(nIDEvent);
}

void CHotButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    RealizeAppPalette(pDC);
    RECT rect = lpDrawItemStruct->rcItem;
    const UINT nItemState = lpDrawItemStruct->itemState;
    const bool bDisabled = (nItemState & ODS_DISABLED) != 0;
    const bool bPushed = !bDisabled && (nItemState & ODS_SELECTED);
    UINT nFace = DFCS_BUTTONPUSH;
    if (bDisabled)
        nFace |= DFCS_INACTIVE;
    else if (bPushed)
        nFace |= DFCS_PUSHED;
    pDC->DrawFrameControl(&rect, DFC_BUTTON, nFace);

    RECT text = lpDrawItemStruct->rcItem;
    const int nShift = bPushed ? 1 : 0;
    OffsetRect(&text, nShift, nShift);
    CString strText;
    GetWindowText(strText);
    const COLORREF crText = GetSysColor(COLOR_BTNTEXT);
    const COLORREF crOldText = pDC->SetTextColor(crText);
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(strText, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    pDC->SetBkMode(nOldMode);
    pDC->SetTextColor(crOldText);

    if (nItemState & ODS_FOCUS) {
        RECT focus = lpDrawItemStruct->rcItem;
        InflateRect(&focus, -FOCUS_INSET, -FOCUS_INSET);
        pDC->DrawFocusRect(&focus);
    }

    const int nHeight = lpDrawItemStruct->rcItem.bottom - lpDrawItemStruct->rcItem.top;
    const int x = lpDrawItemStruct->rcItem.right - ARROW_RIGHT_GAP + nShift;
    const int y = lpDrawItemStruct->rcItem.top + (nHeight - 7) / 2 + nShift;
    const std::array<POINT, 3> arrow { POINT { x, y }, POINT { x + ARROW_WIDTH, y },
        POINT { x + ARROW_WIDTH / 2, y + ARROW_HEIGHT } };
    CPen pen(PS_SOLID, 1, crText);
    CBrush brush(crText);
    CPen* pOldPen = pDC->SelectObject(&pen);
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    pDC->Polygon(arrow.data(), static_cast<int>(arrow.size()));
    pDC->SelectObject(pOldBrush);
    pDC->SelectObject(pOldPen);

    if (bDisabled) {
        DrawDisabledImage(pDC, lpDrawItemStruct->rcItem, GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNHIGHLIGHT),
            GetSysColor(COLOR_BTNSHADOW));
    }
}
