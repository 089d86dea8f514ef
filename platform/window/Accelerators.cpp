#include "platform/window/Accelerators.h"

#include "platform/base/WinError.h"
#include "platform/window/Input.h"
#include "platform/window/Menu.h"
#include "platform/window/MenuInternal.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Messages.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <vector>

namespace {

// Handles count up from here and are never reused.
constexpr ULONG_PTR FIRST_ACCEL_HANDLE = 0x60000;

class CAcceleratorTables {
public:
    static CAcceleratorTables& Instance()
    {
        static CAcceleratorTables tables;
        return tables;
    }

    HACCEL Add(std::vector<ACCEL> accels)
    {
        std::lock_guard lock(m_mutex);
        HACCEL hAccel = reinterpret_cast<HACCEL>(m_nNextHandle++);
        m_tables.emplace(hAccel, std::move(accels));
        return hAccel;
    }
    bool Remove(HACCEL hAccel)
    {
        std::lock_guard lock(m_mutex);
        return m_tables.erase(hAccel) != 0;
    }
    // A copy of the table; false for a bad handle.
    bool Get(HACCEL hAccel, std::vector<ACCEL>& accels)
    {
        std::lock_guard lock(m_mutex);
        auto it = m_tables.find(hAccel);
        if (it == m_tables.end())
            return false;
        accels = it->second;
        return true;
    }

private:
    std::mutex m_mutex;
    std::map<HACCEL, std::vector<ACCEL>> m_tables;
    ULONG_PTR m_nNextHandle { FIRST_ACCEL_HANDLE };
};

bool KeyDown(int nVirtKey)
{
    return (GetKeyState(nVirtKey) & 0x8000) != 0;
}

} // namespace

