// The application object: start-up, idle, the end of the run and teardown.

#include "frame/CArchivoraApp.h"

#include "catalog/CPendingDocs.h"
#include "frame/AppGlobals.h"
#include "frame/AppMessages.h"
#include "frame/CArchivoraDoc.h"
#include "frame/CMainFrame.h"
#include "frame/CSisTreeView.h"
#include "frame/CSplitterFrame.h"
#include "frame/DesktopLayout.h"
#include "frame/FramePrompts.h"
#include "frame/ProgramHooks.h"
#include "frame/SessionEndHook.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CLogFile.h"
#include "store/CNetDriveMap.h"
#include "store/CNodeRec.h"
#include "store/CPreferences.h"
#include "store/CRegistryKey.h"
#include "ui/DropTargets.h"
#include "webaccess/server/CWACommand.h"

#include "platform/base/PathNames.h"
#include "platform/base/ProgramFolder.h"
#include "platform/base/ResourceModule.h"
#include "platform/base/WinError.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/AfxWinMain.h"
#include "platform/framework/CDocTemplate.h"
#include "platform/framework/CRichEditCtrl.h"
#include "platform/net/AsyncSocket.h"
#include "platform/window/MdiClient.h"
#include "platform/window/Window.h"

#include <memory>

// clang-format off
BEGIN_MESSAGE_MAP(CArchivoraApp, CWinApp)
    ON_COMMAND(ID_APP_ABOUT, &CArchivoraApp::OnAppAbout)
    ON_COMMAND(ID_CATALOG_SETUP_AGAIN, &CArchivoraApp::OnRerunSetup)
    ON_COMMAND(ID_CATALOG_UPDATE, &CArchivoraApp::OnUpdateCatalog)
    ON_COMMAND(ID_CATALOG_MAINTENANCE, &CArchivoraApp::OnCatalogMaintenance)
    ON_COMMAND(ID_CATALOG_REBUILD, &CArchivoraApp::OnRebuildCatalog)
    ON_COMMAND(ID_CATALOG_RESTORE, &CArchivoraApp::OnRestoreBackup)
    ON_COMMAND(ID_FILE_NEW, &CArchivoraApp::OnNewWindow)
    ON_UPDATE_COMMAND_UI(ID_CATALOG_SETUP_AGAIN, &CArchivoraApp::OnUpdateNeedsWindow)
    ON_UPDATE_COMMAND_UI(ID_CATALOG_UPDATE, &CArchivoraApp::OnUpdateNeedsWindow)
    ON_UPDATE_COMMAND_UI(ID_CATALOG_MAINTENANCE, &CArchivoraApp::OnUpdateNeedsWindow)
    ON_UPDATE_COMMAND_UI(ID_CATALOG_RESTORE, &CArchivoraApp::OnUpdateNeedsWindow)
    ON_REGISTERED_THREAD_MESSAGE(g_nMsgSessionEnd, &CArchivoraApp::OnSessionEndMessage)
END_MESSAGE_MAP()
// clang-format on

namespace {

CArchivoraApp* g_pArchivoraApp = nullptr;

constexpr char RESOURCE_MODULE[] = "arching.dll";
constexpr char DOCUMENT_TITLE[] = "Archiv1";
constexpr DWORD MAIN_FRAME_STYLE = 0xCF8000; // an overlapped window; the frame adds its title

} // namespace

CArchivoraApp* GetArchivoraApp()
{
    return g_pArchivoraApp;
}

CArchivoraApp::CArchivoraApp()
{
    g_pArchivoraApp = this;
}

CArchivoraApp::~CArchivoraApp()
{
    if (m_findSettings.IsLoaded())
        m_findSettings.Save(*this);
    ClearMonitorFlag();
    FreeAppGlobals();
    CloseCatalogs();
    if (g_pArchivoraApp == this)
        g_pArchivoraApp = nullptr;
}

/***************************** Start-up *****************************/

