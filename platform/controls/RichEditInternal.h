#pragma once

// What the rich edit's files share: its state, the text with its format runs,
// the fonts the formats draw with, and the lines the text is laid out in.
//
// The text changes only through ReplaceRange and its formats only through
// the format calls below; both mark the layout stale. The layout is made
// again when something needs it (painting, a point, a line, the scroll
// bar), so a run of changes costs one layout.
//
// Invariants, checked by CheckRichEditInvariants in debug builds:
//   (1) runs is empty exactly when the text is; otherwise its first key is 0
//       and every key is below the text's length;
//   (2) no two neighbouring runs have the same format;
//   (3) every format index names an entry of formats;
//   (4) the anchor and the caret lie within 0 .. the text's length.

#include "platform/controls/ControlInternal.h"
#include "platform/controls/RichEditControl.h"

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// A character format with every field set.
struct CRichFormat {
    std::string strFace;
    LONG nHeight { 200 }; // twips
    bool bBold { false };
    bool bAutoColor { true };
    COLORREF crText { 0 };

    bool operator==(const CRichFormat&) const = default;
};

// The font of a face, size and weight, with the advance of each character
// measured once. Widths add up character by character (the text engine
// neither kerns nor joins), so a line's width is the sum of its advances.
class CRichFont {
public:
    CRichFont(const CRichFormat& format, HDC hMeasureDC);
    ~CRichFont();
    CRichFont(const CRichFont&) = delete;
    CRichFont& operator=(const CRichFont&) = delete;

    HFONT Get() const { return m_hFont; }
    int Ascent() const { return m_nAscent; }
    int Descent() const { return m_nDescent; }
    // The advance of a character that is not a tab or a line break.
    int Advance(char32_t ch)
    {
        if (ch < m_ascii.size() && m_ascii[ch] >= 0)
            return m_ascii[ch];
        return MeasureAdvance(ch);
    }

private:
    int MeasureAdvance(char32_t ch);

    HDC m_hMeasureDC;
    HFONT m_hFont;
    int m_nAscent { 0 };
    int m_nDescent { 0 };
    std::array<int, 128> m_ascii {}; // -1 until measured
    std::unordered_map<char32_t, int> m_others;
};

// One laid-out line: the characters cpStart .. cpEnd, then what ends it (a
// line break, blanks hanging past the edge, or nothing where a word wrapped)
// up to cpNext, where the next line starts.
struct CRichLine {
    LONG cpStart;
    LONG cpEnd;
    LONG cpNext;
    int y; // from the top of the text
    int nHeight;
    int nAscent;
};

struct CRichEditState : CControlState {
    ~CRichEditState() override;

    std::u32string text;
    std::vector<CRichFormat> formats; // each format once; runs and the defaults index it
    std::map<LONG, int> runs;         // the position where a run starts -> its format
    int iDefault { 0 };               // the format of new text without another
    std::optional<int> iInsertion;    // set on an empty selection, for the next replace
    LONG cpAnchor { 0 };
    LONG cpCaret { 0 };
    LONG nLimit { RICHEDIT_DEFAULT_LIMIT };
    bool bHideSelection { false }; // EM_HIDESELECTION
    bool bFocus { false };
    bool bMouseSelecting { false };
    bool bScrollBar { false }; // made with WS_VSCROLL: the bar shows while the lines do not fit

    // The fonts by format index, made when first drawn or measured.
    HDC hMeasureDC { nullptr };
    std::vector<CRichFont*> formatFonts;
    std::vector<std::unique_ptr<CRichFont>> fonts;

    // The layout, valid while bLayoutValid and the width is nLayoutWidth.
    bool bLayoutValid { false };
    int nLayoutWidth { -1 };
    std::vector<CRichLine> lines;
    int nTopLine { 0 };
    bool bCaretIntoView { false }; // scroll to the caret at the next layout

    // The lower-cased text for finding, made again after the text changed.
    std::u32string lowered;
    bool bLoweredValid { false };

    LONG SelMin() const { return std::min(cpAnchor, cpCaret); }
    LONG SelMax() const { return std::max(cpAnchor, cpCaret); }
    LONG Length() const { return static_cast<LONG>(text.size()); }
};

