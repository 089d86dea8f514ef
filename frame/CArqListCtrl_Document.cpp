// The document list's commands over the focused document: the ways of
// opening it, its open action, version number and protection, the processing
// dialog, and the processing without it over the selection; and the words the open command, the protect and number
// commands and the open-action submenu show for the rows they would act on. The dialogs are reached through the frame's
// prompts, so each command here only decides what is asked and writes the answer.

#include "frame/CArqListCtrl.h"

#include "catalog/CPendingDocs.h"
#include "frame/AppMessages.h"
#include "frame/CArchivoraApp.h"
#include "frame/CMainFrame.h"
#include "frame/CatalogHold.h"
#include "frame/DocumentProtection.h"
#include "frame/FramePrompts.h"
#include "resources/ResourceIds.h"
#include "store/CDocumentRec.h"
#include "store/ResString.h"
#include "ui/CDlgOperationProgress.h"
#include "ui/CStartMenuIndex.h"
#include "ui/OpenCommandText.h"

#include "platform/framework/AfxFrameIds.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CCmdUI.h"
#include "platform/framework/CMenu.h"
#include "platform/framework/CWaitCursor.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace {

// The commands that open a document one particular way, by the open action they stand for.
constexpr UINT FILE_ACTION_COMMANDS[]
    = { ID_FILE_OPEN, ID_DOC_OPEN_CHOSEN, ID_DOC_OPEN_ASSOCIATED, ID_DOC_OPEN_CHOOSER };
constexpr UINT MAIL_ACTION_COMMANDS[]
    = { ID_DOC_MAIL_REPLY, ID_DOC_MAIL_REPLY_ALL, ID_DOC_MAIL_FORWARD, ID_DOC_MAIL_SEND_AS_NEW, ID_DOC_MAIL_COMPOSE };
// The open-action submenu's words for a file's actions (a message's are those of its open command).
constexpr UINT FILE_ACTION_TEXTS[]
    = { IDS_ACTION_OPEN, IDS_ACTION_OPEN_CHOSEN, IDS_ACTION_OPEN_ASSOCIATED, IDS_ACTION_OPEN_CHOOSER };
constexpr UINT OPEN_WITH_LAST = ID_FAVORITE_FIRST - 1;
// From this many documents on, describing them shows its progress.
constexpr size_t DESCRIBE_PROGRESS_FROM = 10;
constexpr DWORD OPEN_WITH_CHOSEN_PROGRAM = 1; // a file's open action: a program the user picks

// The open action a command stands for, and whether it is a message's; FALSE for another command.
BOOL ActionOfCommand(UINT nID, BOOL* pbMail, DWORD* pdwAction)
{
    for (BOOL bMail : { FALSE, TRUE }) {
        const UINT* pFirst = bMail ? std::begin(MAIL_ACTION_COMMANDS) : std::begin(FILE_ACTION_COMMANDS);
        const UINT* pLast = bMail ? std::end(MAIL_ACTION_COMMANDS) : std::end(FILE_ACTION_COMMANDS);
        if (const UINT* pFound = std::find(pFirst, pLast, nID); pFound != pLast) {
            *pbMail = bMail;
            *pdwAction = static_cast<DWORD>(pFound - pFirst);
            return TRUE;
        }
    }
    return FALSE;
}

// A menu item's words: only a menu's items have them.
void SetMenuWords(CCmdUI* pCmdUI, UINT nStringId)
{
    if (pCmdUI->m_pMenu)
        pCmdUI->SetText(GetResString(nStringId));
}

// The open bar's words for the protection (ID_DOC_PROTECT) or the number (ID_DOC_VERSION) follow bState.
void ShowOnOpenBar(UINT nID, BOOL bState)
{
    CArchivoraApp* pApp = GetArchivoraApp();
    if (CMainFrame* pMainFrame = pApp ? pApp->GetMainFrame() : nullptr)
        pMainFrame->UpdateOpenBarText(nID, bState);
}

} // namespace

/******************************************************************************
 * The focused document
 ******************************************************************************/

CDocumentRec* CArqListCtrl::GetFocusedDocumentOfKind(BOOL bMail, int bCheck) const
{
    CDocumentRec* pDocument = GetRowDocument(GetFocusedRow());
    if (!pDocument || pDocument->IsMail() != bMail || IsBlocked(*pDocument, bCheck))
        return nullptr;
    return pDocument;
}