BOOL CArchivoraApp::InitInstance()
{
    InstallProgramHooks();
    m_pSessionEndHook = std::make_unique<CSessionEndHook>(g_nMsgSessionEnd);

    // The resource module; without it the next step finds no name and the start ends.
    m_hResourceModule = LoadLibrary(RESOURCE_MODULE);
    if (m_hResourceModule)
        AfxSetResourceHandle(m_hResourceModule);

    CArchivoraCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);

    if (!m_singleInstance.Register(IDR_MAINFRAME)) {
        if (GetLastError() == ERROR_ALREADY_EXISTS)
            m_bHandedOver = NotifyRunningInstance(m_singleInstance.GetClassName(), cmdInfo);
        return FALSE;
    }
    if (!InitServices())
        return FALSE;

    char szModule[MAX_PATH] {};
    GetModuleFileName(nullptr, szModule, MAX_PATH);
    m_strModulePath = szModule;
    m_strModuleFolder = m_strModulePath.Left(m_strModulePath.ReverseFind('\\') + 1);
    m_strCatalogPath = m_strModuleFolder + "archiv.cat";
    m_strRecyclePath = m_strModuleFolder + "winrec.cat";
    m_strFolderIndexPath = m_strModuleFolder + "winsch.cat";
    archivora::g_log.Begin(m_strModuleFolder + "archiv.log", cmdInfo.m_dwTraceLetters);

    // The preferences come before the backup check, which reads its interval
    // and the generations to keep from them.
    thePreferences.Load();
    m_pBackupMonitor
        = std::make_unique<CBackupMonitor>(m_strCatalogPath, m_strRecyclePath, thePreferences, GetFramePrompts());
    if (!m_pBackupMonitor->CheckCatalogAtStartup())
        return FALSE;
    if (!OpenCatalogs())
        return FALSE;
    m_ftCatalogStamp = m_pMainCatalog->GetTimeStamp();

    {
        std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(m_pMainCatalog.get()));
        m_bFirstRun = pRoot && (pRoot->GetFlags() & CNodeRec::ROOT_NOT_SET_UP) ? TRUE : FALSE;
    }
    if (m_bFirstRun)
        m_pBackupMonitor->MakeCatalogBackup();

    thePreferences.Load();
    m_findSettings.Load(*this, m_pMainCatalog.get());

    constexpr DWORD START_MODES = CArchivoraCommandLineInfo::START_SHOW | CArchivoraCommandLineInfo::START_TRAY;
    if ((cmdInfo.m_dwStartFlags & START_MODES) == CArchivoraCommandLineInfo::START_TRAY) {
        // Starting in the tray needs a catalog that is set up and the user's wish to start so.
        if (m_bFirstRun || !thePreferences.m_bDSAutoIniciar)
            return FALSE;
    } else if (m_bFirstRun) {
        cmdInfo.m_dwStartFlags |= START_MODES;
    }
    InitDragDrop();

    if (!CreateMainWindow())
        return FALSE;
    m_pCatalogTemplate = new CMultiDocTemplate(
        IDR_CATALOG_TYPE, RUNTIME_CLASS(CArchivoraDoc), RUNTIME_CLASS(CSplitterFrame), RUNTIME_CLASS(CSisTreeView));
    AddDocTemplate(m_pCatalogTemplate);
    CDocument* pDocument = m_pCatalogTemplate->CreateNewDocument();
    if (!pDocument) {
        AbandonStart(nullptr);
        return FALSE;
    }
    pDocument->SetTitle(DOCUMENT_TITLE);

    const BOOL bShow = (cmdInfo.m_dwStartFlags & CArchivoraCommandLineInfo::START_SHOW) != 0;
    if (m_bFirstRun) {
        m_pMainWnd->ShowWindow(SW_MAXIMIZE);
        if (!RunFirstSetup(FALSE)) {
            AbandonStart(pDocument);
            return FALSE;
        }
    } else if (bShow) {
        m_pMainWnd->ShowWindow(m_nCmdShow);
    }

    if (!RestoreCatalogViews(pDocument, cmdInfo)) {
        AbandonStart(pDocument);
        return FALSE;
    }
    if (m_bFirstRun)
        SelectFirstSystem();

    if (cmdInfo.m_dwStartFlags & CArchivoraCommandLineInfo::START_TRAY)
        m_pMainWnd->SendMessage(WM_COMMAND, ID_TRAY_START, 0);
    if (bShow) {
        m_pMainWnd->UpdateWindow();
        m_pMainWnd->SendMessage(WM_COMMAND, ID_START_NORMAL, 0);
    } else {
        // The window stays hidden, and so the catalog file closed.
        m_pMainCatalog->Release();
    }
    // The monitor watches what the catalog covers now (a first run has just set it up).
    if (CMainFrame* pMainFrame = GetMainFrame())
        pMainFrame->RestartMonitor(pMainFrame->GetMonitor().IsIconShown());
    return TRUE;
}

