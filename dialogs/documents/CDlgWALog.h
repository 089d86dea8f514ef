#pragma once

// The web access service's log: its lines in a list that ends scrolled to the
// newest, wide enough to scroll across the longest. Clear (after a question)
// empties the list and the service's lines in memory; the log file stays.
// Its template is resource IDD_WA_LOG.

#include "platform/framework/CButton.h"
#include "platform/framework/CDialog.h"
#include "platform/framework/CListBox.h"

#include <vector>

class CDlgWALog : public CDialog {
    DECLARE_MESSAGE_MAP()

public:
    // lines: the service's lines, which must outlive the dialog; Clear empties them.
    explicit CDlgWALog(std::vector<CString>& lines, CWnd* pParent = nullptr);

    // Shows a line the service has just logged, as the newest.
    void AddLine(LPCTSTR pszLine);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnClear();

private:
    CListBox m_list;
    CButton m_clear;
    std::vector<CString>& m_lines;
    int m_nWidest { 0 };
};
