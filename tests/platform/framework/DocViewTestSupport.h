#pragma once

// Documents, views and frames for the frame-layer tests. Each logs what
// happens to it (HandlerLog) and handles a few commands, so that tests can see
// creation order and command routing.

#include "FrameworkTestSupport.h"

#include "platform/framework/CCreateContext.h"
#include "platform/framework/CDocTemplate.h"
#include "platform/framework/CDocument.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CView.h"

constexpr UINT ID_VIEW_COMMAND = 500;     // handled by every test view
constexpr UINT ID_DOCUMENT_COMMAND = 501; // handled by the test document
constexpr UINT ID_FRAME_COMMAND = 502;    // handled by the test frame
constexpr UINT ID_TEST_TEMPLATE = 128;    // a resource ID that the tests' resource module lacks

class CTestDoc : public CDocument {
    DECLARE_DYNCREATE(CTestDoc)
    DECLARE_MESSAGE_MAP()

public:
    CTestDoc() { HandlerLog::Add("document made"); }
    ~CTestDoc() override { HandlerLog::Add("document deleted"); }

protected:
    void OnDocumentCommand() { HandlerLog::Add("document command"); }
};

class CTestView : public CView {
    DECLARE_DYNCREATE(CTestView)
    DECLARE_MESSAGE_MAP()

public:
    void OnDraw(CDC*) override { }
    void OnInitialUpdate() override
    {
        CView::OnInitialUpdate();
        HandlerLog::Add("view initial update " + std::to_string(GetDlgCtrlID()));
    }
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override
    {
        CView::OnActivateView(bActivate, pActivateView, pDeactiveView);
        if (bActivate && pActivateView == this)
            HandlerLog::Add("view activated " + std::to_string(GetDlgCtrlID()));
    }

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct)
    {
        HandlerLog::Add("view created " + std::to_string(GetDlgCtrlID()));
        return CView::OnCreate(lpCreateStruct);
    }
    void OnViewCommand() { HandlerLog::Add("view command " + std::to_string(GetDlgCtrlID())); }
};

class CTestFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CTestFrame)
    DECLARE_MESSAGE_MAP()

public:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override
    {
        HandlerLog::Add("frame pre-create");
        return CFrameWnd::PreCreateWindow(cs);
    }

protected:
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override
    {
        HandlerLog::Add("frame create client");
        return CFrameWnd::OnCreateClient(lpcs, pContext);
    }
    void OnFrameCommand() { HandlerLog::Add("frame command"); }
};
