// CWnd's relations to frame windows: the frame that holds a window, and
// descendants found by control ID.

#include "platform/framework/CFrameWnd.h"

#include <deque>

CFrameWnd* CWnd::GetParentFrame() const
{
    for (HWND hWnd = ::GetParent(m_hWnd); hWnd; hWnd = ::GetParent(hWnd)) {
        CWnd* pWnd = FromHandlePermanent(hWnd);
        if (pWnd && pWnd->IsFrameWnd())
            return static_cast<CFrameWnd*>(pWnd);
        if (!(::GetWindowLong(hWnd, GWL_STYLE) & WS_CHILD))
            break;
    }
    return nullptr;
}

CFrameWnd* CWnd::GetTopLevelFrame() const
{
    CFrameWnd* pFrame = IsFrameWnd() ? static_cast<CFrameWnd*>(const_cast<CWnd*>(this)) : GetParentFrame();
    while (pFrame) {
        CFrameWnd* pOuter = pFrame->GetParentFrame();
        if (!pOuter)
            break;
        pFrame = pOuter;
    }
    return pFrame;
}

CWnd* CWnd::GetDescendantWindow(int nID, BOOL bOnlyPerm) const
{
    std::deque<HWND> pending;
    for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
        pending.push_back(hChild);
    while (!pending.empty()) {
        HWND hWnd = pending.front();
        pending.pop_front();
        if (::GetDlgCtrlID(hWnd) == nID) {
            CWnd* pWnd = bOnlyPerm ? FromHandlePermanent(hWnd) : FromHandle(hWnd);
            if (pWnd)
                return pWnd;
        }
        for (HWND hChild = ::GetWindow(hWnd, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
            pending.push_back(hChild);
    }
    return nullptr;
}
