#include "ui/CDlgMaintenanceProgress.h"

#include "resources/ResourceIds.h"

CDlgMaintenanceProgress::CDlgMaintenanceProgress()
    : CProgressDialog(IDD_OPERATION_PROGRESS, IDC_OPERATION_STATUS)
{
}

BOOL CDlgMaintenanceProgress::OnInitDialog()
{
    CProgressDialog::OnInitDialog();
    m_bar.SubclassDlgItem(IDC_PROGRESS_BAR, this);
    // The owner sets the real range.
    m_bar.SetRange(0, 0);
    return TRUE;
}

void CDlgMaintenanceProgress::OnCancel()
{
    ConfirmStop();
}

void CDlgMaintenanceProgress::SetText(LPCTSTR pszText)
{
    ShowStatus(pszText);
}

void CDlgMaintenanceProgress::StepIt()
{
    Pump();
    m_bar.StepIt();
}
