#pragma once

// CPaneView: a pane of a catalog view in its first form: a view holding one
// control that fills it and takes the focus. The tree and the list announce
// what the user selects with registered messages; the pane passes those on to
// its catalog view's frame, the parent of the splitter that holds the pane.

#include "platform/framework/CView.h"

class CPaneView : public CView {
    DECLARE_DYNAMIC(CPaneView)
    DECLARE_MESSAGE_MAP()

public:
    void OnDraw(CDC* pDC) override;

protected:
    CPaneView() = default;

    // Makes the pane's control as a child of the view; FALSE fails the view.
    virtual BOOL CreateControl() = 0;
    // The control, once made.
    virtual CWnd* GetControl() = 0;
    // Sends a registered message to the catalog view's frame.
    LRESULT SendToFrame(UINT nMessage, WPARAM wParam, LPARAM lParam);

    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnSize(UINT nType, int cx, int cy);
    void OnSetFocus(CWnd* pOldWnd);
    LRESULT OnForward(WPARAM wParam, LPARAM lParam);
};
