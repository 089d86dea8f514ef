// The new-document monitor's cataloguing: the dialog on the queue, the
// automatic modes and the entry of a new document into the catalog.

#include "monitor/CNewDocMonitor.h"

#include "catalog/CCatalogPrompts.h"
#include "catalog/CPendingDocs.h"
#include "catalog/DocumentTexts.h"
#include "mail/CMailMessage.h"
#include "monitor/CCatalogDialog.h"
#include "monitor/CNewDocForm.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "store/CPreferences.h"
#include "store/CRecentList.h"

#include "platform/base/TextFunctions.h"
#include "platform/base/TimeFunctions.h"
#include "platform/framework/CWinApp.h"
#include "platform/window/WindowClass.h"

/******************************************************************************
 * The dialog on the queue
 ******************************************************************************/

void CNewDocMonitor::OnCatalogNewDoc()
{
    if (GetPendingCount() < 1)
        return;
    if (m_pDialog) {
        m_pForm->SetLastIndex(m_nAnnounced - 1);
        m_pDialog->SetLastIndex(m_nAnnounced - 1);
        UpdateTrayTip();
        return;
    }
    if (!m_pCatalog->Acquire())
        return;
    BOOL bValid = SkipVanishedNotices();
    int nResult = IDOK;
    if (bValid) {
        m_pForm = std::make_unique<CNewDocForm>(m_pCatalog);
        m_pForm->Prepare(0, m_notices.front());
        m_pForm->SetLastIndex(m_nAnnounced - 1);
        m_pDialog = CreateCatalogDialog(*this, *m_pForm);
        // Without a dialog to show them, the notices stay queued.
        nResult = m_pDialog ? m_pDialog->Run() : IDCANCEL;
        m_pDialog.reset();
        m_pForm.reset();
    }
    if ((!bValid || nResult != IDCANCEL) && !m_vanished.empty()) {
        GetCatalogPrompts().ShowNewDocsFound(static_cast<int>(m_vanished.size()), GetSafeHwnd());
        m_vanished.clear();
    }
    UpdateTrayTip();
    m_pCatalog->Release();
    PostCatalogChanged();
}

BOOL CNewDocMonitor::OnCatalogDialogResult(int nCode)
{
    if (!m_pForm || m_nAnnounced < 1)
        return FALSE;
    if (nCode == RESULT_CATALOG) {
        if (!CatalogNewDocument(*m_pForm))
            return TRUE; // kept: the dialog shows it again
        TakeNotice(0);
        --m_nAnnounced;
    } else if (nCode == RESULT_REMOVE) {
        TakeNotice(0);
        --m_nAnnounced;
    }
    UpdateTrayTip();
    if (nCode != RESULT_CATALOG && nCode != RESULT_REMOVE)
        return FALSE;
    if (!SkipVanishedNotices())
        return FALSE;
    m_pForm->Prepare(0, m_notices.front());
    m_pForm->SetLastIndex(m_nAnnounced - 1);
    return TRUE;
}

BOOL CNewDocMonitor::ShowPendingDocuments()
{
    if (!IsStarted())
        return TRUE;
    if (SkipVanishedNotices()) {
        if (GetCatalogPrompts().ShowNewDocsSummary(m_notices, GetSafeHwnd()) != IDOK)
            return TRUE;
        PostMessage(GetCatalogNewDocMessage(), 0, 0);
        return FALSE;
    }
    if (!m_vanished.empty()) {
        // Told once: when the program goes on, they are not told of again.
        GetCatalogPrompts().ShowNewDocsFound(static_cast<int>(m_vanished.size()), GetSafeHwnd());
        m_vanished.clear();
        UpdateTrayTip();
    }
    return TRUE;
}

void CNewDocMonitor::ReloadCatalogMaps()
{
    if (!m_pDialog || !m_pCatalog->Acquire())
        return;
    m_pForm->ReloadMaps();
    m_pDialog->ReloadMaps();
    m_pCatalog->Release();
}

void CNewDocMonitor::PostCatalogChanged()
{
    if (!m_bCatalogChanged)
        return;
    m_bCatalogChanged = FALSE;
    if (CWnd* pMainWnd = AfxGetMainWnd())
        pMainWnd->PostMessage(RegisterWindowMessage("APPM Refazer"), 0, 0);
}

/******************************************************************************
 * Entering a new document
 ******************************************************************************/

