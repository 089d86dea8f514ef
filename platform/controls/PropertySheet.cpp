#include "platform/controls/PropertySheet.h"

#include "platform/base/ResourceModule.h"
#include "platform/base/WinError.h"
#include "platform/controls/ButtonControl.h"
#include "platform/controls/TabControl.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

// Layout in the sheet's dialog units.
constexpr SHORT MARGIN = 7;
constexpr SHORT BUTTON_CX = 50;
constexpr SHORT BUTTON_CY = 14;
constexpr SHORT BUTTON_GAP = 4;
constexpr SHORT TAB_ROW = 14;   // the tabs above the pages
constexpr SHORT PAGE_INSET = 4; // between the tab control's edge and the pages
constexpr int ID_TABS = 0x3020;

struct SheetPage {
    PROPSHEETPAGE psp;
    DialogTemplate dialog;   // the page's template as the sheet makes it: a child control parent
    std::string strTitle;    // its tab's text
    HWND hWnd { nullptr };   // made on first activation
    bool bChanged { false }; // PSM_CHANGED and no apply or PSM_UNCHANGED since
};

struct SheetState {
    DWORD dwFlags { 0 };
    HINSTANCE hInstance { nullptr };
    std::vector<SheetPage> pages;
    RECT rcPage {}; // where pages go, in dialog units until WM_INITDIALOG maps it
    RECT rcTabs {}; // where the tab control goes, likewise; empty for wizards
    HWND hTab { nullptr };
    UINT nStartPage { 0 };
    int nCurrent { -1 };
    bool bBackDefault { false }; // the wizard's last step was Back: Back stays the default button
    bool bHelpPlaced { false };  // the button row has a place for Help
    bool bDone { false };
    INT_PTR nResult { -1 };
};

SheetState* StateOf(HWND hSheet)
{
    return reinterpret_cast<SheetState*>(::GetWindowLongPtr(hSheet, DWLP_USER));
}

bool IsWizard(const SheetState& state)
{
    return state.dwFlags & PSH_WIZARD;
}

bool LoadPageTemplate(const PROPSHEETPAGE& psp, DialogTemplate& dialog)
{
    if (psp.dwFlags & PSP_DLGINDIRECT) {
        if (!psp.pResource)
            return false;
        dialog = *psp.pResource;
        return true;
    }
    return ::LoadDialogResource(psp.hInstance, psp.pszTemplate, dialog) != FALSE;
}

// Loads the page's template and its title: the PSP_USETITLE text or string,
// else the template's caption.
bool LoadPage(SheetPage& page, HINSTANCE hSheetInstance)
{
    if (!LoadPageTemplate(page.psp, page.dialog))
        return false;
    page.strTitle = page.dialog.strCaption;
    if ((page.psp.dwFlags & PSP_USETITLE) && page.psp.pszTitle && !IS_INTRESOURCE(page.psp.pszTitle)) {
        page.strTitle = page.psp.pszTitle;
    } else if ((page.psp.dwFlags & PSP_USETITLE) && page.psp.pszTitle) {
        char szTitle[256] {};
        ::LoadString(page.psp.hInstance ? page.psp.hInstance : hSheetInstance,
            LOWORD(reinterpret_cast<ULONG_PTR>(page.psp.pszTitle)), szTitle, sizeof(szTitle));
        page.strTitle = szTitle;
    }
    return true;
}

// A page becomes a hidden child control parent at the page position.
void MakeChildTemplate(DialogTemplate& dialog, const RECT& rcPage)
{
    constexpr DWORD FRAME_STYLES = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME | WS_VISIBLE;
    dialog.dwStyle = (dialog.dwStyle & ~FRAME_STYLES) | WS_CHILD | DS_CONTROL | WS_TABSTOP;
    dialog.dwExStyle |= WS_EX_CONTROLPARENT;
    dialog.x = static_cast<SHORT>(rcPage.left);
    dialog.y = static_cast<SHORT>(rcPage.top);
    dialog.strCaption.clear();
}

DialogControlTemplate Button(int nId, const char* pszText, DWORD dwStyle)
{
    return { static_cast<DWORD>(nId), WS_CHILD | WS_TABSTOP | dwStyle, 0, 0, 0, BUTTON_CX, BUTTON_CY, "Button",
        pszText };
}

