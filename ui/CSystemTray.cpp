#include "ui/CSystemTray.h"

#include "platform/base/ResourceModule.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/Version.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/CWinThread.h"
#include "platform/framework/MessageMap.h"
#include "platform/gdi/Icons.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/Menu.h"

#include <cmath>

IMPLEMENT_DYNAMIC(CSystemTray, CWnd)

BEGIN_MESSAGE_MAP(CSystemTray, CWnd)
    ON_WM_TIMER()
END_MESSAGE_MAP()

namespace {

// The record's size in its first form, as the tray expects it.
constexpr DWORD NOTIFYICONDATA_FIRST_SIZE = 88;
// Message, icon and tip: what an added icon carries.
constexpr UINT ALL_FIELDS = NIF_MESSAGE | NIF_ICON | NIF_TIP;
// Tray icons came with major version 4 of the system.
constexpr DWORD FIRST_TRAY_VERSION = 4;

// The window that commands of the icon go to.
CWnd* CommandTarget()
{
    CWinThread* pThread = AfxGetThread();
    return pThread ? pThread->GetMainWnd() : nullptr;
}

} // namespace

CSystemTray::CSystemTray() = default;

CSystemTray::~CSystemTray()
{
    RemoveIcon();
    m_icons.clear();
    if (GetSafeHwnd())
        DestroyWindow();
}

BOOL CSystemTray::Create(CWnd* pTarget, UINT uCallbackMessage, LPCTSTR pszTip, HICON hIcon, UINT uID, BOOL bShow)
{
    if (LOBYTE(LOWORD(GetVersion())) < FIRST_TRAY_VERSION) {
        m_bEnabled = FALSE;
        return FALSE;
    }
    if (!CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr))
        return FALSE;
    m_data = NOTIFYICONDATA {};
    m_data.cbSize = NOTIFYICONDATA_FIRST_SIZE;
    m_data.hWnd = (pTarget && pTarget->GetSafeHwnd()) ? pTarget->GetSafeHwnd() : m_hWnd;
    m_data.uID = uID;
    m_data.uCallbackMessage = uCallbackMessage;
    m_data.hIcon = hIcon;
    Utf8CopyToField(m_data.szTip, sizeof(m_data.szTip), pszTip, FieldEnd::NulTerminated);
    if (!bShow) {
        m_data.uFlags = 0;
        m_bEnabled = TRUE;
        m_bHidden = TRUE;
        return TRUE;
    }
    m_data.uFlags = ALL_FIELDS;
    m_bEnabled = Shell_NotifyIcon(NIM_ADD, &m_data);
    m_bHidden = !m_bEnabled;
    return m_bEnabled;
}

void CSystemTray::RemoveIcon()
{
    if (!m_bEnabled)
        return;
    m_data.uFlags = 0;
    if (!m_bHidden)
        Shell_NotifyIcon(NIM_DELETE, &m_data);
    m_bHidden = TRUE;
    m_bEnabled = FALSE;
}

BOOL CSystemTray::HideIcon()
{
    if (!m_bEnabled || m_bHidden)
        return FALSE;
    m_data.uFlags = NIF_ICON;
    const BOOL bDeleted = Shell_NotifyIcon(NIM_DELETE, &m_data);
    m_bHidden = TRUE;
    return bDeleted;
}

BOOL CSystemTray::ShowIcon()
{
    if (!m_bEnabled)
        return FALSE;
    if (!m_bHidden)
        return TRUE;
    m_data.uFlags = ALL_FIELDS;
    if (!Shell_NotifyIcon(NIM_ADD, &m_data))
        return FALSE;
    m_bHidden = FALSE;
    return TRUE;
}

BOOL CSystemTray::SetIcon(HICON hIcon)
{
    if (!m_bEnabled)
        return FALSE;
    m_data.uFlags = NIF_ICON;
    m_data.hIcon = hIcon;
    return m_bHidden ? TRUE : Shell_NotifyIcon(NIM_MODIFY, &m_data);
}

HICON CSystemTray::GetIcon() const
{
    return m_bEnabled ? m_data.hIcon : nullptr;
}

BOOL CSystemTray::SetIconFromResource(UINT nFirst, UINT nLast)
{
    if (nFirst > nLast)
        return FALSE;
    m_icons.clear();
    for (UINT nID = nFirst; nID <= nLast; ++nID) {
        LPCTSTR pszName = MAKEINTRESOURCE(static_cast<WORD>(nID));
        m_icons.push_back(LoadIcon(AfxFindResourceHandle(pszName, RT_GROUP_ICON), pszName));
    }
    return TRUE;
}

BOOL CSystemTray::Animate(UINT nDelayMilliseconds, int nDurationSeconds)
{
    StopAnimation();
    m_nAnimationIndex = 0;
    m_animationStart = COleDateTime::GetCurrentTime();
    m_nAnimationSeconds = nDurationSeconds;
    m_hSavedIcon = GetIcon();
    m_nAnimationTimer = SetTimer(TIMER_ANIMATION, nDelayMilliseconds, nullptr);
    return m_nAnimationTimer != 0;
}

