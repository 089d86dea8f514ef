#pragma once

// The program's report list: an owner-drawn list control that paints every
// row itself (coloured cell backgrounds, white grid lines, a shaded look for
// some columns), knows a type per column, keeps a current column in the
// focused row, and edits one cell at a time in place with a grid editor
// (CGridEdit, CGridComboBox, CGridCalendarWnd).
//
// Columns are numbered by index; the current column is a position in header
// order, so that it, the painting and the editors follow a reordered header.
//
//   idle ──slow second click──> armed (timer 100, double-click time) ──fires──> editing
//        ──F2, or EditCellAt──────────────────────────────────────────────────> editing
//   armed ──double click, right click, another click, a drag──> idle
//   editing ──the editor loses the focus (Enter, Esc, a click elsewhere, a
//             scroll, a size change, a column click, a header track)──> idle
//
// An edit ends with LVN_ENDLABELEDIT from the editor to the list's parent,
// reflected to the list: a derived list takes the new value in its own
// reflected handler and then calls OnEndLabelEdit, which retires the editor.
// A retired editor is destroyed and deleted once its own handlers have
// returned (at a message the list posts itself).
//
// Derived lists answer what a cell holds and how it is edited through the
// five virtual operations below.

#include "platform/base/CArray.h"
#include "platform/base/CollectionArrays.h"
#include "platform/framework/CGdiObject.h"
#include "platform/framework/CListCtrl.h"
#include "ui/CGridHeaderCtrl.h"

#include <memory>
#include <vector>

class CGridCalendarWnd;
class CGridComboBox;
class CGridEdit;
class CImageList;

/* Column types. */
constexpr int GRID_COLUMN_TEXT = 1;     // edited with CGridEdit
constexpr int GRID_COLUMN_DATE = 2;     // edited with CGridCalendarWnd
constexpr int GRID_COLUMN_IMAGE = 3;    // the text is a decimal index into the image-column list; not edited
constexpr int GRID_COLUMN_PER_CELL = 5; // the editor kind comes from GetCellEditorKind

/* Editor kinds of GRID_COLUMN_PER_CELL cells. */
constexpr int GRID_EDITOR_TEXT = 1;
constexpr int GRID_EDITOR_COMBO = 4;

struct GridColumn {
    UINT nTitleID; // the string of the header text
    int nType;     // GRID_COLUMN_*; another type is drawn as text and not edited
    BOOL bShaded;  // painted with GRID_COLOR_SHADED instead of GRID_COLOR_CELL
};

/* The colour set, palette-relative. */
enum GridColor {
    GRID_COLOR_TEXT,          // text of ordinary rows
    GRID_COLOR_SELECTED_TEXT, // text of the selected label
    GRID_COLOR_RECENT_TEXT,   // text of rows IsItemRecent names: the "RecentlyCatalogColor" preference
    GRID_COLOR_CELL,          // ordinary cells and the empty area
    GRID_COLOR_SHADED,        // shaded columns; the current cell of the focused row
    GRID_COLOR_SELECTED_BOX,  // the box behind the selected label
    GRID_COLOR_FOCUSED_ROW,   // the focused row
    GRID_COLOR_LABEL_FRAME,   // the focus frame of the label cell
    GRID_COLOR_COUNT
};

class CGridListCtrl : public CListCtrl {
    DECLARE_DYNCREATE(CGridListCtrl)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT_PTR TIMER_SLOW_CLICK = 100;
    static constexpr int EDITOR_MIN_WIDTH = 10;   // a narrower cell keeps its editor where it was made
    static constexpr int COMBO_EXTRA_HEIGHT = 50; // the combo editor's room for its list

    CGridListCtrl();
    ~CGridListCtrl() override;

    /* Setting up. */

    // Called once the window exists: report view, owner-drawn rows, full-row
    // selection and draggable header items, the header subclassed and the
    // bold font made. FALSE when the list's font cannot be read.
    BOOL Initialize();
    // Ends any edit and shows the view LVS_ICON, LVS_SMALLICON, LVS_LIST or
    // LVS_REPORT; outside report view the control's own label editor edits.
    void SetViewMode(DWORD dwMode);
    // Inserts column nColumn titled by string nTitleID; the column's index, -1 on failure.
    int InsertColumn(int nColumn, int nWidth, UINT nTitleID, BOOL bShaded, int nType, int nFormat);
    // Starts a repaint that makes the list ask its row height again (after a font change).
    void RecalcLayout();
    // Realises the application palette in a client DC; the entries realised, 0 without a palette.
    int SelectAppPalette(BOOL bBackground);

    /* Editing. */

    // Edits the current column of the focused row; nothing without either.
    void EditFocusedCell();
    // Focuses nItem, makes nColumn current and edits it, starting with
    // pszText when given.
    void EditCellAt(int nItem, int nColumn, LPCTSTR pszText);
    // Asks the parent (and so this list, by reflection) to begin editing the
    // cell, unless its edit limit is 0 or less.
    void BeginCellEdit(int nItem, int nColumn, LPCTSTR pszText);
    // Ends a running edit; the editor reports its value.
    void EndEdit();
    // The editor running; null when none.
    CWnd* GetEditor() const;

    /* Geometry. */

