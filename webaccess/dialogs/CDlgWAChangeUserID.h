#pragma once

// Changes the account's user ID and password on the directory server. OK
// checks the fields in order (current password, new user ID and new password
// typed; the confirmation equal to the new password as typed; something
// changed, user ID and password compared without regard to case) and sends
// the change in the request loop; Cancel in the Retry box or a refusal keeps
// the dialog open. On success "Login" becomes the new ID and "Pass" the new
// password when the keep box is checked (else empty), the settings are saved
// and the dialog ends with IDOK.

#include "ui/CDibButton.h"
#include "ui/CLabelCtrl.h"

#include "platform/framework/CDialog.h"

class CWASettings;

class CDlgWAChangeUserID : public CDialog {
public:
    explicit CDlgWAChangeUserID(CWASettings& settings, CWnd* pParent = nullptr);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    // The fields' checks; on a failure the message shows and the field gets the focus.
    BOOL ValidateFields(CString& strPassword, CString& strNewUserId, CString& strNewPassword);
    void Refuse(UINT nIdMessage, int nIdField);

    CWASettings& m_settings;
    CLabelCtrl m_title;
    CDibButton m_picture;
};