BOOL CSystemTray::StepAnimation()
{
    if (m_icons.empty())
        return FALSE;
    if (++m_nAnimationIndex >= m_icons.size())
        m_nAnimationIndex = 0;
    return SetIcon(m_icons[m_nAnimationIndex]);
}

void CSystemTray::StopAnimation()
{
    if (m_nAnimationTimer) {
        if (GetSafeHwnd())
            KillTimer(m_nAnimationTimer);
        m_nAnimationTimer = 0;
    }
    if (m_hSavedIcon) {
        SetIcon(m_hSavedIcon);
        m_hSavedIcon = nullptr;
    }
}

BOOL CSystemTray::SetTooltipText(LPCTSTR pszTip)
{
    if (!m_bEnabled)
        return FALSE;
    m_data.uFlags = NIF_TIP;
    Utf8CopyToField(m_data.szTip, sizeof(m_data.szTip), pszTip, FieldEnd::NulTerminated);
    return m_bHidden ? TRUE : Shell_NotifyIcon(NIM_MODIFY, &m_data);
}

BOOL CSystemTray::SetTooltipTextFromResource(UINT nID)
{
    CString strTip;
    strTip.LoadString(nID);
    return SetTooltipText(strTip);
}

BOOL CSystemTray::SetMenuDefaultItem(UINT uItem, BOOL bByPosition)
{
    if (m_uDefaultItem == uItem && m_bDefaultByPosition == bByPosition)
        return TRUE;
    m_uDefaultItem = uItem;
    m_bDefaultByPosition = bByPosition;
    HMENU hMenu = nullptr;
    HMENU hSubMenu = LoadIconMenu(&hMenu);
    if (hSubMenu)
        ApplyDefaultItem(hSubMenu);
    if (hMenu)
        DestroyMenu(hMenu);
    return hSubMenu != nullptr;
}

LRESULT CSystemTray::OnTrayNotification(WPARAM wParam, LPARAM lParam)
{
    if (wParam != m_data.uID)
        return 0;
    CWnd* pTarget = CommandTarget();
    const auto nMouseMessage = static_cast<UINT>(lParam);
    if (nMouseMessage != WM_RBUTTONUP && nMouseMessage != WM_LBUTTONDBLCLK)
        return 1;
    HMENU hMenu = nullptr;
    HMENU hSubMenu = LoadIconMenu(&hMenu);
    if (!hSubMenu) {
        if (hMenu)
            DestroyMenu(hMenu);
        return 0;
    }
    if (nMouseMessage == WM_RBUTTONUP) {
        ApplyDefaultItem(hSubMenu);
        POINT cursor {};
        GetCursorPos(&cursor);
        HWND hTarget = pTarget ? pTarget->GetSafeHwnd() : nullptr;
        if (hTarget)
            ::SetForegroundWindow(hTarget);
        TrackPopupMenu(hSubMenu, 0, cursor.x, cursor.y, 0, hTarget, nullptr);
        if (hTarget)
            ::PostMessage(hTarget, WM_NULL, 0, 0);
    } else {
        const UINT uCommand
            = m_bDefaultByPosition ? GetMenuItemID(hSubMenu, static_cast<int>(m_uDefaultItem)) : m_uDefaultItem;
        if (pTarget && pTarget->GetSafeHwnd()) {
            ::SetForegroundWindow(pTarget->GetSafeHwnd());
            pTarget->SendMessage(WM_COMMAND, uCommand, 0);
        }
    }
    DestroyMenu(hMenu);
    return 1;
}

LRESULT CSystemTray::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_data.uCallbackMessage != 0 && message == m_data.uCallbackMessage)
        return OnTrayNotification(wParam, lParam);
    return CWnd::WindowProc(message, wParam, lParam);
}

void CSystemTray::OnTimer(UINT_PTR /*nIDEvent*/)
{
    if (m_nAnimationSeconds > 0) {
        const COleDateTimeSpan elapsed = COleDateTime::GetCurrentTime() - m_animationStart;
        const auto nElapsedSeconds = static_cast<long>(std::lround(elapsed.GetTotalSeconds()));
        if (nElapsedSeconds > m_nAnimationSeconds) {
            StopAnimation();
            return;
        }
    }
    StepAnimation();
}

HMENU CSystemTray::LoadIconMenu(HMENU* phMenu) const
{
    LPCTSTR pszName = MAKEINTRESOURCE(static_cast<WORD>(m_data.uID));
    *phMenu = LoadMenu(AfxFindResourceHandle(pszName, RT_MENU), pszName);
    return *phMenu ? GetSubMenu(*phMenu, 0) : nullptr;
}

void CSystemTray::ApplyDefaultItem(HMENU hSubMenu) const
{
    ::SetMenuDefaultItem(hSubMenu, m_uDefaultItem, m_bDefaultByPosition);
}
