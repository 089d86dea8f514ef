// First-run set-up and the commands that replace the whole catalog: set up
// again, update, maintenance, rebuild, restore from a backup.
//
// Every replacement closes the catalog views first (PrepareCatalogReplace) and
// makes them again from the saved layout afterwards (ActivateCatalogDocument),
// so that no window keeps records of the files being replaced. The catalog
// files themselves are replaced crash-safely by the store.

#include "frame/CArchivoraApp.h"

#include "catalog/CCatalogMaintenance.h"
#include "catalog/CCatalogUpdate.h"
#include "catalog/CPendingDocs.h"
#include "frame/AppGlobals.h"
#include "frame/AppMessages.h"
#include "frame/CCoolMenu.h"
#include "frame/CMainFrame.h"
#include "frame/CSisTreeView.h"
#include "frame/CSplitterFrame.h"
#include "frame/CatalogHold.h"
#include "frame/FramePrompts.h"
#include "frame/SetupResults.h"
#include "mail/CMailClientSet.h"
#include "monitor/MonitorPause.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CCleanUpFolderRec.h"
#include "store/CLibFolderRec.h"
#include "store/CMailStoreRec.h"
#include "store/CNodeRec.h"
#include "store/CPreferences.h"
#include "store/CatalogCompaction.h"
#include "ui/CKadDragObjReg.h"
#include "webaccess/server/CWACommand.h"

#include "platform/base/FileFunctions.h"
#include "platform/base/TextFunctions.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/AfxWinMain.h"
#include "platform/framework/CDocTemplate.h"
#include "platform/framework/CDocument.h"
#include "platform/framework/CWaitCursor.h"
#include "platform/window/MdiClient.h"
#include "platform/window/Window.h"

#include <memory>

namespace {

// The file name patterns a catalog leaves out, and the folder it cleans up.
constexpr const char* EXCLUDED_PATTERNS[] = { "~*.*", "*.tmp" };
constexpr char CLEAN_UP_FOLDER_NAME[] = "Temporary Internet Files";
constexpr char LOCAL_DISK_LOCATION[] = "Local Disk";
constexpr char DOCUMENT_TITLE[] = "Archiv1";
constexpr LONG ROOT_SET_UP_FLAGS = 2; // the root's flags once the catalog is set up

// The location kind of a mail store kind of the wizard; -1 for one the catalog does not keep.
int LocationKindOfStore(int nStoreKind)
{
    switch (nStoreKind) {
    case 0:
        return LOCATION_NETSCAPE;
    case 2:
        return LOCATION_OUTLOOK_EXPRESS4;
    case 3:
        return LOCATION_OUTLOOK_EXPRESS5;
    default:
        return -1;
    }
}

// The kinds (pictures) of the systems of the wizard's two branches.
constexpr LONG OWN_NAMES_KIND = 6;
constexpr LONG USAGE_KIND = 8;

// Makes the system of item under pParent, of kind nKind, with its keywords,
// folders and subsystems (a system already there of that name takes them).
void AddSystemFromSetup(CCatalog& catalog, CNodeRec& parent, const COrgItem& item, LONG nKind)
{
    CNodeInfo info {};
    MakeDefaultNames(&info);
    Utf8CopyToField(info.szName, sizeof(info.szName), item.strName, FieldEnd::NulTerminated);
    info.nKind = nKind;
    info.wSearchType = item.wSearchMask;
    std::unique_ptr<CNodeRec> pNode(parent.FindOrAddChild(info));
    if (!pNode)
        return;
    pNode->UnlinkKeywords();
    catalog.LoadKeywords(pNode.get(), item.keywords);
    pNode->UnlinkNodeFolders();
    for (int i = 0; i < item.folders.GetSize(); ++i) {
        catalog.RemoveNodeFolderByName(item.folders[i]);
        if (std::unique_ptr<CNodeFolderRec> pFolder(catalog.AddNodeFolder(item.folders[i])); pFolder)
            pNode->LinkNodeFolder(pFolder.get());
    }
    for (const auto& pChild : item.children)
        AddSystemFromSetup(catalog, *pNode, *pChild, nKind);
}

} // namespace

/***************************** First run *****************************/

