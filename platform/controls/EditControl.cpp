#include "platform/controls/EditControl.h"

#include "platform/controls/ControlInternal.h"
#include "platform/controls/EditClipboard.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"
#include "platform/window/Caret.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/ScrollBars.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int EDIT_MARGIN = 1; // pixels between the client edge and the text, until EM_SETMARGINS

struct CEditState : CControlState {
    std::string strText;
    size_t nAnchor { 0 };
    size_t nCaret { 0 };
    size_t nLimit { EDIT_MAX_LIMIT };
    bool bModified { false };
    bool bFocus { false };
    bool bTyping { false }; // the last change was typing, so more typing joins its undo step
    char chPassword { '*' };
    int nScrollX { 0 }; // pixels scrolled to the left (single-line)
    int nTopLine { 0 }; // the first visible line (multi-line)
    int nLeftMargin { EDIT_MARGIN };
    int nRightMargin { EDIT_MARGIN };
    std::string strUndoText;
    size_t nUndoAnchor { 0 };
    size_t nUndoCaret { 0 };
    bool bCanUndo { false };

    size_t SelStart() const { return std::min(nAnchor, nCaret); }
    size_t SelEnd() const { return std::max(nAnchor, nCaret); }
};

// One displayed line: its text in strText, without the line break.
struct CEditLine {
    size_t nStart;
    size_t nLength;
};

DWORD EditStyle(HWND hWnd)
{
    return static_cast<DWORD>(GetWindowLongPtr(hWnd, GWL_STYLE));
}

bool IsContinuationByte(char ch)
{
    return (static_cast<unsigned char>(ch) & 0xC0) == 0x80;
}

size_t NextChar(const std::string& strText, size_t nPos)
{
    if (nPos >= strText.size())
        return strText.size();
    if (strText.compare(nPos, 2, "\r\n") == 0)
        return nPos + 2;
    ++nPos;
    while (nPos < strText.size() && IsContinuationByte(strText[nPos]))
        ++nPos;
    return nPos;
}

size_t PrevChar(const std::string& strText, size_t nPos)
{
    if (nPos == 0)
        return 0;
    if (nPos >= 2 && strText.compare(nPos - 2, 2, "\r\n") == 0)
        return nPos - 2;
    --nPos;
    while (nPos > 0 && IsContinuationByte(strText[nPos]))
        --nPos;
    return nPos;
}

// Moves a position back to the start of the character it falls in.
size_t CharBoundary(const std::string& strText, size_t nPos)
{
    nPos = std::min(nPos, strText.size());
    while (nPos > 0 && nPos < strText.size() && IsContinuationByte(strText[nPos]))
        --nPos;
    if (nPos > 0 && nPos < strText.size() && strText[nPos] == '\n' && strText[nPos - 1] == '\r')
        --nPos;
    return nPos;
}

/***** Measuring *****/

int LineHeight(HDC hdc)
{
    TEXTMETRIC tm {};
    GetTextMetrics(hdc, &tm);
    return std::max<int>(tm.tmHeight, 1);
}

RECT FormatRect(HWND hWnd)
{
    RECT rc {};
    GetClientRect(hWnd, &rc);
    const CEditState* pState = GetControlState<CEditState>(hWnd);
    rc.left = std::min(rc.right, rc.left + pState->nLeftMargin);
    rc.right = std::max(rc.left, rc.right - pState->nRightMargin);
    return rc;
}

// What is shown of a piece of text: the password character for each character in a password field.
std::string Shown(HWND hWnd, const std::string& strText)
{
    const CEditState* pState = GetControlState<CEditState>(hWnd);
    if (!(EditStyle(hWnd) & ES_PASSWORD) || (EditStyle(hWnd) & ES_MULTILINE) || !pState->chPassword)
        return strText;
    size_t nChars = 0;
    for (char ch : strText)
        nChars += IsContinuationByte(ch) ? 0 : 1;
    return std::string(nChars, pState->chPassword);
}

int TextWidth(HWND hWnd, HDC hdc, const std::string& strText)
{
    std::string shown = Shown(hWnd, strText);
    SIZE size {};
    GetTextExtentPoint32(hdc, shown.c_str(), static_cast<int>(shown.size()), &size);
    return size.cx;
}

bool WrapsWords(HWND hWnd)
{
    const DWORD dwStyle = EditStyle(hWnd);
    return (dwStyle & ES_MULTILINE) && !(dwStyle & (ES_AUTOHSCROLL | WS_HSCROLL));
}

