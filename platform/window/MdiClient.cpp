#include "platform/window/MdiClient.h"

#include "platform/gdi/Rects.h"
#include "platform/gdi/SysColors.h"
#include "platform/window/Focus.h"
#include "platform/window/Menu.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Messages.h"
#include "platform/window/ScrollBars.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <vector>

namespace {

// What a client keeps besides its window. Each client belongs to one thread;
// the lock guards the map, not the states, which only the owner thread touches.
struct ClientState {
    HWND hWndActive { nullptr };
    HMENU hWindowMenu { nullptr };
    DWORD dwScrollStyles { 0 };         // WS_HSCROLL and WS_VSCROLL the client was made with
    bool bUpdatingScroll { false };     // showing a bar resizes the client, which asks again
    HMENU hMenuWithButtons { nullptr }; // the frame menu that holds the maximized child's buttons
};

std::mutex g_clientsLock;
std::map<HWND, ClientState> g_clients;

ClientState* StateOf(HWND hWndClient)
{
    std::lock_guard lock(g_clientsLock);
    auto it = g_clients.find(hWndClient);
    return it == g_clients.end() ? nullptr : &it->second;
}

bool IsMdiClient(HWND hWnd)
{
    return hWnd && StateOf(hWnd) != nullptr;
}

// The client's children in window order, the active one first.
std::vector<HWND> ChildrenOf(HWND hWndClient)
{
    std::vector<HWND> children;
    for (HWND hChild = GetWindow(hWndClient, GW_CHILD); hChild; hChild = GetWindow(hChild, GW_HWNDNEXT))
        children.push_back(hChild);
    return children;
}

/***** Scroll bars *****/

void UpdateScrollBars(HWND hWndClient)
{
    ClientState* pState = StateOf(hWndClient);
    if (!pState || !pState->dwScrollStyles || pState->bUpdatingScroll)
        return;
    pState->bUpdatingScroll = true;
    // The area the children cover, with the visible part; none while a child is maximized.
    RECT rcClient {};
    GetClientRect(hWndClient, &rcClient);
    RECT rcExtent = rcClient;
    bool bMaximized = false;
    for (HWND hChild : ChildrenOf(hWndClient)) {
        if (!IsWindowVisible(hChild) || IsIconic(hChild))
            continue;
        bMaximized = bMaximized || IsZoomed(hChild);
        RECT rcChild {};
        GetWindowRect(hChild, &rcChild);
        MapWindowPoints(nullptr, hWndClient, reinterpret_cast<LPPOINT>(&rcChild), 2);
        UnionRect(&rcExtent, &rcExtent, &rcChild);
    }
    for (int nBar : { SB_HORZ, SB_VERT }) {
        DWORD dwStyle = nBar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL;
        int nMin = nBar == SB_HORZ ? rcExtent.left : rcExtent.top;
        int nMax = nBar == SB_HORZ ? rcExtent.right : rcExtent.bottom;
        int nPage = nBar == SB_HORZ ? rcClient.right : rcClient.bottom;
        bool bShow = (pState->dwScrollStyles & dwStyle) && !bMaximized && (nMin < 0 || nMax > nPage);
        ShowScrollBar(hWndClient, nBar, bShow);
        if (!bShow)
            continue;
        // The visible part starts at 0: positions count from the children's extent.
        SCROLLINFO si { sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, nMin, nMax - 1, static_cast<UINT>(nPage), 0,
            0 };
        SetScrollInfo(hWndClient, nBar, &si, TRUE);
    }
    pState->bUpdatingScroll = false;
}

// Moves the children so that the visible part moves to the scroll bar's new place.
void Scroll(HWND hWndClient, int nBar, WORD nCode, int nTrack)
{
    SCROLLINFO si { sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0 };
    if (!GetScrollInfo(hWndClient, nBar, &si))
        return;
    int nPos = si.nPos;
    int nLine = GetSystemMetrics(SM_CYCAPTION);
    switch (nCode) {
    case SB_LINEUP:
        nPos -= nLine;
        break;
    case SB_LINEDOWN:
        nPos += nLine;
        break;
    case SB_PAGEUP:
        nPos -= static_cast<int>(si.nPage);
        break;
    case SB_PAGEDOWN:
        nPos += static_cast<int>(si.nPage);
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        nPos = nTrack;
        break;
    case SB_TOP:
        nPos = si.nMin;
        break;
    case SB_BOTTOM:
        nPos = si.nMax;
        break;
    default:
        return;
    }
    nPos = std::clamp(nPos, si.nMin, std::max(si.nMin, si.nMax - static_cast<int>(si.nPage) + 1));
    int nDelta = si.nPos - nPos;
    if (nDelta == 0)
        return;
    for (HWND hChild : ChildrenOf(hWndClient)) {
        RECT rc {};
        GetWindowRect(hChild, &rc);
        MapWindowPoints(nullptr, hWndClient, reinterpret_cast<LPPOINT>(&rc), 2);
        int dx = nBar == SB_HORZ ? nDelta : 0;
        int dy = nBar == SB_VERT ? nDelta : 0;
        SetWindowPos(hChild, nullptr, rc.left + dx, rc.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    UpdateScrollBars(hWndClient);
}

/***** The maximized child's buttons in the frame's menu bar *****/

// Their commands reach the frame as WM_COMMAND, which passes them to the active child as WM_SYSCOMMAND.
struct MaximizedButton {
    UINT nCommand;
    const char* pszText;
};
constexpr MaximizedButton MAXIMIZED_BUTTONS[]
    = { { SC_MINIMIZE, "_" }, { SC_RESTORE, "\u25A1" }, { SC_CLOSE, "\u00D7" } };

void RemoveMaximizedButtons(HMENU hMenu)
{
    if (!IsMenu(hMenu))
        return;
    for (const MaximizedButton& button : MAXIMIZED_BUTTONS)
        DeleteMenu(hMenu, button.nCommand, MF_BYCOMMAND);
}

// The frame's menu bar shows the buttons while the active child is maximized.
void UpdateMaximizedButtons(HWND hWndClient)
{
    ClientState* pState = StateOf(hWndClient);
    if (!pState)
        return;
    HWND hWndFrame = GetParent(hWndClient);
    HMENU hMenu = GetMenu(hWndFrame);
    bool bWanted = hMenu && pState->hWndActive && IsZoomed(pState->hWndActive);
    bool bChanged = false;
    if (pState->hMenuWithButtons && (pState->hMenuWithButtons != hMenu || !bWanted)) {
        RemoveMaximizedButtons(pState->hMenuWithButtons);
        pState->hMenuWithButtons = nullptr;
        bChanged = true;
    }
    if (bWanted && pState->hMenuWithButtons != hMenu) {
        UINT uFlags = MF_STRING | MF_RIGHTJUSTIFY;
        for (const MaximizedButton& button : MAXIMIZED_BUTTONS) {
            AppendMenu(hMenu, uFlags, button.nCommand, button.pszText);
            uFlags = MF_STRING;
        }
        pState->hMenuWithButtons = hMenu;
        bChanged = true;
    }
    if (bChanged)
        DrawMenuBar(hWndFrame);
}

/***** Activation *****/

void Activate(HWND hWndClient, HWND hWndNew)
{
    ClientState* pState = StateOf(hWndClient);
    if (!pState || hWndNew == pState->hWndActive || (hWndNew && GetParent(hWndNew) != hWndClient))
        return;
    HWND hWndOld = pState->hWndActive;
    bool bWasMaximized = hWndOld && IsZoomed(hWndOld);
    pState->hWndActive = hWndNew;
    if (hWndOld) {
        SendMessage(hWndOld, WM_NCACTIVATE, FALSE, 0);
        SendMessage(hWndOld, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hWndOld), reinterpret_cast<LPARAM>(hWndNew));
    }
    if (!hWndNew || StateOf(hWndClient)->hWndActive != hWndNew) {
        UpdateMaximizedButtons(hWndClient);
        return;
    }
    SetWindowPos(hWndNew, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (bWasMaximized) {
        // The new child takes the old one's maximized place.
        if (!IsZoomed(hWndNew))
            ShowWindow(hWndNew, SW_SHOWMAXIMIZED);
        if (IsWindow(hWndOld))
            ShowWindow(hWndOld, SW_SHOWNORMAL);
    }
    SendMessage(hWndNew, WM_NCACTIVATE, TRUE, 0);
    SendMessage(hWndNew, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hWndOld), reinterpret_cast<LPARAM>(hWndNew));
    UpdateMaximizedButtons(hWndClient);
    // The child takes the focus while its frame is the active window.
    HWND hWndFocus = GetFocus();
    if (GetActiveWindow() == GetAncestor(hWndClient, GA_ROOT) && hWndFocus != hWndNew && !IsChild(hWndNew, hWndFocus))
        SetFocus(hWndNew);
}

// The next child to activate after hWndChild, in window order; the previous one with bPrevious.
HWND NextChild(HWND hWndClient, HWND hWndChild, bool bPrevious)
{
    std::vector<HWND> children;
    for (HWND hChild : ChildrenOf(hWndClient)) {
        if (IsWindowVisible(hChild) || hChild == hWndChild)
            children.push_back(hChild);
    }
    if (children.size() < 2)
        return nullptr;
    auto it = std::find(children.begin(), children.end(), hWndChild);
    if (it == children.end())
        return children.front();
    if (bPrevious)
        return children.back() == hWndChild ? children[children.size() - 2] : children.back();
    return ++it == children.end() ? children.front() : *it;
}

// The active child is going: the next one takes over, or none, which the child hears.
void ChildDestroyed(HWND hWndClient, HWND hWndChild)
{
    ClientState* pState = StateOf(hWndClient);
    if (!pState || pState->hWndActive != hWndChild)
        return;
    HWND hWndNext = nullptr;
    for (HWND hChild : ChildrenOf(hWndClient)) {
        if (hChild != hWndChild && IsWindowVisible(hChild)) {
            hWndNext = hChild;
            break;
        }
    }
    if (hWndNext) {
        Activate(hWndClient, hWndNext);
        return;
    }
    pState->hWndActive = nullptr;
    SendMessage(hWndChild, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hWndChild), 0);
    UpdateMaximizedButtons(hWndClient);
}

/***** The client's procedure *****/

LRESULT CALLBACK MdiClientProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_NCCREATE: {
        auto* pcs = reinterpret_cast<LPCREATESTRUCT>(lParam);
        ClientState state;
        if (auto* pccs = static_cast<CLIENTCREATESTRUCT*>(pcs->lpCreateParams))
            state.hWindowMenu = pccs->hWindowMenu;
        state.dwScrollStyles = static_cast<DWORD>(pcs->style) & (WS_HSCROLL | WS_VSCROLL);
        {
            std::lock_guard lock(g_clientsLock);
            g_clients[hWnd] = state;
        }
        // The bars show only while they are needed.
        SetWindowLong(hWnd, GWL_STYLE, GetWindowLong(hWnd, GWL_STYLE) & ~static_cast<LONG>(WS_HSCROLL | WS_VSCROLL));
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    }
    case WM_DESTROY:
        // The frame's menus outlive the client: the buttons leave them.
        RemoveMaximizedButtons(StateOf(hWnd)->hMenuWithButtons);
        StateOf(hWnd)->hMenuWithButtons = nullptr;
        break;
    case WM_NCDESTROY: {
        std::lock_guard lock(g_clientsLock);
        g_clients.erase(hWnd);
        break;
    }
    case WM_MDICREATE: {
        auto* pmcs = reinterpret_cast<MDICREATESTRUCT*>(lParam);
        HWND hWndChild = CreateWindowEx(WS_EX_MDICHILD, pmcs->szClass, pmcs->szTitle, pmcs->style | WS_CHILD, pmcs->x,
            pmcs->y, pmcs->cx, pmcs->cy, hWnd, nullptr, nullptr, reinterpret_cast<LPVOID>(pmcs->lParam));
        if (hWndChild) {
            ShowWindow(hWndChild, SW_SHOW);
            Activate(hWnd, hWndChild);
        }
        return reinterpret_cast<LRESULT>(hWndChild);
    }
    case WM_MDIDESTROY:
        DestroyWindow(reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_MDIACTIVATE:
        Activate(hWnd, reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_MDIRESTORE:
        ShowWindow(reinterpret_cast<HWND>(wParam), SW_RESTORE);
        return 0;
    case WM_MDIMAXIMIZE:
        ShowWindow(reinterpret_cast<HWND>(wParam), SW_SHOWMAXIMIZED);
        return 0;
    case WM_MDINEXT: {
        ClientState* pState = StateOf(hWnd);
        HWND hWndFrom = wParam ? reinterpret_cast<HWND>(wParam) : pState->hWndActive;
        HWND hWndNext = NextChild(hWnd, hWndFrom, lParam != 0);
        if (hWndNext) {
            Activate(hWnd, hWndNext);
            if (!lParam && hWndFrom)
                SetWindowPos(hWndFrom, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        return 0;
    }
    case WM_MDIGETACTIVE: {
        HWND hWndActive = StateOf(hWnd)->hWndActive;
        if (lParam)
            *reinterpret_cast<BOOL*>(lParam) = hWndActive && IsZoomed(hWndActive);
        return reinterpret_cast<LRESULT>(hWndActive);
    }
    case WM_MDISETMENU: {
        HWND hWndFrame = GetParent(hWnd);
        HMENU hOld = GetMenu(hWndFrame);
        if (wParam)
            SetMenu(hWndFrame, reinterpret_cast<HMENU>(wParam));
        if (lParam)
            StateOf(hWnd)->hWindowMenu = reinterpret_cast<HMENU>(lParam);
        UpdateMaximizedButtons(hWnd);
        return reinterpret_cast<LRESULT>(hOld);
    }
    case WM_MDIREFRESHMENU:
        DrawMenuBar(GetParent(hWnd));
        return 0;
    case WM_PARENTNOTIFY:
        if (LOWORD(wParam) == WM_DESTROY && GetParent(reinterpret_cast<HWND>(lParam)) == hWnd)
            ChildDestroyed(hWnd, reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_SIZE:
        if (HWND hWndActive = StateOf(hWnd)->hWndActive; hWndActive && IsZoomed(hWndActive)) {
            // A maximized child follows the client's size.
            MINMAXINFO mmi {};
            SendMessage(hWndActive, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
            SetWindowPos(hWndActive, nullptr, mmi.ptMaxPosition.x, mmi.ptMaxPosition.y, mmi.ptMaxSize.x,
                mmi.ptMaxSize.y, SWP_NOZORDER | SWP_NOACTIVATE);
        }
        UpdateScrollBars(hWnd);
        return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
        Scroll(hWnd, uMsg == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
        return 0;
    default:
        break;
    }
    return DefWindowProc(hWnd, uMsg, wParam, lParam);
}

} // namespace

BOOL RegisterMdiClientClass()
{
    WNDCLASS wc {};
    if (GetClassInfo(nullptr, MDICLIENT_CLASS, &wc))
        return TRUE;
    wc.style = CS_GLOBALCLASS; // found from any module, as the system classes are
    wc.lpfnWndProc = MdiClientProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_APPWORKSPACE + 1));
    wc.lpszClassName = MDICLIENT_CLASS;
    return RegisterClass(&wc) != 0 || GetClassInfo(nullptr, MDICLIENT_CLASS, &wc);
}

LRESULT DefMDIChildProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    HWND hWndClient = GetParent(hWnd);
    if (!IsMdiClient(hWndClient))
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    switch (uMsg) {
    case WM_GETMINMAXINFO: {
        // Maximized, the client area fills the MDI client and the frame lies outside it.
        LRESULT lResult = DefWindowProc(hWnd, uMsg, wParam, lParam);
        auto* pmmi = reinterpret_cast<MINMAXINFO*>(lParam);
        RECT rcParent {};
        GetClientRect(hWndClient, &rcParent);
        RECT rcFrame = rcParent;
        AdjustWindowRectEx(&rcFrame, static_cast<DWORD>(GetWindowLong(hWnd, GWL_STYLE)), FALSE,
            static_cast<DWORD>(GetWindowLong(hWnd, GWL_EXSTYLE)));
        pmmi->ptMaxPosition = { rcFrame.left, rcFrame.top };
        pmmi->ptMaxSize = { rcFrame.right - rcFrame.left, rcFrame.bottom - rcFrame.top };
        pmmi->ptMaxTrackSize.x = std::max(pmmi->ptMaxTrackSize.x, pmmi->ptMaxSize.x);
        pmmi->ptMaxTrackSize.y = std::max(pmmi->ptMaxTrackSize.y, pmmi->ptMaxSize.y);
        return lResult;
    }
    case WM_MOUSEACTIVATE:
    case WM_CHILDACTIVATE:
        Activate(hWndClient, hWnd);
        return uMsg == WM_MOUSEACTIVATE ? DefWindowProc(hWnd, uMsg, wParam, lParam) : 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_MAXIMIZE) {
            SendMessage(hWndClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(hWnd), 0);
            return 0;
        }
        break;
    case WM_WINDOWPOSCHANGED: {
        LRESULT lResult = DefWindowProc(hWnd, uMsg, wParam, lParam);
        UpdateScrollBars(hWndClient);
        UpdateMaximizedButtons(hWndClient);
        return lResult;
    }
    default:
        break;
    }
    return DefWindowProc(hWnd, uMsg, wParam, lParam);
}

RECT MdiCascadeRect(HWND hWndClient)
{
    RECT rcClient {};
    GetClientRect(hWndClient, &rcClient);
    int nStep = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
    int cx = rcClient.right * 3 / 4;
    int cy = rcClient.bottom * 3 / 4;
    // Steps that would push the window past the client start again at the corner.
    int nSteps = std::max(
        1, std::min((rcClient.right - cx) / std::max(nStep, 1), (rcClient.bottom - cy) / std::max(nStep, 1)) + 1);
    int nIndex = static_cast<int>(ChildrenOf(hWndClient).size()) % nSteps;
    return { nIndex * nStep, nIndex * nStep, nIndex * nStep + cx, nIndex * nStep + cy };
}
