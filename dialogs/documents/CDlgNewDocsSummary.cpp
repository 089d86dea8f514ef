#include "dialogs/documents/CDlgNewDocsSummary.h"

#include "resources/ResourceIds.h"

#include "platform/framework/CDataExchange.h"

CDlgNewDocsSummary::CDlgNewDocsSummary(const CNewDocNoticeArray& queue, CWnd* pParent)
    : CDialog(IDD_NEW_DOCS_SUMMARY, pParent)
    , m_queue(queue)
{
}

void CDlgNewDocsSummary::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_NEW_DOCS_LIST, m_list);
}

BOOL CDlgNewDocsSummary::OnInitDialog()
{
    CDialog::OnInitDialog();
    // A store that grew is read when it is catalogued: only documents are listed.
    int nCount = 0;
    for (const CNewDocNotice& notice : m_queue) {
        if (notice.IsStoreChange())
            continue;
        m_list.AddString(notice.GetDisplayName());
        ++nCount;
    }
    CString strText;
    strText.Format(IDS_NEW_DOCS_WAITING, nCount);
    SetDlgItemText(IDC_NEW_DOCS_TEXT, strText);
    return TRUE;
}