BOOL CArchivoraApp::InitServices()
{
    if (!AfxOleInit()) {
        AfxMessageBox(IDS_OLE_INIT_FAILED);
        return FALSE;
    }
    // The web access service's sockets report to this thread.
    if (!AfxSocketInit()) {
        AfxMessageBox(IDS_SOCKETS_INIT_FAILED);
        return FALSE;
    }
    AfxEnableControlContainer();
    Enable3dControls();
    // The content preview is a rich edit control.
    AfxInitRichEdit();
    SetRegistryKey("KD");
    LoadStdProfileSettings(0);
    InitAppGlobals();
    return TRUE;
}

BOOL CArchivoraApp::OpenCatalogs()
{
    m_pRecycleCatalog = std::make_unique<CCatalog>(m_strRecyclePath, CCatalog::CREATE_RECYCLE);
    if (m_pRecycleCatalog->IsOpen())
        m_pRecycleCatalog->Release();
    m_pMainCatalog = std::make_unique<CCatalog>(m_strCatalogPath, CCatalog::CREATE_MAIN);
    m_pPendingDocs = std::make_unique<CPendingDocs>(m_pMainCatalog.get());
    m_pPendingDocs->LoadPending();
    // A catalog that cannot be read has had its fatal error reported; nothing can run on it.
    if (!m_pMainCatalog->IsOpen())
        return FALSE;
    // Web access serves the main catalog: this one from start-up, and each that replaces it.
    SetWebCatalog(m_pMainCatalog.get());
    return TRUE;
}

BOOL CArchivoraApp::CreateMainWindow()
{
    auto* pFrame = new CMainFrame;
    // A frame that fails to load has deleted itself.
    if (!pFrame->LoadFrame(IDR_MAINFRAME, MAIN_FRAME_STYLE))
        return FALSE;
    m_pMainWnd = pFrame;
    return TRUE;
}

BOOL CArchivoraApp::RestoreCatalogViews(CDocument* pDocument, CArchivoraCommandLineInfo& cmdInfo)
{
    int nRestored = 0;
    CFrameWnd* pActive = RestoreChildFrames(pDocument, &nRestored);
    g_netDriveMap.ScanDrives();
    CMainFrame* pMainFrame = GetMainFrame();
    if (nRestored == 0) {
        if (!ProcessShellCommand(cmdInfo))
            return FALSE;
    } else if (pActive && pMainFrame) {
        ::SendMessage(pMainFrame->m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(pActive->m_hWnd), 0);
    }
    if (pMainFrame) {
        if (CMDIChildWnd* pChild = pMainFrame->MDIGetActive()) {
            ::SendMessage(pMainFrame->m_hWndMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(pChild->m_hWnd), 0);
            PlaceNewDocumentEntry();
        }
    }
    return TRUE;
}

CFrameWnd* CArchivoraApp::RestoreChildFrames(CDocument* pDocument, int* pnRestored)
{
    *pnRestored = 0;
    if (!m_pCatalogTemplate || !pDocument)
        return nullptr;
    g_hRestoreKey = g_regKeyDesktop;
    const int nCount = ReadFrameCount();
    const int nActive = ReadActiveFrame();
    CFrameWnd* pActive = nullptr;
    CFrameWnd* pLast = nullptr;
    for (int i = 0; i < nCount; ++i) {
        g_strCurrentChildKey = ChildKeyName(i);
        // Only views the layout kept come back: a damaged count makes no more.
        CRegistryKey childKey;
        if (!childKey.Open(g_hRestoreKey, g_strCurrentChildKey, KEY_READ))
            continue;
        // A view that cannot be made is left out; the others still come.
        CFrameWnd* pFrame = m_pCatalogTemplate->CreateNewFrame(pDocument, nullptr);
        if (!pFrame)
            continue;
        m_pCatalogTemplate->InitialUpdateFrame(pFrame, pDocument, TRUE);
        ++*pnRestored;
        pLast = pFrame;
        if (i == nActive)
            pActive = pFrame;
    }
    g_hRestoreKey = nullptr;
    g_strCurrentChildKey.Empty();
    // An active index that names no view activates the last one made.
    return pActive ? pActive : pLast;
}

