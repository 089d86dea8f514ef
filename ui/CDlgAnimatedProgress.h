#pragma once

// A small modeless progress dialog for work that runs inside the caller's own
// loop (filling a folder tree): it plays the filing clip until it is closed,
// and its Cancel button asks whether to stop. The caller pumps messages and
// reads IsCancelled between steps; the dialog stays up after a "Yes" until the
// caller closes it.

#include "platform/framework/CAnimateCtrl.h"
#include "platform/framework/CDialog.h"

class CDlgAnimatedProgress : public CDialog {
    DECLARE_MESSAGE_MAP()

public:
    CDlgAnimatedProgress();

    // Clears the cancel flag and shows the dialog, without an owner.
    BOOL Show();
    // Hides, stops the clip and destroys the dialog; clears the cancel flag.
    void Close();
    // The user answered Yes to stopping since Show, or the caller stopped it.
    BOOL IsCancelled() const { return m_bCancelled; }
    // Stops as a confirmed Cancel does, without asking: for the caller's own
    // stop buttons, whose meaning needs no question.
    void Stop() { m_bCancelled = TRUE; }
    BOOL IsShown() const { return GetSafeHwnd() != nullptr; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // Asks whether to stop: Yes sets the flag (the dialog stays), No plays on.
    void OnCancel() override;

private:
    CAnimateCtrl m_animation;
    BOOL m_bCancelled { FALSE };
};
