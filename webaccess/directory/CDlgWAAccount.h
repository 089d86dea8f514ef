#pragma once

// The base of the dialogs that carry out one account operation on the
// directory server and ask for the account password when it is needed
// (template IDD_WA_ACCOUNT: title, user ID, password, keep-password box and
// picture). Each operation first tries the stored values (Run of the
// subclass): without a stored password the dialog asks at once; with one the
// request goes out in the request loop, and only a result of 15 (the server
// wants the password typed again) shows the dialog after its message.
//
// OK in the dialog checks the password and sends the request: 0 takes the
// success step, a refusal keeps the dialog open, and Cancel in the Retry box
// either closes it with IDCANCEL or keeps it open, as the operation chose.
//
// The success step of every operation: the "Pass" setting becomes
// the typed password when the keep box is checked and empty otherwise, the
// web settings are saved (a failure is reported, the values stay in memory),
// and the dialog closes with IDOK. The settings are never changed before the
// server has answered 0.

#include "ui/CDibButton.h"
#include "ui/CLabelCtrl.h"

#include "platform/framework/CDialog.h"

class CWASettings;

class CDlgWAAccount : public CDialog {
public:
    // What Cancel in the Retry box does to the shown dialog.
    enum class ECancelInRetry {
        CloseDialog,
        KeepOpen,
    };

    // The account settings in use; the dialog shows nIdCaption and nIdTitle.
    CDlgWAAccount(
        CWASettings& settings, UINT nIdCaption, UINT nIdTitle, ECancelInRetry eCancel, CWnd* pParent = nullptr);

    // The password the dialog ended with (the stored one when it never showed).
    const CString& GetPassword() const { return m_strPassword; }

protected:
    /* What subclasses provide. */

    // One request with the dialog's current values, in the request loop;
    // returns the loop's result (0, -3 when the user cancelled, or the refusal).
    virtual int SendRequest() = 0;

    /* What subclasses use. */

    // The stored-values run described above; TRUE when the operation succeeded.
    BOOL RunWithStoredValues();
    // Reads the password edit; when it is empty says so, puts the focus on it
    // and returns FALSE.
    BOOL ValidatePassword();

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    CWASettings& m_settings;
    CLabelCtrl m_title;
    CDibButton m_picture;
    int m_nKeepPassword { 0 };
    CString m_strPassword;
    CString m_strUserId;

private:
    // The success step described above.
    void StorePasswordAndClose();

    UINT m_nIdCaption;
    UINT m_nIdTitle;
    ECancelInRetry m_eCancel;
};
