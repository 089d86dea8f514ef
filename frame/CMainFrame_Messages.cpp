// The program-wide registered messages the main frame answers. Every handler
// answers 0.

#include "frame/CMainFrame.h"

#include "frame/AppMessages.h"
#include "frame/CArchivoraApp.h"
#include "frame/CSplitterFrame.h"
#include "frame/CatalogHold.h"

namespace {

// The catalog changed: the cached default system is looked up again, then
// every window hears the same message.
void FanOut(CWnd& frame, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    CArchivoraApp* pApp = GetArchivoraApp();
    CCatalogHold hold(pApp ? pApp->GetMainCatalog() : nullptr);
    if (pApp)
        pApp->RefreshDefaultSystem();
    // FIXME: the new-document monitor rebuilds its list ("APPM Refazer") or
    // reloads its catalog maps ("APPM Reler"), and the drag bar's list menu
    // refreshes, here once they exist.
    frame.SendMessageToDescendants(nMessage, wParam, lParam, TRUE, FALSE);
}

} // namespace

LRESULT CMainFrame::OnRedo(WPARAM wParam, LPARAM lParam)
{
    FanOut(*this, g_nMsgRedo, wParam, lParam);
    return 0;
}

LRESULT CMainFrame::OnReread(WPARAM wParam, LPARAM lParam)
{
    FanOut(*this, g_nMsgReread, wParam, lParam);
    return 0;
}

LRESULT CMainFrame::OnChangeColors(WPARAM wParam, LPARAM lParam)
{
    SendMessageToDescendants(g_nMsgChangeColors, wParam, lParam, TRUE, FALSE);
    return 0;
}

LRESULT CMainFrame::OnStatusBarSetText(WPARAM, LPARAM lParam)
{
    if (m_nSavedMessageWidth == -1)
        ShowMessagePane();
    m_wndStatusBar.SetPaneText(0, reinterpret_cast<LPCTSTR>(lParam));
    m_wndStatusBar.UpdateWindow();
    return 0;
}

LRESULT CMainFrame::OnStatusBarResetText(WPARAM, LPARAM)
{
    if (m_nSavedMessageWidth != -1)
        RestorePanes();
    m_wndStatusBar.SetPaneText(0, "");
    m_wndStatusBar.UpdateWindow();
    return 0;
}

LRESULT CMainFrame::OnSelectEntry(WPARAM wParam, LPARAM lParam)
{
    if (CSplitterFrame* pFrame = GetActiveCatalogFrame())
        pFrame->SelectEntry(wParam, lParam);
    return 0;
}