HACCEL CreateAcceleratorTable(LPACCEL paccel, int cAccel)
{
    if (!paccel || cAccel <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CAcceleratorTables::Instance().Add(std::vector<ACCEL>(paccel, paccel + cAccel));
}

BOOL DestroyAcceleratorTable(HACCEL hAccel)
{
    if (!CAcceleratorTables::Instance().Remove(hAccel)) {
        SetLastError(ERROR_INVALID_ACCEL_HANDLE);
        return FALSE;
    }
    return TRUE;
}

HACCEL LoadAccelerators(HINSTANCE hInstance, LPCTSTR lpTableName)
{
    HMODULE hModule = hInstance ? hInstance : AfxGetResourceHandle();
    HRSRC hResInfo = FindResource(hModule, lpTableName, RT_ACCELERATOR);
    if (!hResInfo)
        return nullptr;
    HGLOBAL hData = LoadResource(hModule, hResInfo);
    const auto* pData = static_cast<const BYTE*>(hData ? LockResource(hData) : nullptr);
    if (!pData)
        return nullptr;
    std::vector<ACCEL> accels;
    std::string strError;
    if (!ReadAcceleratorTable(std::span(pData, SizeofResource(hModule, hResInfo)), accels, strError)) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    return CAcceleratorTables::Instance().Add(std::move(accels));
}

int CopyAcceleratorTable(HACCEL hAccelSrc, LPACCEL lpAccelDst, int cAccelEntries)
{
    std::vector<ACCEL> accels;
    if (!CAcceleratorTables::Instance().Get(hAccelSrc, accels)) {
        SetLastError(ERROR_INVALID_ACCEL_HANDLE);
        return 0;
    }
    if (!lpAccelDst)
        return static_cast<int>(accels.size());
    int nCopy = std::clamp(cAccelEntries, 0, static_cast<int>(accels.size()));
    std::copy_n(accels.begin(), nCopy, lpAccelDst);
    return nCopy;
}

namespace {

bool IsCommandItem(const CMenuItem& item, UINT nCmd)
{
    return !item.hSubMenu && !(item.fType & MFT_SEPARATOR) && item.wID == nCmd;
}

// The popups leading from hMenu to the first item with command nCmd, depth
// first, each with its position in the menu above it; false when no item has it.
bool FindCommandPath(HMENU hMenu, UINT nCmd, std::vector<std::pair<HMENU, int>>& path, int nDepth = 0)
{
    constexpr int MAX_DEPTH = 16; // menus nest no deeper; a menu among its own submenus stops here
    std::vector<CMenuItem> items;
    if (nDepth > MAX_DEPTH || !MenuSnapshot(hMenu, items))
        return false;
    for (const CMenuItem& item : items) {
        if (IsCommandItem(item, nCmd))
            return true;
    }
    for (int nPos = 0; nPos < static_cast<int>(items.size()); ++nPos) {
        if (!items[nPos].hSubMenu)
            continue;
        path.emplace_back(items[nPos].hSubMenu, nPos);
        if (FindCommandPath(items[nPos].hSubMenu, nCmd, path, nDepth + 1))
            return true;
        path.pop_back();
    }
    return false;
}

// Whether an accelerator may send nCmd to hWnd. When the window's menu has an
// item for the command, the window first brings the menu up to date as if the
// user opened it (WM_INITMENU, then WM_INITMENUPOPUP for each popup down to
// the item), and the command goes only if the item is then enabled.
bool IsAcceleratorCommandEnabled(HWND hWnd, UINT nCmd)
{
    HMENU hMenu = GetMenu(hWnd);
    std::vector<std::pair<HMENU, int>> path;
    if (!hMenu || !FindCommandPath(hMenu, nCmd, path))
        return true;
    SendMessage(hWnd, WM_INITMENU, reinterpret_cast<WPARAM>(hMenu), 0);
    for (const auto& [hPopup, nPos] : path) {
        if (!IsWindow(hWnd))
            return false;
        SendMessage(hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hPopup), MAKELPARAM(nPos, FALSE));
    }
    std::vector<CMenuItem> items;
    if (!IsWindow(hWnd) || !MenuSnapshot(path.empty() ? hMenu : path.back().first, items))
        return false;
    auto it
        = std::find_if(items.begin(), items.end(), [nCmd](const CMenuItem& item) { return IsCommandItem(item, nCmd); });
    return it != items.end() && !(it->fState & MFS_DISABLED);
}

} // namespace

int TranslateAccelerator(HWND hWnd, HACCEL hAccTable, LPMSG lpMsg)
{
    if (!lpMsg) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<ACCEL> accels;
    if (!CAcceleratorTables::Instance().Get(hAccTable, accels)) {
        SetLastError(ERROR_INVALID_ACCEL_HANDLE);
        return FALSE;
    }
    bool bKey = lpMsg->message == WM_KEYDOWN || lpMsg->message == WM_SYSKEYDOWN;
    bool bChar = lpMsg->message == WM_CHAR || lpMsg->message == WM_SYSCHAR;
    if (!bKey && !bChar)
        return FALSE;
    BYTE fState
        = (KeyDown(VK_SHIFT) ? FSHIFT : 0) | (KeyDown(VK_CONTROL) ? FCONTROL : 0) | (KeyDown(VK_MENU) ? FALT : 0);
    for (const ACCEL& accel : accels) {
        bool bMatch = false;
        if (accel.fVirt & FVIRTKEY)
            bMatch = bKey && accel.key == lpMsg->wParam && (accel.fVirt & (FSHIFT | FCONTROL | FALT)) == fState;
        else
            bMatch
                = bChar && accel.key == lpMsg->wParam && ((accel.fVirt & FALT) != 0) == (lpMsg->message == WM_SYSCHAR);
        if (bMatch) {
            if (IsAcceleratorCommandEnabled(hWnd, accel.cmd))
                SendMessage(hWnd, WM_COMMAND, MAKEWPARAM(accel.cmd, 1), 0);
            return TRUE;
        }
    }
    return FALSE;
}
