#pragma once

// The grid list's text editor: a multi-line edit laid over a cell that grows
// to its text as the user types (never shrinking, never past the list's
// client area, with a vertical scroll bar once it reaches the bottom). Enter
// commits, Esc cancels, and every other focus loss commits: the focus loss
// reports the cell's new text, or none when cancelled (GridEditEnd.h).

#include "platform/framework/CEdit.h"

class CGridEdit : public CEdit {
    DECLARE_DYNAMIC(CGridEdit)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr int GROW_MARGIN = 5; // kept right of and below the text
    static constexpr int LIST_MARGIN = 2; // kept inside the list's client area

    CGridEdit(int nItem, int nColumn, LPCTSTR pszInitial);

    // Grows the editor to its text in the list's font.
    void FitToText();

    // Enter, Delete, Esc and Ctrl keys go straight to the editor, before a
    // dialog can take them; Esc of a multi-line editor is only translated.
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
};