// The buttons of the sheet, left to right, placed at the bottom right.
void AddButtons(DialogTemplate& sheet, SheetState& state)
{
    std::vector<DialogControlTemplate> buttons;
    state.bHelpPlaced = (state.dwFlags & PSH_HASHELP)
        || std::any_of(state.pages.begin(), state.pages.end(),
            [](const SheetPage& page) { return page.psp.dwFlags & PSP_HASHELP; });
    if (IsWizard(state)) {
        buttons = { Button(ID_WIZBACK, "< &Back", WS_VISIBLE | WS_GROUP),
            Button(ID_WIZNEXT, "&Next >", WS_VISIBLE | BS_DEFPUSHBUTTON), Button(ID_WIZFINISH, "Finish", 0),
            Button(IDCANCEL, "Cancel", WS_VISIBLE) };
    } else {
        buttons
            = { Button(IDOK, "OK", WS_VISIBLE | WS_GROUP | BS_DEFPUSHBUTTON), Button(IDCANCEL, "Cancel", WS_VISIBLE) };
        if (!(state.dwFlags & PSH_NOAPPLYNOW))
            buttons.push_back(Button(ID_APPLY_NOW, "&Apply", WS_VISIBLE | WS_DISABLED));
    }
    // Help takes a place only when the sheet or a page offers help; otherwise
    // it is there all the same, hidden behind the last button.
    buttons.push_back(Button(IDHELP, "Help", 0));
    auto TakesPlace = [&state](const DialogControlTemplate& button) {
        return button.nID != static_cast<DWORD>(ID_WIZNEXT) && (button.nID != IDHELP || state.bHelpPlaced);
    };
    // Finish shares Next's place; the sheet is at least as wide as the row.
    auto nPlaces = static_cast<SHORT>(std::count_if(buttons.begin(), buttons.end(), TakesPlace));
    sheet.cx = std::max(sheet.cx, static_cast<SHORT>(2 * MARGIN + nPlaces * (BUTTON_CX + BUTTON_GAP) - BUTTON_GAP));
    const auto xLast = static_cast<SHORT>(sheet.cx - MARGIN - BUTTON_CX);
    auto x = static_cast<SHORT>(xLast + BUTTON_CX + BUTTON_GAP);
    for (auto it = buttons.rbegin(); it != buttons.rend(); ++it) {
        if (TakesPlace(*it))
            x = static_cast<SHORT>(x - BUTTON_CX - BUTTON_GAP);
        it->x = std::min(x, xLast);
        it->y = static_cast<SHORT>(sheet.cy - MARGIN - BUTTON_CY);
    }
    sheet.controls = std::move(buttons);
}

LRESULT NotifyPage(HWND hSheet, const SheetPage& page, UINT nCode, LPARAM lParam = 0)
{
    if (!page.hWnd)
        return 0;
    PSHNOTIFY notify { { hSheet, 0, nCode }, lParam };
    return ::SendMessage(page.hWnd, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notify));
}

void InsertTab(const SheetState& state, size_t nIndex)
{
    TCITEM item {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<LPSTR>(state.pages[nIndex].strTitle.c_str());
    ::SendMessage(state.hTab, TCM_INSERTITEM, nIndex, reinterpret_cast<LPARAM>(&item));
}

// The tab control with a tab for each page. It lies below the pages and the
// buttons, so the current page covers its display area and Tab reaches it
// after the buttons.
void CreateTabs(HWND hSheet, SheetState& state)
{
    const RECT& rc = state.rcTabs;
    state.hTab = ::CreateWindowEx(0, WC_TABCONTROL, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, rc.left,
        rc.top, rc.right - rc.left, rc.bottom - rc.top, hSheet, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ID_TABS)),
        nullptr, nullptr);
    if (!state.hTab)
        return;
    ::SendMessage(state.hTab, WM_SETFONT, static_cast<WPARAM>(::SendMessage(hSheet, WM_GETFONT, 0, 0)), FALSE);
    ::SetWindowPos(state.hTab, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (size_t i = 0; i < state.pages.size(); ++i)
        InsertTab(state, i);
}

