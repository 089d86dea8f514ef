#include "platform/window/Dialog.h"

#include "platform/base/ResourceModule.h"
#include "platform/base/WinError.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <strings.h>
#include <vector>

namespace {

// The dialog manager's own record of a dialog, kept in the window's extra
// bytes after the documented values and freed with WM_NCDESTROY.
struct DialogState {
    DLGPROC pfnDlgProc { nullptr };
    HFONT hFont { nullptr };
    bool bOwnFont { false }; // made from the template, deleted with the dialog
    SIZE sizeBase { 0, 0 };  // the font's average character width and height
    UINT nDefId { 0 };       // the default push button; 0 when none was found or set
    HWND hWndFocusSave { nullptr };
    bool bModal { false };
    bool bEnded { false };
    INT_PTR nResult { 0 };
    HWND hWndDisabledOwner { nullptr }; // enabled again when the modal dialog ends
};

constexpr int DWLP_STATE = DWLP_USER + sizeof(LONG_PTR);
static_assert(DWLP_STATE + static_cast<int>(sizeof(LONG_PTR)) <= DLGWINDOWEXTRA);

// The control messages and values the dialog manager sends. The controls sit
// above this layer and define them for their users; these are the documented
// values.
constexpr UINT BM_SETSTYLE = 0x00F4;
constexpr UINT BM_CLICK = 0x00F5;
constexpr UINT BN_CLICKED = 0;
constexpr UINT BST_UNCHECKED = 0x0000;
constexpr UINT BST_CHECKED = 0x0001;
constexpr UINT EM_SETSEL = 0x00B1;
constexpr UINT BS_PUSHBUTTON = 0x0000;
constexpr UINT BS_DEFPUSHBUTTON = 0x0001;

thread_local DialogState* t_pCreatingState = nullptr;
thread_local MODALDIALOGHOOK t_pfnModalHook = nullptr;

WPARAM MakeWParam(UINT nLow, UINT nHigh)
{
    return static_cast<WPARAM>(static_cast<DWORD>(MAKELONG(static_cast<WORD>(nLow), static_cast<WORD>(nHigh))));
}

int ScaleBy(int nValue, int nNumerator, int nDenominator)
{
    long long nProduct = static_cast<long long>(nValue) * nNumerator;
    // Rounds half away from zero, as dialog unit conversion does.
    long long nHalf = nDenominator / 2;
    return static_cast<int>(nProduct >= 0 ? (nProduct + nHalf) / nDenominator : (nProduct - nHalf) / nDenominator);
}

DialogState* StateOf(HWND hDlg)
{
    char szClass[16] {};
    if (!::GetClassName(hDlg, szClass, sizeof(szClass)) || strcasecmp(szClass, WC_DIALOG) != 0)
        return nullptr;
    return reinterpret_cast<DialogState*>(::GetWindowLongPtr(hDlg, DWLP_STATE));
}

// The average character width and the height of a font, measured as the
// dialog manager has always measured them: the width of the 52 letters.
SIZE MeasureFont(HFONT hFont)
{
    HDC hdc = ::GetDC(nullptr);
    HGDIOBJ hOld = ::SelectObject(hdc, hFont);
    TEXTMETRIC tm {};
    ::GetTextMetrics(hdc, &tm);
    static constexpr char ALPHABET[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE size {};
    ::GetTextExtentPoint32(hdc, ALPHABET, 52, &size);
    ::SelectObject(hdc, hOld);
    ::ReleaseDC(nullptr, hdc);
    return { (size.cx / 26 + 1) / 2, tm.tmHeight };
}

bool RegisterDialogClass()
{
    WNDCLASS wc {};
    if (::GetClassInfo(nullptr, WC_DIALOG, &wc))
        return true;
    wc.style = CS_DBLCLKS | CS_SAVEBITS | CS_GLOBALCLASS;
    wc.lpfnWndProc = DefDlgProc;
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = WC_DIALOG;
    return ::RegisterClass(&wc) != 0;
}

DWORD StyleOf(HWND hWnd)
{
    return static_cast<DWORD>(::GetWindowLongPtr(hWnd, GWL_STYLE));
}

// Appends hParent's controls in tab order. A visible, enabled child with
// WS_EX_CONTROLPARENT (a page, a nested sheet) is not a control itself: its
// own controls stand in its place, as if they were the dialog's.
void AppendControls(HWND hParent, std::vector<HWND>& controls)
{
    for (HWND hCtl = ::GetWindow(hParent, GW_CHILD); hCtl; hCtl = ::GetWindow(hCtl, GW_HWNDNEXT)) {
        bool bContainer = (::GetWindowLongPtr(hCtl, GWL_EXSTYLE) & WS_EX_CONTROLPARENT)
            && (StyleOf(hCtl) & (WS_VISIBLE | WS_DISABLED)) == WS_VISIBLE;
        if (bContainer)
            AppendControls(hCtl, controls);
        else
            controls.push_back(hCtl);
    }
}

// The dialog's controls in tab order, those of nested control parents included.
std::vector<HWND> ChildrenOf(HWND hDlg)
{
    std::vector<HWND> children;
    AppendControls(hDlg, children);
    return children;
}

// Whether keyboard navigation may stop at a control: its own styles count,
// not the dialog's, so that the focus can be chosen before the dialog shows.
bool IsNavigable(HWND hCtl)
{
    return (StyleOf(hCtl) & (WS_VISIBLE | WS_DISABLED)) == WS_VISIBLE;
}

UINT DlgCodeOf(HWND hCtl, WPARAM wKey = 0, LPMSG pMsg = nullptr)
{
    return static_cast<UINT>(::SendMessage(hCtl, WM_GETDLGCODE, wKey, reinterpret_cast<LPARAM>(pMsg)));
}

// Moves the focus to a control as keyboard navigation does: an edit control
// gets its whole text selected.
void FocusControl(HWND hCtl)
{
    if (!hCtl)
        return;
    ::SetFocus(hCtl);
    if (DlgCodeOf(hCtl) & DLGC_HASSETSEL)
        ::SendMessage(hCtl, EM_SETSEL, 0, -1);
}

void PressButton(HWND hDlg, int nId)
{
    HWND hCtl = ::GetDlgItem(hDlg, nId);
    if (hCtl && !::IsWindowEnabled(hCtl))
        return;
    ::SendMessage(hDlg, WM_COMMAND, MakeWParam(static_cast<UINT>(nId), BN_CLICKED), reinterpret_cast<LPARAM>(hCtl));
}

void SetDefaultButton(HWND hDlg, DialogState& state, UINT nNewId)
{
    if (HWND hOld = state.nDefId ? ::GetDlgItem(hDlg, static_cast<int>(state.nDefId)) : nullptr;
        hOld && (DlgCodeOf(hOld) & DLGC_DEFPUSHBUTTON))
        ::SendMessage(hOld, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    state.nDefId = nNewId;
    if (HWND hNew = ::GetDlgItem(hDlg, static_cast<int>(nNewId)); hNew && (DlgCodeOf(hNew) & DLGC_UNDEFPUSHBUTTON))
        ::SendMessage(hNew, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

// The text of a control's mnemonic: the character after a single '&', or 0.
char MnemonicOf(HWND hCtl)
{
    char szText[256] {};
    ::GetWindowText(hCtl, szText, sizeof(szText));
    for (const char* p = szText; *p; ++p) {
        if (*p != '&')
            continue;
        if (p[1] == '&') {
            ++p;
            continue;
        }
        return static_cast<char>(std::tolower(static_cast<unsigned char>(p[1])));
    }
    return 0;
}

// Acts on the control whose mnemonic is chChar: a label passes the focus to
// the next control, a push button is pressed, a check box or radio button is
// focused and clicked, anything else focused. FALSE when no control matches.
bool HandleMnemonic(HWND hDlg, char chChar)
{
    char chWanted = static_cast<char>(std::tolower(static_cast<unsigned char>(chChar)));
    std::vector<HWND> controls = ChildrenOf(hDlg);
    for (auto it = controls.begin(); it != controls.end(); ++it) {
        HWND hCtl = *it;
        if (!IsNavigable(hCtl) || MnemonicOf(hCtl) != chWanted)
            continue;
        UINT nCode = DlgCodeOf(hCtl);
        if (nCode & DLGC_STATIC) {
            auto itNext = std::find_if(it + 1, controls.end(),
                [](HWND hNext) { return IsNavigable(hNext) && !(DlgCodeOf(hNext) & DLGC_STATIC); });
            FocusControl(itNext != controls.end() ? *itNext : nullptr);
        } else if (nCode & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) {
            ::SendMessage(hCtl, BM_CLICK, 0, 0);
        } else if (nCode & (DLGC_BUTTON | DLGC_RADIOBUTTON)) {
            ::SetFocus(hCtl);
            ::SendMessage(hCtl, BM_CLICK, 0, 0);
        } else {
            FocusControl(hCtl);
        }
        return true;
    }
    return false;
}

// Where a popup dialog goes: its template position is relative to the owner's
// client area; DS_CENTER centres it over the owner, or the screen.
POINT PlacePopup(HWND hWndOwner, DWORD dwStyle, POINT ptTemplate, SIZE sizeWindow)
{
    if (dwStyle & DS_CENTER) {
        RECT rcArea { 0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN) };
        if (hWndOwner && ::IsWindowVisible(hWndOwner))
            ::GetWindowRect(hWndOwner, &rcArea);
        return { (rcArea.left + rcArea.right - sizeWindow.cx) / 2, (rcArea.top + rcArea.bottom - sizeWindow.cy) / 2 };
    }
    if (hWndOwner && !(dwStyle & DS_ABSALIGN))
        ::ClientToScreen(hWndOwner, &ptTemplate);
    return ptTemplate;
}

HWND CreateControls(HWND hDlg, HINSTANCE hInstance, const DialogTemplate& dialog, const DialogState& state)
{
    HWND hWndFirst = nullptr;
    for (const DialogControlTemplate& control : dialog.controls) {
        RECT rc { control.x, control.y, control.x + control.cx, control.y + control.cy };
        ::MapDialogRect(hDlg, &rc);
        HWND hCtl = ::CreateWindowEx(control.dwExStyle | WS_EX_NOPARENTNOTIFY, control.strClass.c_str(),
            control.strText.c_str(), (control.dwStyle | WS_CHILD) & ~WS_POPUP, rc.left, rc.top, rc.right - rc.left,
            rc.bottom - rc.top, hDlg, reinterpret_cast<HMENU>(static_cast<ULONG_PTR>(control.nID)), hInstance, nullptr);
        if (!hCtl)
            return nullptr;
        // The window layer stacks new children on top; tab order is template order.
        ::SetWindowPos(hCtl, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        if (state.hFont)
            ::SendMessage(hCtl, WM_SETFONT, reinterpret_cast<WPARAM>(state.hFont), FALSE);
        if (!hWndFirst)
            hWndFirst = hCtl;
    }
    return hWndFirst ? hWndFirst : hDlg;
}

INT_PTR RunModalLoop(HWND hDlg, DialogState& state)
{
    MSG msg {};
    bool bIdleSent = false;
    while (!state.bEnded) {
        if (!::PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            HWND hWndOwner = ::GetWindow(hDlg, GW_OWNER);
            if (!bIdleSent && hWndOwner && !(StyleOf(hDlg) & DS_NOIDLEMSG)) {
                bIdleSent = true;
                ::SendMessage(hWndOwner, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(hDlg));
                continue;
            }
        }
        if (!::GetMessage(&msg, nullptr, 0, 0)) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return 0;
        }
        bIdleSent = false;
        if (!::IsWindow(hDlg))
            return 0;
        if (!::IsDialogMessage(hDlg, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessage(&msg);
        }
    }
    return state.nResult;
}

} // namespace

/***** Creating dialogs *****/

BOOL LoadDialogResource(HINSTANCE hInstance, LPCSTR lpTemplateName, DialogTemplate& dialog)
{
    HRSRC hResource = ::FindResource(hInstance, lpTemplateName, RT_DIALOG);
    if (!hResource)
        return FALSE;
    const auto* pBytes = static_cast<const BYTE*>(::LockResource(::LoadResource(hInstance, hResource)));
    std::string strError;
    if (!pBytes || !ReadDialogTemplate({ pBytes, ::SizeofResource(hInstance, hResource) }, dialog, strError)) {
        ::SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    if (HRSRC hInit = ::FindResource(hInstance, lpTemplateName, RT_DLGINIT)) {
        const auto* pInit = static_cast<const BYTE*>(::LockResource(::LoadResource(hInstance, hInit)));
        if (!pInit || !ReadDialogInit({ pInit, ::SizeofResource(hInstance, hInit) }, dialog.initData, strError)) {
            ::SetLastError(ERROR_INVALID_DATA);
            return FALSE;
        }
    }
    return TRUE;
}

HWND CreateDialogIndirectParam(
    HINSTANCE hInstance, LPCDLGTEMPLATE lpTemplate, HWND hWndParent, DLGPROC lpDialogFunc, LPARAM lParamInit)
{
    if (!lpTemplate) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (!RegisterDialogClass())
        return nullptr;
    const DialogTemplate& dialog = *lpTemplate;
    auto* pState = new DialogState;
    pState->pfnDlgProc = lpDialogFunc;
    if (dialog.nPointSize != 0) {
        LOGFONT lf {};
        lf.lfHeight = -ScaleBy(dialog.nPointSize, 96, 72);
        lf.lfWeight = dialog.nWeight;
        lf.lfItalic = dialog.bItalic;
        std::strncpy(lf.lfFaceName, dialog.strFaceName.c_str(), LF_FACESIZE - 1);
        pState->hFont = ::CreateFontIndirect(&lf);
        pState->bOwnFont = pState->hFont != nullptr;
    }
    if (pState->hFont) {
        pState->sizeBase = MeasureFont(pState->hFont);
    } else {
        LONG nUnits = ::GetDialogBaseUnits();
        pState->sizeBase = { LOWORD(nUnits), HIWORD(nUnits) };
    }

    DWORD dwStyle = dialog.dwStyle;
    DWORD dwExStyle = dialog.dwExStyle;
    if (dwStyle & DS_MODALFRAME)
        dwExStyle |= WS_EX_DLGMODALFRAME;
    RECT rc { dialog.x, dialog.y, dialog.x + dialog.cx, dialog.y + dialog.cy };
    rc = { ScaleBy(rc.left, pState->sizeBase.cx, 4), ScaleBy(rc.top, pState->sizeBase.cy, 8),
        ScaleBy(rc.right, pState->sizeBase.cx, 4), ScaleBy(rc.bottom, pState->sizeBase.cy, 8) };
    POINT ptClient { rc.left, rc.top };
    ::AdjustWindowRectEx(&rc, dwStyle, FALSE, dwExStyle);
    SIZE sizeWindow { rc.right - rc.left, rc.bottom - rc.top };
    POINT ptWindow { rc.left, rc.top };
    HWND hWndOwner = nullptr;
    if (!(dwStyle & WS_CHILD)) {
        hWndOwner = hWndParent ? ::GetAncestor(hWndParent, GA_ROOT) : nullptr;
        ptWindow = PlacePopup(hWndOwner, dwStyle, ptClient, sizeWindow);
    }

    t_pCreatingState = pState;
    HWND hDlg = ::CreateWindowEx(dwExStyle, WC_DIALOG, dialog.strCaption.c_str(), dwStyle & ~WS_VISIBLE, ptWindow.x,
        ptWindow.y, sizeWindow.cx, sizeWindow.cy, (dwStyle & WS_CHILD) ? hWndParent : hWndOwner, nullptr, hInstance,
        nullptr);
    if (t_pCreatingState) {
        // The window was never made, so WM_NCCREATE never took the state.
        t_pCreatingState = nullptr;
        if (pState->bOwnFont)
            ::DeleteObject(pState->hFont);
        delete pState;
        return nullptr;
    }
    if (!hDlg)
        return nullptr;

    if (pState->hFont)
        ::SendMessage(hDlg, WM_SETFONT, reinterpret_cast<WPARAM>(pState->hFont), FALSE);
    HWND hWndFirst = CreateControls(hDlg, hInstance, dialog, *pState);
    if (!hWndFirst) {
        DWORD dwError = ::GetLastError();
        ::DestroyWindow(hDlg);
        ::SetLastError(dwError);
        return nullptr;
    }
    for (HWND hCtl = ::GetWindow(hDlg, GW_CHILD); hCtl && !pState->nDefId; hCtl = ::GetWindow(hCtl, GW_HWNDNEXT)) {
        if (DlgCodeOf(hCtl) & DLGC_DEFPUSHBUTTON)
            pState->nDefId = static_cast<UINT>(::GetDlgCtrlID(hCtl));
    }

    for (const DialogInitEntry& entry : dialog.initData)
        ::SendDlgItemMessage(
            hDlg, entry.nControlId, entry.nMessage, 0, reinterpret_cast<LPARAM>(entry.strText.c_str()));
    if (!::IsWindow(hDlg))
        return nullptr;

    HWND hWndTab = ::GetNextDlgTabItem(hDlg, nullptr, FALSE);
    LRESULT bSetFocus = ::SendMessage(hDlg, WM_INITDIALOG, reinterpret_cast<WPARAM>(hWndTab), lParamInit);
    if (!::IsWindow(hDlg))
        return nullptr;
    if (bSetFocus && hWndTab)
        pState->hWndFocusSave = hWndTab;
    if (dwStyle & WS_VISIBLE) {
        ::ShowWindow(hDlg, SW_SHOWNORMAL);
        if (pState->hWndFocusSave && ::IsWindow(pState->hWndFocusSave))
            FocusControl(pState->hWndFocusSave);
    }
    return hDlg;
}

HWND CreateDialogParam(
    HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc, LPARAM lParamInit)
{
    DialogTemplate dialog;
    if (!LoadDialogResource(hInstance, lpTemplateName, dialog))
        return nullptr;
    return CreateDialogIndirectParam(hInstance, &dialog, hWndParent, lpDialogFunc, lParamInit);
}

/***** Modal dialogs *****/

MODALDIALOGHOOK SetThreadModalDialogHook(MODALDIALOGHOOK pfnHook)
{
    MODALDIALOGHOOK pfnOld = t_pfnModalHook;
    t_pfnModalHook = pfnHook;
    return pfnOld;
}

void CallModalDialogHook(HWND hDlg)
{
    if (t_pfnModalHook)
        t_pfnModalHook(hDlg);
}

INT_PTR DialogBoxIndirectParam(
    HINSTANCE hInstance, LPCDLGTEMPLATE lpTemplate, HWND hWndParent, DLGPROC lpDialogFunc, LPARAM lParamInit)
{
    HWND hDlg = ::CreateDialogIndirectParam(hInstance, lpTemplate, hWndParent, lpDialogFunc, lParamInit);
    if (!hDlg)
        return -1;
    DialogState* pState = StateOf(hDlg);
    pState->bModal = true;
    HWND hWndOwner = ::GetWindow(hDlg, GW_OWNER);
    if (hWndOwner && ::IsWindowEnabled(hWndOwner)) {
        ::EnableWindow(hWndOwner, FALSE);
        pState->hWndDisabledOwner = hWndOwner;
    }
    if (!pState->bEnded && !::IsWindowVisible(hDlg))
        ::ShowWindow(hDlg, SW_SHOWNORMAL); // activation puts the focus on the control chosen
    if (!pState->bEnded)
        CallModalDialogHook(hDlg);
    INT_PTR nResult = ::IsWindow(hDlg) ? RunModalLoop(hDlg, *pState) : 0;
    if (::IsWindow(hDlg)) {
        if (pState->hWndDisabledOwner) {
            ::EnableWindow(pState->hWndDisabledOwner, TRUE);
            pState->hWndDisabledOwner = nullptr;
        }
        ::DestroyWindow(hDlg);
    }
    return nResult;
}

INT_PTR DialogBoxParam(
    HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc, LPARAM lParamInit)
{
    DialogTemplate dialog;
    if (!LoadDialogResource(hInstance, lpTemplateName, dialog))
        return -1;
    return DialogBoxIndirectParam(hInstance, &dialog, hWndParent, lpDialogFunc, lParamInit);
}

BOOL EndDialog(HWND hDlg, INT_PTR nResult)
{
    DialogState* pState = StateOf(hDlg);
    if (!pState) {
        ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    pState->nResult = nResult;
    pState->bEnded = true;
    // The owner comes back before the dialog hides, so that it is the one activated.
    if (pState->hWndDisabledOwner) {
        ::EnableWindow(pState->hWndDisabledOwner, TRUE);
        pState->hWndDisabledOwner = nullptr;
    }
    ::ShowWindow(hDlg, SW_HIDE);
    // Wakes the modal loop should it be waiting for a message.
    if (pState->bModal)
        ::PostMessage(hDlg, WM_NULL, 0, 0);
    return TRUE;
}

BOOL GetDialogResult(HWND hDlg, INT_PTR* pnResult)
{
    const DialogState* pState = StateOf(hDlg);
    if (!pState || !pState->bEnded)
        return FALSE;
    if (pnResult)
        *pnResult = pState->nResult;
    return TRUE;
}

/***** The default procedure *****/

LRESULT DefDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_NCCREATE && t_pCreatingState) {
        ::SetWindowLongPtr(hDlg, DWLP_STATE, reinterpret_cast<LONG_PTR>(t_pCreatingState));
        ::SetWindowLongPtr(hDlg, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(t_pCreatingState->pfnDlgProc));
        t_pCreatingState = nullptr;
    }
    auto* pState = reinterpret_cast<DialogState*>(::GetWindowLongPtr(hDlg, DWLP_STATE));
    auto pfnDlgProc = reinterpret_cast<DLGPROC>(::GetWindowLongPtr(hDlg, DWLP_DLGPROC));
    if (pfnDlgProc && uMsg != WM_NCDESTROY) {
        ::SetWindowLongPtr(hDlg, DWLP_MSGRESULT, 0);
        INT_PTR nHandled = pfnDlgProc(hDlg, uMsg, wParam, lParam);
        if (!::IsWindow(hDlg))
            return nHandled;
        if (nHandled) {
            bool bDirect = uMsg == WM_INITDIALOG || IsCtlColorMessage(uMsg);
            return bDirect ? nHandled : ::GetWindowLongPtr(hDlg, DWLP_MSGRESULT);
        }
    }
    if (!pState)
        return ::DefWindowProc(hDlg, uMsg, wParam, lParam);

    switch (uMsg) {
    case WM_SETFONT:
        pState->hFont = reinterpret_cast<HFONT>(wParam);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(pState->hFont);
    case DM_GETDEFID:
        return pState->nDefId ? MAKELONG(static_cast<WORD>(pState->nDefId), DC_HASDEFID) : 0;
    case DM_SETDEFID:
        SetDefaultButton(hDlg, *pState, static_cast<UINT>(wParam));
        return TRUE;
    case WM_NEXTDLGCTL: {
        HWND hCtl = lParam ? reinterpret_cast<HWND>(wParam) : ::GetNextDlgTabItem(hDlg, ::GetFocus(), wParam != 0);
        FocusControl(hCtl);
        return 0;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND hWndFocus = ::GetFocus();
            if (hWndFocus && ::IsChild(hDlg, hWndFocus))
                pState->hWndFocusSave = hWndFocus;
            return 0;
        }
        [[fallthrough]];
    case WM_SETFOCUS: {
        // The focus goes back as the keyboard would bring it: an edit's text
        // selected. A dialog without a control to take it keeps it itself.
        HWND hCtl = pState->hWndFocusSave;
        if (!hCtl || !::IsWindow(hCtl) || !::IsChild(hDlg, hCtl) || !IsNavigable(hCtl))
            hCtl = ::GetNextDlgTabItem(hDlg, nullptr, FALSE);
        if (hCtl)
            FocusControl(hCtl);
        else if (uMsg == WM_ACTIVATE)
            ::SetFocus(hDlg);
        return 0;
    }
    case WM_CLOSE:
        PressButton(hDlg, IDCANCEL);
        return 0;
    case WM_ERASEBKGND: {
        // The background is what the dialog answers to its own WM_CTLCOLORDLG.
        auto hdc = reinterpret_cast<HDC>(wParam);
        auto hbr
            = reinterpret_cast<HBRUSH>(::SendMessage(hDlg, WM_CTLCOLORDLG, wParam, reinterpret_cast<LPARAM>(hDlg)));
        if (!hbr)
            hbr = DefaultControlColors(hdc, WM_CTLCOLORDLG);
        RECT rc {};
        ::GetClipBox(hdc, &rc);
        ::FillRect(hdc, &rc, hbr);
        return 1;
    }
    case WM_NCDESTROY:
        ::SetWindowLongPtr(hDlg, DWLP_STATE, 0);
        if (pState->bOwnFont)
            ::DeleteObject(pState->hFont);
        delete pState;
        return ::DefWindowProc(hDlg, uMsg, wParam, lParam);
    default:
        return ::DefWindowProc(hDlg, uMsg, wParam, lParam);
    }
}

/***** Dialog units *****/

LONG GetDialogBaseUnits()
{
    static const SIZE s_sizeSystem = MeasureFont(static_cast<HFONT>(::GetStockObject(SYSTEM_FONT)));
    return MAKELONG(static_cast<WORD>(s_sizeSystem.cx), static_cast<WORD>(s_sizeSystem.cy));
}

BOOL MapDialogRect(HWND hDlg, LPRECT lpRect)
{
    DialogState* pState = StateOf(hDlg);
    if (!pState || !lpRect) {
        ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    const SIZE& base = pState->sizeBase;
    *lpRect = { ScaleBy(lpRect->left, base.cx, 4), ScaleBy(lpRect->top, base.cy, 8), ScaleBy(lpRect->right, base.cx, 4),
        ScaleBy(lpRect->bottom, base.cy, 8) };
    return TRUE;
}

/***** Keyboard navigation *****/

HWND GetNextDlgTabItem(HWND hDlg, HWND hCtl, BOOL bPrevious)
{
    std::vector<HWND> children = ChildrenOf(hDlg);
    size_t nCount = children.size();
    auto itStart = std::find(children.begin(), children.end(), hCtl);
    // Without a starting control the walk starts just outside either end.
    size_t nStart
        = itStart != children.end() ? static_cast<size_t>(itStart - children.begin()) : (bPrevious ? 0 : nCount - 1);
    for (size_t nStep = 1; nStep <= nCount; ++nStep) {
        size_t nIndex = bPrevious ? (nStart + nCount - nStep) % nCount : (nStart + nStep) % nCount;
        if ((StyleOf(children[nIndex]) & WS_TABSTOP) && IsNavigable(children[nIndex]))
            return children[nIndex];
    }
    return nullptr;
}

HWND GetNextDlgGroupItem(HWND hDlg, HWND hCtl, BOOL bPrevious)
{
    // A control of a nested control parent moves within its own group there.
    if (!hCtl || !::IsChild(hDlg, hCtl))
        return ::GetNextDlgTabItem(hDlg, nullptr, bPrevious);
    // The group: from the control with WS_GROUP at or before hCtl to the one before the next WS_GROUP.
    HWND hGroupFirst = hCtl;
    while (!(StyleOf(hGroupFirst) & WS_GROUP)) {
        HWND hPrev = ::GetWindow(hGroupFirst, GW_HWNDPREV);
        if (!hPrev)
            break;
        hGroupFirst = hPrev;
    }
    HWND hGroupLast = hGroupFirst;
    for (HWND hNext = ::GetWindow(hGroupFirst, GW_HWNDNEXT); hNext && !(StyleOf(hNext) & WS_GROUP);
         hNext = ::GetWindow(hNext, GW_HWNDNEXT))
        hGroupLast = hNext;

    HWND hWnd = hCtl;
    do {
        if (bPrevious)
            hWnd = hWnd == hGroupFirst ? hGroupLast : ::GetWindow(hWnd, GW_HWNDPREV);
        else
            hWnd = hWnd == hGroupLast ? hGroupFirst : ::GetWindow(hWnd, GW_HWNDNEXT);
        if (IsNavigable(hWnd))
            return hWnd;
    } while (hWnd != hCtl);
    return hCtl;
}

BOOL IsDialogMessage(HWND hDlg, LPMSG lpMsg)
{
    if (!lpMsg || !hDlg || (lpMsg->hwnd != hDlg && !::IsChild(hDlg, lpMsg->hwnd)))
        return FALSE;
    HWND hWndFocus = lpMsg->hwnd;
    switch (lpMsg->message) {
    case WM_KEYDOWN: {
        UINT nCode = DlgCodeOf(hWndFocus, lpMsg->wParam, lpMsg);
        if (nCode & DLGC_WANTALLKEYS)
            break;
        switch (lpMsg->wParam) {
        case VK_TAB:
            if (nCode & DLGC_WANTTAB)
                break;
            FocusControl(::GetNextDlgTabItem(hDlg, hWndFocus, ::GetKeyState(VK_SHIFT) < 0));
            return TRUE;
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN: {
            if (nCode & DLGC_WANTARROWS)
                break;
            BOOL bPrevious = lpMsg->wParam == VK_LEFT || lpMsg->wParam == VK_UP;
            HWND hNext = ::GetNextDlgGroupItem(hDlg, hWndFocus, bPrevious);
            if (hNext && hNext != hWndFocus) {
                FocusControl(hNext);
                if (DlgCodeOf(hNext) & DLGC_RADIOBUTTON)
                    ::SendMessage(hNext, BM_CLICK, 0, 0);
            }
            return TRUE;
        }
        case VK_RETURN: {
            int nId = IDOK;
            if (nCode & DLGC_DEFPUSHBUTTON || nCode & DLGC_UNDEFPUSHBUTTON) {
                nId = ::GetDlgCtrlID(hWndFocus);
            } else if (LRESULT nDef = ::SendMessage(hDlg, DM_GETDEFID, 0, 0); HIWORD(nDef) == DC_HASDEFID) {
                nId = LOWORD(nDef);
            }
            PressButton(hDlg, nId);
            return TRUE;
        }
        case VK_ESCAPE:
            PressButton(hDlg, IDCANCEL);
            return TRUE;
        default:
            break;
        }
        break;
    }
    case WM_CHAR: {
        UINT nCode = DlgCodeOf(hWndFocus, lpMsg->wParam, lpMsg);
        if (nCode & (DLGC_WANTCHARS | DLGC_WANTALLKEYS))
            break;
        if (lpMsg->wParam >= 0x20 && HandleMnemonic(hDlg, static_cast<char>(lpMsg->wParam)))
            return TRUE;
        break;
    }
    case WM_SYSCHAR:
        if (HandleMnemonic(hDlg, static_cast<char>(lpMsg->wParam)))
            return TRUE;
        break;
    default:
        break;
    }
    ::TranslateMessage(lpMsg);
    ::DispatchMessage(lpMsg);
    return TRUE;
}

/***** Controls by ID *****/

LRESULT SendDlgItemMessage(HWND hDlg, int nIDDlgItem, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    HWND hCtl = ::GetDlgItem(hDlg, nIDDlgItem);
    return hCtl ? ::SendMessage(hCtl, uMsg, wParam, lParam) : 0;
}

BOOL SetDlgItemText(HWND hDlg, int nIDDlgItem, LPCSTR lpString)
{
    HWND hCtl = ::GetDlgItem(hDlg, nIDDlgItem);
    return hCtl ? ::SetWindowText(hCtl, lpString) : FALSE;
}

UINT GetDlgItemText(HWND hDlg, int nIDDlgItem, LPSTR lpString, int cchMax)
{
    HWND hCtl = ::GetDlgItem(hDlg, nIDDlgItem);
    if (!hCtl) {
        if (lpString && cchMax > 0)
            *lpString = '\0';
        return 0;
    }
    return static_cast<UINT>(::GetWindowText(hCtl, lpString, cchMax));
}

BOOL SetDlgItemInt(HWND hDlg, int nIDDlgItem, UINT uValue, BOOL bSigned)
{
    std::string strValue = bSigned ? std::to_string(static_cast<int>(uValue)) : std::to_string(uValue);
    return ::SetDlgItemText(hDlg, nIDDlgItem, strValue.c_str());
}

UINT GetDlgItemInt(HWND hDlg, int nIDDlgItem, BOOL* lpTranslated, BOOL bSigned)
{
    if (lpTranslated)
        *lpTranslated = FALSE;
    HWND hCtl = ::GetDlgItem(hDlg, nIDDlgItem);
    if (!hCtl)
        return 0;
    std::string strText(static_cast<size_t>(::GetWindowTextLength(hCtl)) + 1, '\0');
    ::GetWindowText(hCtl, strText.data(), static_cast<int>(strText.size()));
    const char* p = strText.c_str();
    while (*p == ' ' || *p == '\t')
        ++p;
    bool bNegative = false;
    if (bSigned && *p == '-') {
        bNegative = true;
        ++p;
    }
    if (*p < '0' || *p > '9')
        return 0;
    unsigned long long nValue = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        nValue = nValue * 10 + static_cast<unsigned>(*p - '0');
        if (nValue > 0xFFFFFFFFull)
            return 0;
    }
    while (*p == ' ' || *p == '\t')
        ++p;
    if (*p != '\0')
        return 0;
    if (bSigned && nValue > (bNegative ? 0x80000000ull : 0x7FFFFFFFull))
        return 0;
    if (lpTranslated)
        *lpTranslated = TRUE;
    return bNegative ? static_cast<UINT>(-static_cast<long long>(nValue)) : static_cast<UINT>(nValue);
}

BOOL CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck)
{
    HWND hCtl = ::GetDlgItem(hDlg, nIDButton);
    if (!hCtl)
        return FALSE;
    ::SendMessage(hCtl, BM_SETCHECK, uCheck, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND hDlg, int nIDButton)
{
    return static_cast<UINT>(::SendDlgItemMessage(hDlg, nIDButton, BM_GETCHECK, 0, 0));
}

BOOL CheckRadioButton(HWND hDlg, int nIDFirstButton, int nIDLastButton, int nIDCheckButton)
{
    if (!::GetDlgItem(hDlg, nIDCheckButton))
        return FALSE;
    for (int nId = nIDFirstButton; nId <= nIDLastButton; ++nId) {
        if (HWND hCtl = ::GetDlgItem(hDlg, nId))
            ::SendMessage(hCtl, BM_SETCHECK, nId == nIDCheckButton ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    return TRUE;
}
