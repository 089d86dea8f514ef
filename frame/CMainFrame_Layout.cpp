// The main frame's layout in the registry: read before the window is made,
// written whole when the program closes, hides or replaces its catalog.

#include "frame/CMainFrame.h"

#include "frame/AppGlobals.h"
#include "frame/CArchivoraApp.h"
#include "frame/CSplitterFrame.h"
#include "frame/DesktopLayout.h"

#include "platform/framework/CDockState.h"
#include "platform/window/SystemMetrics.h"

#include <algorithm>

namespace {

constexpr DWORD DEFAULT_STATUS = SW_SHOWMAXIMIZED;
constexpr char DOCK_STATE_SECTION[] = "ToolBar";

// A kept show command the window can start with: normal or maximised (a
// minimised one, or anything else, starts maximised).
int StartingShowCommand(DWORD dwStatus)
{
    return dwStatus == SW_SHOWNORMAL ? SW_SHOWNORMAL : SW_SHOWMAXIMIZED;
}

} // namespace

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    CArchivoraApp* pApp = GetArchivoraApp();
    if (pApp && !pApp->GetWindowClassName().IsEmpty())
        cs.lpszClass = pApp->GetWindowClassName();
    ReadLayout(cs);
    return CMDIFrameWnd::PreCreateWindow(cs);
}

void CMainFrame::ReadLayout(CREATESTRUCT& cs)
{
    DWORD dwStatus = DEFAULT_STATUS;
    if (g_regKeyDesktop.IsOpen()) {
        const CKeptPlacement kept = ReadKeptPlacement(g_regKeyDesktop, DEFAULT_STATUS);
        dwStatus = kept.dwStatus;
        if (kept.bStatusKept && kept.bRectKept) {
            RECT rcWork {};
            SystemParametersInfo(SPI_GETWORKAREA, 0, &rcWork, 0);
            const int cxScreen = GetSystemMetrics(SM_CXSCREEN);
            const int cyScreen = GetSystemMetrics(SM_CYSCREEN);
            cs.cx = std::min(static_cast<int>(kept.rc.right - kept.rc.left), cxScreen);
            cs.cy = std::min(static_cast<int>(kept.rc.bottom - kept.rc.top), cyScreen);
            // Keep at least an icon's size of the window on the screen, on
            // every side: a monitor that has gone must not take it along.
            const long long x = static_cast<long long>(kept.rc.left) + rcWork.left;
            const long long y = static_cast<long long>(kept.rc.top) + rcWork.top;
            cs.x = static_cast<int>(std::clamp<long long>(x, 0, cxScreen - GetSystemMetrics(SM_CXICON)));
            cs.y = static_cast<int>(std::clamp<long long>(y, 0, cyScreen - GetSystemMetrics(SM_CYICON)));
        } else {
            dwStatus = DEFAULT_STATUS;
        }
    }
    if (CWinApp* pApp = AfxGetApp())
        pApp->m_nCmdShow = StartingShowCommand(dwStatus);

    CRegistryKey settings;
    DWORD dwLastNotice = 0;
    if (settings.Open(HKEY_CURRENT_USER, SETTINGS_KEY_PATH, KEY_READ))
        settings.GetDWORD("Current Date", dwLastNotice, 0);
    m_tLastNotice = static_cast<time_t>(dwLastNotice);
}

void CMainFrame::SaveSettings()
{
    // About a hundred changes, written to the settings file once.
    CRegistryBatch batch(HKEY_CURRENT_USER);
    g_regKeyDesktop.Close();
    RegDeleteTree(HKEY_CURRENT_USER, DESKTOP_KEY_PATH);
    RegDeleteTree(HKEY_CURRENT_USER, SETTINGS_KEY_PATH);

    if (g_regKeyDesktop.Create(HKEY_CURRENT_USER, DESKTOP_KEY_PATH)) {
        WINDOWPLACEMENT placement {};
        placement.length = sizeof(placement);
        GetWindowPlacement(&placement);
        WriteKeptPlacement(g_regKeyDesktop, placement, SW_SHOWMAXIMIZED);

        // The catalog views in window order: the first child of the MDI client is the active one.
        CWnd* pActive = MDIGetActive();
        int nIndex = 0;
        for (HWND hChild = ::GetWindow(m_hWndMDIClient, GW_CHILD); hChild && nIndex < MAX_CHILD_FRAMES;
             hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
            auto* pFrame = dynamic_cast<CSplitterFrame*>(CWnd::FromHandlePermanent(hChild));
            if (!pFrame)
                continue;
            if (pFrame == pActive)
                g_regKeyDesktop.SetDWORD("ActiveFrame", static_cast<DWORD>(nIndex));
            pFrame->SavePlacement(g_regKeyDesktop, ChildKeyName(nIndex));
            ++nIndex;
        }
        g_regKeyDesktop.SetDWORD("Windows", static_cast<DWORD>(nIndex));

        CDockState dockState;
        GetDockState(dockState);
        dockState.SaveState(DOCK_STATE_SECTION);
        m_wndOpenBar.SaveState(g_regKeyDesktop);
        m_wndMailBar.SaveState(g_regKeyDesktop);
        m_wndFindBar.SaveState(g_regKeyDesktop);
    }

    CRegistryKey settings;
    if (settings.Create(HKEY_CURRENT_USER, SETTINGS_KEY_PATH, KEY_WRITE))
        settings.SetDWORD("Current Date", static_cast<DWORD>(m_tLastNotice));
}

void CMainFrame::ApplyDockState()
{
    CDockState dockState;
    if (dockState.LoadState(DOCK_STATE_SECTION))
        SetDockState(dockState);
}
