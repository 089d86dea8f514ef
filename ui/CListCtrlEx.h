#pragma once

// A list control that tells its parent about clicks, double clicks, moves of
// the focus and Alt+Enter as plain commands, and keeps its focused row across
// focus changes: the row loses its focus mark while the control has no focus
// and gets it back when the focus returns.
//
// Commands are sent (not posted) to the parent as WM_COMMAND with lParam 0.

#include "platform/framework/CListCtrl.h"

class CListCtrlEx : public CListCtrl {
    DECLARE_DYNAMIC(CListCtrlEx)
    DECLARE_MESSAGE_MAP()

public:
    /* Commands sent to the parent. */
    static constexpr UINT CMD_CLICK = 90;        // a click, or Up or Down after the focus moved
    static constexpr UINT CMD_DOUBLE_CLICK = 91; // a double click
    static constexpr UINT CMD_PROPERTIES = 92;   // Alt+Enter

    CListCtrlEx() = default;

    // Inserts a column with nMask and nFormat. nWidth -1: the title's width
    // + 15; with LVCF_SUBITEM in nMask the column shows nSubItem, or nColumn
    // when nSubItem is -1. The column's index, -1 on failure.
    int InsertColumnFit(LPCTSTR pszTitle, int nColumn, int nWidth = -1, int nSubItem = -1,
        UINT nMask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM, int nFormat = LVCFMT_LEFT);
    // Subitem 0 inserts row nItem; any other subitem sets that cell of row
    // nItem. The image is set unless it is -1. The row inserted, or TRUE or
    // FALSE for a cell set; -1 when the insertion failed.
    int InsertOrSetItem(int nItem, int nSubItem, LPCTSTR pszText, int nImage = -1);
    // -1 when no row has the focus or is selected.
    int GetFocusedItem() const;
    int GetFirstSelectedItem() const;
    // The first row whose text is strText (compared as the list compares); -1 when none.
    int FindItemByText(const CString& strText) const;

    /* Reflected notifications a subclass may take over; both answer 0. */
    virtual void OnClick(NMHDR* pNMHDR, LRESULT* pResult);
    virtual void OnDblClk(NMHDR* pNMHDR, LRESULT* pResult);

protected:
    void OnKillFocus(CWnd* pNewWnd);
    void OnSetFocus(CWnd* pOldWnd);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnSysKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    // Deletes the small and normal image lists before the window goes.
    void OnDestroy();

    void SendCommand(UINT nCommand);

private:
    int m_nLastFocused { -1 }; // the focused row while the control has no focus
};
