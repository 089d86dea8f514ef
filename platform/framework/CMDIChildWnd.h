#pragma once

// CMDIChildWnd: a document frame inside the main frame's MDI client. Made
// hidden; InitialUpdateFrame shows and activates it (maximized while the
// active child is maximized, or as its create style asked). While active, the
// main frame shows the child's template menu and uses its accelerators.
// Its default window procedure is DefMDIChildProc.

#include "platform/framework/CFrameWnd.h"

class CMDIFrameWnd;

class CMDIChildWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIChildWnd)
    DECLARE_MESSAGE_MAP()

public:
    CMDIChildWnd() = default;

    // Makes the child in pParentWnd's MDI client (the application's main window when null).
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
        DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, const RECT& rect = rectDefault,
        CMDIFrameWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    // The menu and accelerators come from the context's template; the icon from nIDResource.
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_CHILD | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
        CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;

    CMDIFrameWnd* GetMDIFrame() const;
    void MDIActivate();
    void MDIMaximize();
    void MDIRestore();
    void MDIDestroy();

    // Shows the child (nCmdShow -1: as the active child and the create style say) and activates it.
    void ActivateFrame(int nCmdShow = -1) override;
    // Puts the child's menu (bActivate) or the frame's own on the main frame.
    virtual void OnUpdateFrameMenu(BOOL bActivate, CWnd* pActivateWnd, HMENU hMenuAlt);
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    HMENU m_hMenuShared { nullptr };   // the template's menu (not owned)
    HACCEL m_hAccelShared { nullptr }; // the template's accelerators (not owned)

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);

private:
    DWORD m_dwShowState { 0 }; // WS_MAXIMIZE or WS_MINIMIZE asked by the create style
};