// The control's own WS_VISIBLE, whether or not the sheet is shown yet.
bool IsShownControl(HWND hSheet, int nId)
{
    HWND hCtl = ::GetDlgItem(hSheet, nId);
    return hCtl && (::GetWindowLongPtr(hCtl, GWL_STYLE) & WS_VISIBLE);
}

void ShowControl(HWND hSheet, int nId, bool bShow)
{
    if (HWND hCtl = ::GetDlgItem(hSheet, nId))
        ::ShowWindow(hCtl, bShow ? SW_SHOWNA : SW_HIDE);
}

void EnableControl(HWND hSheet, int nId, bool bEnable)
{
    if (HWND hCtl = ::GetDlgItem(hSheet, nId))
        ::EnableWindow(hCtl, bEnable);
}

bool MakePage(HWND hSheet, SheetState& state, SheetPage& page)
{
    if (page.hWnd)
        return true;
    if ((page.psp.dwFlags & PSP_USECALLBACK) && page.psp.pfnCallback
        && !page.psp.pfnCallback(nullptr, PSPCB_CREATE, &page.psp))
        return false;
    HWND hPage = ::CreateDialogIndirectParam(page.psp.hInstance ? page.psp.hInstance : state.hInstance, &page.dialog,
        hSheet, page.psp.pfnDlgProc, reinterpret_cast<LPARAM>(&page.psp));
    if (!hPage)
        return false;
    page.hWnd = hPage;
    // Pages come first in tab order, before the buttons.
    ::SetWindowPos(hPage, HWND_TOP, state.rcPage.left, state.rcPage.top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    return true;
}

// Shows the current page and hides every other, with Help as the current page wants it.
void ShowCurrentPage(HWND hSheet, const SheetState& state)
{
    const SheetPage& current = state.pages[static_cast<size_t>(state.nCurrent)];
    ::ShowWindow(current.hWnd, SW_SHOWNA);
    for (const SheetPage& page : state.pages) {
        if (page.hWnd && &page != &current)
            ::ShowWindow(page.hWnd, SW_HIDE);
    }
    bool bHelp = (state.dwFlags & PSH_HASHELP) || (current.psp.dwFlags & PSP_HASHELP);
    ShowControl(hSheet, IDHELP, state.bHelpPlaced && bHelp);
    if (state.hTab)
        ::SendMessage(state.hTab, TCM_SETCURSEL, static_cast<WPARAM>(state.nCurrent), 0);
}

bool ContainsFocus(HWND hWnd)
{
    HWND hWndFocus = ::GetFocus();
    return hWnd && hWndFocus && (hWndFocus == hWnd || ::IsChild(hWnd, hWndFocus));
}

// Puts the focus on the current page's first tab stop, or on the default
// button when the page has none.
void FocusCurrentPage(HWND hSheet, const SheetState& state)
{
    HWND hTarget = ::GetNextDlgTabItem(state.pages[static_cast<size_t>(state.nCurrent)].hWnd, nullptr, FALSE);
    if (!hTarget)
        hTarget = ::GetDlgItem(hSheet, static_cast<int>(LOWORD(::SendMessage(hSheet, DM_GETDEFID, 0, 0))));
    if (hTarget)
        ::SendMessage(hSheet, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hTarget), TRUE);
}

enum class EFocus {
    KeepUnlessInOldPage, // the focus follows only when it was in the page that goes
    IntoNewPage,         // a wizard step: the focus goes into the new page
};

enum class EAsk {
    CurrentPage,  // PSN_KILLACTIVE asks the current page first
    AlreadyAsked, // a tab asked it with TCN_SELCHANGING
};

