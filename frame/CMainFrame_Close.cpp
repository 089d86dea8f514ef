// Closing, hiding in the tray and showing again, and the end of the session.
// The main catalog file is held open exactly while the window is shown and not
// minimised: each transition below acquires or releases it once.

#include "frame/CMainFrame.h"

#include "catalog/CPendingDocs.h"
#include "frame/AppMessages.h"
#include "frame/CArchivoraApp.h"
#include "frame/CatalogHold.h"
#include "frame/FramePrompts.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CNetDriveMap.h"
#include "store/CNodeRec.h"
#include "store/CPreferences.h"
#include "store/CRegistryKey.h"
#include "webaccess/server/CWAServer.h"

#include "platform/base/ProgramFolder.h"
#include "platform/framework/CWaitCursor.h"
#include "platform/window/Window.h"

#include <memory>

namespace {

constexpr char RUN_KEY_PATH[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char AUTOSTART_VALUE[] = "DocSentinel";

CCatalog* MainCatalog()
{
    CArchivoraApp* pApp = GetArchivoraApp();
    return pApp ? pApp->GetMainCatalog() : nullptr;
}

void AcquireMainCatalog()
{
    if (CCatalog* pCatalog = MainCatalog())
        pCatalog->Acquire();
}

void ReleaseMainCatalog()
{
    if (CCatalog* pCatalog = MainCatalog())
        pCatalog->Release();
}

} // namespace

BOOL CMainFrame::ConfirmOpenDocuments()
{
    CArchivoraApp* pApp = GetArchivoraApp();
    CPendingDocs* pPending = pApp ? pApp->GetPendingDocs() : nullptr;
    return pPending ? pPending->ConfirmPending(m_hWnd) : TRUE;
}

BOOL CMainFrame::OfferNewDocuments()
{
    // Without its icon, the monitor's waiting documents would be left behind.
    return m_wndMonitor.IsIconShown() || m_wndMonitor.ShowPendingDocuments();
}

BOOL CMainFrame::IsTrayIconShown() const
{
    return m_wndMonitor.IsIconShown() || IsWebServerRunning() ? TRUE : FALSE;
}

void CMainFrame::SaveForClose()
{
    SaveSettings();
    // The settings' save rewrote the Desktop key, the list's home among them.
    if (CArchivoraApp* pApp = GetArchivoraApp(); pApp && pApp->GetPendingDocs())
        pApp->GetPendingDocs()->SavePending();
}

void CMainFrame::OnClose()
{
    if (!IsWindowVisible()) {
        CMDIFrameWnd::OnClose();
        return;
    }
    {
        CCatalogHold hold(MainCatalog());
        if (!OfferNewDocuments() || !ConfirmOpenDocuments() || ConfirmExit() == IDCANCEL)
            return;
        SaveForClose();
        if (!IsTrayIconShown()) {
            CMDIFrameWnd::OnClose();
            return;
        }
        // Hidden in the tray: the show command is kept for the way back.
        WINDOWPLACEMENT placement {};
        placement.length = sizeof(placement);
        GetWindowPlacement(&placement);
        if (CWinApp* pApp = AfxGetApp())
            pApp->m_nCmdShow = static_cast<int>(placement.showCmd);
        if (!IsIconic()) {
            ShowWindow(SW_MINIMIZE);
            ReleaseMainCatalog();
        }
        StopTimers();
        ShowWindow(SW_HIDE);
    }
}

BOOL CMainFrame::OnQueryEndSession()
{
    if (!CMDIFrameWnd::OnQueryEndSession())
        return FALSE;
    CCatalogHold hold(MainCatalog());
    // Ending unattended (a signal), nothing is asked: new documents wait to
    // be noticed again, opened ones stay pending, unsorted ones unsorted.
    CArchivoraApp* pApp = GetArchivoraApp();
    const BOOL bAsk = !pApp || !pApp->IsEndingSession();
    if (bAsk && !OfferNewDocuments())
        return FALSE;
    if (!IsWindowVisible())
        return TRUE;
    if (bAsk && (!ConfirmOpenDocuments() || ConfirmExit() == IDCANCEL))
        return FALSE;
    SaveForClose();
    return TRUE;
}

void CMainFrame::OnEndSession(BOOL bEnding)
{
    CMDIFrameWnd::OnEndSession(bEnding);
    if (!bEnding)
        return;
    UpdateAutoStart();
    if (CArchivoraApp* pApp = GetArchivoraApp())
        pApp->ClearMonitorFlag();
}

void CMainFrame::OnDestroy()
{
    UpdateAutoStart();
    CMDIFrameWnd::OnDestroy();
}

void CMainFrame::UpdateAutoStart()
{
    StopTimers();
    m_wndMonitor.Stop();
    if (m_pWebServer)
        m_pWebServer->Halt();
    CRegistryKey run;
    if (!run.Create(HKEY_LOCAL_MACHINE, RUN_KEY_PATH))
        return;
    const BOOL bExists = run.ValueExists(AUTOSTART_VALUE);
    if (thePreferences.m_bDSAutoIniciar && !bExists) {
        char szPath[MAX_PATH] {};
        GetModuleFileName(nullptr, szPath, MAX_PATH);
        run.SetString(AUTOSTART_VALUE, CString(szPath) + " -ds");
    } else if (!thePreferences.m_bDSAutoIniciar && bExists) {
        run.DeleteValue(AUTOSTART_VALUE);
    }
}

void CMainFrame::OnSysCommand(UINT nID, LPARAM lParam)
{
    switch (nID & 0xFFF0) {
    case SC_MINIMIZE:
        CMDIFrameWnd::OnSysCommand(nID, lParam);
        if (IsIconic())
            ReleaseMainCatalog();
        return;
    case SC_MAXIMIZE:
    case SC_RESTORE:
        if (!IsWindowVisible()) {
            OnShowMainWindow();
            return;
        }
        if (IsIconic())
            AcquireMainCatalog();
        break;
    default:
        break;
    }
    CMDIFrameWnd::OnSysCommand(nID, lParam);
}

BOOL CMainFrame::ActivateMainWindow()
{
    SetForegroundWindow();
    if (IsWindowVisible() && !IsIconic()) {
        BringToTop();
        return TRUE;
    }
    if (IsWindowVisible()) {
        AcquireMainCatalog();
        ShowWindow(SW_RESTORE);
    } else {
        g_netDriveMap.ScanDrives();
        AcquireMainCatalog();
        CWinApp* pApp = AfxGetApp();
        ShowWindow(pApp ? pApp->m_nCmdShow : SW_SHOWNORMAL);
    }
    BringToTop();
    return TRUE;
}

void CMainFrame::BringToTop()
{
    SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    UpdateWindow();
}

int CMainFrame::ConfirmExit()
{
    CCatalog* pCatalog = MainCatalog();
    if (!thePreferences.m_bOrphanWarning || !pCatalog)
        return IDNO;
    std::unique_ptr<CNodeRec> pUnsorted(CNodeRec::NewTopNodeRec3(pCatalog));
    if (!pUnsorted || pUnsorted->CountDocuments() == 0)
        return IDNO;
    BOOL bDontWarn = FALSE;
    const int nAnswer = GetFramePrompts().OrphanWarning(&bDontWarn);
    thePreferences.SaveOrphanWarning(!bDontWarn);
    if (nAnswer == IDYES) {
        CWaitCursor wait;
        std::unique_ptr<CNodeRec> pArchive(CNodeRec::NewTopNodeRec4(pCatalog));
        if (pArchive) {
            // One answer, one commit; a long list is committed once a second. A failed
            // write stops the move: the catalog refuses writes until it is reopened.
            CCatalogAction action(pCatalog);
            for (auto& pDocument : pUnsorted->GetDocuments()) {
                if (!pArchive->AddDocument(pDocument.get()) || !pCatalog->CommitIfDue())
                    break;
            }
        }
        PostMessage(g_nMsgRedo, 0, 0);
    }
    return nAnswer;
}
