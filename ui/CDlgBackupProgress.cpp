#include "ui/CDlgBackupProgress.h"

#include "resources/ResourceIds.h"

CDlgBackupProgress::CDlgBackupProgress()
    : CProgressDialog(IDD_BACKUP_PROGRESS, IDC_PROGRESS_TEXT)
{
}
