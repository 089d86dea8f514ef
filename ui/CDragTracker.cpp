#include "ui/CDragTracker.h"

#include "platform/framework/CWnd.h"
#include "ui/DropTargets.h"

void CDragTracker::Begin(CWnd* pSource, CKadDragObj* pPayload, CImageList* pImage, int x, int y)
{
    m_pSource = pSource;
    m_pPayload = pPayload;
    m_pImage = pImage;
    g_dragSource = pSource;
    pSource->SetCapture();
    m_hPreviousCursor = GetCursor();
    m_effect = DROPEFFECT_NONE;
    m_hResult = 0;
    // An Esc pressed before the drag began must not cancel it at the first move.
    GetAsyncKeyState(VK_ESCAPE);
    GetAsyncKeyState(VK_LBUTTON);
    SetCursor(DragCursorForEffect(DROPEFFECT_NONE));
    EnterTarget(WindowFromPoint(POINT { x, y }));
}

CKadDropTarget* CDragTracker::Target()
{
    if (!m_hTarget || !IsWindow(m_hTarget) || CWnd::FromHandlePermanent(m_hTarget) != m_pTarget)
        return nullptr;
    m_nIndex = FindDropTarget(m_pTarget);
    return m_nIndex >= 0 ? dynamic_cast<CKadDropTarget*>(m_pTarget) : nullptr;
}

void CDragTracker::EnterTarget(HWND hWnd)
{
    m_hTarget = hWnd;
    m_pTarget = hWnd ? CWnd::FromHandlePermanent(hWnd) : nullptr;
    m_nIndex = m_pTarget ? FindDropTarget(m_pTarget) : -1;
    if (m_nIndex >= 0 && GetDropTargetKind(m_nIndex) == 0)
        m_nIndex = -1;
    if (CKadDropTarget* pTarget = m_nIndex >= 0 ? Target() : nullptr)
        pTarget->DropEnter();
}

void CDragTracker::LeaveTarget()
{
    if (CKadDropTarget* pTarget = m_nIndex >= 0 ? Target() : nullptr)
        pTarget->DropLeave();
    m_nIndex = -1;
}

void CDragTracker::Move(UINT nKeyState, int x, int y)
{
    const POINT pt { x, y };
    HWND hUnder = WindowFromPoint(pt);
    if (hUnder != m_hTarget) {
        LeaveTarget();
        EnterTarget(hUnder);
    }
    // Read now, which also clears what was pressed since the last read.
    const SHORT nLeft = GetAsyncKeyState(VK_LBUTTON);
    const SHORT nEscape = GetAsyncKeyState(VK_ESCAPE);

    m_effect = DROPEFFECT_NONE;
    if (CKadDropTarget* pTarget = m_nIndex >= 0 ? Target() : nullptr) {
        POINT client = pt;
        ScreenToClient(m_hTarget, &client);
        m_effect = pTarget->DropOver(m_pPayload, nKeyState, client.x, client.y);
    }
    SetCursor(DragCursorForEffect(m_effect));

    if (!(nLeft & 0x8000))
        m_hResult = DRAGDROP_S_DROP;
    if (nEscape & 0x8001)
        m_hResult = DRAGDROP_S_CANCEL;
}

void CDragTracker::KeyChanged(UINT nVirtualKey, bool bDown)
{
    if (!m_hTarget || m_effect == DROPEFFECT_NONE)
        return;
    const bool bShift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    const bool bControl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    UINT nKeyState = 0;
    if (nVirtualKey == VK_SHIFT)
        nKeyState = (bDown ? MK_SHIFT : 0) | (bControl ? MK_CONTROL : 0);
    else if (nVirtualKey == VK_CONTROL)
        nKeyState = (bDown ? MK_CONTROL : 0) | (bShift ? MK_SHIFT : 0);
    else
        return;
    POINT pt {};
    GetCursorPos(&pt);
    Move(nKeyState, pt.x, pt.y);
}

BOOL CDragTracker::FilterMessage(MSG* pMsg)
{
    if (m_hResult != 0)
        return FALSE;
    switch (pMsg->message) {
    case WM_LBUTTONUP:
        m_hResult = DRAGDROP_S_DROP;
        return FALSE;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        m_hResult = DRAGDROP_S_CANCEL;
        return TRUE;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (pMsg->wParam == VK_MENU)
            return FALSE;
        if (pMsg->wParam == VK_ESCAPE) {
            m_hResult = DRAGDROP_S_CANCEL;
            return TRUE;
        }
        KeyChanged(static_cast<UINT>(pMsg->wParam), true);
        return TRUE;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (pMsg->wParam == VK_MENU)
            return FALSE;
        KeyChanged(static_cast<UINT>(pMsg->wParam), false);
        return TRUE;
    default:
        return FALSE;
    }
}

DROPEFFECT CDragTracker::End()
{
    if (!m_pPayload)
        return DROPEFFECT_NONE;
    ReleaseCapture();
    SetCursor(m_hPreviousCursor);
    g_dragSource = nullptr;
    if (m_hResult == DRAGDROP_S_CANCEL)
        m_effect = DROPEFFECT_NONE;
    CKadDropTarget* pTarget = m_nIndex >= 0 ? Target() : nullptr;
    if (m_effect != DROPEFFECT_NONE && (!pTarget || !pTarget->DropTake(m_pPayload, m_effect)))
        m_effect = DROPEFFECT_NONE;
    if (m_effect == DROPEFFECT_NONE)
        LeaveTarget();
    m_pPayload = nullptr;
    return m_effect;
}
