#include "dialogs/CDialogFramePrompts.h"

#include "dialogs/documents/CDlgAbout.h"
#include "dialogs/documents/CDlgBackupList.h"
#include "dialogs/documents/CDlgCatalogMaintenance.h"
#include "dialogs/documents/CDlgCatalogRecovery.h"
#include "dialogs/documents/CDlgChooseFolder.h"
#include "dialogs/documents/CDlgConfirmDocument.h"
#include "dialogs/documents/CDlgDocumentDescription.h"
#include "dialogs/documents/CDlgDocumentProperties.h"
#include "dialogs/documents/CDlgNewPassword.h"
#include "dialogs/documents/CDlgOpenWith.h"
#include "dialogs/documents/CDlgSetNumber.h"
#include "dialogs/documents/CDlgSetOption.h"
#include "dialogs/documents/CDlgUpdateCatalog.h"
#include "dialogs/documents/DocumentRow.h"
#include "dialogs/groups/CDlgGroupProperties.h"
#include "dialogs/groups/CDlgKeywordProperties.h"
#include "dialogs/groups/CSystemKeywordsPropSheet.h"
#include "dialogs/preferences/PreferenceDialogCalls.h"
#include "dialogs/setup/CDlgConfirmSetup.h"
#include "dialogs/setup/CDlgDailyNotice.h"
#include "dialogs/setup/CDlgOperationInProgress.h"
#include "dialogs/setup/CDlgOrphanWarning.h"
#include "dialogs/setup/CInstalacaoPropertySheet.h"
#include "store/CDocumentRec.h"
#include "store/PathHelpers.h"
#include "ui/CUiHostServices.h"
#include "ui/DocumentIcons.h"

#include "platform/framework/CWinThread.h"

BOOL CDialogFramePrompts::HasWindow(EWindow eWindow) const
{
    switch (eWindow) {
    case EWindow::SetupWizard:
    case EWindow::ConfirmSetup:
    case EWindow::OrphanWarning:
    case EWindow::DailyNotice:
    case EWindow::About:
    case EWindow::UpdateOptions:
    case EWindow::MaintenanceOptions:
    case EWindow::BackupList:
    case EWindow::DocumentDialogs:
    case EWindow::GroupDialogs:
    case EWindow::KeywordSystemSheet:
    case EWindow::PreferenceSheets:
    case EWindow::DocumentsSheet:
    case EWindow::DocumentTypes:
    case EWindow::WebDialogs:
        return TRUE;
    default:
        return CDefaultFramePrompts::HasWindow(eWindow);
    }
}

int CDialogFramePrompts::RunSetupWizard(CSetupResults& results)
{
    CInstalacaoPropertySheet sheet(results);
    return static_cast<int>(sheet.DoModal());
}

int CDialogFramePrompts::ConfirmSetup()
{
    CDlgConfirmSetup dlg(AfxGetMainWnd());
    return static_cast<int>(dlg.DoModal());
}

int CDialogFramePrompts::OrphanWarning(BOOL* pbDontWarn)
{
    CDlgOrphanWarning dlg(AfxGetMainWnd());
    const int nResult = static_cast<int>(dlg.DoModal());
    if (pbDontWarn != nullptr)
        *pbDontWarn = dlg.m_bDontAsk;
    return nResult;
}

int CDialogFramePrompts::DailyNotice(int nCount, LPCTSTR)
{
    CDlgDailyNotice dlg(AfxGetMainWnd());
    dlg.m_nCount = nCount;
    return static_cast<int>(dlg.DoModal());
}

int CDialogFramePrompts::OperationInProgress(CWnd* pParent)
{
    CDlgOperationInProgress dlg(pParent);
    return static_cast<int>(dlg.DoModal());
}

int CDialogFramePrompts::About()
{
    CDlgAbout dlg(AfxGetMainWnd());
    return static_cast<int>(dlg.DoModal());
}

int CDialogFramePrompts::UpdateOptions(CUpdateChoices& choices)
{
    CDlgUpdateCatalog dlg(AfxGetMainWnd());
    const int nResult = static_cast<int>(dlg.DoModal());
    if (nResult == IDOK) {
        choices.bFirst = dlg.m_bFirst;
        choices.bSecond = dlg.m_bSecond;
    }
    return nResult;
}

int CDialogFramePrompts::MaintenanceOptions(CMaintenanceChoices& choices)
{
    CDlgCatalogMaintenance dlg(GetHostMainCatalog(), AfxGetMainWnd());
    const int nResult = static_cast<int>(dlg.DoModal());
    if (nResult == IDOK) {
        choices.bTempFolders = dlg.m_bTempFolders;
        choices.bTempFiles = dlg.m_bTempFiles;
        choices.bExpired = dlg.m_bExpired;
        choices.bRecycle = dlg.m_bRecycle;
    }
    return nResult;
}

int CDialogFramePrompts::KeywordSystemSheet()
{
    CSystemKeywordsPropSheet sheet(GetHostMainCatalog(), AfxGetMainWnd());
    return static_cast<int>(sheet.DoModal());
}

