#include "platform/window/Window.h"

#include "platform/base/Threads.h"
#include "platform/base/WinError.h"
#include "platform/window/InputInternal.h"
#include "platform/window/Menu.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Messages.h"
#include "platform/window/Monitors.h"
#include "platform/window/QueueInternal.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/WindowInternal.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

namespace {

// Handle values start high and step by 2, as real window handles do, and are
// never reused, so a stale handle can never name a newer window.
constexpr UINT_PTR FIRST_WINDOW_HANDLE = 0x10010;
constexpr UINT_PTR WINDOW_HANDLE_STEP = 2;

struct WindowTable {
    std::mutex mutex;
    std::unordered_map<UINT_PTR, std::shared_ptr<CWindow>> windows;
    UINT_PTR nNext { FIRST_WINDOW_HANDLE };
    std::shared_ptr<CWindow> pDesktop;
};

WindowTable& Table()
{
    static auto* pTable = new WindowTable; // never destroyed: threads may end after static destruction
    return *pTable;
}

HWND AddWindowLocked(std::shared_ptr<CWindow> pWindow)
{
    WindowTable& table = Table();
    UINT_PTR nHandle = table.nNext;
    table.nNext += WINDOW_HANDLE_STEP;
    pWindow->hWnd = reinterpret_cast<HWND>(nHandle);
    table.windows.emplace(nHandle, std::move(pWindow));
    return reinterpret_cast<HWND>(nHandle);
}

// Inserts a new window at the top of its siblings, below the topmost ones unless it is topmost itself.
void LinkOnTopLocked(CWindow& window, CWindow& parent)
{
    window.pParent = &parent;
    auto& siblings = parent.children;
    auto it = siblings.begin();
    if (&parent == &DesktopLocked() && !(window.dwExStyle & WS_EX_TOPMOST))
        it = std::find_if(siblings.begin(), siblings.end(), [](CWindow* p) { return !(p->dwExStyle & WS_EX_TOPMOST); });
    siblings.insert(it, &window);
}

// Takes the window out of the tree and the table, and with it any children it
// still has (normally they are gone already; these go without messages).
// Returns the sent messages that were waiting for them. Lock held.
std::vector<std::shared_ptr<CSentMessage>> FreeWindowLocked(CWindow& window)
{
    std::vector<std::shared_ptr<CSentMessage>> givenUp;
    while (!window.children.empty()) {
        for (auto& pSent : FreeWindowLocked(*window.children.front()))
            givenUp.push_back(std::move(pSent));
    }
    if (window.pParent)
        std::erase(window.pParent->children, &window);
    window.pParent = nullptr;
    for (auto& [nHandle, pOther] : Table().windows) {
        if (pOther->pOwner == &window)
            pOther->pOwner = nullptr;
    }
    if (window.pClass)
        --window.pClass->nWindows;
    ForgetInputWindowLocked(window.hWnd);
    ForgetPaintWindowLocked(window);
    if (window.pQueue)
        window.pQueue->ForgetWindow(window.hWnd, givenUp);
    Table().windows.erase(reinterpret_cast<UINT_PTR>(window.hWnd)); // may free `window`
    return givenUp;
}

void FreeWindow(HWND hWnd)
{
    std::vector<std::shared_ptr<CSentMessage>> givenUp;
    std::shared_ptr<CWindow> pKeep; // released after the lock
    {
        auto lock = LockWindows();
        CWindow* pWindow = FindWindowLocked(hWnd);
        if (!pWindow)
            return;
        pKeep = SharedWindowLocked(*pWindow);
        givenUp = FreeWindowLocked(*pWindow);
    }
    CompleteSentMessages(givenUp, 0);
}

// The handles of the windows a call will visit, taken under the lock so that
// callbacks and handlers can change the tree while the walk goes on.
std::vector<HWND> ChildHandles(HWND hWnd)
{
    auto lock = LockWindows();
    std::vector<HWND> handles;
    if (CWindow* pWindow = FindWindowLocked(hWnd)) {
        for (CWindow* pChild : pWindow->children)
            handles.push_back(pChild->hWnd);
    }
    return handles;
}

void SendDestroyDown(HWND hWnd)
{
    if (!IsWindow(hWnd))
        return;
    SendMessage(hWnd, WM_DESTROY, 0, 0);
    for (HWND hChild : ChildHandles(hWnd))
        SendDestroyDown(hChild);
}

void SendNcDestroyUp(HWND hWnd)
{
    for (HWND hChild : ChildHandles(hWnd))
        SendNcDestroyUp(hChild);
    if (!IsWindow(hWnd))
        return;
    SendMessage(hWnd, WM_NCDESTROY, 0, 0);
    // A window's menu bar goes with it.
    if (HMENU hMenuBar = GetMenu(hWnd))
        DestroyMenu(hMenuBar);
    FreeWindow(hWnd);
}

void MarkDestroyingLocked(CWindow& window)
{
    window.bDestroying = true;
    for (CWindow* pChild : window.children)
        MarkDestroyingLocked(*pChild);
}

}

