// The main frame's commands: the bars, the catalog's reload, the start and
// tray commands, the program's exit and its help.

#include "frame/CMainFrame.h"

#include "catalog/CPendingDocs.h"
#include "frame/AppMessages.h"
#include "frame/CArchivoraApp.h"
#include "frame/CSplitterFrame.h"
#include "frame/CatalogHold.h"
#include "frame/FramePrompts.h"
#include "frame/HelpPages.h"
#include "mail/CMailClientSet.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CNodeRec.h"
#include "store/CPreferences.h"
#include "ui/CMemoryDC.h"
#include "ui/CStartMenuIndex.h"

#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CCmdUI.h"
#include "platform/framework/CDC.h"
#include "platform/gdi/SysColors.h"
#include "platform/shell/HtmlHelp.h"

#include <memory>

/***************************** Bars *****************************/

CControlBar* CMainFrame::BarOfCommand(UINT nID)
{
    switch (nID) {
    case ID_VIEW_DRAG_BAR:
        return &m_wndDragBar;
    case ID_VIEW_OPEN_BAR:
        return &m_wndOpenBar;
    case ID_VIEW_MAIL_BAR:
        return &m_wndMailBar;
    case ID_VIEW_FIND_BAR:
        return &m_wndFindBar;
    case ID_VIEW_CATALOG_BAR:
        return &m_wndCatalogBar;
    default:
        return nullptr;
    }
}

void CMainFrame::OnToggleBar(UINT nID)
{
    if (CControlBar* pBar = BarOfCommand(nID))
        ShowControlBar(pBar, !pBar->IsVisible(), FALSE);
}

void CMainFrame::OnUpdateToggleBar(CCmdUI* pCmdUI)
{
    CControlBar* pBar = BarOfCommand(pCmdUI->m_nID);
    if (!pBar)
        return;
    if (pCmdUI->m_nID == ID_VIEW_MAIL_BAR && !GetMailClientSet().HasStores()) {
        pCmdUI->Enable(FALSE);
        return;
    }
    pCmdUI->SetCheck(pBar->IsVisible() ? 1 : 0);
}

/***************************** The catalog *****************************/

void CMainFrame::OnReloadCatalog()
{
    CArchivoraApp* pApp = GetArchivoraApp();
    if (!pApp)
        return;
    for (CCatalog* pCatalog : { pApp->GetMainCatalog(), pApp->GetRecycleCatalog() }) {
        CCatalogHold hold(pCatalog);
        if (hold.IsHeld())
            pCatalog->Reload();
    }
    thePreferences.ReleaseDefaultSystem();
    GetMailClientSet().ClearStores();
    // Every view and the drag bar's places read the catalog again.
    SendMessage(g_nMsgRedo, 0, 0);
    // The programs may have changed too: the index is built again when next asked for.
    GetStartMenuIndex().Clear();
}

void CMainFrame::OnOrphanCheck()
{
    ConfirmExit();
}

void CMainFrame::OnUpdateOrphanCheck(CCmdUI* pCmdUI)
{
    CArchivoraApp* pApp = GetArchivoraApp();
    CCatalog* pCatalog = pApp ? pApp->GetMainCatalog() : nullptr;
    std::unique_ptr<CNodeRec> pUnsorted(pCatalog ? CNodeRec::NewTopNodeRec3(pCatalog) : nullptr);
    pCmdUI->Enable(pUnsorted && pUnsorted->CountDocuments() > 0 ? TRUE : FALSE);
}

void CMainFrame::OnFindNext()
{
    if (CMDIChildWnd* pChild = MDIGetActive())
        pChild->SendMessage(WM_COMMAND, ID_CATALOG_FIND_NEXT, 0);
}

/***************************** Starting and ending *****************************/

