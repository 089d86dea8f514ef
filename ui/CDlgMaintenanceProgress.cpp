#include "ui/CDlgMaintenanceProgress.h"

#include "resources/ResourceIds.h"

CDlgMaintenanceProgress::CDlgMaintenanceProgress()
    : CProgressDialog(IDD_OPERATION_PROGRESS, IDC_OPERATION_STATUS)
{
}

BOOL CDlgMaintenanceProgress::OnInitDialog()
{
    CProgressDialog::OnInitDialog();
    // The owner sets the real range.
    GetBar().SetRange(0, 0);
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
    GetBar().StepIt();
}