/***** The lock and the handle table *****/

std::unique_lock<std::mutex> LockWindows()
{
    return std::unique_lock(Table().mutex);
}

CWindow* FindWindowLocked(HWND hWnd)
{
    WindowTable& table = Table();
    if (table.pDesktop && hWnd == table.pDesktop->hWnd)
        return table.pDesktop.get();
    auto it = table.windows.find(reinterpret_cast<UINT_PTR>(hWnd));
    return it == table.windows.end() ? nullptr : it->second.get();
}

CWindow* FindWindowOrFailLocked(HWND hWnd)
{
    CWindow* pWindow = FindWindowLocked(hWnd);
    if (!pWindow)
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return pWindow;
}

std::shared_ptr<CWindow> SharedWindowLocked(CWindow& window)
{
    WindowTable& table = Table();
    if (&window == table.pDesktop.get())
        return table.pDesktop;
    return table.windows.at(reinterpret_cast<UINT_PTR>(window.hWnd));
}

CWindow& DesktopLocked()
{
    WindowTable& table = Table();
    if (!table.pDesktop) {
        auto pClass = std::make_shared<CWindowClass>();
        pClass->strName = "#32769";
        pClass->pfnWndProc = DefWindowProc;
        auto pDesktop = std::make_shared<CWindow>();
        pDesktop->pClass = pClass;
        pDesktop->pfnWndProc = DefWindowProc;
        pDesktop->dwStyle = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
        pDesktop->rcWindow = { 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) };
        pDesktop->hWnd = reinterpret_cast<HWND>(table.nNext);
        table.nNext += WINDOW_HANDLE_STEP;
        table.pDesktop = std::move(pDesktop);
    }
    return *table.pDesktop;
}

void RemoveThreadWindowsLocked(DWORD dwThreadId, std::vector<std::shared_ptr<CSentMessage>>& givenUp)
{
    std::vector<HWND> handles;
    for (auto& [nHandle, pWindow] : Table().windows) {
        if (pWindow->dwThreadId == dwThreadId)
            handles.push_back(pWindow->hWnd);
    }
    for (HWND hWnd : handles) {
        if (CWindow* pWindow = FindWindowLocked(hWnd)) {
            for (auto& pSent : FreeWindowLocked(*pWindow))
                givenUp.push_back(std::move(pSent));
        }
    }
}

/***** Creating and destroying *****/

namespace {
thread_local WNDCREATEHOOK t_pfnCreateHook = nullptr;
}

WNDCREATEHOOK SetThreadCreateHook(WNDCREATEHOOK pfnHook)
{
    return std::exchange(t_pfnCreateHook, pfnHook);
}

