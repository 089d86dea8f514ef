#pragma once

// CFrameWnd: a window that frames views. LoadFrame makes it from one resource
// ID (menu, accelerators, icon and the title, the first field of the ID's
// string); OnCreateClient makes the view of the creation context as the child
// AFX_IDW_PANE_FIRST, which RecalcLayout gives the client area that the
// frame's control bars leave.
//
// Control bars (CFrameWnd_Bars.cpp): the frame keeps a list of the bars made
// in it. EnableDocking makes its dock sides; bars dock on them, float in small
// tool frames owned by the frame, or sit along the edge their alignment names.
// RecalcLayout hands the children WM_SIZEPARENT in the order they were made,
// each bar or side taking its edge of what is left.
//
// Command routing: the active view (and through it its document and the
// document's template), then the frame itself, then the application.
// Update-UI of menus runs the same way when a popup opens (OnInitMenuPopup).
//
// Status prompts: WM_SETMESSAGESTRING (wParam a string ID, or lParam a text)
// shows GetMessageString's text in the status bar, the descendant with ID
// AFX_IDW_STATUS_BAR, when the frame has one.
//
// A frame deletes itself after its window is gone. Closing the main frame
// closes every document and ends the program.

#include "platform/framework/AfxFrameIds.h"
#include "platform/framework/CPoint.h"
#include "platform/framework/CWnd.h"

#include <functional>
#include <vector>

class CControlBar;
class CDockBar;
class CDockState;
class CDocument;
class CView;

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
    DECLARE_MESSAGE_MAP()

public:
    // CW_USEDEFAULT on every side: the window layer's default place and size.
    static const RECT rectDefault;

    CFrameWnd() = default;
    ~CFrameWnd() override;

    /* Creating. */

    // Makes the frame with the menu, accelerators and icon of nIDResource (each when it exists) and the
    // first field of its string as title. FWS_* bits of dwDefaultStyle stay with the frame.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
        CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
        const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr, LPCTSTR lpszMenuName = nullptr, DWORD dwExStyle = 0,
        CCreateContext* pContext = nullptr);
    // Makes the context's view as child nID; nullptr when it cannot be made.
    CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);
    // Sends every descendant WM_INITIALUPDATE (in the order they were made), activates the first pane when
    // no view is active,
    // shows the frame (with bMakeVisible) and sets its title.
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    // Shows the frame (nCmdShow -1: SW_SHOW, or SW_RESTORE when minimized) and activates it.
    virtual void ActivateFrame(int nCmdShow = -1);

    /* Layout. */

    // Bars take their edges, the pane AFX_IDW_PANE_FIRST the rest of the client area.
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    // Lays the frame out at the next idle time instead of now.
    void DelayRecalcLayout(BOOL bNotify = TRUE);

    /* Control bars (CFrameWnd_Bars.cpp). */

    // Makes the dock sides named by dwDockStyle (CBRS_ALIGN_*), once each.
    void EnableDocking(DWORD dwDockStyle);
    // Docks pBar on the side nDockBarID (0: the first of top, bottom, left, right that it accepts)
    // where lpRect (screen) falls; without lpRect on a new last row. A floating frame it leaves is destroyed.
    void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
    // Floats pBar in a small frame whose top-left corner is at point (screen), laid out with dwStyle's
    // alignment (CBRS_ALIGN_*). The frame shows only while the bar is visible.
    void FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle = CBRS_ALIGN_TOP);
    // Shows or hides pBar (and a floating bar's frame); the frame is laid out now, or at idle with bDelay.
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
    // The bar (or dock side) with that window ID, or nullptr.
    CControlBar* GetControlBar(UINT nID) const;
    // Every bar's place and visibility, and the screen's size.
    void GetDockState(CDockState& state) const;
    // Applies a loaded state in one layout pass: the state is checked against
    // the frame's bars first, and what is out of range keeps the bar's current place.
    void SetDockState(const CDockState& state);
    // The bars register themselves when made and leave when destroyed.
    void AddControlBar(CControlBar* pBar);
    void RemoveControlBar(CControlBar* pBar);
    const std::vector<CControlBar*>& GetControlBars() const { return m_listControlBars; }

    /* Views and documents. */

    CView* GetActiveView() const { return m_pViewActive; }
    // Makes pViewNew the active view, telling the old and new one with bNotify; focuses it when the
    // frame is active.
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    virtual CDocument* GetActiveDocument();
    // The frame whose view is active: this one, or for an MDI frame its active child.
    virtual CFrameWnd* GetActiveFrame() { return this; }
    BOOL IsFrameWnd() const override { return TRUE; }

    /* Title, prompts and help. */

    // With FWS_ADDTOTITLE: "document - title" (or the reverse with FWS_PREFIXTITLE).
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
    const CString& GetTitle() const { return m_strTitle; }
    void SetTitle(LPCTSTR lpszTitle) { m_strTitle = lpszTitle; }
    // The prompt of a command: its string's part before "\n"; empty when it has none.
    virtual void GetMessageString(UINT nID, CString& rMessage) const;
    void SetMessageText(LPCTSTR lpszText);
    void SetMessageText(UINT nID);
    // Shows help; the base does nothing. Help requests of the program's windows reach the main frame's.
    virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);

    /* Routing. */

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    BOOL m_bAutoMenuEnable { TRUE };  // menu items without any handler are grayed
    HMENU m_hMenuDefault { nullptr }; // the menu LoadFrame loaded (owned)
    HACCEL m_hAccelTable { nullptr }; // the accelerators LoadFrame loaded (owned)
    UINT m_nIDHelp { 0 };             // the resource ID the frame was loaded from

protected:
    /* What subclasses override. */

    // Makes the view of pContext; FALSE fails the frame's creation.
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    // The help context of this frame: HID_BASE_RESOURCE + its resource ID.
    virtual DWORD_PTR GetHelpContext();

    /* Handlers. */

    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnDestroy();
    void OnSize(UINT nType, int cx, int cy);
    void OnSetFocus(CWnd* pOldWnd);
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    void OnClose();
    BOOL OnQueryEndSession();
    void OnEndSession(BOOL bEnding);
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
    void OnEnterIdle(UINT nWhy, CWnd* pWho);
    LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    // Caps, Num and Scroll Lock indicators are enabled while their key is on.
    void OnUpdateKeyIndicator(CCmdUI* pCmdUI);
    void OnHelp();
    void OnHelpFinder();
    void PostNcDestroy() override;

    DWORD m_dwFrameStyle { 0 }; // the FWS_* bits
    CString m_strTitle;
    BOOL m_bInRecalcLayout { FALSE };

private:
    // Destroys the floating frames of the frame's bars (when the frame goes).
    void DestroyFloatingFrames();
    // Takes pBar onto pSide (fnInsert puts it in its row) out of wherever it was.
    void DockOnSide(CControlBar* pBar, CDockBar* pSide, const std::function<void()>& fnInsert);

    std::vector<CControlBar*> m_listControlBars; // made in this frame, not owned
    bool m_bLayoutDelayed { false };
    CView* m_pViewActive { nullptr };
    UINT m_nIDLastMessage { 0 }; // the prompt on show
    UINT m_nIDTracking { 0 };    // the prompt to show when the menu idles
};
