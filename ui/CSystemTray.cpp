#include "ui/CSystemTray.h"

#include "platform/base/Version.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/CWinThread.h"
#include "platform/gdi/Icons.h"
#include "platform/window/Menu.h"

#include <cmath>

IMPLEMENT_DYNAMIC(CSystemTray, CWnd)

BEGIN_MESSAGE_MAP(CSystemTray, CWnd)
    ON_WM_TIMER()
END_MESSAGE_MAP()

namespace {

constexpr DWORD TRAY_RECORD_SIZE = 88; // the record's first form
constexpr UINT SHOWN_FLAGS = NIF_MESSAGE | NIF_ICON | NIF_TIP;

void CopyTip(NOTIFYICONDATA& tnd, LPCTSTR pszTip)
{
    lstrcpyn(tnd.szTip, pszTip ? pszTip : "", sizeof tnd.szTip);
}

} // namespace

CSystemTray::CSystemTray() = default;

CSystemTray::~CSystemTray()
{
    RemoveIcon();
    m_icons.clear();
    DestroyWindow();
}

BOOL CSystemTray::Create(CWnd* pTarget, UINT uCallbackMessage, LPCTSTR szTip, HICON hIcon, UINT uID, BOOL bShow)
{
    m_bEnabled = LOBYTE(LOWORD(GetVersion())) >= 4;
    if (!m_bEnabled)
        return FALSE;
    CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr);
    m_tnd = {};
    m_tnd.cbSize = TRAY_RECORD_SIZE;
    m_tnd.hWnd = pTarget && pTarget->GetSafeHwnd() ? pTarget->GetSafeHwnd() : m_hWnd;
    m_tnd.uID = uID;
    m_tnd.uCallbackMessage = uCallbackMessage;
    m_tnd.hIcon = hIcon;
    CopyTip(m_tnd, szTip);
    if (!bShow) {
        m_tnd.uFlags = 0;
        m_bHidden = TRUE;
        return TRUE;
    }
    m_tnd.uFlags = SHOWN_FLAGS;
    m_bEnabled = Shell_NotifyIcon(NIM_ADD, &m_tnd);
    m_bHidden = FALSE;
    return m_bEnabled;
}

void CSystemTray::RemoveIcon()
{
    if (!m_bEnabled)
        return;
    m_tnd.uFlags = 0;
    if (!m_bHidden)
        Shell_NotifyIcon(NIM_DELETE, &m_tnd);
    m_bHidden = TRUE;
    m_bEnabled = FALSE;
}

BOOL CSystemTray::HideIcon()
{
    if (!m_bEnabled || m_bHidden)
        return FALSE;
    m_tnd.uFlags = NIF_ICON;
    BOOL bDone = Shell_NotifyIcon(NIM_DELETE, &m_tnd);
    m_bHidden = TRUE;
    return bDone;
}

BOOL CSystemTray::ShowIcon()
{
    if (!m_bEnabled || !m_bHidden)
        return FALSE;
    m_tnd.uFlags = SHOWN_FLAGS;
    BOOL bAdded = Shell_NotifyIcon(NIM_ADD, &m_tnd);
    if (bAdded)
        m_bHidden = FALSE; // an icon the shell refused stays hidden, so a later ShowIcon tries again
    return bAdded;
}

BOOL CSystemTray::SetIcon(HICON hIcon)
{
    if (!m_bEnabled)
        return FALSE;
    m_tnd.uFlags = NIF_ICON;
    m_tnd.hIcon = hIcon;
    return m_bHidden ? TRUE : Shell_NotifyIcon(NIM_MODIFY, &m_tnd);
}

HICON CSystemTray::GetIcon() const
{
    return m_bEnabled ? m_tnd.hIcon : nullptr;
}

BOOL CSystemTray::SetIconFromResource(UINT nFirst, UINT nLast)
{
    if (nFirst > nLast)
        return FALSE;
    m_icons.clear();
    for (UINT nId = nFirst; nId <= nLast; ++nId) {
        HINSTANCE hInstance = AfxFindResourceHandle(MAKEINTRESOURCE(nId), RT_GROUP_ICON);
        m_icons.push_back(LoadIcon(hInstance, MAKEINTRESOURCE(nId)));
    }
    return TRUE;
}

BOOL CSystemTray::Animate(UINT nDelayMilliSeconds, int nDurationSeconds)
{
    StopAnimation();
    m_nCurrentIcon = 0;
    m_startTime = COleDateTime::GetCurrentTime();
    m_nAnimationPeriod = nDurationSeconds;
    m_hSavedIcon = GetIcon();
    m_uIDTimer = SetTimer(ANIMATION_TIMER, nDelayMilliSeconds, nullptr);
    return m_uIDTimer != 0;
}

