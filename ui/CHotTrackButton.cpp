#include "ui/CHotTrackButton.h"

#include "platform/framework/CImageList.h"
#include "platform/framework/MessageMap.h"
#include "platform/gdi/Rects.h"
#include "ui/AppPalette.h"
#include "ui/DrawDisabledImage.h"

BEGIN_MESSAGE_MAP(CHotTrackButton, CButton)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
END_MESSAGE_MAP()

namespace {

constexpr int PRESSED_SHIFT = 2;

} // namespace

void CHotTrackButton::SetColors(COLORREF crBackground, COLORREF crHighlight, COLORREF crShadow)
{
    m_crBackground = crBackground;
    m_crHighlight = crHighlight;
    m_crShadow = crShadow;
}

void CHotTrackButton::OnLButtonDown(UINT /*nFlags*/, CPoint /*point*/)
{
    m_bCaptured = TRUE;
    m_bHot = TRUE;
    SetCapture();
    SendMessage(BM_SETSTATE, 1, 0);
    Invalidate(FALSE);
}

void CHotTrackButton::OnLButtonDblClk(UINT /*nFlags*/, CPoint /*point*/) { }

void CHotTrackButton::OnLButtonUp(UINT /*nFlags*/, CPoint /*point*/)
{
    if (m_bHot) {
        if (CWnd* pParent = GetParent())
            pParent->PostMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), 0), reinterpret_cast<LPARAM>(m_hWnd));
    }
    m_bCaptured = FALSE;
    m_bHot = FALSE;
    SendMessage(BM_SETSTATE, 0, 0);
    ReleaseCapture();
}

void CHotTrackButton::OnMouseMove(UINT /*nFlags*/, CPoint point)
{
    if (m_bCaptured) {
        RECT client {};
        GetClientRect(&client);
        const BOOL bInside = PtInRect(&client, point);
        if (bInside != m_bHot) {
            m_bHot = bInside;
            SendMessage(BM_SETSTATE, bInside ? 1 : 0, 0);
        }
        return;
    }
    if (!m_bHot) {
        m_bHot = TRUE;
        SendMessage(BM_SETSTATE, 1, 0);
        SetTimer(TIMER_LEAVE_CHECK, LEAVE_CHECK_MS, nullptr);
    }
}

void CHotTrackButton::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != TIMER_LEAVE_CHECK) {
        CButton::OnTimer(nIDEvent);
        return;
    }
    RECT window {};
    GetWindowRect(&window);
    POINT cursor {};
    GetCursorPos(&cursor);
    if (!PtInRect(&window, cursor) && !m_bCaptured) {
        KillTimer(TIMER_LEAVE_CHECK);
        m_bHot = FALSE;
        SendMessage(BM_SETSTATE, 0, 0);
    }
}

void CHotTrackButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    RealizeAppPalette(pDC);
    const RECT& rect = lpDrawItemStruct->rcItem;
    IMAGEINFO info {};
    const bool bImage = m_pImageList && m_nImage >= 0 && m_pImageList->GetImageInfo(m_nImage, &info);
    const int cxImage = bImage ? info.rcImage.right - info.rcImage.left : 0;
    const int cyImage = bImage ? info.rcImage.bottom - info.rcImage.top : 0;
    POINT at { rect.left + (rect.right - rect.left - cxImage) / 2, rect.top + (rect.bottom - rect.top - cyImage) / 2 };
    const UINT nAction = lpDrawItemStruct->itemAction;
    const bool bSelected = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
    const bool bRedraw = (nAction & (ODA_DRAWENTIRE | ODA_SELECT)) != 0;

    if (bRedraw) {
        pDC->FillSolidRect(&rect, m_crBackground);
        if (bSelected && m_bCaptured) {
            pDC->Draw3dRect(&rect, m_crShadow, m_crHighlight);
            at.x += PRESSED_SHIFT;
            at.y += PRESSED_SHIFT;
        } else if (bSelected) {
            pDC->Draw3dRect(&rect, m_crHighlight, m_crShadow);
        }
        if (bImage)
            m_pImageList->Draw(pDC, m_nImage, at, ILD_TRANSPARENT);
    }
    if (lpDrawItemStruct->itemState & ODS_DISABLED)
        DrawDisabledImage(pDC, rect, m_crBackground, m_crHighlight, m_crShadow);
}