BOOL CArchivoraApp::RunFirstSetup(BOOL bRerun)
{
    CSetupResults results;
    if (GetFramePrompts().RunSetupWizard(results) != CFramePrompts::WIZARD_FINISHED)
        return FALSE;
    if (bRerun) {
        ForgetPendingDocuments();
        const CString strText1 = m_pMainCatalog->GetHeaderString(0);
        const CString strText2 = m_pMainCatalog->GetHeaderString(1);
        const LONG nLink1 = m_pMainCatalog->GetHeaderLink(0);
        const LONG nLink2 = m_pMainCatalog->GetHeaderLink(1);
        CloseCatalogs();
        CCatalog::CreateFile(TRUE, m_strRecyclePath, BLOCK_SIZE);
        CCatalog::CreateFile(FALSE, m_strCatalogPath, BLOCK_SIZE);
        if (!OpenCatalogs())
            return FALSE;
        m_pMainCatalog->SetHeaderStrings(strText1, strText2);
        m_pMainCatalog->SetHeaderLinks(nLink1, nLink2);
    }
    ResetProductKey();
    thePreferences.Load();
    const int nFirstUpdate = FirstUpdateMode(results);
    {
        // The wizard's finish is one user action: the catalog takes the setup
        // in one commit. A first cataloguing commits as it goes, so the
        // catalog counts as set up only once it has run.
        CCatalogAction action(m_pMainCatalog.get());
        SetUpCatalog(results, bRerun);
        if (nFirstUpdate < 0)
            MarkCatalogSetUp();
    }
    if (nFirstUpdate >= 0) {
        RunFirstCataloguing(results, nFirstUpdate);
        CCatalogAction action(m_pMainCatalog.get());
        MarkCatalogSetUp();
    }
    RefreshDefaultSystem();
    return TRUE;
}

void CArchivoraApp::SetUpCatalog(const CSetupResults& results, BOOL)
{
    CCatalog& catalog = *m_pMainCatalog;
    // A set-up cut short by a crash left its entries: the tables take this
    // run's choices, each entry once.
    static_cast<void>(catalog.ClearExtensions());
    for (int i = 0; i < results.extensions.GetSize(); ++i)
        catalog.LoadExtensions(results.extensions[i]);
    // The entries are written as they are made; their records are not kept.
    for (const char* pszPattern : EXCLUDED_PATTERNS) {
        if (!std::unique_ptr<CLibFolderRec>(catalog.FindLibFolder(pszPattern)))
            std::unique_ptr<CLibFolderRec> pPattern(catalog.AddLibFolder(pszPattern));
    }
    // The folder of temporary downloads, in the folder that stands for the
    // system's own (the program's folder here).
    CString strCleanUp = m_strModuleFolder;
    strCleanUp.MakeLower();
    if (strCleanUp.IsEmpty() || strCleanUp.Right(1) != "\\")
        strCleanUp += "\\";
    strCleanUp += CLEAN_UP_FOLDER_NAME;
    if (!std::unique_ptr<CCleanUpFolderRec>(catalog.FindCleanUpFolder(strCleanUp)))
        std::unique_ptr<CCleanUpFolderRec> pCleanUp(catalog.AddCleanUpFolder(strCleanUp));

    catalog.ClearLocations();
    if (results.nPlaceChoice & CCatalog::PLACE_LOCAL_DISK)
        std::unique_ptr<CMailStoreRec> pLocal(catalog.AddMailStore(LOCATION_LOCAL_DISK, LOCAL_DISK_LOCATION));
    if (results.nPlaceChoice & CCatalog::PLACE_NETWORK) {
        for (int i = 0; i < results.networkPlaces.GetSize(); ++i)
            std::unique_ptr<CMailStoreRec> pPlace(catalog.AddMailStore(LOCATION_NETWORK, results.networkPlaces[i]));
    }
    for (const auto& mailFolder : results.mailFolders) {
        if (const int nKind = LocationKindOfStore(mailFolder.nStoreKind); nKind >= 0)
            std::unique_ptr<CMailStoreRec> pStore(catalog.AddMailStore(static_cast<WORD>(nKind), mailFolder.strPath));
    }
    catalog.SetPlaceChoice(results.nPlaceChoice);
    thePreferences.BuildDocumentTypeMap(&catalog);
    // The types the wizard offered are not offered again as new ones.
    thePreferences.m_documents.Copy(results.offeredTypes);
    static_cast<void>(thePreferences.SaveDocuments()); // a failed save only offers them again

    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(&catalog));
    if (!pRoot)
        return;
    // In folder mode the checked folders are catalogued afterwards
    // (RunFirstCataloguing); their folder records then make them watched for
    // new documents. Only the excluded ones join "DSDir", the folders never offered.
    if (!results.bFolderMode) {
        if (results.pCustomBranch)
            AddSystemFromSetup(catalog, *pRoot, *results.pCustomBranch, OWN_NAMES_KIND);
        if (results.pUsageBranch)
            AddSystemFromSetup(catalog, *pRoot, *results.pUsageBranch, USAGE_KIND);
    }
}