// Breaks one paragraph (no line breaks inside) into lines no wider than nWidth, at spaces where it can.
void WrapParagraph(
    HDC hdc, const std::string& strText, size_t nStart, size_t nEnd, int nWidth, std::vector<CEditLine>& lines)
{
    while (nEnd - nStart > 0) {
        int nFit = 0;
        SIZE size {};
        GetTextExtentExPoint(
            hdc, strText.c_str() + nStart, static_cast<int>(nEnd - nStart), nWidth, &nFit, nullptr, &size);
        size_t nBreak = nStart + static_cast<size_t>(std::max(nFit, 0));
        if (nBreak >= nEnd) {
            lines.push_back({ nStart, nEnd - nStart });
            return;
        }
        size_t nSpace = strText.rfind(' ', nBreak);
        if (nSpace != std::string::npos && nSpace >= nStart && nSpace + 1 > nStart)
            nBreak = nSpace + 1;
        nBreak = std::max(CharBoundary(strText, nBreak), NextChar(strText, nStart));
        lines.push_back({ nStart, nBreak - nStart });
        nStart = nBreak;
    }
}

std::vector<CEditLine> Lines(HWND hWnd, HDC hdc)
{
    const std::string& strText = GetControlState<CEditState>(hWnd)->strText;
    std::vector<CEditLine> lines;
    if (!(EditStyle(hWnd) & ES_MULTILINE)) {
        lines.push_back({ 0, strText.size() });
        return lines;
    }
    const bool bWrap = WrapsWords(hWnd);
    const RECT rc = FormatRect(hWnd);
    size_t nStart = 0;
    for (;;) {
        size_t nBreak = strText.find("\r\n", nStart);
        size_t nEnd = nBreak == std::string::npos ? strText.size() : nBreak;
        if (bWrap && nEnd > nStart)
            WrapParagraph(hdc, strText, nStart, nEnd, rc.right - rc.left, lines);
        else
            lines.push_back({ nStart, nEnd - nStart });
        if (nBreak == std::string::npos)
            return lines;
        nStart = nBreak + 2;
    }
}

// The line a position is on; a position at the end of a wrapped line belongs to the next one.
size_t LineOf(const std::vector<CEditLine>& lines, size_t nPos)
{
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
        if (nPos < lines[i + 1].nStart)
            return i;
    }
    return lines.size() - 1;
}

// The x of the line's start in client coordinates, by the alignment.
int LineLeft(HWND hWnd, HDC hdc, const CEditLine& line)
{
    const CEditState* pState = GetControlState<CEditState>(hWnd);
    const RECT rc = FormatRect(hWnd);
    const DWORD dwAlign = EditStyle(hWnd) & (ES_CENTER | ES_RIGHT);
    int nLeft = rc.left - pState->nScrollX;
    if (dwAlign == ES_LEFT)
        return nLeft;
    int nWidth = TextWidth(hWnd, hdc, pState->strText.substr(line.nStart, line.nLength));
    int nRoom = rc.right - rc.left - nWidth;
    return nLeft + std::max(0, dwAlign == ES_RIGHT ? nRoom : nRoom / 2);
}

POINT PointOfPos(HWND hWnd, HDC hdc, size_t nPos)
{
    const CEditState* pState = GetControlState<CEditState>(hWnd);
    std::vector<CEditLine> lines = Lines(hWnd, hdc);
    size_t nLine = LineOf(lines, nPos);
    const CEditLine& line = lines[nLine];
    int x = LineLeft(hWnd, hdc, line)
        + TextWidth(
            hWnd, hdc, pState->strText.substr(line.nStart, std::min(nPos, line.nStart + line.nLength) - line.nStart));
    int y = (static_cast<int>(nLine) - pState->nTopLine) * LineHeight(hdc);
    return POINT { x, y };
}

size_t PosOfPoint(HWND hWnd, HDC hdc, POINT pt)
{
    const CEditState* pState = GetControlState<CEditState>(hWnd);
    std::vector<CEditLine> lines = Lines(hWnd, hdc);
    int nLine = pState->nTopLine + (pt.y < 0 ? -1 : pt.y / LineHeight(hdc));
    const CEditLine& line = lines[static_cast<size_t>(std::clamp(nLine, 0, static_cast<int>(lines.size()) - 1))];
    int x = LineLeft(hWnd, hdc, line);
    size_t nPos = line.nStart;
    const size_t nEnd = line.nStart + line.nLength;
    while (nPos < nEnd) {
        size_t nNext = NextChar(pState->strText, nPos);
        int nWidth = TextWidth(hWnd, hdc, pState->strText.substr(nPos, nNext - nPos));
        if (pt.x < x + nWidth / 2)
            break;
        x += nWidth;
        nPos = nNext;
    }
    return nPos;
}

