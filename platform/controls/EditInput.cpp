#include "platform/controls/EditInternal.h"

#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/ScrollBars.h"

namespace {

std::string Utf8OfCodePoint(WPARAM nCode)
{
    std::string text;
    auto cp = static_cast<unsigned>(nCode);
    if (cp < 0x80) {
        text += static_cast<char>(cp);
    } else if (cp < 0x800) {
        text += static_cast<char>(0xC0 | (cp >> 6));
        text += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        text += static_cast<char>(0xE0 | (cp >> 12));
        text += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x110000) {
        text += static_cast<char>(0xF0 | (cp >> 18));
        text += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return text;
}

void OnChar(HWND hWnd, WPARAM nChar)
{
    CEditState* pState = EditState(hWnd);
    switch (nChar) {
    case 0x01: // Ctrl+A
        SetSelection(hWnd, 0, pState->strText.size());
        return;
    case 0x03: // Ctrl+C
        Copy(hWnd);
        return;
    case 0x16: // Ctrl+V
        Paste(hWnd);
        return;
    case 0x18: // Ctrl+X
        Copy(hWnd);
        if (!(EditStyle(hWnd) & ES_PASSWORD))
            Clear(hWnd);
        return;
    case 0x1A: // Ctrl+Z
        Undo(hWnd);
        return;
    case '\b':
        if (pState->nAnchor == pState->nCaret)
            pState->nAnchor = PrevChar(pState->strText, pState->nCaret);
        ReplaceSelection(hWnd, std::string(), EEditChange::Typing, true);
        return;
    case '\r':
        if (EditStyle(hWnd) & ES_MULTILINE)
            ReplaceSelection(hWnd, "\r\n", EEditChange::Typing, true);
        return;
    default:
        if (nChar < 0x20 && nChar != '\t')
            return;
        if (nChar == '\t' && !(EditStyle(hWnd) & ES_MULTILINE))
            return;
        ReplaceSelection(hWnd, Utf8OfCodePoint(nChar), EEditChange::Typing, true);
        return;
    }
}

// Moves the caret, extending the selection while Shift is down.
void MoveCaret(HWND hWnd, size_t nPos)
{
    CEditState* pState = EditState(hWnd);
    const bool bExtend = (GetKeyState(static_cast<int>(VK_SHIFT)) & 0x8000) != 0;
    SetSelection(hWnd, bExtend ? pState->nAnchor : nPos, nPos);
}

void OnKeyDown(HWND hWnd, WPARAM nKey)
{
    CEditState* pState = EditState(hWnd);
    const bool bShift = (GetKeyState(static_cast<int>(VK_SHIFT)) & 0x8000) != 0;
    const bool bCtrl = (GetKeyState(static_cast<int>(VK_CONTROL)) & 0x8000) != 0;
    CControlMeasureDC dc(hWnd);
    std::vector<CEditLine> lines = Lines(hWnd, dc.Get());
    const CEditLine& line = lines[LineOf(lines, pState->nCaret)];
    switch (nKey) {
    case VK_LEFT:
        if (!bShift && pState->nAnchor != pState->nCaret)
            SetSelection(hWnd, pState->SelStart(), pState->SelStart());
        else
            MoveCaret(hWnd, PrevChar(pState->strText, pState->nCaret));
        return;
    case VK_RIGHT:
        if (!bShift && pState->nAnchor != pState->nCaret)
            SetSelection(hWnd, pState->SelEnd(), pState->SelEnd());
        else
            MoveCaret(hWnd, NextChar(pState->strText, pState->nCaret));
        return;
    case VK_HOME:
        MoveCaret(hWnd, bCtrl ? 0 : line.nStart);
        return;
    case VK_END:
        MoveCaret(hWnd, bCtrl ? pState->strText.size() : line.nStart + line.nLength);
        return;
    case VK_UP:
    case VK_DOWN: {
        if (!(EditStyle(hWnd) & ES_MULTILINE))
            return;
        POINT pt = PointOfPos(hWnd, dc.Get(), pState->nCaret);
        pt.y += nKey == VK_UP ? -LineHeight(dc.Get()) : LineHeight(dc.Get());
        const int nTop = pState->nTopLine;
        if (pt.y < 0 && nTop == 0)
            return;
        MoveCaret(hWnd, PosOfPoint(hWnd, dc.Get(), pt));
        return;
    }
    case VK_DELETE:
        if (bShift) {
            OnChar(hWnd, 0x18);
            return;
        }
        if (pState->nAnchor == pState->nCaret)
            pState->nCaret = NextChar(pState->strText, pState->nCaret);
        ReplaceSelection(hWnd, std::string(), EEditChange::Undoable, true);
        return;
    case VK_INSERT:
        if (bCtrl)
            Copy(hWnd);
        else if (bShift)
            Paste(hWnd);
        return;
    default:
        return;
    }
}

void OnVScroll(HWND hWnd, WPARAM wParam)
{
    const CEditState* pState = EditState(hWnd);
    CControlMeasureDC dc(hWnd);
    const RECT rc = FormatRect(hWnd);
    const int nPage = std::max(1, (rc.bottom - rc.top) / LineHeight(dc.Get()));
    switch (LOWORD(wParam)) {
    case SB_LINEUP:
        SetTopLine(hWnd, pState->nTopLine - 1);
        break;
    case SB_LINEDOWN:
        SetTopLine(hWnd, pState->nTopLine + 1);
        break;
    case SB_PAGEUP:
        SetTopLine(hWnd, pState->nTopLine - nPage);
        break;
    case SB_PAGEDOWN:
        SetTopLine(hWnd, pState->nTopLine + nPage);
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        SetTopLine(hWnd, HIWORD(wParam));
        break;
    case SB_TOP:
        SetTopLine(hWnd, 0);
        break;
    case SB_BOTTOM:
        SetTopLine(hWnd, static_cast<int>(Lines(hWnd, dc.Get()).size()));
        break;
    default:
        break;
    }
}

void OnPress(HWND hWnd, LPARAM lParam)
{
    SetFocus(hWnd);
    SetCapture(hWnd);
    CControlMeasureDC dc(hWnd);
    MoveCaret(hWnd, PosOfPoint(hWnd, dc.Get(), MousePointOf(lParam)));
}

// While the mouse holds the control, the selection runs from its anchor to the mouse.
void OnDrag(HWND hWnd, LPARAM lParam)
{
    if (GetCapture() != hWnd)
        return;
    CControlMeasureDC dc(hWnd);
    const size_t nPos = PosOfPoint(hWnd, dc.Get(), MousePointOf(lParam));
    SetSelection(hWnd, EditState(hWnd)->nAnchor, nPos);
}

} // namespace

BOOL HandleEditInput(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_CHAR:
        OnChar(hWnd, wParam);
        return TRUE;
    case WM_KEYDOWN:
        OnKeyDown(hWnd, wParam);
        return TRUE;
    case WM_VSCROLL:
        OnVScroll(hWnd, wParam);
        return TRUE;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnPress(hWnd, lParam);
        return TRUE;
    case WM_MOUSEMOVE:
        OnDrag(hWnd, lParam);
        return TRUE;
    case WM_LBUTTONUP:
        if (GetCapture() == hWnd)
            ReleaseCapture();
        return TRUE;
    default:
        return FALSE;
    }
}