void CArqListCtrl::DocumentRecordChanged(CDocumentRec& document)
{
    (void)document.Load(); // a record that cannot be read again keeps what the row shows
    const int nRow = FindRecordRow(document);
    if (nRow >= 0)
        Update(nRow);
    if (CWnd* pParent = GetParent())
        pParent->PostMessage(g_nMsgListPropChanged);
}

/******************************************************************************
 * Opening
 ******************************************************************************/

BOOL CArqListCtrl::OpenFocusedAs(UINT nID)
{
    BOOL bMail = FALSE;
    DWORD dwAction = 0;
    CArchivoraApp* pApp = GetArchivoraApp();
    CDocumentRec* pDocument = GetRowDocument(GetFocusedRow());
    if (!pApp || !pDocument || !ActionOfCommand(nID, &bMail, &dwAction) || pDocument->IsMail() != bMail)
        return FALSE;
    // A message deleted from its store has nothing to answer or forward.
    if (bMail && pDocument->GetExpiryState(0) == EXPIRY_MAIL_DELETED)
        return FALSE;
    if (!pApp->OpenItemAs(*pDocument, dwAction, this))
        return FALSE;
    pApp->MinimizeAfterOpen();
    return TRUE;
}

BOOL CArqListCtrl::OpenFocusedWithProgram(UINT nID)
{
    CArchivoraApp* pApp = GetArchivoraApp();
    CDocumentRec* pDocument = GetRowDocument(GetFocusedRow());
    if (!pApp || !pDocument || pDocument->IsMail()
        || !pApp->OpenWithStartMenuProgram(*pDocument, static_cast<int>(nID - ID_OPEN_WITH_FIRST), this))
        return FALSE;
    pApp->MinimizeAfterOpen();
    return TRUE;
}

void CArqListCtrl::OnOpenAs(UINT nID)
{
    (void)OpenFocusedAs(nID); // an opening that fails has said why
}

void CArqListCtrl::OnOpenWithProgram(UINT nID)
{
    (void)OpenFocusedWithProgram(nID);
}

void CArqListCtrl::OnUpdateOpenFileAs(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(GetFocusedDocumentOfKind(FALSE, 0) != nullptr);
}

void CArqListCtrl::OnUpdateOpenMailAs(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(GetFocusedDocumentOfKind(TRUE, 0) != nullptr);
}

void CArqListCtrl::OnUpdateFocusedFile(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(GetFocusedDocumentOfKind(FALSE, 0) != nullptr);
}

void CArqListCtrl::RunFocusedFolderDialog()
{
    if (CDocumentRec* pDocument = GetFocusedDocumentOfKind(FALSE, 0)) {
        CString strFolder;
        (void)GetFramePrompts().ChooseFolder(IDS_CHOOSE_FOLDER, *pDocument, &strFolder); // the copy is all it does
    }
}

// The open command's words follow what it would open: one document by its
// open action, several by their kinds. A group opens in the tree.
void CArqListCtrl::OnUpdateOpenItems(CCmdUI* pCmdUI)
{
    std::vector<int> rows = GetSelectedRows();
    if (rows.empty() && GetFocusedRow() >= 0)
        rows.push_back(GetFocusedRow());
    if (rows.size() == 1) {
        const CDocumentRec* pDocument = GetRowDocument(rows.front());
        const BOOL bOpens = GetRowNode(rows.front()) || (pDocument && !IsBlocked(*pDocument, 0));
        SetMenuWords(pCmdUI,
            pDocument && bOpens ? OpenCommandTextId(pDocument->IsMail(), pDocument->GetOpenAction()) : IDS_OPEN);
        pCmdUI->Enable(bOpens);
        if (bOpens && pDocument && !pDocument->IsMail() && pDocument->GetOpenAction() == OPEN_WITH_CHOSEN_PROGRAM)
            PlugProgramsMenu(pCmdUI);
        return;
    }
    BOOL bFiles = FALSE;
    BOOL bMessages = FALSE;
    BOOL bGroups = FALSE;
    for (int nRow : rows) {
        if (const CDocumentRec* pDocument = GetRowDocument(nRow))
            (pDocument->IsMail() ? bMessages : bFiles) = TRUE;
        bGroups = bGroups || GetRowNode(nRow) != nullptr;
    }
    UINT nText = IDS_OPEN;
    if (bFiles)
        nText = bMessages ? IDS_OPEN_FILES_MESSAGES : IDS_OPEN_FILES;
    else if (bMessages)
        nText = IDS_OPEN_MESSAGES;
    SetMenuWords(pCmdUI, nText);
    pCmdUI->Enable(bFiles || bMessages || bGroups);
}

