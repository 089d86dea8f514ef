#pragma once

// CFramePrompts: the windows the application and its frames open that belong
// to the program's dialogs (the set-up wizard, the preference sheets, the
// small question and notice dialogs). The frame reaches them only through this
// interface: the program installs the dialogs' implementation at start-up,
// tests install a scripted one, and until one is installed CDefaultFramePrompts
// answers, changing nothing and letting each flow go on. HasWindow tells the
// commands whose only effect would be a missing window to show disabled.
//
// Every call runs modally on the user-interface thread; a result of IDCANCEL
// always means the user changed nothing. The backup monitor's prompts are part
// of the same object.

#include "frame/CBackupMonitor.h"
#include "ui/CUiHostServices.h"

#include "platform/base/CString.h"
#include "platform/window/Dialog.h"

#include <memory>

class CBackupFolderPrompt;
class CDocumentRec;
class CNodeRec;
class CWnd;
struct CListFilter;
struct CDocumentsSheetData;
struct CPreferencesArchivoraSheetData;
struct CPreferencesCatalogSheetData;
struct CPreferencesWebSheetData;
struct CSetupResults;

// The update dialog's two boxes: bit values 1 (the catalog's places) and 2
// (the fast-update folders) of "UpdateOption".
struct CUpdateChoices {
    BOOL bFirst { FALSE };
    BOOL bSecond { FALSE };
};
// The clean-up choices of the maintenance dialog.
struct CMaintenanceChoices {
    BOOL bTempFolders { FALSE };
    BOOL bTempFiles { FALSE };
    BOOL bExpired { FALSE };
    BOOL bRecycle { FALSE };
};

class CFramePrompts : public CBackupPrompts {
public:
    // The windows, for HasWindow.
    enum class EWindow {
        SetupWizard,
        ConfirmSetup,
        OrphanWarning,
        DailyNotice,
        DocumentTypes,
        About,
        UpdateOptions,
        MaintenanceOptions,
        BackupList,
        PreferenceSheets,
        KeywordSystemSheet,
        DocumentsSheet,
        WebDialogs,
        DocumentDialogs,
        GroupDialogs,
    };
    // The preference sheets of RunPreferenceSheet.
    enum class ESheet { General, Catalog, Web };
    // What DocumentProperties reports, as the interface kit's host does.
    static constexpr int PROPERTIES_UNCHANGED = CUiHostServices::DOCUMENT_UNCHANGED;
    static constexpr int PROPERTIES_CHANGED = CUiHostServices::DOCUMENT_PROPERTIES_CHANGED;
    static constexpr int CATALOG_CHANGED = CUiHostServices::DOCUMENT_CATALOG_CHANGED;
    // The wizard's result when the user finished it.
    static constexpr int WIZARD_FINISHED = 12325;

    // Whether the window exists in this program; FALSE leaves its commands disabled.
    virtual BOOL HasWindow(EWindow eWindow) const = 0;

    /* Set-up. */

    // The set-up wizard: WIZARD_FINISHED with *pResults filled, anything else cancels.
    virtual int RunSetupWizard(CSetupResults& results) = 0;
    // Asks before the catalog is set up again; IDOK goes on.
    virtual int ConfirmSetup() = 0;

    /* The main frame's questions and notices. */

    // Offers to archive the documents that belong to no system: IDYES, IDNO or
    // IDCANCEL (do not exit); *pbDontWarn gets the "do not ask again" check.
    virtual int OrphanWarning(BOOL* pbDontWarn) = 0;
    // Today's notice of nCount expired documents; IDOK shows them.
    virtual int DailyNotice(int nCount, LPCTSTR pszDate) = 0;
    // Asked while a long operation runs, over pParent: IDOK goes on, IDCANCEL stops it.
    virtual int OperationInProgress(CWnd* pParent) = 0;
    // Offers the document types found since the last time; FALSE when there
    // was nothing to offer (nothing was shown).
    virtual BOOL OfferDocumentTypes() = 0;
    virtual int About() = 0;

    /* Catalog work: IDOK runs the work with the choices made. */

    virtual int UpdateOptions(CUpdateChoices& choices) = 0;
    virtual int MaintenanceOptions(CMaintenanceChoices& choices) = 0;

    /* Sheets: IDOK when the user accepted the values now in the data. */

    virtual int RunPreferenceSheet(ESheet eSheet, void* pSheetData) = 0;
    virtual int KeywordSystemSheet() = 0;
    virtual int DocumentsSheet(CDocumentsSheetData& data) = 0;
    // The web access dialogs by their template ID.
    virtual int WebDialog(UINT nIDTemplate) = 0;

    /* Documents and groups. */

