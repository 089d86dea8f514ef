#pragma once

// CStatusBar: the control bar whose window is a status bar control, split
// into panes named by indicator IDs. Pane widths come from the texts of their
// IDs (SetIndicators) or SetPaneInfo; a SBPS_STRETCH pane takes what the
// others leave. The window text is the text of the pane with ID 0, where the
// frame shows its prompts.
//
// Update UI: each pane asks the bar's own update entries, then the frame's
// routing; Enable(FALSE) gives SBPS_DISABLED (the pane shows no text),
// SetCheck(1) SBPS_POPOUT, SetText the pane's text. A pane no target handles
// is left as it is.

#include "platform/framework/CControlBar.h"
#include "platform/framework/CStatusBarCtrl.h"

#include <vector>

class CStatusBar : public CControlBar {
    DECLARE_DYNAMIC(CStatusBar)
    DECLARE_MESSAGE_MAP()

public:
    CStatusBar() = default;

    // Makes the bar in pParentWnd: dwStyle holds window styles and CBRS_* bar styles.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT nID = AFX_IDW_STATUS_BAR);
    // One pane per ID, as wide as the ID's string (ID 0: a quarter of the screen, the
    // first such pane stretching without borders); FALSE when a non-zero ID has no string.
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);

    /* Panes. */

    int GetCount() const { return static_cast<int>(m_panes.size()); }
    // The index of the first pane with that ID, or -1.
    int CommandToIndex(UINT nIDFind) const;
    UINT GetItemID(int nIndex) const;
    // The pane's rectangle in the bar's client coordinates.
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    UINT GetPaneStyle(int nIndex) const;
    void SetPaneStyle(int nIndex, UINT nStyle);
    CString GetPaneText(int nIndex) const;
    void GetPaneText(int nIndex, CString& rString) const { rString = GetPaneText(nIndex); }
    // With bUpdate the pane shows the text now. A pane of its own width
    // (not hidden, not stretching) widens to show a longer text whole.
    BOOL SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate = TRUE);
    // The same window seen as its status bar control.
    CStatusBarCtrl& GetStatusBarCtrl() const { return m_ctrl; }

    /* Control bar. */

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnDestroy();
    void OnSize(UINT nType, int cx, int cy);
    LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);

private:
    struct CPane {
        UINT nID { 0 };
        UINT nStyle { SBPS_NORMAL };
        int cxText { 0 }; // the text's width; the pane adds its borders and padding
        CString strText;
    };
    bool IsPane(int nIndex) const { return nIndex >= 0 && nIndex < GetCount(); }
    // Gives the control the panes' edges from their widths and the bar's width.
    void UpdatePaneEdges();
    // Gives the control the pane's text and border kind as its style shows them.
    void UpdatePaneText(int nIndex);
    // Sets the text widths of the panes with an ID, in the bar's font.
    void MeasureTexts(std::vector<CPane>& panes) const;
    // Widens the pane to its text where the text is wider.
    void WidenToText(CPane& pane);

    std::vector<CPane> m_panes;
    mutable CStatusBarCtrl m_ctrl; // a second object over the bar's window, never attached
};
