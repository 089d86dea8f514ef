// TrackPopupMenu: popup menus as windows of the menu class, and the modal
// loop that drives them.
//
// While a menu is tracked, the open menus form a stack of levels: the menu
// TrackPopupMenu was given, then each submenu opened from the selected item of
// the level below it. The loop takes every message of the thread: mouse
// messages are placed by their screen point (MSG.pt) on the topmost level
// under it, key messages work on the deepest level, and everything else is
// dispatched as usual (the menus paint themselves on WM_PAINT). The first
// level holds the mouse capture; losing it cancels the menu.

#include "platform/window/Menu.h"

#include "platform/base/WinError.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Rects.h"
#include "platform/gdi/SelectGuard.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"
#include "platform/window/Input.h"
#include "platform/window/MenuInternal.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Messages.h"
#include "platform/window/Monitors.h"
#include "platform/window/Paint.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"

#include <algorithm>
#include <cwctype>
#include <mutex>
#include <optional>
#include <utility>

namespace {

constexpr LPCSTR MENU_CLASS = "#32768"; // the documented class name of menu windows

// Layout of a menu window's client area, in pixels.
constexpr int MENU_MARGIN = 2;   // around the items
constexpr int ITEM_PAD_Y = 3;    // above and below an item's text
constexpr int CHECK_COLUMN = 18; // at the left of each item, for its check mark
constexpr int ARROW_COLUMN = 16; // at the right of each item, for a submenu's arrow
constexpr int SHORTCUT_GAP = 16; // between an item's text and the shortcut after its tab
constexpr int SEPARATOR_HEIGHT = 8;
constexpr int COLUMN_BREAK_GAP = 4; // between columns of MFT_MENUBARBREAK, holding a line

// WM_MENUCHAR answers, in the high word.
constexpr WORD MNC_CLOSE = 1;
constexpr WORD MNC_EXECUTE = 2;
constexpr WORD MNC_SELECT = 3;

constexpr int NO_ITEM = -1;

// One open menu.
struct CMenuLevel {
    HMENU hMenu { nullptr };
    HWND hWnd { nullptr };
    std::vector<CMenuItem> items;
    std::vector<RECT> rects; // each item's rectangle in the window's client area
    int nSelected { NO_ITEM };
};

bool IsSelectable(const CMenuItem& item)
{
    return !(item.fType & MFT_SEPARATOR);
}

bool IsEnabled(const CMenuItem& item)
{
    return !(item.fState & MFS_GRAYED);
}

// The text before the tab and the shortcut after it.
std::pair<std::string, std::string> SplitText(const std::string& strText)
{
    size_t nTab = strText.find('\t');
    if (nTab == std::string::npos)
        return { strText, {} };
    return { strText.substr(0, nTab), strText.substr(nTab + 1) };
}

} // namespace

char32_t MenuMnemonic(const std::string& strText)
{
    for (size_t i = 0; i + 1 < strText.size(); ++i) {
        if (strText[i] != '&')
            continue;
        if (strText[i + 1] == '&') {
            ++i;
            continue;
        }
        // Decode one UTF-8 character.
        auto c = static_cast<unsigned char>(strText[i + 1]);
        char32_t ch = c;
        int nMore = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        if (nMore)
            ch = c & (0x3F >> nMore);
        for (int k = 0; k < nMore && i + 2 + k < strText.size(); ++k)
            ch = (ch << 6) | (static_cast<unsigned char>(strText[i + 2 + k]) & 0x3F);
        return static_cast<char32_t>(std::towlower(static_cast<wint_t>(ch)));
    }
    return 0;
}

namespace {

LRESULT CALLBACK MenuWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

void RegisterMenuClass()
{
    static std::once_flag once;
    std::call_once(once, [] {
        WNDCLASS wc {};
        wc.lpfnWndProc = MenuWndProc;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(COLOR_MENU + 1));
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = MENU_CLASS;
        RegisterClass(&wc);
    });
}

class CMenuTracker {
public:
    CMenuTracker(HWND hOwner, UINT uFlags, const CTrackStart& start);
    ~CMenuTracker();
    CMenuTracker(const CMenuTracker&) = delete;
    CMenuTracker& operator=(const CMenuTracker&) = delete;

