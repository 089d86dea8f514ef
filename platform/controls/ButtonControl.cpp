#include "platform/controls/ButtonControl.h"

#include "platform/controls/ControlInternal.h"
#include "platform/controls/StaticControl.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/Rects.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"

#include <string>

namespace {

constexpr int CHECK_BOX_SIZE = 13; // the square of check boxes and radio buttons
constexpr int CHECK_TEXT_GAP = 4;  // between that square and the text

struct CButtonState : CControlState {
    UINT nCheck { BST_UNCHECKED };
    bool bPushed { false };
    bool bFocus { false };
    bool bSpaceDown { false }; // pushed by the space bar, to be clicked when it is released
    UINT nImageType { IMAGE_BITMAP };
    HANDLE hImage { nullptr }; // BM_SETIMAGE; the caller keeps ownership
};

DWORD ButtonStyle(HWND hWnd)
{
    return static_cast<DWORD>(GetWindowLongPtr(hWnd, GWL_STYLE));
}

bool IsCheckKind(DWORD dwType)
{
    switch (dwType) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_AUTORADIOBUTTON:
        return true;
    default:
        return false;
    }
}

bool IsRadioKind(DWORD dwType)
{
    return dwType == BS_RADIOBUTTON || dwType == BS_AUTORADIOBUTTON;
}

// The kinds that report a double click by themselves; the others take it as a press.
bool SendsDoubleClick(DWORD dwStyle)
{
    DWORD dwType = dwStyle & BS_TYPEMASK;
    return IsRadioKind(dwType) || dwType == BS_OWNERDRAW || dwType == BS_USERBUTTON || (dwStyle & BS_NOTIFY);
}

/***** Painting *****/

// Text or image in `rc`, greyed when the button is disabled.
void DrawButtonContent(HWND hWnd, HDC hdc, RECT rc, UINT uFormat)
{
    const CButtonState* pState = GetControlState<CButtonState>(hWnd);
    const DWORD dwStyle = ButtonStyle(hWnd);
    if (dwStyle & (BS_BITMAP | BS_ICON)) {
        DrawControlImage(hdc, pState->nImageType, pState->hImage, rc, TRUE);
        return;
    }
    if (!IsWindowEnabled(hWnd))
        SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
    SetBkMode(hdc, TRANSPARENT);
    std::string text = ControlText(hWnd);
    if (dwStyle & BS_MULTILINE)
        uFormat = (uFormat & ~(DT_SINGLELINE | DT_VCENTER)) | DT_WORDBREAK;
    DrawText(hdc, text.c_str(), static_cast<int>(text.size()), &rc, uFormat);
}

