#include "frame/CMonitorTrayIcon.h"

#include "resources/ResourceIds.h"
#include "store/ResString.h"

#include "platform/base/ResourceModule.h"
#include "platform/framework/CWinApp.h"
#include "platform/gdi/Icons.h"
#include "platform/shell/TrayIcon.h"
#include "platform/window/Messages.h"

#include <cstring>

namespace {

constexpr UINT WM_TRAY_NOTIFY = WM_USER + 101;

} // namespace

// clang-format off
BEGIN_MESSAGE_MAP(CMonitorTrayIcon, CWnd)
    ON_MESSAGE(WM_TRAY_NOTIFY, &CMonitorTrayIcon::OnTrayNotify)
    ON_WM_DESTROY()
END_MESSAGE_MAP()
// clang-format on

BOOL CMonitorTrayIcon::Create(CWnd* pMainWnd)
{
    m_pMainWnd = pMainWnd;
    return CreateEx(0, nullptr, "DocSentinel", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr);
}

BOOL CMonitorTrayIcon::ShowIcon()
{
    if (m_bShown)
        return TRUE;
    NOTIFYICONDATA data {};
    data.cbSize = sizeof(data);
    data.hWnd = m_hWnd;
    data.uID = ICON_ID;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_TRAY_NOTIFY;
    data.hIcon = LoadIcon(AfxGetResourceHandle(), MAKEINTRESOURCE(IDR_MAINFRAME));
    std::strncpy(data.szTip, GetResString(AFX_IDS_APP_TITLE), sizeof(data.szTip) - 1);
    m_bShown = Shell_NotifyIcon(NIM_ADD, &data);
    return m_bShown;
}

void CMonitorTrayIcon::HideIcon()
{
    if (!m_bShown)
        return;
    NOTIFYICONDATA data {};
    data.cbSize = sizeof(data);
    data.hWnd = m_hWnd;
    data.uID = ICON_ID;
    Shell_NotifyIcon(NIM_DELETE, &data);
    m_bShown = FALSE;
}

LRESULT CMonitorTrayIcon::OnTrayNotify(WPARAM, LPARAM lParam)
{
    if ((lParam == WM_LBUTTONUP || lParam == WM_LBUTTONDBLCLK) && m_pMainWnd && m_pMainWnd->GetSafeHwnd())
        m_pMainWnd->PostMessage(WM_COMMAND, ID_SHOW_MAIN_WINDOW, 0);
    return 0;
}

void CMonitorTrayIcon::OnDestroy()
{
    HideIcon();
    CWnd::OnDestroy();
}
