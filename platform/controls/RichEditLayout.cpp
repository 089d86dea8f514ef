#include "platform/controls/RichEditInternal.h"

#include "platform/base/TextFunctions.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Text.h"
#include "platform/window/Caret.h"
#include "platform/window/Paint.h"
#include "platform/window/ScrollBars.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <string>

namespace {

constexpr int TEXT_MARGIN = 2;   // pixels between the client edges and the text
constexpr int TAB_INTERVAL = 48; // pixels between tab stops (half an inch)
constexpr LONG TWIPS_PER_INCH = 1440;
constexpr LONG PIXELS_PER_INCH = 96;

// Walks the runs along the text, giving the font of each position in turn.
class CRunCursor {
public:
    CRunCursor(CRichEditState& state, LONG cp)
        : m_state(state)
    {
        Seek(cp);
    }

    CRichFont& FontFor(LONG cp)
    {
        if (cp >= m_cpRunEnd || cp < m_cpRunStart)
            Seek(cp);
        return *m_pFont;
    }

private:
    void Seek(LONG cp)
    {
        if (m_state.runs.empty()) {
            m_cpRunStart = 0;
            m_cpRunEnd = 0x7FFFFFFF;
            m_pFont = &FontOf(m_state, m_state.iDefault);
            return;
        }
        auto it = std::prev(m_state.runs.upper_bound(cp));
        m_cpRunStart = it->first;
        auto next = std::next(it);
        m_cpRunEnd = next == m_state.runs.end() ? 0x7FFFFFFF : next->first;
        m_pFont = &FontOf(m_state, it->second);
    }

    CRichEditState& m_state;
    LONG m_cpRunStart { 0 };
    LONG m_cpRunEnd { 0 };
    CRichFont* m_pFont { nullptr };
};

// The line starting at cpLine, broken at the last blank before the width
// runs out, or inside a word longer than the width.
CRichLine LayOutLine(CRichEditState& state, CRunCursor& runs, LONG cpLine, int nWidth, bool* pbBreak)
{
    const LONG nLength = state.Length();
    LONG cp = cpLine;
    LONG cpAfterBlank = -1;
    int x = 0;
    CRichLine line { cpLine, nLength, nLength, 0, 0, 0 };
    *pbBreak = false;
    while (cp < nLength) {
        const char32_t ch = state.text[static_cast<size_t>(cp)];
        if (ch == '\n') {
            line.cpEnd = cp;
            line.cpNext = cp + 1;
            *pbBreak = true;
            break;
        }
        const int nAdvance = RichAdvance(runs.FontFor(cp), ch, x);
        if (ch == ' ' || ch == '\t') {
            // Blanks hang past the edge; a line may break after them.
            x += nAdvance;
            cpAfterBlank = ++cp;
            continue;
        }
        if (x + nAdvance > nWidth && cp > cpLine) {
            line.cpEnd = line.cpNext = cpAfterBlank > cpLine ? cpAfterBlank : cp;
            break;
        }
        x += nAdvance;
        ++cp;
    }
    // The line is as high as the largest font on it; an empty one takes the font at its place.
    int nAscent = 0, nDescent = 0;
    const LONG cpLast = std::max(line.cpEnd, std::min(cpLine + 1, nLength));
    for (LONG cpRun = cpLine;;) {
        CRichFont& font = runs.FontFor(cpRun);
        nAscent = std::max(nAscent, font.Ascent());
        nDescent = std::max(nDescent, font.Descent());
        auto next = state.runs.upper_bound(cpRun);
        if (next == state.runs.end() || next->first >= cpLast)
            break;
        cpRun = next->first;
    }
    line.nAscent = nAscent;
    line.nHeight = std::max(1, nAscent + nDescent);
    return line;
}

void LayOut(CRichEditState& state, int nWidth)
{
    state.lines.clear();
    CRunCursor runs(state, 0);
    int y = 0;
    for (LONG cpLine = 0;;) {
        bool bBreak = false;
        CRichLine line = LayOutLine(state, runs, cpLine, std::max(1, nWidth), &bBreak);
        line.y = y;
        y += line.nHeight;
        state.lines.push_back(line);
        // A break at the very end still starts an empty last line.
        if (line.cpNext >= state.Length() && !(bBreak && line.cpNext == state.Length()))
            break;
        cpLine = line.cpNext;
    }
}

// The first line that can be on top with the lines below it filling the area.
int MaxTopLine(const CRichEditState& state, int nHeight)
{
    int nTop = static_cast<int>(state.lines.size()) - 1;
    int nUsed = state.lines.back().nHeight;
    while (nTop > 0 && nUsed + state.lines[static_cast<size_t>(nTop) - 1].nHeight <= nHeight)
        nUsed += state.lines[static_cast<size_t>(--nTop)].nHeight;
    return nTop;
}

void UpdateScrollBar(HWND hWnd, const CRichEditState& state, int nHeight)
{
    if (!(GetWindowLongPtr(hWnd, GWL_STYLE) & WS_VSCROLL))
        return;
    SCROLLINFO si { sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, static_cast<int>(state.lines.size()) - 1,
        static_cast<UINT>(RichLinesThatFit(state, state.nTopLine, nHeight)), state.nTopLine, 0 };
    SCROLLINFO old { sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0 };
    GetScrollInfo(hWnd, SB_VERT, &old);
    if (old.nMax != si.nMax || old.nPage != si.nPage || old.nPos != si.nPos || old.nMin != 0)
        SetScrollInfo(hWnd, SB_VERT, &si, TRUE);
}

} // namespace

