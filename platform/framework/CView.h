#pragma once

// CView: a child window that shows a document. A view made with a
// CCreateContext joins the context's document in WM_CREATE; it leaves it when
// destroyed, and the object deletes itself after its window is gone.
// Commands routed to a view reach the view and then its document, never its frame.
// A click activates the view in its frame (WM_MOUSEACTIVATE).

#include "platform/framework/CWnd.h"

class CDocument;
class CFrameWnd;

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
    DECLARE_MESSAGE_MAP()

public:
    CView() = default;
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    /* What subclasses override. */

    // Runs once after the frame made its views, before it is shown; calls OnUpdate.
    virtual void OnInitialUpdate();
    // The document changed; repaints the view.
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    // The view gains (bActivate, pActivateView == this) or loses activation in its frame.
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
    // Its frame gains or loses activation while this view is the active one.
    virtual void OnActivateFrame(UINT nState, CFrameWnd* pFrameWnd);
    virtual void OnDraw(CDC* pDC) = 0;

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnDestroy();
    void OnPaint();
    int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    LRESULT OnInitialUpdateMessage(WPARAM wParam, LPARAM lParam);
    void PostNcDestroy() override;

    CDocument* m_pDocument { nullptr };

private:
    friend class CDocument;
};
