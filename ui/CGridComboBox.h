#pragma once

// The grid list's choice editor: a drop-down list over a cell offering the
// cell's choices, the one matching the cell's text (without regard to case)
// selected. Enter commits, Esc cancels, and every other focus loss commits:
// the focus loss reports the chosen text, or none when cancelled
// (GridEditEnd.h).

#include "platform/base/CollectionArrays.h"
#include "platform/framework/CComboBox.h"

class CGridComboBox : public CComboBox {
    DECLARE_DYNAMIC(CGridComboBox)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr int CHOICE_LIMIT = 259; // characters of a choice shown
    static constexpr int LIST_MARGIN = 2;    // kept inside the list's client area

    CGridComboBox(int nItem, int nColumn, LPCTSTR pszInitial, const CStringArray& choices);

    // Gives the focus to the list, which ends the edit.
    void EndEdit();
    // Widens the editor and its drop-down list to the widest choice.
    void FitDropWidth();

    // Enter, Delete, Esc and Ctrl keys are only translated (their characters
    // end or leave the edit); Up and Down go to the editor at once.
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    // Ends the edit: reports to the list's parent.
    void OnKillFocus(CWnd* pNewWnd);

private:
    int m_nItem;
    int m_nColumn;
    CString m_strInitial;
    BOOL m_bCancelled { FALSE };
    CStringArray m_choices;
};
