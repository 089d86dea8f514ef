#include "ui/CDataTipWnd.h"

#include "platform/base/Threads.h"
#include "platform/framework/CDC.h"
#include "platform/framework/CResourceException.h"
#include "platform/framework/CWinThread.h"
#include "platform/framework/MessageMap.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Rects.h"
#include "platform/gdi/SysColors.h"
#include "platform/window/Input.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/WindowClass.h"

IMPLEMENT_DYNAMIC(CDataTipWnd, CWnd)

// clang-format off
BEGIN_MESSAGE_MAP(CDataTipWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()
// clang-format on

namespace {

constexpr POINT DEFAULT_OFFSET { 0, 20 };
constexpr int PAD_X = 4;      // text from the window's sides
constexpr int PAD_Y = 2;      // text from the window's top and bottom
constexpr int SCREEN_GAP = 5; // kept from the screen's right and bottom edges
constexpr UINT MEASURE_FLAGS = DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;

/* What all tips share. */
struct TipGlobals {
    HFONT hFont { nullptr };
    int nMaxWidth { CDataTipWnd::DEFAULT_MAX_WIDTH };
    bool bMeasured { false };
    RECT rcItem {}; // the item of the pending or shown tip, screen coordinates
    CDataTipWnd* pShown { nullptr };
    HHOOK hKeyboardHook { nullptr };
    HHOOK hMouseHook { nullptr };
    WORD nInstances { 0 };
};

TipGlobals& Globals()
{
    static TipGlobals s_globals;
    return s_globals;
}

void HideShownTip()
{
    if (CDataTipWnd* pShown = Globals().pShown)
        pShown->Hide();
}

LRESULT CALLBACK KeyboardHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode >= 0)
        HideShownTip();
    return CallNextHookEx(Globals().hKeyboardHook, nCode, wParam, lParam);
}

LRESULT CALLBACK MouseHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode >= 0) {
        const auto* pInfo = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
        if (wParam != WM_MOUSEMOVE || !PtInRect(&Globals().rcItem, pInfo->pt))
            HideShownTip();
    }
    return CallNextHookEx(Globals().hMouseHook, nCode, wParam, lParam);
}

} // namespace

CDataTipWnd::CDataTipWnd()
    : m_offset(DEFAULT_OFFSET)
{
    InitGlobals();
    ++Globals().nInstances;
}

CDataTipWnd::~CDataTipWnd()
{
    TipGlobals& globals = Globals();
    if (globals.pShown == this)
        globals.pShown = nullptr;
    if (GetSafeHwnd())
        DestroyWindow();
    if (--globals.nInstances == 0) {
        if (globals.hKeyboardHook)
            UnhookWindowsHookEx(globals.hKeyboardHook);
        if (globals.hMouseHook)
            UnhookWindowsHookEx(globals.hMouseHook);
        globals.hKeyboardHook = nullptr;
        globals.hMouseHook = nullptr;
    }
}

void CDataTipWnd::InitGlobals()
{
    TipGlobals& globals = Globals();
    if (!globals.bMeasured) {
        globals.bMeasured = true;
        globals.hFont = static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
        if (const int cxMaximized = GetSystemMetrics(SM_CXMAXIMIZED))
            globals.nMaxWidth = cxMaximized / 4;
    }
    RegisterClass();
    if (!globals.hKeyboardHook)
        globals.hKeyboardHook = SetWindowsHookEx(WH_KEYBOARD, KeyboardHook, nullptr, GetCurrentThreadId());
    if (!globals.hMouseHook)
        globals.hMouseHook = SetWindowsHookEx(WH_MOUSE, MouseHook, nullptr, GetCurrentThreadId());
}

void CDataTipWnd::RegisterClass()
{
    HINSTANCE hInstance = AfxGetInstanceHandle();
    WNDCLASS wc {};
    if (GetClassInfo(hInstance, CLASS_NAME, &wc))
        return;
    wc.style = CS_SAVEBITS | CS_DBLCLKS;
    wc.lpfnWndProc = ::DefWindowProc;
    wc.hInstance = hInstance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = CLASS_NAME;
    if (!::RegisterClass(&wc))
        AfxThrowResourceException();
}

CDataTipWnd* CDataTipWnd::GetShownTip()
{
    return Globals().pShown;
}

