#include "platform/testing/TestDriver.h"

#include "platform/base/Threads.h"
#include "platform/base/WinError.h"
#include "platform/controls/ButtonControl.h"
#include "platform/framework/AfxMessages.h"
#include "platform/framework/CWnd.h"
#include "platform/window/Input.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"

#include <algorithm>
#include <chrono>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

constexpr ULONGLONG START_UTC = 132223104000000000ULL; // 2020-01-01 00:00 UTC in FILETIME units
constexpr ULONGLONG START_TICKS = 100000;              // so that "0 ms ago" is never mistaken for a past event

// The key, and whether Shift goes with it, that types a character on the
// keyboard layout the window layer translates keys with.
struct KeyStroke {
    UINT nVirtualKey;
    bool bShift;
};

std::optional<KeyStroke> KeyStrokeOf(char ch)
{
    if (ch >= 'a' && ch <= 'z')
        return KeyStroke { static_cast<UINT>(ch - 'a' + 'A'), false };
    if (ch >= 'A' && ch <= 'Z')
        return KeyStroke { static_cast<UINT>(ch), true };
    if (ch >= '0' && ch <= '9')
        return KeyStroke { static_cast<UINT>(ch), false };
    std::string_view shiftedDigits = ")!@#$%^&*(";
    if (size_t nDigit = shiftedDigits.find(ch); nDigit != std::string_view::npos)
        return KeyStroke { static_cast<UINT>('0' + nDigit), true };
    // clang-format off
    static constexpr struct { char ch; UINT nKey; bool bShift; } OTHERS[] = {
        { ' ', VK_SPACE, false },      { '\r', VK_RETURN, false },    { '\n', VK_RETURN, false },
        { '\t', VK_TAB, false },       { ';', VK_OEM_1, false },      { ':', VK_OEM_1, true },
        { '=', VK_OEM_PLUS, false },   { '+', VK_OEM_PLUS, true },    { ',', VK_OEM_COMMA, false },
        { '<', VK_OEM_COMMA, true },   { '-', VK_OEM_MINUS, false },  { '_', VK_OEM_MINUS, true },
        { '.', VK_OEM_PERIOD, false }, { '>', VK_OEM_PERIOD, true },  { '/', VK_OEM_2, false },
        { '?', VK_OEM_2, true },       { '`', VK_OEM_3, false },      { '~', VK_OEM_3, true },
        { '[', VK_OEM_4, false },      { '{', VK_OEM_4, true },       { '\\', VK_OEM_5, false },
        { '|', VK_OEM_5, true },       { ']', VK_OEM_6, false },      { '}', VK_OEM_6, true },
        { '\'', VK_OEM_7, false },     { '"', VK_OEM_7, true },
    };
    // clang-format on
    for (const auto& other : OTHERS) {
        if (other.ch == ch)
            return KeyStroke { other.nKey, other.bShift };
    }
    return std::nullopt;
}

} // namespace

// The driver of each thread, for the hooks, which get no context.
static thread_local CTestDriver* t_pDriver = nullptr;

CTestDriver::CTestDriver()
    : m_clock(START_UTC, START_TICKS)
    , m_pPreviousDriver(t_pDriver)
    , m_pfnPreviousHook(SetThreadModalDialogHook(&CTestDriver::AnswerModalDialog))
    , m_pfnPreviousWaitHook(SetThreadWaitHook(&CTestDriver::FeedWaitingLoop))
    , m_pfnPreviousMenuHook(SetThreadMenuTrackHook(&CTestDriver::AnswerMenu))
{
    t_pDriver = this;
}

CTestDriver::~CTestDriver()
{
    SetTrayEnabled(TRUE);
    SetThreadMenuTrackHook(m_pfnPreviousMenuHook);
    SetThreadWaitHook(m_pfnPreviousWaitHook);
    SetThreadModalDialogHook(m_pfnPreviousHook);
    t_pDriver = m_pPreviousDriver;
}

/***** Time *****/

void CTestDriver::Advance(UINT nMilliseconds)
{
    Pump();
    for (UINT nStep = 0; nStep < nMilliseconds; ++nStep) {
        m_clock.Advance(1);
        Pump();
    }
}

