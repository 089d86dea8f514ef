#include "frame/CPaneView.h"

#include "frame/AppMessages.h"

IMPLEMENT_DYNAMIC(CPaneView, CView)

// clang-format off
BEGIN_MESSAGE_MAP(CPaneView, CView)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_REGISTERED_MESSAGE(g_nMsgSelChanged, &CPaneView::OnForward)
    ON_REGISTERED_MESSAGE(g_nMsgSelDrawn, &CPaneView::OnForward)
    ON_REGISTERED_MESSAGE(g_nMsgSysDoubleClick, &CPaneView::OnForward)
    ON_REGISTERED_MESSAGE(g_nMsgItemChanged, &CPaneView::OnForward)
END_MESSAGE_MAP()
// clang-format on

void CPaneView::OnDraw(CDC*)
{
    // The control covers the whole view.
}

LRESULT CPaneView::SendToFrame(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    CWnd* pSplitter = GetParent();
    CWnd* pFrame = pSplitter ? pSplitter->GetParent() : nullptr;
    return pFrame ? pFrame->SendMessage(nMessage, wParam, lParam) : 0;
}

int CPaneView::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CView::OnCreate(lpCreateStruct) == -1 || !CreateControl())
        return -1;
    return 0;
}

void CPaneView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    if (CWnd* pControl = GetControl(); pControl && pControl->GetSafeHwnd())
        pControl->MoveWindow(0, 0, cx, cy);
}

void CPaneView::OnSetFocus(CWnd* pOldWnd)
{
    CView::OnSetFocus(pOldWnd);
    if (CWnd* pControl = GetControl(); pControl && pControl->GetSafeHwnd())
        pControl->SetFocus();
}

LRESULT CPaneView::OnForward(WPARAM wParam, LPARAM lParam)
{
    return SendToFrame(GetCurrentMessage()->message, wParam, lParam);
}