// Keeps a multi-line control's vertical scroll bar (WS_VSCROLL) in step with its lines.
void UpdateScrollBar(HWND hWnd, HDC hdc)
{
    if (!(EditStyle(hWnd) & ES_MULTILINE) || !(EditStyle(hWnd) & WS_VSCROLL))
        return;
    const CEditState* pState = GetControlState<CEditState>(hWnd);
    const RECT rc = FormatRect(hWnd);
    const int nVisible = std::max(1, (rc.bottom - rc.top) / LineHeight(hdc));
    SCROLLINFO si { sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0,
        static_cast<int>(Lines(hWnd, hdc).size()) - 1, static_cast<UINT>(nVisible), pState->nTopLine, 0 };
    SetScrollInfo(hWnd, SB_VERT, &si, TRUE);
}

/***** The system caret *****/

// Moves the system caret to the caret's place while the control has the
// focus, and so owns the caret. Every change that may move the caret's place
// (text, selection, scrolling, margins, size, font) ends here.
void PlaceCaret(HWND hWnd)
{
    const CEditState* pState = GetControlState<CEditState>(hWnd);
    if (!pState->bFocus)
        return;
    CControlMeasureDC dc(hWnd);
    POINT pt = PointOfPos(hWnd, dc.Get(), pState->nCaret);
    SetCaretPos(pt.x, pt.y);
}

// Makes the control's caret, a pixel wide and a line high, and shows it at its place.
void MakeCaret(HWND hWnd)
{
    CControlMeasureDC dc(hWnd);
    if (!CreateCaret(hWnd, nullptr, 1, LineHeight(dc.Get())))
        return;
    PlaceCaret(hWnd);
    ShowCaret(hWnd);
}

// Destroys the caret when the control still owns it; another window of the
// thread may have made its own since.
void DropCaret(HWND hWnd)
{
    if (HideCaret(hWnd))
        DestroyCaret();
}

/***** Scrolling *****/

// Makes nTop the first visible line, within the lines there are.
void SetTopLine(HWND hWnd, int nTop)
{
    CEditState* pState = GetControlState<CEditState>(hWnd);
    CControlMeasureDC dc(hWnd);
    const int nLines = static_cast<int>(Lines(hWnd, dc.Get()).size());
    nTop = std::clamp(nTop, 0, std::max(nLines - 1, 0));
    if (nTop == pState->nTopLine)
        return;
    pState->nTopLine = nTop;
    UpdateScrollBar(hWnd, dc.Get());
    InvalidateRect(hWnd, nullptr, TRUE);
    PlaceCaret(hWnd);
}

