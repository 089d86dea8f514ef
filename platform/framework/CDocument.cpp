#include "platform/framework/CDocument.h"

#include "platform/framework/CDocTemplate.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CView.h"
#include "platform/framework/IndexPosition.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

CDocument::~CDocument()
{
    // Views that outlive their document forget it.
    for (CView* pView : m_viewList)
        pView->m_pDocument = nullptr;
    if (m_pDocTemplate)
        m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCTSTR lpszTitle)
{
    m_strTitle = lpszTitle ? lpszTitle : "";
    for (CView* pView : m_viewList) {
        if (CFrameWnd* pFrame = pView->GetParentFrame())
            pFrame->OnUpdateFrameTitle(TRUE);
    }
}

/***** Views *****/

POSITION CDocument::GetFirstViewPosition() const
{
    return FirstIndexPosition(m_viewList);
}

CView* CDocument::GetNextView(POSITION& rPosition) const
{
    return NextAtIndexPosition(m_viewList, rPosition);
}

void CDocument::AddView(CView* pView)
{
    if (std::find(m_viewList.begin(), m_viewList.end(), pView) != m_viewList.end())
        return;
    m_viewList.push_back(pView);
    pView->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* pView)
{
    auto it = std::find(m_viewList.begin(), m_viewList.end(), pView);
    if (it == m_viewList.end())
        return;
    m_viewList.erase(it);
    pView->m_pDocument = nullptr;
    OnChangedViewList(); // may delete this
}

void CDocument::OnChangedViewList()
{
    if (m_viewList.empty() && m_bAutoDelete && !m_bClosing) {
        OnCloseDocument();
        return;
    }
    for (CView* pView : m_viewList) {
        if (CFrameWnd* pFrame = pView->GetParentFrame())
            pFrame->OnUpdateFrameTitle(TRUE);
    }
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint)
{
    for (CView* pView : std::vector<CView*>(m_viewList)) {
        if (pView != pSender)
            pView->OnUpdate(pSender, lHint, pHint);
    }
}

/***** Life cycle *****/

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument()
{
    // Destroying a frame destroys its views, which leave the list; each frame goes once.
    BOOL bAutoDelete = m_bAutoDelete;
    m_bClosing = true;
    while (!m_viewList.empty()) {
        CView* pView = m_viewList.front();
        CFrameWnd* pFrame = pView->GetParentFrame();
        if (pFrame)
            pFrame->DestroyWindow();
        if (!m_viewList.empty() && m_viewList.front() == pView)
            RemoveView(pView); // a view without a frame, or one its frame kept
    }
    m_bClosing = false;
    DeleteContents();
    if (bAutoDelete)
        delete this;
}

void CDocument::DeleteContents() { }

BOOL CDocument::SaveModified()
{
    return TRUE;
}

BOOL CDocument::CanCloseFrame(CFrameWnd* pFrame)
{
    for (CView* pView : m_viewList) {
        if (pView->GetParentFrame() != pFrame)
            return TRUE; // another frame still shows the document
    }
    return SaveModified();
}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocTemplate && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
