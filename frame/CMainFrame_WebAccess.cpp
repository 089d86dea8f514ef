// The main frame's web access server: made with the frame, its commands
// (start and stop, the log, the account and catalog dialogs) and its state.
// The server runs exactly while its tray icon shows.

#include "frame/CMainFrame.h"

#include "frame/FramePrompts.h"
#include "frame/WebAccessServices.h"
#include "resources/ResourceIds.h"
#include "store/CPreferences.h"
#include "store/ResString.h"
#include "webaccess/server/CWAServer.h"

#include "platform/framework/CCmdUI.h"

namespace {

// The dialog template of each web access dialog command.
UINT WebDialogOfCommand(UINT nID)
{
    switch (nID) {
    case ID_WEB_CHANGE_USER:
        return 442;
    case ID_WEB_CATALOG_SETTINGS:
        return 443;
    case ID_WEB_ACCOUNT:
        return 421;
    default:
        return 447;
    }
}

} // namespace

void CMainFrame::CreateWebServer()
{
    m_pWebServer = std::make_unique<CWAServer>(GetWebAccessSettings(), GetWebAccessPrompts());
    // Without its window the server only never runs; the program goes on.
    static_cast<void>(m_pWebServer->Init());
}

BOOL CMainFrame::IsWebServerRunning() const
{
    return m_pWebServer && m_pWebServer->GetSafeHwnd() && !m_pWebServer->IsHidden() ? TRUE : FALSE;
}

BOOL CMainFrame::SetWebServerRunning(BOOL bOn)
{
    const BOOL bWasRunning = IsWebServerRunning();
    if (!m_pWebServer || !bOn == !bWasRunning)
        return bWasRunning;
    if (bOn)
        m_pWebServer->Start();
    else
        m_pWebServer->Stop();
    return bWasRunning;
}

void CMainFrame::EndWebSessions()
{
    if (m_pWebServer)
        m_pWebServer->EndSessions();
}

void CMainFrame::OnToggleWebServer(UINT)
{
    if (!m_pWebServer)
        return;
    if (!IsWebServerRunning()) {
        m_pWebServer->Start();
        return;
    }
    // With the window hidden and no monitor icon, the server's icon was the
    // only way back to the program: it ends with the server.
    if (!IsWindowVisible() && !m_wndMonitor.IsIconShown()) {
        if (!m_wndMonitor.ShowPendingDocuments())
            return;
        m_pWebServer->Stop();
        DestroyWindow();
        return;
    }
    m_pWebServer->Stop();
}

void CMainFrame::OnUpdateToggleWebServer(CCmdUI* pCmdUI)
{
    const BOOL bRunning = IsWebServerRunning();
    pCmdUI->Enable(m_pWebServer && m_pWebServer->GetSafeHwnd() ? TRUE : FALSE);
    if (pCmdUI->m_pMenu)
        pCmdUI->SetText(GetResString(bRunning ? IDS_WEB_STOP : IDS_WEB_START));
    const int nIndex = m_wndToolBar.CommandToIndex(ID_WEB_TOGGLE);
    if (nIndex >= 0) {
        UINT nButtonID = 0;
        UINT nStyle = 0;
        int nImage = 0;
        m_wndToolBar.GetButtonInfo(nIndex, nButtonID, nStyle, nImage);
        const int nWanted = bRunning ? m_nWebRunningImage : m_nWebImage;
        if (nImage != nWanted)
            m_wndToolBar.SetButtonInfo(nIndex, nButtonID, nStyle, nWanted);
    }
}

void CMainFrame::OnWebLog()
{
    if (m_pWebServer)
        m_pWebServer->ShowLog();
}

void CMainFrame::OnWebDialog(UINT nID)
{
    GetFramePrompts().WebDialog(WebDialogOfCommand(nID));
}

void CMainFrame::OnUpdateWebCommand(CCmdUI* pCmdUI)
{
    BOOL bEnable = thePreferences.m_bWebAccessEnabled;
    if (pCmdUI->m_nID != ID_WEB_LOG)
        bEnable = bEnable && GetFramePrompts().HasWindow(CFramePrompts::EWindow::WebDialogs);
    pCmdUI->Enable(bEnable);
}