// Changes to page nIndex as the protocol says. A page that answers
// PSN_SETACTIVE with -1 is passed over for the next one in the direction of
// travel (nDirection, or from the old page towards nIndex when 0). FALSE when
// the current page kept its place, a page could not be made or every page on
// the way refused; the old page then stays.
BOOL SetCurrentPage(HWND hSheet, SheetState& state, int nIndex, int nDirection = 0,
    EFocus eFocus = EFocus::KeepUnlessInOldPage, EAsk eAsk = EAsk::CurrentPage)
{
    const auto nPages = static_cast<int>(state.pages.size());
    if (nIndex < 0 || nIndex >= nPages)
        return FALSE;
    if (nIndex == state.nCurrent)
        return TRUE;
    int nOld = state.nCurrent;
    if (nOld >= 0 && eAsk == EAsk::CurrentPage && NotifyPage(hSheet, state.pages[nOld], PSN_KILLACTIVE))
        return FALSE;
    if (nDirection == 0)
        nDirection = nIndex < nOld ? -1 : 1;
    bool bFocusIn = eFocus == EFocus::IntoNewPage || (nOld >= 0 && ContainsFocus(state.pages[nOld].hWnd));
    for (int i = nIndex; i >= 0 && i < nPages; i += nDirection) {
        if (!MakePage(hSheet, state, state.pages[i]) || !::IsWindow(hSheet))
            return FALSE;
        state.nCurrent = i;
        LRESULT nAnswer = NotifyPage(hSheet, state.pages[i], PSN_SETACTIVE);
        if (!::IsWindow(hSheet))
            return FALSE;
        if (state.nCurrent != i)
            return TRUE; // the handler changed pages itself
        if (nAnswer == -1)
            continue;
        ShowCurrentPage(hSheet, state);
        if (bFocusIn)
            FocusCurrentPage(hSheet, state);
        return TRUE;
    }
    state.nCurrent = nOld;
    return FALSE;
}

void Finish(HWND hSheet, SheetState& state, INT_PTR nResult)
{
    state.bDone = true;
    state.nResult = nResult;
    ::ShowWindow(hSheet, SW_HIDE);
    // Wakes a modal loop that waits for a message.
    ::PostMessage(hSheet, WM_NULL, 0, 0);
}

// The apply pass; FALSE when a page refused.
BOOL ApplyPages(HWND hSheet, SheetState& state, BOOL bClosing)
{
    for (size_t i = 0; i < state.pages.size(); ++i) {
        LRESULT nAnswer = NotifyPage(hSheet, state.pages[i], PSN_APPLY, bClosing);
        if (!::IsWindow(hSheet))
            return FALSE;
        if (nAnswer == PSNRET_INVALID)
            SetCurrentPage(hSheet, state, static_cast<int>(i));
        if (nAnswer != PSNRET_NOERROR)
            return FALSE;
    }
    for (SheetPage& page : state.pages)
        page.bChanged = false;
    EnableControl(hSheet, ID_APPLY_NOW, false);
    return TRUE;
}

void OnOK(HWND hSheet, SheetState& state)
{
    if (state.nCurrent >= 0 && NotifyPage(hSheet, state.pages[state.nCurrent], PSN_KILLACTIVE))
        return;
    if (ApplyPages(hSheet, state, TRUE))
        Finish(hSheet, state, IDOK);
}

void OnCancel(HWND hSheet, SheetState& state)
{
    if (state.nCurrent >= 0 && NotifyPage(hSheet, state.pages[state.nCurrent], PSN_QUERYCANCEL))
        return;
    for (const SheetPage& page : state.pages)
        NotifyPage(hSheet, page, PSN_RESET);
    Finish(hSheet, state, IDCANCEL);
}

int IndexOfId(const SheetState& state, LRESULT nId)
{
    for (size_t i = 0; i < state.pages.size(); ++i) {
        LPCSTR pszTemplate = state.pages[i].psp.pszTemplate;
        if (IS_INTRESOURCE(pszTemplate) && reinterpret_cast<LRESULT>(pszTemplate) == nId)
            return static_cast<int>(i);
    }
    return -1;
}

// Adds a page at the end while the sheet is shown; it is made when first activated.
BOOL AddPage(SheetState& state, LPCPROPSHEETPAGE ppsp)
{
    if (!ppsp)
        return FALSE;
    SheetPage page { *ppsp, {}, {} };
    if (!LoadPage(page, state.hInstance))
        return FALSE;
    MakeChildTemplate(page.dialog, state.rcPage);
    state.pages.push_back(std::move(page));
    if (state.hTab)
        InsertTab(state, state.pages.size() - 1);
    return TRUE;
}

