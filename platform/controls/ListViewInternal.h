#pragma once

// What the list view's files share: its state, the one way rows change
// state (so LVN_ITEMCHANGING and LVN_ITEMCHANGED are never missed), text
// lookups that go through LVN_GETDISPINFO, and the report-view geometry.

#include "platform/controls/ControlInternal.h"
#include "platform/controls/ListViewControl.h"
#include "platform/controls/TypeAhead.h"

#include <memory>
#include <string>
#include <vector>

struct CListViewCell {
    std::string strText;
    bool bCallback { false }; // stored as LPSTR_TEXTCALLBACK
};

// The texts set on a row, kept apart so that rows stay small to move.
struct CListViewTexts {
    std::string strLabel;                // sub-item 0's, unless it is a callback
    std::vector<CListViewCell> subItems; // sub-items 1 and up; missing ones follow the label
};

struct CListViewRow {
    std::unique_ptr<CListViewTexts> pTexts; // none until a text is set: a callback row needs none
    LPARAM lParam { 0 };
    int iImage { 0 };              // I_IMAGECALLBACK asks the parent
    UINT nState { 0 };             // LVIS_*
    unsigned nSerial { 0 };        // tells a row apart from one that took its index
    bool bCallbackLabel { false }; // sub-item 0 is LPSTR_TEXTCALLBACK
};

struct CListViewColumn {
    int fmt { LVCFMT_LEFT };
    int iSubItem { 0 };
};

struct CListViewState : CControlState {
    std::vector<CListViewRow> rows;
    std::vector<CListViewColumn> columns; // by header index; widths and order live in the header
    HWND hHeader { nullptr };             // child window ID 0
    HIMAGELIST imageLists[3] {};          // LVSIL_NORMAL, LVSIL_SMALL, LVSIL_STATE
    DWORD dwExStyle { 0 };
    int nTop { 0 };     // the first row shown in report view
    int nScrollX { 0 }; // pixels scrolled to the left
    int nRowHeight { 16 };
    int nAnchor { -1 }; // where Shift selections start
    bool bFocus { false };
    bool bDestroying { false };
    bool bRedraw { true };           // WM_SETREDRAW: while FALSE, rows change without layout
    bool bLayoutDue { false };       // rows changed while redraw was off
    bool bLayingOut { false };       // showing a bar lays the list out again from inside
    bool bColumnsDue { false };      // columns changed while hidden: laid out before any other message
    bool bBarsRefused { false };     // the owner took a bar the list showed away again
    HWND hEdit { nullptr };          // the label editor while one is open
    unsigned nEditSerial { 0 };      // the row being edited
    unsigned nSlowClickSerial { 0 }; // the row a slow second click edits when LABEL_EDIT_TIMER fires
    unsigned nNextSerial { 1 };
    unsigned nReorders { 0 }; // inserts, deletes and sorts so far: rows read before are current while it stays
    CTypeAhead typeAhead;
};

// Gaps the control draws with: either side of a cell's text and around
// images. The first column's label stands closer, as owners expect who size a
// text-only column to its text's width and a few pixels (8, or two blanks).
constexpr int LISTVIEW_TEXT_MARGIN = 6;
constexpr int LISTVIEW_LABEL_MARGIN = 2;
inline int TextMargin(int iSubItem)
{
    return iSubItem == 0 ? LISTVIEW_LABEL_MARGIN : LISTVIEW_TEXT_MARGIN;
}

/***** State and rows (ListViewInternal.cpp) *****/

inline CListViewState* ListViewState(HWND hWnd)
{
    return GetControlState<CListViewState>(hWnd);
}
// The state if the window still exists: notification handlers may destroy it.
CListViewState* ListViewSurvivor(HWND hWnd);

inline int RowCount(const CListViewState& state)
{
    return static_cast<int>(state.rows.size());
}
inline bool IsRow(const CListViewState& state, int nRow)
{
    return nRow >= 0 && nRow < RowCount(state);
}
// The row with this serial number, looked for first at nHint; -1 once it is gone.
int RowOfSerial(const CListViewState& state, unsigned nSerial, int nHint);
DWORD ListViewStyle(HWND hWnd);
// Small-icon and list views are laid out as the icon view.
bool IsReportView(HWND hWnd);

/***** Texts and images (ListViewDispInfo.cpp) *****/

// Stores a cell's text; LPSTR_TEXTCALLBACK makes it a callback text.
void SetCellText(CListViewRow& row, int iSubItem, LPCSTR pszText);
// Answers LVM_GETITEM: fills what pItem's mask names, asking the parent with
// LVN_GETDISPINFO for callback texts and images. FALSE for a bad row or one
// that went away meanwhile.
BOOL GetRowItem(HWND hWnd, LVITEM* pItem);
// A cell's text, through LVN_GETDISPINFO for callback texts; empty for a bad row.
std::string RowText(HWND hWnd, int nRow, int iSubItem);
// The first sub-item's text and image, asked together when either is a
// callback. FALSE when the row is bad or went away meanwhile.
bool RowLabel(HWND hWnd, int nRow, std::string* pText, int* piImage);

/***** Items (ListViewItems.cpp) *****/

// Sends a NMLISTVIEW notification about a row.
LRESULT NotifyListView(
    HWND hWnd, UINT nCode, int nRow, UINT uNewState = 0, UINT uOldState = 0, UINT uChanged = 0, POINT ptAction = {});
