#pragma once

// CToolBar: the control bar whose window is a toolbar control. Its buttons
// come from a TOOLBAR resource (LoadToolBar: the image size and the button
// commands, 0 for a separator) and the bitmap of the same ID, whose images go
// to the buttons in order. A click sends the button's command to the bar's
// owner frame, where it enters the frame's routing.
//
// Update UI: each button (not separators) asks the bar's own update entries,
// then the frame's routing: Enable enables the button, SetCheck checks it (1)
// or makes it indeterminate (2), SetText sets the button's tip (the menu
// words without their mnemonic and shortcut; "" gives the tip of the
// command's string back); a button no target handles is disabled.
//
// Button styles (GetButtonInfo, SetButtonInfo) are MAKELONG(TBSTYLE_*, state)
// with the enabled state inverted: TBBS_DISABLED.

#include "platform/framework/CControlBar.h"
#include "platform/framework/CToolBarCtrl.h"

#include <map>

// clang-format off
constexpr UINT TBBS_BUTTON        = MAKELONG(TBSTYLE_BUTTON, 0);
constexpr UINT TBBS_SEPARATOR     = MAKELONG(TBSTYLE_SEP, 0);
constexpr UINT TBBS_CHECKBOX      = MAKELONG(TBSTYLE_CHECK, 0);
constexpr UINT TBBS_CHECKED       = MAKELONG(0, TBSTATE_CHECKED);
constexpr UINT TBBS_PRESSED       = MAKELONG(0, TBSTATE_PRESSED);
constexpr UINT TBBS_DISABLED      = MAKELONG(0, TBSTATE_ENABLED);
constexpr UINT TBBS_HIDDEN        = MAKELONG(0, TBSTATE_HIDDEN);
constexpr UINT TBBS_INDETERMINATE = MAKELONG(0, TBSTATE_INDETERMINATE);
// clang-format on

class CToolBar : public CControlBar {
    DECLARE_DYNAMIC(CToolBar)
    DECLARE_MESSAGE_MAP()

public:
    CToolBar();

    // Makes the bar in pParentWnd: dwStyle holds window styles and CBRS_* bar styles.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT nID = AFX_IDW_TOOLBAR);
    // The buttons and images of the TOOLBAR resource nIDResource and its bitmap; FALSE, changing
    // nothing, when either is missing or the toolbar is damaged.
    BOOL LoadToolBar(UINT nIDResource);
    // Replaces the buttons: one per command, ID_SEPARATOR for a gap; images in order.
    BOOL SetButtons(const UINT* lpIDArray, int nIDCount);

    /* Buttons. */

    int GetCount() const;
    int CommandToIndex(UINT nIDFind) const;
    UINT GetItemID(int nIndex) const;
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    void GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const;
    void SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage);
    UINT GetButtonStyle(int nIndex) const;
    void SetButtonStyle(int nIndex, UINT nStyle);
    // The same window seen as its toolbar control.
    CToolBarCtrl& GetToolBarCtrl() const { return m_ctrl; }
    // The tip of command nID's button from now on, as an update handler's SetText gives it.
    void SetButtonTip(UINT nID, LPCTSTR lpszText);

    /* Control bar. */

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;
    CString GetToolTipText(UINT nID) const override;

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnDestroy();

private:
    // The size of the button row, borders included.
    CSize RowSize() const;

    mutable CToolBarCtrl m_ctrl;    // a second object over the bar's window, never attached
    std::map<UINT, CString> m_tips; // tips set by update handlers, by command
};
