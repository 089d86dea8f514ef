#pragma once

// The maintenance passes' progress dialog: a status text and one bar whose
// range the owner sets. Cancel asks whether to stop; Yes sets the cancelled
// flag and ends the dialog, No leaves it running.

#include "ui/CProgressDialog.h"

class CDlgMaintenanceProgress : public CProgressDialog {
public:
    CDlgMaintenanceProgress();

    // Shows the shortened text, without pumping.
    void SetText(LPCTSTR pszText);
    // Pumps, then advances the bar by its step.
    void StepIt();

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override;

private:
};