// Removes a page and destroys its window. The current page first hands its
// place to the page after it, else the one before, without being asked to
// let go. The last page stays: FALSE.
BOOL RemovePage(HWND hSheet, SheetState& state, int nIndex)
{
    const auto nPages = static_cast<int>(state.pages.size());
    if (nIndex < 0 || nIndex >= nPages || nPages == 1)
        return FALSE;
    if (nIndex == state.nCurrent) {
        state.nCurrent = -1;
        bool bFocusIn = ContainsFocus(state.pages[nIndex].hWnd);
        EFocus eFocus = bFocusIn ? EFocus::IntoNewPage : EFocus::KeepUnlessInOldPage;
        if (!SetCurrentPage(hSheet, state, nIndex + 1, 1, eFocus)
            && !SetCurrentPage(hSheet, state, nIndex - 1, -1, eFocus)) {
            if (::IsWindow(hSheet) && state.nCurrent < 0)
                state.nCurrent = nIndex; // no other page would be shown
            return FALSE;
        }
    }
    HWND hGone = state.pages[nIndex].hWnd;
    state.pages.erase(state.pages.begin() + nIndex);
    if (state.nCurrent > nIndex)
        --state.nCurrent;
    if (state.hTab) {
        ::SendMessage(state.hTab, TCM_DELETEITEM, static_cast<WPARAM>(nIndex), 0);
        ::SendMessage(state.hTab, TCM_SETCURSEL, static_cast<WPARAM>(state.nCurrent), 0);
    }
    if (hGone)
        ::DestroyWindow(hGone);
    if (!std::any_of(state.pages.begin(), state.pages.end(), [](const SheetPage& page) { return page.bChanged; }))
        EnableControl(hSheet, ID_APPLY_NOW, false);
    return TRUE;
}

// Back after a step back while it is enabled, else Finish when shown, else Next.
int DefaultWizardButton(HWND hSheet, const SheetState& state)
{
    if (state.bBackDefault && ::IsWindowEnabled(::GetDlgItem(hSheet, ID_WIZBACK)))
        return ID_WIZBACK;
    return IsShownControl(hSheet, ID_WIZFINISH) ? ID_WIZFINISH : ID_WIZNEXT;
}

void OnWizardStep(HWND hSheet, SheetState& state, UINT nCode, int nDirection)
{
    if (state.nCurrent < 0)
        return;
    LRESULT nAnswer = NotifyPage(hSheet, state.pages[state.nCurrent], nCode);
    if (nAnswer == -1 || !::IsWindow(hSheet))
        return;
    int nTarget = nAnswer == 0 ? state.nCurrent + nDirection : IndexOfId(state, nAnswer);
    // The default button is chosen first: it takes the focus on a page without tab stops.
    bool bWasBackDefault = std::exchange(state.bBackDefault, nDirection < 0);
    ::SendMessage(hSheet, DM_SETDEFID, DefaultWizardButton(hSheet, state), 0);
    if (!SetCurrentPage(hSheet, state, nTarget, nDirection, EFocus::IntoNewPage) && ::IsWindow(hSheet)) {
        state.bBackDefault = bWasBackDefault;
        ::SendMessage(hSheet, DM_SETDEFID, DefaultWizardButton(hSheet, state), 0);
    }
}

void SetWizardButtons(HWND hSheet, const SheetState& state, DWORD dwFlags)
{
    EnableControl(hSheet, ID_WIZBACK, dwFlags & PSWIZB_BACK);
    bool bFinish = dwFlags & PSWIZB_FINISH;
    ShowControl(hSheet, ID_WIZNEXT, !bFinish);
    ShowControl(hSheet, ID_WIZFINISH, bFinish);
    EnableControl(hSheet, ID_WIZNEXT, dwFlags & PSWIZB_NEXT);
    EnableControl(hSheet, ID_WIZFINISH, bFinish);
    int nDefId = DefaultWizardButton(hSheet, state);
    ::SendMessage(hSheet, DM_SETDEFID, nDefId, 0);
    // A button that goes away or goes grey hands the focus to the default one.
    HWND hWndFocus = ::GetFocus();
    if (hWndFocus && ::GetParent(hWndFocus) == hSheet
        && (::GetWindowLongPtr(hWndFocus, GWL_STYLE) & (WS_VISIBLE | WS_DISABLED)) != WS_VISIBLE)
        ::SendMessage(hSheet, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(hSheet, nDefId)), TRUE);
}