    // The cell's rectangle in client coordinates; returns the column's width.
    int GetCellRect(int nItem, int nColumn, RECT* pRect);
    // Scrolls horizontally until column nColumn shows, as far as it can.
    void EnsureColumnVisible(int nColumn);
    // Lays pEditor over the cell, 4 pixels in from the left and 3 from the
    // right. FALSE, leaving it, when the row cannot be shown or the cell is too narrow.
    BOOL MoveEditorToCell(CWnd* pEditor, int nItem, int nColumn);
    void InvertSelection();

    /* State. */

    // The current column as a header position; -1 none.
    int GetCurrentColumn() const { return m_nCurrentColumn; }
    COLORREF GetGridColor(GridColor eColor) const { return m_colors[eColor]; }
    CGridHeaderCtrl& GetGridHeader() { return m_header; }
    const GridColumn* GetGridColumn(int nColumn) const;

    /* What derived lists answer. */

    // The cell's value: for a date column its time in seconds (0 or less: none).
    virtual LONG GetCellValue(int nItem, int nColumn);
    // The longest text the cell's editor takes; 0 or less: the cell is not edited.
    virtual int GetCellEditLimit(int nItem, int nColumn);
    // For GRID_COLUMN_PER_CELL cells: GRID_EDITOR_TEXT or GRID_EDITOR_COMBO.
    virtual int GetCellEditorKind(int nItem, int nColumn);
    virtual void GetCellChoices(int nItem, int nColumn, CStringArray& choices);
    // Nonzero: the row's text is drawn in GRID_COLOR_RECENT_TEXT.
    virtual BOOL IsItemRecent(int nItem);

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    // F2 edits the focused cell; in report view Left and Right move the current column.
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void OnSize(UINT nType, int cx, int cy);
    void OnTimer(UINT_PTR nIDEvent);
    void OnRButtonDown(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnPaletteChanged(CWnd* pFocusWnd);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    void OnBeginLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    // Retires the editor; a derived list that takes the value calls this after.
    void OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    void OnBeginDrag(NMHDR* pNMHDR, LRESULT* pResult);
    void OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult);
    void OnHeaderTrack(NMHDR* pNMHDR, LRESULT* pResult);
    LRESULT OnResetColors(WPARAM wParam, LPARAM lParam);
    LRESULT OnDeleteRetiredEditors(WPARAM wParam, LPARAM lParam);

    // The pictures of GRID_COLUMN_IMAGE cells; the list owns it.
    void SetImageColumnList(CImageList* pImageList);

private:
    bool IsReportView() const;
    // The header position of column nColumn; -1 when the header has no such column.
    int PositionOfColumn(int nColumn) const;
    int ColumnAtPosition(int nPosition) const;
    // Moves the current column to the next position with a nonzero width (nStep -1 or +1).
    void StepColumn(int nStep);
    void ResetColors();
    void RetireEditor(std::unique_ptr<CWnd> pEditor);
    void CreateEditEditor(int nItem, int nColumn, LPCTSTR pszText);
    void CreateDateEditor(int nItem, int nColumn, LONG lValue);
    void CreateComboEditor(int nItem, int nColumn, LPCTSTR pszText);
    // The editor's place over the cell: FALSE when the cell is too narrow.
    BOOL EditorRectForCell(int nItem, int nColumn, RECT* pRect);

    /* Painting (CGridListCtrl_Paint.cpp). */
    // A column as rows paint it, in header order (zero-width columns left out).
    struct PaintColumn {
        int nColumn;
        int nPosition;
        int nFormat;
        int nWidth;
        int nType;
        bool bShaded;
    };
    // What every row of one paint shares: taken once in OnPaint instead of once per cell.
    struct PaintLayout {
        std::vector<PaintColumn> columns;
        int nLabelPosition { -1 };
        bool bFullRow { false };
        bool bShowsSelection { false };
    };
    PaintLayout TakePaintLayout();
    // Fills the part of the background from nTop to nBottom (client coordinates), shaded columns as bands.
    void EraseBand(CDC* pDC, const RECT& client, int nTop, int nBottom);
    void DrawLabelCell(CDC* pDC, int nItem, UINT nState, const PaintLayout& layout, const RECT& cell,
        const RECT& textBand, int nMargin, bool bShaded);
    // Fills a cell with crBack above its white bottom line; crBack is left the background colour.
    static void FillCell(CDC* pDC, const RECT& cell, COLORREF crBack);
    static bool IsRowHighlighted(UINT nState, const PaintLayout& layout);

    std::unique_ptr<CGridCalendarWnd> m_pDateEditor;
    BOOL m_bDragStarted { FALSE };
    CGridHeaderCtrl m_header;
    std::unique_ptr<CGridEdit> m_pTextEditor;
    std::unique_ptr<CGridComboBox> m_pComboEditor;
    CArray<GridColumn> m_columns;
    int m_nClientWidth { 0 };
    int m_nTextHeight { 0 };
    int m_nCurrentColumn { 0 };
    COLORREF m_colors[GRID_COLOR_COUNT] {};
    std::unique_ptr<CFont> m_pBoldFont;
    std::unique_ptr<CImageList> m_pImageColumnList;
    std::vector<std::unique_ptr<CWnd>> m_retiredEditors; // deleted after their handlers return
    std::unique_ptr<PaintLayout> m_pPaintLayout;         // set while OnPaint runs
};