// The programs of the Start-menu index in place of the open command, for a
// file opened with a chosen program; the menu owns the submenu from then on.
void CArqListCtrl::PlugProgramsMenu(CCmdUI* pCmdUI)
{
    CStartMenuIndex& index = GetStartMenuIndex();
    index.Build();
    CMenu programs;
    if (!pCmdUI->m_pMenu || index.GetCount() == 0 || !programs.CreatePopupMenu())
        return;
    const int nCount = std::min(index.GetCount(), static_cast<int>(OPEN_WITH_LAST - ID_OPEN_WITH_FIRST + 1));
    for (int i = 0; i < nCount; ++i)
        programs.AppendMenu(MF_STRING, ID_OPEN_WITH_FIRST + static_cast<UINT>(i), index.GetEntry(i).strName);
    pCmdUI->m_pMenu->ModifyMenu(pCmdUI->m_nIndex, MF_BYPOSITION | MF_POPUP,
        reinterpret_cast<UINT_PTR>(programs.GetSafeHmenu()), GetResString(IDS_OPEN_WITH_SUBMENU));
    programs.Detach();
}

// The submenu of the focused document's other open actions, in place of its
// placeholder item; the menu owns it from then on.
void CArqListCtrl::OnUpdateOpenActionMenu(CCmdUI* pCmdUI)
{
    const CDocumentRec* pDocument = GetRowDocument(GetFocusedRow());
    const CWnd* pTop = GetTopLevelParent();
    if (!pDocument || (pTop && pTop->IsIconic()) || !pCmdUI->m_pMenu) {
        pCmdUI->Enable(FALSE);
        return;
    }
    const BOOL bMail = pDocument->IsMail();
    const DWORD dwCurrent = pDocument->GetOpenAction();
    CMenu actions;
    if (!actions.CreatePopupMenu())
        return;
    const size_t nActions = bMail ? std::size(MAIL_ACTION_COMMANDS) : std::size(FILE_ACTION_COMMANDS);
    for (DWORD dwAction = 0; dwAction < nActions; ++dwAction) {
        if (dwAction == dwCurrent)
            continue;
        const UINT nID = bMail ? MAIL_ACTION_COMMANDS[dwAction] : FILE_ACTION_COMMANDS[dwAction];
        const UINT nText = bMail ? OpenCommandTextId(TRUE, dwAction) : FILE_ACTION_TEXTS[dwAction];
        actions.AppendMenu(MF_STRING, nID, GetResString(nText));
    }
    actions.AppendMenu(
        MF_STRING, bMail ? ID_DOC_MAIL_OPEN_ACTION : ID_DOC_OPEN_ACTION, GetResString(IDS_ACTION_CHOOSE));
    pCmdUI->m_pMenu->ModifyMenu(pCmdUI->m_nIndex, MF_BYPOSITION | MF_POPUP,
        reinterpret_cast<UINT_PTR>(actions.GetSafeHmenu()), GetResString(IDS_OPEN_WITH));
    actions.Detach();
}

/******************************************************************************
 * Open action, version number and protection
 ******************************************************************************/

void CArqListCtrl::EditFocusedChoice()
{
    CDocumentRec* pDocument = GetFocusedDocumentOfKind(FALSE, 0);
    if (!pDocument)
        pDocument = GetFocusedDocumentOfKind(TRUE, 0);
    DWORD dwAction = 0;
    if (pDocument && GetFramePrompts().SetOption(*pDocument, &dwAction) == IDOK)
        ChangeDocumentInfo(*pDocument,
            [dwAction](CDocumentInfo& info) { return std::exchange(info.dwOpenAction, dwAction) != dwAction; });
}

void CArqListCtrl::EditFocusedNumber()
{
    CDocumentRec* pDocument = GetFocusedDocumentOfKind(FALSE, 0);
    int nNumber = 0;
    if (pDocument && GetFramePrompts().SetNumber(*pDocument, &nNumber) == IDOK)
        ChangeDocumentInfo(
            *pDocument, [nNumber](CDocumentInfo& info) { return std::exchange(info.nVersion, nNumber) != nNumber; });
}