void OnCommand(HWND hSheet, SheetState& state, int nId)
{
    switch (nId) {
    case IDOK:
        OnOK(hSheet, state);
        break;
    case IDCANCEL:
        OnCancel(hSheet, state);
        break;
    case ID_APPLY_NOW:
        ApplyPages(hSheet, state, FALSE);
        break;
    case IDHELP:
        if (state.nCurrent >= 0)
            NotifyPage(hSheet, state.pages[state.nCurrent], PSN_HELP);
        break;
    case ID_WIZBACK:
        OnWizardStep(hSheet, state, PSN_WIZBACK, -1);
        break;
    case ID_WIZNEXT:
        OnWizardStep(hSheet, state, PSN_WIZNEXT, 1);
        break;
    case ID_WIZFINISH:
        if (state.nCurrent >= 0 && !NotifyPage(hSheet, state.pages[state.nCurrent], PSN_WIZFINISH))
            Finish(hSheet, state, ID_WIZFINISH);
        break;
    default:
        break;
    }
}

// TCN_SELCHANGING asks the current page as a change of pages does; after
// TCN_SELCHANGE the tab shows the page the change ended on.
LRESULT OnTabNotify(HWND hSheet, SheetState& state, UINT nCode)
{
    if (nCode == TCN_SELCHANGING)
        return state.nCurrent >= 0 && NotifyPage(hSheet, state.pages[state.nCurrent], PSN_KILLACTIVE);
    if (nCode == TCN_SELCHANGE) {
        const auto nIndex = static_cast<int>(::SendMessage(state.hTab, TCM_GETCURSEL, 0, 0));
        SetCurrentPage(hSheet, state, nIndex, 0, EFocus::KeepUnlessInOldPage, EAsk::AlreadyAsked);
        if (::IsWindow(hSheet) && state.hTab)
            ::SendMessage(state.hTab, TCM_SETCURSEL, static_cast<WPARAM>(state.nCurrent), 0);
    }
    return 0;
}

// Ctrl+Tab and Ctrl+Shift+Tab anywhere in the sheet go to the tab control;
// a sheet of its own takes the other dialog keys, a sheet inside a dialog
// leaves them to that dialog.
BOOL IsSheetMessage(HWND hSheet, const SheetState& state, MSG* pMsg)
{
    if (!pMsg || (pMsg->hwnd != hSheet && !::IsChild(hSheet, pMsg->hwnd)))
        return FALSE;
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_TAB && state.hTab && (::GetKeyState(VK_CONTROL) & 0x8000)) {
        ::SendMessage(state.hTab, WM_KEYDOWN, VK_TAB, pMsg->lParam);
        return TRUE;
    }
    if (::GetWindowLongPtr(hSheet, GWL_STYLE) & WS_CHILD)
        return FALSE;
    return ::IsDialogMessage(hSheet, pMsg);
}

constexpr int PRESS_IDS[] = { ID_WIZBACK, ID_WIZNEXT, ID_WIZFINISH, IDOK, ID_APPLY_NOW, IDCANCEL, IDHELP };

