#pragma once

// What the list box's files share: its items and state, the geometry of its
// rows, and the one way the user's clicks and keys change the selection (so
// LBN_SELCHANGE is never missed).
//
// Items are numbered from 0. A single-selection list keeps its selection in
// nCurSel; a multiple or extended one in each item's bSelected.

#include "platform/controls/ControlInternal.h"
#include "platform/controls/ListBoxControl.h"
#include "platform/window/Window.h"

#include <string>
#include <vector>

struct CListItem {
    std::string strText;
    ULONG_PTR nData { 0 };
    bool bSelected { false };
    int nHeight { 0 }; // variable owner-drawn lists only
};

struct CListBoxState : CControlState {
    std::vector<CListItem> items;
    int nCaret { 0 };   // the item with the focus rectangle
    int nAnchor { 0 };  // where extended selections start
    int nCurSel { -1 }; // single-selection lists
    int nTop { 0 };     // the first visible item
    int nItemHeight { 0 };
    int nCharWidth { 1 }; // the font's average character width: one step of sideways scrolling
    int nExtent { 0 };    // LB_SETHORIZONTALEXTENT
    int nScrollX { 0 };   // pixels scrolled to the left
    bool bFocus { false };
    bool bTracking { false };   // the mouse is held down on the list
    bool bScrollBar { false };  // made with WS_VSCROLL
    bool bHScrollBar { false }; // made with WS_HSCROLL
};

inline CListBoxState* ListBoxState(HWND hWnd)
{
    return GetControlState<CListBoxState>(hWnd);
}
inline DWORD ListStyle(HWND hWnd)
{
    return static_cast<DWORD>(GetWindowLongPtr(hWnd, GWL_STYLE));
}
inline bool IsOwnerDrawn(DWORD dwStyle)
{
    return (dwStyle & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0;
}
inline bool HasStrings(DWORD dwStyle)
{
    return !IsOwnerDrawn(dwStyle) || (dwStyle & LBS_HASSTRINGS);
}
inline bool IsMultiSel(DWORD dwStyle)
{
    return (dwStyle & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
}
inline int ItemCount(const CListBoxState& state)
{
    return static_cast<int>(state.items.size());
}
inline bool IsItem(const CListBoxState& state, int nIndex)
{
    return nIndex >= 0 && nIndex < ItemCount(state);
}

/***** Geometry and scrolling (ListBoxLayout.cpp) *****/

// An item's height: its own in a variable owner-drawn list, else the list's.
int ItemHeight(const CListBoxState& state, int nIndex);
// The item's rectangle in client coordinates; items above the top have negative tops.
RECT ItemRect(HWND hWnd, const CListBoxState& state, int nIndex);
// How many items fit from nFrom down (at least one).
int VisibleCount(HWND hWnd, const CListBoxState& state, int nFrom);
// The item under a client point; *pbOutside when it is below the last one.
int ItemFromPoint(const CListBoxState& state, POINT pt, bool* pbOutside);
// A list made with WS_VSCROLL shows its bar only while some items are out of
// sight, unless LBS_DISABLENOSCROLL keeps it (greyed) all the time.
void UpdateScrollBar(HWND hWnd, const CListBoxState& state);
// Shows the horizontal bar while the extent is wider than the list, and keeps
// the scroll position within what the extent leaves.
void UpdateHorizontalBar(HWND hWnd, CListBoxState& state);
void SetScrollX(HWND hWnd, CListBoxState& state, int nScrollX);
// Makes nTop the first item shown, no lower than the top that still fills the list.
void SetTop(HWND hWnd, CListBoxState& state, int nTop);
// Scrolls the item into sight.
void ShowItem(HWND hWnd, CListBoxState& state, int nIndex);
void InvalidateItem(HWND hWnd, const CListBoxState& state, int nIndex);
// Answers the messages of the rows' geometry and scrolling; FALSE for other messages.
BOOL HandleListBoxLayoutMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* plResult);

/***** Items (ListBoxItems.cpp) *****/

// Asks the parent for an owner-drawn item's height; nDefault when it does not answer.
UINT MeasureItem(HWND hWnd, int nIndex, ULONG_PTR nData, UINT nDefault);
// Deletes every item, telling the parent of owner-drawn ones (WM_DELETEITEM).
void ResetContent(HWND hWnd);
// The first item after nStart (wrapping around) whose string starts with (or
// with bExact equals) the text, without regard to case; LB_ERR when none does.
LRESULT FindString(HWND hWnd, WPARAM wParam, LPARAM lParam, bool bExact);
// Answers the messages that add, remove, read and find items; FALSE for other messages.
BOOL HandleListBoxItemMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* plResult);

// Answers LB_DIR: adds the names that lpszPattern ("C:\\x\\*.txt") and the DDL_
// flags select with LB_ADDSTRING. Returns the index of the last name added, or
// LB_ERR for a missing folder or pattern or when nothing was added. (ListBoxDir.cpp)
LRESULT ListBoxDir(HWND hList, UINT uFlags, LPCSTR lpszPattern);

/***** Selection (ListBoxSelection.cpp) *****/

// What a click or a caret move by the user does to the selection.
enum class ESelectAction {
    Move,   // the caret moves; single and extended lists select the item alone
    Toggle, // Ctrl-click or Space: the item's selection flips (multiple and extended lists)
    Extend, // Shift: the range from the anchor (extended lists)
};

// Moves the focus rectangle to an item and scrolls it into sight.
void SetCaret(HWND hWnd, CListBoxState& state, int nIndex);
bool IsSelected(HWND hWnd, const CListBoxState& state, int nIndex);
// What the user's click or key does to the selection, by the list's kind;
// sends LBN_SELCHANGE with LBS_NOTIFY.
void UserSelect(HWND hWnd, int nIndex, ESelectAction eAction);
// The action the held Shift or Ctrl key asks for.
ESelectAction ActionFromModifiers();
// Answers the selection messages; FALSE for other messages.
BOOL HandleListBoxSelectionMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* plResult);

/***** Input (ListBoxInput.cpp) *****/

// Answers key, character, mouse and scroll messages; FALSE for other messages.
BOOL HandleListBoxInput(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

/***** Painting (ListBoxPaint.cpp) *****/

void PaintListBox(HWND hWnd, HDC hdc);
