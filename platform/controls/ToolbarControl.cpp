#include "platform/controls/ToolbarControl.h"

#include "platform/controls/ControlInternal.h"
#include "platform/controls/ToolTipControl.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/Blt.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/ImageLists.h"
#include "platform/gdi/Pictures.h"
#include "platform/gdi/Rects.h"
#include "platform/gdi/SysColors.h"
#include "platform/window/Input.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

constexpr COLORREF TRANSPARENT_COLOUR = RGB(255, 0, 255);
constexpr int DEFAULT_SEPARATOR_WIDTH = 8;
constexpr int BAR_MARGIN = 2; // above and below the buttons of a bar that sizes itself

struct CToolbarState : CControlState {
    std::vector<TBBUTTON> buttons;
    HIMAGELIST hImages { nullptr }; // made by the first TB_ADDBITMAP
    std::vector<HBITMAP> bitmaps;   // what TB_ADDBITMAP gave, owned: cut again at a new image size
    SIZE sizeBitmap { 16, 15 };
    SIZE sizeButton { 24, 22 };
    HWND hOwner { nullptr };       // TB_SETPARENT; nullptr: the parent
    HWND hToolTips { nullptr };    // the tooltip control the buttons are tools of
    HWND hOwnToolTips { nullptr }; // made for TBSTYLE_TOOLTIPS, destroyed with the bar
    std::vector<int> toolCommands; // the tools this bar has in hToolTips, by command
    int nPressed { -1 };           // the button pressed with the mouse, while captured
    int nHot { -1 };               // the flat button under the mouse

    ~CToolbarState() override
    {
        if (hImages)
            ImageList_Destroy(hImages);
        for (HBITMAP hbm : bitmaps)
            DeleteObject(hbm);
    }
};

CToolbarState* ToolbarState(HWND hWnd)
{
    return GetControlState<CToolbarState>(hWnd);
}

bool IsIndex(const CToolbarState& state, int nIndex)
{
    return nIndex >= 0 && nIndex < static_cast<int>(state.buttons.size());
}

int IndexOfCommand(const CToolbarState& state, int idCommand)
{
    for (size_t i = 0; i < state.buttons.size(); ++i) {
        if (!(state.buttons[i].fsStyle & TBSTYLE_SEP) && state.buttons[i].idCommand == idCommand)
            return static_cast<int>(i);
    }
    return -1;
}

int WidthOf(const CToolbarState& state, const TBBUTTON& button)
{
    if (button.fsState & TBSTATE_HIDDEN)
        return 0;
    if (button.fsStyle & TBSTYLE_SEP)
        return button.iBitmap > 0 ? button.iBitmap : DEFAULT_SEPARATOR_WIDTH;
    return state.sizeButton.cx;
}

int TopOf(HWND hWnd)
{
    return (GetWindowLongPtr(hWnd, GWL_STYLE) & CCS_NORESIZE) ? 0 : BAR_MARGIN;
}

// Buttons sit in one row from the left edge.
RECT ButtonRect(HWND hWnd, const CToolbarState& state, int nIndex)
{
    int x = 0;
    for (int i = 0; i < nIndex; ++i)
        x += WidthOf(state, state.buttons[static_cast<size_t>(i)]);
    const int y = TopOf(hWnd);
    return RECT { x, y, x + WidthOf(state, state.buttons[static_cast<size_t>(nIndex)]), y + state.sizeButton.cy };
}

// The index of the button under the point; for a separator or no button, a
// negative value: -1 - the separator's index, or -1 - the button count.
int HitTest(HWND hWnd, const CToolbarState& state, POINT pt)
{
    for (int i = 0; i < static_cast<int>(state.buttons.size()); ++i) {
        const RECT rc = ButtonRect(hWnd, state, i);
        if (rc.right > rc.left && PtInRect(&rc, pt))
            return (state.buttons[static_cast<size_t>(i)].fsStyle & TBSTYLE_SEP) ? -1 - i : i;
    }
    return -1 - static_cast<int>(state.buttons.size());
}

void InvalidateButton(HWND hWnd, const CToolbarState& state, int nIndex)
{
    if (!IsIndex(state, nIndex))
        return;
    const RECT rc = ButtonRect(hWnd, state, nIndex);
    InvalidateRect(hWnd, &rc, TRUE);
}