// Answers a PSM_* message; FALSE for other messages.
bool OnSheetMessage(HWND hSheet, SheetState& state, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& nResult)
{
    auto IndexOk = [&](WPARAM nIndex) { return nIndex < state.pages.size(); };
    auto PageOfWindow = [](SheetState& state, HWND hPage) -> SheetPage* {
        auto it = std::find_if(state.pages.begin(), state.pages.end(),
            [hPage](const SheetPage& page) { return page.hWnd && page.hWnd == hPage; });
        return it == state.pages.end() ? nullptr : &*it;
    };
    switch (uMsg) {
    case PSM_SETCURSEL:
        nResult = SetCurrentPage(hSheet, state, static_cast<int>(wParam));
        return true;
    case PSM_SETCURSELID:
        nResult = SetCurrentPage(hSheet, state, IndexOfId(state, lParam));
        return true;
    case PSM_CHANGED:
    case PSM_UNCHANGED: {
        if (SheetPage* pPage = PageOfWindow(state, reinterpret_cast<HWND>(wParam)))
            pPage->bChanged = uMsg == PSM_CHANGED;
        bool bAnyChanged
            = std::any_of(state.pages.begin(), state.pages.end(), [](const SheetPage& page) { return page.bChanged; });
        EnableControl(hSheet, ID_APPLY_NOW, uMsg == PSM_CHANGED || bAnyChanged);
        return true;
    }
    case PSM_ADDPAGE:
        nResult = AddPage(state, reinterpret_cast<LPCPROPSHEETPAGE>(lParam));
        return true;
    case PSM_REMOVEPAGE:
        nResult = RemovePage(hSheet, state, static_cast<int>(wParam));
        return true;
    case PSM_APPLY:
        nResult = ApplyPages(hSheet, state, FALSE);
        return true;
    case PSM_SETWIZBUTTONS:
        SetWizardButtons(hSheet, state, static_cast<DWORD>(lParam));
        return true;
    case PSM_PRESSBUTTON:
        // Acted on before the message returns, as a click would be, through the sheet's own procedure.
        if (wParam < std::size(PRESS_IDS)) {
            int nId = PRESS_IDS[wParam];
            ::SendMessage(hSheet, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(nId), BN_CLICKED),
                reinterpret_cast<LPARAM>(::GetDlgItem(hSheet, nId)));
        }
        return true;
    case PSM_GETTABCONTROL:
        nResult = reinterpret_cast<LRESULT>(state.hTab);
        return true;
    case PSM_ISDIALOGMESSAGE:
        nResult = IsSheetMessage(hSheet, state, reinterpret_cast<MSG*>(lParam));
        return true;
    case PSM_GETCURRENTPAGEHWND:
        nResult = state.bDone || state.nCurrent < 0 ? 0 : reinterpret_cast<LRESULT>(state.pages[state.nCurrent].hWnd);
        return true;
    case PSM_HWNDTOINDEX: {
        const SheetPage* pPage = PageOfWindow(state, reinterpret_cast<HWND>(wParam));
        nResult = pPage ? pPage - state.pages.data() : -1;
        return true;
    }
    case PSM_INDEXTOHWND:
        nResult = IndexOk(wParam) ? reinterpret_cast<LRESULT>(state.pages[wParam].hWnd) : 0;
        return true;
    case PSM_IDTOINDEX:
        nResult = IndexOfId(state, lParam);
        return true;
    case PSM_INDEXTOID: {
        LPCSTR pszTemplate = IndexOk(wParam) ? state.pages[wParam].psp.pszTemplate : nullptr;
        nResult = IS_INTRESOURCE(pszTemplate) ? reinterpret_cast<LRESULT>(pszTemplate) : 0;
        return true;
    }
    case PSM_GETRESULT:
        nResult = state.bDone ? state.nResult : -1;
        return true;
    default:
        return false;
    }
}

INT_PTR CALLBACK SheetDlgProc(HWND hSheet, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_INITDIALOG) {
        auto* pState = reinterpret_cast<SheetState*>(lParam);
        ::SetWindowLongPtr(hSheet, DWLP_USER, lParam);
        ::MapDialogRect(hSheet, &pState->rcPage);
        if (!IsWizard(*pState)) {
            ::MapDialogRect(hSheet, &pState->rcTabs);
            CreateTabs(hSheet, *pState);
        }
        if (IsWizard(*pState))
            SetWizardButtons(hSheet, *pState, PSWIZB_BACK | PSWIZB_NEXT);
        UINT nStart = pState->nStartPage < pState->pages.size() ? pState->nStartPage : 0;
        SetCurrentPage(hSheet, *pState, static_cast<int>(nStart));
        // The focus control was chosen before the page existed. A sheet of its
        // own starts on the page's first tab stop, or on the default button;
        // a sheet inside a dialog leaves the focus to that dialog.
        if (pState->nCurrent >= 0 && !(::GetWindowLongPtr(hSheet, GWL_STYLE) & WS_CHILD))
            FocusCurrentPage(hSheet, *pState);
        return FALSE;
    }
    SheetState* pState = StateOf(hSheet);
    if (!pState)
        return FALSE;
    if (uMsg == WM_DESTROY) {
        ::SetWindowLongPtr(hSheet, DWLP_USER, 0);
        delete pState;
        return FALSE;
    }
    if (uMsg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        OnCommand(hSheet, *pState, LOWORD(wParam));
        return TRUE;
    }
    if (uMsg == WM_NOTIFY && pState->hTab && reinterpret_cast<const NMHDR*>(lParam)->hwndFrom == pState->hTab) {
        ::SetWindowLongPtr(
            hSheet, DWLP_MSGRESULT, OnTabNotify(hSheet, *pState, reinterpret_cast<const NMHDR*>(lParam)->code));
        return TRUE;
    }
    LRESULT nResult = 0;
    if (!OnSheetMessage(hSheet, *pState, uMsg, wParam, lParam, nResult))
        return FALSE;
    ::SetWindowLongPtr(hSheet, DWLP_MSGRESULT, nResult);
    return TRUE;
}

} // namespace

