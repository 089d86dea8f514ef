#include "dialogs/documents/CDlgNewDocsFound.h"

#include "resources/ResourceIds.h"

CDlgNewDocsFound::CDlgNewDocsFound(int nCount, CWnd* pParent)
    : CDialog(IDD_NEW_DOCS_FOUND, pParent)
    , m_nCount(nCount)
{
}

BOOL CDlgNewDocsFound::OnInitDialog()
{
    CDialog::OnInitDialog();
    CString strText;
    if (m_nCount == 1)
        strText.LoadString(IDS_NEW_DOC_VANISHED);
    else
        strText.Format(IDS_NEW_DOCS_VANISHED, m_nCount);
    SetDlgItemText(IDC_NEW_DOCS_TEXT, strText);
    return TRUE;
}
