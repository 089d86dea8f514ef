#pragma once

// The "Edit" control: a single-line or multi-line text field.
//
// Text is UTF-8; positions are byte offsets that never fall inside a
// character. Lines of a multi-line control end with "\r\n". The selection
// runs from an anchor to the caret (EM_GETSEL gives them in order); typing,
// pasting and EM_REPLACESEL replace it. A multi-line control without
// ES_AUTOHSCROLL or WS_HSCROLL wraps words at its right edge. The control
// scrolls to keep the caret in view; a multi-line control with WS_VSCROLL
// keeps that scroll bar in step with its lines and scrolls by it.
//
// What the user enters goes through the style's filters: ES_NUMBER accepts
// digits only, ES_UPPERCASE and ES_LOWERCASE change the case of ASCII
// letters, ES_READONLY refuses every change. The limit (EM_LIMITTEXT; 0 means
// the largest) cuts what the user enters, and EN_MAXTEXT reports the cut;
// WM_SETTEXT is not limited and keeps the whole text, line breaks included,
// in a single-line control too. After a change the parent gets EN_UPDATE and
// then EN_CHANGE, except that WM_SETTEXT on a multi-line control sends
// neither; focus changes send EN_SETFOCUS and EN_KILLFOCUS.
//
// In a dialog a multi-line control takes every key but Tab, which moves on,
// Esc, which cancels, and Enter, which presses the default button unless
// ES_WANTRETURN asks for line breaks.
//
// One step of undo: EM_UNDO (or WM_UNDO, Ctrl+Z) goes back to the text before
// the last change, a run of typing counting as one; undoing again redoes it.
// WM_CUT, WM_COPY, WM_PASTE and WM_CLEAR work on the selection through the
// text clipboard (EditClipboard.h); a password field copies nothing.
//
// Margins (EM_SETMARGINS, one pixel each at first) keep the text clear of the
// client edges: lines wrap, scroll and align within them. EM_LINESCROLL
// scrolls a multi-line control by lines, and sideways by average character
// widths when it does not wrap; a single-line control ignores it (FALSE).
//
// While it has the focus the control owns the thread's system caret
// (Caret.h), a pixel wide and a line high, and keeps it at the caret's place
// as the text, selection, scrolling, margins, size or font change; losing
// the focus or being destroyed destroys it.

#include "platform/window/WindowTypes.h"

// clang-format off
/* Edit styles. */
constexpr DWORD ES_LEFT        = 0x0000;
constexpr DWORD ES_CENTER      = 0x0001;
constexpr DWORD ES_RIGHT       = 0x0002;
constexpr DWORD ES_MULTILINE   = 0x0004;
constexpr DWORD ES_UPPERCASE   = 0x0008;
constexpr DWORD ES_LOWERCASE   = 0x0010;
constexpr DWORD ES_PASSWORD    = 0x0020; // shows the password character in place of each character
constexpr DWORD ES_AUTOVSCROLL = 0x0040;
constexpr DWORD ES_AUTOHSCROLL = 0x0080;
constexpr DWORD ES_NOHIDESEL   = 0x0100; // shows the selection without the focus too
constexpr DWORD ES_OEMCONVERT  = 0x0400;
constexpr DWORD ES_READONLY    = 0x0800;
constexpr DWORD ES_WANTRETURN  = 0x1000;
constexpr DWORD ES_NUMBER      = 0x2000;

/* Edit messages. */
constexpr UINT EM_GETSEL              = 0x00B0; // wParam, lParam: DWORD* start and end; returns both packed
constexpr UINT EM_SETSEL              = 0x00B1; // wParam: anchor; lParam: caret; -1 as anchor removes the selection, -1 as caret means the end
constexpr UINT EM_GETRECT             = 0x00B2;
constexpr UINT EM_SCROLLCARET         = 0x00B7;
constexpr UINT EM_GETMODIFY           = 0x00B8;
constexpr UINT EM_SETMODIFY           = 0x00B9;
constexpr UINT EM_GETLINECOUNT        = 0x00BA;
constexpr UINT EM_LINEINDEX           = 0x00BB; // wParam: line, -1 for the caret's; returns its first position
constexpr UINT EM_LINELENGTH          = 0x00C1; // wParam: a position; returns the length of its line
constexpr UINT EM_REPLACESEL          = 0x00C2; // wParam: TRUE to allow undo; lParam: the text
constexpr UINT EM_GETLINE             = 0x00C4; // wParam: line; lParam: buffer whose first WORD is its size; returns bytes copied, no NUL
constexpr UINT EM_LIMITTEXT           = 0x00C5; // wParam: the limit in bytes, 0 for the largest
constexpr UINT EM_CANUNDO             = 0x00C6;
constexpr UINT EM_UNDO                = 0x00C7;
constexpr UINT EM_LINEFROMCHAR        = 0x00C9; // wParam: a position, -1 for the caret's line
constexpr UINT EM_EMPTYUNDOBUFFER     = 0x00CD;
constexpr UINT EM_SETPASSWORDCHAR     = 0x00CC; // wParam: the character, 0 shows the text
constexpr UINT EM_GETFIRSTVISIBLELINE = 0x00CE;
constexpr UINT EM_SETREADONLY         = 0x00CF; // wParam: TRUE sets ES_READONLY
constexpr UINT EM_GETPASSWORDCHAR     = 0x00D2;
constexpr UINT EM_SETLIMITTEXT        = EM_LIMITTEXT;
constexpr UINT EM_GETLIMITTEXT        = 0x00D5;
constexpr UINT EM_POSFROMCHAR         = 0x00D6; // wParam: a position; returns its client point packed
constexpr UINT EM_CHARFROMPOS         = 0x00D7; // lParam: a client point packed; returns the position (low) and line (high)
constexpr UINT EM_LINESCROLL          = 0x00B6; // wParam: characters to scroll right; lParam: lines to scroll down
constexpr UINT EM_SETMARGINS          = 0x00D3; // wParam: EC_ flags; lParam: left (low) and right (high) margin in pixels
constexpr UINT EM_GETMARGINS          = 0x00D4; // returns the left (low) and right (high) margin

/* EM_SETMARGINS flags, and the margin value that asks for a margin from the font. */
constexpr WPARAM EC_LEFTMARGIN  = 0x0001;
constexpr WPARAM EC_RIGHTMARGIN = 0x0002;
constexpr WORD EC_USEFONTINFO   = 0xFFFF; // half the font's average character width

/* Edit notifications. */
constexpr WORD EN_SETFOCUS  = 0x0100;
constexpr WORD EN_KILLFOCUS = 0x0200;
constexpr WORD EN_CHANGE    = 0x0300;
constexpr WORD EN_UPDATE    = 0x0400;
constexpr WORD EN_ERRSPACE  = 0x0500;
constexpr WORD EN_MAXTEXT   = 0x0501;
constexpr WORD EN_HSCROLL   = 0x0601;
constexpr WORD EN_VSCROLL   = 0x0602;

/* The largest text. */
constexpr UINT EDIT_MAX_LIMIT = 0x7FFFFFFE;
// clang-format on

// The procedure of the "Edit" class.
LRESULT CALLBACK EditWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
