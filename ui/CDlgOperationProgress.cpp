#include "ui/CDlgOperationProgress.h"

#include "resources/ResourceIds.h"

CDlgOperationProgress::CDlgOperationProgress()
    : CProgressDialog(IDD_OPERATION_PROGRESS, IDC_OPERATION_STATUS)
{
}

BOOL CDlgOperationProgress::OnInitDialog()
{
    CProgressDialog::OnInitDialog();
    GetBar().SetRange32(0, static_cast<int>(m_itemTexts.size()) - 1);
    return TRUE;
}

void CDlgOperationProgress::OnCancel()
{
    ConfirmStop();
}

void CDlgOperationProgress::SetText(LPCTSTR pszText)
{
    ShowStatus(pszText);
    Pump();
}
