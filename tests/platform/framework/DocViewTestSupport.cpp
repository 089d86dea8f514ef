#include "DocViewTestSupport.h"

IMPLEMENT_DYNCREATE(CTestDoc, CDocument)
IMPLEMENT_DYNCREATE(CTestView, CView)
IMPLEMENT_DYNCREATE(CTestFrame, CFrameWnd)

// clang-format off
BEGIN_MESSAGE_MAP(CTestDoc, CDocument)
    ON_COMMAND(ID_DOCUMENT_COMMAND, &CTestDoc::OnDocumentCommand)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CTestView, CView)
    ON_WM_CREATE()
    ON_COMMAND(ID_VIEW_COMMAND, &CTestView::OnViewCommand)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
    ON_COMMAND(ID_FRAME_COMMAND, &CTestFrame::OnFrameCommand)
END_MESSAGE_MAP()
// clang-format on
