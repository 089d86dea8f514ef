#pragma once

// Asks a document's expiry date: a box that says whether it expires, the
// days from today and the date (CExpiryGroup). After IDOK GetExpiry is the
// date chosen, or 0 when the box is clear. Nothing is written. Its template
// is resource IDD_EXPIRY_DATE.

#include "dialogs/documents/CExpiryGroup.h"
#include "ui/CImageButton.h"

#include "platform/framework/CDialog.h"

#include <ctime>

class CDlgExpiryDate : public CDialog {
    DECLARE_MESSAGE_MAP()

public:
    explicit CDlgExpiryDate(CWnd* pParent = nullptr);

    // Before DoModal: the document's name and icon (null: the template's),
    // and its date (below 1: none).
    void SetUp(LPCTSTR pszName, HICON hIcon, time_t nExpiry);

    time_t GetExpiry() const { return m_nExpiry; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnExpiresClicked() { m_expiry.OnExpiresClicked(); }
    void OnDaysChange() { m_expiry.OnDaysChange(); }
    void OnDaysKillFocus() { m_expiry.OnDaysKillFocus(); }
    void OnDateChange(NMHDR* pNotify, LRESULT* pResult);

private:
    CSpinButtonCtrl m_spin;
    CDatePickerCtrl m_picker;
    CImageButton m_picture;
    CExpiryGroup m_expiry;
    CString m_strName;
    HICON m_hIcon { nullptr };
    time_t m_nExpiry { -1 };
};
