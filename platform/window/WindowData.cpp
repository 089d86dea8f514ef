// Window text, properties, per-window values and the default window procedure.

#include "platform/window/Window.h"

#include "platform/base/ResourceModule.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/Threads.h"
#include "platform/base/WinError.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Messages.h"
#include "platform/window/WindowInternal.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace {

// Where an index addresses the extra bytes: the offset, or -1 when out of range.
std::ptrdiff_t ExtraOffset(const CWindow& window, int nIndex, size_t cbValue)
{
    if (nIndex < 0 || static_cast<size_t>(nIndex) + cbValue > window.extraBytes.size())
        return -1;
    return nIndex;
}

// Sets GWL_STYLE or GWL_EXSTYLE, letting the window see and change the new value first.
LONG_PTR SetStyle(HWND hWnd, int nIndex, DWORD dwNew)
{
    STYLESTRUCT ss {};
    {
        auto lock = LockWindows();
        CWindow* pWindow = FindWindowOrFailLocked(hWnd);
        if (!pWindow)
            return 0;
        ss.styleOld = nIndex == GWL_STYLE ? pWindow->dwStyle : pWindow->dwExStyle;
    }
    ss.styleNew = dwNew;
    SendMessage(hWnd, WM_STYLECHANGING, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&ss));
    {
        auto lock = LockWindows();
        CWindow* pWindow = FindWindowOrFailLocked(hWnd);
        if (!pWindow)
            return 0;
        (nIndex == GWL_STYLE ? pWindow->dwStyle : pWindow->dwExStyle) = ss.styleNew;
    }
    SendMessage(hWnd, WM_STYLECHANGED, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&ss));
    return static_cast<LONG_PTR>(ss.styleOld);
}

// Reads or writes one value; `pNew` null reads. cbExtra is the width at offsets into the extra bytes.
LONG_PTR AccessLong(HWND hWnd, int nIndex, const LONG_PTR* pNew, size_t cbExtra)
{
    if (pNew && (nIndex == GWL_STYLE || nIndex == GWL_EXSTYLE))
        return SetStyle(hWnd, nIndex, static_cast<DWORD>(*pNew));
    auto lock = LockWindows();
    CWindow* pWindow = FindWindowOrFailLocked(hWnd);
    if (!pWindow)
        return 0;
    auto swap = [pNew](auto& field) {
        auto old = field;
        if (pNew)
            field = static_cast<std::remove_reference_t<decltype(field)>>(*pNew);
        return static_cast<LONG_PTR>(old);
    };
    switch (nIndex) {
    case GWL_STYLE:
        return static_cast<LONG_PTR>(pWindow->dwStyle);
    case GWL_EXSTYLE:
        return static_cast<LONG_PTR>(pWindow->dwExStyle);
    case GWLP_ID:
        return swap(pWindow->nId);
    case GWLP_USERDATA:
        return swap(pWindow->nUserData);
    case GWLP_WNDPROC: {
        if (pNew && pWindow->dwThreadId != GetCurrentThreadId()) {
            SetLastError(ERROR_ACCESS_DENIED);
            return 0;
        }
        auto pfnOld = pWindow->pfnWndProc;
        if (pNew)
            pWindow->pfnWndProc = reinterpret_cast<WNDPROC>(*pNew);
        return reinterpret_cast<LONG_PTR>(pfnOld);
    }
    case GWLP_HINSTANCE: {
        HINSTANCE hOld = pWindow->hInstance;
        if (pNew)
            pWindow->hInstance = reinterpret_cast<HINSTANCE>(*pNew);
        return reinterpret_cast<LONG_PTR>(hOld);
    }
    case GWLP_HWNDPARENT: {
        CWindow* pRelative = (pWindow->dwStyle & WS_CHILD) ? pWindow->pParent : pWindow->pOwner;
        HWND hOld = pRelative ? pRelative->hWnd : nullptr;
        if (pNew && !(pWindow->dwStyle & WS_CHILD)) {
            CWindow* pOwner = *pNew ? FindWindowLocked(reinterpret_cast<HWND>(*pNew)) : nullptr;
            if (*pNew && (!pOwner || IsSelfOrDescendantLocked(pWindow, pOwner))) {
                SetLastError(ERROR_INVALID_PARAMETER);
                return 0;
            }
            pWindow->pOwner = pOwner;
        }
        return reinterpret_cast<LONG_PTR>(hOld);
    }
    default:
        break;
    }
    std::ptrdiff_t nOffset = ExtraOffset(*pWindow, nIndex, cbExtra);
    if (nOffset < 0) {
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
    BYTE* pBytes = pWindow->extraBytes.data() + nOffset;
    if (cbExtra == sizeof(LONG)) {
        LONG nOld = 0;
        std::memcpy(&nOld, pBytes, sizeof nOld);
        if (pNew) {
            auto nNew = static_cast<LONG>(*pNew);
            std::memcpy(pBytes, &nNew, sizeof nNew);
        }
        return nOld;
    }
    LONG_PTR nOld = 0;
    std::memcpy(&nOld, pBytes, sizeof nOld);
    if (pNew)
        std::memcpy(pBytes, pNew, sizeof *pNew);
    return nOld;
}

}

