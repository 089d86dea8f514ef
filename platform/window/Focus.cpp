#include "platform/window/Focus.h"

#include "platform/base/WinError.h"
#include "platform/window/InputInternal.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Messages.h"
#include "platform/window/Window.h"
#include "platform/window/WindowInternal.h"

#include <vector>

namespace {

// The top-level windows of the program, for WM_ACTIVATEAPP.
std::vector<HWND> TopLevelWindows()
{
    auto lock = LockWindows();
    std::vector<HWND> windows;
    for (CWindow* pTop : DesktopLocked().children)
        windows.push_back(pTop->hWnd);
    return windows;
}

void SendActivateApp(bool bActive)
{
    for (HWND hTop : TopLevelWindows())
        SendMessage(hTop, WM_ACTIVATEAPP, bActive, 0);
}

WPARAM ActivateParam(HWND hWnd, WORD nKind)
{
    return MAKELONG(nKind, IsIconic(hWnd) ? 1 : 0);
}

HWND Activate(HWND hWnd, WORD nKind)
{
    HWND hTop = nullptr;
    HWND hOld = nullptr;
    bool bAppWasActive = false;
    {
        auto lock = LockWindows();
        CInputState& state = InputStateLocked();
        hOld = state.hActive;
        if (hWnd) {
            CWindow* pWindow = FindWindowOrFailLocked(hWnd);
            if (!pWindow)
                return nullptr;
            while (pWindow->pParent && pWindow->pParent != &DesktopLocked())
                pWindow = pWindow->pParent;
            hTop = pWindow->hWnd;
        }
        if (hTop == hOld)
            return hOld;
        state.hActive = hTop;
        bAppWasActive = state.bAppActive;
        state.bAppActive = hTop != nullptr;
    }
    if (hOld && IsWindow(hOld)) {
        SendMessage(hOld, WM_NCACTIVATE, FALSE, 0);
        SendMessage(hOld, WM_ACTIVATE, ActivateParam(hOld, WA_INACTIVE), reinterpret_cast<LPARAM>(hTop));
    }
    if (!hTop) {
        if (bAppWasActive)
            SendActivateApp(false);
        SetFocus(nullptr);
        return hOld;
    }
    if (!bAppWasActive)
        SendActivateApp(true);
    SetWindowPos(hTop, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessage(hTop, WM_NCACTIVATE, TRUE, 0);
    SendMessage(hTop, WM_ACTIVATE, ActivateParam(hTop, nKind), reinterpret_cast<LPARAM>(hOld));
    return hOld;
}

bool IsOwnedByLocked(const CWindow& window, const CWindow& owner)
{
    for (const CWindow* p = window.pOwner; p; p = p->pOwner) {
        if (p == &owner)
            return true;
    }
    return false;
}

// Whether a shown top-level window can hold the input a modal window keeps
// from its owner: a window with a frame of its own, not a tool window, a tip,
// a menu or a list that drops down.
bool CanHoldModalInputLocked(const CWindow& window)
{
    return !window.bDestroying && (window.dwStyle & (WS_VISIBLE | WS_CHILD)) == WS_VISIBLE
        && !(window.dwExStyle & (WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE))
        && (!(window.dwStyle & WS_POPUP) || (window.dwStyle & WS_CAPTION) == WS_CAPTION);
}

// The enabled window at the end of the modal chain from `window` (itself when
// enabled), leaving out `pExcept`; nullptr when the chain ends in none.
CWindow* ModalHolderLocked(CWindow& window, const CWindow* pExcept)
{
    // Owner chains are short; the bound keeps a damaged one from holding the caller.
    constexpr int MAX_CHAIN = 16;
    CWindow* pHolder = &window;
    for (int nDepth = 0; pHolder && (pHolder->dwStyle & WS_DISABLED); ++nDepth) {
        CWindow* pModal = nullptr;
        for (CWindow* pTop : DesktopLocked().children) { // the topmost first
            if (pTop != pExcept && pTop->pOwner == pHolder && CanHoldModalInputLocked(*pTop)) {
                pModal = pTop;
                break;
            }
        }
        pHolder = nDepth < MAX_CHAIN ? pModal : nullptr;
    }
    return pHolder;
}

// The window that takes over the activation from `going` (see Focus.h), or nullptr.
HWND SuccessorLocked(const CWindow& going)
{
    if (CWindow* pOwner = going.pOwner; pOwner && !pOwner->bDestroying && IsVisibleLocked(*pOwner)) {
        // A disabled owner's input is another modal window's while one holds it
        // (a tip going from over a wizard that a question holds).
        CWindow* pHolder = ModalHolderLocked(*pOwner, &going);
        return (pHolder ? pHolder : pOwner)->hWnd;
    }
    for (CWindow* pTop : DesktopLocked().children) {
        bool bCandidate = pTop != &going && !pTop->bDestroying && pTop->dwThreadId == going.dwThreadId
            && (pTop->dwStyle & (WS_VISIBLE | WS_DISABLED)) == WS_VISIBLE
            && !(pTop->dwExStyle & (WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE)) && !IsOwnedByLocked(*pTop, going);
        if (bCandidate)
            return pTop->hWnd;
    }
    return nullptr;
}

}

void ActivateShownWindow(HWND hWnd)
{
    {
        auto lock = LockWindows();
        CWindow* pWindow = FindWindowLocked(hWnd);
        if (!pWindow || pWindow->pParent != &DesktopLocked() || (pWindow->dwExStyle & WS_EX_NOACTIVATE)
            || !(pWindow->dwStyle & WS_VISIBLE))
            return;
    }
    Activate(hWnd, WA_ACTIVE);
}

void PassOnFocusAndActivation(HWND hWnd)
{
    enum class EStep { FocusParent, ActivateSuccessor, DropFocus };
    EStep eStep = EStep::DropFocus;
    HWND hTarget = nullptr;
    {
        auto lock = LockWindows();
        CWindow* pWindow = FindWindowLocked(hWnd);
        if (!pWindow || !pWindow->pParent)
            return;
        const CInputState& state = InputStateLocked();
        CWindow* pFocus = state.hFocus ? FindWindowLocked(state.hFocus) : nullptr;
        bool bHoldsFocus = pFocus && IsSelfOrDescendantLocked(pWindow, pFocus);
        if (pWindow->pParent != &DesktopLocked()) {
            if (!bHoldsFocus)
                return;
            eStep = EStep::FocusParent;
            hTarget = pWindow->pParent->hWnd;
        } else if (state.hActive == hWnd) {
            eStep = EStep::ActivateSuccessor;
            hTarget = SuccessorLocked(*pWindow);
        } else if (!bHoldsFocus) {
            return;
        }
    }
    switch (eStep) {
    case EStep::FocusParent:
        SetFocus(hTarget);
        break;
    case EStep::ActivateSuccessor:
        Activate(hTarget, WA_ACTIVE);
        break;
    case EStep::DropFocus:
        SetFocus(nullptr);
        break;
    }
}

HWND SetFocus(HWND hWnd)
{
    if (hWnd) {
        HWND hTop = GetAncestor(hWnd, GA_ROOT);
        if (!hTop)
            return nullptr; // not a window; the error is set
        if (hTop != GetActiveWindow()) {
            Activate(hTop, WA_ACTIVE);
            if (!IsWindow(hWnd))
                return nullptr;
        }
    }
    HWND hOld = GetFocus();
    if (hOld == hWnd)
        return hOld;
    if (hOld)
        SendMessage(hOld, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWnd), 0);
    {
        auto lock = LockWindows();
        if (hWnd && !FindWindowLocked(hWnd))
            return nullptr; // destroyed by the old window's handler
        InputStateLocked().hFocus = hWnd;
    }
    if (hWnd)
        SendMessage(hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(hOld), 0);
    return hOld;
}

