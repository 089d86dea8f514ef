#include "ui/CDlgTreeProgress.h"

#include "resources/ResourceIds.h"

CDlgTreeProgress::CDlgTreeProgress()
    : CProgressDialog(IDD_TREE_PROGRESS, 0)
{
}

BOOL CDlgTreeProgress::OnInitDialog()
{
    CProgressDialog::OnInitDialog();
    m_nodePath.SubclassDlgItem(IDC_PROGRESS_NODE_PATH, this);
    return TRUE;
}

BOOL CDlgTreeProgress::SetNode(const CNodeRec* pNode)
{
    m_nodePath.SetNode(pNode);
    return PumpAndReport();
}

void CDlgTreeProgress::SetCount(int nCount)
{
    CString strCount;
    strCount.Format("%d", nCount);
    SetDlgItemText(IDC_TREE_PROGRESS_COUNT, strCount);
}