BOOL CSystemTray::StepAnimation()
{
    if (m_icons.empty())
        return FALSE;
    m_nCurrentIcon = (m_nCurrentIcon + 1) % m_icons.size();
    return SetIcon(m_icons[m_nCurrentIcon]);
}

BOOL CSystemTray::StopAnimation()
{
    BOOL bKilled = TRUE;
    if (m_uIDTimer)
        bKilled = KillTimer(m_uIDTimer);
    m_uIDTimer = 0;
    if (m_hSavedIcon)
        SetIcon(m_hSavedIcon);
    m_hSavedIcon = nullptr;
    return bKilled;
}

BOOL CSystemTray::SetTooltipText(LPCTSTR pszTip)
{
    if (!m_bEnabled)
        return FALSE;
    m_tnd.uFlags = NIF_TIP;
    CopyTip(m_tnd, pszTip);
    return m_bHidden ? TRUE : Shell_NotifyIcon(NIM_MODIFY, &m_tnd);
}

BOOL CSystemTray::SetTooltipTextFromResource(UINT nID)
{
    CString strText;
    strText.LoadString(nID);
    return SetTooltipText(strText);
}

HMENU CSystemTray::LoadTrayPopup(HMENU& rMenu) const
{
    HINSTANCE hInstance = AfxFindResourceHandle(MAKEINTRESOURCE(m_tnd.uID), RT_MENU);
    rMenu = ::LoadMenu(hInstance, MAKEINTRESOURCE(m_tnd.uID));
    return rMenu ? ::GetSubMenu(rMenu, 0) : nullptr;
}

BOOL CSystemTray::SetMenuDefaultItem(UINT uItem, BOOL bByPos)
{
    if (m_nDefaultMenuItem == uItem && m_bDefaultMenuItemByPos == bByPos)
        return TRUE;
    m_nDefaultMenuItem = uItem;
    m_bDefaultMenuItemByPos = bByPos;
    HMENU hMenu = nullptr;
    HMENU hPopup = LoadTrayPopup(hMenu);
    BOOL bDone = hPopup && ::SetMenuDefaultItem(hPopup, uItem, bByPos);
    if (hMenu)
        ::DestroyMenu(hMenu);
    return bDone;
}

LRESULT CSystemTray::OnTrayNotification(WPARAM wParam, LPARAM lParam)
{
    if (wParam != m_tnd.uID)
        return 0;
    CWnd* pTarget = AfxGetThread() ? AfxGetThread()->GetMainWnd() : nullptr;
    UINT nMouse = LOWORD(lParam);
    if (nMouse != WM_RBUTTONUP && nMouse != WM_LBUTTONDBLCLK)
        return 1;
    HMENU hMenu = nullptr;
    HMENU hPopup = LoadTrayPopup(hMenu);
    if (!hPopup) {
        if (hMenu)
            ::DestroyMenu(hMenu);
        return 0;
    }
    HWND hTarget = pTarget ? pTarget->GetSafeHwnd() : nullptr;
    if (nMouse == WM_RBUTTONUP) {
        ::SetMenuDefaultItem(hPopup, m_nDefaultMenuItem, m_bDefaultMenuItemByPos);
        POINT pos {};
        ::GetCursorPos(&pos);
        if (hTarget)
            ::SetForegroundWindow(hTarget);
        ::TrackPopupMenu(hPopup, 0, pos.x, pos.y, 0, hTarget, nullptr);
        if (hTarget)
            ::PostMessage(hTarget, WM_NULL, 0, 0); // lets the menu close properly
    } else {
        if (hTarget)
            ::SetForegroundWindow(hTarget);
        UINT uItem = m_bDefaultMenuItemByPos ? ::GetMenuItemID(hPopup, static_cast<int>(m_nDefaultMenuItem))
                                             : m_nDefaultMenuItem;
        if (hTarget)
            ::SendMessage(hTarget, WM_COMMAND, uItem, 0);
    }
    ::DestroyMenu(hMenu);
    return 1;
}

LRESULT CSystemTray::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == m_tnd.uCallbackMessage && message != 0)
        return OnTrayNotification(wParam, lParam);
    return CWnd::WindowProc(message, wParam, lParam);
}

void CSystemTray::OnTimer(UINT_PTR /*nIDEvent*/)
{
    if (m_nAnimationPeriod > 0) {
        COleDateTimeSpan elapsed = COleDateTime::GetCurrentTime() - m_startTime;
        if (std::lround(elapsed.GetTotalSeconds()) > m_nAnimationPeriod) {
            StopAnimation();
            return;
        }
    }
    StepAnimation();
}
