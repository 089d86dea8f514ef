#pragma once

// Invites a friend to the web catalog with one of the access profiles: the
// friend's name and e-mail address and a personal text are sent with the
// chosen profile's password (through CDlgWAInvite, which asks for the
// account's password when none is stored). OK has the server mail the
// invitation and closes the dialog; Show Invitation shows the text the
// server made instead and keeps the dialog open. New Profile runs the profile
// wizard and adds the new profile to the settings (saved; a failed save is
// reported) and to the list, chosen.

#include "ui/CDibButton.h"

#include "platform/framework/CComboBox.h"
#include "platform/framework/CDialog.h"

class CWASettings;

class CDlgWAProfileInvite : public CDialog {
    DECLARE_MESSAGE_MAP()

public:
    explicit CDlgWAProfileInvite(CWASettings& settings, CWnd* pParent = nullptr);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnNewProfile();
    void OnShowInvitation();

private:
    // Checks the fields and sends; bSend: the server mails the invitation.
    void SendInvitation(BOOL bSend);
    void AddProfileLine(int nProfile);

    CWASettings& m_settings;
    CDibButton m_picture;
    CComboBox m_profiles;
};
