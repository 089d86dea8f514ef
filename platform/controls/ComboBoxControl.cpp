#include "platform/controls/ComboBoxControl.h"

#include "platform/controls/ControlInternal.h"
#include "platform/controls/EditControl.h"
#include "platform/controls/ListBoxControl.h"
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
#include "platform/window/SystemMetrics.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <string>

namespace {

constexpr UINT ID_COMBO_LIST = 1000; // the control IDs of a combo box's parts
constexpr UINT ID_COMBO_EDIT = 1001;
constexpr int FIELD_PADDING = 6;                   // the field is this much taller than its item
constexpr UINT FIELD_ITEM = static_cast<UINT>(-1); // the selection field, as owner draw names it
constexpr UINT KEY_F4 = VK_F1 + 3;                 // drops the list down or closes it

struct CComboBoxState : CControlState {
    HWND hEdit { nullptr };
    HWND hList { nullptr };
    int nFieldHeight { 0 };
    int nDroppedHeight { 0 };
    int nDroppedWidth { 0 };
    bool bDropped { false };
    bool bExtendedUI { false }; // CB_SETEXTENDEDUI
    bool bFocus { false };
    bool bSettingEdit { false }; // the edit's text is being set from the list, not typed
};

DWORD ComboStyle(HWND hWnd)
{
    return static_cast<DWORD>(GetWindowLongPtr(hWnd, GWL_STYLE));
}

DWORD ComboKind(HWND hWnd)
{
    return ComboStyle(hWnd) & CBS_TYPEMASK;
}

LRESULT ToList(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return SendMessage(GetControlState<CComboBoxState>(hWnd)->hList, uMsg, wParam, lParam);
}

std::string ItemText(HWND hWnd, LRESULT nIndex)
{
    LRESULT nLength = ToList(hWnd, LB_GETTEXTLEN, static_cast<WPARAM>(nIndex), 0);
    if (nIndex < 0 || nLength == LB_ERR)
        return std::string();
    std::string text(static_cast<size_t>(nLength) + 1, '\0');
    ToList(hWnd, LB_GETTEXT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(nLength));
    return text;
}

RECT ButtonRect(HWND hWnd)
{
    const CComboBoxState* pState = GetControlState<CComboBoxState>(hWnd);
    RECT rc {};
    GetClientRect(hWnd, &rc);
    return RECT { rc.right - 2 - GetSystemMetrics(SM_CXVSCROLL), 2, rc.right - 2, pState->nFieldHeight - 2 };
}

// Shows the selected item in the field.
void UpdateField(HWND hWnd)
{
    CComboBoxState* pState = GetControlState<CComboBoxState>(hWnd);
    if (pState->hEdit) {
        pState->bSettingEdit = true;
        SetWindowText(pState->hEdit, ItemText(hWnd, ToList(hWnd, LB_GETCURSEL, 0, 0)).c_str());
        SendMessage(pState->hEdit, EM_SETSEL, 0, -1);
        pState->bSettingEdit = false;
    }
    InvalidateRect(hWnd, nullptr, FALSE);
}

/***** Dropping the list *****/

void Drop(HWND hWnd)
{
    CComboBoxState* pState = GetControlState<CComboBoxState>(hWnd);
    if (pState->bDropped || ComboKind(hWnd) == CBS_SIMPLE)
        return;
    NotifyParent(hWnd, CBN_DROPDOWN);
    if (!IsWindow(hWnd))
        return;
    RECT rc {};
    GetWindowRect(hWnd, &rc);
    const int cx = std::max<int>(pState->nDroppedWidth, rc.right - rc.left);
    const int cy = std::max(pState->nDroppedHeight, pState->nFieldHeight);
    LRESULT nSel = ToList(hWnd, LB_GETCURSEL, 0, 0);
    if (nSel >= 0)
        ToList(hWnd, LB_SETTOPINDEX, static_cast<WPARAM>(nSel), 0);
    SetWindowPos(pState->hList, HWND_TOPMOST, rc.left, rc.bottom, cx, cy, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    pState->bDropped = true;
    SetCapture(hWnd);
    InvalidateRect(hWnd, nullptr, FALSE);
}

// Closes the list; bOk tells whether the user chose what it shows.
void Close(HWND hWnd, bool bOk)
{
    CComboBoxState* pState = GetControlState<CComboBoxState>(hWnd);
    if (!pState->bDropped)
        return;
    pState->bDropped = false;
    ShowWindow(pState->hList, SW_HIDE);
    if (GetCapture() == hWnd)
        ReleaseCapture();
    InvalidateRect(hWnd, nullptr, FALSE);
    NotifyParent(hWnd, bOk ? CBN_SELENDOK : CBN_SELENDCANCEL);
    if (IsWindow(hWnd))
        NotifyParent(hWnd, CBN_CLOSEUP);
}

// The user chose an item: it becomes the selection and the parent hears of a change.
void UserSelect(HWND hWnd, LRESULT nIndex, bool bClose)
{
    const bool bChanged = ToList(hWnd, LB_GETCURSEL, 0, 0) != nIndex;
    if (nIndex >= 0 && bChanged) {
        ToList(hWnd, LB_SETCURSEL, static_cast<WPARAM>(nIndex), 0);
        UpdateField(hWnd);
    }
    if (bClose)
        Close(hWnd, true);
    if (bChanged && nIndex >= 0 && IsWindow(hWnd))
        NotifyParent(hWnd, CBN_SELCHANGE);
}

/***** Mouse and keyboard *****/

// A point of the combo box's client area in the list's client coordinates; FALSE outside the list.
bool PointInList(HWND hWnd, POINT pt, POINT* pptList)
{
    const CComboBoxState* pState = GetControlState<CComboBoxState>(hWnd);
    ClientToScreen(hWnd, &pt);
    ScreenToClient(pState->hList, &pt);
    *pptList = pt;
    RECT rcClient {};
    GetClientRect(pState->hList, &rcClient);
    return IsWindowVisible(pState->hList) && PtInRect(&rcClient, pt);
}

void OnButtonDown(HWND hWnd, LPARAM lParam)
{
    CComboBoxState* pState = GetControlState<CComboBoxState>(hWnd);
    const POINT pt = MousePointOf(lParam);
    if (pState->bDropped) {
        POINT ptList {};
        RECT rcClient {};
        GetClientRect(hWnd, &rcClient);
        if (!PointInList(hWnd, pt, &ptList) && !PtInRect(&rcClient, pt))
            Close(hWnd, false);
        return;
    }
    SetFocus(pState->hEdit ? pState->hEdit : hWnd);
    RECT rcButton = ButtonRect(hWnd);
    if (ComboKind(hWnd) == CBS_DROPDOWNLIST || PtInRect(&rcButton, pt))
        Drop(hWnd);
}

void OnButtonUp(HWND hWnd, LPARAM lParam)
{
    if (!GetControlState<CComboBoxState>(hWnd)->bDropped)
        return;
    POINT ptList {};
    if (!PointInList(hWnd, MousePointOf(lParam), &ptList))
        return;
    auto dwItem = static_cast<DWORD>(
        ToList(hWnd, LB_ITEMFROMPOINT, 0, MAKELONG(static_cast<WORD>(ptList.x), static_cast<WORD>(ptList.y))));
    if (HIWORD(dwItem) == 0)
        UserSelect(hWnd, LOWORD(dwItem), true);
}

void OnKeyDown(HWND hWnd, WPARAM nKey, bool bAlt)
{
    CComboBoxState* pState = GetControlState<CComboBoxState>(hWnd);
    if (pState->bExtendedUI && ComboKind(hWnd) != CBS_SIMPLE) {
        if (nKey == KEY_F4)
            return;
        if (nKey == VK_DOWN && !bAlt && !pState->bDropped) {
            Drop(hWnd);
            return;
        }
    }
    if (nKey == KEY_F4 || (bAlt && (nKey == VK_DOWN || nKey == VK_UP))) {
        if (pState->bDropped)
            Close(hWnd, true);
        else
            Drop(hWnd);
        return;
    }
    switch (nKey) {
    case VK_UP:
    case VK_DOWN: {
        const LRESULT nCount = ToList(hWnd, LB_GETCOUNT, 0, 0);
        if (nCount == 0)
            return;
        LRESULT nSel = ToList(hWnd, LB_GETCURSEL, 0, 0);
        nSel = std::clamp<LRESULT>(nSel < 0 ? 0 : nSel + (nKey == VK_DOWN ? 1 : -1), 0, nCount - 1);
        UserSelect(hWnd, nSel, false);
        return;
    }
    case VK_RETURN:
        Close(hWnd, true);
        return;
    case VK_ESCAPE:
        Close(hWnd, false);
        return;
    default:
        return;
    }
}

/***** Owner draw *****/

// Passes an owner-draw question from the list on to the parent as the combo box's own.
LRESULT ForwardOwnerDraw(HWND hWnd, UINT uMsg, LPARAM lParam)
{
    HWND hParent = GetParent(hWnd);
    if (!hParent)
        return 0;
    const UINT nId = static_cast<UINT>(GetDlgCtrlID(hWnd));
    switch (uMsg) {
    case WM_DRAWITEM: {
        DRAWITEMSTRUCT dis = *reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        dis.CtlType = ODT_COMBOBOX;
        dis.CtlID = nId;
        dis.hwndItem = hWnd;
        return SendMessage(hParent, WM_DRAWITEM, nId, reinterpret_cast<LPARAM>(&dis));
    }
    case WM_MEASUREITEM: {
        auto* pMis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        pMis->CtlType = ODT_COMBOBOX;
        pMis->CtlID = nId;
        return SendMessage(hParent, WM_MEASUREITEM, nId, lParam);
    }
    case WM_COMPAREITEM: {
        COMPAREITEMSTRUCT cis = *reinterpret_cast<COMPAREITEMSTRUCT*>(lParam);
        cis.CtlType = ODT_COMBOBOX;
        cis.CtlID = nId;
        cis.hwndItem = hWnd;
        return SendMessage(hParent, WM_COMPAREITEM, nId, reinterpret_cast<LPARAM>(&cis));
    }
    default: {
        DELETEITEMSTRUCT dis = *reinterpret_cast<DELETEITEMSTRUCT*>(lParam);
        dis.CtlType = ODT_COMBOBOX;
        dis.CtlID = nId;
        dis.hwndItem = hWnd;
        return SendMessage(hParent, WM_DELETEITEM, nId, reinterpret_cast<LPARAM>(&dis));
    }
    }
}

/***** Painting *****/

void PaintComboBox(HWND hWnd, HDC hdc)
{
    const CComboBoxState* pState = GetControlState<CComboBoxState>(hWnd);
    const DWORD dwStyle = ComboStyle(hWnd);
    if (ComboKind(hWnd) == CBS_SIMPLE)
        return;
    HBRUSH hBrush = PrepareControlDC(hWnd, hdc, WM_CTLCOLOREDIT);
    RECT rcField {};
    GetClientRect(hWnd, &rcField);
    rcField.bottom = pState->nFieldHeight;
    FillRect(hdc, &rcField, hBrush);
    RECT rcEdge = rcField;
    DrawEdge(hdc, &rcEdge, EDGE_SUNKEN, BF_RECT);
    RECT rcButton = ButtonRect(hWnd);
    DrawFrameControl(hdc, &rcButton, DFC_SCROLL,
        DFCS_SCROLLCOMBOBOX | (pState->bDropped ? DFCS_PUSHED : 0) | (IsWindowEnabled(hWnd) ? 0 : DFCS_INACTIVE));
    if (ComboKind(hWnd) != CBS_DROPDOWNLIST)
        return;

    RECT rcText { 3, 3, rcButton.left - 1, pState->nFieldHeight - 3 };
    const LRESULT nSel = ToList(hWnd, LB_GETCURSEL, 0, 0);
    const bool bHighlight = pState->bFocus && !pState->bDropped;
    if (dwStyle & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) {
        DRAWITEMSTRUCT dis { ODT_COMBOBOX, static_cast<UINT>(GetDlgCtrlID(hWnd)), static_cast<UINT>(nSel),
            ODA_DRAWENTIRE,
            ODS_COMBOBOXEDIT | (bHighlight ? ODS_SELECTED | ODS_FOCUS : 0u)
                | (IsWindowEnabled(hWnd) ? 0u : ODS_DISABLED),
            hWnd, hdc, rcText,
            nSel >= 0 ? static_cast<ULONG_PTR>(ToList(hWnd, LB_GETITEMDATA, static_cast<WPARAM>(nSel), 0)) : 0 };
        if (HWND hParent = GetParent(hWnd))
            SendMessage(hParent, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
        return;
    }
    if (bHighlight) {
        FillRect(hdc, &rcText, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(hdc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    } else if (!IsWindowEnabled(hWnd)) {
        SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
    }
    SetBkMode(hdc, TRANSPARENT);
    std::string text = ItemText(hWnd, nSel);
    RECT rcInner = rcText;
    rcInner.left += 1;
    DrawText(hdc, text.c_str(), static_cast<int>(text.size()), &rcInner, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (bHighlight)
        DrawFocusRect(hdc, &rcText);
}

/***** Creation *****/

// Asks the parent for the height of an owner-drawn item (FIELD_ITEM: the
// selection field); nDefault when it does not answer.
UINT MeasureOwnerDrawn(HWND hWnd, UINT nItem, UINT nDefault)
{
    MEASUREITEMSTRUCT mis { ODT_COMBOBOX, static_cast<UINT>(GetDlgCtrlID(hWnd)), nItem, 0, nDefault, 0 };
    if (HWND hParent = GetParent(hWnd))
        SendMessage(hParent, WM_MEASUREITEM, mis.CtlID, reinterpret_cast<LPARAM>(&mis));
    return std::max<UINT>(mis.itemHeight, 1);
}

int OnCreate(HWND hWnd, const CREATESTRUCT* pcs)
{
    CComboBoxState* pState = GetControlState<CComboBoxState>(hWnd);
    const DWORD dwStyle = ComboStyle(hWnd);
    const DWORD dwKind = dwStyle & CBS_TYPEMASK;
    const bool bOwnerDrawn = (dwStyle & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) != 0;
    const auto nFontHeight = static_cast<UINT>(ControlFontHeight(hWnd));
    const UINT nFieldItemHeight = bOwnerDrawn ? MeasureOwnerDrawn(hWnd, FIELD_ITEM, nFontHeight) : nFontHeight;
    pState->nFieldHeight = static_cast<int>(nFieldItemHeight) + FIELD_PADDING;

    DWORD dwListStyle = WS_VSCROLL | WS_BORDER | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    if (dwStyle & CBS_SORT)
        dwListStyle |= LBS_SORT;
    if (dwStyle & CBS_HASSTRINGS)
        dwListStyle |= LBS_HASSTRINGS;
    if (dwKind == CBS_SIMPLE) {
        pState->hList = CreateWindowEx(0, "ListBox", "", WS_CHILD | WS_VISIBLE | dwListStyle, 0, pState->nFieldHeight,
            pcs->cx, std::max(pcs->cy - pState->nFieldHeight, 0), hWnd,
            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ID_COMBO_LIST)), nullptr, nullptr);
    } else {
        pState->nDroppedHeight = std::max(pcs->cy - pState->nFieldHeight, pState->nFieldHeight);
        pState->hList = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "ListBox", "", WS_POPUP | dwListStyle, 0, 0,
            pcs->cx, pState->nDroppedHeight, hWnd, nullptr, nullptr, nullptr);
    }
    if (!pState->hList)
        return -1;
    // Owner draw is switched on only now, so that every question goes to the combo box.
    SetControlParent(pState->hList, hWnd);
    if (bOwnerDrawn) {
        const DWORD dwOwnerDraw = (dwStyle & CBS_OWNERDRAWFIXED) ? LBS_OWNERDRAWFIXED : LBS_OWNERDRAWVARIABLE;
        SetWindowLongPtr(pState->hList, GWL_STYLE, GetWindowLongPtr(pState->hList, GWL_STYLE) | dwOwnerDraw);
        if (dwStyle & CBS_OWNERDRAWFIXED)
            ToList(hWnd, LB_SETITEMHEIGHT, 0, static_cast<LPARAM>(MeasureOwnerDrawn(hWnd, 0, nFontHeight)));
    }
    if (dwKind != CBS_DROPDOWNLIST) {
        const int nRight = dwKind == CBS_SIMPLE ? pcs->cx : pcs->cx - GetSystemMetrics(SM_CXVSCROLL) - 2;
        DWORD dwEditStyle = WS_CHILD | WS_VISIBLE | ((dwStyle & CBS_AUTOHSCROLL) ? ES_AUTOHSCROLL : 0)
            | ((dwStyle & CBS_UPPERCASE) ? ES_UPPERCASE : 0) | ((dwStyle & CBS_LOWERCASE) ? ES_LOWERCASE : 0);
        pState->hEdit = CreateWindowEx(dwKind == CBS_SIMPLE ? WS_EX_CLIENTEDGE : 0, "Edit", "", dwEditStyle, 2, 2,
            std::max(nRight - 2, 0), pState->nFieldHeight - 4, hWnd,
            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ID_COMBO_EDIT)), nullptr, nullptr);
        if (!pState->hEdit)
            return -1;
    }
    if (dwKind != CBS_SIMPLE)
        SetWindowPos(hWnd, nullptr, 0, 0, pcs->cx, pState->nFieldHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

// WM_COMMAND from the edit: its focus and its changes become the combo box's notifications.
void OnEditCommand(HWND hWnd, WORD nCode)
{
    CComboBoxState* pState = GetControlState<CComboBoxState>(hWnd);
    switch (nCode) {
    case EN_SETFOCUS:
        pState->bFocus = true;
        NotifyParent(hWnd, CBN_SETFOCUS);
        break;
    case EN_KILLFOCUS:
        pState->bFocus = false;
        Close(hWnd, false);
        if (IsWindow(hWnd))
            NotifyParent(hWnd, CBN_KILLFOCUS);
        break;
    case EN_UPDATE:
        if (!pState->bSettingEdit)
            NotifyParent(hWnd, CBN_EDITUPDATE);
        break;
    case EN_CHANGE:
        if (!pState->bSettingEdit)
            NotifyParent(hWnd, CBN_EDITCHANGE);
        break;
    default:
        break;
    }
}

LRESULT OnSetText(HWND hWnd, LPARAM lParam)
{
    CComboBoxState* pState = GetControlState<CComboBoxState>(hWnd);
    if (pState->hEdit)
        return SendMessage(pState->hEdit, WM_SETTEXT, 0, lParam);
    LRESULT nFound = ToList(hWnd, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), lParam);
    if (nFound == LB_ERR)
        return CB_ERR;
    ToList(hWnd, LB_SETCURSEL, static_cast<WPARAM>(nFound), 0);
    UpdateField(hWnd);
    return TRUE;
}

LRESULT OnGetText(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    CComboBoxState* pState = GetControlState<CComboBoxState>(hWnd);
    if (pState->hEdit)
        return SendMessage(pState->hEdit, uMsg, wParam, lParam);
    std::string text = ItemText(hWnd, ToList(hWnd, LB_GETCURSEL, 0, 0));
    if (uMsg == WM_GETTEXTLENGTH)
        return static_cast<LRESULT>(text.size());
    if (!lParam || wParam == 0)
        return 0;
    size_t nCopy = std::min<size_t>(text.size(), wParam - 1);
    text.copy(reinterpret_cast<LPSTR>(lParam), nCopy);
    reinterpret_cast<LPSTR>(lParam)[nCopy] = '\0';
    return static_cast<LRESULT>(nCopy);
}

// The list box message a CB_* message stands for, or 0.
UINT ListMessageFor(UINT uMsg)
{
    switch (uMsg) {
    case CB_ADDSTRING:
        return LB_ADDSTRING;
    case CB_INSERTSTRING:
        return LB_INSERTSTRING;
    case CB_DELETESTRING:
        return LB_DELETESTRING;
    case CB_GETCOUNT:
        return LB_GETCOUNT;
    case CB_GETLBTEXT:
        return LB_GETTEXT;
    case CB_GETLBTEXTLEN:
        return LB_GETTEXTLEN;
    case CB_FINDSTRING:
        return LB_FINDSTRING;
    case CB_FINDSTRINGEXACT:
        return LB_FINDSTRINGEXACT;
    case CB_GETITEMDATA:
        return LB_GETITEMDATA;
    case CB_SETITEMDATA:
        return LB_SETITEMDATA;
    case CB_GETCURSEL:
        return LB_GETCURSEL;
    default:
        return 0;
    }
}

/***** Window messages *****/

std::unique_ptr<CControlState> NewComboBoxState(HWND hWnd, const CREATESTRUCT*)
{
    // Scroll bar styles are meant for the list; the combo box itself shows none.
    SetWindowLongPtr(
        hWnd, GWL_STYLE, GetWindowLongPtr(hWnd, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_VSCROLL | WS_HSCROLL));
    return std::make_unique<CComboBoxState>();
}

// The parts show the combo box's font.
void ForwardFont(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    const CComboBoxState* pState = GetControlState<CComboBoxState>(hWnd);
    if (!pState)
        return;
    if (pState->hEdit)
        SendMessage(pState->hEdit, WM_SETFONT, wParam, lParam);
    if (pState->hList)
        SendMessage(pState->hList, WM_SETFONT, wParam, lParam);
}

// With an edit the focus goes on to it, which reports its own focus changes.
void OnFocus(HWND hWnd, bool bFocus)
{
    CComboBoxState* pState = GetControlState<CComboBoxState>(hWnd);
    if (pState->hEdit) {
        // Focused as a whole, the combo box shows its text selected, as an edit does.
        if (bFocus) {
            SetFocus(pState->hEdit);
            SendMessage(pState->hEdit, EM_SETSEL, 0, -1);
        }
        return;
    }
    pState->bFocus = bFocus;
    if (!bFocus)
        Close(hWnd, false);
    InvalidateRect(hWnd, nullptr, FALSE);
    if (IsWindow(hWnd))
        NotifyParent(hWnd, bFocus ? CBN_SETFOCUS : CBN_KILLFOCUS);
}

// WM_COMMAND from a part: the edit's and the list's notifications become the combo box's.
void OnPartCommand(HWND hWnd, HWND hPart, WORD nCode)
{
    const CComboBoxState* pState = GetControlState<CComboBoxState>(hWnd);
    if (hPart == pState->hEdit && pState->hEdit) {
        OnEditCommand(hWnd, nCode);
    } else if (hPart == pState->hList && nCode == LBN_SELCHANGE && ComboKind(hWnd) == CBS_SIMPLE) {
        UpdateField(hWnd);
        NotifyParent(hWnd, CBN_SELCHANGE);
    } else if (hPart == pState->hList && nCode == LBN_DBLCLK) {
        NotifyParent(hWnd, CBN_DBLCLK);
    }
}

/***** Input *****/

// Answers mouse and key messages; FALSE for other messages.
BOOL HandleComboBoxInput(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnButtonDown(hWnd, lParam);
        return TRUE;
    case WM_LBUTTONUP:
        OnButtonUp(hWnd, lParam);
        return TRUE;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hWnd && GetControlState<CComboBoxState>(hWnd)->bDropped)
            Close(hWnd, false);
        return TRUE;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        OnKeyDown(hWnd, wParam, uMsg == WM_SYSKEYDOWN);
        return TRUE;
    default:
        return FALSE;
    }
}