    // Runs the loop; returns the chosen ID, 0 when cancelled.
    UINT Run(HMENU hMenu, int x, int y);
    void Cancel() { m_bEnded = true; }
    // Paints the items of the menu window hWnd that meet rcPaint.
    void Paint(HWND hWnd, HDC hDC, const RECT& rcPaint);

private:
    bool OpenLevel(HMENU hMenu, int nIndexInParent, POINT ptAt, const RECT* prcParentItem);
    void CloseLevelsAbove(size_t nLevel);
    void CloseAllLevels();
    void Select(size_t nLevel, int nItem, bool bByMouse);
    void OpenSelected(bool bSelectFirst);
    void Activate(size_t nLevel, int nItem);
    bool ChooseCommand(size_t nLevel, UINT nCommand);
    void OnMouse(const MSG& msg);
    void OnKeyDown(const MSG& msg);
    void OnChar(const MSG& msg);
    void MoveSelection(int nStep);
    void Layout(CMenuLevel& level, SIZE& size);
    void PaintItem(HDC hDC, const CMenuLevel& level, size_t nItem);
    void InvalidateItem(const CMenuLevel& level, int nItem);
    std::optional<size_t> LevelAt(POINT pt) const;
    int ItemAt(const CMenuLevel& level, POINT ptScreen) const;
    LRESULT Notify(UINT uMsg, WPARAM wParam, LPARAM lParam);

    HWND m_hOwner;
    UINT m_uFlags;
    CTrackStart m_start;
    std::vector<CMenuLevel> m_levels;
    HFONT m_hBoldFont { nullptr };
    bool m_bEnded { false };
    UINT m_nChosen { 0 };
};

thread_local CMenuTracker* t_pTracker = nullptr;
thread_local MENUTRACKHOOK t_pfnMenuTrackHook = nullptr;

LRESULT CALLBACK MenuWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_PAINT: {
        PAINTSTRUCT ps {};
        HDC hDC = BeginPaint(hWnd, &ps);
        if (hDC && t_pTracker)
            t_pTracker->Paint(hWnd, hDC, ps.rcPaint);
        EndPaint(hWnd, &ps);
        return 0;
    }
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_CANCELMODE:
        if (t_pTracker)
            t_pTracker->Cancel();
        return 0;
    default:
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    }
}

