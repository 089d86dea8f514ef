#pragma once

// The grid list's date editor: a date picker over a cell, starting at the
// cell's date (clamped into the picker's range) or now. Enter commits, Esc
// cancels, Delete clears the date (unless the calendar is dropped down), and
// every other focus loss commits, except a focus loss to the picker's own
// drop-down calendar. The focus loss reports -1 when cancelled or unchanged,
// 0 when cleared, else the new time in seconds (GridEditEnd.h).

#include "ui/CDateTimeWnd.h"

class CGridCalendarWnd : public CDatePickerCtrl {
    DECLARE_DYNAMIC(CGridCalendarWnd)
    DECLARE_MESSAGE_MAP()

public:
    /* Reported values besides a time. */
    static constexpr LPARAM VALUE_UNCHANGED = -1; // also when cancelled
    static constexpr LPARAM VALUE_CLEARED = 0;

    // lInitial: the cell's time in seconds; 0 or less: none (the editor starts now).
    CGridCalendarWnd(int nItem, int nColumn, LONG lInitial);

    // Creates the picker with its range, set to the initial time, with the focus.
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

protected:
    void OnKillFocus(CWnd* pNewWnd);
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    // The calendar closed: the editor takes the focus back.
    BOOL OnCloseUp(NMHDR* pNotify, LRESULT* pResult) override;
    LRESULT OnTakeFocusBack(WPARAM wParam, LPARAM lParam);

private:
    void FocusList();

    int m_nItem;
    int m_nColumn;
    LONG m_lInitial;
    BOOL m_bCancelled { FALSE };
    BOOL m_bCleared { FALSE };
};
