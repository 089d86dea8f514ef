#pragma once

// CMiniDockFrameWnd: the small tool frame a floating control bar lives in,
// owned by the bar's frame. Its client area is one floating dock side holding
// the bar; the frame takes the bar's floating size (CalcDynamicLayout for
// CBRS_SIZE_DYNAMIC bars), its caption the bar's window text, and it shows
// only while the bar does. Its close box hides the bar. Dragging the caption
// of a docking bar's frame can dock the bar again (CDockContext).
// The frame deletes itself once destroyed.

#include "platform/framework/CDockBar.h"
#include "platform/framework/CFrameWnd.h"

class CMiniDockFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMiniDockFrameWnd)
    DECLARE_MESSAGE_MAP()

public:
    CMiniDockFrameWnd() = default;

    // Makes the hidden frame owned by pParent; dwBarStyle: the alignment its bar floats with.
    BOOL Create(CWnd* pParent, DWORD dwBarStyle);
    // Sizes the frame to its bar, shows it while the bar is visible, hides it otherwise.
    void RecalcLayout(BOOL bNotify = TRUE) override;
    CControlBar* GetBar() const { return m_wndDockBar.GetFirstBar(); }
    // The floating frame holding pBar, or nullptr when it is not floating.
    static CMiniDockFrameWnd* FromBar(const CControlBar* pBar);

    CDockBar m_wndDockBar { TRUE };

protected:
    void OnClose();
    void OnNcLButtonDown(UINT nHitTest, CPoint point);
    LRESULT OnNcLButtonDblClk(WPARAM wParam, LPARAM lParam);
};