inline CRichEditState* RichEditState(HWND hWnd)
{
    return GetControlState<CRichEditState>(hWnd);
}

/***** Text and formats (RichEditText.cpp) *****/

// Text as the control keeps it: UTF-8 decoded, "\r\n" and "\r" made "\n",
// control characters other than tabs and line breaks made U+FFFD.
std::u32string RichInputText(std::string_view text);
// Characters cpMin .. cpMax as UTF-8 with "\r\n" line breaks.
std::string RichOutputText(const CRichEditState& state, LONG cpMin, LONG cpMax);

// The index of the format, added when new.
int InternFormat(CRichEditState& state, const CRichFormat& format);
// The format of the character at cp; past the end that of the last one; the
// default format for an empty text.
int FormatAt(const CRichEditState& state, LONG cp);
// The format a replacement of the selection takes.
int ReplacementFormat(const CRichEditState& state);

// Replaces characters cpMin .. cpMax with `insert` in format iFormat, cut to
// the limit; the selection becomes an empty one after the new text.
void ReplaceRange(HWND hWnd, LONG cpMin, LONG cpMax, std::u32string_view insert, int iFormat);
// Applies the fields of cf that its mask names.
CRichFormat MergedFormat(const CRichFormat& format, const CHARFORMAT& cf);
// Answers EM_SETCHARFORMAT.
BOOL SetCharFormat(HWND hWnd, WPARAM nScope, const CHARFORMAT& cf);
// Answers EM_GETCHARFORMAT: fills cf, returns its mask.
DWORD GetCharFormat(const CRichEditState& state, WPARAM nScope, CHARFORMAT* pcf);
// Answers EM_FINDTEXTEX.
LONG FindRichText(CRichEditState& state, WPARAM nFlags, FINDTEXTEX* pFind);
// Moves the selection (clamped) and drops the insertion format.
void SetRichSelection(HWND hWnd, LONG cpAnchor, LONG cpCaret);

#ifndef NDEBUG
void CheckRichEditInvariants(const CRichEditState& state);
#else
inline void CheckRichEditInvariants(const CRichEditState&) { }
#endif

/***** Fonts, layout, scrolling and the caret (RichEditLayout.cpp) *****/

CRichFont& FontOf(CRichEditState& state, int iFormat);
// The advance of a character (not a line break) starting x pixels into its line.
int RichAdvance(CRichFont& font, char32_t ch, int x);
// Marks the layout stale and the control for repainting.
void RichLayoutChanged(HWND hWnd);
// The client area the text is laid out in.
RECT RichTextArea(HWND hWnd);
// Makes the layout when it is stale, scrolls to the caret when asked, and
// keeps the scroll bar in step. Every reader of lines calls it first.
void EnsureRichLayout(HWND hWnd);
// The line a position is on (a wrapped line's end belongs to the next one).
int RichLineOf(const CRichEditState& state, LONG cp);
// The x of a position within its line, from the line's left edge.
int RichOffsetInLine(CRichEditState& state, const CRichLine& line, LONG cp);
// The client point of a position (the top of its line), and the position nearest a client point.
POINT RichPointOfPos(HWND hWnd, LONG cp);
LONG RichPosOfPoint(HWND hWnd, POINT pt);
// Makes nTop the first visible line, within the lines there are.
void SetRichTopLine(HWND hWnd, int nTop);
// The number of lines that fit from line nFrom down.
int RichLinesThatFit(const CRichEditState& state, int nFrom, int nHeight);
// The caret follows the focus: made on focus, moved with the selection, dropped on leaving.
void MakeRichCaret(HWND hWnd);
void PlaceRichCaret(HWND hWnd);
void DropRichCaret(HWND hWnd);

/***** Painting (RichEditPaint.cpp) *****/

void PaintRichEdit(HWND hWnd, HDC hdc);

/***** Keyboard and mouse (RichEditInput.cpp) *****/

// Answers the keys, the mouse, WM_VSCROLL and WM_MOUSEWHEEL; FALSE for other messages.
BOOL HandleRichEditInput(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
// Puts the selection on the clipboard; FALSE when empty or the clipboard is busy.
BOOL CopyRichSelection(HWND hWnd);