int CArchivoraApp::FirstUpdateMode(const CSetupResults& results)
{
    if (results.bFolderMode)
        return CCatalogUpdate::MODE_FIRST;
    return results.nPlaceChoice != CCatalog::PLACE_NONE ? CCatalogUpdate::MODE_UPDATE : -1;
}

void CArchivoraApp::RunFirstCataloguing(const CSetupResults& results, int nMode)
{
    CCatalog* pCatalog = m_pMainCatalog.get();
    const HWND hOwner = m_pMainWnd ? m_pMainWnd->GetSafeHwnd() : nullptr;
    if (nMode == CCatalogUpdate::MODE_FIRST) {
        // The folders excluded in the wizard are never offered, by this run or
        // later ones; held in memory even when saving them fails.
        static_cast<void>(thePreferences.AddDSDirs(results.partlyCheckedFolders));
        // The checked folders become systems; what they do not place (mail
        // messages) goes to the unsorted documents.
        CCatalogUpdate update(pCatalog, nullptr, 0, hOwner);
        update.BuildRootMap(results.checkedFolders);
        static_cast<void>(update.Update(nMode));
    } else {
        CCatalogUpdate update(pCatalog, nullptr, CCatalogUpdate::OPTION_PLACES, hOwner);
        static_cast<void>(update.Update(nMode));
    }
}

void CArchivoraApp::MarkCatalogSetUp()
{
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(m_pMainCatalog.get()));
    if (pRoot) {
        CNodeInfo info {};
        pRoot->GetInfo(&info);
        info.nFlags = ROOT_SET_UP_FLAGS;
        pRoot->UpdateInfo(info);
    }
    StampCatalogTime(TRUE);
}

void CArchivoraApp::SelectFirstSystem()
{
    // The first of the root's children is the tree's first system.
    CMainFrame* pMainFrame = GetMainFrame();
    CSplitterFrame* pFrame = pMainFrame ? pMainFrame->GetActiveCatalogFrame() : nullptr;
    if (!pFrame || !m_pMainCatalog)
        return;
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(m_pMainCatalog.get()));
    std::unique_ptr<CNodeRec> pFirst(pRoot ? pRoot->GetFirstChild() : nullptr);
    if (pFirst)
        pFrame->SelectNode(*pFirst);
}

/***************************** Replacing the catalog *****************************/

void CArchivoraApp::CloseCatalogs()
{
    // Nothing may keep a record of files about to be replaced: web sessions
    // end, and requests wait until a catalog is served again.
    if (CMainFrame* pMainFrame = GetMainFrame())
        pMainFrame->EndWebSessions();
    SetWebCatalog(nullptr);
    m_findSettings.Free();
    thePreferences.ReleaseDefaultSystem();
    m_pPendingDocs.reset();
    m_pMainCatalog.reset();
    m_pRecycleCatalog.reset();
}

void CArchivoraApp::ForgetPendingDocuments()
{
    if (!m_pPendingDocs)
        return;
    // Protected again while their records are at hand; a file that cannot be stays listed.
    m_pPendingDocs->ReloadFlagged(CPendingDocs::FLAG_UNPROTECTED, TRUE);
    m_pPendingDocs->ReloadFlagged(CPendingDocs::FLAG_OPENED, TRUE);
}

void CArchivoraApp::PrepareCatalogReplace(BOOL* pbIconShown)
{
    CWaitCursor wait;
    CMainFrame* pMainFrame = GetMainFrame();
    if (pMainFrame)
        pMainFrame->SaveSettings();
    // The settings' save rewrote the Desktop key, the pending documents' list among it.
    if (m_pPendingDocs)
        m_pPendingDocs->SavePending();
    // Records named by block and slot mean nothing in the files that replace these.
    CKadDragObjReg::ForgetClipboardPayload();
    *pbIconShown = pMainFrame ? pMainFrame->IsTrayIconShown() : FALSE;
    if (!pMainFrame)
        return;
    // The drag bar's windows (recycle bin, expired documents, search results) hold records too.
    pMainFrame->CloseDragBarWindows();
    // The monitor must not look into files about to be replaced.
    pMainFrame->GetMonitor().Stop();
    while (HWND hChild = ::GetWindow(pMainFrame->m_hWndMDIClient, GW_CHILD))
        ::SendMessage(pMainFrame->m_hWndMDIClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(hChild), 0);
}

