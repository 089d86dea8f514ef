#include "platform/framework/CDocTemplate.h"

#include "platform/framework/CCreateContext.h"
#include "platform/framework/CDocument.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/IndexPosition.h"
#include "platform/window/Accelerators.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CMultiDocTemplate, CDocTemplate)

CDocTemplate::CDocTemplate(
    UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass, const CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource)
    , m_pDocClass(pDocClass)
    , m_pFrameClass(pFrameClass)
    , m_pViewClass(pViewClass)
{
}

CDocTemplate::~CDocTemplate()
{
    // Documents still open forget their template; the application closed them first.
    for (CDocument* pDoc : m_docList)
        pDoc->m_pDocTemplate = nullptr;
}

/***** Documents *****/

POSITION CDocTemplate::GetFirstDocPosition() const
{
    return FirstIndexPosition(m_docList);
}

CDocument* CDocTemplate::GetNextDoc(POSITION& rPos) const
{
    return NextAtIndexPosition(m_docList, rPos);
}

void CDocTemplate::AddDocument(CDocument* pDoc)
{
    m_docList.push_back(pDoc);
    pDoc->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument* pDoc)
{
    std::erase(m_docList, pDoc);
    if (pDoc->m_pDocTemplate == this)
        pDoc->m_pDocTemplate = nullptr;
}

/***** Making documents and frames *****/

void CDocTemplate::LoadTemplate()
{
    if (m_strDocStrings.IsEmpty())
        m_strDocStrings.LoadString(m_nIDResource);
}

CDocument* CDocTemplate::CreateNewDocument()
{
    if (!m_pDocClass)
        return nullptr;
    auto* pDocument = dynamic_cast<CDocument*>(m_pDocClass->CreateObject());
    if (!pDocument)
        return nullptr;
    AddDocument(pDocument);
    return pDocument;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther)
{
    if (!m_pFrameClass)
        return nullptr;
    CCreateContext context;
    context.m_pCurrentFrame = pOther;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    CObject* pObject = m_pFrameClass->CreateObject();
    auto* pFrame = dynamic_cast<CFrameWnd*>(pObject);
    if (!pFrame) {
        delete pObject;
        return nullptr;
    }
    // A frame that fails deletes itself in PostNcDestroy.
    if (!pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context))
        return nullptr;
    return pFrame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible)
{
    pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

void CDocTemplate::SetDefaultTitle(CDocument* pDocument)
{
    CString strTitle;
    if (!GetDocString(strTitle, docName) || strTitle.IsEmpty())
        strTitle = "Untitled";
    pDocument->SetTitle(strTitle);
}

void CDocTemplate::CloseAllDocuments(BOOL)
{
    for (CDocument* pDoc : std::vector<CDocument*>(m_docList)) {
        if (std::find(m_docList.begin(), m_docList.end(), pDoc) != m_docList.end())
            pDoc->OnCloseDocument();
    }
}

BOOL CDocTemplate::GetDocString(CString& rString, DocStringIndex index) const
{
    rString.Empty();
    int nStart = 0;
    for (int nField = 0; nField < index; ++nField) {
        int nNext = m_strDocStrings.Find('\n', nStart);
        if (nNext < 0)
            return FALSE;
        nStart = nNext + 1;
    }
    int nEnd = m_strDocStrings.Find('\n', nStart);
    if (nEnd < 0)
        nEnd = m_strDocStrings.GetLength();
    if (nStart > m_strDocStrings.GetLength())
        return FALSE;
    rString = m_strDocStrings.Mid(nStart, nEnd - nStart);
    return TRUE;
}

/***** CMultiDocTemplate *****/

CMultiDocTemplate::CMultiDocTemplate(
    UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass, const CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass)
{
}

CMultiDocTemplate::~CMultiDocTemplate()
{
    if (m_hMenuShared)
        ::DestroyMenu(m_hMenuShared);
    if (m_hAccelTable)
        ::DestroyAcceleratorTable(m_hAccelTable);
}

void CMultiDocTemplate::LoadTemplate()
{
    CDocTemplate::LoadTemplate();
    LPCTSTR lpszName = MAKEINTRESOURCE(static_cast<WORD>(m_nIDResource));
    if (!m_hMenuShared)
        m_hMenuShared = ::LoadMenu(AfxFindResourceHandle(lpszName, RT_MENU), lpszName);
    if (!m_hAccelTable)
        m_hAccelTable = ::LoadAccelerators(AfxFindResourceHandle(lpszName, RT_ACCELERATOR), lpszName);
}

CDocument* CMultiDocTemplate::OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible)
{
    if (lpszPathName)
        return nullptr; // documents are not read from files by this layer
    CDocument* pDocument = CreateNewDocument();
    if (!pDocument)
        return nullptr;
    BOOL bAutoDelete = pDocument->m_bAutoDelete;
    pDocument->m_bAutoDelete = FALSE; // a failed frame must not take the document with it
    CFrameWnd* pFrame = CreateNewFrame(pDocument, nullptr);
    pDocument->m_bAutoDelete = bAutoDelete;
    if (!pFrame) {
        delete pDocument;
        return nullptr;
    }
    SetDefaultTitle(pDocument);
    if (!pDocument->OnNewDocument()) {
        pFrame->DestroyWindow(); // takes the document with its views
        return nullptr;
    }
    ++m_nUntitledCount;
    InitialUpdateFrame(pFrame, pDocument, bMakeVisible);
    return pDocument;
}

void CMultiDocTemplate::SetDefaultTitle(CDocument* pDocument)
{
    CString strStem;
    if (!GetDocString(strStem, docName) || strStem.IsEmpty())
        strStem = "Untitled";
    CString strTitle;
    strTitle.Format("%s%u", static_cast<LPCTSTR>(strStem), m_nUntitledCount + 1);
    pDocument->SetTitle(strTitle);
}
