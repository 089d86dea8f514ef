#pragma once

// A one-column list of words the user edits in place: row 0 is the
// new-entry row, whose text the owner sets, and typing into it adds a word;
// rows 1 to n hold the words, sorted ascending without regard to case, each
// cut to the text limit when inserted. Editing an existing row changes its
// text in place (sorting happens on inserts only). Delete removes the
// selected words; row 0 is only deselected, and the last row always stays.

#include "ui/CListCtrlEx.h"

class CEditableListCtrl : public CListCtrlEx {
    DECLARE_DYNAMIC(CEditableListCtrl)
    DECLARE_MESSAGE_MAP()

public:
    CEditableListCtrl() = default;

    // Characters a word may have; -1: no limit.
    void SetEditLimit(int nLimit) { m_nEditLimit = nLimit; }
    // Sorts rows nLow to nHigh (-1: the last row) by their texts without
    // regard to case, moving each row's image, state and data with its text.
    // FALSE when there is nothing to sort (nHigh <= nLow).
    BOOL SortItems(BOOL bAscending, int nLow, int nHigh = -1);
    // Sets column 0 as wide as the widest row text plus two blanks; row nItem
    // is measured with pszText instead, or left out when pszText is null.
    void FitColumn(int nItem, LPCTSTR pszText);

    // Enter on the new-entry row goes to the list at once, so that a dialog
    // does not take it for its default button.
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void OnDestroy();
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnBeginLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    void OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    void OnInsertItem(NMHDR* pNMHDR, LRESULT* pResult);
    void OnDeleteItem(NMHDR* pNMHDR, LRESULT* pResult);
    void OnListKeyDown(NMHDR* pNMHDR, LRESULT* pResult);

    // The text cut to the limit, at a character boundary.
    CString CutToLimit(const CString& strText) const;

private:
    void ExchangeRows(int nRow1, int nRow2);

    int m_nEditLimit { -1 };
    BOOL m_bDestroying { FALSE };
};
