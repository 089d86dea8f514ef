#include "platform/shell/TrayIcon.h"

#include "platform/base/TextFunctions.h"
#include "platform/base/WinError.h"
#include "platform/display/TrayHost.h"
#include "platform/shell/TrayTip.h"
#include "platform/window/DisplayLink.h"
#include "platform/window/Input.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Messages.h"

#include <cstring>
#include <map>
#include <mutex>
#include <utility>

namespace {

constexpr size_t TRAY_TIP_MAX = 63; // bytes of a tip, without its NUL

// The icons the program added, by key; also the sink of the tray's mouse input.
class CTrayRecords : public CTrayInputSink {
public:
    BOOL Add(const NOTIFYICONDATA& data);
    BOOL Modify(const NOTIFYICONDATA& data);
    BOOL Delete(const NOTIFYICONDATA& data);

    void OnTrayMouse(HWND hWnd, UINT uID, UINT nMouseMessage, POINT ptScreen) override;
    void OnTrayHover(HWND hWnd, UINT uID, bool bOver) override;

private:
    using CKey = std::pair<HWND, UINT>;

    static void ApplyFields(const NOTIFYICONDATA& data, CTrayIcon& icon);

    std::mutex m_mutex;
    std::map<CKey, CTrayIcon> m_icons;
    CTrayTip m_tip; // called without m_mutex: it sends to its window
};

CTrayRecords& Records()
{
    static auto* pRecords = new CTrayRecords;
    return *pRecords;
}

BOOL Fail(DWORD dwError)
{
    SetLastError(dwError);
    return FALSE;
}

void CTrayRecords::ApplyFields(const NOTIFYICONDATA& data, CTrayIcon& icon)
{
    if (data.uFlags & NIF_MESSAGE)
        icon.uCallbackMessage = data.uCallbackMessage;
    if (data.uFlags & NIF_ICON)
        icon.hIcon = data.hIcon;
    if (data.uFlags & NIF_TIP) {
        // The field need not hold a NUL; the tip is what fits before one, cut whole.
        std::string strTip(data.szTip, strnlen(data.szTip, sizeof data.szTip));
        strTip.resize(Utf8PrefixLength(strTip.c_str(), TRAY_TIP_MAX));
        icon.strTip = std::move(strTip);
    }
}

BOOL CTrayRecords::Add(const NOTIFYICONDATA& data)
{
    CTrayHost* pHost = GetDisplayTrayHost();
    std::lock_guard lock(m_mutex);
    CKey key { data.hWnd, data.uID };
    if (m_icons.count(key))
        return Fail(ERROR_ALREADY_EXISTS);
    if (!pHost)
        return Fail(ERROR_NOT_SUPPORTED);
    CTrayIcon icon;
    icon.hWnd = data.hWnd;
    icon.uID = data.uID;
    ApplyFields(data, icon);
    pHost->SetInputSink(this);
    if (!pHost->AddIcon(icon))
        return Fail(ERROR_GEN_FAILURE);
    m_icons.emplace(key, std::move(icon));
    return TRUE;
}

BOOL CTrayRecords::Modify(const NOTIFYICONDATA& data)
{
    CTrayHost* pHost = GetDisplayTrayHost();
    std::string strTip;
    {
        std::lock_guard lock(m_mutex);
        auto it = m_icons.find(CKey { data.hWnd, data.uID });
        if (it == m_icons.end())
            return Fail(ERROR_INVALID_PARAMETER);
        if (!pHost)
            return Fail(ERROR_NOT_SUPPORTED);
        CTrayIcon icon = it->second;
        ApplyFields(data, icon);
        if (!pHost->ModifyIcon(icon))
            return Fail(ERROR_GEN_FAILURE);
        it->second = std::move(icon);
        strTip = it->second.strTip;
    }
    m_tip.OnTipChanged(data.hWnd, data.uID, strTip);
    return TRUE;
}

BOOL CTrayRecords::Delete(const NOTIFYICONDATA& data)
{
    CTrayHost* pHost = GetDisplayTrayHost();
    bool bLast = false;
    {
        std::lock_guard lock(m_mutex);
        if (m_icons.erase(CKey { data.hWnd, data.uID }) == 0)
            return Fail(ERROR_INVALID_PARAMETER);
        // A tray that went (or came anew) no longer knows the icon: nothing to remove there.
        if (pHost)
            static_cast<void>(pHost->DeleteIcon(data.hWnd, data.uID));
        bLast = m_icons.empty();
    }
    m_tip.Hide(data.hWnd, data.uID);
    if (bLast)
        m_tip.Close();
    return TRUE;
}

void CTrayRecords::OnTrayMouse(HWND hWnd, UINT uID, UINT nMouseMessage, POINT ptScreen)
{
    UINT uCallbackMessage = 0;
    {
        std::lock_guard lock(m_mutex);
        auto it = m_icons.find(CKey { hWnd, uID });
        if (it == m_icons.end())
            return;
        uCallbackMessage = it->second.uCallbackMessage;
    }
    if (nMouseMessage != WM_MOUSEMOVE)
        m_tip.Hide(hWnd, uID);
    if (uCallbackMessage == 0)
        return;
    // The program reads the cursor position to place the icon's menu there.
    SetCursorPos(ptScreen.x, ptScreen.y);
    PostMessage(hWnd, uCallbackMessage, uID, static_cast<LPARAM>(nMouseMessage));
}

void CTrayRecords::OnTrayHover(HWND hWnd, UINT uID, bool bOver)
{
    std::string strTip;
    {
        std::lock_guard lock(m_mutex);
        auto it = m_icons.find(CKey { hWnd, uID });
        if (it == m_icons.end())
            return;
        strTip = it->second.strTip;
    }
    m_tip.OnHover(hWnd, uID, bOver, strTip);
}

} // namespace

BOOL Shell_NotifyIcon(DWORD dwMessage, PNOTIFYICONDATA pData)
{
    if (pData == nullptr || pData->cbSize == 0 || (pData->uFlags & NIF_INFO))
        return Fail(ERROR_INVALID_PARAMETER);
    switch (dwMessage) {
    case NIM_ADD:
        return Records().Add(*pData);
    case NIM_MODIFY:
        return Records().Modify(*pData);
    case NIM_DELETE:
        return Records().Delete(*pData);
    default:
        return Fail(ERROR_INVALID_PARAMETER);
    }
}
