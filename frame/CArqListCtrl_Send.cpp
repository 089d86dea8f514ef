// The document list's commands that hand the selected documents elsewhere:
// to the favourites again, to a removable drive of the send-to menu, to a new
// mail message; the texts a message offers its note's editor, and the two
// commands that put one of them into the notes marked for it.

#include "frame/CArqListCtrl.h"

#include "frame/AppMessages.h"
#include "frame/CArchivoraApp.h"
#include "frame/CMainFrame.h"
#include "frame/CatalogHold.h"
#include "mail/CMapiMail.h"
#include "mail/CatalogMessage.h"
#include "mail/MailResult.h"
#include "monitor/MonitorPause.h"
#include "resources/ResourceIds.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "store/CatalogColumns.h"
#include "store/DocumentBackup.h"
#include "store/DocumentOperations.h"
#include "store/ResString.h"
#include "ui/CSendToMenu.h"

#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CCmdUI.h"
#include "platform/framework/CWaitCursor.h"
#include "platform/framework/CWinThread.h"

#include <memory>

/******************************************************************************
 * The selection's documents
 ******************************************************************************/

std::vector<CDocumentRec*> CArqListCtrl::GetSelectedDocuments(BOOL bMail, int bCheck) const
{
    std::vector<CDocumentRec*> documents;
    for (int nRow : GetSelectedRows()) {
        CDocumentRec* pDocument = GetRowDocument(nRow);
        if (pDocument && pDocument->IsMail() == bMail && !IsBlocked(*pDocument, bCheck))
            documents.push_back(pDocument);
    }
    return documents;
}

/******************************************************************************
 * Favourites, drives and mail
 ******************************************************************************/

void CArqListCtrl::CatalogSelectedAgain()
{
    CArchivoraApp* pApp = GetArchivoraApp();
    CCatalogHold hold(pApp ? pApp->GetMainCatalog() : nullptr);
    std::unique_ptr<CNodeRec> pFavourites(hold.IsHeld() ? CNodeRec::NewTopNodeRec2(pApp->GetMainCatalog()) : nullptr);
    if (!pFavourites)
        return;
    for (int nRow : GetSelectedRows()) {
        CDocumentRec* pDocument = GetRowDocument(nRow);
        if (pDocument && pDocument->GetExpiryState(0) != EXPIRY_MAIL_DELETED)
            (void)pFavourites->AddDocument(pDocument); // one already there stays as it is
    }
    if (CWnd* pMain = AfxGetMainWnd())
        pMain->SendMessage(g_nMsgRedo);
}

void CArqListCtrl::OnUpdateCatalogAgain(CCmdUI* pCmdUI)
{
    BOOL bEnable = FALSE;
    for (int nRow : GetSelectedRows()) {
        const CDocumentRec* pDocument = GetRowDocument(nRow);
        bEnable = bEnable || (pDocument && pDocument->GetExpiryState(0) != EXPIRY_MAIL_DELETED);
    }
    pCmdUI->Enable(bEnable);
}

void CArqListCtrl::MoveSelectedToTopNode(CATBLOCK nBlock)
{
    CArchivoraApp* pApp = GetArchivoraApp();
    CCatalogHold hold(pApp ? pApp->GetMainCatalog() : nullptr);
    if (!hold.IsHeld())
        return;
    CWaitCursor wait;
    CCatalogPayload payload;
    payload.source = m_pShownNode ? m_pShownNode->GetRef() : CRecordRef {};
    payload.nOperation = PAYLOAD_MOVE;
    for (int nRow : GetSelectedRows()) {
        if (const CDocumentRec* pDocument = GetRowDocument(nRow))
            payload.items.push_back(pDocument->GetRef());
    }
    if (payload.items.empty())
        return;
    CNodeRec target(pApp->GetMainCatalog(), nBlock, 0);
    if (!target.IsValid() || !DropDocuments(&target, payload, PAYLOAD_MOVE))
        return;
    if (CWnd* pMain = AfxGetMainWnd())
        pMain->SendMessage(g_nMsgRedo);
}

void CArqListCtrl::OnUpdateMoveToUnsorted(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!m_pShownNode || m_pShownNode->GetBlock() != CNodeRec::SYSTEMS_NODE_BLOCK);
}

void CArqListCtrl::OnUpdateMoveToArchive(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!m_pShownNode || m_pShownNode->GetBlock() != CNodeRec::FIXED_NODE_LAST);
}

CSendToMenu& CArqListCtrl::BuildSendToMenu()
{
    if (!m_pSendTo)
        m_pSendTo = std::make_unique<CSendToMenu>();
    m_pSendTo->Build();
    return *m_pSendTo;
}