BOOL CDataTipWnd::Create(CWnd* pOwner)
{
    m_pOwner = pOwner;
    m_bCreated = CreateEx(
        WS_EX_TOOLWINDOW | WS_EX_TOPMOST, CLASS_NAME, "", WS_POPUP | WS_BORDER, 0, 0, 0, 0, nullptr, nullptr);
    return m_bCreated;
}

void CDataTipWnd::Show(int x, int y, const RECT& rcItem, LPCTSTR pszText)
{
    if (!m_bEnabled || !m_bCreated || IsWindowVisible() || !GetFocus() || !m_pOwner)
        return;
    RECT client {};
    m_pOwner->GetClientRect(&client);
    POINT pt { x, y };
    if (!PtInRect(&client, pt))
        return;
    m_pOwner->ClientToScreen(&pt);
    if (pt.x == m_lastPos.x && pt.y == m_lastPos.y)
        return;
    RECT item = rcItem;
    m_pOwner->ClientToScreen(&item);
    Globals().rcItem = item;
    m_strText = pszText ? pszText : "";
    m_lastPos = pt;
    m_nTimer = SetTimer(TIMER_SHOW, DELAY_MS, nullptr);
}

void CDataTipWnd::Hide()
{
    if (!m_bCreated)
        return;
    if (m_nTimer) {
        KillTimer(m_nTimer);
        m_nTimer = 0;
    }
    TipGlobals& globals = Globals();
    if (globals.pShown) {
        ShowWindow(SW_HIDE);
        globals.pShown = nullptr;
    }
}

void CDataTipWnd::SizeToText()
{
    TipGlobals& globals = Globals();
    RECT rect { 0, 0, globals.nMaxWidth, 0 };
    {
        CClientDC dc(this);
        HGDIOBJ hOld = SelectObject(dc.GetSafeHdc(), globals.hFont);
        DrawText(dc.GetSafeHdc(), m_strText, -1, &rect, MEASURE_FLAGS);
        SelectObject(dc.GetSafeHdc(), hOld);
    }
    OffsetRect(&rect, m_lastPos.x, m_lastPos.y);
    InflateRect(&rect, 2 * PAD_X, 2 * PAD_Y);
    OffsetRect(&rect, m_offset.x, m_offset.y);
    const int cxScreen = GetSystemMetrics(SM_CXMAXIMIZED);
    const int cyScreen = GetSystemMetrics(SM_CYMAXIMIZED);
    if (rect.right > cxScreen)
        OffsetRect(&rect, cxScreen - rect.right - SCREEN_GAP, 0);
    if (rect.bottom > cyScreen)
        OffsetRect(&rect, 0, cyScreen - rect.bottom - SCREEN_GAP);
    SetWindowPos(&CWnd::wndTop, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
        SWP_SHOWWINDOW | SWP_NOACTIVATE);
    globals.pShown = this;
}

void CDataTipWnd::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != TIMER_SHOW) {
        CWnd::OnTimer(nIDEvent);
        return;
    }
    KillTimer(m_nTimer);
    m_nTimer = 0;
    POINT cursor {};
    GetCursorPos(&cursor);
    if (GetFocus() && cursor.x == m_lastPos.x && cursor.y == m_lastPos.y)
        SizeToText();
}

void CDataTipWnd::OnPaint()
{
    CPaintDC dc(this);
    RECT client {};
    GetClientRect(&client);
    dc.FillSolidRect(&client, GetSysColor(COLOR_INFOBK));
    HGDIOBJ hOld = SelectObject(dc.GetSafeHdc(), Globals().hFont);
    dc.SetTextColor(GetSysColor(COLOR_INFOTEXT));
    dc.SetBkMode(TRANSPARENT);
    InflateRect(&client, -PAD_X, -PAD_Y);
    DrawText(dc.GetSafeHdc(), m_strText, -1, &client, DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    SelectObject(dc.GetSafeHdc(), hOld);
}

void CDataTipWnd::OnDestroy()
{
    if (m_nTimer) {
        KillTimer(m_nTimer);
        m_nTimer = 0;
    }
    if (Globals().pShown == this)
        Globals().pShown = nullptr;
    m_bCreated = FALSE;
    CWnd::OnDestroy();
}
