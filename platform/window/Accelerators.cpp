#include "platform/window/Accelerators.h"

#include "platform/base/WinError.h"
#include "platform/window/Input.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Messages.h"

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
            // FIXME: a command whose menu item is disabled should not be sent.
            SendMessage(hWnd, WM_COMMAND, MAKEWPARAM(accel.cmd, 1), 0);
            return TRUE;
        }
    }
    return FALSE;
}
