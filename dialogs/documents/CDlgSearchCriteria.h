#pragma once

// Edits a list filter: its active flag, how its conditions combine and its
// four conditions (a column of the document list, a comparison, a value).
// The dialog works on its own copy of the filter; GetFilter gives the edited
// copy after IDOK. Sizes are whole bytes; dates are written year-month-day
// and stored as the start of that day (the filter compares whole days).
// A row left as it showed keeps its condition exactly, even one the dialog
// cannot show (an unknown column or comparison). The second value box is
// enabled for "is between" only. A row whose value does not
// fit its column is refused with a message and the dialog stays open.
// SetReadOnly(TRUE) before DoModal shows the filter with every control
// disabled but Close: the dialog then answers IDCANCEL and changes nothing.
// Its template is resource IDD_SEARCH_CRITERIA.

#include "platform/framework/CDialog.h"
#include "store/ListFilter.h"

class CDlgSearchCriteria : public CDialog {
    DECLARE_MESSAGE_MAP()

public:
    explicit CDlgSearchCriteria(const CListFilter& filter, CWnd* pParent = nullptr);
    ~CDlgSearchCriteria() override;
    CDlgSearchCriteria(const CDlgSearchCriteria&) = delete;
    CDlgSearchCriteria& operator=(const CDlgSearchCriteria&) = delete;

    void SetReadOnly(BOOL bReadOnly) { m_bReadOnly = bReadOnly; }
    const CListFilter& GetFilter() const { return m_filter; }

    // A time as the year-month-day of its day (UTC, as the filter counts days), and back.
    static CString FormatDay(LONGLONG tTime);
    static bool ParseDay(const CString& strText, LONGLONG* ptTime);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnOperatorChanged(UINT nId);

private:
    // What a row's controls show: the column and comparison chosen, the texts.
    struct CRowShown {
        int nColumnChoice { 0 };
        int nOperatorChoice { -1 };
        CString strValue;
        CString strEnd;
        bool operator==(const CRowShown&) const = default;
    };

    CRowShown ReadRow(int nRow) const;
    void ShowCondition(int nRow);
    // The second value serves "is between" only.
    void EnableEnd(int nRow);
    // Makes the row's controls condition nRow of m_filter; FALSE (with a
    // message, the focus on the faulty control) when they do not fit.
    BOOL TakeCondition(int nRow);
    void DisableAllButClose();

    CListFilter m_filter;
    BOOL m_bReadOnly { FALSE };
    CRowShown m_shown[LIST_FILTER_CONDITIONS];
};