/***** Fonts *****/

CRichFont::CRichFont(const CRichFormat& format, HDC hMeasureDC)
    : m_hMeasureDC(hMeasureDC)
{
    const int nPixels = std::max<LONG>(1, (format.nHeight * PIXELS_PER_INCH + TWIPS_PER_INCH / 2) / TWIPS_PER_INCH);
    m_hFont = CreateFont(-nPixels, 0, 0, 0, format.bBold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, format.strFace.c_str());
    HGDIOBJ hOld = SelectObject(m_hMeasureDC, m_hFont);
    TEXTMETRIC tm {};
    GetTextMetrics(m_hMeasureDC, &tm);
    m_nAscent = tm.tmAscent;
    m_nDescent = tm.tmDescent;
    // The printable ASCII characters in one measurement.
    m_ascii.fill(-1);
    std::string strPrintable;
    for (char ch = ' '; ch <= '~'; ++ch)
        strPrintable += ch;
    std::vector<int> extents(strPrintable.size());
    SIZE size {};
    GetTextExtentExPoint(
        m_hMeasureDC, strPrintable.c_str(), static_cast<int>(strPrintable.size()), 0, nullptr, extents.data(), &size);
    for (size_t i = 0; i < strPrintable.size(); ++i)
        m_ascii[static_cast<size_t>(' ') + i] = extents[i] - (i == 0 ? 0 : extents[i - 1]);
    SelectObject(m_hMeasureDC, hOld);
}

CRichFont::~CRichFont()
{
    DeleteObject(m_hFont);
}

int CRichFont::MeasureAdvance(char32_t ch)
{
    auto it = m_others.find(ch);
    if (it != m_others.end())
        return it->second;
    std::string strChar;
    AppendUtf8(strChar, ch);
    HGDIOBJ hOld = SelectObject(m_hMeasureDC, m_hFont);
    SIZE size {};
    GetTextExtentPoint32(m_hMeasureDC, strChar.c_str(), static_cast<int>(strChar.size()), &size);
    SelectObject(m_hMeasureDC, hOld);
    m_others.emplace(ch, size.cx);
    return size.cx;
}

CRichEditState::~CRichEditState()
{
    fonts.clear();
    if (hMeasureDC)
        DeleteDC(hMeasureDC);
}