HWND CreatePropertySheet(const PROPSHEETHEADER* ppsh, DWORD dwStyle, DWORD dwExStyle)
{
    if (!ppsh || !ppsh->ppsp || ppsh->nPages == 0) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const INITCOMMONCONTROLSEX icc { sizeof(INITCOMMONCONTROLSEX), ICC_TAB_CLASSES };
    InitCommonControlsEx(&icc);
    auto pState = std::make_unique<SheetState>();
    pState->dwFlags = ppsh->dwFlags;
    pState->hInstance = ppsh->hInstance;
    pState->nStartPage = ppsh->nStartPage;
    DialogTemplate sheet;
    for (UINT i = 0; i < ppsh->nPages; ++i) {
        SheetPage page { ppsh->ppsp[i], {}, {} };
        if (!LoadPage(page, ppsh->hInstance)) {
            ::SetLastError(ERROR_INVALID_DATA);
            return nullptr;
        }
        sheet.cx = std::max(sheet.cx, page.dialog.cx);
        sheet.cy = std::max(sheet.cy, page.dialog.cy);
        if (i == 0) {
            sheet.nPointSize = page.dialog.nPointSize;
            sheet.nWeight = page.dialog.nWeight;
            sheet.bItalic = page.dialog.bItalic;
            sheet.strFaceName = page.dialog.strFaceName;
        }
        pState->pages.push_back(std::move(page));
    }
    // The pages lie inside the tab control's display area, below its tabs; a
    // wizard has no tabs.
    const bool bChild = dwStyle & WS_CHILD;
    const SHORT nMargin = bChild ? 0 : MARGIN;
    const bool bTabs = !(ppsh->dwFlags & PSH_WIZARD);
    const SHORT nInset = bTabs ? PAGE_INSET : 0;
    const SHORT nTabRow = bTabs ? TAB_ROW : 0;
    pState->rcPage = { nMargin + nInset, nMargin + nTabRow + nInset, nMargin + nInset + sheet.cx,
        nMargin + nTabRow + nInset + sheet.cy };
    if (bTabs)
        pState->rcTabs = { nMargin, nMargin, pState->rcPage.right + nInset, pState->rcPage.bottom + nInset };
    for (SheetPage& page : pState->pages)
        MakeChildTemplate(page.dialog, pState->rcPage);
    sheet.cx = static_cast<SHORT>(sheet.cx + 2 * nInset);
    sheet.cy = static_cast<SHORT>(sheet.cy + nTabRow + 2 * nInset);
    sheet.dwStyle = dwStyle & ~WS_VISIBLE;
    if (!bChild)
        sheet.dwStyle |= WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    if (sheet.nPointSize)
        sheet.dwStyle |= DS_SETFONT;
    sheet.dwExStyle = dwExStyle | WS_EX_CONTROLPARENT;
    sheet.strCaption = ppsh->pszCaption && !IS_INTRESOURCE(ppsh->pszCaption) ? ppsh->pszCaption : "";
    if (!bChild) {
        sheet.cx = static_cast<SHORT>(sheet.cx + 2 * MARGIN);
        sheet.cy = static_cast<SHORT>(sheet.cy + 3 * MARGIN + BUTTON_CY);
        AddButtons(sheet, *pState);
    }
    SheetState* pRaw = pState.get();
    HWND hSheet = ::CreateDialogIndirectParam(
        ppsh->hInstance, &sheet, ppsh->hwndParent, SheetDlgProc, reinterpret_cast<LPARAM>(pRaw));
    if (!hSheet)
        return nullptr;
    static_cast<void>(pState.release()); // the sheet owns it now and frees it in WM_DESTROY
    if (pRaw->nCurrent < 0) {
        ::DestroyWindow(hSheet);
        return nullptr;
    }
    if (dwStyle & WS_VISIBLE)
        ::ShowWindow(hSheet, SW_SHOW);
    return hSheet;
}
