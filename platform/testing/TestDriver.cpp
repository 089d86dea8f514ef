#include "platform/testing/TestDriver.h"

#include "platform/base/WinError.h"
#include "platform/controls/ButtonControl.h"
#include "platform/framework/AfxMessages.h"
#include "platform/window/Input.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"

#include <optional>
#include <string>
#include <string_view>
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

BOOL InjectMouse(EMouseAction eAction, EMouseButton eButton, POINT pt)
{
    return InjectMouseEvent(CMouseInput { eAction, eButton, pt, 0 });
}

} // namespace

// The driver of each thread, for the modal dialog hook, which gets no context.
static thread_local CTestDriver* t_pDriver = nullptr;

CTestDriver::CTestDriver()
    : m_clock(START_UTC, START_TICKS)
    , m_pPreviousDriver(t_pDriver)
    , m_pfnPreviousHook(SetThreadModalDialogHook(&CTestDriver::AnswerModalDialog))
    , m_pfnPreviousMenuHook(SetThreadMenuTrackHook(&CTestDriver::AnswerMenu))
{
    t_pDriver = this;
}

CTestDriver::~CTestDriver()
{
    SetThreadMenuTrackHook(m_pfnPreviousMenuHook);
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
    return PumpUntilIdle();
}

/***** Mouse *****/

BOOL CTestDriver::Click(HWND hWnd, int x, int y)
{
    return MouseButton(hWnd, x, y, false, 1);
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
    BOOL bReceived = InjectMouse(EMouseAction::Move, EMouseButton::None, from);
    Pump();
    bReceived = InjectMouse(EMouseAction::ButtonDown, EMouseButton::Left, from) && bReceived;
    Pump();
    bReceived = InjectMouse(EMouseAction::Move, EMouseButton::None, to) && bReceived;
    Pump();
    bReceived = InjectMouse(EMouseAction::ButtonUp, EMouseButton::Left, to) && bReceived;
    Pump();
    return bReceived;
}

// Moves the cursor to the point first, as a real mouse does, so the window
// under it sees the cursor arrive before the press.
BOOL CTestDriver::MouseButton(HWND hWnd, int x, int y, bool bRight, int nClicks)
{
    POINT pt { x, y };
    if (!ClientToScreen(hWnd, &pt))
        return FALSE;
    EMouseButton eButton = bRight ? EMouseButton::Right : EMouseButton::Left;
    BOOL bReceived = InjectMouse(EMouseAction::Move, EMouseButton::None, pt);
    Pump();
    for (int nClick = 0; nClick < nClicks; ++nClick) {
        bReceived = InjectMouse(EMouseAction::ButtonDown, eButton, pt) && bReceived;
        Pump();
        bReceived = InjectMouse(EMouseAction::ButtonUp, eButton, pt) && bReceived;
        Pump();
    }
    return bReceived;
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
    static constexpr struct { UINT nFlag; UINT nKey; } MODIFIERS[] = {
        { CONTROL, VK_CONTROL },
        { ALT, VK_MENU },
        { SHIFT, VK_SHIFT },
    };
    BOOL bReceived = TRUE;
    for (const auto& modifier : MODIFIERS) {
        if (nModifiers & modifier.nFlag)
            bReceived = Key(modifier.nKey, true) && bReceived;
    }
    bReceived = Key(nVirtualKey, true) && bReceived;
    bReceived = Key(nVirtualKey, false) && bReceived;
    for (auto it = std::rbegin(MODIFIERS); it != std::rend(MODIFIERS); ++it) {
        if (nModifiers & it->nFlag)
            bReceived = Key(it->nKey, false) && bReceived;
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
    m_menuAnswers.push_back(nCommand);
}

void CTestDriver::DismissNextMenu()
{
    m_menuAnswers.push_back(0);
}

BOOL CTestDriver::AnswerMenu(HMENU, UINT* pnCommand)
{
    if (!t_pDriver || t_pDriver->m_menuAnswers.empty())
        return FALSE;
    *pnCommand = t_pDriver->m_menuAnswers.front();
    t_pDriver->m_menuAnswers.pop_front();
    return TRUE;
}
