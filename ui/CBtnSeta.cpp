#include "ui/CBtnSeta.h"

#include "platform/framework/MessageMap.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/Rects.h"
#include "ui/DropTargets.h"

IMPLEMENT_DYNAMIC(CBtnSeta, CButton)

BEGIN_MESSAGE_MAP(CBtnSeta, CButton)
    ON_WM_DESTROY()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_LBUTTONUP()
    ON_WM_TIMER()
END_MESSAGE_MAP()

void CBtnSeta::PostCommand()
{
    if (CWnd* pParent = GetParent())
        pParent->PostMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), 0), reinterpret_cast<LPARAM>(m_hWnd));
}

void CBtnSeta::StartRepeat()
{
    if (m_nTimer)
        return;
    m_bTracking = TRUE;
    m_bShownPushed = TRUE;
    SendMessage(BM_SETSTATE, 1, 0);
    PostCommand();
    m_nTimer = SetTimer(TIMER_FIRST_DELAY, FIRST_DELAY_MS, nullptr);
}

void CBtnSeta::StopRepeat()
{
    if (!m_nTimer)
        return;
    KillTimer(m_nTimer);
    m_nTimer = 0;
    SendMessage(BM_SETSTATE, 0, 0);
    m_bTracking = FALSE;
    m_bShownPushed = FALSE;
}

DROPEFFECT CBtnSeta::DropOver(CKadDragObj* /*pPayload*/, UINT /*nKeyState*/, int /*x*/, int /*y*/)
{
    return DROPEFFECT_NONE;
}

BOOL CBtnSeta::DropTake(CKadDragObj* /*pPayload*/, DROPEFFECT /*effect*/)
{
    return FALSE;
}

void CBtnSeta::OnDestroy()
{
    RegisterDropTarget(this, FALSE);
    StopRepeat();
    CButton::OnDestroy();
}

void CBtnSeta::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_bTracking) {
        RECT client {};
        GetClientRect(&client);
        const BOOL bInside = PtInRect(&client, point);
        if (bInside != m_bShownPushed) {
            m_bShownPushed = bInside;
            SendMessage(BM_SETSTATE, bInside ? 1 : 0, 0);
        }
    }
    CButton::OnMouseMove(nFlags, point);
}

void CBtnSeta::OnLButtonDown(UINT /*nFlags*/, CPoint /*point*/)
{
    SetCapture();
    StartRepeat();
}

void CBtnSeta::OnLButtonDblClk(UINT /*nFlags*/, CPoint /*point*/)
{
    SetCapture();
    StartRepeat();
}

void CBtnSeta::OnLButtonUp(UINT /*nFlags*/, CPoint /*point*/)
{
    StopRepeat();
    ReleaseCapture();
}

void CBtnSeta::OnTimer(UINT_PTR nIDEvent)
{
    CButton::OnTimer(nIDEvent);
    if (!IsWindowEnabled()) {
        StopRepeat();
        return;
    }
    if (nIDEvent == TIMER_FIRST_DELAY) {
        KillTimer(TIMER_FIRST_DELAY);
        m_nTimer = SetTimer(TIMER_REPEAT, REPEAT_MS, nullptr);
    }
    if ((nIDEvent == TIMER_FIRST_DELAY || nIDEvent == TIMER_REPEAT) && (SendMessage(BM_GETSTATE) & BST_PUSHED))
        PostCommand();
}

void DrawArrowFrame(LPDRAWITEMSTRUCT lpDrawItemStruct, UINT nArrowState)
{
    UINT nState = nArrowState;
    if (lpDrawItemStruct->itemState & ODS_DISABLED)
        nState |= DFCS_INACTIVE;
    else if (lpDrawItemStruct->itemState & ODS_SELECTED)
        nState |= DFCS_PUSHED;
    RECT rect = lpDrawItemStruct->rcItem;
    DrawFrameControl(lpDrawItemStruct->hDC, &rect, DFC_SCROLL, nState);
}
