#include "platform/controls/RichEditInternal.h"

#include "platform/controls/EditClipboard.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/ScrollBars.h"
#include "platform/window/Window.h"

#include <algorithm>

namespace {

constexpr int WHEEL_LINES = 3;   // lines scrolled per notch of the wheel
constexpr int WHEEL_NOTCH = 120; // the distance WM_MOUSEWHEEL reports for one notch

bool IsDown(UINT nKey)
{
    return (GetKeyState(static_cast<int>(nKey)) & 0x8000) != 0;
}

// Moves the caret, extending the selection while Shift is down, and shows it.
void MoveCaret(HWND hWnd, LONG cp, bool bExtend)
{
    CRichEditState& state = *RichEditState(hWnd);
    SetRichSelection(hWnd, bExtend ? state.cpAnchor : cp, cp);
    state.bCaretIntoView = true;
    EnsureRichLayout(hWnd);
    PlaceRichCaret(hWnd);
}

// The position a line away from the caret at the caret's x (nLines negative: up).
LONG PosLinesAway(HWND hWnd, int nLines)
{
    CRichEditState& state = *RichEditState(hWnd);
    EnsureRichLayout(hWnd);
    const POINT ptCaret = RichPointOfPos(hWnd, state.cpCaret);
    const int nLine
        = std::clamp(RichLineOf(state, state.cpCaret) + nLines, 0, static_cast<int>(state.lines.size()) - 1);
    const CRichLine& line = state.lines[static_cast<size_t>(nLine)];
    const RECT rcArea = RichTextArea(hWnd);
    const int yTop = state.lines[static_cast<size_t>(state.nTopLine)].y;
    return RichPosOfPoint(hWnd, POINT { ptCaret.x, rcArea.top + line.y - yTop });
}

void OnKeyDown(HWND hWnd, WPARAM nKey)
{
    CRichEditState& state = *RichEditState(hWnd);
    const bool bShift = IsDown(VK_SHIFT);
    const bool bControl = IsDown(VK_CONTROL);
    EnsureRichLayout(hWnd);
    const CRichLine& line = state.lines[static_cast<size_t>(RichLineOf(state, state.cpCaret))];
    const RECT rcArea = RichTextArea(hWnd);
    const int nPage = RichLinesThatFit(state, state.nTopLine, rcArea.bottom - rcArea.top);
    switch (nKey) {
    case VK_LEFT:
        if (!bShift && state.cpAnchor != state.cpCaret)
            MoveCaret(hWnd, state.SelMin(), false);
        else
            MoveCaret(hWnd, std::max<LONG>(0, state.cpCaret - 1), bShift);
        break;
    case VK_RIGHT:
        if (!bShift && state.cpAnchor != state.cpCaret)
            MoveCaret(hWnd, state.SelMax(), false);
        else
            MoveCaret(hWnd, std::min(state.Length(), state.cpCaret + 1), bShift);
        break;
    case VK_UP:
        MoveCaret(hWnd, PosLinesAway(hWnd, -1), bShift);
        break;
    case VK_DOWN:
        MoveCaret(hWnd, PosLinesAway(hWnd, 1), bShift);
        break;
    case VK_PRIOR:
        MoveCaret(hWnd, PosLinesAway(hWnd, -nPage), bShift);
        break;
    case VK_NEXT:
        MoveCaret(hWnd, PosLinesAway(hWnd, nPage), bShift);
        break;
    case VK_HOME:
        MoveCaret(hWnd, bControl ? 0 : line.cpStart, bShift);
        break;
    case VK_END:
        MoveCaret(hWnd, bControl ? state.Length() : line.cpEnd, bShift);
        break;
    case 'C':
        if (bControl)
            CopyRichSelection(hWnd);
        break;
    default:
        break;
    }
}

void OnVScroll(HWND hWnd, WPARAM wParam)
{
    CRichEditState& state = *RichEditState(hWnd);
    EnsureRichLayout(hWnd);
    const RECT rcArea = RichTextArea(hWnd);
    const int nPage = RichLinesThatFit(state, state.nTopLine, rcArea.bottom - rcArea.top);
    SCROLLINFO si { sizeof(SCROLLINFO), SIF_TRACKPOS, 0, 0, 0, 0, 0 };
    GetScrollInfo(hWnd, SB_VERT, &si);
    if (LOWORD(wParam) == SB_ENDSCROLL)
        return;
    const int nTarget = ScrollTarget(LOWORD(wParam), state.nTopLine, 1, nPage, si.nTrackPos);
    SetRichTopLine(hWnd, std::clamp(nTarget, 0, static_cast<int>(state.lines.size())));
}

void OnPress(HWND hWnd, LPARAM lParam)
{
    SetFocus(hWnd);
    if (!IsWindow(hWnd))
        return;
    SetCapture(hWnd);
    CRichEditState& state = *RichEditState(hWnd);
    state.bMouseSelecting = true;
    MoveCaret(hWnd, RichPosOfPoint(hWnd, MousePointOf(lParam)), IsDown(VK_SHIFT));
}

// While the mouse holds the control, the selection runs from its anchor to the mouse.
void OnDrag(HWND hWnd, LPARAM lParam)
{
    CRichEditState& state = *RichEditState(hWnd);
    if (!state.bMouseSelecting || GetCapture() != hWnd)
        return;
    MoveCaret(hWnd, RichPosOfPoint(hWnd, MousePointOf(lParam)), true);
}

} // namespace

BOOL CopyRichSelection(HWND hWnd)
{
    const CRichEditState& state = *RichEditState(hWnd);
    if (state.SelMin() == state.SelMax())
        return FALSE;
    return SetEditClipboardText(hWnd, RichOutputText(state, state.SelMin(), state.SelMax()));
}

BOOL HandleRichEditInput(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_KEYDOWN:
        OnKeyDown(hWnd, wParam);
        return TRUE;
    case WM_CHAR:
        // Nothing typed changes the text.
        return TRUE;
    case WM_VSCROLL:
        OnVScroll(hWnd, wParam);
        return TRUE;
    case WM_MOUSEWHEEL: {
        const auto nDelta = static_cast<short>(HIWORD(wParam));
        SetRichTopLine(hWnd, RichEditState(hWnd)->nTopLine - nDelta / WHEEL_NOTCH * WHEEL_LINES);
        return TRUE;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnPress(hWnd, lParam);
        return TRUE;
    case WM_MOUSEMOVE:
        OnDrag(hWnd, lParam);
        return TRUE;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        RichEditState(hWnd)->bMouseSelecting = false;
        if (uMsg == WM_LBUTTONUP && GetCapture() == hWnd)
            ReleaseCapture();
        return TRUE;
    default:
        return FALSE;
    }
}
