#include "ui/CDlgBusy.h"

#include "resources/ResourceIds.h"

CDlgBusy::CDlgBusy()
    : CProgressDialog(IDD_BUSY, IDC_BUSY_STATUS)
{
}

BOOL CDlgBusy::OnInitDialog()
{
    CProgressDialog::OnInitDialog();
    m_nodeButton.SubclassDlgItem(IDC_BUSY_NODE, this);
    return TRUE;
}

int CDlgBusy::SetEntry(const CNodeRec* pNode)
{
    m_nodeButton.SetNode(pNode);
    return 0;
}