void PaintPushButton(HWND hWnd, HDC hdc, RECT rc)
{
    const CButtonState* pState = GetControlState<CButtonState>(hWnd);
    const DWORD dwStyle = ButtonStyle(hWnd);
    if ((dwStyle & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
        FrameRect(hdc, &rc, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&rc, -1, -1);
    }
    const bool bDown = pState->bPushed || ((dwStyle & BS_PUSHLIKE) && pState->nCheck != BST_UNCHECKED);
    DrawFrameControl(hdc, &rc, DFC_BUTTON, DFCS_BUTTONPUSH | (bDown ? DFCS_PUSHED : 0));
    RECT rcContent = rc;
    InflateRect(&rcContent, -2, -2);
    if (bDown)
        OffsetRect(&rcContent, 1, 1);
    DrawButtonContent(hWnd, hdc, rcContent, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (pState->bFocus) {
        InflateRect(&rc, -3, -3);
        DrawFocusRect(hdc, &rc);
    }
}

void PaintCheckButton(HWND hWnd, HDC hdc, const RECT& rc, HBRUSH hBrush)
{
    const CButtonState* pState = GetControlState<CButtonState>(hWnd);
    const DWORD dwStyle = ButtonStyle(hWnd);
    const DWORD dwType = dwStyle & BS_TYPEMASK;
    FillRect(hdc, &rc, hBrush);

    RECT rcBox = rc;
    rcBox.top = rc.top + (rc.bottom - rc.top - CHECK_BOX_SIZE) / 2;
    rcBox.bottom = rcBox.top + CHECK_BOX_SIZE;
    RECT rcText = rc;
    if (dwStyle & BS_LEFTTEXT) {
        rcBox.left = rc.right - CHECK_BOX_SIZE;
        rcText.right = rcBox.left - CHECK_TEXT_GAP;
    } else {
        rcBox.right = rc.left + CHECK_BOX_SIZE;
        rcText.left = rcBox.right + CHECK_TEXT_GAP;
    }
    rcBox.right = rcBox.left + CHECK_BOX_SIZE;

    UINT uState = IsRadioKind(dwType) ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK;
    if (pState->nCheck == BST_INDETERMINATE)
        uState = DFCS_BUTTON3STATE | DFCS_CHECKED;
    else if (pState->nCheck == BST_CHECKED)
        uState |= DFCS_CHECKED;
    if (pState->bPushed)
        uState |= DFCS_PUSHED;
    if (!IsWindowEnabled(hWnd))
        uState |= DFCS_INACTIVE;
    DrawFrameControl(hdc, &rcBox, DFC_BUTTON, uState);

    DrawButtonContent(hWnd, hdc, rcText, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    if (pState->bFocus) {
        std::string text = ControlText(hWnd);
        RECT rcFocus = rcText;
        DrawText(hdc, text.c_str(), static_cast<int>(text.size()), &rcFocus, DT_LEFT | DT_SINGLELINE | DT_CALCRECT);
        OffsetRect(&rcFocus, 0, (rcText.bottom - rcText.top - (rcFocus.bottom - rcFocus.top)) / 2);
        InflateRect(&rcFocus, 1, 1);
        DrawFocusRect(hdc, &rcFocus);
    }
}

// A group box leaves its inside to the parent and the controls it groups:
// only the frame and the caption are drawn.
void PaintGroupBox(HWND hWnd, HDC hdc, const RECT& rc, HBRUSH hBrush)
{
    TEXTMETRIC tm {};
    GetTextMetrics(hdc, &tm);
    RECT rcFrame = rc;
    rcFrame.top += tm.tmHeight / 2;
    DrawEdge(hdc, &rcFrame, EDGE_ETCHED, BF_RECT);

    std::string text = ControlText(hWnd);
    if (text.empty())
        return;
    RECT rcText { rc.left + 8, rc.top, rc.right - 8, rc.top + tm.tmHeight };
    DrawText(hdc, text.c_str(), static_cast<int>(text.size()), &rcText, DT_LEFT | DT_SINGLELINE | DT_CALCRECT);
    InflateRect(&rcText, 2, 0);
    FillRect(hdc, &rcText, hBrush);
    InflateRect(&rcText, -2, 0);
    DrawButtonContent(hWnd, hdc, rcText, DT_LEFT | DT_SINGLELINE);
}

void PaintButton(HWND hWnd, HDC hdc)
{
    const CButtonState* pState = GetControlState<CButtonState>(hWnd);
    const DWORD dwStyle = ButtonStyle(hWnd);
    const DWORD dwType = dwStyle & BS_TYPEMASK;
    RECT rc {};
    GetClientRect(hWnd, &rc);
    if (dwType == BS_OWNERDRAW) {
        UINT nItemState = (pState->bPushed ? ODS_SELECTED : 0) | (pState->bFocus ? ODS_FOCUS : 0)
            | (IsWindowEnabled(hWnd) ? 0 : ODS_DISABLED);
        SendDrawItem(hWnd, hdc, ODT_BUTTON, ODA_DRAWENTIRE, nItemState);
        return;
    }
    HBRUSH hBrush = PrepareControlDC(hWnd, hdc, WM_CTLCOLORBTN);
    if (dwType == BS_GROUPBOX)
        PaintGroupBox(hWnd, hdc, rc, hBrush);
    else if (IsCheckKind(dwType) && !(dwStyle & BS_PUSHLIKE))
        PaintCheckButton(hWnd, hdc, rc, hBrush);
    else
        PaintPushButton(hWnd, hdc, rc);
}

/***** State changes *****/

void SetPushed(HWND hWnd, bool bPushed)
{
    CButtonState* pState = GetControlState<CButtonState>(hWnd);
    if (pState->bPushed == bPushed)
        return;
    pState->bPushed = bPushed;
    InvalidateRect(hWnd, nullptr, FALSE);
}

// A radio button is a tab stop while it is checked, so that Tab enters its
// group on the chosen button; the others of the group are left to arrows.
void SetRadioTabStop(HWND hWnd, bool bChecked)
{
    const DWORD dwStyle = ButtonStyle(hWnd);
    const DWORD dwNew = bChecked ? (dwStyle | WS_TABSTOP) : (dwStyle & ~WS_TABSTOP);
    if (dwNew != dwStyle)
        SetWindowLongPtr(hWnd, GWL_STYLE, static_cast<LONG_PTR>(dwNew));
}

void SetCheck(HWND hWnd, WPARAM nCheck)
{
    const DWORD dwType = ButtonStyle(hWnd) & BS_TYPEMASK;
    if (!IsCheckKind(dwType))
        return;
    UINT nNew = BST_UNCHECKED;
    if (nCheck == BST_INDETERMINATE && (dwType == BS_3STATE || dwType == BS_AUTO3STATE))
        nNew = BST_INDETERMINATE;
    else if (nCheck != BST_UNCHECKED)
        nNew = BST_CHECKED;
    if (IsRadioKind(dwType))
        SetRadioTabStop(hWnd, nNew == BST_CHECKED);
    CButtonState* pState = GetControlState<CButtonState>(hWnd);
    if (pState->nCheck == nNew)
        return;
    pState->nCheck = nNew;
    InvalidateRect(hWnd, nullptr, FALSE);
}

bool IsAutoRadioButton(HWND hWnd)
{
    return (SendMessage(hWnd, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON)
        && (static_cast<DWORD>(GetWindowLongPtr(hWnd, GWL_STYLE)) & BS_TYPEMASK) == BS_AUTORADIOBUTTON;
}

// Unchecks the other automatic radio buttons of hWnd's group.
void UncheckRadioGroup(HWND hWnd)
{
    HWND hFirst = hWnd;
    while (!(GetWindowLongPtr(hFirst, GWL_STYLE) & WS_GROUP)) {
        HWND hPrev = GetWindow(hFirst, GW_HWNDPREV);
        if (!hPrev)
            break;
        hFirst = hPrev;
    }
    for (HWND hSibling = hFirst; hSibling; hSibling = GetWindow(hSibling, GW_HWNDNEXT)) {
        if (hSibling != hFirst && (GetWindowLongPtr(hSibling, GWL_STYLE) & WS_GROUP))
            break;
        if (hSibling != hWnd && IsAutoRadioButton(hSibling))
            SendMessage(hSibling, BM_SETCHECK, BST_UNCHECKED, 0);
    }
}

// Changes the check state as the kind asks, then tells the parent. The parent
// may destroy the button in its handler, so nothing follows the notification.
void ClickButton(HWND hWnd)
{
    CButtonState* pState = GetControlState<CButtonState>(hWnd);
    switch (ButtonStyle(hWnd) & BS_TYPEMASK) {
    case BS_AUTOCHECKBOX:
        SetCheck(hWnd, pState->nCheck == BST_UNCHECKED ? BST_CHECKED : BST_UNCHECKED);
        break;
    case BS_AUTO3STATE:
        SetCheck(hWnd, (pState->nCheck + 1) % 3);
        break;
    case BS_AUTORADIOBUTTON:
        SetCheck(hWnd, BST_CHECKED);
        UncheckRadioGroup(hWnd);
        break;
    default:
        break;
    }
    NotifyParent(hWnd, BN_CLICKED);
}

void PressButton(HWND hWnd)
{
    SetFocus(hWnd);
    SetCapture(hWnd);
    SetPushed(hWnd, true);
}

void ReleaseButton(HWND hWnd, LPARAM lParam)
{
    if (GetCapture() != hWnd)
        return;
    RECT rc {};
    GetClientRect(hWnd, &rc);
    const bool bClick = GetControlState<CButtonState>(hWnd)->bPushed && PtInRect(&rc, MousePointOf(lParam));
    SetPushed(hWnd, false);
    ReleaseCapture();
    if (bClick)
        ClickButton(hWnd);
}

LRESULT DialogCode(DWORD dwStyle)
{
    switch (dwStyle & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
        return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case BS_DEFPUSHBUTTON:
        return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return DLGC_BUTTON | DLGC_RADIOBUTTON;
    case BS_GROUPBOX:
        return DLGC_STATIC;
    default:
        return DLGC_BUTTON;
    }
}

LRESULT SetImage(HWND hWnd, UINT nImageType, HANDLE hImage)
{
    CButtonState* pState = GetControlState<CButtonState>(hWnd);
    HANDLE hPrevious = pState->hImage;
    pState->nImageType = nImageType;
    pState->hImage = hImage;
    InvalidateRect(hWnd, nullptr, FALSE);
    return reinterpret_cast<LRESULT>(hPrevious);
}

/***** Input and focus *****/

// Pushes the button while the mouse holds it and is over it.
void OnDrag(HWND hWnd, LPARAM lParam)
{
    if (GetCapture() != hWnd)
        return;
    RECT rc {};
    GetClientRect(hWnd, &rc);
    SetPushed(hWnd, PtInRect(&rc, MousePointOf(lParam)));
}

void OnSpaceUp(HWND hWnd)
{
    CButtonState* pState = GetControlState<CButtonState>(hWnd);
    if (!pState->bSpaceDown)
        return;
    pState->bSpaceDown = false;
    const bool bClick = pState->bPushed;
    SetPushed(hWnd, false);
    if (bClick)
        ClickButton(hWnd);
}

void OnFocus(HWND hWnd, bool bFocus)
{
    CButtonState* pState = GetControlState<CButtonState>(hWnd);
    pState->bFocus = bFocus;
    if (!bFocus) {
        pState->bSpaceDown = false;
        SetPushed(hWnd, false);
        if (GetCapture() == hWnd)
            ReleaseCapture();
    }
    InvalidateRect(hWnd, nullptr, FALSE);
    if (ButtonStyle(hWnd) & BS_NOTIFY)
        NotifyParent(hWnd, bFocus ? BN_SETFOCUS : BN_KILLFOCUS);
}

// Answers mouse and key messages; FALSE for other messages.
BOOL HandleButtonInput(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    CButtonState* pState = GetControlState<CButtonState>(hWnd);
    const DWORD dwStyle = ButtonStyle(hWnd);
    const bool bGroupBox = (dwStyle & BS_TYPEMASK) == BS_GROUPBOX;
    switch (uMsg) {
    case WM_LBUTTONDBLCLK:
        if (SendsDoubleClick(dwStyle)) {
            NotifyParent(hWnd, BN_DOUBLECLICKED);
            return TRUE;
        }
        [[fallthrough]];
    case WM_LBUTTONDOWN:
        if (!bGroupBox)
            PressButton(hWnd);
        return TRUE;
    case WM_MOUSEMOVE:
        OnDrag(hWnd, lParam);
        return TRUE;
    case WM_LBUTTONUP:
        ReleaseButton(hWnd, lParam);
        return TRUE;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hWnd && !pState->bSpaceDown)
            SetPushed(hWnd, false);
        return TRUE;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE && !bGroupBox && !pState->bPushed) {
            pState->bSpaceDown = true;
            SetPushed(hWnd, true);
        }
        return TRUE;
    case WM_KEYUP:
        if (wParam == VK_SPACE)
            OnSpaceUp(hWnd);
        return TRUE;
    default:
        return FALSE;
    }
}

/***** Button messages *****/

// Answers the BM_* messages; FALSE for other messages.
BOOL HandleButtonMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* plResult)
{
    const CButtonState* pState = GetControlState<CButtonState>(hWnd);
    const DWORD dwStyle = ButtonStyle(hWnd);
    const DWORD dwType = dwStyle & BS_TYPEMASK;
    *plResult = 0;
    switch (uMsg) {
    case BM_GETCHECK:
        *plResult = IsCheckKind(dwType) ? pState->nCheck : BST_UNCHECKED;
        return TRUE;
    case BM_SETCHECK:
        SetCheck(hWnd, wParam);
        return TRUE;
    case BM_GETSTATE:
        *plResult = (IsCheckKind(dwType) ? pState->nCheck : 0) | (pState->bPushed ? BST_PUSHED : 0)
            | (pState->bFocus ? BST_FOCUS : 0);
        return TRUE;
    case BM_SETSTATE:
        SetPushed(hWnd, wParam != 0);
        return TRUE;
    case BM_SETSTYLE:
        SetWindowLongPtr(hWnd, GWL_STYLE, static_cast<LONG_PTR>((dwStyle & 0xFFFF0000) | LOWORD(wParam)));
        if (lParam)
            InvalidateRect(hWnd, nullptr, TRUE);
        return TRUE;
    case BM_CLICK:
        // As the mouse would: a press and a release inside the button.
        if (IsWindowEnabled(hWnd) && dwType != BS_GROUPBOX) {
            SendMessage(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
            SendMessage(hWnd, WM_LBUTTONUP, 0, 0);
        }
        return TRUE;
    case BM_SETIMAGE:
        if (wParam == IMAGE_BITMAP || wParam == IMAGE_ICON)
            *plResult = SetImage(hWnd, static_cast<UINT>(wParam), reinterpret_cast<HANDLE>(lParam));
        return TRUE;
    case BM_GETIMAGE:
        *plResult = pState->nImageType == wParam ? reinterpret_cast<LRESULT>(pState->hImage) : 0;
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

LRESULT CALLBACK ButtonWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    static constexpr CControlLifecycle LIFECYCLE { NewControlState<CButtonState>, PaintButton, true };
    LRESULT lResult = 0;
    if (HandleControlLifecycle(hWnd, uMsg, wParam, lParam, LIFECYCLE, &lResult)
        || HandleButtonMessage(hWnd, uMsg, wParam, lParam, &lResult))
        return lResult;
    if (HandleButtonInput(hWnd, uMsg, wParam, lParam))
        return 0;
    switch (uMsg) {
    case WM_NCHITTEST:
        if ((ButtonStyle(hWnd) & BS_TYPEMASK) == BS_GROUPBOX)
            return HTTRANSPARENT;
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    case WM_GETDLGCODE:
        return DialogCode(ButtonStyle(hWnd));
    case WM_SETTEXT:
        lResult = DefWindowProc(hWnd, uMsg, wParam, lParam);
        InvalidateRect(hWnd, nullptr, TRUE);
        return lResult;
    case WM_ENABLE:
        InvalidateRect(hWnd, nullptr, TRUE);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        OnFocus(hWnd, uMsg == WM_SETFOCUS);
        return 0;
    default:
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    }
}