CRichFont& FontOf(CRichEditState& state, int iFormat)
{
    const auto nFormat = static_cast<size_t>(iFormat);
    if (state.formatFonts.size() < state.formats.size())
        state.formatFonts.resize(state.formats.size(), nullptr);
    if (CRichFont* pFont = state.formatFonts[nFormat])
        return *pFont;
    // Formats that differ only in colour share a font.
    const CRichFormat& format = state.formats[nFormat];
    for (size_t i = 0; i < state.formatFonts.size(); ++i) {
        const CRichFormat& other = state.formats[i];
        if (state.formatFonts[i] && other.nHeight == format.nHeight && other.bBold == format.bBold
            && Utf8CompareNoCase(other.strFace, format.strFace) == 0)
            return *(state.formatFonts[nFormat] = state.formatFonts[i]);
    }
    if (!state.hMeasureDC)
        state.hMeasureDC = CreateCompatibleDC(nullptr);
    state.fonts.push_back(std::make_unique<CRichFont>(format, state.hMeasureDC));
    return *(state.formatFonts[nFormat] = state.fonts.back().get());
}

/***** Layout *****/

int RichAdvance(CRichFont& font, char32_t ch, int x)
{
    return ch == '\t' ? TAB_INTERVAL - x % TAB_INTERVAL : font.Advance(ch);
}

void RichLayoutChanged(HWND hWnd)
{
    RichEditState(hWnd)->bLayoutValid = false;
    InvalidateRect(hWnd, nullptr, FALSE);
}

RECT RichTextArea(HWND hWnd)
{
    RECT rc {};
    GetClientRect(hWnd, &rc);
    rc.left += TEXT_MARGIN;
    rc.top += TEXT_MARGIN;
    rc.right = std::max(rc.left, rc.right - TEXT_MARGIN);
    rc.bottom = std::max(rc.top, rc.bottom - TEXT_MARGIN);
    return rc;
}

namespace {

// Lays the text out at the area's width and shows or hides the vertical bar.
// Characters whose advance depends on their position (tabs) can make a
// narrower text shorter, so one layout may call for the bar and the next not:
// the pass after a change may show the bar but never hide it, which ends it.
void LayOutAndPlaceBar(HWND hWnd, bool bMayHideBar)
{
    CRichEditState& state = *RichEditState(hWnd);
    const RECT rcArea = RichTextArea(hWnd);
    const int nWidth = rcArea.right - rcArea.left;
    const int nHeight = rcArea.bottom - rcArea.top;
    if (!state.bLayoutValid || nWidth != state.nLayoutWidth) {
        LayOut(state, nWidth);
        state.bLayoutValid = true;
        state.nLayoutWidth = nWidth;
    }
    int nTop = std::min(state.nTopLine, MaxTopLine(state, nHeight));
    if (state.bCaretIntoView) {
        state.bCaretIntoView = false;
        const int nLine = RichLineOf(state, state.cpCaret);
        if (nLine < nTop) {
            nTop = nLine;
        } else if (nLine >= nTop + RichLinesThatFit(state, nTop, nHeight)) {
            // The caret's line becomes the last one that fits.
            nTop = nLine;
            int nUsed = state.lines[static_cast<size_t>(nLine)].nHeight;
            while (nTop > 0 && nUsed + state.lines[static_cast<size_t>(nTop) - 1].nHeight <= nHeight)
                nUsed += state.lines[static_cast<size_t>(--nTop)].nHeight;
        }
    }
    if (nTop != state.nTopLine) {
        state.nTopLine = nTop;
        InvalidateRect(hWnd, nullptr, FALSE);
    }
    // The bar shows only while the lines do not fit; a second pass at the new
    // width settles it.
    if (state.bScrollBar) {
        const bool bNeeded = state.lines.back().y + state.lines.back().nHeight > nHeight;
        const bool bShown = (GetWindowLongPtr(hWnd, GWL_STYLE) & WS_VSCROLL) != 0;
        if (bNeeded != bShown && (bNeeded || bMayHideBar)) {
            ShowScrollBar(hWnd, SB_VERT, bNeeded);
            if (IsWindow(hWnd))
                LayOutAndPlaceBar(hWnd, false);
            return;
        }
    }
    UpdateScrollBar(hWnd, state, nHeight);
}

} // namespace

void EnsureRichLayout(HWND hWnd)
{
    LayOutAndPlaceBar(hWnd, true);
}

int RichLineOf(const CRichEditState& state, LONG cp)
{
    auto it = std::upper_bound(state.lines.begin(), state.lines.end(), cp,
        [](LONG cpValue, const CRichLine& line) { return cpValue < line.cpStart; });
    return std::max(0, static_cast<int>(it - state.lines.begin()) - 1);
}