void OnVScroll(HWND hWnd, WPARAM wParam)
{
    const CEditState* pState = GetControlState<CEditState>(hWnd);
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

// Scrolls so that the caret shows, and puts the system caret there.
void ScrollToCaret(HWND hWnd)
{
    CEditState* pState = GetControlState<CEditState>(hWnd);
    CControlMeasureDC dc(hWnd);
    const RECT rc = FormatRect(hWnd);
    if (EditStyle(hWnd) & ES_MULTILINE) {
        std::vector<CEditLine> lines = Lines(hWnd, dc.Get());
        int nLine = static_cast<int>(LineOf(lines, pState->nCaret));
        int nVisible = std::max(1, (rc.bottom - rc.top) / LineHeight(dc.Get()));
        if (nLine < pState->nTopLine)
            pState->nTopLine = nLine;
        else if (nLine >= pState->nTopLine + nVisible)
            pState->nTopLine = nLine - nVisible + 1;
        UpdateScrollBar(hWnd, dc.Get());
        PlaceCaret(hWnd);
        return;
    }
    POINT pt = PointOfPos(hWnd, dc.Get(), pState->nCaret);
    if (pt.x < rc.left)
        pState->nScrollX -= rc.left - pt.x;
    else if (pt.x >= rc.right)
        pState->nScrollX += pt.x - rc.right + 1;
    pState->nScrollX = std::max(0, pState->nScrollX);
    PlaceCaret(hWnd);
}

/***** Margins and scrolling by message *****/

void SetMargins(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    CEditState* pState = GetControlState<CEditState>(hWnd);
    auto margin = [&](WORD nValue) {
        if (nValue != EC_USEFONTINFO)
            return static_cast<int>(nValue);
        CControlMeasureDC dc(hWnd);
        TEXTMETRIC tm {};
        GetTextMetrics(dc.Get(), &tm);
        return static_cast<int>(tm.tmAveCharWidth / 2);
    };
    if (wParam & EC_LEFTMARGIN)
        pState->nLeftMargin = margin(LOWORD(lParam));
    if (wParam & EC_RIGHTMARGIN)
        pState->nRightMargin = margin(HIWORD(lParam));
    // The lines may wrap anew; the caret stays in view.
    ScrollToCaret(hWnd);
    InvalidateRect(hWnd, nullptr, TRUE);
}

LRESULT LineScroll(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    if (!(EditStyle(hWnd) & ES_MULTILINE))
        return FALSE;
    CEditState* pState = GetControlState<CEditState>(hWnd);
    const auto nChars = static_cast<int>(static_cast<INT_PTR>(wParam));
    if (nChars != 0 && !WrapsWords(hWnd)) {
        CControlMeasureDC dc(hWnd);
        TEXTMETRIC tm {};
        GetTextMetrics(dc.Get(), &tm);
        pState->nScrollX = std::max(0, pState->nScrollX + nChars * static_cast<int>(tm.tmAveCharWidth));
        InvalidateRect(hWnd, nullptr, TRUE);
        PlaceCaret(hWnd);
    }
    SetTopLine(hWnd, pState->nTopLine + static_cast<int>(lParam));
    return TRUE;
}

/***** Changing the text *****/

void Changed(HWND hWnd)
{
    ScrollToCaret(hWnd);
    InvalidateRect(hWnd, nullptr, TRUE);
    NotifyParent(hWnd, EN_UPDATE);
    if (IsWindow(hWnd))
        NotifyParent(hWnd, EN_CHANGE);
}

void SetSelection(HWND hWnd, size_t nAnchor, size_t nCaret)
{
    CEditState* pState = GetControlState<CEditState>(hWnd);
    pState->nAnchor = CharBoundary(pState->strText, nAnchor);
    pState->nCaret = CharBoundary(pState->strText, nCaret);
    pState->bTyping = false;
    ScrollToCaret(hWnd);
    InvalidateRect(hWnd, nullptr, FALSE);
}

void SaveUndo(CEditState& state)
{
    state.strUndoText = state.strText;
    state.nUndoAnchor = state.nAnchor;
    state.nUndoCaret = state.nCaret;
    state.bCanUndo = true;
}

// The user's text as the style accepts it: digits only with ES_NUMBER (an
// empty result refuses it), the case changed, single lines cut at a line break.
std::string FilterInput(HWND hWnd, std::string strInput)
{
    const DWORD dwStyle = EditStyle(hWnd);
    if (!(dwStyle & ES_MULTILINE)) {
        size_t nBreak = strInput.find_first_of("\r\n");
        if (nBreak != std::string::npos)
            strInput.resize(nBreak);
    }
    if (dwStyle & ES_NUMBER) {
        for (char ch : strInput) {
            if (ch < '0' || ch > '9')
                return std::string();
        }
    }
    for (char& ch : strInput) {
        if ((dwStyle & ES_UPPERCASE) && ch >= 'a' && ch <= 'z')
            ch = static_cast<char>(ch - 'a' + 'A');
        else if ((dwStyle & ES_LOWERCASE) && ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
    }
    return strInput;
}

enum class EEditChange {
    Typing, // joins the typing run's undo step
    Undoable,
    Final, // cannot be undone
};

// Replaces the selection with strInput, cut to the limit, and tells the
// parent. With bUser the style's filters apply and read-only controls refuse.
void ReplaceSelection(HWND hWnd, std::string strInput, EEditChange eChange, bool bUser)
{
    CEditState* pState = GetControlState<CEditState>(hWnd);
    if (bUser) {
        if (EditStyle(hWnd) & ES_READONLY)
            return;
        strInput = FilterInput(hWnd, std::move(strInput));
    }
    const size_t nStart = pState->SelStart();
    const size_t nEnd = pState->SelEnd();
    const size_t nKept = pState->strText.size() - (nEnd - nStart);
    bool bCut = false;
    if (nKept + strInput.size() > pState->nLimit) {
        size_t nRoom = pState->nLimit > nKept ? pState->nLimit - nKept : 0;
        strInput.resize(CharBoundary(strInput, nRoom));
        bCut = true;
    }
    if (strInput.empty() && nStart == nEnd) {
        if (bCut)
            NotifyParent(hWnd, EN_MAXTEXT);
        return;
    }
    if (eChange == EEditChange::Final)
        pState->bCanUndo = false;
    else if (eChange == EEditChange::Undoable || !pState->bTyping)
        SaveUndo(*pState);
    pState->strText.replace(nStart, nEnd - nStart, strInput);
    pState->nAnchor = pState->nCaret = nStart + strInput.size();
    pState->bTyping = eChange == EEditChange::Typing;
    pState->bModified = true;
    Changed(hWnd);
    if (bCut && IsWindow(hWnd))
        NotifyParent(hWnd, EN_MAXTEXT);
}

void Undo(HWND hWnd)
{
    CEditState* pState = GetControlState<CEditState>(hWnd);
    if (!pState->bCanUndo)
        return;
    std::swap(pState->strText, pState->strUndoText);
    std::swap(pState->nAnchor, pState->nUndoAnchor);
    std::swap(pState->nCaret, pState->nUndoCaret);
    pState->bTyping = false;
    pState->bModified = true;
    Changed(hWnd);
}

std::string SelectedText(const CEditState& state)
{
    return state.strText.substr(state.SelStart(), state.SelEnd() - state.SelStart());
}

void Copy(HWND hWnd)
{
    const CEditState* pState = GetControlState<CEditState>(hWnd);
    if ((EditStyle(hWnd) & ES_PASSWORD) || pState->nAnchor == pState->nCaret)
        return;
    SetEditClipboardText(hWnd, SelectedText(*pState));
}

void Paste(HWND hWnd)
{
    if (std::optional<std::string> text = GetEditClipboardText(hWnd))
        ReplaceSelection(hWnd, *text, EEditChange::Undoable, true);
}

void Clear(HWND hWnd)
{
    const CEditState* pState = GetControlState<CEditState>(hWnd);
    if (pState->nAnchor != pState->nCaret)
        ReplaceSelection(hWnd, std::string(), EEditChange::Undoable, true);
}

/***** Keyboard and mouse *****/

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
    CEditState* pState = GetControlState<CEditState>(hWnd);
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
    CEditState* pState = GetControlState<CEditState>(hWnd);
    const bool bExtend = (GetKeyState(static_cast<int>(VK_SHIFT)) & 0x8000) != 0;
    SetSelection(hWnd, bExtend ? pState->nAnchor : nPos, nPos);
}

void OnKeyDown(HWND hWnd, WPARAM nKey)
{
    CEditState* pState = GetControlState<CEditState>(hWnd);
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

POINT PointOf(LPARAM lParam)
{
    return POINT { static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)) };
}

