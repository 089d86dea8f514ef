#pragma once

// The frame's prompts answered by the program's dialogs. Every call whose
// dialog exists opens it; the others keep the defaults' answers, which change
// nothing. The backup monitor's prompts are the same object, so a recovery
// after a crash reaches the recovery offer and the backup list.

#include "dialogs/StorePrompts.h"
#include "frame/FramePrompts.h"

#include <memory>

class CDlgFindFiles;

class CDialogFramePrompts : public CDefaultFramePrompts {
public:
    CDialogFramePrompts();
    ~CDialogFramePrompts() override;
    BOOL HasWindow(EWindow eWindow) const override;
    // The set-up wizard, without a parent: it may come before the main window.
    int RunSetupWizard(CSetupResults& results) override;
    int ConfirmSetup() override;
    // The box starts unchecked; *pbDontWarn gets what the user left in it.
    int OrphanWarning(BOOL* pbDontWarn) override;
    // The dialog writes the day it opens, so pszDate is not needed.
    int DailyNotice(int nCount, LPCTSTR pszDate) override;
    int OperationInProgress(CWnd* pParent) override;
    int About() override;
    int UpdateOptions(CUpdateChoices& choices) override;
    int MaintenanceOptions(CMaintenanceChoices& choices) override;
    CBackupFolderPrompt* GetBackupFolderPrompt() override { return &m_backupFolder; }
    // The confirmation that names the document.
    int ImagePreview(CDocumentRec& document) override;
    // The keywords and systems sheet over the host's main catalog.
    int KeywordSystemSheet() override;
    // The group dialogs: 1 (IDOK) when the group was made or changed.
    int GroupProperties(CNodeRec& node) override;
    int NewGroup(CNodeRec& node) override;
    int KeywordProperties(CNodeRec& node) override;
    int DocumentProperties(CDocumentRec& document, BOOL bRecycle, std::unique_ptr<CDocumentRec>* ppMoved) override;
    int NewPassword(CDocumentRec& document, CString* pstrPassword) override;
    // The description dialog, which writes the description itself.
    int ProcessDocuments(CDocumentRec& document) override;
    int DescribeFromContent(CDocumentRec& document) override;
    int OpenWith(CDocumentRec& document, CString* pstrProgram) override;
    int NewFolder(LPCTSTR pszParentPath) override;
    // The preference sheets over the frame's data.
    int RunPreferenceSheet(ESheet eSheet, void* pSheetData) override;
    int DocumentsSheet(CDocumentsSheetData& data) override;
    // The new document types, when there are any.
    BOOL OfferDocumentTypes() override;
    int SetOption(CDocumentRec& document, DWORD* pdwAction) override;
    int SetNumber(CDocumentRec& document, int* pnNumber) override;
    // The find options over the application's find settings, and the list
    // filter dialog (CDialogFramePrompts_Search.cpp).
    int FindOptions() override;
    int SearchCriteria(CListFilter& filter, BOOL bReadOnly) override;
    // The copy dialog: IDOK once the copy is made, with the folder it went to.
    int ChooseFolder(UINT nIDCaption, CDocumentRec& document, CString* pstrFolder) override;
    // The web access account dialogs, each without a parent, on the program's
    // web access settings (CDialogFramePrompts_Web.cpp).
    int WebDialog(UINT nIDTemplate) override;
    // The find dialog and the Find Files window over the application's find
    // settings and main catalog (CDialogFramePrompts_Find.cpp).
    int FindFilesHost() override;
    void OpenFindFiles(LPCTSTR pszFolder, CWnd* pParent) override;
    void CloseFindFiles() override;
    void FindFilesCatalogChanged() override;

    // The recovery offer has no parent: it comes before the main window.
    int OfferRecovery() override;
    int ChooseBackup(const CCatalogFiles& files, BOOL bOldCopies, int* pnGeneration) override;

private:
    CDialogBackupFolderPrompt m_backupFolder;
    std::unique_ptr<CDlgFindFiles> m_pFindFiles;
};