/***** Text *****/

BOOL SetWindowText(HWND hWnd, LPCSTR lpString)
{
    if (!IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return SendMessage(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)) != 0;
}

int GetWindowText(HWND hWnd, LPSTR lpString, int nMaxCount)
{
    if (!IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (!lpString || nMaxCount <= 0)
        return 0;
    lpString[0] = '\0';
    return static_cast<int>(
        SendMessage(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount), reinterpret_cast<LPARAM>(lpString)));
}

int GetWindowTextLength(HWND hWnd)
{
    if (!IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return static_cast<int>(SendMessage(hWnd, WM_GETTEXTLENGTH, 0, 0));
}

/***** Properties *****/

BOOL SetProp(HWND hWnd, LPCSTR lpString, HANDLE hData)
{
    auto lock = LockWindows();
    CWindow* pWindow = FindWindowOrFailLocked(hWnd);
    if (!pWindow)
        return FALSE;
    ATOM nAtom
        = IS_INTRESOURCE(lpString) ? static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(lpString)) : AddAtomLocked(lpString);
    if (nAtom == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    pWindow->properties[nAtom] = hData;
    return TRUE;
}

HANDLE GetProp(HWND hWnd, LPCSTR lpString)
{
    auto lock = LockWindows();
    CWindow* pWindow = FindWindowOrFailLocked(hWnd);
    if (!pWindow || !lpString)
        return nullptr;
    ATOM nAtom = IS_INTRESOURCE(lpString) ? static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(lpString))
                                          : FindAtomLocked(lpString);
    auto it = pWindow->properties.find(nAtom);
    return it == pWindow->properties.end() ? nullptr : it->second;
}

HANDLE RemoveProp(HWND hWnd, LPCSTR lpString)
{
    auto lock = LockWindows();
    CWindow* pWindow = FindWindowOrFailLocked(hWnd);
    if (!pWindow || !lpString)
        return nullptr;
    ATOM nAtom = IS_INTRESOURCE(lpString) ? static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(lpString))
                                          : FindAtomLocked(lpString);
    auto it = pWindow->properties.find(nAtom);
    if (it == pWindow->properties.end())
        return nullptr;
    HANDLE hData = it->second;
    pWindow->properties.erase(it);
    return hData;
}

/***** Per-window values *****/

LONG_PTR GetWindowLongPtr(HWND hWnd, int nIndex)
{
    return AccessLong(hWnd, nIndex, nullptr, sizeof(LONG_PTR));
}

LONG_PTR SetWindowLongPtr(HWND hWnd, int nIndex, LONG_PTR dwNewLong)
{
    return AccessLong(hWnd, nIndex, &dwNewLong, sizeof(LONG_PTR));
}

LONG GetWindowLong(HWND hWnd, int nIndex)
{
    return static_cast<LONG>(AccessLong(hWnd, nIndex, nullptr, sizeof(LONG)));
}

LONG SetWindowLong(HWND hWnd, int nIndex, LONG dwNewLong)
{
    LONG_PTR nNew = (nIndex == GWL_STYLE || nIndex == GWL_EXSTYLE)
        ? static_cast<LONG_PTR>(static_cast<DWORD>(dwNewLong))
        : dwNewLong;
    return static_cast<LONG>(AccessLong(hWnd, nIndex, &nNew, sizeof(LONG)));
}