// Changes the states in nMask of one row after LVN_ITEMCHANGING allowed it,
// keeping LVIS_FOCUSED on one row at most, and with LVS_SINGLESEL
// LVIS_SELECTED too (the old row's loss is announced first). FALSE for a
// stale row or a refusal.
BOOL ChangeRowState(HWND hWnd, int nRow, UINT nState, UINT nMask);
// The same for every row (LVM_SETITEMSTATE with -1); FALSE, changing
// nothing, when it would select every row of a single-selection list.
BOOL ChangeAllRowStates(HWND hWnd, UINT nState, UINT nMask);
// The row with the focus, -1 for none.
int FocusedRow(const CListViewState& state);
// Answers the item messages; FALSE for other messages.
BOOL HandleItemMessage(HWND hWnd, CListViewState* pState, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* plResult);
// Deletes every row, telling the parent about each (destruction included).
void DeleteAllRows(HWND hWnd);

/***** Layout and hit tests (ListViewLayout.cpp) *****/

// The header's height, 0 outside report view.
int HeaderHeight(HWND hWnd, const CListViewState& state);
// Rows that fit the client area below the header (at least 1); in the icon
// view the items of the grid rows that fit.
int RowsPerPage(HWND hWnd, const CListViewState& state);
// How many items one line of scrolling passes: 1, or a grid row of icons.
int ScrollStep(HWND hWnd);
// Asks the parent for the row height of an owner-drawn list, else measures the font.
void MeasureRows(HWND hWnd);
// Places the header, updates the scroll information and shows the bars the
// list needs (none with LVS_NOSCROLL) after any change.
void LayoutListView(HWND hWnd);
// After columns were inserted, deleted or resized: the layout, or while the
// list is hidden only a mark, and the list lays itself out before it handles
// any message other than another column change (see IsColumnChange). A hidden
// list filled column by column is then laid out once.
void ColumnsChanged(HWND hWnd, CListViewState& state);
bool IsColumnChange(const CListViewState& state, UINT uMsg, LPARAM lParam);
// After rows were inserted or deleted: the vertical scroll information, or
// with redraw off nothing until redraw comes back on.
void RowsChanged(HWND hWnd, CListViewState& state);
// Redraw back on: a layout that waited, then everything painted again.
void RedrawResumed(HWND hWnd);
// A row's LVIR_* rectangle in client coordinates; FALSE for a bad row.
BOOL RowRect(HWND hWnd, const CListViewState& state, int nRow, int nKind, RECT* pRect);
// A cell's rectangle (sub-item iSubItem) in client coordinates; FALSE for bad arguments.
BOOL CellRect(HWND hWnd, const CListViewState& state, int nRow, int iSubItem, int nKind, RECT* pRect);
// The row under a point with LVHT_* flags and the sub-item under it; with
// bSubItems every cell of a row counts, else only the first sub-item's.
int ListViewHitTest(HWND hWnd, const CListViewState& state, LVHITTESTINFO* pInfo, bool bSubItems);
void SetTopRow(HWND hWnd, CListViewState& state, int nTop);
void SetScrollX(HWND hWnd, CListViewState& state, int nScrollX);
BOOL EnsureRowVisible(HWND hWnd, int nRow);
void InvalidateRow(HWND hWnd, const CListViewState& state, int nRow);
// Invalidates the rows from nRow to the bottom of the client area, which an
// insert or a delete there moves.
void InvalidateRowsFrom(HWND hWnd, const CListViewState& state, int nRow);
// Answers the column, geometry and scrolling messages; FALSE for other messages.
BOOL HandleLayoutMessage(HWND hWnd, CListViewState* pState, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* plResult);

/***** Icon view (ListViewIconView.cpp) *****/

// Items sit in a grid of cells of the system icon spacing, left to right and
// then down; in this view nTop is the first visible item, always the first
// of a grid row.

// Items per grid row (at least 1).
int IconColumns(HWND hWnd);
// A cell: the system icon spacing.
SIZE IconCellSize();
// Items that fit the client area: whole grid rows (at least one row).
int IconItemsPerPage(HWND hWnd);
BOOL IconRowRect(HWND hWnd, const CListViewState& state, int nRow, int nKind, RECT* pRect);
int IconHitTest(HWND hWnd, const CListViewState& state, LVHITTESTINFO* pInfo);
void PaintIconView(HWND hWnd, HDC hdc, const RECT& rcPaint);

/***** Painting (ListViewPaint.cpp) *****/

void PaintListView(HWND hWnd, HDC hdc);

/***** Input (ListViewInput.cpp) *****/

// Answers mouse and key messages; FALSE for other messages.
BOOL HandleListViewInput(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

/***** Label editing (ListViewLabelEdit.cpp) *****/

// Opens the editor on a row; NULL for a bad row or a refusal.
HWND EditLabel(HWND hWnd, int nRow);
// Closes the editor, keeping the text when bCommit; does nothing when none is open.
void EndLabelEdit(HWND hWnd, bool bCommit);

/***** Drag image (ListViewDragImage.cpp) *****/

// A new image list with one image of the row's icon and label; *pptUpperLeft
// gets its upper-left corner in client coordinates. NULL for a bad row.
HIMAGELIST CreateRowDragImage(HWND hWnd, int nRow, POINT* pptUpperLeft);

/***** Sort and find (ListViewSort.cpp) *****/

BOOL SortRows(HWND hWnd, PFNLVCOMPARE pfnCompare, LPARAM lParamSort);
int FindRow(HWND hWnd, int nStartAfter, const LVFINDINFO* pInfo);