HWND GetFocus()
{
    auto lock = LockWindows();
    return InputStateLocked().hFocus;
}

HWND SetActiveWindow(HWND hWnd)
{
    return Activate(hWnd, WA_ACTIVE);
}

HWND GetActiveWindow()
{
    auto lock = LockWindows();
    return InputStateLocked().hActive;
}

BOOL SetForegroundWindow(HWND hWnd)
{
    if (!IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    Activate(hWnd, WA_ACTIVE);
    return TRUE;
}

HWND GetForegroundWindow()
{
    return GetActiveWindow();
}

void ActivateWindowByClick(HWND hTop)
{
    Activate(hTop, WA_CLICKACTIVE);
}

HWND GetModalHolder(HWND hWnd)
{
    auto lock = LockWindows();
    CWindow* pWindow = FindWindowLocked(hWnd);
    // A tool window (a floating bar, a tip) goes with its owner while a modal window holds that.
    if (pWindow && (pWindow->dwExStyle & WS_EX_TOOLWINDOW) && pWindow->pOwner
        && (pWindow->pOwner->dwStyle & WS_DISABLED))
        pWindow = pWindow->pOwner;
    CWindow* pHolder = pWindow ? ModalHolderLocked(*pWindow, nullptr) : nullptr;
    return pHolder ? pHolder->hWnd : nullptr;
}
