#include "frame/ProgramHooks.h"

#include "catalog/CPendingDocs.h"
#include "frame/CArchivoraApp.h"
#include "frame/CArqListView.h"
#include "frame/CMainFrame.h"
#include "frame/FramePrompts.h"
#include "frame/StoreMessageBoxes.h"
#include "frame/WebAccessServices.h"
#include "mail/MailDocumentHooks.h"
#include "store/CPreferences.h"
#include "ui/CUiHostServices.h"
#include "ui/RunProgressDialogs.h"
#include "webaccess/profiles/CWASettings.h"

#include "platform/shell/ShellServices.h"

namespace {

// The interface kit's view of the application: whichever application object
// runs now, so that one installation serves every run of a process.
class CApplicationHost : public CUiHostServices {
public:
    CCatalog* GetMainCatalog() override
    {
        CArchivoraApp* pApp = GetArchivoraApp();
        return pApp ? pApp->GetMainCatalog() : nullptr;
    }
    CCatalog* GetRecycleCatalog() override
    {
        CArchivoraApp* pApp = GetArchivoraApp();
        return pApp ? pApp->GetRecycleCatalog() : nullptr;
    }
    CPendingDocs* GetPendingDocs() override
    {
        CArchivoraApp* pApp = GetArchivoraApp();
        return pApp ? pApp->GetPendingDocs() : nullptr;
    }
    CBackupFolderPrompt* GetBackupFolderPrompt() override { return GetFramePrompts().GetBackupFolderPrompt(); }
    BOOL OpenItem(CDocumentRec& document, LPCTSTR pszProgram) override
    {
        CArchivoraApp* pApp = GetArchivoraApp();
        if (!pApp)
            return FALSE;
        if (!pszProgram || !*pszProgram)
            return pApp->OpenItem(document, AfxGetMainWnd());
        CPendingDocs* pPending = pApp->GetPendingDocs();
        CWnd* pMainWnd = AfxGetMainWnd();
        return pPending && pPending->OpenDocument(document, pMainWnd ? pMainWnd->GetSafeHwnd() : nullptr, pszProgram);
    }
    void MinimizeAfterOpen() override
    {
        if (CArchivoraApp* pApp = GetArchivoraApp())
            pApp->MinimizeAfterOpen();
    }
    void GetNewDocumentLists(CNewDocumentLists* pLists) override
    {
        CArchivoraApp* pApp = GetArchivoraApp();
        if (!pApp || !pLists)
            return;
        pApp->BuildExtensionMap(pLists->first, pLists->second);
        pLists->entryPaths.Copy(pApp->GetNewDocumentTypes());
    }
    void ReplaceMenuItem(CMenu* pMenu) override { CMainFrame::ReplaceMenuItem(pMenu); }
    void BuildDynamicMenu() override
    {
        if (CArchivoraApp* pApp = GetArchivoraApp())
            pApp->BuildDynamicMenu();
    }
    BOOL GetListColumns(CListColumnChoices* pChoices, BOOL* pbListExtension) override
    {
        return CArqListView::GetVisibleColumns(pChoices, pbListExtension);
    }
    void ApplyListColumns(const CListColumnChoices& choices, BOOL bListExtension) override
    {
        (void)CArqListView::ApplyColumnChoices(choices, bListExtension);
    }
    COpenWithMenu* GetOpenWithMenu() override
    {
        CArchivoraApp* pApp = GetArchivoraApp();
        CMainFrame* pMainFrame = pApp ? pApp->GetMainFrame() : nullptr;
        return pMainFrame ? &pMainFrame->GetOpenWithMenu() : nullptr;
    }

    /* The dialogs, through the frame's prompts. */

    // The kit's popups keep their own object, so a moved one is let go.
    int RunDocumentProperties(CDocumentRec& document) override
    {
        return GetFramePrompts().DocumentProperties(document, FALSE, nullptr);
    }
    int RunProcessDocuments(CDocumentRec& document) override
    {
        const int nResult = GetFramePrompts().ProcessDocuments(document);
        return nResult == IDCANCEL ? 0 : nResult;
    }
    int RunImagePreview(CDocumentRec& document) override { return GetFramePrompts().ImagePreview(document); }
    int RunGroupProperties(CNodeRec& node) override { return GetFramePrompts().GroupProperties(node); }
    int RunNewGroup(CNodeRec& parent) override { return GetFramePrompts().NewGroup(parent); }
    int RunKeywordProperties(CNodeRec& node) override { return GetFramePrompts().KeywordProperties(node); }
    int RunNewFolder(LPCTSTR pszParentPath) override { return GetFramePrompts().NewFolder(pszParentPath); }
};

} // namespace

void InstallProgramHooks()
{
    static CApplicationHost s_host;
    InstallShellServices();
    InstallMailDocumentHooks();
    InstallUiHostServices(&s_host);
    InstallRunProgressDialogs();
    InstallStoreMessageBoxes();
    // The preferences load and save the web access settings with their own.
    thePreferences.AttachWebSettings(&GetWebAccessSettings());
}
