#pragma once

// The progress dialog of a backup or a restore: a bar over the files, the
// status text and the filing clip. Cancel records a stop request that the
// next SetText reports.

#include "ui/CProgressDialog.h"

class CDlgBackupProgress : public CProgressDialog {
public:
    CDlgBackupProgress();

    // Shows the shortened text and pumps. TRUE (once) when a stop was asked;
    // else plays a stopped clip again and returns FALSE.
    BOOL SetText(LPCTSTR pszText) { return ShowStatusAndReport(pszText); }
};
