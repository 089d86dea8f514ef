#include "platform/controls/RichEditInternal.h"

#include "platform/base/TextFunctions.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <string>

namespace {

bool SelectionShown(HWND hWnd, const CRichEditState& state)
{
    return !state.bHideSelection && state.cpAnchor != state.cpCaret
        && (state.bFocus || (GetWindowLongPtr(hWnd, GWL_STYLE) & ES_NOHIDESEL));
}

// Draws one line: pieces of one format and one side of the selection, each
// filled with the highlight when selected; tabs only move the pen.
void PaintLine(HDC hdc, CRichEditState& state, const CRichLine& line, int xLeft, int yTop, LONG cpSelMin, LONG cpSelMax)
{
    int x = 0;
    LONG cp = line.cpStart;
    std::string strPiece;
    while (cp < line.cpEnd) {
        auto next = state.runs.upper_bound(cp);
        const int iFormat = std::prev(next)->second;
        LONG cpPieceEnd = std::min(line.cpEnd, next == state.runs.end() ? line.cpEnd : next->first);
        const bool bSelected = cp >= cpSelMin && cp < cpSelMax;
        if (cp < cpSelMin)
            cpPieceEnd = std::min(cpPieceEnd, cpSelMin);
        else if (bSelected)
            cpPieceEnd = std::min(cpPieceEnd, cpSelMax);
        CRichFont& font = FontOf(state, iFormat);
        const CRichFormat& format = state.formats[static_cast<size_t>(iFormat)];
        COLORREF crText = format.bAutoColor ? GetSysColor(COLOR_WINDOWTEXT) : format.crText;
        if (bSelected)
            crText = GetSysColor(COLOR_HIGHLIGHTTEXT);
        SelectObject(hdc, font.Get());
        SetTextColor(hdc, crText);
        const int yText = yTop + line.nAscent - font.Ascent();
        // Tabs only move the pen; the text between them is drawn a stretch at a time.
        while (cp < cpPieceEnd) {
            const int xStart = x;
            strPiece.clear();
            const bool bTab = state.text[static_cast<size_t>(cp)] == '\t';
            LONG cpEnd = cp;
            do {
                const char32_t ch = state.text[static_cast<size_t>(cpEnd)];
                if ((ch == '\t') != bTab)
                    break;
                x += RichAdvance(font, ch, x);
                if (!bTab)
                    AppendUtf8(strPiece, ch);
            } while (++cpEnd < cpPieceEnd);
            if (bSelected) {
                RECT rcSelected { xLeft + xStart, yTop, xLeft + x, yTop + line.nHeight };
                FillRect(hdc, &rcSelected, GetSysColorBrush(COLOR_HIGHLIGHT));
            }
            if (!strPiece.empty())
                TextOut(hdc, xLeft + xStart, yText, strPiece.c_str(), static_cast<int>(strPiece.size()));
            cp = cpEnd;
        }
    }
    // A selected line break shows as a blank's width of highlight.
    if (line.cpEnd < line.cpNext && line.cpEnd >= cpSelMin && line.cpEnd < cpSelMax) {
        const int nBlank = FontOf(state, FormatAt(state, line.cpEnd)).Advance(' ');
        RECT rcBreak { xLeft + x, yTop, xLeft + x + nBlank, yTop + line.nHeight };
        FillRect(hdc, &rcBreak, GetSysColorBrush(COLOR_HIGHLIGHT));
    }
}

} // namespace

void PaintRichEdit(HWND hWnd, HDC hdc)
{
    EnsureRichLayout(hWnd);
    CRichEditState& state = *RichEditState(hWnd);
    RECT rcClient {};
    GetClientRect(hWnd, &rcClient);
    FillRect(hdc, &rcClient, GetSysColorBrush(COLOR_WINDOW));
    const RECT rcArea = RichTextArea(hWnd);
    const int nSaved = SaveDC(hdc);
    IntersectClipRect(hdc, rcArea.left, rcArea.top, rcArea.right, rcArea.bottom);
    SetBkMode(hdc, TRANSPARENT);
    const bool bShowSelection = SelectionShown(hWnd, state);
    const LONG cpSelMin = bShowSelection ? state.SelMin() : -1;
    const LONG cpSelMax = bShowSelection ? state.SelMax() : -1;
    const int yOrigin = state.lines[static_cast<size_t>(state.nTopLine)].y;
    for (size_t i = static_cast<size_t>(state.nTopLine); i < state.lines.size(); ++i) {
        const int yTop = rcArea.top + state.lines[i].y - yOrigin;
        if (yTop >= rcArea.bottom)
            break;
        PaintLine(hdc, state, state.lines[i], rcArea.left, yTop, cpSelMin, cpSelMax);
    }
    RestoreDC(hdc, nSaved);
}