/***** Painting *****/

void PaintEdit(HWND hWnd, HDC hdc)
{
    const CEditState* pState = GetControlState<CEditState>(hWnd);
    const DWORD dwStyle = EditStyle(hWnd);
    const bool bGrey = (dwStyle & ES_READONLY) || !IsWindowEnabled(hWnd);
    HBRUSH hBrush
        = bGrey ? PrepareControlDC(hWnd, hdc, WM_CTLCOLORSTATIC) : PrepareControlDC(hWnd, hdc, WM_CTLCOLOREDIT);
    if (!IsWindowEnabled(hWnd))
        SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
    RECT rcClient {};
    GetClientRect(hWnd, &rcClient);
    FillRect(hdc, &rcClient, hBrush);

    const int nLineHeight = LineHeight(hdc);
    const bool bShowSel = pState->bFocus || (dwStyle & ES_NOHIDESEL);
    const size_t nSelStart = pState->SelStart();
    const size_t nSelEnd = pState->SelEnd();
    std::vector<CEditLine> lines = Lines(hWnd, hdc);
    SetBkMode(hdc, TRANSPARENT);
    for (size_t i = static_cast<size_t>(pState->nTopLine); i < lines.size(); ++i) {
        const int y = (static_cast<int>(i) - pState->nTopLine) * nLineHeight;
        if (y >= rcClient.bottom)
            break;
        const CEditLine& line = lines[i];
        const int x = LineLeft(hWnd, hdc, line);
        std::string shown = Shown(hWnd, pState->strText.substr(line.nStart, line.nLength));
        TextOut(hdc, x, y, shown.c_str(), static_cast<int>(shown.size()));
        const size_t nFrom = std::max(nSelStart, line.nStart);
        const size_t nTo = std::min(nSelEnd, line.nStart + line.nLength);
        if (!bShowSel || nFrom >= nTo)
            continue;
        // The selected part again, in the highlight colours.
        const int xFrom = x + TextWidth(hWnd, hdc, pState->strText.substr(line.nStart, nFrom - line.nStart));
        std::string selected = Shown(hWnd, pState->strText.substr(nFrom, nTo - nFrom));
        RECT rcSel { xFrom, y, xFrom + TextWidth(hWnd, hdc, pState->strText.substr(nFrom, nTo - nFrom)),
            y + nLineHeight };
        FillRect(hdc, &rcSel, GetSysColorBrush(COLOR_HIGHLIGHT));
        COLORREF crOld = SetTextColor(hdc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        TextOut(hdc, xFrom, y, selected.c_str(), static_cast<int>(selected.size()));
        SetTextColor(hdc, crOld);
    }
}

/***** Messages *****/

LRESULT GetLine(HWND hWnd, WPARAM nLine, LPARAM lParam)
{
    if (!lParam)
        return 0;
    const CEditState* pState = GetControlState<CEditState>(hWnd);
    CControlMeasureDC dc(hWnd);
    std::vector<CEditLine> lines = Lines(hWnd, dc.Get());
    if (nLine >= lines.size())
        return 0;
    WORD nSize = 0;
    std::memcpy(&nSize, reinterpret_cast<void*>(lParam), sizeof(nSize));
    size_t nCopy = std::min<size_t>(nSize, lines[nLine].nLength);
    std::memcpy(reinterpret_cast<void*>(lParam), pState->strText.data() + lines[nLine].nStart, nCopy);
    return static_cast<LRESULT>(nCopy);
}

LRESULT GetSel(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    const CEditState* pState = GetControlState<CEditState>(hWnd);
    auto nStart = static_cast<DWORD>(pState->SelStart());
    auto nEnd = static_cast<DWORD>(pState->SelEnd());
    if (wParam)
        *reinterpret_cast<DWORD*>(wParam) = nStart;
    if (lParam)
        *reinterpret_cast<DWORD*>(lParam) = nEnd;
    return static_cast<LRESULT>(static_cast<DWORD>(MAKELONG(
        static_cast<WORD>(std::min<DWORD>(nStart, 0xFFFF)), static_cast<WORD>(std::min<DWORD>(nEnd, 0xFFFF)))));
}

void SetSel(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    const CEditState* pState = GetControlState<CEditState>(hWnd);
    const auto nStart = static_cast<int>(static_cast<INT_PTR>(wParam));
    const auto nEnd = static_cast<int>(lParam);
    const size_t nSize = pState->strText.size();
    if (nStart == -1) {
        SetSelection(hWnd, pState->nCaret, pState->nCaret);
        return;
    }
    size_t nAnchor = std::min<size_t>(static_cast<size_t>(std::max(nStart, 0)), nSize);
    size_t nCaret = nEnd < 0 ? nSize : std::min<size_t>(static_cast<size_t>(nEnd), nSize);
    SetSelection(hWnd, nAnchor, nCaret);
}

LRESULT LineIndex(HWND hWnd, WPARAM wParam)
{
    const CEditState* pState = GetControlState<CEditState>(hWnd);
    CControlMeasureDC dc(hWnd);
    std::vector<CEditLine> lines = Lines(hWnd, dc.Get());
    const auto nLine = static_cast<int>(static_cast<INT_PTR>(wParam));
    if (nLine < 0)
        return static_cast<LRESULT>(lines[LineOf(lines, pState->nCaret)].nStart);
    return static_cast<size_t>(nLine) < lines.size() ? static_cast<LRESULT>(lines[static_cast<size_t>(nLine)].nStart)
                                                     : -1;
}

LRESULT LineFromChar(HWND hWnd, WPARAM wParam)
{
    const CEditState* pState = GetControlState<CEditState>(hWnd);
    CControlMeasureDC dc(hWnd);
    std::vector<CEditLine> lines = Lines(hWnd, dc.Get());
    const auto nPos = static_cast<INT_PTR>(wParam);
    return static_cast<LRESULT>(LineOf(lines, nPos < 0 ? pState->SelStart() : static_cast<size_t>(nPos)));
}

LRESULT LineLength(HWND hWnd, WPARAM wParam)
{
    const CEditState* pState = GetControlState<CEditState>(hWnd);
    CControlMeasureDC dc(hWnd);
    std::vector<CEditLine> lines = Lines(hWnd, dc.Get());
    const auto nPos = static_cast<INT_PTR>(wParam);
    if (nPos < 0) {
        // The characters of the selection's lines that are not selected.
        const CEditLine& first = lines[LineOf(lines, pState->SelStart())];
        const CEditLine& last = lines[LineOf(lines, pState->SelEnd())];
        return static_cast<LRESULT>(
            (pState->SelStart() - first.nStart) + (last.nStart + last.nLength - pState->SelEnd()));
    }
    return static_cast<LRESULT>(lines[LineOf(lines, static_cast<size_t>(nPos))].nLength);
}

LRESULT OnNcCreate(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    auto pState = std::make_unique<CEditState>();
    const auto* pcs = reinterpret_cast<const CREATESTRUCT*>(lParam);
    if (pcs && pcs->lpszName && !IS_INTRESOURCE(pcs->lpszName))
        pState->strText = pcs->lpszName;
    AttachControlState(hWnd, std::move(pState));
    return DefWindowProc(hWnd, WM_NCCREATE, wParam, lParam);
}

} // namespace