void CArqListCtrl::ChangeDocumentInfo(CDocumentRec& document, const std::function<bool(CDocumentInfo&)>& fnChange)
{
    if (!::IsWindow(GetSafeHwnd()))
        return; // the list went while the dialog was open
    CCatalogHold hold(document.GetCatalog());
    CDocumentInfo info {};
    if (document.GetInfo(&info) != nullptr && fnChange(info) && document.UpdateInfo(info))
        DocumentRecordChanged(document);
}

void CArqListCtrl::OnUpdateEditNumber(CCmdUI* pCmdUI)
{
    const CDocumentRec* pDocument = GetFocusedDocumentOfKind(FALSE, 0);
    const BOOL bNumbered = pDocument && pDocument->GetVersion() != 0;
    SetMenuWords(pCmdUI, bNumbered ? IDS_REMOVE_NUMBER : IDS_SET_NUMBER);
    if (!pCmdUI->m_pMenu) {
        pCmdUI->SetCheck(bNumbered ? 1 : 0);
        if (pDocument)
            ShowOnOpenBar(ID_DOC_VERSION, bNumbered);
    }
    pCmdUI->Enable(pDocument != nullptr);
}

void CArqListCtrl::ProtectFocusedDocument()
{
    CDocumentRec* pDocument = GetFocusedDocumentOfKind(FALSE, 0);
    if (!pDocument)
        pDocument = GetFocusedDocumentOfKind(TRUE, 1);
    if (pDocument && ToggleDocumentProtection(*pDocument, this))
        DocumentRecordChanged(*pDocument);
}

void CArqListCtrl::ProtectFocusedAgain()
{
    CArchivoraApp* pApp = GetArchivoraApp();
    CPendingDocs* pPending = pApp ? pApp->GetPendingDocs() : nullptr;
    CDocumentRec* pDocument = GetFocusedDocumentOfKind(FALSE, 0);
    if (!pPending || !pDocument)
        return;
    CCatalogHold hold(pDocument->GetCatalog());
    if (pPending->ProtectDocumentAgain(*pDocument))
        DocumentRecordChanged(*pDocument);
}

void CArqListCtrl::ShowFocusedPreview()
{
    CArchivoraApp* pApp = GetArchivoraApp();
    CDocumentRec* pDocument = GetFocusedDocumentOfKind(FALSE, 0);
    if (!pApp || !pDocument)
        return;
    const std::unique_ptr<CDocumentRec> pShown(pDocument->Clone()); // the list may be refreshed meanwhile
    if (GetFramePrompts().ImagePreview(*pShown) != IDOK)
        return;
    // What the preview saved is the program's own change, not the opened file's.
    if (CPendingDocs* pPending = pApp->GetPendingDocs())
        (void)pPending->RefreshDocument(*pShown);
}

// Protect and unprotect are one command whose words follow the document;
// the open bar shows the same state.
void CArqListCtrl::OnUpdateProtect(CCmdUI* pCmdUI)
{
    const CDocumentRec* pDocument
        = GetFocusedDocumentOfKind(pCmdUI->m_nID == ID_DOC_PROTECT_MAIL, pCmdUI->m_nID == ID_DOC_PROTECT_MAIL ? 1 : 0);
    const BOOL bProtected = pDocument && pDocument->IsProtected();
    SetMenuWords(pCmdUI, bProtected ? IDS_UNPROTECT : IDS_PROTECT);
    if (!pCmdUI->m_pMenu) {
        pCmdUI->SetCheck(bProtected ? 1 : 0);
        if (pDocument)
            ShowOnOpenBar(ID_DOC_PROTECT, bProtected);
    }
    pCmdUI->Enable(pDocument != nullptr);
}

// The menu's protect item stands for a file's or a message's command once one document is selected.
void CArqListCtrl::OnUpdateProtectWorded(CCmdUI* pCmdUI)
{
    const std::vector<int> rows = GetSelectedRows();
    const CDocumentRec* pDocument = rows.size() == 1 ? GetRowDocument(rows.front()) : nullptr;
    if (!pDocument || !pCmdUI->m_pMenu) {
        pCmdUI->Enable(FALSE);
        return;
    }
    const UINT nID = pDocument->IsMail() ? ID_DOC_PROTECT_MAIL : ID_DOC_PROTECT;
    pCmdUI->m_pMenu->ModifyMenu(pCmdUI->m_nIndex, MF_BYPOSITION | MF_STRING, nID, GetResString(IDS_PROTECT));
    pCmdUI->m_nID = nID;
    OnUpdateProtect(pCmdUI);
}

