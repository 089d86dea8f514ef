#pragma once

// What the edit control's files share: its state, the lines it shows, the
// positions of its text, and the one way the text and the selection change
// (so EN_UPDATE and EN_CHANGE and the caret's place are never missed).
//
// Positions are byte offsets into strText that never fall inside a
// character or between the "\r" and "\n" of a line break.

#include "platform/controls/ControlInternal.h"
#include "platform/controls/EditControl.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <string>
#include <vector>

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

inline CEditState* EditState(HWND hWnd)
{
    return GetControlState<CEditState>(hWnd);
}
inline DWORD EditStyle(HWND hWnd)
{
    return static_cast<DWORD>(GetWindowLongPtr(hWnd, GWL_STYLE));
}

/***** Positions (EditInternal.cpp) *****/

bool IsContinuationByte(char ch);
// The position after the character at nPos ("\r\n" counts as one).
size_t NextChar(const std::string& strText, size_t nPos);
// The position of the character before nPos ("\r\n" counts as one).
size_t PrevChar(const std::string& strText, size_t nPos);
// Moves a position back to the start of the character it falls in.
size_t CharBoundary(const std::string& strText, size_t nPos);

/***** Lines, measuring, caret and scrolling (EditLayout.cpp) *****/

// The height of a line in hdc's font (at least 1).
int LineHeight(HDC hdc);
// The client area within the margins.
RECT FormatRect(HWND hWnd);
// What is shown of a piece of text: the password character for each character in a password field.
std::string Shown(HWND hWnd, const std::string& strText);
// The width of a piece of text as shown.
int TextWidth(HWND hWnd, HDC hdc, const std::string& strText);
// The lines shown, wrapped at the right edge when the control wraps words; one at least.
std::vector<CEditLine> Lines(HWND hWnd, HDC hdc);
// The line a position is on; a position at the end of a wrapped line belongs to the next one.
size_t LineOf(const std::vector<CEditLine>& lines, size_t nPos);
// The x of the line's start in client coordinates, by the alignment.
int LineLeft(HWND hWnd, HDC hdc, const CEditLine& line);
// Where a position is shown, in client coordinates (the top of its line).
POINT PointOfPos(HWND hWnd, HDC hdc, size_t nPos);
// The position nearest a client point.
size_t PosOfPoint(HWND hWnd, HDC hdc, POINT pt);
// Moves the system caret to the caret's place while the control has the
// focus, and so owns the caret. Every change that may move the caret's place
// (text, selection, scrolling, margins, size, font) ends here.
void PlaceCaret(HWND hWnd);
// Makes the control's caret, a pixel wide and a line high, and shows it at its place.
void MakeCaret(HWND hWnd);
// Destroys the caret when the control still owns it; another window of the
// thread may have made its own since.
void DropCaret(HWND hWnd);
// Makes nTop the first visible line, within the lines there are.
void SetTopLine(HWND hWnd, int nTop);
// Scrolls so that the caret shows, and puts the system caret there.
void ScrollToCaret(HWND hWnd);
// Answers EM_SETMARGINS.
void SetMargins(HWND hWnd, WPARAM wParam, LPARAM lParam);
// Answers EM_LINESCROLL.
LRESULT LineScroll(HWND hWnd, WPARAM wParam, LPARAM lParam);

/***** Changing the text (EditText.cpp) *****/

enum class EEditChange {
    Typing, // joins the typing run's undo step
    Undoable,
    Final, // cannot be undone
};

// Shows a changed text and tells the parent: EN_UPDATE, then EN_CHANGE.
void Changed(HWND hWnd);
// Moves the selection; positions are moved to character starts. Without
// bScroll the text stays where it is, the caret maybe out of sight.
void SetSelection(HWND hWnd, size_t nAnchor, size_t nCaret, bool bScroll = true);
// Replaces the selection with strInput, cut to the limit, and tells the
// parent. With bUser the style's filters apply and read-only controls refuse.
void ReplaceSelection(HWND hWnd, std::string strInput, EEditChange eChange, bool bUser);
// Goes back to the text before the last change; undoing again redoes it.
void Undo(HWND hWnd);
// The selection to the clipboard; a password field copies nothing.
void Copy(HWND hWnd);
void Paste(HWND hWnd);
// Deletes the selection.
void Clear(HWND hWnd);

/***** Input (EditInput.cpp) *****/

// Answers key, character, mouse and scroll bar messages; FALSE for other messages.
BOOL HandleEditInput(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

/***** Painting (EditPaint.cpp) *****/

void PaintEdit(HWND hWnd, HDC hdc);

/***** Edit messages (EditMessages.cpp) *****/

// Answer the EM_* messages and the editing commands (WM_CUT, WM_COPY,
// WM_PASTE, WM_CLEAR, WM_UNDO); FALSE for other messages.
BOOL HandleEditTextMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* plResult);
BOOL HandleEditLineMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* plResult);
