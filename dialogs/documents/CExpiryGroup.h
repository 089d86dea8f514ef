#pragma once

// The expiry controls a document dialog shares: a box that says whether the
// document expires (IDC_EXPIRES), the days from today (IDC_EXPIRY_DAYS, with
// its spin IDC_EXPIRY_SPIN, -999 to 999) and the date (IDC_EXPIRY_PICKER). The
// days and the date follow each other; both are enabled while the box is
// ticked. The owner forwards the controls' notifications to the On... calls.
//
// Days beyond -999..999, or whose date falls outside the picker's range, are
// clamped with a beep and the clamped number written back, so the date kept
// is always the one shown.

#include "ui/CDateTimeWnd.h"

#include "platform/framework/CSpinButtonCtrl.h"

#include <ctime>

class CExpiryGroup {
public:
    static constexpr int MAX_DAYS = 999;

    // Binds the group to the owner's controls; call from OnInitDialog, after
    // the picker and the spin are subclassed. nExpiry below 1: no expiry
    // (today is shown, 0 days).
    void Attach(CWnd& owner, CDatePickerCtrl& picker, CSpinButtonCtrl& spin, time_t nExpiry);
    // Enables the box, and the days and date as the box is ticked; bAllowed FALSE disables all.
    void Enable(BOOL bAllowed);

    void OnExpiresClicked();
    void OnDaysChange();
    void OnDaysKillFocus();
    void OnDateChange();

    // The date chosen: the picker's time while the box is ticked, else 0.
    time_t GetExpiry() const;
    BOOL IsExpiring() const;

private:
    void SetDaysText(long nDays);
    void EnableDateControls(BOOL bEnable);

    CWnd* m_pOwner { nullptr };
    CDatePickerCtrl* m_pPicker { nullptr };
    bool m_bChanging { false }; // writing the days back, which notifies again
};