CMenuTracker::CMenuTracker(HWND hOwner, UINT uFlags, const CTrackStart& start)
    : m_hOwner(hOwner)
    , m_uFlags(uFlags)
    , m_start(start)
{
    LOGFONT lf {};
    GetObject(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    lf.lfWeight = FW_BOLD;
    m_hBoldFont = CreateFontIndirect(&lf);
}

CMenuTracker::~CMenuTracker()
{
    CloseAllLevels();
    DeleteObject(m_hBoldFont);
}

LRESULT CMenuTracker::Notify(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (m_uFlags & TPM_NONOTIFY)
        return 0;
    return SendMessage(m_hOwner, uMsg, wParam, lParam);
}

/***** Opening and closing levels *****/

bool CMenuTracker::OpenLevel(HMENU hMenu, int nIndexInParent, POINT ptAt, const RECT* prcParentItem)
{
    Notify(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hMenu), MAKELPARAM(static_cast<WORD>(nIndexInParent), 0));
    CMenuLevel level;
    level.hMenu = hMenu;
    if (m_bEnded || !MenuSnapshot(hMenu, level.items))
        return false;
    level.hWnd = CreateWindowEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, MENU_CLASS, "", WS_POPUP | WS_BORDER, 0, 0, 0, 0,
        m_hOwner, nullptr, nullptr, nullptr);
    if (!level.hWnd)
        return false;
    SIZE size {};
    Layout(level, size);
    RECT rcWindow { 0, 0, size.cx, size.cy };
    AdjustWindowRectEx(&rcWindow, WS_POPUP | WS_BORDER, FALSE, WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
    int cx = rcWindow.right - rcWindow.left;
    int cy = rcWindow.bottom - rcWindow.top;
    // A menu stays on the monitor of the point it opens at.
    const RECT rcMonitor
        = MonitorNearestPoint(prcParentItem ? POINT { prcParentItem->right, prcParentItem->top } : ptAt).rcMonitor;
    int x = ptAt.x;
    int y = ptAt.y;
    if (prcParentItem) {
        // A submenu opens at the right of its item, or at its left when the screen ends first.
        x = prcParentItem->right;
        y = prcParentItem->top - MENU_MARGIN - 1;
        if (x + cx > rcMonitor.right)
            x = prcParentItem->left - cx;
    } else {
        if (m_uFlags & TPM_CENTERALIGN)
            x -= cx / 2;
        else if (m_uFlags & TPM_RIGHTALIGN)
            x -= cx;
        if (m_uFlags & TPM_VCENTERALIGN)
            y -= cy / 2;
        else if (m_uFlags & TPM_BOTTOMALIGN)
            y -= cy;
    }
    x = std::max<int>(rcMonitor.left, std::min<int>(x, rcMonitor.right - cx));
    y = std::max<int>(rcMonitor.top, std::min<int>(y, rcMonitor.bottom - cy));
    RECT rcMenu { x, y, x + cx, y + cy };
    RECT rcOverlap {};
    if (!prcParentItem && IntersectRect(&rcOverlap, &rcMenu, &m_start.rcExclude)) {
        const RECT& rcExclude = m_start.rcExclude;
        if (m_uFlags & TPM_VERTICAL)
            y = std::max<int>(
                rcMonitor.top, rcExclude.bottom + cy <= rcMonitor.bottom ? rcExclude.bottom : rcExclude.top - cy);
        else
            x = std::max<int>(
                rcMonitor.left, rcExclude.right + cx <= rcMonitor.right ? rcExclude.right : rcExclude.left - cx);
    }
    SetWindowPos(level.hWnd, HWND_TOPMOST, x, y, cx, cy, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    m_levels.push_back(std::move(level));
    return true;
}

void CMenuTracker::CloseLevelsAbove(size_t nLevel)
{
    while (m_levels.size() > nLevel + 1) {
        Notify(WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(m_levels.back().hMenu), 0);
        DestroyWindow(m_levels.back().hWnd);
        m_levels.pop_back();
    }
}

// Closes every level, the first one too: each popup that opened hears of its closing.
void CMenuTracker::CloseAllLevels()
{
    CloseLevelsAbove(0);
    if (m_levels.empty())
        return;
    Notify(WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(m_levels.front().hMenu), 0);
    DestroyWindow(m_levels.front().hWnd);
    m_levels.clear();
}

/***** Selection *****/

void CMenuTracker::Select(size_t nLevel, int nItem, bool bByMouse)
{
    CloseLevelsAbove(nLevel);
    CMenuLevel& level = m_levels[nLevel];
    if (level.nSelected == nItem)
        return;
    InvalidateItem(level, level.nSelected);
    level.nSelected = nItem;
    InvalidateItem(level, nItem);
    if (nItem == NO_ITEM)
        return;
    const CMenuItem& item = level.items[static_cast<size_t>(nItem)];
    UINT nFlags = item.fType | item.fState | MF_HILITE | (bByMouse ? MF_MOUSESELECT : 0);
    WORD wItem = static_cast<WORD>(item.wID);
    if (item.hSubMenu) {
        nFlags |= MF_POPUP;
        wItem = static_cast<WORD>(nItem);
    }
    HMENU hMenu = level.hMenu;
    Notify(WM_MENUSELECT, MAKEWPARAM(wItem, static_cast<WORD>(nFlags)), reinterpret_cast<LPARAM>(hMenu));
}

void CMenuTracker::OpenSelected(bool bSelectFirst)
{
    size_t nLevel = m_levels.size() - 1;
    const CMenuLevel& level = m_levels[nLevel];
    if (level.nSelected == NO_ITEM)
        return;
    const CMenuItem& item = level.items[static_cast<size_t>(level.nSelected)];
    if (!item.hSubMenu || !IsEnabled(item))
        return;
    RECT rcItem = level.rects[static_cast<size_t>(level.nSelected)];
    MapWindowPoints(level.hWnd, nullptr, reinterpret_cast<LPPOINT>(&rcItem), 2);
    if (!OpenLevel(item.hSubMenu, level.nSelected, POINT {}, &rcItem))
        return;
    if (bSelectFirst) {
        const std::vector<CMenuItem>& items = m_levels.back().items;
        auto it = std::find_if(items.begin(), items.end(), IsSelectable);
        if (it != items.end())
            Select(m_levels.size() - 1, static_cast<int>(it - items.begin()), false);
    }
}

void CMenuTracker::Activate(size_t nLevel, int nItem)
{
    const CMenuItem& item = m_levels[nLevel].items[static_cast<size_t>(nItem)];
    if (!IsSelectable(item))
        return;
    if (item.hSubMenu) {
        Select(nLevel, nItem, false);
        OpenSelected(true);
        return;
    }
    if (IsEnabled(item))
        m_nChosen = item.wID;
    // A disabled item ends the menu without a command.
    m_bEnded = true;
}

// Chooses the first enabled command item with that ID as a user would: each
// submenu on the way is opened (so its owner can update it) before its items
// are looked at. False, with the menu as it was, when no such item exists.
bool CMenuTracker::ChooseCommand(size_t nLevel, UINT nCommand)
{
    for (size_t i = 0; i < m_levels[nLevel].items.size() && !m_bEnded; ++i) {
        const CMenuItem item = m_levels[nLevel].items[i];
        if (!IsSelectable(item))
            continue;
        if (item.hSubMenu) {
            if (!IsEnabled(item))
                continue;
            Select(nLevel, static_cast<int>(i), false);
            OpenSelected(false);
            // Menus nest no deeper; a menu among its own submenus stops here.
            constexpr size_t MAX_DEPTH = 16;
            if (m_levels.size() > nLevel + 1 && nLevel < MAX_DEPTH && ChooseCommand(nLevel + 1, nCommand))
                return true;
            CloseLevelsAbove(nLevel);
        } else if (item.wID == nCommand && IsEnabled(item)) {
            Select(nLevel, static_cast<int>(i), false);
            Activate(nLevel, static_cast<int>(i));
            return true;
        }
    }
    return false;
}

void CMenuTracker::MoveSelection(int nStep)
{
    size_t nLevel = m_levels.size() - 1;
    const CMenuLevel& level = m_levels[nLevel];
    int nCount = static_cast<int>(level.items.size());
    int nItem = level.nSelected;
    for (int n = 0; n < nCount; ++n) {
        nItem = nItem == NO_ITEM ? (nStep > 0 ? 0 : nCount - 1) : (nItem + nStep + nCount) % nCount;
        if (IsSelectable(level.items[static_cast<size_t>(nItem)])) {
            Select(nLevel, nItem, false);
            return;
        }
    }
}

/***** Input *****/

std::optional<size_t> CMenuTracker::LevelAt(POINT pt) const
{
    for (size_t n = m_levels.size(); n-- > 0;) {
        RECT rc {};
        GetWindowRect(m_levels[n].hWnd, &rc);
        if (pt.x >= rc.left && pt.x < rc.right && pt.y >= rc.top && pt.y < rc.bottom)
            return n;
    }
    return std::nullopt;
}

int CMenuTracker::ItemAt(const CMenuLevel& level, POINT ptScreen) const
{
    POINT pt = ptScreen;
    ScreenToClient(level.hWnd, &pt);
    for (size_t i = 0; i < level.rects.size(); ++i) {
        const RECT& rc = level.rects[i];
        if (pt.x >= rc.left && pt.x < rc.right && pt.y >= rc.top && pt.y < rc.bottom)
            return IsSelectable(level.items[i]) ? static_cast<int>(i) : NO_ITEM;
    }
    return NO_ITEM;
}

void CMenuTracker::OnMouse(const MSG& msg)
{
    std::optional<size_t> nLevel = LevelAt(msg.pt);
    bool bChoosingButton = msg.message == WM_LBUTTONUP || ((m_uFlags & TPM_RIGHTBUTTON) && msg.message == WM_RBUTTONUP);
    switch (msg.message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (!nLevel) {
            m_bEnded = true; // a click outside every menu cancels
            return;
        }
        [[fallthrough]];
    case WM_MOUSEMOVE: {
        if (!nLevel)
            return;
        int nItem = ItemAt(m_levels[*nLevel], msg.pt);
        // Moving back onto the item whose submenu is open keeps that submenu.
        if (nItem != NO_ITEM && nItem == m_levels[*nLevel].nSelected && *nLevel + 1 < m_levels.size())
            return;
        Select(*nLevel, nItem, true);
        OpenSelected(false);
        return;
    }
    default:
        if (!bChoosingButton || !nLevel)
            return;
        int nItem = ItemAt(m_levels[*nLevel], msg.pt);
        if (nItem == NO_ITEM)
            return;
        const CMenuItem& item = m_levels[*nLevel].items[static_cast<size_t>(nItem)];
        if (!item.hSubMenu && IsEnabled(item)) {
            m_nChosen = item.wID;
            m_bEnded = true;
        }
        return;
    }
}

void CMenuTracker::OnKeyDown(const MSG& msg)
{
    size_t nLevel = m_levels.size() - 1;
    switch (msg.wParam) {
    case VK_DOWN:
        MoveSelection(1);
        return;
    case VK_UP:
        MoveSelection(-1);
        return;
    case VK_RIGHT:
        OpenSelected(true);
        return;
    case VK_LEFT:
        if (nLevel > 0)
            CloseLevelsAbove(nLevel - 1);
        return;
    case VK_ESCAPE:
        if (nLevel > 0)
            CloseLevelsAbove(nLevel - 1);
        else
            m_bEnded = true;
        return;
    case VK_MENU:
    case VK_F10:
        m_bEnded = true;
        return;
    case VK_RETURN:
        if (m_levels[nLevel].nSelected != NO_ITEM)
            Activate(nLevel, m_levels[nLevel].nSelected);
        return;
    default:
        // Other keys may give a character, which picks an item by its mnemonic.
        TranslateMessage(&msg);
        return;
    }
}

void CMenuTracker::OnChar(const MSG& msg)
{
    size_t nLevel = m_levels.size() - 1;
    CMenuLevel& level = m_levels[nLevel];
    auto ch = static_cast<char32_t>(std::towlower(static_cast<wint_t>(msg.wParam)));
    std::vector<int> matches;
    for (size_t i = 0; i < level.items.size(); ++i) {
        if (IsSelectable(level.items[i]) && MenuMnemonic(level.items[i].strText) == ch)
            matches.push_back(static_cast<int>(i));
    }
    if (matches.size() == 1) {
        Activate(nLevel, matches.front());
        return;
    }
    if (!matches.empty()) {
        // Several items share the character: each press selects the next of them.
        auto it = std::upper_bound(matches.begin(), matches.end(), level.nSelected);
        Select(nLevel, it == matches.end() ? matches.front() : *it, false);
        return;
    }
    LRESULT lAnswer = Notify(
        WM_MENUCHAR, MAKEWPARAM(static_cast<WORD>(msg.wParam), MF_POPUP), reinterpret_cast<LPARAM>(level.hMenu));
    int nItem = LOWORD(static_cast<DWORD_PTR>(lAnswer));
    bool bValid = nItem < static_cast<int>(level.items.size());
    switch (HIWORD(static_cast<DWORD_PTR>(lAnswer))) {
    case MNC_CLOSE:
        m_bEnded = true;
        break;
    case MNC_EXECUTE:
        if (bValid)
            Activate(nLevel, nItem);
        break;
    case MNC_SELECT:
        if (bValid && IsSelectable(level.items[static_cast<size_t>(nItem)]))
            Select(nLevel, nItem, false);
        break;
    default:
        break;
    }
}

/***** The loop *****/

UINT CMenuTracker::Run(HMENU hMenu, int x, int y)
{
    WPARAM bPopupMenu = m_start.bFromBar ? FALSE : TRUE;
    // First of all WM_INITMENU, as a bar's owner hears it (for the bar) when one of its items opens.
    if (!m_start.bFromBar)
        Notify(WM_INITMENU, reinterpret_cast<WPARAM>(hMenu), 0);
    Notify(WM_ENTERMENULOOP, bPopupMenu, 0);
    if (!OpenLevel(hMenu, m_start.nIndex, POINT { x, y }, nullptr)) {
        Notify(WM_EXITMENULOOP, bPopupMenu, 0);
        return 0;
    }
    if (m_start.bSelectFirst)
        MoveSelection(1);
    HWND hCapture = m_levels.front().hWnd;
    SetCapture(hCapture);
    if (UINT nCommand = 0; t_pfnMenuTrackHook && t_pfnMenuTrackHook(hMenu, &nCommand)) {
        // Without an item to choose the menu is dismissed: m_nChosen stays 0.
        if (nCommand != 0)
            ChooseCommand(0, nCommand);
        m_bEnded = true;
    }
    while (!m_bEnded) {
        MSG msg {};
        if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
            Notify(WM_ENTERIDLE, MSGF_MENU, reinterpret_cast<LPARAM>(m_levels.front().hWnd));
            if (!m_bEnded && !PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE))
                WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT) {
            // The loop that asked to quit is further out; it gets its message back.
            PostQuitMessage(static_cast<int>(msg.wParam));
            m_bEnded = true;
        } else if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) {
            OnMouse(msg);
        } else if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
            OnKeyDown(msg);
        } else if (msg.message == WM_CHAR || msg.message == WM_SYSCHAR) {
            OnChar(msg);
        } else if (msg.message != WM_KEYUP && msg.message != WM_SYSKEYUP) {
            DispatchMessage(&msg);
        }
        if (!m_bEnded && GetCapture() != hCapture)
            m_bEnded = true; // someone else took the mouse
    }
    if (GetCapture() == hCapture)
        ReleaseCapture();
    CloseAllLevels();
    Notify(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    Notify(WM_EXITMENULOOP, bPopupMenu, 0);
    return m_nChosen;
}