/******************************************************************************
 * The processing dialog
 ******************************************************************************/

void CArqListCtrl::RunFocusedDocumentDialog()
{
    CDocumentRec* pDocument = GetRowDocument(GetFocusedRow());
    if (!pDocument || IsBlocked(*pDocument, 0))
        return;
    const int nResult = GetFramePrompts().ProcessDocuments(*pDocument);
    if ((nResult != IDOK && nResult != CUiHostServices::PROCESS_PATH_CHANGED) || !::IsWindow(GetSafeHwnd()))
        return;
    DocumentRecordChanged(*pDocument);
    if (CArchivoraApp* pApp = GetArchivoraApp())
        pApp->MinimizeAfterOpen();
}

void CArqListCtrl::OnUpdateDocumentDialog(CCmdUI* pCmdUI)
{
    const CDocumentRec* pDocument = GetRowDocument(GetFocusedRow());
    pCmdUI->Enable(pDocument && !IsBlocked(*pDocument, 0));
}

std::vector<CDocumentRec*> CArqListCtrl::GetSelectedUsableDocuments() const
{
    std::vector<CDocumentRec*> documents;
    for (int nRow : GetSelectedRows()) {
        CDocumentRec* pDocument = GetRowDocument(nRow);
        if (pDocument && !IsBlocked(*pDocument, 1))
            documents.push_back(pDocument);
    }
    return documents;
}

int CArqListCtrl::DescribeSelectedFromContent()
{
    const std::vector<CDocumentRec*> documents = GetSelectedUsableDocuments();
    const BOOL bDescribed = std::any_of(documents.begin(), documents.end(), [](const CDocumentRec* pDocument) {
        CString strDescription;
        pDocument->GetNameWithLocation(strDescription);
        return !strDescription.IsEmpty();
    });
    if (documents.empty()
        || (bDescribed
            && AfxMessageBox(GetResString(documents.size() == 1 ? IDS_DESCRIBE_REPLACE_ONE : IDS_DESCRIBE_REPLACE_SOME),
                   MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2)
                != IDYES))
        return 0;
    std::vector<CString> paths;
    for (const CDocumentRec* pDocument : documents)
        paths.push_back(pDocument->GetFilePath());
    CDlgOperationProgress progress;
    progress.SetItemTexts(paths);
    const BOOL bShown = documents.size() >= DESCRIBE_PROGRESS_FROM && progress.CreateAndShow(this);
    if (bShown)
        progress.SetWindowText(GetResString(IDS_DESCRIBE_PROGRESS));
    CWaitCursor wait;
    int nWritten = 0;
    int nFailed = 0;
    int nLastResult = CDocumentRec::DESCRIPTION_UNCHANGED;
    for (size_t i = 0; i < documents.size() && !(bShown && progress.IsCancelled()); ++i) {
        if (bShown)
            progress.SetText(paths[i]);
        nLastResult = GetFramePrompts().DescribeFromContent(*documents[i]);
        if (nLastResult == CDocumentRec::DESCRIPTION_WRITTEN) {
            ++nWritten;
            (void)documents[i]->Load(); // the row shows the new description
            const int nRow = FindRecordRow(*documents[i]);
            if (nRow >= 0)
                Update(nRow);
        } else if (nLastResult == CDocumentRec::DESCRIPTION_FAILED) {
            ++nFailed;
        }
        if (bShown)
            progress.GetBar().StepIt();
    }
    if (progress.GetSafeHwnd())
        progress.DestroyWindow();
    if (nWritten > 0) {
        if (CWnd* pParent = GetParent())
            pParent->PostMessage(g_nMsgListCatalogChanged);
    }
    if (nFailed > 0)
        AfxMessageBox(GetResString(IDS_DESCRIBE_FAILED), MB_ICONEXCLAMATION);
    else if (documents.size() == 1 && nLastResult == CDocumentRec::DESCRIPTION_UNCHANGED)
        AfxMessageBox(GetResString(IDS_DESCRIBE_NO_TEXT), MB_ICONEXCLAMATION);
    return nWritten;
}

void CArqListCtrl::OnUpdateDescribeFromContent(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!GetSelectedUsableDocuments().empty());
}