void CMainFrame::OnStartNormal()
{
    // The offer and the notice are modal: the session may end while they
    // wait, destroying this window, and then nothing more is started.
    const HWND hWnd = m_hWnd;
    GetFramePrompts().OfferDocumentTypes();
    if (!::IsWindow(hWnd))
        return;
    ShowDailyNotice();
    if (!::IsWindow(hWnd))
        return;
    // A restore made at this start has reported its outcome while it ran.
    if (CArchivoraApp* pApp = GetArchivoraApp(); pApp && pApp->GetPendingDocs()) {
        pApp->GetPendingDocs()->SavePending();
        pApp->GetPendingDocs()->ShowPending(m_hWnd);
    }
    m_nPendingTimer = SetTimer(TIMER_PENDING, PENDING_INTERVAL, nullptr);
    m_nNoticeTimer = SetTimer(TIMER_NOTICE, NOTICE_INTERVAL, nullptr);
    ApplyDockState();
    if (CSplitterFrame* pFrame = GetActiveCatalogFrame(); pFrame && pFrame->IsListFilterActive())
        AnimateToolbarButton(TRUE);
}

void CMainFrame::OnShowMainWindow()
{
    const BOOL bWasHidden = !IsWindowVisible();
    ActivateMainWindow();
    if (bWasHidden)
        OnStartNormal();
}

void CMainFrame::OnTrayStart()
{
    m_wndMonitor.ShowIcon();
}

void CMainFrame::OnExitFromTray()
{
    // A serving web access server's icon still leads back to the window.
    if (IsWindowVisible() || IsWebServerRunning()) {
        m_wndMonitor.HideIcon();
        return;
    }
    if (!m_wndMonitor.ShowPendingDocuments())
        return;
    m_wndMonitor.HideIcon();
    DestroyWindow();
}

void CMainFrame::OnToggleMonitorIcon()
{
    if (m_wndMonitor.IsIconShown())
        m_wndMonitor.HideIcon();
    else if (!m_wndMonitor.ShowIcon())
        AfxMessageBox(IDS_MONITOR_NO_TRAY, MB_OK | MB_ICONINFORMATION);
}

void CMainFrame::OnUpdateToggleMonitorIcon(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_wndMonitor.IsIconShown() ? 1 : 0);
    pCmdUI->Enable(m_wndMonitor.IsStarted());
}

void CMainFrame::OnCatalogNewDocument()
{
    if (m_wndMonitor.GetSafeHwnd())
        m_wndMonitor.SendMessage(GetCatalogNewDocMessage(), 0, 0);
}

void CMainFrame::OnUpdateCatalogNewDocument(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_wndMonitor.GetPendingCount() > 0);
}

void CMainFrame::OnExitProgram()
{
    if (!m_wndMonitor.ShowPendingDocuments())
        return;
    BOOL bCancelled = FALSE;
    if (IsWindowVisible()) {
        CArchivoraApp* pApp = GetArchivoraApp();
        CCatalogHold hold(pApp ? pApp->GetMainCatalog() : nullptr);
        if (!ConfirmOpenDocuments() || ConfirmExit() == IDCANCEL)
            bCancelled = TRUE;
        else
            SaveForClose();
    }
    SetWebServerRunning(FALSE);
    m_wndMonitor.HideIcon();
    if (!bCancelled)
        CMDIFrameWnd::OnClose();
}

/***************************** Status panes without a catalog view *****************************/

void CMainFrame::OnUpdatePaneNodePath(CCmdUI* pCmdUI)
{
    if (IsIconic())
        return;
    pCmdUI->SetText("");
    // Without a view the pane shows no path: the button face alone.
    CRect rcPane;
    m_wndStatusBar.GetItemRect(static_cast<int>(pCmdUI->m_nIndex), &rcPane);
    if (rcPane.Width() < 1)
        return;
    CClientDC dc(&m_wndStatusBar);
    CMemoryDC memory(&dc, &rcPane, GetSysColor(COLOR_BTNFACE));
}

void CMainFrame::OnUpdatePaneCounts(CCmdUI* pCmdUI)
{
    if (!IsIconic())
        pCmdUI->SetText("");
}

/***************************** Help *****************************/

void CMainFrame::WinHelp(DWORD_PTR dwData, UINT)
{
    ShowHelpTopic(dwData);
}

void CMainFrame::ShowHelpTopic(DWORD_PTR dwContext)
{
    CArchivoraApp* pApp = GetArchivoraApp();
    if (!pApp)
        return;
    const CString strTopic = pApp->GetModuleFolder() + HELP_FILE_NAME + "::/" + HelpPageOfContext(dwContext);
    HtmlHelp(m_hWnd, strTopic, HH_DISPLAY_TOPIC, 0);
}