/***** Combo box messages *****/

// The list's messages that change the selection, and the field with it.
BOOL HandleSelectionMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* plResult)
{
    switch (uMsg) {
    case CB_SETCURSEL:
        *plResult = ToList(hWnd, LB_SETCURSEL, wParam, 0);
        UpdateField(hWnd);
        return TRUE;
    case CB_SELECTSTRING:
        *plResult = ToList(hWnd, LB_SELECTSTRING, wParam, lParam);
        if (*plResult != LB_ERR)
            UpdateField(hWnd);
        return TRUE;
    case CB_RESETCONTENT:
        ToList(hWnd, LB_RESETCONTENT, 0, 0);
        UpdateField(hWnd);
        *plResult = CB_OKAY;
        return TRUE;
    default:
        if (UINT uListMsg = ListMessageFor(uMsg)) {
            *plResult = ToList(hWnd, uListMsg, wParam, lParam);
            return TRUE;
        }
        return FALSE;
    }
}

// The drop-down list's messages.
BOOL HandleDropMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* plResult)
{
    CComboBoxState* pState = GetControlState<CComboBoxState>(hWnd);
    switch (uMsg) {
    case CB_SHOWDROPDOWN:
        if (wParam)
            Drop(hWnd);
        else
            Close(hWnd, false);
        *plResult = TRUE;
        return TRUE;
    case CB_GETDROPPEDSTATE:
        *plResult = pState->bDropped;
        return TRUE;
    case CB_GETDROPPEDCONTROLRECT:
        if (lParam)
            GetWindowRect(pState->hList, reinterpret_cast<LPRECT>(lParam));
        *plResult = TRUE;
        return TRUE;
    case CB_SETEXTENDEDUI:
        if (ComboKind(hWnd) == CBS_SIMPLE) {
            *plResult = CB_ERR;
            return TRUE;
        }
        pState->bExtendedUI = wParam != 0;
        *plResult = CB_OKAY;
        return TRUE;
    case CB_GETEXTENDEDUI:
        *plResult = pState->bExtendedUI ? TRUE : FALSE;
        return TRUE;
    case CB_SETDROPPEDWIDTH:
        pState->nDroppedWidth = static_cast<int>(wParam);
        *plResult = pState->nDroppedWidth;
        return TRUE;
    case CB_GETDROPPEDWIDTH: {
        RECT rc {};
        GetWindowRect(hWnd, &rc);
        *plResult = std::max<LRESULT>(pState->nDroppedWidth, rc.right - rc.left);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

// The item heights (-1: the selection field) and the edit's messages.
BOOL HandleFieldMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* plResult)
{
    CComboBoxState* pState = GetControlState<CComboBoxState>(hWnd);
    const bool bField = static_cast<INT_PTR>(wParam) == -1;
    switch (uMsg) {
    case CB_SETITEMHEIGHT:
        if (!bField) {
            *plResult = ToList(hWnd, LB_SETITEMHEIGHT, wParam, lParam);
            return TRUE;
        }
        pState->nFieldHeight = static_cast<int>(lParam) + FIELD_PADDING;
        InvalidateRect(hWnd, nullptr, TRUE);
        *plResult = CB_OKAY;
        return TRUE;
    case CB_GETITEMHEIGHT:
        *plResult = bField ? pState->nFieldHeight - FIELD_PADDING : ToList(hWnd, LB_GETITEMHEIGHT, wParam, lParam);
        return TRUE;
    case CB_LIMITTEXT:
        *plResult = pState->hEdit ? TRUE : CB_ERR;
        if (pState->hEdit)
            SendMessage(pState->hEdit, EM_LIMITTEXT, wParam, 0);
        return TRUE;
    case CB_GETEDITSEL:
        *plResult = pState->hEdit ? SendMessage(pState->hEdit, EM_GETSEL, wParam, lParam) : CB_ERR;
        return TRUE;
    case CB_SETEDITSEL:
        *plResult = pState->hEdit ? TRUE : CB_ERR;
        if (pState->hEdit)
            SendMessage(pState->hEdit, EM_SETSEL, static_cast<WPARAM>(static_cast<short>(LOWORD(lParam))),
                static_cast<short>(HIWORD(lParam)));
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

LRESULT CALLBACK ComboBoxWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    static constexpr CControlLifecycle LIFECYCLE { NewComboBoxState, PaintComboBox, true };
    LRESULT lResult = 0;
    if (uMsg == WM_SETFONT)
        ForwardFont(hWnd, wParam, lParam);
    if (HandleControlLifecycle(hWnd, uMsg, wParam, lParam, LIFECYCLE, &lResult)
        || HandleSelectionMessage(hWnd, uMsg, wParam, lParam, &lResult)
        || HandleDropMessage(hWnd, uMsg, wParam, lParam, &lResult)
        || HandleFieldMessage(hWnd, uMsg, wParam, lParam, &lResult))
        return lResult;
    if (HandleComboBoxInput(hWnd, uMsg, wParam, lParam))
        return 0;
    CComboBoxState* pState = GetControlState<CComboBoxState>(hWnd);
    switch (uMsg) {
    case WM_CREATE:
        return OnCreate(hWnd, reinterpret_cast<const CREATESTRUCT*>(lParam));
    case WM_DESTROY:
        // The popup list is owned, not a child: it goes with the combo box.
        if (pState->hList && ComboKind(hWnd) != CBS_SIMPLE)
            DestroyWindow(pState->hList);
        pState->hList = nullptr;
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETTEXT:
        return OnSetText(hWnd, lParam);
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
        return OnGetText(hWnd, uMsg, wParam, lParam);
    case WM_ENABLE:
        if (pState->hEdit)
            EnableWindow(pState->hEdit, static_cast<BOOL>(wParam));
        InvalidateRect(hWnd, nullptr, FALSE);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        OnFocus(hWnd, uMsg == WM_SETFOCUS);
        return 0;
    case WM_COMMAND:
        OnPartCommand(hWnd, reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        return 0;
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_COMPAREITEM:
    case WM_DELETEITEM:
        return ForwardOwnerDraw(hWnd, uMsg, lParam);
    default:
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    }
}
