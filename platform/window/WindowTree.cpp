// Parent, owner and sibling relations; enumerating and finding windows.

#include "platform/window/Window.h"

#include "platform/base/WinError.h"
#include "platform/window/WindowInternal.h"

#include <algorithm>
#include <atomic>

namespace {

std::atomic<CForeignWindowFinder*> g_pForeignFinder { nullptr };

HWND HandleOf(const CWindow* pWindow)
{
    return pWindow ? pWindow->hWnd : nullptr;
}

CWindow* RootLocked(CWindow* pWindow)
{
    CWindow& desktop = DesktopLocked();
    while (pWindow->pParent && pWindow->pParent != &desktop)
        pWindow = pWindow->pParent;
    return pWindow;
}

void CollectDescendantsLocked(const CWindow& window, std::vector<HWND>& handles)
{
    for (CWindow* pChild : window.children) {
        handles.push_back(pChild->hWnd);
        CollectDescendantsLocked(*pChild, handles);
    }
}

// Calls the callback for each handle still valid at its turn; false when it stopped.
bool CallForEach(const std::vector<HWND>& handles, WNDENUMPROC lpEnumFunc, LPARAM lParam)
{
    for (HWND hWnd : handles) {
        if (IsWindow(hWnd) && !lpEnumFunc(hWnd, lParam))
            return false;
    }
    return true;
}

bool MatchesClassAndTextLocked(const CWindow& window, ATOM nClassAtom, LPCSTR lpszWindow)
{
    if (nClassAtom && window.pClass->nAtom != nClassAtom)
        return false;
    return !lpszWindow || window.strText == lpszWindow;
}

}

bool IsSelfOrDescendantLocked(const CWindow* pAncestor, const CWindow* pWindow)
{
    for (; pWindow; pWindow = pWindow->pParent) {
        if (pWindow == pAncestor)
            return true;
    }
    return false;
}

/***** Relations *****/

HWND GetParent(HWND hWnd)
{
    auto lock = LockWindows();
    CWindow* pWindow = FindWindowOrFailLocked(hWnd);
    if (!pWindow)
        return nullptr;
    if (pWindow->dwStyle & WS_CHILD)
        return HandleOf(pWindow->pParent);
    if (pWindow->dwStyle & WS_POPUP)
        return HandleOf(pWindow->pOwner);
    return nullptr;
}

