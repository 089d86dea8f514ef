#include "dialogs/documents/CExpiryGroup.h"

#include "resources/ResourceIds.h"
#include "store/DateHelpers.h"

#include "platform/base/CTime.h"
#include "platform/controls/ButtonControl.h"
#include "platform/controls/EditControl.h"
#include "platform/window/MessageBox.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr time_t SECONDS_PER_DAY = 86400;

} // namespace

void CExpiryGroup::Attach(CWnd& owner, CDatePickerCtrl& picker, CSpinButtonCtrl& spin, time_t nExpiry)
{
    m_pOwner = &owner;
    m_pPicker = &picker;
    const CTime minimum = CDatePickerCtrl::RangeMinimum();
    const CTime maximum = CDatePickerCtrl::RangeMaximum();
    picker.SetRange(&minimum, &maximum);
    spin.SetBuddy(owner.GetDlgItem(IDC_EXPIRY_DAYS));
    spin.SetRange(-MAX_DAYS, MAX_DAYS);
    owner.SendDlgItemMessage(IDC_EXPIRY_DAYS, EM_LIMITTEXT, 3, 0);
    const time_t now = CTime::GetCurrentTime().GetTime();
    m_bChanging = true;
    if (nExpiry < 1) {
        owner.CheckDlgButton(IDC_EXPIRES, BST_UNCHECKED);
        picker.SetTime(CTime(now));
        SetDaysText(0);
    } else {
        owner.CheckDlgButton(IDC_EXPIRES, BST_CHECKED);
        picker.SetTime(CTime(nExpiry));
        SetDaysText(DaysBetween(now, nExpiry));
    }
    m_bChanging = false;
    EnableDateControls(IsExpiring());
}

void CExpiryGroup::Enable(BOOL bAllowed)
{
    if (CWnd* pBox = m_pOwner->GetDlgItem(IDC_EXPIRES))
        pBox->EnableWindow(bAllowed);
    EnableDateControls(bAllowed && IsExpiring());
}

void CExpiryGroup::OnExpiresClicked()
{
    EnableDateControls(IsExpiring());
}

void CExpiryGroup::OnDaysChange()
{
    if (m_bChanging || m_pOwner == nullptr)
        return;
    CString strDays;
    m_pOwner->GetDlgItemText(IDC_EXPIRY_DAYS, strDays);
    if (strDays.IsEmpty())
        return;
    const time_t now = CTime::GetCurrentTime().GetTime();
    long nDays = std::atol(strDays);
    // The bounds: the spin's range, narrowed to the days the picker can show.
    const long nLatest = std::min<long>(MAX_DAYS, (CDatePickerCtrl::RangeMaximum().GetTime() - now) / SECONDS_PER_DAY);
    const long nEarliest
        = std::max<long>(-MAX_DAYS, -((now - CDatePickerCtrl::RangeMinimum().GetTime()) / SECONDS_PER_DAY));
    const long nClamped = std::clamp(nDays, nEarliest, nLatest);
    if (nClamped != nDays) {
        MessageBeep(static_cast<UINT>(-1));
        nDays = nClamped;
        m_bChanging = true;
        SetDaysText(nDays);
        m_bChanging = false;
    }
    m_pPicker->SetTime(CTime(now + nDays * SECONDS_PER_DAY));
}

void CExpiryGroup::OnDaysKillFocus()
{
    CString strDays;
    m_pOwner->GetDlgItemText(IDC_EXPIRY_DAYS, strDays);
    if (!strDays.IsEmpty())
        return;
    SetDaysText(0);
    OnDaysChange();
}

void CExpiryGroup::OnDateChange()
{
    const CTime picked = m_pPicker->GetTime();
    const CTime midnight(picked.GetYear(), picked.GetMonth(), picked.GetDay(), 0, 0, 0);
    m_bChanging = true;
    SetDaysText(DaysBetween(CTime::GetCurrentTime().GetTime(), midnight.GetTime()));
    m_bChanging = false;
}

time_t CExpiryGroup::GetExpiry() const
{
    return IsExpiring() ? m_pPicker->GetTime().GetTime() : 0;
}

BOOL CExpiryGroup::IsExpiring() const
{
    return m_pOwner != nullptr && m_pOwner->IsDlgButtonChecked(IDC_EXPIRES) == BST_CHECKED;
}

void CExpiryGroup::SetDaysText(long nDays)
{
    CString strDays;
    strDays.Format("%ld", nDays);
    m_pOwner->SetDlgItemText(IDC_EXPIRY_DAYS, strDays);
}

void CExpiryGroup::EnableDateControls(BOOL bEnable)
{
    for (int nId : { IDC_EXPIRY_DAYS, IDC_EXPIRY_SPIN, IDC_EXPIRY_PICKER }) {
        if (CWnd* pControl = m_pOwner->GetDlgItem(nId))
            pControl->EnableWindow(bEnable);
    }
}