void CArchivoraApp::ActivateCatalogDocument(BOOL bIconShown)
{
    CWaitCursor wait;
    POSITION pos = GetFirstDocTemplatePosition();
    CDocTemplate* pTemplate = pos ? GetNextDocTemplate(pos) : nullptr;
    CDocument* pDocument = pTemplate ? pTemplate->CreateNewDocument() : nullptr;
    if (!pDocument)
        return;
    pDocument->SetTitle(DOCUMENT_TITLE);
    thePreferences.Load();
    CArchivoraCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    static_cast<void>(RestoreCatalogViews(pDocument, cmdInfo));
    if (CMainFrame* pMainFrame = GetMainFrame())
        pMainFrame->RestartMonitor(bIconShown);
}

void CArchivoraApp::OnRerunSetup()
{
    if (GetFramePrompts().ConfirmSetup() != IDOK)
        return;
    BOOL bIconShown = FALSE;
    PrepareCatalogReplace(&bIconShown);
    if (!RunFirstSetup(TRUE)) {
        ActivateCatalogDocument(bIconShown);
        return;
    }
    CArchivoraCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    ProcessShellCommand(cmdInfo);
    if (CMainFrame* pMainFrame = GetMainFrame()) {
        if (CMDIChildWnd* pChild = pMainFrame->MDIGetActive())
            ::SendMessage(pMainFrame->m_hWndMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(pChild->m_hWnd), 0);
    }
    SelectFirstSystem();
    // Set up again: what the monitor queued belongs to the catalog it replaced.
    if (CMainFrame* pMainFrame = GetMainFrame()) {
        pMainFrame->GetMonitor().ClearNotices();
        pMainFrame->RestartMonitor(bIconShown);
    }
    _unlink(m_strFolderIndexPath);
    m_findSettings.Reset(m_pMainCatalog.get());
}

void CArchivoraApp::OnUpdateCatalog()
{
    CCatalogHold hold(m_pMainCatalog.get());
    const BOOL bMailStores = GetMailClientSet().HasStores();
    const BOOL bPlaces = m_pMainCatalog->GetPlaceChoice() != CCatalog::PLACE_NONE;
    if (!bMailStores && !bPlaces) {
        AfxMessageBox(IDS_NO_PLACE_TO_UPDATE);
        return;
    }
    if (bMailStores && !bPlaces && m_pMainCatalog->GetLocationCount() == 0) {
        AfxMessageBox(IDS_NO_LOCATION);
        return;
    }
    CUpdateChoices choices;
    if (GetFramePrompts().UpdateOptions(choices) != IDOK)
        return;
    const BOOL bHadSystems = HasSystems();
    // The monitor is off and out of the tray until the views show the result.
    CMainFrame* pMainFrame = GetMainFrame();
    CMonitorPause pause(pMainFrame ? &pMainFrame->GetMonitor() : nullptr, CMonitorPause::HIDE_ICON);
    {
        const int nOption = (choices.bFirst ? CCatalogUpdate::OPTION_PLACES : 0)
            | (choices.bSecond ? CCatalogUpdate::OPTION_FAST_FOLDERS : 0);
        CCatalogUpdate update(m_pMainCatalog.get(), nullptr, nOption, m_pMainWnd ? m_pMainWnd->GetSafeHwnd() : nullptr);
        static_cast<void>(update.Update(CCatalogUpdate::MODE_UPDATE));
    }
    if (m_pMainWnd)
        m_pMainWnd->SendMessage(g_nMsgRedo, 0, 0);
    // The tree of the active view is told that the catalog has its first systems.
    CSplitterFrame* pFrame = pMainFrame ? pMainFrame->GetActiveCatalogFrame() : nullptr;
    if (!bHadSystems && HasSystems() && pFrame && pFrame->GetTreeView())
        pFrame->GetTreeView()->SendMessage(WM_COMMAND, ID_VIEW_TOP_NODE3, 0);
}

