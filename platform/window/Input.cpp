#include "platform/window/Input.h"

#include "platform/base/Clock.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/Threads.h"
#include "platform/base/Wait.h"
#include "platform/base/WinError.h"
#include "platform/display/Display.h"
#include "platform/gdi/Icons.h"
#include "platform/gdi/Rects.h"
#include "platform/window/Focus.h"
#include "platform/window/InputInternal.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Messages.h"
#include "platform/window/QueueInternal.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/Window.h"
#include "platform/window/WindowInternal.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {

constexpr DWORD DEFAULT_HOVER_TIME = 400;
constexpr DWORD ERROR_INVALID_HOOK_FILTER = 1426;
constexpr DWORD ERROR_INVALID_HOOK_HANDLE = 1404;

LPARAM PointParam(POINT pt)
{
    return MAKELONG(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y));
}

// The MK_* flags of the injected key state.
WPARAM MouseKeyFlagsLocked()
{
    const auto& keys = InputStateLocked().asyncKeys;
    WPARAM nFlags = 0;
    nFlags |= (keys[VK_LBUTTON] & 0x80) ? MK_LBUTTON : 0;
    nFlags |= (keys[VK_RBUTTON] & 0x80) ? MK_RBUTTON : 0;
    nFlags |= (keys[VK_MBUTTON] & 0x80) ? MK_MBUTTON : 0;
    nFlags |= (keys[VK_SHIFT] & 0x80) ? MK_SHIFT : 0;
    nFlags |= (keys[VK_CONTROL] & 0x80) ? MK_CONTROL : 0;
    return nFlags;
}

void SetKey(BYTE& key, bool bDown)
{
    if (bDown) {
        if (!(key & 0x80))
            key ^= 0x01;
        key |= 0x80;
    } else {
        key &= ~0x80;
    }
}

// Updates the injected key state.
void SetKeyLocked(UINT nKey, bool bDown)
{
    CInputState& state = InputStateLocked();
    SetKey(state.asyncKeys[nKey & 0xFF], bDown);
    if (bDown)
        state.pressedSinceAsk[nKey & 0xFF] = true;
}

// The generic key that a left or right key also sets (VK_SHIFT for VK_LSHIFT), or 0.
UINT GenericKey(UINT nKey)
{
    switch (nKey) {
    case VK_LSHIFT:
    case VK_RSHIFT:
        return VK_SHIFT;
    case VK_LCONTROL:
    case VK_RCONTROL:
        return VK_CONTROL;
    case VK_LMENU:
    case VK_RMENU:
        return VK_MENU;
    default:
        return 0;
    }
}

UINT ButtonKey(EMouseButton eButton)
{
    switch (eButton) {
    case EMouseButton::Left:
        return VK_LBUTTON;
    case EMouseButton::Right:
        return VK_RBUTTON;
    case EMouseButton::Middle:
        return VK_MBUTTON;
    default:
        return 0;
    }
}

// The client message of a button action: down, up or double click.
UINT ButtonMessage(EMouseButton eButton, EMouseAction eAction)
{
    UINT uBase = eButton == EMouseButton::Left ? WM_LBUTTONDOWN
        : eButton == EMouseButton::Right       ? WM_RBUTTONDOWN
                                               : WM_MBUTTONDOWN;
    return eAction == EMouseAction::ButtonDown ? uBase : uBase + 1;
}

// The non-client form of a client mouse message.
UINT NonClientMessage(UINT uMsg)
{
    return uMsg - WM_MOUSEMOVE + WM_NCMOUSEMOVE;
}

