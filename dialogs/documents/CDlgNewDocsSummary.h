#pragma once

// Lists the new documents that wait to be catalogued, before the main window
// closes or hides: IDOK catalogues them now, IDCANCEL goes on without. Its
// template is resource IDD_NEW_DOCS_SUMMARY.

#include "catalog/CNewDocNotice.h"

#include "platform/framework/CDialog.h"
#include "platform/framework/CListBox.h"

class CDlgNewDocsSummary : public CDialog {
public:
    // The queue stays the caller's while the dialog runs.
    CDlgNewDocsSummary(const CNewDocNoticeArray& queue, CWnd* pParent = nullptr);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

private:
    const CNewDocNoticeArray& m_queue;
    CListBox m_list;
};