/***** Layout and painting *****/

void CMenuTracker::Layout(CMenuLevel& level, SIZE& size)
{
    HDC hDC = GetDC(level.hWnd);
    HFONT hFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRIC tm {};
    {
        CSelectGuard font(hDC, hFont);
        GetTextMetrics(hDC, &tm);
    }
    int nTextHeight = tm.tmHeight + 2 * ITEM_PAD_Y;
    level.rects.assign(level.items.size(), RECT {});

    // Each item's own size first, then columns of equal width.
    std::vector<SIZE> sizes(level.items.size());
    for (size_t i = 0; i < level.items.size(); ++i) {
        const CMenuItem& item = level.items[i];
        if (item.fType & MFT_OWNERDRAW) {
            MEASUREITEMSTRUCT mis { ODT_MENU, 0, item.wID, 0, 0, item.dwItemData };
            SendMessage(m_hOwner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
            sizes[i] = SIZE { static_cast<LONG>(mis.itemWidth), static_cast<LONG>(mis.itemHeight) };
        } else if (item.fType & MFT_SEPARATOR) {
            sizes[i] = SIZE { 0, SEPARATOR_HEIGHT };
        } else {
            CSelectGuard font(hDC, (item.fState & MFS_DEFAULT) ? m_hBoldFont : hFont);
            auto [strLabel, strShortcut] = SplitText(item.strText);
            RECT rcLabel {};
            DrawText(hDC, strLabel.c_str(), static_cast<int>(strLabel.size()), &rcLabel, DT_SINGLELINE | DT_CALCRECT);
            int cx = CHECK_COLUMN + rcLabel.right + ARROW_COLUMN;
            if (!strShortcut.empty()) {
                RECT rcShortcut {};
                DrawText(hDC, strShortcut.c_str(), static_cast<int>(strShortcut.size()), &rcShortcut,
                    DT_SINGLELINE | DT_CALCRECT);
                cx += SHORTCUT_GAP + rcShortcut.right;
            }
            sizes[i] = SIZE { cx, nTextHeight };
        }
    }
    ReleaseDC(level.hWnd, hDC);

    int x = MENU_MARGIN;
    int nBottom = MENU_MARGIN;
    size_t nColumnStart = 0;
    auto finishColumn = [&](size_t nEnd) {
        LONG cxColumn = 0;
        for (size_t i = nColumnStart; i < nEnd; ++i)
            cxColumn = std::max(cxColumn, sizes[i].cx);
        int y = MENU_MARGIN;
        for (size_t i = nColumnStart; i < nEnd; ++i) {
            level.rects[i] = RECT { x, y, x + cxColumn, y + sizes[i].cy };
            y += sizes[i].cy;
        }
        nBottom = std::max(nBottom, y);
        x += cxColumn;
    };
    for (size_t i = 0; i < level.items.size(); ++i) {
        UINT fType = level.items[i].fType;
        if (i > 0 && (fType & (MFT_MENUBREAK | MFT_MENUBARBREAK))) {
            finishColumn(i);
            nColumnStart = i;
            if (fType & MFT_MENUBARBREAK)
                x += COLUMN_BREAK_GAP;
        }
    }
    finishColumn(level.items.size());
    size = SIZE { x + MENU_MARGIN, nBottom + MENU_MARGIN };
}

void CMenuTracker::InvalidateItem(const CMenuLevel& level, int nItem)
{
    if (nItem != NO_ITEM)
        InvalidateRect(level.hWnd, &level.rects[static_cast<size_t>(nItem)], TRUE);
}

void CMenuTracker::Paint(HWND hWnd, HDC hDC, const RECT& rcPaint)
{
    auto it
        = std::find_if(m_levels.begin(), m_levels.end(), [&](const CMenuLevel& level) { return level.hWnd == hWnd; });
    if (it == m_levels.end())
        return;
    for (size_t i = 0; i < it->items.size(); ++i) {
        if (i > 0 && (it->items[i].fType & MFT_MENUBARBREAK)) {
            RECT rcClient {};
            GetClientRect(hWnd, &rcClient);
            int xLine = it->rects[i].left - COLUMN_BREAK_GAP / 2 - 1;
            RECT rcLine { xLine, MENU_MARGIN, xLine + 2, rcClient.bottom - MENU_MARGIN };
            DrawEdge(hDC, &rcLine, EDGE_ETCHED, BF_LEFT);
        }
        const RECT& rcItem = it->rects[i];
        if (rcItem.left < rcPaint.right && rcPaint.left < rcItem.right && rcItem.top < rcPaint.bottom
            && rcPaint.top < rcItem.bottom)
            PaintItem(hDC, *it, i);
    }
}

void CMenuTracker::PaintItem(HDC hDC, const CMenuLevel& level, size_t nItem)
{
    const CMenuItem& item = level.items[nItem];
    RECT rc = level.rects[nItem];
    bool bSelected = level.nSelected == static_cast<int>(nItem);
    if (item.fType & MFT_OWNERDRAW) {
        DRAWITEMSTRUCT dis { ODT_MENU, 0, item.wID, ODA_DRAWENTIRE, 0, reinterpret_cast<HWND>(level.hMenu), hDC, rc,
            item.dwItemData };
        dis.itemState = (bSelected ? ODS_SELECTED : 0) | ((item.fState & MF_GRAYED) ? ODS_GRAYED : 0)
            | ((item.fState & MF_DISABLED) ? ODS_DISABLED : 0) | ((item.fState & MFS_CHECKED) ? ODS_CHECKED : 0)
            | ((item.fState & MFS_DEFAULT) ? ODS_DEFAULT : 0);
        int nSaved = SaveDC(hDC);
        SendMessage(m_hOwner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
        RestoreDC(hDC, nSaved);
        return;
    }
    if (item.fType & MFT_SEPARATOR) {
        RECT rcLine { rc.left + 1, (rc.top + rc.bottom) / 2 - 1, rc.right - 1, (rc.top + rc.bottom) / 2 + 1 };
        DrawEdge(hDC, &rcLine, EDGE_ETCHED, BF_TOP);
        return;
    }
    FillRect(hDC, &rc, GetSysColorBrush(bSelected ? COLOR_HIGHLIGHT : COLOR_MENU));
    COLORREF crText = GetSysColor(!IsEnabled(item) ? COLOR_GRAYTEXT : bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
    SetTextColor(hDC, crText);
    SetBkMode(hDC, TRANSPARENT);
    HGDIOBJ hFont = (item.fState & MFS_DEFAULT) ? static_cast<HGDIOBJ>(m_hBoldFont) : GetStockObject(DEFAULT_GUI_FONT);
    CSelectGuard font(hDC, hFont);
    auto [strLabel, strShortcut] = SplitText(item.strText);
    RECT rcText { rc.left + CHECK_COLUMN, rc.top, rc.right - ARROW_COLUMN, rc.bottom };
    DrawText(hDC, strLabel.c_str(), static_cast<int>(strLabel.size()), &rcText, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    if (!strShortcut.empty())
        DrawText(hDC, strShortcut.c_str(), static_cast<int>(strShortcut.size()), &rcText,
            DT_SINGLELINE | DT_VCENTER | DT_RIGHT);

    HBRUSH hMark = CreateSolidBrush(crText);
    HPEN hPen = CreatePen(PS_SOLID, 1, crText);
    {
        CSelectGuard brush(hDC, hMark);
        CSelectGuard pen(hDC, hPen);
        int yMid = (rc.top + rc.bottom) / 2;
        if (item.fState & MFS_CHECKED) {
            int xMark = rc.left + CHECK_COLUMN / 2;
            if (item.fType & MFT_RADIOCHECK) {
                Ellipse(hDC, xMark - 3, yMid - 3, xMark + 3, yMid + 3);
            } else {
                // A tick, two pixels thick.
                for (int d = 0; d < 2; ++d) {
                    POINT tick[3] { { xMark - 4, yMid - 1 + d }, { xMark - 1, yMid + 2 + d },
                        { xMark + 4, yMid - 3 + d } };
                    Polyline(hDC, tick, 3);
                }
            }
        }
        if (item.hSubMenu) {
            int xArrow = rc.right - ARROW_COLUMN / 2 - 2;
            POINT arrow[3] { { xArrow, yMid - 4 }, { xArrow + 4, yMid }, { xArrow, yMid + 4 } };
            Polygon(hDC, arrow, 3);
        }
    }
    DeleteObject(hPen);
    DeleteObject(hMark);
}

} // namespace

UINT TrackMenu(HMENU hMenu, UINT uFlags, int x, int y, HWND hWnd, const CTrackStart& start)
{
    RegisterMenuClass();
    CMenuTracker tracker(hWnd, uFlags, start);
    t_pTracker = &tracker;
    UINT nChosen = tracker.Run(hMenu, x, y);
    t_pTracker = nullptr;
    return nChosen;
}

BOOL TrackPopupMenuEx(HMENU hMenu, UINT uFlags, int x, int y, HWND hwnd, LPTPMPARAMS lptpm)
{
    if (lptpm && lptpm->cbSize != sizeof(TPMPARAMS)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!IsMenu(hMenu)) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (t_pTracker) {
        SetLastError(ERROR_POPUP_ALREADY_ACTIVE);
        return FALSE;
    }
    CTrackStart start;
    if (lptpm)
        start.rcExclude = lptpm->rcExclude;
    UINT nChosen = TrackMenu(hMenu, uFlags, x, y, hwnd, start);
    if (uFlags & TPM_RETURNCMD)
        return static_cast<BOOL>(nChosen);
    if (nChosen && IsWindow(hwnd))
        PostMessage(hwnd, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(nChosen), 0), 0);
    return TRUE;
}

BOOL TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int, HWND hWnd, const RECT*)
{
    return TrackPopupMenuEx(hMenu, uFlags, x, y, hWnd, nullptr);
}

MENUTRACKHOOK SetThreadMenuTrackHook(MENUTRACKHOOK pfnHook)
{
    return std::exchange(t_pfnMenuTrackHook, pfnHook);
}

BOOL EndMenu()
{
    if (!t_pTracker)
        return FALSE;
    t_pTracker->Cancel();
    // Wake the loop should it be waiting.
    PostMessage(nullptr, WM_NULL, 0, 0);
    return TRUE;
}
