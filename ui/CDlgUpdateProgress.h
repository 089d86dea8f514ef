#pragma once

// The catalog update's progress dialog: up to three bars, one per step of the
// update (local drives, network places, mail stores), each under its label, a
// status text with the path being read, and the filing clip. The steps a run
// takes are set before the dialog is created (SetStepState); the dialog then
// shows only their bars, from the top, and shrinks to them. Cancel records a
// stop request that the next SetText or PumpAndTestCancel reports.

#include "ui/CProgressDialog.h"

class CDlgUpdateProgress : public CProgressDialog {
public:
    // Which steps show: 0 step 1, 1 step 2, 2 step 3, 3 steps 1 and 2, 4 steps
    // 1 and 3, 5 steps 2 and 3, 6 all three; MODE_NOT_SET keeps the template.
    static constexpr int MODE_NOT_SET = 7;
    static constexpr int BAR_COUNT = 3;

    CDlgUpdateProgress();

    // Before creation: the place kind of the run (0 none, 1 drives, 2 network,
    // 3 both) and whether the mail stores are a step too.
    void SetStepState(int nKind, BOOL bFlag);
    int GetMode() const { return m_nMode; }

    // Shows the shortened text and pumps. TRUE (once) when a stop was asked;
    // else plays a stopped clip again and returns FALSE.
    BOOL SetText(LPCTSTR pszText);

    // The visible bars from the top (0 to 2); null past the last visible one.
    CProgressCtrl* GetStepBar(int nBar);
    // The lowest visible bar.
    CProgressCtrl* GetLowestBar() const { return m_pLowestBar; }

protected:
    BOOL OnInitDialog() override;

private:
    void LayOut();

    int m_nMode { MODE_NOT_SET };
    CProgressCtrl m_bars[BAR_COUNT];
    int m_nVisibleBars { BAR_COUNT };
    CProgressCtrl* m_pLowestBar { nullptr };
};
