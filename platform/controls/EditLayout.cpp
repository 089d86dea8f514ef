#include "platform/controls/EditInternal.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Text.h"
#include "platform/window/Caret.h"
#include "platform/window/Paint.h"
#include "platform/window/ScrollBars.h"
#include "platform/window/Window.h"

namespace {

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

// Keeps a multi-line control's vertical scroll bar (WS_VSCROLL) in step with its lines.
void UpdateScrollBar(HWND hWnd, HDC hdc)
{
    if (!(EditStyle(hWnd) & ES_MULTILINE) || !(EditStyle(hWnd) & WS_VSCROLL))
        return;
    const CEditState* pState = EditState(hWnd);
    const RECT rc = FormatRect(hWnd);
    const int nVisible = std::max(1, (rc.bottom - rc.top) / LineHeight(hdc));
    SCROLLINFO si { sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0,
        static_cast<int>(Lines(hWnd, hdc).size()) - 1, static_cast<UINT>(nVisible), pState->nTopLine, 0 };
    SetScrollInfo(hWnd, SB_VERT, &si, TRUE);
}

} // namespace

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
    const CEditState* pState = EditState(hWnd);
    rc.left = std::min(rc.right, rc.left + pState->nLeftMargin);
    rc.right = std::max(rc.left, rc.right - pState->nRightMargin);
    return rc;
}

std::string Shown(HWND hWnd, const std::string& strText)
{
    const CEditState* pState = EditState(hWnd);
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

std::vector<CEditLine> Lines(HWND hWnd, HDC hdc)
{
    const std::string& strText = EditState(hWnd)->strText;
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

size_t LineOf(const std::vector<CEditLine>& lines, size_t nPos)
{
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
        if (nPos < lines[i + 1].nStart)
            return i;
    }
    return lines.size() - 1;
}

int LineLeft(HWND hWnd, HDC hdc, const CEditLine& line)
{
    const CEditState* pState = EditState(hWnd);
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
    const CEditState* pState = EditState(hWnd);
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
    const CEditState* pState = EditState(hWnd);
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

void PlaceCaret(HWND hWnd)
{
    const CEditState* pState = EditState(hWnd);
    if (!pState->bFocus)
        return;
    CControlMeasureDC dc(hWnd);
    POINT pt = PointOfPos(hWnd, dc.Get(), pState->nCaret);
    SetCaretPos(pt.x, pt.y);
}

void MakeCaret(HWND hWnd)
{
    CControlMeasureDC dc(hWnd);
    if (!CreateCaret(hWnd, nullptr, 1, LineHeight(dc.Get())))
        return;
    PlaceCaret(hWnd);
    ShowCaret(hWnd);
}

void DropCaret(HWND hWnd)
{
    if (HideCaret(hWnd))
        DestroyCaret();
}

void SetTopLine(HWND hWnd, int nTop)
{
    CEditState* pState = EditState(hWnd);
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

void ScrollToCaret(HWND hWnd)
{
    CEditState* pState = EditState(hWnd);
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

void SetMargins(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    CEditState* pState = EditState(hWnd);
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
    CEditState* pState = EditState(hWnd);
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