// A copy of a bitmap the caller keeps.
HBITMAP CopyBitmap(HBITMAP hbmSource)
{
    BITMAP bm {};
    if (!GetObject(hbmSource, sizeof(bm), &bm))
        return nullptr;
    HDC hdcScreen = GetDC(nullptr);
    HBITMAP hbmCopy = CreateCompatibleBitmap(hdcScreen, bm.bmWidth, bm.bmHeight);
    HDC hdcFrom = CreateCompatibleDC(hdcScreen);
    HDC hdcTo = CreateCompatibleDC(hdcScreen);
    HGDIOBJ hOldFrom = SelectObject(hdcFrom, hbmSource);
    HGDIOBJ hOldTo = SelectObject(hdcTo, hbmCopy);
    BitBlt(hdcTo, 0, 0, bm.bmWidth, bm.bmHeight, hdcFrom, 0, 0, SRCCOPY);
    SelectObject(hdcFrom, hOldFrom);
    SelectObject(hdcTo, hOldTo);
    DeleteDC(hdcFrom);
    DeleteDC(hdcTo);
    ReleaseDC(nullptr, hdcScreen);
    return hbmCopy;
}

LRESULT AddBitmap(CToolbarState& state, int nImages, const TBADDBITMAP* pAdd)
{
    if (!pAdd || nImages <= 0)
        return -1;
    HBITMAP hbm = pAdd->hInst ? LoadBitmap(pAdd->hInst, MAKEINTRESOURCE(static_cast<WORD>(pAdd->nID)))
                              : CopyBitmap(reinterpret_cast<HBITMAP>(pAdd->nID));
    if (!hbm)
        return -1;
    state.bitmaps.push_back(hbm);
    if (!state.hImages)
        state.hImages = ImageList_Create(state.sizeBitmap.cx, state.sizeBitmap.cy, ILC_COLOR24 | ILC_MASK, nImages, 4);
    return ImageList_AddMasked(state.hImages, hbm, TRANSPARENT_COLOUR);
}

// A new image size: the buttons grow to hold it and the bitmaps added so far
// are cut again into images of that size.
BOOL SetBitmapSize(CToolbarState& state, SIZE size)
{
    if (size.cx <= 0 || size.cy <= 0)
        return FALSE;
    state.sizeBitmap = size;
    state.sizeButton.cx = std::max<LONG>(state.sizeButton.cx, size.cx + 7);
    state.sizeButton.cy = std::max<LONG>(state.sizeButton.cy, size.cy + 7);
    if (!state.hImages)
        return TRUE;
    ImageList_Destroy(state.hImages);
    state.hImages = ImageList_Create(size.cx, size.cy, ILC_COLOR24 | ILC_MASK, 0, 4);
    for (HBITMAP hbm : state.bitmaps)
        ImageList_AddMasked(state.hImages, hbm, TRANSPARENT_COLOUR);
    return TRUE;
}

/***** Tips *****/

// The owner of the buttons' commands and notifications.
HWND OwnerOf(HWND hWnd, const CToolbarState& state)
{
    return state.hOwner ? state.hOwner : GetParent(hWnd);
}

// Makes each shown button a tool of the tooltip control, at its place, with
// its text asked through TTN_NEEDTEXT.
void SyncTools(HWND hWnd, CToolbarState& state)
{
    if (!state.hToolTips)
        return;
    TOOLINFO ti { sizeof(TOOLINFO), 0, hWnd, 0, {}, nullptr, LPSTR_TEXTCALLBACK, 0, nullptr };
    for (int idCommand : std::exchange(state.toolCommands, {})) {
        ti.uId = static_cast<UINT_PTR>(idCommand);
        SendMessage(state.hToolTips, TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&ti));
    }
    for (int i = 0; i < static_cast<int>(state.buttons.size()); ++i) {
        const TBBUTTON& button = state.buttons[static_cast<size_t>(i)];
        if ((button.fsStyle & TBSTYLE_SEP) || (button.fsState & TBSTATE_HIDDEN))
            continue;
        ti.uId = static_cast<UINT_PTR>(button.idCommand);
        ti.rect = ButtonRect(hWnd, state, i);
        if (SendMessage(state.hToolTips, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&ti)))
            state.toolCommands.push_back(button.idCommand);
    }
}

// The buttons moved: repaint the bar and move the tools with them.
void LayoutChanged(HWND hWnd, CToolbarState& state)
{
    InvalidateRect(hWnd, nullptr, TRUE);
    SyncTools(hWnd, state);
}