BOOL CNewDocMonitor::AutoCatalogNotice(CNewDocForm& form, size_t nIndex, BOOL bPlacedOnly)
{
    form.Prepare(static_cast<int>(nIndex), m_notices[nIndex]);
    if (bPlacedOnly && !form.GetProposal().bPlacedByRules)
        return FALSE;
    return CatalogNewDocument(form);
}

BOOL CNewDocMonitor::CatalogNewDocument(const CNewDocForm& form)
{
    const CNewDocProposal& proposal = form.GetProposal();
    const int nIndex = form.GetShownIndex();
    if (nIndex < 0 || static_cast<size_t>(nIndex) >= m_notices.size() || proposal.nodes.empty())
        return FALSE;
    const CNewDocNotice& notice = m_notices[static_cast<size_t>(nIndex)];
    const CMailMessage* pMessage = notice.GetMessage();
    // A document keeps the protection it has; a plain file given a password
    // here is listed unprotected, to be protected once the program that made
    // it is likely done with it.
    const bool bNewPassword = !pMessage && form.GetOwnPassword().IsEmpty() && !proposal.strPassword.IsEmpty();
    const auto applyProposal = [&](CDocumentInfo& info) {
        Utf8CopyToField(info.szDescription, MAX_DESCRIPTION + 1, proposal.strDescription, FieldEnd::NulTerminated);
        Utf8CopyToField(info.szSecondary, sizeof(info.szSecondary), proposal.strSecondary, FieldEnd::NulTerminated);
        const CString& strPassword = bNewPassword ? proposal.strPassword : form.GetOwnPassword();
        Utf8CopyToField(info.szPassword, sizeof(info.szPassword), strPassword, FieldEnd::NulTerminated);
        info.nExpiry = proposal.nExpiry;
        if (!pMessage)
            info.nVersion = proposal.nVersion;
        info.dwOpenAction = proposal.dwOpenAction;
    };

    // The document is written whole in one step, then linked: a failure
    // leaves either nothing or a complete document whose links the next
    // update adds.
    std::unique_ptr<CDocumentRec> pDocument;
    BOOL bNew = FALSE;
    if (pMessage) {
        CDocumentInfo message = MakeMessageInfo(*pMessage, notice.GetStoreKind());
        pDocument.reset(m_pCatalog->ResolvePath(notice.GetPath(), message.szName, &message));
        bNew = pDocument ? FALSE : TRUE;
        if (bNew) {
            applyProposal(message);
            pDocument.reset(m_pCatalog->AddAndLink(proposal.nodes.front().get(), message, notice.GetPath()));
        }
    } else {
        const auto [strFolder, strName] = SplitLowerPath(notice.GetPath());
        pDocument.reset(m_pCatalog->FindPath(strFolder, strName));
        bNew = pDocument ? FALSE : TRUE;
        if (bNew) {
            CDocumentInfo info {};
            info.wType = DOCUMENT_FILE;
            GetSystemTimeAsFileTime(&info.ftCatalogTime);
            applyProposal(info);
            pDocument.reset(m_pCatalog->FindOrAddDocument(strFolder, strName, &info));
        }
    }
    if (!pDocument)
        return FALSE;
    if (!bNew) {
        CDocumentInfo info {};
        pDocument->GetInfo(&info);
        applyProposal(info);
        if (!pDocument->UpdateInfo(info))
            return FALSE;
    }
    m_bCatalogChanged = TRUE;
    for (const std::unique_ptr<CNodeRec>& pNode : proposal.nodes) {
        if (!pNode->AddDocument(pDocument.get()))
            return FALSE;
    }
    if (bNew && proposal.bFavourite) {
        const std::unique_ptr<CNodeRec> pFavourites(CNodeRec::NewTopNodeRec2(m_pCatalog));
        if (!pFavourites || !pFavourites->AddDocument(pDocument.get()))
            return FALSE;
    }
    if (bNew && (thePreferences.m_dwMostRecentsOption & CPreferences::RECENT_ADD_CATALOGUED))
        (void)CRecentList(m_pCatalog).AddEntry(*pDocument); // the list only shows; the document is in
    if (bNewPassword && m_pPending)
        m_pPending->AddDocument(*pDocument, CPendingDocs::FLAG_UNPROTECTED);
    std::unique_ptr<CNodeRec>& pCurrent = thePreferences.m_pCurrentNode;
    if (!pCurrent || !pCurrent->Load())
        pCurrent.reset(CNodeRec::NewTopNodeRec3(m_pCatalog));
    return TRUE;
}