/***** Window procedures *****/

LRESULT CallWindowProc(WNDPROC lpPrevWndFunc, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return lpPrevWndFunc ? lpPrevWndFunc(hWnd, uMsg, wParam, lParam) : 0;
}

LRESULT DefWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_NCCREATE: {
        auto* pcs = reinterpret_cast<const CREATESTRUCT*>(lParam);
        if (pcs && pcs->lpszName && !IS_INTRESOURCE(pcs->lpszName)) {
            auto lock = LockWindows();
            if (CWindow* pWindow = FindWindowLocked(hWnd))
                pWindow->strText = pcs->lpszName;
        }
        return TRUE;
    }
    case WM_SETTEXT: {
        auto lock = LockWindows();
        CWindow* pWindow = FindWindowLocked(hWnd);
        if (!pWindow)
            return FALSE;
        auto lpsz = reinterpret_cast<LPCSTR>(lParam);
        pWindow->strText = lpsz ? lpsz : "";
        return TRUE;
    }
    case WM_GETTEXT: {
        auto lock = LockWindows();
        CWindow* pWindow = FindWindowLocked(hWnd);
        auto lpsz = reinterpret_cast<LPSTR>(lParam);
        if (!pWindow || !lpsz || wParam == 0)
            return 0;
        lstrcpynA(lpsz, pWindow->strText.c_str(), static_cast<int>(std::min<WPARAM>(wParam, INT32_MAX)));
        return lstrlenA(lpsz);
    }
    case WM_GETTEXTLENGTH: {
        auto lock = LockWindows();
        CWindow* pWindow = FindWindowLocked(hWnd);
        return pWindow ? static_cast<LRESULT>(pWindow->strText.size()) : 0;
    }
    case WM_WINDOWPOSCHANGING: {
        // A new size keeps to the window's tracking limits (not while minimized or maximized).
        auto* pwp = reinterpret_cast<WINDOWPOS*>(lParam);
        auto dwStyle = static_cast<DWORD>(GetWindowLong(hWnd, GWL_STYLE));
        if (!pwp || (pwp->flags & SWP_NOSIZE) || !HasTrackingLimits(dwStyle) || (dwStyle & (WS_MINIMIZE | WS_MAXIMIZE)))
            return 0;
        MINMAXINFO mmi = QueryMinMaxInfo(hWnd);
        pwp->cx = std::clamp<int>(pwp->cx, mmi.ptMinTrackSize.x, std::max(mmi.ptMinTrackSize.x, mmi.ptMaxTrackSize.x));
        pwp->cy = std::clamp<int>(pwp->cy, mmi.ptMinTrackSize.y, std::max(mmi.ptMinTrackSize.y, mmi.ptMaxTrackSize.y));
        return 0;
    }
    case WM_WINDOWPOSCHANGED: {
        auto* pwp = reinterpret_cast<const WINDOWPOS*>(lParam);
        if (!pwp)
            return 0;
        if (!(pwp->flags & SWP_NOMOVE)) {
            POINT ptOrigin {};
            MapWindowPoints(hWnd, GetAncestor(hWnd, GA_PARENT), &ptOrigin, 1);
            SendMessage(hWnd, WM_MOVE, 0, MAKELONG(static_cast<WORD>(ptOrigin.x), static_cast<WORD>(ptOrigin.y)));
        }
        if (!(pwp->flags & SWP_NOSIZE)) {
            RECT rcClient {};
            GetClientRect(hWnd, &rcClient);
            DWORD dwStyle = static_cast<DWORD>(GetWindowLong(hWnd, GWL_STYLE));
            WPARAM nKind = (dwStyle & WS_MINIMIZE) ? SIZE_MINIMIZED
                : (dwStyle & WS_MAXIMIZE)          ? SIZE_MAXIMIZED
                                                   : SIZE_RESTORED;
            SendMessage(
                hWnd, WM_SIZE, nKind, MAKELONG(static_cast<WORD>(rcClient.right), static_cast<WORD>(rcClient.bottom)));
        }
        return 0;
    }
    case WM_CLOSE:
        DestroyWindow(hWnd);
        return 0;
    default:
        return DefWindowProcInputAndPaint(hWnd, uMsg, wParam, lParam);
    }
}
