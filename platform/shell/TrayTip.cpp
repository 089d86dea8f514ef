#include "platform/shell/TrayTip.h"

#include "platform/controls/CommonControls.h"
#include "platform/controls/ToolTipControl.h"
#include "platform/display/TrayHost.h"
#include "platform/window/DisplayLink.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Monitors.h"
#include "platform/window/Timers.h"
#include "platform/window/Window.h"

#include <utility>

namespace {

constexpr UINT_PTR TIP_TOOL = 1;       // the tooltip's one tool, tracked
constexpr UINT_PTR DELAY_TIMER = 0x54; // on the tooltip window, with a procedure of its own
constexpr int ICON_GAP = 2;            // between the icon's place and the tip

TOOLINFO TipTool(HWND hTip, const char* pszText)
{
    TOOLINFO tool {};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    tool.hwnd = hTip;
    tool.uId = TIP_TOOL;
    tool.lpszText = const_cast<LPSTR>(pszText);
    return tool;
}

}

void CTrayTip::OnHover(HWND hWnd, UINT uID, bool bOver, const std::string& strTip)
{
    if (!bOver) {
        Hide(hWnd, uID);
        return;
    }
    HWND hTip = TipWindow();
    {
        std::lock_guard lock(m_mutex);
        m_hIconWnd = hWnd;
        m_uIconID = uID;
        m_strTip = strTip;
    }
    if (hTip && !strTip.empty())
        SetTimer(
            hTip, DELAY_TIMER, static_cast<UINT>(SendMessage(hTip, TTM_GETDELAYTIME, TTDT_INITIAL, 0)), OnDelayOver);
}

void CTrayTip::OnTipChanged(HWND hWnd, UINT uID, const std::string& strTip)
{
    bool bShown = false;
    {
        std::lock_guard lock(m_mutex);
        if (m_hIconWnd != hWnd || m_uIconID != uID)
            return;
        m_strTip = strTip;
        bShown = m_bShown;
    }
    if (strTip.empty())
        Hide(hWnd, uID);
    else if (bShown)
        Show();
}

void CTrayTip::Hide(HWND hWnd, UINT uID)
{
    HWND hTip = nullptr;
    {
        std::lock_guard lock(m_mutex);
        if (m_hIconWnd != hWnd || m_uIconID != uID)
            return;
        m_hIconWnd = nullptr;
        m_bShown = false;
        hTip = m_hTip;
    }
    // A delay still running finds no icon and ends.
    if (IsWindow(hTip)) {
        TOOLINFO tool = TipTool(hTip, nullptr);
        SendMessage(hTip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
    }
}

void CTrayTip::Close()
{
    HWND hTip = nullptr;
    {
        std::lock_guard lock(m_mutex);
        hTip = std::exchange(m_hTip, nullptr);
        m_hIconWnd = nullptr;
        m_bShown = false;
    }
    // Sent, so that the window is destroyed by the thread it belongs to.
    if (IsWindow(hTip))
        SendMessage(hTip, WM_CLOSE, 0, 0);
}

void CALLBACK CTrayTip::OnDelayOver(HWND hTip, UINT, UINT_PTR nIDEvent, DWORD)
{
    KillTimer(hTip, nIDEvent);
    if (auto* pThis = reinterpret_cast<CTrayTip*>(GetWindowLongPtr(hTip, GWLP_USERDATA)))
        pThis->Show();
}

HWND CTrayTip::TipWindow()
{
    std::lock_guard lock(m_mutex);
    if (IsWindow(m_hTip))
        return m_hTip;
    INITCOMMONCONTROLSEX init { sizeof(init), ICC_BAR_CLASSES };
    InitCommonControlsEx(&init);
    m_hTip = CreateWindowEx(WS_EX_TOPMOST, TOOLTIPS_CLASS, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0, 0, 0,
        nullptr, nullptr, nullptr, nullptr);
    if (!m_hTip)
        return nullptr;
    SetWindowLongPtr(m_hTip, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    TOOLINFO tool = TipTool(m_hTip, "");
    SendMessage(m_hTip, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&tool));
    return m_hTip;
}

void CTrayTip::Show()
{
    HWND hTip = nullptr;
    HWND hIconWnd = nullptr;
    UINT uIconID = 0;
    std::string strTip;
    {
        std::lock_guard lock(m_mutex);
        hTip = m_hTip;
        hIconWnd = m_hIconWnd;
        uIconID = m_uIconID;
        strTip = m_strTip;
    }
    CTrayHost* pHost = GetDisplayTrayHost();
    RECT rcIcon {};
    if (!hIconWnd || strTip.empty() || !IsWindow(hTip) || !pHost || !pHost->GetIconRect(hIconWnd, uIconID, &rcIcon))
        return;
    TOOLINFO tool = TipTool(hTip, strTip.c_str());
    SendMessage(hTip, TTM_UPDATETIPTEXT, 0, reinterpret_cast<LPARAM>(&tool));
    const auto nSize = static_cast<DWORD>(SendMessage(hTip, TTM_GETBUBBLESIZE, 0, reinterpret_cast<LPARAM>(&tool)));
    const int cyTip = HIWORD(nSize);

    // Below the icon, or above it when a tray at the monitor's bottom leaves no room.
    MONITORINFO info { sizeof(MONITORINFO), {}, {}, 0 };
    GetMonitorInfo(MonitorFromRect(&rcIcon, MONITOR_DEFAULTTONEAREST), &info);
    POINT pt { rcIcon.left, rcIcon.bottom + ICON_GAP };
    if (pt.y + cyTip > info.rcMonitor.bottom)
        pt.y = rcIcon.top - ICON_GAP - cyTip;
    SendMessage(hTip, TTM_TRACKPOSITION, 0, MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y)));
    SendMessage(hTip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));

    bool bStillOver = false;
    {
        std::lock_guard lock(m_mutex);
        bStillOver = m_hIconWnd == hIconWnd && m_uIconID == uIconID;
        m_bShown = bStillOver;
    }
    // The icon may have gone meanwhile (from another thread): then so does its tip.
    if (!bStillOver)
        SendMessage(hTip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}