LRESULT CALLBACK EditWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    CEditState* pState = GetControlState<CEditState>(hWnd);
    if (HandleFontMessage(hWnd, uMsg, wParam, lParam, &lResult)) {
        // A new font makes a caret of its line height.
        if (uMsg == WM_SETFONT && pState->bFocus)
            MakeCaret(hWnd);
        return lResult;
    }
    if (!pState && uMsg != WM_NCCREATE)
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    switch (uMsg) {
    case WM_NCCREATE:
        return OnNcCreate(hWnd, wParam, lParam);
    case WM_DESTROY:
        if (pState->bFocus)
            DropCaret(hWnd);
        pState->bFocus = false;
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    case WM_NCDESTROY:
        DestroyControlState(hWnd);
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    case WM_GETDLGCODE:
        return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS
            | ((EditStyle(hWnd) & ES_MULTILINE) ? DLGC_WANTALLKEYS : 0);
    case WM_SETTEXT:
        pState->strText = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
        if (!(EditStyle(hWnd) & ES_MULTILINE))
            pState->strText = pState->strText.substr(0, pState->strText.find_first_of("\r\n"));
        pState->nAnchor = pState->nCaret = 0;
        pState->nScrollX = pState->nTopLine = 0;
        pState->bModified = false;
        pState->bCanUndo = false;
        pState->bTyping = false;
        Changed(hWnd);
        return TRUE;
    case WM_GETTEXT: {
        if (!lParam || wParam == 0)
            return 0;
        auto* pBuffer = reinterpret_cast<LPSTR>(lParam);
        size_t nCopy = CharBoundary(pState->strText, std::min<size_t>(wParam - 1, pState->strText.size()));
        std::memcpy(pBuffer, pState->strText.data(), nCopy);
        pBuffer[nCopy] = '\0';
        return static_cast<LRESULT>(nCopy);
    }
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(pState->strText.size());
    case WM_ERASEBKGND:
        return TRUE; // WM_PAINT paints every pixel.
    case WM_PAINT:
        PaintControl(hWnd, PaintEdit);
        return 0;
    case WM_SIZE:
    case WM_ENABLE:
    case WM_STYLECHANGED:
        InvalidateRect(hWnd, nullptr, TRUE);
        PlaceCaret(hWnd);
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    case WM_SETFOCUS:
        pState->bFocus = true;
        MakeCaret(hWnd);
        InvalidateRect(hWnd, nullptr, FALSE);
        NotifyParent(hWnd, EN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        DropCaret(hWnd);
        pState->bFocus = false;
        InvalidateRect(hWnd, nullptr, FALSE);
        NotifyParent(hWnd, EN_KILLFOCUS);
        return 0;
    case WM_CHAR:
        OnChar(hWnd, wParam);
        return 0;
    case WM_VSCROLL:
        OnVScroll(hWnd, wParam);
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(hWnd, wParam);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        SetFocus(hWnd);
        SetCapture(hWnd);
        CControlMeasureDC dc(hWnd);
        MoveCaret(hWnd, PosOfPoint(hWnd, dc.Get(), PointOf(lParam)));
        return 0;
    }
    case WM_MOUSEMOVE:
        if (GetCapture() == hWnd) {
            CControlMeasureDC dc(hWnd);
            size_t nPos = PosOfPoint(hWnd, dc.Get(), PointOf(lParam));
            SetSelection(hWnd, pState->nAnchor, nPos);
        }
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == hWnd)
            ReleaseCapture();
        return 0;
    case WM_CUT:
        Copy(hWnd);
        if (!(EditStyle(hWnd) & ES_PASSWORD))
            Clear(hWnd);
        return 0;
    case WM_COPY:
        Copy(hWnd);
        return 0;
    case WM_PASTE:
        Paste(hWnd);
        return 0;
    case WM_CLEAR:
        Clear(hWnd);
        return 0;
    case WM_UNDO:
    case EM_UNDO:
        if (!pState->bCanUndo)
            return FALSE;
        Undo(hWnd);
        return TRUE;
    case EM_CANUNDO:
        return pState->bCanUndo;
    case EM_EMPTYUNDOBUFFER:
        pState->bCanUndo = false;
        return 0;
    case EM_GETSEL:
        return GetSel(hWnd, wParam, lParam);
    case EM_SETSEL:
        SetSel(hWnd, wParam, lParam);
        return 0;
    case EM_REPLACESEL:
        ReplaceSelection(hWnd, lParam ? reinterpret_cast<LPCSTR>(lParam) : "",
            wParam ? EEditChange::Undoable : EEditChange::Final, false);
        return 0;
    case EM_GETRECT:
        if (lParam)
            *reinterpret_cast<LPRECT>(lParam) = FormatRect(hWnd);
        return 0;
    case EM_SCROLLCARET:
        ScrollToCaret(hWnd);
        InvalidateRect(hWnd, nullptr, FALSE);
        return TRUE;
    case EM_GETMODIFY:
        return pState->bModified;
    case EM_SETMODIFY:
        pState->bModified = wParam != 0;
        return 0;
    case EM_GETLINECOUNT: {
        CControlMeasureDC dc(hWnd);
        return static_cast<LRESULT>(Lines(hWnd, dc.Get()).size());
    }
    case EM_LINEINDEX:
        return LineIndex(hWnd, wParam);
    case EM_LINEFROMCHAR:
        return LineFromChar(hWnd, wParam);
    case EM_LINELENGTH:
        return LineLength(hWnd, wParam);
    case EM_GETLINE:
        return GetLine(hWnd, wParam, lParam);
    case EM_LIMITTEXT:
        pState->nLimit = wParam == 0 ? EDIT_MAX_LIMIT : static_cast<size_t>(wParam);
        return 0;
    case EM_GETLIMITTEXT:
        return static_cast<LRESULT>(pState->nLimit);
    case EM_SETPASSWORDCHAR:
        pState->chPassword = static_cast<char>(wParam);
        SetWindowLongPtr(hWnd, GWL_STYLE,
            static_cast<LONG_PTR>(wParam ? (EditStyle(hWnd) | ES_PASSWORD) : (EditStyle(hWnd) & ~ES_PASSWORD)));
        InvalidateRect(hWnd, nullptr, TRUE);
        return 0;
    case EM_GETPASSWORDCHAR:
        return (EditStyle(hWnd) & ES_PASSWORD) ? static_cast<unsigned char>(pState->chPassword) : 0;
    case EM_SETMARGINS:
        SetMargins(hWnd, wParam, lParam);
        return 0;
    case EM_GETMARGINS:
        return static_cast<LRESULT>(static_cast<DWORD>(
            MAKELONG(static_cast<WORD>(pState->nLeftMargin), static_cast<WORD>(pState->nRightMargin))));
    case EM_LINESCROLL:
        return LineScroll(hWnd, wParam, lParam);
    case EM_GETFIRSTVISIBLELINE:
        return pState->nTopLine;
    case EM_SETREADONLY:
        SetWindowLongPtr(hWnd, GWL_STYLE,
            static_cast<LONG_PTR>(wParam ? (EditStyle(hWnd) | ES_READONLY) : (EditStyle(hWnd) & ~ES_READONLY)));
        InvalidateRect(hWnd, nullptr, TRUE);
        return TRUE;
    case EM_POSFROMCHAR: {
        CControlMeasureDC dc(hWnd);
        POINT pt = PointOfPos(hWnd, dc.Get(), CharBoundary(pState->strText, static_cast<size_t>(wParam)));
        return static_cast<LRESULT>(static_cast<DWORD>(MAKELONG(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y))));
    }
    case EM_CHARFROMPOS: {
        CControlMeasureDC dc(hWnd);
        size_t nPos = PosOfPoint(hWnd, dc.Get(), PointOf(lParam));
        size_t nLine = LineOf(Lines(hWnd, dc.Get()), nPos);
        return static_cast<LRESULT>(static_cast<DWORD>(MAKELONG(static_cast<WORD>(nPos), static_cast<WORD>(nLine))));
    }
    default:
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    }
}