bool IsDoubleClickLocked(HWND hWnd, UINT uPress, POINT pt, ULONGLONG nNow)
{
    const CInputState& state = InputStateLocked();
    return state.uLastPress == uPress && state.hLastPress == hWnd
        && nNow - state.nLastPressTime <= DisplayLocked().DoubleClickTime()
        && std::abs(pt.x - state.ptLastPress.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2
        && std::abs(pt.y - state.ptLastPress.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
}

bool ClassHasDoubleClicks(HWND hWnd)
{
    auto lock = LockWindows();
    CWindow* pWindow = FindWindowLocked(hWnd);
    return pWindow && pWindow->pClass && (pWindow->pClass->style & CS_DBLCLKS);
}

// Ends leave and hover tracking that the cursor's move to `hUnder` ends.
void UpdateTrackingOnMove(HWND hUnder, POINT pt)
{
    HWND hLeft = nullptr;
    {
        auto lock = LockWindows();
        CInputState& state = InputStateLocked();
        if (state.hTrackLeave && state.hTrackLeave != hUnder) {
            hLeft = state.hTrackLeave;
            state.hTrackLeave = nullptr;
        }
        if (state.hTrackHover) {
            if (state.hTrackHover != hUnder)
                state.hTrackHover = nullptr;
            else if (std::abs(pt.x - state.ptHoverStart.x) > 2 || std::abs(pt.y - state.ptHoverStart.y) > 2) {
                state.ptHoverStart = pt;
                state.nHoverDue = ClockTicks() + state.dwHoverTime;
            }
        }
    }
    if (hLeft)
        PostMessage(hLeft, WM_MOUSELEAVE, 0, 0);
}

// The top-level windows other than hTop, which a search inside hTop passes over;
// none when the point lies outside hTop (a drag that left it).
std::vector<HWND> OtherTopLevels(HWND hTop, POINT pt)
{
    std::vector<HWND> others;
    auto lock = LockWindows();
    CWindow* pTop = FindWindowLocked(hTop);
    if (!pTop || !PtInRect(&pTop->rcWindow, pt))
        return others;
    for (CWindow* pOther : DesktopLocked().children) {
        if (pOther != pTop)
            others.push_back(pOther->hWnd);
    }
    return others;
}

// Whether the window and every window it lies in are enabled.
bool IsEnabledWithParents(HWND hWnd)
{
    for (; hWnd; hWnd = (GetWindowLong(hWnd, GWL_STYLE) & WS_CHILD) ? GetParent(hWnd) : nullptr) {
        if (!IsWindowEnabled(hWnd))
            return false;
    }
    return true;
}

// The window under a screen point and the hit-test answer, inside hTop when
// the display names the top-level window it routed the event to. A window
// that answers HTTRANSPARENT is passed over: the windows below it (its
// siblings lower in the z-order, then its parent) are asked in turn.
HWND HitTest(POINT pt, HWND hTop, LRESULT* pnHit)
{
    std::vector<HWND> transparent = hTop ? OtherTopLevels(hTop, pt) : std::vector<HWND> {};
    while (HWND hWnd = WindowFromPointSkipping(pt, transparent)) {
        *pnHit = SendMessage(hWnd, WM_NCHITTEST, 0, PointParam(pt));
        if (*pnHit != HTTRANSPARENT)
            return hWnd;
        transparent.push_back(hWnd);
    }
    *pnHit = HTNOWHERE;
    return nullptr;
}

}

/***** Shared state *****/

CInputState& InputStateLocked()
{
    static auto* pState = new CInputState;
    return *pState;
}

void ForgetInputWindowLocked(HWND hWnd)
{
    CInputState& state = InputStateLocked();
    for (HWND* phWnd : { &state.hFocus, &state.hActive, &state.hCapture, &state.hLastPress, &state.hTrackLeave,
             &state.hTrackHover, &state.hCursorTop }) {
        if (*phWnd == hWnd)
            *phWnd = nullptr;
    }
}

/***** Injecting input *****/

BOOL InjectMouseEvent(const CMouseInput& input)
{
    // The point stays on the screen, all monitors of it.
    int xScreen = GetSystemMetrics(SM_XVIRTUALSCREEN);
    int yScreen = GetSystemMetrics(SM_YVIRTUALSCREEN);
    POINT pt { std::clamp<LONG>(input.pt.x, xScreen, xScreen + GetSystemMetrics(SM_CXVIRTUALSCREEN) - 1),
        std::clamp<LONG>(input.pt.y, yScreen, yScreen + GetSystemMetrics(SM_CYVIRTUALSCREEN) - 1) };
    UINT nButtonKey = ButtonKey(input.eButton);
    bool bButton = input.eAction == EMouseAction::ButtonDown || input.eAction == EMouseAction::ButtonUp;
    if (bButton && !nButtonKey) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    HWND hCapture = nullptr;
    WPARAM nKeyFlags = 0;
    HWND hFocus = nullptr;
    {
        auto lock = LockWindows();
        CInputState& state = InputStateLocked();
        state.ptCursor = pt;
        if (bButton)
            SetKeyLocked(nButtonKey, input.eAction == EMouseAction::ButtonDown);
        hCapture = state.hCapture;
        nKeyFlags = MouseKeyFlagsLocked();
        hFocus = state.hFocus;
    }
    if (input.eAction == EMouseAction::Wheel) {
        if (!hFocus)
            return FALSE;
        WPARAM wParam = MAKELONG(static_cast<WORD>(nKeyFlags), static_cast<WORD>(input.nWheel));
        return PostMessage(hFocus, WM_MOUSEWHEEL, wParam, PointParam(pt));
    }

    UINT uMsg = bButton ? ButtonMessage(input.eButton, input.eAction) : WM_MOUSEMOVE;
    LRESULT nHit = HTCLIENT;
    HWND hTarget = hCapture ? hCapture : HitTest(pt, input.hTopLevel, &nHit);
    {
        // The cursor set for this event shows on the top-level window it went to.
        auto lock = LockWindows();
        CWindow* pTarget = hTarget ? FindWindowLocked(hTarget) : nullptr;
        InputStateLocked().hCursorTop = pTarget ? TopLevelOfLocked(*pTarget).hWnd : nullptr;
    }
    if (input.eAction == EMouseAction::Move)
        UpdateTrackingOnMove(hTarget, pt);
    if (!hTarget || nHit == HTNOWHERE || nHit == HTERROR)
        return FALSE;
    if (!hCapture && !IsEnabledWithParents(hTarget))
        return FALSE; // a disabled window (the owner of a modal dialog) takes no input, nor do its children

    if (!hCapture) {
        if (input.eAction == EMouseAction::ButtonDown) {
            // Every press on a window that is not the active one asks it
            // first, a child of the active window too: the class library's
            // views become the frame's active view this way.
            HWND hTop = GetAncestor(hTarget, GA_ROOT);
            HWND hActive = GetActiveWindow();
            if (hTop && hTarget != hActive) {
                LRESULT nAnswer = SendMessage(hTarget, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(hTop),
                    MAKELONG(static_cast<WORD>(nHit), static_cast<WORD>(uMsg)));
                if ((nAnswer == MA_ACTIVATE || nAnswer == MA_ACTIVATEANDEAT) && hTop != hActive)
                    ActivateWindowByClick(hTop);
                if (nAnswer == MA_ACTIVATEANDEAT || nAnswer == MA_NOACTIVATEANDEAT)
                    return TRUE;
                if (!IsWindow(hTarget))
                    return TRUE;
            }
        }
        SendMessage(hTarget, WM_SETCURSOR, reinterpret_cast<WPARAM>(hTarget),
            MAKELONG(static_cast<WORD>(nHit), static_cast<WORD>(uMsg)));
    }

    bool bClient = nHit == HTCLIENT;
    if (input.eAction == EMouseAction::ButtonDown) {
        UINT uPress = bClient ? uMsg : NonClientMessage(uMsg);
        // The display's events carry their own time, so a double click is
        // measured between the presses, not between their arrival.
        ULONGLONG nNow = input.dwTime ? input.dwTime : ClockTicks();
        bool bDouble = false;
        {
            auto lock = LockWindows();
            bDouble = IsDoubleClickLocked(hTarget, uPress, pt, nNow);
        }
        bDouble = bDouble && (!bClient || ClassHasDoubleClicks(hTarget));
        auto lock = LockWindows();
        CInputState& state = InputStateLocked();
        if (bDouble) {
            uMsg += 2; // WM_xBUTTONDOWN to WM_xBUTTONDBLCLK
            state.uLastPress = 0;
        } else {
            state.uLastPress = uPress;
            state.hLastPress = hTarget;
            state.ptLastPress = pt;
            state.nLastPressTime = nNow;
        }
    }
    if (bClient && !hCapture && input.eAction == EMouseAction::ButtonDown) {
        SendParentNotify(hTarget, ButtonMessage(input.eButton, EMouseAction::ButtonDown), pt);
        if (!IsWindow(hTarget))
            return TRUE;
    }
    if (bClient) {
        POINT ptClient = pt;
        ScreenToClient(hTarget, &ptClient);
        return PostMessage(hTarget, uMsg, nKeyFlags, PointParam(ptClient));
    }
    return PostMessage(hTarget, NonClientMessage(uMsg), static_cast<WPARAM>(nHit), PointParam(pt));
}

namespace {

// Posts the key message of a key going down or up. A key from the display
// (`pText`: its text) is addressed when it is retrieved; the test driver's at once.
BOOL PostKey(UINT nVirtualKey, bool bDown, UINT nScanCode, const std::string* pText)
{
    if (nVirtualKey == 0 || nVirtualKey > 0xFE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto lock = LockWindows();
    CInputState& state = InputStateLocked();
    bool bWasDown = (state.asyncKeys[nVirtualKey] & 0x80) != 0;
    SetKeyLocked(nVirtualKey, bDown);
    if (UINT nGeneric = GenericKey(nVirtualKey))
        SetKeyLocked(nGeneric, bDown);
    bool bAlt = (state.asyncKeys[VK_MENU] & 0x80) != 0 || nVirtualKey == VK_MENU;
    bool bSystemKey = nVirtualKey == VK_F10 || (bAlt && !(state.asyncKeys[VK_CONTROL] & 0x80));
    bool bSystem = bSystemKey;
    HWND hTarget = state.hFocus;
    if (!hTarget) {
        hTarget = state.hActive;
        bSystem = true;
    }
    CWindow* pTarget = hTarget ? FindWindowLocked(hTarget) : nullptr;
    if (!pTarget || !pTarget->pQueue || pTarget->pQueue->m_bEnded)
        return FALSE;
    UINT uMsg = bSystem ? (bDown ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (bDown ? WM_KEYDOWN : WM_KEYUP);
    // Key flags: repeat count 1; bits 16-23 the scan code; bit 29 Alt down;
    // bit 30 the key was down before; bit 31 released.
    DWORD nFlags = 1 | ((nScanCode & 0xFF) << 16);
    if (bSystem && nVirtualKey != VK_F10)
        nFlags |= 1u << 29;
    if (bWasDown)
        nFlags |= 1u << 30;
    if (!bDown)
        nFlags |= 1u << 31;
    // Messages name the generic key (VK_SHIFT for either Shift key), as the program expects.
    UINT nMessageKey = GenericKey(nVirtualKey) ? GenericKey(nVirtualKey) : nVirtualKey;
    if (!pText) {
        lock.unlock();
        return PostMessage(hTarget, uMsg, nMessageKey, static_cast<LPARAM>(nFlags));
    }
    CPostedMessage posted;
    posted.msg = MSG { hTarget, uMsg, nMessageKey, static_cast<LPARAM>(nFlags), static_cast<DWORD>(ClockTicks()),
        state.ptCursor };
    posted.bSystemKey = bSystemKey;
    if (bDown)
        posted.text = *pText;
    std::shared_ptr<CMessageQueue> pQueue = pTarget->pQueue;
    pQueue->PostFocusKey(std::move(posted));
    std::shared_ptr<CThreadWaker> pWaker = pQueue->m_pWaker;
    bool bOtherThread = pQueue->m_dwThreadId != GetCurrentThreadId();
    lock.unlock();
    if (bOtherThread)
        pWaker->Wake();
    return TRUE;
}

}

BOOL InjectKeyEvent(UINT nVirtualKey, BOOL bDown)
{
    return PostKey(nVirtualKey, bDown != FALSE, 0, nullptr);
}

BOOL InjectDisplayKey(const CKeyInput& input)
{
    return PostKey(input.nVirtualKey, input.bDown, input.nScanCode, input.bHasText ? &input.strText : nullptr);
}

void SetKeyboardState(const CKeyboardState& keyboard)
{
    auto lock = LockWindows();
    CInputState& state = InputStateLocked();
    std::array<bool, 256> held {};
    for (UINT nKey : keyboard.heldKeys) {
        held[nKey & 0xFF] = true;
        if (UINT nGeneric = GenericKey(nKey))
            held[nGeneric] = true;
    }
    for (UINT nKey = 0; nKey < held.size(); ++nKey) {
        if (nKey == VK_LBUTTON || nKey == VK_RBUTTON || nKey == VK_MBUTTON)
            continue;
        for (BYTE* pKey : { &state.asyncKeys[nKey], &state.keys[nKey] })
            *pKey = static_cast<BYTE>((*pKey & 0x01) | (held[nKey] ? 0x80 : 0));
    }
    for (auto [nKey, bOn] : { std::pair { VK_CAPITAL, keyboard.bCapsLock }, std::pair { VK_NUMLOCK, keyboard.bNumLock },
             std::pair { VK_SCROLL, keyboard.bScrollLock } }) {
        for (BYTE* pKey : { &state.asyncKeys[nKey], &state.keys[nKey] })
            *pKey = static_cast<BYTE>((*pKey & ~0x01) | (bOn ? 0x01 : 0));
    }
}

void PostTextToFocus(const std::string& strText)
{
    HWND hFocus = GetFocus();
    if (!hFocus)
        return;
    for (char32_t ch : Utf32FromUtf8(strText))
        PostMessage(hFocus, WM_CHAR, ch, 1);
}

/***** Key state *****/

POINT CursorPosLocked()
{
    return InputStateLocked().ptCursor;
}

WPARAM CharacterOfKey(WPARAM nVirtualKey)
{
    bool bShift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    bool bCaps = (GetKeyState(VK_CAPITAL) & 1) != 0;
    bool bControl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    if (nVirtualKey >= 'A' && nVirtualKey <= 'Z') {
        if (bControl)
            return nVirtualKey - 'A' + 1; // Ctrl+A is 1
        return (bShift != bCaps) ? nVirtualKey : nVirtualKey - 'A' + 'a';
    }
    if (bControl)
        return 0;
    if (nVirtualKey >= '0' && nVirtualKey <= '9')
        return bShift ? static_cast<WPARAM>(")!@#$%^&*("[nVirtualKey - '0']) : nVirtualKey;
    if (nVirtualKey >= VK_NUMPAD0 && nVirtualKey <= VK_NUMPAD0 + 9)
        return nVirtualKey - VK_NUMPAD0 + '0';
    // clang-format off
    static constexpr struct { UINT nKey; char chPlain; char chShifted; } PUNCTUATION[] = {
        { VK_SPACE, ' ', ' ' },        { VK_RETURN, '\r', '\r' },     { VK_TAB, '\t', '\t' },
        { VK_BACK, '\b', '\b' },       { VK_ESCAPE, 0x1B, 0x1B },     { VK_OEM_1, ';', ':' },
        { VK_OEM_PLUS, '=', '+' },     { VK_OEM_COMMA, ',', '<' },    { VK_OEM_MINUS, '-', '_' },
        { VK_OEM_PERIOD, '.', '>' },   { VK_OEM_2, '/', '?' },        { VK_OEM_3, '`', '~' },
        { VK_OEM_4, '[', '{' },        { VK_OEM_5, '\\', '|' },       { VK_OEM_6, ']', '}' },
        { VK_OEM_7, '\'', '"' },       { VK_MULTIPLY, '*', '*' },     { VK_ADD, '+', '+' },
        { VK_SUBTRACT, '-', '-' },     { VK_DECIMAL, '.', '.' },      { VK_DIVIDE, '/', '/' },
    };
    // clang-format on
    for (const auto& key : PUNCTUATION) {
        if (key.nKey == nVirtualKey)
            return static_cast<WPARAM>(static_cast<unsigned char>(bShift ? key.chShifted : key.chPlain));
    }
    return 0;
}

SHORT GetKeyState(int nVirtKey)
{
    auto lock = LockWindows();
    BYTE key = InputStateLocked().keys[nVirtKey & 0xFF];
    return static_cast<SHORT>(((key & 0x80) ? 0x8000 : 0) | (key & 0x01));
}

SHORT GetAsyncKeyState(int vKey)
{
    auto lock = LockWindows();
    CInputState& state = InputStateLocked();
    bool bPressed = std::exchange(state.pressedSinceAsk[vKey & 0xFF], false);
    return static_cast<SHORT>(((state.asyncKeys[vKey & 0xFF] & 0x80) ? 0x8000 : 0) | (bPressed ? 1 : 0));
}

void NoteInputRetrievedLocked(const MSG& msg, const std::optional<std::string>& text)
{
    CInputState& state = InputStateLocked();
    auto& keys = state.keys;
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        // The display's text for this key, if it came with one.
        state.retrievedKeyText.reset();
        if (text)
            state.retrievedKeyText = CKeyText { msg.hwnd, msg.message, msg.wParam, msg.lParam, *text };
        SetKey(keys[msg.wParam & 0xFF], true);
        return;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP:
        SetKey(keys[msg.wParam & 0xFF], msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN);
        return;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        // The message's flags say which buttons were down when it happened.
        SetKey(keys[VK_LBUTTON], (msg.wParam & MK_LBUTTON) != 0);
        SetKey(keys[VK_RBUTTON], (msg.wParam & MK_RBUTTON) != 0);
        SetKey(keys[VK_MBUTTON], (msg.wParam & MK_MBUTTON) != 0);
        return;
    default:
        return;
    }
}

/***** Capture *****/

HWND SetCapture(HWND hWnd)
{
    HWND hOld = nullptr;
    {
        auto lock = LockWindows();
        if (!FindWindowOrFailLocked(hWnd))
            return nullptr;
        hOld = std::exchange(InputStateLocked().hCapture, hWnd);
    }
    if (hOld && hOld != hWnd)
        SendMessage(hOld, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hWnd));
    return hOld;
}

BOOL ReleaseCapture()
{
    HWND hOld = nullptr;
    {
        auto lock = LockWindows();
        hOld = std::exchange(InputStateLocked().hCapture, nullptr);
    }
    if (hOld)
        SendMessage(hOld, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture()
{
    auto lock = LockWindows();
    return InputStateLocked().hCapture;
}

/***** The cursor *****/

BOOL GetCursorPos(LPPOINT lpPoint)
{
    if (!lpPoint) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto lock = LockWindows();
    // The desktop's pointer, fresh even over another program's window; the
    // last injected position where the display does not know it.
    if (!DisplayLocked().PointerPosition(lpPoint))
        *lpPoint = InputStateLocked().ptCursor;
    return TRUE;
}

BOOL SetCursorPos(int X, int Y)
{
    InjectMouseEvent(CMouseInput { EMouseAction::Move, EMouseButton::None, POINT { X, Y }, 0 });
    return TRUE;
}

HCURSOR SetCursor(HCURSOR hCursor)
{
    auto lock = LockWindows();
    CInputState& state = InputStateLocked();
    if (state.hCursorTop)
        DisplayLocked().SetTopLevelCursor(state.hCursorTop, hCursor);
    return std::exchange(state.hCursor, hCursor);
}

HCURSOR GetCursor()
{
    auto lock = LockWindows();
    return InputStateLocked().hCursor;
}

HCURSOR LoadCursor(HINSTANCE hInstance, LPCSTR lpCursorName)
{
    // A standard cursor's handle is its number: the display knows its look.
    if (!hInstance) {
        static constexpr WORD STANDARD_CURSORS[]
            = { 32512, 32513, 32514, 32515, 32516, 32642, 32643, 32644, 32645, 32646, 32648, 32649, 32650, 32651 };
        auto nId = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(lpCursorName));
        if (!IS_INTRESOURCE(lpCursorName)
            || std::find(std::begin(STANDARD_CURSORS), std::end(STANDARD_CURSORS), nId) == std::end(STANDARD_CURSORS)) {
            SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
            return nullptr;
        }
        return reinterpret_cast<HCURSOR>(static_cast<ULONG_PTR>(nId));
    }
    // A module's cursor is its picture, made once and shared.
    return static_cast<HCURSOR>(LoadImage(hInstance, lpCursorName, IMAGE_CURSOR, 0, 0, LR_SHARED));
}

/***** Hooks *****/

namespace {

// How many hooks are set, on any thread; changed under the window lock. A
// thread sets only its own hooks, so when it reads 0 it has none, and every
// message it sends skips the lock.
std::atomic<size_t> g_nHooksSet { 0 };

// The hook procedures of a kind for the calling thread, newest first, with their handles.
std::vector<CHook> ThreadHooks(int idHook)
{
    if (g_nHooksSet.load(std::memory_order_relaxed) == 0)
        return {};
    auto lock = LockWindows();
    std::vector<CHook> chain;
    DWORD dwThread = GetCurrentThreadId();
    const auto& hooks = InputStateLocked().hooks;
    for (auto it = hooks.rbegin(); it != hooks.rend(); ++it) {
        if (it->idHook == idHook && it->dwThreadId == dwThread)
            chain.push_back(*it);
    }
    return chain;
}

// A walk along a hook chain. The walks running on a thread are stacked, so
// that CallNextHookEx knows which hook comes next whatever handle it is given
// (callers often pass NULL).
struct CHookWalk {
    std::vector<CHook> chain; // newest first, as it was when the walk began
    size_t nIndex { 0 };
};

thread_local std::vector<const CHookWalk*> t_hookWalks;

LRESULT CallHookAt(const CHookWalk& walk, int nCode, WPARAM wParam, LPARAM lParam)
{
    if (walk.nIndex >= walk.chain.size())
        return 0;
    struct CWalkScope {
        explicit CWalkScope(const CHookWalk& walk) { t_hookWalks.push_back(&walk); }
        ~CWalkScope() { t_hookWalks.pop_back(); }
    } scope(walk);
    return walk.chain[walk.nIndex].pfnProc(nCode, wParam, lParam);
}

LRESULT CallHookChain(int idHook, int nCode, WPARAM wParam, LPARAM lParam)
{
    CHookWalk walk { ThreadHooks(idHook), 0 };
    return CallHookAt(walk, nCode, wParam, lParam);
}

}

HHOOK SetWindowsHookEx(int idHook, HOOKPROC lpfn, HINSTANCE, DWORD dwThreadId)
{
    if (idHook != WH_KEYBOARD && idHook != WH_MOUSE && idHook != WH_GETMESSAGE && idHook != WH_CALLWNDPROC) {
        SetLastError(ERROR_INVALID_HOOK_FILTER);
        return nullptr;
    }
    if (!lpfn || (dwThreadId && dwThreadId != GetCurrentThreadId())) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    static ULONG_PTR s_nNextHook = 0x4000;
    auto lock = LockWindows();
    HHOOK hHook = reinterpret_cast<HHOOK>(++s_nNextHook);
    InputStateLocked().hooks.push_back(CHook { hHook, idHook, lpfn, GetCurrentThreadId() });
    g_nHooksSet.store(InputStateLocked().hooks.size(), std::memory_order_relaxed);
    return hHook;
}

BOOL UnhookWindowsHookEx(HHOOK hhk)
{
    auto lock = LockWindows();
    if (std::erase_if(InputStateLocked().hooks, [hhk](const CHook& hook) { return hook.hHook == hhk; }) == 0) {
        SetLastError(ERROR_INVALID_HOOK_HANDLE);
        return FALSE;
    }
    g_nHooksSet.store(InputStateLocked().hooks.size(), std::memory_order_relaxed);
    return TRUE;
}

LRESULT CallNextHookEx(HHOOK, int nCode, WPARAM wParam, LPARAM lParam)
{
    if (t_hookWalks.empty())
        return 0; // not called from a hook
    const CHookWalk& current = *t_hookWalks.back();
    CHookWalk next { current.chain, current.nIndex + 1 };
    return CallHookAt(next, nCode, wParam, lParam);
}

bool InputHooksDropMessage(const MSG& msg, UINT wRemoveMsg)
{
    int nCode = (wRemoveMsg & PM_REMOVE) ? HC_ACTION : HC_NOREMOVE;
    LRESULT nResult = 0;
    if (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP || msg.message == WM_SYSKEYDOWN
        || msg.message == WM_SYSKEYUP) {
        nResult = CallHookChain(WH_KEYBOARD, nCode, msg.wParam, msg.lParam);
    } else if ((msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST)
        || (msg.message >= WM_NCMOUSEMOVE && msg.message <= WM_NCMBUTTONDBLCLK)) {
        bool bNonClient = msg.message < WM_MOUSEFIRST;
        MOUSEHOOKSTRUCT mhs { msg.pt, msg.hwnd, static_cast<UINT>(bNonClient ? msg.wParam : HTCLIENT), 0 };
        nResult = CallHookChain(WH_MOUSE, nCode, msg.message, reinterpret_cast<LPARAM>(&mhs));
    }
    return nCode == HC_ACTION && nResult != 0;
}

void RunGetMessageHooks(MSG* pMsg, UINT wRemoveMsg)
{
    CallHookChain(WH_GETMESSAGE, HC_ACTION, wRemoveMsg & PM_REMOVE, reinterpret_cast<LPARAM>(pMsg));
}

bool RunCallWndProcHooks(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, bool bSentByThisThread)
{
    const CHookWalk walk { ThreadHooks(WH_CALLWNDPROC), 0 };
    if (walk.chain.empty())
        return false;
    CWPSTRUCT cwp { lParam, wParam, uMsg, hWnd };
    CallHookAt(walk, HC_ACTION, bSentByThisThread, reinterpret_cast<LPARAM>(&cwp));
    return true;
}

/***** Tracking and dragging *****/

bool IsButtonDown(UINT nButtonKey)
{
    auto lock = LockWindows();
    return (InputStateLocked().asyncKeys[nButtonKey] & 0x80) != 0;
}

BOOL TrackMouseEvent(LPTRACKMOUSEEVENT lpEventTrack)
{
    if (!lpEventTrack || lpEventTrack->cbSize != sizeof(TRACKMOUSEEVENT)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto lock = LockWindows();
    CInputState& state = InputStateLocked();
    DWORD dwFlags = lpEventTrack->dwFlags;
    if (dwFlags & TME_QUERY) {
        HWND hTracked = state.hTrackLeave ? state.hTrackLeave : state.hTrackHover;
        lpEventTrack->dwFlags = (state.hTrackLeave ? TME_LEAVE : 0) | (state.hTrackHover ? TME_HOVER : 0);
        lpEventTrack->hwndTrack = hTracked;
        lpEventTrack->dwHoverTime = state.dwHoverTime;
        return TRUE;
    }
    HWND hWnd = lpEventTrack->hwndTrack;
    if (!FindWindowOrFailLocked(hWnd))
        return FALSE;
    if (dwFlags & TME_CANCEL) {
        if ((dwFlags & TME_LEAVE) && state.hTrackLeave == hWnd)
            state.hTrackLeave = nullptr;
        if ((dwFlags & TME_HOVER) && state.hTrackHover == hWnd)
            state.hTrackHover = nullptr;
        return TRUE;
    }
    POINT ptCursor = state.ptCursor;
    lock.unlock();
    bool bUnder = WindowFromPoint(ptCursor) == hWnd;
    lock.lock();
    if (dwFlags & TME_LEAVE) {
        if (!bUnder) {
            lock.unlock();
            PostMessage(hWnd, WM_MOUSELEAVE, 0, 0); // the cursor is elsewhere already
            lock.lock();
        } else {
            state.hTrackLeave = hWnd;
        }
    }
    if ((dwFlags & TME_HOVER) && bUnder) {
        state.hTrackHover = hWnd;
        state.dwHoverTime = lpEventTrack->dwHoverTime == HOVER_DEFAULT ? DEFAULT_HOVER_TIME : lpEventTrack->dwHoverTime;
        state.ptHoverStart = state.ptCursor;
        state.nHoverDue = ClockTicks() + state.dwHoverTime;
    }
    return TRUE;
}

DWORD MillisecondsToHoverLocked(DWORD dwThreadId)
{
    const CInputState& state = InputStateLocked();
    CWindow* pWindow = state.hTrackHover ? FindWindowLocked(state.hTrackHover) : nullptr;
    if (!pWindow || pWindow->dwThreadId != dwThreadId)
        return INFINITE;
    ULONGLONG nNow = ClockTicks();
    return state.nHoverDue > nNow ? static_cast<DWORD>(state.nHoverDue - nNow) : 0;
}

bool PostDueHoverLocked(DWORD dwThreadId)
{
    CInputState& state = InputStateLocked();
    if (!state.hTrackHover || ClockTicks() < state.nHoverDue)
        return false;
    CWindow* pWindow = FindWindowLocked(state.hTrackHover);
    if (!pWindow || pWindow->dwThreadId != dwThreadId || !pWindow->pQueue)
        return false;
    POINT pt = state.ptCursor;
    POINT ptOrigin = ClientOriginLocked(*pWindow);
    MSG msg { state.hTrackHover, WM_MOUSEHOVER, MouseKeyFlagsLocked(),
        PointParam(POINT { pt.x - ptOrigin.x, pt.y - ptOrigin.y }), static_cast<DWORD>(ClockTicks()), pt };
    pWindow->pQueue->Post(msg);
    state.hTrackHover = nullptr;
    return true;
}

BOOL DragDetect(HWND hwnd, POINT pt)
{
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    RECT rcDrag { pt.x - GetSystemMetrics(SM_CXDRAG), pt.y - GetSystemMetrics(SM_CYDRAG),
        pt.x + GetSystemMetrics(SM_CXDRAG) + 1, pt.y + GetSystemMetrics(SM_CYDRAG) + 1 };
    HWND hOldCapture = SetCapture(hwnd);
    BOOL bDragged = FALSE;
    for (;;) {
        MSG msg {};
        if (!PeekMessage(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)
            && !PeekMessage(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
            if (!IsButtonDown(VK_LBUTTON) && !GetInputState())
                break;
            WaitMessage();
            continue;
        }
        if (msg.message == WM_LBUTTONUP || (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE))
            break;
        if (msg.message == WM_MOUSEMOVE
            && (msg.pt.x < rcDrag.left || msg.pt.x >= rcDrag.right || msg.pt.y < rcDrag.top
                || msg.pt.y >= rcDrag.bottom)) {
            bDragged = TRUE;
            break;
        }
    }
    if (hOldCapture)
        SetCapture(hOldCapture);
    else
        ReleaseCapture();
    return bDragged;
}

UINT GetDoubleClickTime()
{
    auto lock = LockWindows();
    return DisplayLocked().DoubleClickTime();
}