void CArchivoraApp::AbandonStart(CDocument* pDocument)
{
    // The end of the session may have closed the window, and the document
    // with it, while the start-up waited in the set-up wizard.
    BOOL bDocumentLives = FALSE;
    for (POSITION pos = m_pCatalogTemplate ? m_pCatalogTemplate->GetFirstDocPosition() : nullptr; pos;)
        bDocumentLives = bDocumentLives || m_pCatalogTemplate->GetNextDoc(pos) == pDocument;
    if (m_pMainWnd && m_pMainWnd->GetSafeHwnd())
        m_pMainWnd->DestroyWindow();
    m_pMainWnd = nullptr;
    if (pDocument && bDocumentLives) {
        m_pCatalogTemplate->RemoveDocument(pDocument);
        delete pDocument;
    }
}

BOOL CArchivoraApp::NotifyRunningInstance(LPCTSTR pszClassName, const CArchivoraCommandLineInfo& cmdInfo)
{
    HWND hWnd = FindWindowEx(nullptr, nullptr, pszClassName, nullptr);
    if (!hWnd)
        return FALSE;
    if (cmdInfo.m_dwStartFlags & CArchivoraCommandLineInfo::START_TRAY)
        ::SendMessage(hWnd, WM_COMMAND, ID_TRAY_START, 0);
    if (cmdInfo.m_dwStartFlags & CArchivoraCommandLineInfo::START_SHOW)
        ::SendMessage(hWnd, WM_COMMAND, ID_SHOW_MAIN_WINDOW, 0);
    return TRUE;
}

/***************************** The run *****************************/

BOOL CArchivoraApp::OnIdle(LONG lCount)
{
    if (CWinApp::OnIdle(lCount))
        return TRUE;
    CMainFrame* pMainFrame = GetMainFrame();
    return pMainFrame ? pMainFrame->IdleRefreshLists() : FALSE;
}

int CArchivoraApp::ExitInstance()
{
    if (m_bExited)
        return m_nExitCode;
    m_bExited = TRUE;
    // A main window destroyed without closing (a session's end) leaves its documents open: they close here.
    CloseAllDocuments(TRUE);
    if (m_hResourceModule) {
        AfxSetResourceHandle(nullptr);
        FreeLibrary(m_hResourceModule);
        m_hResourceModule = nullptr;
    }
    archivora::g_log.End();
    m_nExitCode = CWinApp::ExitInstance();
    return m_nExitCode;
}

void CArchivoraApp::EndSession()
{
    CWnd* pMainWnd = m_pMainWnd;
    if (!pMainWnd || !pMainWnd->GetSafeHwnd()) {
        PostQuitMessage(0);
        return;
    }
    // A signal cannot be refused: the window's answer only lets it save.
    m_bEndingSession = TRUE;
    pMainWnd->SendMessage(WM_QUERYENDSESSION, 0, 0);
    pMainWnd->SendMessage(WM_ENDSESSION, TRUE, 0);
    if (m_pMainWnd && m_pMainWnd->GetSafeHwnd())
        m_pMainWnd->DestroyWindow();
}

void CArchivoraApp::OnSessionEndMessage(WPARAM, LPARAM)
{
    EndSession();
}

/***************************** Services *****************************/

CMainFrame* CArchivoraApp::GetMainFrame() const
{
    return dynamic_cast<CMainFrame*>(m_pMainWnd);
}

void CArchivoraApp::StampCatalogTime(BOOL bAdvance)
{
    if (!m_pMainCatalog)
        return;
    m_pMainCatalog->StampCatalogTime(bAdvance);
    m_ftCatalogStamp = m_pMainCatalog->GetTimeStamp();
}

void CArchivoraApp::SetListFilter(const CListFilter& filter)
{
    m_findSettings.SetLastFindFilter(filter);
}

BOOL CArchivoraApp::ResetProductKey()
{
    const BOOL bReset = ResetAppRegistryKeys();
    if (m_pBackupMonitor)
        m_pBackupMonitor->SetMonitorFlag();
    return bReset;
}

void CArchivoraApp::RefreshDefaultSystem()
{
    thePreferences.ReleaseDefaultSystem();
    if (m_pMainCatalog)
        thePreferences.GetDefaultSystem(m_pMainCatalog.get());
}

void CArchivoraApp::ClearMonitorFlag()
{
    if (m_pBackupMonitor)
        m_pBackupMonitor->ClearMonitorFlag();
}

void CArchivoraApp::OnNewWindow()
{
    CWinApp::OnFileNew();
}

void CArchivoraApp::OnAppAbout()
{
    GetFramePrompts().About();
}
