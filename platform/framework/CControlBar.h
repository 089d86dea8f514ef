#pragma once

// CControlBar: a bar along an edge of a frame (the toolbar, the status bar,
// dialog bars), docked on one of the frame's dock sides, floating in a small
// tool frame, or placed by its alignment alone.
//
// Layout: the frame's RecalcLayout hands every child WM_SIZEPARENT; a bar that
// sits directly in the frame takes its aligned edge (CalcFixedLayout
// stretched), a docked bar is placed by its dock side (CDockBar), a floating
// one by its small frame. CBRS_SIZE_DYNAMIC bars are sized by
// CalcDynamicLayout instead.
//
// Commands: the bar's own map (and reflection) sees WM_COMMAND, WM_NOTIFY and
// the owner-draw messages of its controls first; what it does not handle goes
// to its owner, the frame it was made in, whether docked or floating.
//
// Update UI: at idle (WM_IDLEUPDATECMDUI) a visible bar updates its items
// through OnUpdateCmdUI with the owner frame as the target.
//
// Tips and prompts: with CBRS_TOOLTIPS the item under a resting mouse shows the
// part after "\n" of its command's string as a tip; with CBRS_FLYBY the part
// before it shows in the frame's status bar, and the idle prompt comes back
// once the mouse has left the bar.

#include "platform/framework/AfxFrameIds.h"
#include "platform/framework/CRect.h"
#include "platform/framework/CSize.h"
#include "platform/framework/CWnd.h"

#include <memory>

class CDockBar;
class CDockContext;
class CToolTipCtrl;
struct TOOLINFO;

class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)
    DECLARE_MESSAGE_MAP()

public:
    CControlBar();
    ~CControlBar() override;

    /* Styles and docking. */

    DWORD GetBarStyle() const { return m_dwStyle; }
    // Sets the CBRS_* bits; a change of borders lays the bar out again.
    void SetBarStyle(DWORD dwStyle);
    // The sides (CBRS_ALIGN_*) the user may dock the bar on; 0: none (it may still float).
    void EnableDocking(DWORD dwDockStyle);
    BOOL IsFloating() const { return (m_dwStyle & CBRS_FLOATING) != 0; }
    // Whether the bar would show: its own WS_VISIBLE (the frame around it aside).
    virtual BOOL IsVisible() const;
    virtual BOOL IsDockBar() const { return FALSE; }
    // The frame the bar belongs to (its owner), docked or floating.
    CFrameWnd* GetDockingFrame() const { return m_pDockSite; }

    /* Size. */

    // The size of the bar with its borders; with bStretch as long as its side (32767).
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    // The size for nLength (a width, or with LM_LENGTHY a height; -1: the natural one) in mode LM_*.
    // The base gives CalcFixedLayout's.
    virtual CSize CalcDynamicLayout(int nLength, DWORD dwMode);

    /* Update UI, tips and prompts. */

    // Updates the bar's items with pTarget's update handlers.
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;
    // The command of the item under the point (client coordinates), or -1; fills
    // pTI's uId and rect (client coordinates) when given.
    virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const;
    // The tip of the item of command nID: the part of the command's string after "\n".
    virtual CString GetToolTipText(UINT nID) const;

    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    CFrameWnd* m_pDockSite { nullptr };           // the frame the bar was made in
    CDockBar* m_pDockBar { nullptr };             // the side holding the bar, nullptr when it sits in the frame itself
    std::unique_ptr<CDockContext> m_pDockContext; // set by EnableDocking: dragging and the last places
    DWORD m_dwDockStyle { 0 };                    // the sides the bar docks on
    int m_nMRUWidth { 32767 };                    // the floating length given to CalcDynamicLayout

protected:
    // What the bar's window has around its client area on each side: the
    // padding below plus, while docked, the CBRS_BORDER_* strips.
    CRect GetInsets() const;
    // A client size with the insets added.
    CSize AddInsets(CSize sizeClient) const;

    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnDestroy();
    void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    void OnNcPaint();
    LRESULT OnNcHitTest(CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnCaptureChanged(CWnd* pWnd);
    void OnTimer(UINT_PTR nIDEvent);
    LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    BOOL OnToolTipText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);

    DWORD m_dwStyle { 0 };    // CBRS_*
    int m_cxLeftBorder { 0 }; // padding inside the border strips
    int m_cxRightBorder { 0 };
    int m_cyTopBorder { 0 };
    int m_cyBottomBorder { 0 };

private:
    // Follows the mouse for tips and fly-by prompts (pMsg: a mouse message to the bar or a descendant).
    void FilterToolTipMessage(const MSG* pMsg);
    void SetFlyByPrompt(INT_PTR nHit);

    std::unique_ptr<CToolTipCtrl> m_pToolTip; // made on the first mouse move with CBRS_TOOLTIPS
    INT_PTR m_nToolHit { -1 };                // the tool the tip holds
    INT_PTR m_nFlyByHit { -1 };               // the item whose prompt shows
};