int RichOffsetInLine(CRichEditState& state, const CRichLine& line, LONG cp)
{
    CRunCursor runs(state, line.cpStart);
    int x = 0;
    for (LONG cpAt = line.cpStart; cpAt < std::min(cp, line.cpNext); ++cpAt) {
        const char32_t ch = state.text[static_cast<size_t>(cpAt)];
        if (ch != '\n')
            x += RichAdvance(runs.FontFor(cpAt), ch, x);
    }
    return x;
}

int RichLinesThatFit(const CRichEditState& state, int nFrom, int nHeight)
{
    int nCount = 0;
    int nUsed = 0;
    for (size_t i = static_cast<size_t>(std::max(0, nFrom)); i < state.lines.size(); ++i) {
        nUsed += state.lines[i].nHeight;
        if (nUsed > nHeight && nCount > 0)
            break;
        ++nCount;
    }
    return std::max(1, nCount);
}

POINT RichPointOfPos(HWND hWnd, LONG cp)
{
    EnsureRichLayout(hWnd);
    CRichEditState& state = *RichEditState(hWnd);
    const RECT rcArea = RichTextArea(hWnd);
    const CRichLine& line = state.lines[static_cast<size_t>(RichLineOf(state, cp))];
    const int yTop = state.lines[static_cast<size_t>(state.nTopLine)].y;
    return POINT { rcArea.left + RichOffsetInLine(state, line, cp), rcArea.top + line.y - yTop };
}

LONG RichPosOfPoint(HWND hWnd, POINT pt)
{
    EnsureRichLayout(hWnd);
    CRichEditState& state = *RichEditState(hWnd);
    const RECT rcArea = RichTextArea(hWnd);
    const int y = pt.y - rcArea.top + state.lines[static_cast<size_t>(state.nTopLine)].y;
    auto it = std::upper_bound(
        state.lines.begin(), state.lines.end(), y, [](int yValue, const CRichLine& line) { return yValue < line.y; });
    const CRichLine& line = it == state.lines.begin() ? state.lines.front() : *std::prev(it);
    CRunCursor runs(state, line.cpStart);
    int x = 0;
    for (LONG cp = line.cpStart; cp < line.cpEnd; ++cp) {
        const char32_t ch = state.text[static_cast<size_t>(cp)];
        const int nAdvance = RichAdvance(runs.FontFor(cp), ch, x);
        if (rcArea.left + x + nAdvance / 2 >= pt.x)
            return cp;
        x += nAdvance;
    }
    return line.cpEnd;
}

/***** Scrolling and the caret *****/

void SetRichTopLine(HWND hWnd, int nTop)
{
    EnsureRichLayout(hWnd);
    CRichEditState& state = *RichEditState(hWnd);
    const RECT rcArea = RichTextArea(hWnd);
    nTop = std::clamp(nTop, 0, MaxTopLine(state, rcArea.bottom - rcArea.top));
    if (nTop == state.nTopLine)
        return;
    state.nTopLine = nTop;
    InvalidateRect(hWnd, nullptr, FALSE);
    EnsureRichLayout(hWnd);
    PlaceRichCaret(hWnd);
}

void PlaceRichCaret(HWND hWnd)
{
    CRichEditState& state = *RichEditState(hWnd);
    if (!state.bFocus)
        return;
    const POINT pt = RichPointOfPos(hWnd, state.cpCaret);
    SetCaretPos(pt.x, pt.y);
}

void MakeRichCaret(HWND hWnd)
{
    EnsureRichLayout(hWnd);
    CRichEditState& state = *RichEditState(hWnd);
    const CRichLine& line = state.lines[static_cast<size_t>(RichLineOf(state, state.cpCaret))];
    if (!CreateCaret(hWnd, nullptr, 1, line.nHeight))
        return;
    PlaceRichCaret(hWnd);
    ShowCaret(hWnd);
}

void DropRichCaret(HWND hWnd)
{
    if (HideCaret(hWnd))
        DestroyCaret();
}