HWND SetParent(HWND hWndChild, HWND hWndNewParent)
{
    auto lock = LockWindows();
    CWindow* pWindow = FindWindowOrFailLocked(hWndChild);
    CWindow* pNewParent = hWndNewParent ? FindWindowOrFailLocked(hWndNewParent) : &DesktopLocked();
    if (!pWindow || !pNewParent)
        return nullptr;
    if (pWindow == &DesktopLocked() || IsSelfOrDescendantLocked(pWindow, pNewParent)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    CWindow* pOldParent = pWindow->pParent;
    std::erase(pOldParent->children, pWindow);
    pWindow->pParent = pNewParent;
    auto& siblings = pNewParent->children;
    auto it = siblings.begin();
    if (pNewParent == &DesktopLocked() && !(pWindow->dwExStyle & WS_EX_TOPMOST))
        it = std::find_if(siblings.begin(), siblings.end(), [](CWindow* p) { return !(p->dwExStyle & WS_EX_TOPMOST); });
    siblings.insert(it, pWindow);
    return pOldParent->hWnd;
}

HWND GetWindow(HWND hWnd, UINT uCmd)
{
    auto lock = LockWindows();
    CWindow* pWindow = FindWindowOrFailLocked(hWnd);
    if (!pWindow)
        return nullptr;
    switch (uCmd) {
    case GW_HWNDFIRST:
    case GW_HWNDLAST:
    case GW_HWNDNEXT:
    case GW_HWNDPREV: {
        if (!pWindow->pParent)
            return nullptr;
        const auto& siblings = pWindow->pParent->children;
        if (uCmd == GW_HWNDFIRST)
            return siblings.front()->hWnd;
        if (uCmd == GW_HWNDLAST)
            return siblings.back()->hWnd;
        auto it = std::find(siblings.begin(), siblings.end(), pWindow);
        if (uCmd == GW_HWNDNEXT)
            return (it + 1 == siblings.end()) ? nullptr : (*(it + 1))->hWnd;
        return (it == siblings.begin()) ? nullptr : (*(it - 1))->hWnd;
    }
    case GW_OWNER:
        return HandleOf(pWindow->pOwner);
    case GW_CHILD:
        return pWindow->children.empty() ? nullptr : pWindow->children.front()->hWnd;
    case GW_ENABLEDPOPUP:
        for (CWindow* pTop : DesktopLocked().children) {
            if (pTop->pOwner == pWindow && (pTop->dwStyle & WS_POPUP) && (pTop->dwStyle & WS_VISIBLE)
                && !(pTop->dwStyle & WS_DISABLED))
                return pTop->hWnd;
        }
        return nullptr;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
}

HWND GetAncestor(HWND hWnd, UINT gaFlags)
{
    auto lock = LockWindows();
    CWindow* pWindow = FindWindowOrFailLocked(hWnd);
    if (!pWindow || pWindow == &DesktopLocked())
        return nullptr;
    switch (gaFlags) {
    case GA_PARENT:
        return HandleOf(pWindow->pParent);
    case GA_ROOT:
        return RootLocked(pWindow)->hWnd;
    case GA_ROOTOWNER: {
        CWindow* pRoot = RootLocked(pWindow);
        while (pRoot->pOwner)
            pRoot = pRoot->pOwner;
        return pRoot->hWnd;
    }
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
}

BOOL IsChild(HWND hWndParent, HWND hWnd)
{
    auto lock = LockWindows();
    CWindow* pParent = FindWindowLocked(hWndParent);
    CWindow* pWindow = FindWindowLocked(hWnd);
    if (!pParent || !pWindow)
        return FALSE;
    for (; pWindow && (pWindow->dwStyle & WS_CHILD); pWindow = pWindow->pParent) {
        if (pWindow->pParent == pParent)
            return TRUE;
    }
    return FALSE;
}

HWND GetTopWindow(HWND hWnd)
{
    return GetWindow(hWnd ? hWnd : GetDesktopWindow(), GW_CHILD);
}

HWND GetDlgItem(HWND hDlg, int nIDDlgItem)
{
    auto lock = LockWindows();
    CWindow* pWindow = FindWindowOrFailLocked(hDlg);
    if (!pWindow)
        return nullptr;
    for (CWindow* pChild : pWindow->children) {
        if (pChild->nId == static_cast<UINT_PTR>(static_cast<UINT>(nIDDlgItem)))
            return pChild->hWnd;
    }
    SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
    return nullptr;
}

int GetDlgCtrlID(HWND hWnd)
{
    auto lock = LockWindows();
    CWindow* pWindow = FindWindowOrFailLocked(hWnd);
    return pWindow ? static_cast<int>(pWindow->nId) : 0;
}

/***** Enumerating and finding *****/

BOOL EnumChildWindows(HWND hWndParent, WNDENUMPROC lpEnumFunc, LPARAM lParam)
{
    if (!hWndParent)
        return EnumWindows(lpEnumFunc, lParam);
    std::vector<HWND> handles;
    {
        auto lock = LockWindows();
        CWindow* pParent = FindWindowOrFailLocked(hWndParent);
        if (!pParent || !lpEnumFunc)
            return FALSE;
        CollectDescendantsLocked(*pParent, handles);
    }
    return CallForEach(handles, lpEnumFunc, lParam);
}

BOOL EnumWindows(WNDENUMPROC lpEnumFunc, LPARAM lParam)
{
    if (!lpEnumFunc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<HWND> handles;
    {
        auto lock = LockWindows();
        for (CWindow* pTop : DesktopLocked().children)
            handles.push_back(pTop->hWnd);
    }
    return CallForEach(handles, lpEnumFunc, lParam);
}

BOOL EnumThreadWindows(DWORD dwThreadId, WNDENUMPROC lpfn, LPARAM lParam)
{
    if (!lpfn) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<HWND> handles;
    {
        auto lock = LockWindows();
        for (CWindow* pTop : DesktopLocked().children) {
            if (pTop->dwThreadId == dwThreadId)
                handles.push_back(pTop->hWnd);
        }
    }
    return !handles.empty() && CallForEach(handles, lpfn, lParam);
}

HWND FindWindowEx(HWND hWndParent, HWND hWndChildAfter, LPCSTR lpszClass, LPCSTR lpszWindow)
{
    {
        auto lock = LockWindows();
        CWindow* pParent = hWndParent ? FindWindowOrFailLocked(hWndParent) : &DesktopLocked();
        if (!pParent)
            return nullptr;
        // A class name without an atom names no class here, so no window here either.
        ATOM nClassAtom = lpszClass ? AtomFromNameLocked(lpszClass, false) : 0;
        bool bClassKnown = !lpszClass || nClassAtom;
        const auto& children = pParent->children;
        auto it = bClassKnown ? children.begin() : children.end();
        if (hWndChildAfter && bClassKnown) {
            CWindow* pAfter = FindWindowLocked(hWndChildAfter);
            it = std::find(children.begin(), children.end(), pAfter);
            if (it == children.end()) {
                SetLastError(ERROR_INVALID_WINDOW_HANDLE);
                return nullptr;
            }
            ++it;
        }
        for (; it != children.end(); ++it) {
            if (MatchesClassAndTextLocked(**it, nClassAtom, lpszWindow))
                return (*it)->hWnd;
        }
        if (hWndParent)
            return nullptr;
    }
    CForeignWindowFinder* pFinder = g_pForeignFinder.load();
    return pFinder ? pFinder->FindTopLevelWindow(lpszClass, lpszWindow) : nullptr;
}

CForeignWindowFinder* SetForeignWindowFinder(CForeignWindowFinder* pFinder)
{
    return g_pForeignFinder.exchange(pFinder);
}