HWND CreateWindowEx(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int x, int y, int nWidth,
    int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance, LPVOID lpParam)
{
    const std::shared_ptr<CMessageQueue>& pQueue = CurrentQueue();
    HWND hWnd = nullptr;
    CREATESTRUCT cs { lpParam, hInstance, hMenu, hWndParent, nHeight, nWidth, y, x, static_cast<LONG>(dwStyle),
        lpWindowName, lpClassName, dwExStyle };
    {
        auto lock = LockWindows();
        std::shared_ptr<CWindowClass> pClass = FindClassLocked(lpClassName, hInstance);
        if (!pClass) {
            SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
            return nullptr;
        }
        CWindow* pParent = &DesktopLocked();
        CWindow* pOwner = nullptr;
        if (hWndParent) {
            CWindow* pGiven = FindWindowLocked(hWndParent);
            if (!pGiven) {
                SetLastError(ERROR_INVALID_WINDOW_HANDLE);
                return nullptr;
            }
            if (dwStyle & WS_CHILD) {
                pParent = pGiven;
            } else if (pGiven != pParent) {
                pOwner = pGiven;
                while (pOwner->pParent != &DesktopLocked())
                    pOwner = pOwner->pParent;
            }
        } else if (dwStyle & WS_CHILD) {
            SetLastError(ERROR_TLW_WITH_WSCHILD);
            return nullptr;
        }
        bool bOverlapped = !(dwStyle & (WS_CHILD | WS_POPUP));
        int cxScreen = GetSystemMetrics(SM_CXSCREEN);
        int cyScreen = GetSystemMetrics(SM_CYSCREEN);
        if (cs.x == CW_USEDEFAULT)
            cs.x = cs.y = 0;
        if (cs.cx == CW_USEDEFAULT) {
            cs.cx = bOverlapped ? cxScreen * 3 / 4 : 0;
            cs.cy = bOverlapped ? cyScreen * 3 / 4 : 0;
        }

        auto pWindow = std::make_shared<CWindow>();
        pWindow->dwThreadId = GetCurrentThreadId();
        pWindow->pQueue = pQueue;
        pWindow->pClass = pClass;
        pWindow->pfnWndProc = pClass->pfnWndProc;
        // Shown, maximized or minimized by ShowWindow after WM_CREATE.
        pWindow->dwStyle = dwStyle & ~(WS_VISIBLE | WS_MAXIMIZE | WS_MINIMIZE);
        pWindow->dwExStyle = (dwStyle & WS_CHILD) ? dwExStyle & ~WS_EX_TOPMOST : dwExStyle;
        pWindow->rcWindow = { cs.x, cs.y, cs.x + std::max(cs.cx, 0), cs.y + std::max(cs.cy, 0) };
        pWindow->rcNormal = pWindow->rcWindow;
        pWindow->pOwner = pOwner;
        pWindow->hInstance = hInstance;
        pWindow->nId = (dwStyle & WS_CHILD) ? reinterpret_cast<UINT_PTR>(hMenu) : 0;
        pWindow->hMenuBar = (dwStyle & WS_CHILD) ? nullptr : hMenu;
        pWindow->extraBytes.resize(static_cast<size_t>(pClass->cbWndExtra));
        ++pClass->nWindows;
        LinkOnTopLocked(*pWindow, *pParent);
        hWnd = AddWindowLocked(std::move(pWindow));
    }

    if (t_pfnCreateHook)
        t_pfnCreateHook(hWnd, &cs);
    if (HasTrackingLimits(dwStyle)) {
        // The window's handler may limit its size before it is made.
        MINMAXINFO mmi = QueryMinMaxInfo(hWnd);
        cs.cx = std::clamp<int>(cs.cx, mmi.ptMinTrackSize.x, std::max(mmi.ptMinTrackSize.x, mmi.ptMaxTrackSize.x));
        cs.cy = std::clamp<int>(cs.cy, mmi.ptMinTrackSize.y, std::max(mmi.ptMinTrackSize.y, mmi.ptMaxTrackSize.y));
        auto lock = LockWindows();
        if (CWindow* pWindow = FindWindowLocked(hWnd)) {
            pWindow->rcWindow.right = pWindow->rcWindow.left + cs.cx;
            pWindow->rcWindow.bottom = pWindow->rcWindow.top + cs.cy;
            pWindow->rcNormal = pWindow->rcWindow;
        }
    }
    if (!SendMessage(hWnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
        if (IsWindow(hWnd)) {
            SendMessage(hWnd, WM_NCDESTROY, 0, 0);
            FreeWindow(hWnd);
        }
        return nullptr;
    }
    if (IsWindow(hWnd))
        AskNonClientArea(hWnd, RECT { cs.x, cs.y, cs.x + cs.cx, cs.y + cs.cy });
    if (!IsWindow(hWnd) || SendMessage(hWnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(hWnd);
        return nullptr;
    }
    RECT rcClient {};
    GetClientRect(hWnd, &rcClient);
    SendMessage(hWnd, WM_SIZE, SIZE_RESTORED, MAKELONG(rcClient.right, rcClient.bottom));
    POINT ptOrigin {};
    MapWindowPoints(hWnd, GetAncestor(hWnd, GA_PARENT), &ptOrigin, 1);
    SendMessage(hWnd, WM_MOVE, 0, MAKELONG(ptOrigin.x, ptOrigin.y));
    SendParentNotify(hWnd, WM_CREATE, POINT {});
    if (!IsWindow(hWnd))
        return nullptr;
    if (dwStyle & WS_VISIBLE) {
        int nCmdShow = (dwStyle & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED
            : (dwStyle & WS_MINIMIZE)          ? SW_SHOWMINIMIZED
                                               : SW_SHOW;
        ShowWindow(hWnd, nCmdShow);
    }
    return IsWindow(hWnd) ? hWnd : nullptr;
}

namespace {
// The windows of this thread whose destruction is being told to their parents.
thread_local std::vector<HWND> t_announcedDestroys;
}

BOOL DestroyWindow(HWND hWnd)
{
    std::vector<HWND> owned;
    {
        auto lock = LockWindows();
        CWindow* pWindow = FindWindowLocked(hWnd);
        if (!pWindow || pWindow == &DesktopLocked()) {
            SetLastError(pWindow ? ERROR_ACCESS_DENIED : ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
        if (pWindow->dwThreadId != GetCurrentThreadId()) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        if (pWindow->bDestroying)
            return TRUE;
        for (auto& [nHandle, pOther] : Table().windows) {
            if (pOther->pOwner == pWindow)
                owned.push_back(pOther->hWnd);
        }
    }
    // The parent hears of it before anything is destroyed. A handler that
    // destroys the window again meanwhile finds its destruction under way.
    if (std::find(t_announcedDestroys.begin(), t_announcedDestroys.end(), hWnd) != t_announcedDestroys.end())
        return TRUE;
    t_announcedDestroys.push_back(hWnd);
    SendParentNotify(hWnd, WM_DESTROY, POINT {});
    t_announcedDestroys.pop_back();
    // Hidden first, so that the focus and activation move on while every
    // window still works, and never to a window that is about to go.
    if (GetWindowLong(hWnd, GWL_STYLE) & WS_VISIBLE)
        SetWindowPos(
            hWnd, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PassOnFocusAndActivation(hWnd);
    for (HWND hOwned : owned)
        DestroyWindow(hOwned);
    {
        auto lock = LockWindows();
        CWindow* pWindow = FindWindowLocked(hWnd);
        if (!pWindow)
            return TRUE; // an owned window's or a focus handler destroyed it
        if (pWindow->bDestroying)
            return TRUE;
        MarkDestroyingLocked(*pWindow);
    }
    SendDestroyDown(hWnd);
    SendNcDestroyUp(hWnd);
    return TRUE;
}

BOOL IsWindow(HWND hWnd)
{
    auto lock = LockWindows();
    return FindWindowLocked(hWnd) != nullptr;
}

HWND GetDesktopWindow()
{
    auto lock = LockWindows();
    return DesktopLocked().hWnd;
}

DWORD GetWindowThreadProcessId(HWND hWnd, LPDWORD lpdwProcessId)
{
    auto lock = LockWindows();
    CWindow* pWindow = FindWindowOrFailLocked(hWnd);
    if (!pWindow)
        return 0;
    if (lpdwProcessId)
        *lpdwProcessId = GetCurrentProcessId();
    return pWindow->dwThreadId;
}

/***** Messages about a window *****/

void SendParentNotify(HWND hChild, UINT uEvent, POINT ptScreen)
{
    bool bButton = uEvent != WM_CREATE && uEvent != WM_DESTROY;
    WPARAM wParam = MAKEWPARAM(static_cast<WORD>(uEvent), bButton ? 0 : static_cast<WORD>(GetDlgCtrlID(hChild)));
    HWND hWnd = hChild;
    for (;;) {
        auto dwStyle = static_cast<DWORD>(GetWindowLong(hWnd, GWL_STYLE));
        auto dwExStyle = static_cast<DWORD>(GetWindowLong(hWnd, GWL_EXSTYLE));
        HWND hParent = (dwStyle & WS_CHILD) && !(dwExStyle & WS_EX_NOPARENTNOTIFY) ? GetParent(hWnd) : nullptr;
        if (!hParent)
            return;
        LPARAM lParam = reinterpret_cast<LPARAM>(hChild);
        if (bButton) {
            POINT pt = ptScreen;
            ScreenToClient(hParent, &pt);
            lParam = MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y));
        }
        SendMessage(hParent, WM_PARENTNOTIFY, wParam, lParam);
        hWnd = hParent;
    }
}

bool HasTrackingLimits(DWORD dwStyle)
{
    return !(dwStyle & (WS_CHILD | WS_POPUP)) || (dwStyle & WS_THICKFRAME);
}

MINMAXINFO QueryMinMaxInfo(HWND hWnd)
{
    MINMAXINFO mmi {};
    HWND hParent = GetAncestor(hWnd, GA_PARENT);
    if (hParent == GetDesktopWindow()) {
        // A top-level window fills the work area of its monitor, its frame outside.
        RECT rcWindow {};
        GetWindowRect(hWnd, &rcWindow);
        MONITORINFO info { sizeof(MONITORINFO), {}, {}, 0 };
        GetMonitorInfo(MonitorFromRect(&rcWindow, MONITOR_DEFAULTTONEAREST), &info);
        SIZE frame = OuterFrameOf(
            static_cast<DWORD>(GetWindowLong(hWnd, GWL_STYLE)), static_cast<DWORD>(GetWindowLong(hWnd, GWL_EXSTYLE)));
        mmi.ptMaxPosition = { info.rcWork.left - frame.cx, info.rcWork.top - frame.cy };
        mmi.ptMaxSize = { info.rcWork.right - info.rcWork.left + 2 * frame.cx,
            info.rcWork.bottom - info.rcWork.top + 2 * frame.cy };
    } else {
        RECT rcParent {};
        GetClientRect(hParent, &rcParent);
        mmi.ptMaxSize = { rcParent.right, rcParent.bottom };
    }
    mmi.ptMinTrackSize = { GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK) };
    const POINT ptSystemMax = { GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK) };
    mmi.ptMaxTrackSize = ptSystemMax;
    SendMessage(hWnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    if (hParent == GetDesktopWindow()) {
        // Kept for the desktop, whose window manager sizes the window too.
        auto lock = LockWindows();
        if (CWindow* pWindow = FindWindowLocked(hWnd)) {
            pWindow->szMinTrack = { mmi.ptMinTrackSize.x, mmi.ptMinTrackSize.y };
            bool bLimited = mmi.ptMaxTrackSize.x < ptSystemMax.x || mmi.ptMaxTrackSize.y < ptSystemMax.y;
            pWindow->szMaxTrack = bLimited ? SIZE { mmi.ptMaxTrackSize.x, mmi.ptMaxTrackSize.y } : SIZE {};
        }
    }
    return mmi;
}
