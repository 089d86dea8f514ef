// The program-wide registered messages the main frame answers. Every handler
// answers 0.

#include "frame/CMainFrame.h"

#include "frame/AppMessages.h"
#include "frame/CArchivoraApp.h"
#include "frame/CSplitterFrame.h"
#include "frame/CatalogHold.h"
#include "frame/FramePrompts.h"
#include "frame/MailboxReorganizer.h"
#include "mail/MailResult.h"
#include "resources/ResourceIds.h"
#include "store/CMailDocumentHooks.h"
#include "ui/CDlgMailboxProgress.h"

#include <algorithm>
#include <climits>

namespace {

// The catalog changed: the cached default system is looked up again, the
// new-document monitor follows ("APPM Refazer": what it queued may be
// catalogued now; "APPM Reler": its open dialog's maps), then every window
// hears the same message.
void FanOut(CMainFrame& frame, CNewDocMonitor& monitor, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    CArchivoraApp* pApp = GetArchivoraApp();
    CCatalogHold hold(pApp ? pApp->GetMainCatalog() : nullptr);
    if (pApp)
        pApp->RefreshDefaultSystem();
    if (nMessage == g_nMsgRedo)
        monitor.OnCatalogChanged();
    else
        monitor.ReloadCatalogMaps();
    CCoolMenu& places = frame.GetDragBar().GetList();
    if (nMessage == g_nMsgRedo)
        frame.RefreshDragBarWindows();
    else if (places.GetSafeHwnd())
        places.OnViewChanged();
    frame.SendMessageToDescendants(nMessage, wParam, lParam, TRUE, FALSE);
}

} // namespace

LRESULT CMainFrame::OnRedo(WPARAM wParam, LPARAM lParam)
{
    FanOut(*this, m_wndMonitor, g_nMsgRedo, wParam, lParam);
    return 0;
}

LRESULT CMainFrame::OnReread(WPARAM wParam, LPARAM lParam)
{
    FanOut(*this, m_wndMonitor, g_nMsgReread, wParam, lParam);
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

LRESULT CMainFrame::OnReorganizeMailbox(WPARAM wParam, LPARAM lParam)
{
    CArchivoraApp* pApp = GetArchivoraApp();
    CCatalogHold hold(pApp ? pApp->GetMainCatalog() : nullptr);
    if (!hold.IsHeld())
        return 0;
    CMailboxReorganizer reorganizer(pApp->GetMainCatalog());
    // The bar counts bytes; a total past its range is counted in larger units.
    const ULONGLONG nTotal = reorganizer.GetTotalSize();
    const ULONGLONG nUnit = nTotal / INT_MAX + 1;
    CDlgMailboxProgress progress;
    const BOOL bShown = progress.CreateAndShow(this);
    if (bShown) {
        progress.GetBar().SetRange32(0, static_cast<int>(nTotal / nUnit));
        progress.UpdateWindow();
    }
    const int nResult = reorganizer.Run([&](LPCTSTR pszMessage, DWORD dwLength) {
        if (!bShown)
            return TRUE;
        progress.GetBar().SetStep(static_cast<int>(std::max<ULONGLONG>(dwLength / nUnit, 1)));
        progress.GetBar().StepIt();
        if (!progress.SetText(pszMessage))
            return TRUE;
        // The question's Stop (IDCANCEL) stops.
        return GetFramePrompts().OperationInProgress(&progress) == IDCANCEL ? FALSE : TRUE;
    });
    if (bShown)
        progress.DestroyWindow();
    if (nResult == MAIL_STOPPED) {
        // The views may show places of the stores as they were: the program closes.
        PostMessage(WM_CLOSE);
        return 0;
    }
    g_bMailboxReorganizePending = FALSE;
    OnRedo(wParam, lParam);
    return 0;
}