BOOL CArchivoraApp::HasSystems() const
{
    std::unique_ptr<CNodeRec> pRoot(m_pMainCatalog ? CNodeRec::NewRootNodeRec(m_pMainCatalog.get()) : nullptr);
    std::unique_ptr<CNodeRec> pFirst(pRoot ? pRoot->GetFirstChild() : nullptr);
    return pFirst ? TRUE : FALSE;
}

void CArchivoraApp::OnCatalogMaintenance()
{
    CMaintenanceChoices choices;
    if (GetFramePrompts().MaintenanceOptions(choices) != IDOK)
        return;
    {
        CCatalogHold holdMain(m_pMainCatalog.get());
        CCatalogHold holdRecycle(m_pRecycleCatalog.get());
        if (!holdMain.IsHeld() || !holdRecycle.IsHeld())
            return;
        CCatalogMaintenance maintenance(m_pMainCatalog.get(), m_pRecycleCatalog.get());
        maintenance.RunCatalogMaintenance(choices.bTempFolders, choices.bTempFiles, choices.bExpired, choices.bRecycle);
    }
    if (m_pMainWnd)
        m_pMainWnd->SendMessage(g_nMsgRedo, 0, 0);
}

void CArchivoraApp::OnRebuildCatalog()
{
    ResetCompactState();
    // The server reads the catalog: it stops for the rebuild and serves the new files after.
    CMainFrame* pMainFrame = GetMainFrame();
    const BOOL bServing = pMainFrame ? pMainFrame->SetWebServerRunning(FALSE) : FALSE;
    BOOL bIconShown = FALSE;
    PrepareCatalogReplace(&bIconShown);
    const CString strTempMain = m_strModuleFolder + COMPACT_TEMP_MAIN_NAME;
    const CString strTempRecycle = m_strModuleFolder + COMPACT_TEMP_RECYCLE_NAME;
    BOOL bCopied = FALSE;
    {
        CCatalogHold holdRecycle(m_pRecycleCatalog.get());
        CCatalogHold holdMain(m_pMainCatalog.get());
        bCopied = holdRecycle.IsHeld() && holdMain.IsHeld()
            && CompactCatalog(*m_pMainCatalog, *m_pRecycleCatalog, strTempMain, strTempRecycle);
    }
    CloseCatalogs();
    // Crash-safe: each catalog file is either its original or its complete copy.
    if (bCopied)
        ReplaceCatalogFiles(strTempMain, strTempRecycle, m_strCatalogPath, m_strRecyclePath);
    if (OpenCatalogs()) {
        m_findSettings.Reset(m_pMainCatalog.get());
        ActivateCatalogDocument(bIconShown);
    }
    if (m_pPendingDocs)
        m_pPendingDocs->SavePending();
    if (bServing && pMainFrame)
        pMainFrame->SetWebServerRunning(TRUE);
}

void CArchivoraApp::OnRestoreBackup()
{
    // Nothing is touched until the user has chosen a backup: a cancel keeps the views.
    int nGeneration = 0;
    const int nChoice = m_pBackupMonitor->ChooseBackup(&nGeneration);
    if (nChoice != CBackupMonitor::END_RESTORE_GENERATION && nChoice != CBackupMonitor::END_RESTORE_OLD)
        return;
    ForgetPendingDocuments();
    BOOL bIconShown = FALSE;
    PrepareCatalogReplace(&bIconShown);
    CloseCatalogs();
    // The restore tells the user its result; whatever files are then in place are opened.
    (void)m_pBackupMonitor->RestoreChosenBackup(nChoice, nGeneration);
    if (OpenCatalogs()) {
        _unlink(m_strFolderIndexPath);
        m_findSettings.Reset(m_pMainCatalog.get());
        ActivateCatalogDocument(bIconShown);
    }
}

void CArchivoraApp::OnUpdateNeedsWindow(CCmdUI* pCmdUI)
{
    CFramePrompts::EWindow eWindow = CFramePrompts::EWindow::ConfirmSetup;
    switch (pCmdUI->m_nID) {
    case ID_CATALOG_UPDATE:
        eWindow = CFramePrompts::EWindow::UpdateOptions;
        break;
    case ID_CATALOG_MAINTENANCE:
        eWindow = CFramePrompts::EWindow::MaintenanceOptions;
        break;
    case ID_CATALOG_RESTORE:
        eWindow = CFramePrompts::EWindow::BackupList;
        break;
    default:
        break;
    }
    pCmdUI->Enable(GetFramePrompts().HasWindow(eWindow));
}