int CArqListCtrl::BackupSelected(UINT nID)
{
    // The drive the user chose in the menu, even when the drives changed since.
    const CString strTarget = m_pSendTo ? m_pSendTo->GetTargetPath(nID) : CString();
    CArchivoraApp* pApp = GetArchivoraApp();
    if (strTarget.IsEmpty() || !pApp)
        return 0;
    CBackupSet backup(strTarget);
    for (CDocumentRec* pDocument : GetSelectedDocuments(FALSE, 1))
        backup.Add(pDocument);
    if (backup.GetCount() == 0)
        return 0;
    CWaitCursor wait;
    CCatalogHold hold(pApp->GetMainCatalog());
    return backup.Run(pApp->GetMainCatalog(), FALSE); // each failure is reported for its file
}

void CArqListCtrl::OnUpdateSelectedFiles(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!GetSelectedDocuments(FALSE, 0).empty());
}

BOOL CArqListCtrl::MailSelected()
{
    CMapiMail mail("MAPI32.DLL");
    mail.AddText(GetResString(IDS_MAIL_FILES_TEXT));
    int nAttached = 0;
    for (CDocumentRec* pDocument : GetSelectedDocuments(FALSE, 1)) {
        CString strName;
        pDocument->GetFullPath(strName);
        mail.AddText(strName + "\n");
        if (mail.AddAttachment(pDocument->GetFilePath(), strName)) {
            ++nAttached;
        } else {
            CString strText;
            strText.Format(GetResString(IDS_MAIL_ATTACH_FAILED), static_cast<LPCTSTR>(strName));
            AfxMessageBox(strText, MB_ICONEXCLAMATION);
        }
    }
    if (nAttached == 0)
        return FALSE;
    ULONG nResult = SUCCESS_SUCCESS;
    {
        // What the mail program writes is not offered as new documents.
        CArchivoraApp* pApp = GetArchivoraApp();
        CMainFrame* pMainFrame = pApp ? pApp->GetMainFrame() : nullptr;
        CMonitorPause pause(pMainFrame ? &pMainFrame->GetMonitor() : nullptr);
        nResult = mail.Send(GetResString(IDS_MAIL_FILES_SUBJECT), MAPI_DIALOG);
    }
    if (nResult != SUCCESS_SUCCESS)
        AfxMessageBox(IDS_SEND_MAIL_NO_PROGRAM, MB_OK | MB_ICONEXCLAMATION);
    return nResult == SUCCESS_SUCCESS;
}

void CArqListCtrl::OnUpdateMailSelected(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsMapiAvailable() && !GetSelectedDocuments(FALSE, 1).empty());
}

/******************************************************************************
 * A message's note
 ******************************************************************************/

BOOL CArqListCtrl::GetMessageChoices(const CDocumentRec& document, CStringArray& choices)
{
    std::unique_ptr<CMailMessage> pMessage;
    if (!document.IsMail() || LoadCatalogMessage(document.GetMailRef(), pMessage) != MAIL_OK || !pMessage)
        return FALSE;
    // The sender as shown, and the recipients.
    char szSender[MAIL_MAX_PATH] {};
    char szRecipients[MAIL_MAX_PATH] {};
    pMessage->GetExtraField(szSender);
    pMessage->GetAddressList2(szRecipients, MAIL_MAX_PATH);
    choices.Add(CString(szSender));
    choices.Add(CString(szRecipients));
    return TRUE;
}

void CArqListCtrl::GetCellChoices(int nItem, int nColumn, CStringArray& choices)
{
    const CDocumentRec* pDocument = GetRowDocument(nItem);
    if (pDocument && GetColumnId(nColumn) == COLUMN_ALT_NAME)
        (void)GetMessageChoices(*pDocument, choices); // a message that cannot be read offers nothing
}

int CArqListCtrl::FillMessageNotes(int nChoice)
{
    const CString strMark = GetResString(nChoice == 0 ? IDS_MESSAGES_BOTH : IDS_MESSAGES_RECEIVED);
    CWaitCursor wait;
    int nChanged = 0;
    for (int nRow : GetSelectedRows()) {
        const CDocumentRec* pDocument = GetRowDocument(nRow);
        if (!pDocument || !pDocument->IsMail() || pDocument->IsProtected() || IsBlocked(*pDocument, 1))
            continue;
        CString strNote;
        pDocument->GetAltNameWithLocation(strNote);
        CStringArray choices;
        if (strNote.Find(strMark) < 0 || !GetMessageChoices(*pDocument, choices) || choices.GetSize() <= nChoice)
            continue;
        if (SetDocumentText(nRow, COLUMN_ALT_NAME, choices[nChoice]) != EditResult::Unchanged)
            ++nChanged;
    }
    if (nChanged > 0) {
        if (CWnd* pParent = GetParent())
            pParent->PostMessage(g_nMsgListCatalogChanged);
    }
    return nChanged;
}

void CArqListCtrl::OnUpdateSelectedMessages(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!GetSelectedDocuments(TRUE, 1).empty());
}