void RelayToToolTips(HWND hWnd, const CToolbarState& state, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (!state.hToolTips || uMsg < WM_MOUSEFIRST || uMsg > WM_MOUSELAST)
        return;
    MSG msg { hWnd, uMsg, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {} };
    const DWORD dwPos = GetMessagePos();
    msg.pt = POINT { static_cast<SHORT>(LOWORD(dwPos)), static_cast<SHORT>(HIWORD(dwPos)) };
    SendMessage(state.hToolTips, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

/***** Buttons *****/

BOOL InsertButtons(HWND hWnd, CToolbarState& state, int nIndex, int nCount, const TBBUTTON* pButtons)
{
    if (!pButtons || nCount <= 0)
        return FALSE;
    nIndex = std::clamp(nIndex, 0, static_cast<int>(state.buttons.size()));
    state.buttons.insert(state.buttons.begin() + nIndex, pButtons, pButtons + nCount);
    state.nPressed = -1;
    state.nHot = -1;
    LayoutChanged(hWnd, state);
    return TRUE;
}

BOOL DeleteButton(HWND hWnd, CToolbarState& state, int nIndex)
{
    if (!IsIndex(state, nIndex))
        return FALSE;
    state.buttons.erase(state.buttons.begin() + nIndex);
    state.nPressed = -1;
    state.nHot = -1;
    LayoutChanged(hWnd, state);
    return TRUE;
}

// Sets or clears one state bit of a button named by command.
BOOL ChangeState(HWND hWnd, CToolbarState& state, int idCommand, BYTE nBit, bool bSet)
{
    const int nIndex = IndexOfCommand(state, idCommand);
    if (nIndex < 0)
        return FALSE;
    TBBUTTON& button = state.buttons[static_cast<size_t>(nIndex)];
    const BYTE nNew = bSet ? static_cast<BYTE>(button.fsState | nBit) : static_cast<BYTE>(button.fsState & ~nBit);
    if (nNew != button.fsState) {
        const bool bResized = (nNew ^ button.fsState) & TBSTATE_HIDDEN;
        button.fsState = nNew;
        if (bResized)
            LayoutChanged(hWnd, state);
        else
            InvalidateButton(hWnd, state, nIndex);
    }
    return TRUE;
}

bool IsGroupButton(const TBBUTTON& button)
{
    return (button.fsStyle & TBSTYLE_CHECKGROUP) == TBSTYLE_CHECKGROUP;
}

// Checks a button of a check group and releases the others of the run of
// group buttons around it.
void CheckInGroup(HWND hWnd, CToolbarState& state, int nIndex)
{
    const auto nCount = static_cast<int>(state.buttons.size());
    int nFirst = nIndex;
    while (nFirst > 0 && IsGroupButton(state.buttons[static_cast<size_t>(nFirst - 1)]))
        --nFirst;
    for (int i = nFirst; i < nCount && IsGroupButton(state.buttons[static_cast<size_t>(i)]); ++i) {
        TBBUTTON& button = state.buttons[static_cast<size_t>(i)];
        const bool bChecked = button.fsState & TBSTATE_CHECKED;
        if (bChecked != (i == nIndex)) {
            button.fsState ^= TBSTATE_CHECKED;
            InvalidateButton(hWnd, state, i);
        }
    }
}

// TB_CHECKBUTTON: checking a group button releases the rest of its group.
BOOL CheckButton(HWND hWnd, CToolbarState& state, int idCommand, bool bCheck)
{
    const int nIndex = IndexOfCommand(state, idCommand);
    if (nIndex < 0 || !bCheck || !IsGroupButton(state.buttons[static_cast<size_t>(nIndex)]))
        return ChangeState(hWnd, state, idCommand, TBSTATE_CHECKED, bCheck);
    CheckInGroup(hWnd, state, nIndex);
    return TRUE;
}

LRESULT StateBit(const CToolbarState& state, int idCommand, BYTE nBit)
{
    const int nIndex = IndexOfCommand(state, idCommand);
    return nIndex < 0 ? -1 : (state.buttons[static_cast<size_t>(nIndex)].fsState & nBit) != 0;
}

int InfoIndex(const CToolbarState& state, WPARAM wParam, const TBBUTTONINFO* pInfo)
{
    if (!pInfo || pInfo->cbSize != sizeof(TBBUTTONINFO))
        return -1;
    const auto nId = static_cast<int>(wParam);
    if (pInfo->dwMask & TBIF_BYINDEX)
        return IsIndex(state, nId) ? nId : -1;
    return IndexOfCommand(state, nId);
}

LRESULT GetButtonInfo(const CToolbarState& state, WPARAM wParam, TBBUTTONINFO* pInfo)
{
    const int nIndex = InfoIndex(state, wParam, pInfo);
    if (nIndex < 0)
        return -1;
    const TBBUTTON& button = state.buttons[static_cast<size_t>(nIndex)];
    if (pInfo->dwMask & TBIF_COMMAND)
        pInfo->idCommand = button.idCommand;
    if (pInfo->dwMask & TBIF_IMAGE)
        pInfo->iImage = button.iBitmap;
    if (pInfo->dwMask & TBIF_STATE)
        pInfo->fsState = button.fsState;
    if (pInfo->dwMask & TBIF_STYLE)
        pInfo->fsStyle = button.fsStyle;
    if (pInfo->dwMask & TBIF_LPARAM)
        pInfo->lParam = button.dwData;
    return nIndex;
}

// Changes a button in place; only a change of width lays the row out again.
BOOL SetButtonInfo(HWND hWnd, CToolbarState& state, WPARAM wParam, const TBBUTTONINFO* pInfo)
{
    const int nIndex = InfoIndex(state, wParam, pInfo);
    if (nIndex < 0)
        return FALSE;
    TBBUTTON& button = state.buttons[static_cast<size_t>(nIndex)];
    const int nOldWidth = WidthOf(state, button);
    InvalidateButton(hWnd, state, nIndex);
    if (pInfo->dwMask & TBIF_COMMAND)
        button.idCommand = pInfo->idCommand;
    if (pInfo->dwMask & TBIF_IMAGE)
        button.iBitmap = pInfo->iImage;
    if (pInfo->dwMask & TBIF_STATE)
        button.fsState = pInfo->fsState;
    if (pInfo->dwMask & TBIF_STYLE)
        button.fsStyle = pInfo->fsStyle;
    if (pInfo->dwMask & TBIF_LPARAM)
        button.dwData = pInfo->lParam;
    if (WidthOf(state, button) != nOldWidth) {
        LayoutChanged(hWnd, state);
        return TRUE;
    }
    InvalidateButton(hWnd, state, nIndex);
    if (pInfo->dwMask & TBIF_COMMAND)
        SyncTools(hWnd, state); // the tool is named by the command
    return TRUE;
}

// Without CCS_NORESIZE the bar is as tall as its buttons plus margins and,
// unless CCS_NOPARENTALIGN, as wide as its parent, at the parent's top.
void AutoSize(HWND hWnd, const CToolbarState& state)
{
    const auto dwStyle = static_cast<DWORD>(GetWindowLongPtr(hWnd, GWL_STYLE));
    if (dwStyle & CCS_NORESIZE)
        return;
    const int cy = state.sizeButton.cy + 2 * BAR_MARGIN;
    HWND hParent = GetParent(hWnd);
    if (!(dwStyle & CCS_NOPARENTALIGN) && hParent) {
        RECT rcParent {};
        GetClientRect(hParent, &rcParent);
        SetWindowPos(hWnd, nullptr, 0, 0, rcParent.right, cy, SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    RECT rc {};
    GetClientRect(hWnd, &rc);
    SetWindowPos(hWnd, nullptr, 0, 0, rc.right, cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}

// A disabled image: its shape from the mask, in highlight with the shadow
// above it one pixel up and to the left.
void DrawEmbossed(HDC hdc, const CToolbarState& state, int iImage, int x, int y)
{
    const SIZE size = state.sizeBitmap;
    HDC hdcMask = CreateCompatibleDC(hdc);
    HBITMAP hbmMask = CreateCompatibleBitmap(hdc, size.cx, size.cy);
    HGDIOBJ hOld = SelectObject(hdcMask, hbmMask);
    ImageList_Draw(state.hImages, iImage, hdcMask, 0, 0, ILD_MASK);
    const COLORREF crLight = GetSysColor(COLOR_3DHIGHLIGHT);
    const COLORREF crShadow = GetSysColor(COLOR_3DSHADOW);
    for (int nPass = 0; nPass < 2; ++nPass) {
        for (int py = 0; py < size.cy; ++py) {
            for (int px = 0; px < size.cx; ++px) {
                if (GetPixel(hdcMask, px, py) == 0) // opaque in the mask
                    SetPixelV(hdc, x + px + 1 - nPass, y + py + 1 - nPass, nPass ? crShadow : crLight);
            }
        }
    }
    SelectObject(hdcMask, hOld);
    DeleteObject(hbmMask);
    DeleteDC(hdcMask);
}

void DrawButton(HWND hWnd, HDC hdc, const CToolbarState& state, int nIndex, bool bFlat)
{
    const TBBUTTON& button = state.buttons[static_cast<size_t>(nIndex)];
    RECT rc = ButtonRect(hWnd, state, nIndex);
    if (rc.right <= rc.left)
        return;
    if (button.fsStyle & TBSTYLE_SEP) {
        if (bFlat) {
            RECT rcLine { (rc.left + rc.right) / 2 - 1, rc.top, (rc.left + rc.right) / 2 + 1, rc.bottom };
            DrawEdge(hdc, &rcLine, EDGE_ETCHED, BF_LEFT);
        }
        return;
    }
    const bool bEnabled = button.fsState & TBSTATE_ENABLED;
    const bool bDown = button.fsState & (TBSTATE_PRESSED | TBSTATE_CHECKED);
    if (bDown)
        DrawEdge(hdc, &rc, BDR_SUNKENOUTER, BF_RECT);
    else if (!bFlat)
        DrawEdge(hdc, &rc, EDGE_RAISED, BF_RECT);
    else if (bEnabled && state.nHot == nIndex)
        DrawEdge(hdc, &rc, BDR_RAISEDINNER, BF_RECT);
    if (!state.hImages || button.iBitmap < 0 || button.iBitmap >= ImageList_GetImageCount(state.hImages))
        return;
    const int nShift = bDown ? 1 : 0;
    const int x = rc.left + (rc.right - rc.left - state.sizeBitmap.cx) / 2 + nShift;
    const int y = rc.top + (rc.bottom - rc.top - state.sizeBitmap.cy) / 2 + nShift;
    if (bEnabled && !(button.fsState & TBSTATE_INDETERMINATE))
        ImageList_Draw(state.hImages, button.iBitmap, hdc, x, y, ILD_TRANSPARENT);
    else
        DrawEmbossed(hdc, state, button.iBitmap, x, y);
}

void PaintToolbar(HWND hWnd, HDC hdc)
{
    const CToolbarState* pState = ToolbarState(hWnd);
    RECT rcClient {};
    GetClientRect(hWnd, &rcClient);
    FillRect(hdc, &rcClient, GetSysColorBrush(COLOR_BTNFACE));
    const auto dwStyle = static_cast<DWORD>(GetWindowLongPtr(hWnd, GWL_STYLE));
    if (!(dwStyle & CCS_NODIVIDER))
        DrawEdge(hdc, &rcClient, EDGE_ETCHED, BF_TOP);
    for (int i = 0; i < static_cast<int>(pState->buttons.size()); ++i)
        DrawButton(hWnd, hdc, *pState, i, dwStyle & TBSTYLE_FLAT);
}

void SetHot(HWND hWnd, CToolbarState& state, int nHot)
{
    if (nHot == state.nHot)
        return;
    InvalidateButton(hWnd, state, state.nHot);
    state.nHot = nHot;
    InvalidateButton(hWnd, state, nHot);
    if (nHot >= 0) {
        TRACKMOUSEEVENT tme { sizeof(TRACKMOUSEEVENT), TME_LEAVE, hWnd, 0 };
        TrackMouseEvent(&tme);
    }
}

void SetPressedLook(HWND hWnd, CToolbarState& state, int nIndex, bool bPressed)
{
    ChangeState(hWnd, state, state.buttons[static_cast<size_t>(nIndex)].idCommand, TBSTATE_PRESSED, bPressed);
}

// A press captures the mouse; the button looks pressed while the mouse is
// over it, and the release over it is the click.
BOOL HandleMouse(HWND hWnd, CToolbarState& state, UINT uMsg, LPARAM lParam)
{
    const POINT pt = MousePointOf(lParam);
    switch (uMsg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        const int nIndex = HitTest(hWnd, state, pt);
        if (nIndex < 0 || !(state.buttons[static_cast<size_t>(nIndex)].fsState & TBSTATE_ENABLED))
            return TRUE;
        state.nPressed = nIndex;
        SetPressedLook(hWnd, state, nIndex, true);
        SetCapture(hWnd);
        return TRUE;
    }
    case WM_MOUSEMOVE: {
        const int nIndex = HitTest(hWnd, state, pt);
        if (state.nPressed >= 0) {
            SetPressedLook(hWnd, state, state.nPressed, nIndex == state.nPressed);
            return TRUE;
        }
        const bool bFlat = GetWindowLongPtr(hWnd, GWL_STYLE) & TBSTYLE_FLAT;
        SetHot(hWnd, state,
            bFlat && nIndex >= 0 && (state.buttons[static_cast<size_t>(nIndex)].fsState & TBSTATE_ENABLED) ? nIndex
                                                                                                           : -1);
        return TRUE;
    }
    case WM_MOUSELEAVE:
        SetHot(hWnd, state, -1);
        return TRUE;
    case WM_LBUTTONUP: {
        const int nPressed = std::exchange(state.nPressed, -1);
        if (nPressed < 0)
            return TRUE;
        SetPressedLook(hWnd, state, nPressed, false);
        if (GetCapture() == hWnd)
            ReleaseCapture();
        TBBUTTON& button = state.buttons[static_cast<size_t>(nPressed)];
        if (HitTest(hWnd, state, pt) != nPressed || !(button.fsState & TBSTATE_ENABLED))
            return TRUE;
        // A check group button stays down when clicked again; a check button toggles.
        if (IsGroupButton(button))
            CheckInGroup(hWnd, state, nPressed);
        else if (button.fsStyle & TBSTYLE_CHECK)
            ChangeState(hWnd, state, button.idCommand, TBSTATE_CHECKED, !(button.fsState & TBSTATE_CHECKED));
        HWND hOwner = OwnerOf(hWnd, state);
        if (hOwner) // BN_CLICKED (0) as the code
            SendMessage(
                hOwner, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(button.idCommand), 0), reinterpret_cast<LPARAM>(hWnd));
        return TRUE;
    }
    case WM_CAPTURECHANGED:
        if (state.nPressed >= 0 && reinterpret_cast<HWND>(lParam) != hWnd)
            SetPressedLook(hWnd, state, std::exchange(state.nPressed, -1), false);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

LRESULT CALLBACK ToolbarWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    static constexpr CControlLifecycle LIFECYCLE { NewControlState<CToolbarState>, PaintToolbar, true };
    LRESULT lResult = 0;
    if (HandleControlLifecycle(hWnd, uMsg, wParam, lParam, LIFECYCLE, &lResult))
        return lResult;
    CToolbarState* pState = ToolbarState(hWnd);
    const auto nIndex = static_cast<int>(static_cast<INT_PTR>(wParam));
    const auto bFlag = static_cast<bool>(LOWORD(lParam));
    RelayToToolTips(hWnd, *pState, uMsg, wParam, lParam);
    switch (uMsg) {
    case WM_CREATE:
        if (GetWindowLongPtr(hWnd, GWL_STYLE) & TBSTYLE_TOOLTIPS) {
            pState->hOwnToolTips = CreateWindowEx(0, TOOLTIPS_CLASS, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0,
                hWnd, nullptr, reinterpret_cast<HINSTANCE>(GetWindowLongPtr(hWnd, GWLP_HINSTANCE)), nullptr);
            pState->hToolTips = pState->hOwnToolTips;
        }
        AutoSize(hWnd, *pState);
        return 0;
    case WM_DESTROY:
        if (pState->hOwnToolTips)
            DestroyWindow(std::exchange(pState->hOwnToolTips, nullptr));
        return 0;
    case WM_NOTIFY:
        // What the tips ask (TTN_NEEDTEXT) is for the owner to answer.
        if (auto* pHdr = reinterpret_cast<NMHDR*>(lParam);
            pHdr && pState->hToolTips && pHdr->hwndFrom == pState->hToolTips)
            return SendMessage(OwnerOf(hWnd, *pState), WM_NOTIFY, wParam, lParam);
        return 0;
    case TB_GETTOOLTIPS:
        return reinterpret_cast<LRESULT>(pState->hToolTips);
    case TB_SETTOOLTIPS:
        pState->toolCommands.clear(); // the tools stay with the old control
        pState->hToolTips = reinterpret_cast<HWND>(wParam);
        SyncTools(hWnd, *pState);
        return 0;
    case TB_BUTTONSTRUCTSIZE:
        return 0;
    case TB_SETBITMAPSIZE:
        if (!SetBitmapSize(*pState, SIZE { LOWORD(lParam), HIWORD(lParam) }))
            return FALSE;
        LayoutChanged(hWnd, *pState);
        return TRUE;
    case TB_SETBUTTONSIZE:
        pState->sizeButton = SIZE { std::max<LONG>(LOWORD(lParam), pState->sizeBitmap.cx),
            std::max<LONG>(HIWORD(lParam), pState->sizeBitmap.cy) };
        LayoutChanged(hWnd, *pState);
        return TRUE;
    case TB_ADDBITMAP:
        return AddBitmap(*pState, nIndex, reinterpret_cast<const TBADDBITMAP*>(lParam));
    case TB_ADDBUTTONS:
        return InsertButtons(
            hWnd, *pState, static_cast<int>(pState->buttons.size()), nIndex, reinterpret_cast<const TBBUTTON*>(lParam));
    case TB_INSERTBUTTON:
        return InsertButtons(hWnd, *pState, nIndex, 1, reinterpret_cast<const TBBUTTON*>(lParam));
    case TB_DELETEBUTTON:
        return DeleteButton(hWnd, *pState, nIndex);
    case TB_GETBUTTON:
        if (!lParam || !IsIndex(*pState, nIndex))
            return FALSE;
        *reinterpret_cast<TBBUTTON*>(lParam) = pState->buttons[static_cast<size_t>(nIndex)];
        return TRUE;
    case TB_BUTTONCOUNT:
        return static_cast<LRESULT>(pState->buttons.size());
    case TB_COMMANDTOINDEX:
        return IndexOfCommand(*pState, nIndex);
    case TB_GETITEMRECT:
        if (!lParam || !IsIndex(*pState, nIndex))
            return FALSE;
        *reinterpret_cast<RECT*>(lParam) = ButtonRect(hWnd, *pState, nIndex);
        return TRUE;
    case TB_HITTEST:
        return lParam ? HitTest(hWnd, *pState, *reinterpret_cast<const POINT*>(lParam)) : -1;
    case TB_ENABLEBUTTON:
        return ChangeState(hWnd, *pState, nIndex, TBSTATE_ENABLED, bFlag);
    case TB_CHECKBUTTON:
        return CheckButton(hWnd, *pState, nIndex, bFlag);
    case TB_PRESSBUTTON:
        return ChangeState(hWnd, *pState, nIndex, TBSTATE_PRESSED, bFlag);
    case TB_HIDEBUTTON:
        return ChangeState(hWnd, *pState, nIndex, TBSTATE_HIDDEN, bFlag);
    case TB_ISBUTTONENABLED:
        return StateBit(*pState, nIndex, TBSTATE_ENABLED);
    case TB_ISBUTTONCHECKED:
        return StateBit(*pState, nIndex, TBSTATE_CHECKED);
    case TB_ISBUTTONPRESSED:
        return StateBit(*pState, nIndex, TBSTATE_PRESSED);
    case TB_ISBUTTONHIDDEN:
        return StateBit(*pState, nIndex, TBSTATE_HIDDEN);
    case TB_GETSTATE: {
        const int nButton = IndexOfCommand(*pState, nIndex);
        return nButton < 0 ? -1 : pState->buttons[static_cast<size_t>(nButton)].fsState;
    }
    case TB_SETSTATE: {
        TBBUTTONINFO info { sizeof(TBBUTTONINFO), TBIF_STATE, 0, 0, static_cast<BYTE>(LOWORD(lParam)), 0, 0, 0, nullptr,
            0 };
        return SetButtonInfo(hWnd, *pState, wParam, &info);
    }
    case TB_GETBUTTONINFO:
        return GetButtonInfo(*pState, wParam, reinterpret_cast<TBBUTTONINFO*>(lParam));
    case TB_SETBUTTONINFO:
        return SetButtonInfo(hWnd, *pState, wParam, reinterpret_cast<const TBBUTTONINFO*>(lParam));
    case TB_AUTOSIZE:
        AutoSize(hWnd, *pState);
        return 0;
    case TB_SETPARENT:
        return reinterpret_cast<LRESULT>(std::exchange(pState->hOwner, reinterpret_cast<HWND>(wParam)));
    default:
        if (HandleMouse(hWnd, *pState, uMsg, lParam))
            return 0;
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    }
}
