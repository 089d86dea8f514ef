#include "ui/CDlgMailboxProgress.h"

#include "resources/ResourceIds.h"

CDlgMailboxProgress::CDlgMailboxProgress()
    : CProgressDialog(IDD_MAILBOX_PROGRESS, IDC_PROGRESS_TEXT)
{
}