    virtual int ImagePreview(CDocumentRec& document) = 0;
    // A folder chooser with the caption string nIDCaption; IDOK with *pstrFolder chosen.
    virtual int ChooseFolder(UINT nIDCaption, CDocumentRec& document, CString* pstrFolder) = 0;
    // The open-with dialog; IDOK with *pstrProgram chosen.
    virtual int OpenWith(CDocumentRec& document, CString* pstrProgram) = 0;
    // 1 when the group or keyword changed.
    virtual int GroupProperties(CNodeRec& node) = 0;
    virtual int NewGroup(CNodeRec& node) = 0;
    virtual int KeywordProperties(CNodeRec& node) = 0;
    // The document's properties: PROPERTIES_UNCHANGED, PROPERTIES_CHANGED, or
    // CATALOG_CHANGED (it moved, or its expiry changed); a move hands the new
    // document object to *ppMoved. bRecycle shows it read-only.
    virtual int DocumentProperties(CDocumentRec& document, BOOL bRecycle, std::unique_ptr<CDocumentRec>* ppMoved) = 0;
    virtual int ProcessDocuments(CDocumentRec& document) = 0;
    // The processing without its window: the beginning of the document's
    // content becomes its description. A CDocumentRec DESCRIPTION_ code
    // (DESCRIPTION_UNCHANGED also when there is no text to take).
    virtual int DescribeFromContent(CDocumentRec& document) = 0;
    // The question of a backup run for its target folder; null: none is
    // asked, the run keeps the folder first offered.
    virtual CBackupFolderPrompt* GetBackupFolderPrompt() = 0;
    // The password that protects an unprotected document; IDOK with *pstrPassword typed.
    virtual int NewPassword(CDocumentRec& document, CString* pstrPassword) = 0;
    // The new-folder dialog under the folder at pszParentPath: 1 when the user made the folder, else 0.
    virtual int NewFolder(LPCTSTR pszParentPath) = 0;
    // What opening the document does; IDOK with *pdwAction (its open action) chosen.
    virtual int SetOption(CDocumentRec& document, DWORD* pdwAction) = 0;
    // The document's version number; IDOK with *pnNumber (0 for none) chosen.
    virtual int SetNumber(CDocumentRec& document, int* pnNumber) = 0;

    // The search criteria: IDOK with *pFilter changed (never with bReadOnly).
    virtual int SearchCriteria(CListFilter& filter, BOOL bReadOnly) = 0;
    // The find dialog of a catalog view: IDOK with the find settings changed
    // (the application's) and a search to run.
    virtual int FindFilesHost() = 0;
    // The options of the catalog search (IDOK with the find settings changed).
    virtual int FindOptions() = 0;

    /* Find Files, the modeless window of files found on the disks. */

    // Shows the window (made once, kept between uses), looking in pszFolder.
    virtual void OpenFindFiles(LPCTSTR pszFolder, CWnd* pParent) = 0;
    // Destroys the window when it exists.
    virtual void CloseFindFiles() = 0;
    // The catalog changed: the window's results follow.
    virtual void FindFilesCatalogChanged() = 0;
};

// The answers until the dialogs exist: the wizard sets up an empty catalog
// (organisation mode without systems or places, the usual document types), no
// question is asked and no sheet changes anything. Messages are real message boxes.
class CDefaultFramePrompts : public CFramePrompts {
public:
    BOOL HasWindow(EWindow eWindow) const override;
    int RunSetupWizard(CSetupResults& results) override;
    int ConfirmSetup() override { return IDCANCEL; }
    int OrphanWarning(BOOL* pbDontWarn) override;
    int DailyNotice(int, LPCTSTR) override { return IDCANCEL; }
    int OperationInProgress(CWnd* pParent) override;
    BOOL OfferDocumentTypes() override { return FALSE; }
    int About() override { return IDOK; }
    int UpdateOptions(CUpdateChoices&) override { return IDCANCEL; }
    int MaintenanceOptions(CMaintenanceChoices&) override { return IDCANCEL; }
    int RunPreferenceSheet(ESheet, void*) override { return IDCANCEL; }
    int KeywordSystemSheet() override { return IDCANCEL; }
    int DocumentsSheet(CDocumentsSheetData&) override { return IDCANCEL; }
    int WebDialog(UINT) override { return IDCANCEL; }
    int ImagePreview(CDocumentRec&) override { return IDCANCEL; }
    int ChooseFolder(UINT, CDocumentRec&, CString*) override { return IDCANCEL; }
    int OpenWith(CDocumentRec&, CString*) override { return IDCANCEL; }
    int GroupProperties(CNodeRec&) override { return 0; }
    int NewGroup(CNodeRec&) override { return 0; }
    int KeywordProperties(CNodeRec&) override { return 0; }
    int DocumentProperties(CDocumentRec&, BOOL, std::unique_ptr<CDocumentRec>*) override
    {
        return PROPERTIES_UNCHANGED;
    }
    int ProcessDocuments(CDocumentRec&) override { return IDCANCEL; }
    int DescribeFromContent(CDocumentRec&) override;
    CBackupFolderPrompt* GetBackupFolderPrompt() override { return nullptr; }
    int NewPassword(CDocumentRec&, CString*) override { return IDCANCEL; }
    int NewFolder(LPCTSTR) override { return 0; }
    int SetOption(CDocumentRec&, DWORD*) override { return IDCANCEL; }
    int SetNumber(CDocumentRec&, int*) override { return IDCANCEL; }
    int SearchCriteria(CListFilter&, BOOL) override { return IDCANCEL; }
    int FindFilesHost() override { return IDCANCEL; }
    int FindOptions() override { return IDCANCEL; }
    void OpenFindFiles(LPCTSTR, CWnd*) override { }
    void CloseFindFiles() override { }
    void FindFilesCatalogChanged() override { }

    int OfferRecovery() override { return IDCANCEL; }
    int ChooseBackup(const CCatalogFiles&, BOOL, int*) override { return IDCANCEL; }
    void ShowMessage(UINT nStringID, UINT nStyle) override;
};

// The prompts in use: the installed ones, else a CDefaultFramePrompts.
CFramePrompts& GetFramePrompts();
// Installs pPrompts (nullptr: the defaults again); the caller keeps ownership
// and keeps it alive while it is installed. Returns the previous one (nullptr
// for the defaults).
CFramePrompts* InstallFramePrompts(CFramePrompts* pPrompts);