int CDialogFramePrompts::GroupProperties(CNodeRec& node)
{
    CDlgGroupProperties dlg(AfxGetMainWnd());
    return static_cast<int>(dlg.ShowForNode(node));
}

int CDialogFramePrompts::NewGroup(CNodeRec& node)
{
    CDlgGroupProperties dlg(AfxGetMainWnd());
    return static_cast<int>(dlg.ShowForNewGroup(node));
}

int CDialogFramePrompts::KeywordProperties(CNodeRec& node)
{
    CDlgKeywordProperties dlg(AfxGetMainWnd());
    return static_cast<int>(dlg.ShowForNode(node));
}

int CDialogFramePrompts::OfferRecovery()
{
    CDlgCatalogRecovery dlg;
    return static_cast<int>(dlg.DoModal());
}

int CDialogFramePrompts::ChooseBackup(const CCatalogFiles& files, BOOL bOldCopies, int* pnGeneration)
{
    CDlgBackupList dlg(files, bOldCopies, AfxGetMainWnd());
    const int nResult = static_cast<int>(dlg.DoModal());
    if (pnGeneration != nullptr)
        *pnGeneration = dlg.GetGeneration();
    return nResult;
}

int CDialogFramePrompts::ImagePreview(CDocumentRec& document)
{
    CDlgConfirmDocument dlg(&document, AfxGetMainWnd());
    return static_cast<int>(dlg.DoModal());
}

int CDialogFramePrompts::DocumentProperties(
    CDocumentRec& document, BOOL bRecycle, std::unique_ptr<CDocumentRec>* ppMoved)
{
    CDlgDocumentProperties dlg(&document, bRecycle, AfxGetMainWnd());
    // Shown from the recycle bin, OK writes nothing.
    if (dlg.DoModal() != IDOK || bRecycle)
        return PROPERTIES_UNCHANGED;
    if (ppMoved != nullptr)
        *ppMoved = dlg.DetachMovedDocument();
    return dlg.IsCatalogChanged() ? CATALOG_CHANGED : PROPERTIES_CHANGED;
}

int CDialogFramePrompts::ProcessDocuments(CDocumentRec& document)
{
    CDlgDocumentDescription dlg(&document, AfxGetMainWnd());
    return static_cast<int>(dlg.DoModal());
}

int CDialogFramePrompts::DescribeFromContent(CDocumentRec& document)
{
    CDlgDocumentDescription step(&document);
    return step.DescriptionFromContent();
}

int CDialogFramePrompts::OpenWith(CDocumentRec& document, CString* pstrProgram)
{
    CDlgOpenWith dlg(&document, AfxGetMainWnd());
    const int nResult = static_cast<int>(dlg.DoModal());
    if (nResult == IDOK && pstrProgram != nullptr)
        *pstrProgram = dlg.GetProgramPath();
    return nResult;
}

int CDialogFramePrompts::NewPassword(CDocumentRec& document, CString* pstrPassword)
{
    CDlgNewPassword dlg(AfxGetMainWnd());
    dlg.SetUp(GetDocumentIcon(document), DocumentDisplayPath(document), !document.IsMail());
    const int nResult = static_cast<int>(dlg.DoModal());
    if (nResult == IDOK && pstrPassword != nullptr)
        *pstrPassword = dlg.GetPassword();
    return nResult;
}

int CDialogFramePrompts::SetOption(CDocumentRec& document, DWORD* pdwAction)
{
    CDlgSetOption dlg(document, AfxGetMainWnd());
    const int nResult = static_cast<int>(dlg.DoModal());
    if (nResult == IDOK && pdwAction != nullptr)
        *pdwAction = dlg.GetValueFromChoice();
    return nResult;
}

int CDialogFramePrompts::SetNumber(CDocumentRec& document, int* pnNumber)
{
    CDlgSetNumber dlg(document, AfxGetMainWnd());
    const int nResult = static_cast<int>(dlg.DoModal());
    if (nResult == IDOK && pnNumber != nullptr)
        *pnNumber = dlg.GetNumber();
    return nResult;
}

int CDialogFramePrompts::ChooseFolder(UINT nIDCaption, CDocumentRec& document, CString* pstrFolder)
{
    CDlgChooseFolder dlg(nIDCaption, &document, AfxGetMainWnd());
    const int nResult = static_cast<int>(dlg.DoModal());
    if (nResult == IDOK && pstrFolder != nullptr) {
        CString strName;
        SplitPath(dlg.GetCopyPath(), *pstrFolder, strName);
    }
    return nResult;
}

int CDialogFramePrompts::NewFolder(LPCTSTR pszParentPath)
{
    return RunNewFolderDialog(pszParentPath, AfxGetMainWnd());
}

int CDialogFramePrompts::RunPreferenceSheet(ESheet eSheet, void* pSheetData)
{
    return ::RunPreferenceSheet(eSheet, pSheetData, AfxGetMainWnd());
}

int CDialogFramePrompts::DocumentsSheet(CDocumentsSheetData& data)
{
    return RunDocumentsSheet(data, AfxGetMainWnd());
}

BOOL CDialogFramePrompts::OfferDocumentTypes()
{
    return OfferNewDocumentTypes(AfxGetMainWnd());
}
