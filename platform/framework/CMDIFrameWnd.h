#pragma once

// CMDIFrameWnd: a main frame whose client area is an MDI client window (the
// pane AFX_IDW_PANE_FIRST) holding CMDIChildWnd document frames.
//
// Routing: the active child first (its active view, the view's document, the
// template, the child frame), then this frame and the application. The menu
// bar shows the active child's template menu, or the frame's own menu while
// no child is active. WS_HSCROLL and WS_VSCROLL of the frame's create style
// go to the MDI client, which shows them only while a child lies outside it.

#include "platform/framework/CFrameWnd.h"

class CMDIChildWnd;

class CMDIFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIFrameWnd)
    DECLARE_MESSAGE_MAP()

public:
    CMDIFrameWnd() = default;

    /* The MDI client. */

    // Makes the MDI client; pWindowMenu is the menu that lists the children (may be null).
    virtual BOOL CreateClient(LPCREATESTRUCT lpCreateStruct, CMenu* pWindowMenu);
    void MDIActivate(CWnd* pWndActivate);
    // The active child, with *pbMaximized whether it is maximized; nullptr when none is.
    CMDIChildWnd* MDIGetActive(BOOL* pbMaximized = nullptr) const;
    void MDIMaximize(CWnd* pWnd);
    void MDIRestore(CWnd* pWnd);
    void MDINext();
    void MDIPrev();
    // Sets the frame's menu (null: keep it); returns the menu it replaced.
    CMenu* MDISetMenu(CMenu* pFrameMenu, CMenu* pWindowMenu);

    /* Frame behaviour. */

    CFrameWnd* GetActiveFrame() override;
    CDocument* GetActiveDocument() override;
    // The active child's menu, else the frame's own (hMenuAlt when given).
    virtual void OnUpdateFrameMenu(HMENU hMenuAlt);
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    HWND m_hWndMDIClient { nullptr };

protected:
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    void OnDestroy();
};