int CTestDriver::Pump()
{
    int nDispatched = 0;
    MSG msg {};
    while (PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) {
        // Sent messages served by the first peek may have taken the peeked one away.
        if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
            break;
        if (!CallModalLoopFilter(&msg) && !PreTranslate(&msg)) {
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        }
        ++nDispatched;
    }
    return nDispatched;
}

BOOL CTestDriver::PumpUntil(const std::function<bool()>& condition, DWORD nMilliseconds)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(nMilliseconds);
    for (;;) {
        Pump();
        if (condition())
            return TRUE;
        const auto remaining = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (remaining <= 0)
            return FALSE;
        // Bounded slices: a condition may also change without a message.
        MsgWaitForMultipleObjectsEx(
            0, nullptr, static_cast<DWORD>(std::min<long long>(remaining, 20)), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

// What the program's loop does before dispatching: the class library's
// PreTranslateMessage chain up to the message's top-level window when that
// window has an object (a CDialog takes its keys there), else the dialog
// manager's keyboard interface for a dialog without one.
BOOL CTestDriver::PreTranslate(MSG* pMsg)
{
    HWND hTop = pMsg->hwnd ? GetAncestor(pMsg->hwnd, GA_ROOT) : nullptr;
    if (!hTop)
        return FALSE;
    if (CWnd::FromHandlePermanent(hTop))
        return CWnd::WalkPreTranslateTree(hTop, pMsg);
    char szClass[16] {};
    GetClassName(hTop, szClass, sizeof(szClass));
    return std::string_view(szClass) == WC_DIALOG && IsDialogMessage(hTop, pMsg);
}

/***** Mouse *****/

BOOL CTestDriver::Click(HWND hWnd, int x, int y, UINT nModifiers)
{
    BOOL bReceived = Modifiers(nModifiers, true);
    bReceived = MouseButton(hWnd, x, y, false, 1) && bReceived;
    return Modifiers(nModifiers, false) && bReceived;
}

BOOL CTestDriver::DoubleClick(HWND hWnd, int x, int y)
{
    return MouseButton(hWnd, x, y, false, 2);
}

BOOL CTestDriver::RightClick(HWND hWnd, int x, int y)
{
    return MouseButton(hWnd, x, y, true, 1);
}

BOOL CTestDriver::Drag(HWND hWnd, POINT from, POINT to)
{
    if (!ClientToScreen(hWnd, &from) || !ClientToScreen(hWnd, &to))
        return FALSE;
    return RunMouseGesture({ CMouseInput { EMouseAction::Move, EMouseButton::None, from, 0 },
        CMouseInput { EMouseAction::ButtonDown, EMouseButton::Left, from, 0 },
        CMouseInput { EMouseAction::Move, EMouseButton::None, to, 0 },
        CMouseInput { EMouseAction::ButtonUp, EMouseButton::Left, to, 0 } });
}

BOOL CTestDriver::Hover(HWND hWnd, int x, int y)
{
    POINT pt { x, y };
    if (!ClientToScreen(hWnd, &pt))
        return FALSE;
    return RunMouseGesture({ CMouseInput { EMouseAction::Move, EMouseButton::None, pt, 0 } });
}

BOOL CTestDriver::Press(HWND hWnd, int x, int y, EMouseButton eButton)
{
    POINT pt { x, y };
    if (!ClientToScreen(hWnd, &pt))
        return FALSE;
    return RunMouseGesture({ CMouseInput { EMouseAction::Move, EMouseButton::None, pt, 0 },
        CMouseInput { EMouseAction::ButtonDown, eButton, pt, 0 } });
}

BOOL CTestDriver::MoveTo(HWND hWnd, int x, int y)
{
    return Hover(hWnd, x, y);
}

BOOL CTestDriver::Release(HWND hWnd, int x, int y, EMouseButton eButton)
{
    POINT pt { x, y };
    if (!ClientToScreen(hWnd, &pt))
        return FALSE;
    return RunMouseGesture({ CMouseInput { EMouseAction::ButtonUp, eButton, pt, 0 } });
}

BOOL CTestDriver::PressAndMove(HWND hWnd, const std::vector<POINT>& points)
{
    std::deque<CMouseInput> events;
    for (POINT pt : points) {
        if (!ClientToScreen(hWnd, &pt))
            return FALSE;
        events.push_back(CMouseInput { EMouseAction::Move, EMouseButton::None, pt, 0 });
        if (events.size() == 1)
            events.push_back(CMouseInput { EMouseAction::ButtonDown, EMouseButton::Left, pt, 0 });
    }
    return RunMouseGesture(std::move(events));
}

HCURSOR CTestDriver::Cursor()
{
    return GetCursor();
}

// Moves the cursor to the point first, as a real mouse does, so the window
// under it sees the cursor arrive before the press.
BOOL CTestDriver::MouseButton(HWND hWnd, int x, int y, bool bRight, int nClicks)
{
    POINT pt { x, y };
    if (!ClientToScreen(hWnd, &pt))
        return FALSE;
    EMouseButton eButton = bRight ? EMouseButton::Right : EMouseButton::Left;
    std::deque<CMouseInput> events { CMouseInput { EMouseAction::Move, EMouseButton::None, pt, 0 } };
    for (int nClick = 0; nClick < nClicks; ++nClick) {
        events.push_back(CMouseInput { EMouseAction::ButtonDown, eButton, pt, 0 });
        events.push_back(CMouseInput { EMouseAction::ButtonUp, eButton, pt, 0 });
    }
    return RunMouseGesture(std::move(events));
}

BOOL CTestDriver::RunMouseGesture(std::deque<CMouseInput> events)
{
    // A step run inside a loop that a gesture started makes gestures of its
    // own: the outer one's state waits apart until they are done.
    std::deque<CMouseInput> outer = std::exchange(m_gesture, std::move(events));
    const BOOL bOuterReceived = std::exchange(m_bGestureReceived, TRUE);
    while (!m_gesture.empty()) {
        CMouseInput input = m_gesture.front();
        m_gesture.pop_front();
        m_bGestureReceived = InjectMouseEvent(input) && m_bGestureReceived;
        Pump();
    }
    const BOOL bReceived = m_bGestureReceived;
    m_gesture = std::move(outer);
    m_bGestureReceived = bOuterReceived;
    return bReceived;
}

void CTestDriver::FeedWaitingLoop()
{
    if (!t_pDriver)
        return;
    if (!t_pDriver->m_gesture.empty()) {
        CMouseInput input = t_pDriver->m_gesture.front();
        t_pDriver->m_gesture.pop_front();
        t_pDriver->m_bGestureReceived = InjectMouseEvent(input) && t_pDriver->m_bGestureReceived;
        return;
    }
    if (t_pDriver->m_loopSteps.empty())
        return;
    std::function<void()> step = std::move(t_pDriver->m_loopSteps.front());
    t_pDriver->m_loopSteps.pop_front();
    step();
    // The step pumped what it caused; the loop wakes to look at its state.
    PostThreadMessage(GetCurrentThreadId(), WM_NULL, 0, 0);
}

void CTestDriver::OnNextWait(std::function<void()> step)
{
    m_loopSteps.push_back(std::move(step));
}

/***** Keyboard *****/

BOOL CTestDriver::TypeText(LPCTSTR lpszText)
{
    if (!lpszText) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<KeyStroke> strokes;
    for (std::string_view text(lpszText); char ch : text) {
        std::optional<KeyStroke> stroke = KeyStrokeOf(ch);
        if (!stroke) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        strokes.push_back(*stroke);
    }
    BOOL bReceived = TRUE;
    for (const KeyStroke& stroke : strokes)
        bReceived = PressKey(stroke.nVirtualKey, stroke.bShift ? SHIFT : 0) && bReceived;
    return bReceived;
}

BOOL CTestDriver::PressKey(UINT nVirtualKey, UINT nModifiers)
{
    BOOL bReceived = Modifiers(nModifiers, true);
    bReceived = Key(nVirtualKey, true) && bReceived;
    bReceived = Key(nVirtualKey, false) && bReceived;
    return Modifiers(nModifiers, false) && bReceived;
}

// Modifiers go down in one order and come up in the other.
BOOL CTestDriver::Modifiers(UINT nModifiers, bool bDown)
{
    static constexpr struct {
        UINT nFlag;
        UINT nKey;
    } MODIFIERS[] = {
        { CONTROL, VK_CONTROL },
        { ALT, VK_MENU },
        { SHIFT, VK_SHIFT },
    };
    BOOL bReceived = TRUE;
    for (size_t i = 0; i < std::size(MODIFIERS); ++i) {
        const auto& modifier = MODIFIERS[bDown ? i : std::size(MODIFIERS) - 1 - i];
        if (nModifiers & modifier.nFlag)
            bReceived = Key(modifier.nKey, bDown) && bReceived;
    }
    return bReceived;
}

BOOL CTestDriver::Key(UINT nVirtualKey, bool bDown)
{
    BOOL bReceived = InjectKeyEvent(nVirtualKey, bDown ? TRUE : FALSE);
    Pump();
    return bReceived;
}

/***** Looking at windows *****/

CString CTestDriver::Text(HWND hWnd)
{
    std::string text(static_cast<size_t>(GetWindowTextLength(hWnd)) + 1, '\0');
    int nLength = GetWindowText(hWnd, text.data(), static_cast<int>(text.size()));
    return CString(text.data(), nLength);
}

BOOL CTestDriver::IsChecked(HWND hWnd)
{
    return SendMessage(hWnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

BOOL CTestDriver::IsEnabled(HWND hWnd)
{
    return IsWindowEnabled(hWnd);
}

BOOL CTestDriver::IsVisible(HWND hWnd)
{
    return IsWindowVisible(hWnd);
}

HWND CTestDriver::FindChild(HWND hParent, int nId)
{
    if (HWND hChild = GetDlgItem(hParent, nId))
        return hChild;
    for (HWND hChild = GetWindow(hParent, GW_CHILD); hChild; hChild = GetWindow(hChild, GW_HWNDNEXT)) {
        if (HWND hFound = FindChild(hChild, nId))
            return hFound;
    }
    return nullptr;
}

BOOL CTestDriver::Screenshot(HWND hWnd, LPCTSTR lpszPath)
{
    return SaveWindowScreenshot(hWnd, lpszPath);
}

/***** Modal dialogs *****/

void CTestDriver::AnswerNextMessageBox(int nResult)
{
    m_modalAnswers.push_back([nResult](HWND hDlg) { EndDialog(hDlg, nResult); });
}

void CTestDriver::OnNextDialog(std::function<void(HWND hDlg)> callback)
{
    m_modalAnswers.push_back(std::move(callback));
}

void CTestDriver::AnswerModalDialog(HWND hDlg)
{
    if (!t_pDriver || t_pDriver->m_modalAnswers.empty())
        return;
    std::function<void(HWND)> answer = std::move(t_pDriver->m_modalAnswers.front());
    t_pDriver->m_modalAnswers.pop_front();
    answer(hDlg);
}

void CTestDriver::AnswerNextDialog(CDialogScript script)
{
    m_modalAnswers.push_back([this, script = std::move(script)](HWND hDlg) {
        CString strError = script.Run(*this, hDlg);
        if (strError.IsEmpty())
            return;
        m_scriptErrors.push_back(strError);
        if (IsWindow(hDlg))
            EndDialog(hDlg, IDCANCEL);
    });
}

/***** Popup menus *****/

void CTestDriver::ChooseNextMenuCommand(UINT nCommand)
{
    m_menuAnswers.push_back([nCommand](HMENU) { return nCommand; });
}

void CTestDriver::DismissNextMenu()
{
    m_menuAnswers.push_back([](HMENU) { return 0U; });
}

void CTestDriver::OnNextMenu(std::function<UINT(HMENU hMenu)> callback)
{
    m_menuAnswers.push_back(std::move(callback));
}

BOOL CTestDriver::AnswerMenu(HMENU hMenu, UINT* pnCommand)
{
    if (!t_pDriver || t_pDriver->m_menuAnswers.empty())
        return FALSE;
    const std::function<UINT(HMENU)> answer = std::move(t_pDriver->m_menuAnswers.front());
    t_pDriver->m_menuAnswers.pop_front();
    *pnCommand = answer(hMenu);
    return TRUE;
}
