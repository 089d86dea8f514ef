#pragma once

// The "RICHEDIT" control: multi-line, word-wrapped text whose characters
// carry formats (face, size, bold, colour), for showing documents.
//
// Positions count characters (code points), and a line break is one
// position however it was given ("\r\n", "\r" or "\n"). Text comes and goes
// as UTF-8: malformed bytes and control characters other than tabs and line
// breaks arrive as U+FFFD; WM_GETTEXT, EM_GETSELTEXT and WM_COPY (CF_TEXT on
// the clipboard) write line breaks as "\r\n". WM_GETTEXTLENGTH counts
// characters, so it is the position of the end; WM_GETTEXT's buffer is in
// bytes and is cut at a character boundary. The text is limited to 32 767
// characters unless EM_EXLIMITTEXT says otherwise; WM_SETTEXT and
// EM_REPLACESEL keep what fits.
//
// Selection: EM_EXSETSEL (cpMin -1 removes the selection; cpMax -1, or
// (0, -1), reach the end; positions past the end are clamped) scrolls the
// caret into view unless the selection is hidden. EM_HIDESELECTION TRUE hides
// it until FALSE; without ES_NOHIDESEL it shows only while the control has
// the focus.
//
// Formats: every character has a complete format. EM_SETCHARFORMAT changes
// the fields its mask names: SCF_SELECTION on the selection, or on an empty
// selection the insertion format, which the next EM_REPLACESEL uses until
// the selection moves; SCF_ALL on the whole text; SCF_DEFAULT (0) on the
// default format and on the text that still has it. EM_REPLACESEL gives its
// text the format of the first replaced character, else the insertion
// format, else that of the character before it. EM_GETCHARFORMAT answers
// with dwMask holding the fields that are the same over the whole selection.
//
// EM_FINDTEXTEX looks for lpstrText in chrg: with FR_DOWN forward from
// cpMin to cpMax (-1: the end); without it backward from cpMin down to cpMax.
// FR_MATCHCASE compares exactly, else letters compare lower-cased as
// CharLower maps them; FR_WHOLEWORD wants no letter or digit on either side.
// An empty text finds nothing.
//
// The user reads and selects but never changes the text: mouse drags and
// Shift with the arrows, Home, End, Page Up, Page Down (Ctrl+Home and
// Ctrl+End for the ends) select; Ctrl+C copies. EM_SETREADONLY only sets
// ES_READONLY. With WS_VSCROLL a vertical scroll bar that follows the lines
// shows while they do not fit; the control scrolls by whole lines.

#include "platform/controls/EditControl.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/window/Messages.h"
#include "platform/window/WindowTypes.h"

#include <vector>

// clang-format off
constexpr const char* RICHEDIT_CLASS = "RICHEDIT";

/* Rich edit messages. The edit control's EM_REPLACESEL (lParam: the text),
   EM_SETREADONLY, EM_LINESCROLL (lParam: lines down), EM_SCROLLCARET,
   EM_GETFIRSTVISIBLELINE and EM_GETLINECOUNT work here too. */
constexpr UINT EM_EXGETSEL       = WM_USER + 52; // lParam: CHARRANGE*
constexpr UINT EM_EXLIMITTEXT    = WM_USER + 53; // lParam: the limit in characters, 0 for 65 536
constexpr UINT EM_EXSETSEL       = WM_USER + 55; // lParam: CHARRANGE*; returns the selection's end
constexpr UINT EM_GETCHARFORMAT  = WM_USER + 58; // wParam: SCF_SELECTION or SCF_DEFAULT; lParam: CHARFORMAT*; returns dwMask
constexpr UINT EM_GETSELTEXT     = WM_USER + 62; // lParam: a buffer large enough; returns the bytes written without the NUL
constexpr UINT EM_HIDESELECTION  = WM_USER + 63; // wParam: TRUE hides
constexpr UINT EM_SETCHARFORMAT  = WM_USER + 68; // wParam: SCF_*; lParam: CHARFORMAT*; FALSE for a bad structure
constexpr UINT EM_FINDTEXTEX     = WM_USER + 79; // wParam: FR_*; lParam: FINDTEXTEX*; returns the match's start or -1

/* EM_SETCHARFORMAT scopes. */
constexpr WPARAM SCF_DEFAULT   = 0x0000;
constexpr WPARAM SCF_SELECTION = 0x0001;
constexpr WPARAM SCF_ALL       = 0x0004;

/* CHARFORMAT::dwMask: the fields that count. */
constexpr DWORD CFM_BOLD  = 0x00000001;
constexpr DWORD CFM_FACE  = 0x20000000;
constexpr DWORD CFM_COLOR = 0x40000000; // crTextColor and CFE_AUTOCOLOR
constexpr DWORD CFM_SIZE  = 0x80000000; // yHeight

/* CHARFORMAT::dwEffects. */
constexpr DWORD CFE_BOLD      = 0x00000001;
constexpr DWORD CFE_AUTOCOLOR = 0x40000000; // the window text colour, whatever crTextColor says

/* EM_FINDTEXTEX flags. */
constexpr WPARAM FR_DOWN      = 0x0001;
constexpr WPARAM FR_WHOLEWORD = 0x0002;
constexpr WPARAM FR_MATCHCASE = 0x0004;

/* The default text limit, in characters. */
constexpr LONG RICHEDIT_DEFAULT_LIMIT = 32767;
// clang-format on

struct CHARRANGE {
    LONG cpMin;
    LONG cpMax;
};

struct CHARFORMAT {
    UINT cbSize; // sizeof(CHARFORMAT)
    DWORD dwMask;
    DWORD dwEffects;
    LONG yHeight; // twips
    LONG yOffset;
    COLORREF crTextColor;
    BYTE bCharSet;
    BYTE bPitchAndFamily;
    char szFaceName[LF_FACESIZE];
};

struct FINDTEXTEX {
    CHARRANGE chrg;
    LPCSTR lpstrText;
    CHARRANGE chrgText; // the match, or (-1, -1)
};

// A stretch of characters in one format, as a tool that inspects the control reads it.
struct RICHEDITRUN {
    LONG cpMin;
    LONG cpMax;
    CHARFORMAT cf; // every field of the mask set
};

// Registers the "RICHEDIT" class (global); later calls do nothing. TRUE once it exists.
BOOL RegisterRichEditClass();

// The control's runs in text order, read without touching its selection; empty
// for an empty text or a window that is not a rich edit of this thread.
std::vector<RICHEDITRUN> GetRichEditRuns(HWND hWnd);

// The procedure of the "RICHEDIT" class.
LRESULT CALLBACK RichEditWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
