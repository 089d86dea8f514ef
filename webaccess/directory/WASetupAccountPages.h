#pragma once

// The web access setup wizard's account pages: new or existing account, the
// new account with its owner's details, and the login of an existing one
// (see CWASetupWizardPropSheet for the road through the pages).

#include "webaccess/directory/CWASetupPropPage.h"

#include "ui/CImageButton.h"
#include "ui/CLabelCtrl.h"

// Page 4: a new account or an existing one. Back leads to the LAN folder on
// a LAN, else to the connection type.
class CWASetupAccountChoicePropPage : public CWASetupPropPage {
public:
    explicit CWASetupAccountChoicePropPage(CWASetupWizardPropSheet& sheet);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    LRESULT OnWizardNext() override;

private:
    CImageButton m_picture;
    CLabelCtrl m_newLabel;
    CLabelCtrl m_existingLabel;
};

// Page 5: the new account's user ID and password (typed twice) and whether
// the password is kept.
class CWASetupNewUserPropPage : public CWASetupPropPage {
public:
    explicit CWASetupNewUserPropPage(CWASetupWizardPropSheet& sheet);

protected:
    BOOL OnInitDialog() override;
    LRESULT OnWizardNext() override;
};

// Page 6: the account owner's name, e-mail address, gender, city, state and
// country (a country must be chosen: the list's first line is a prompt).
// Next leads to the new catalog: a new account registers a new catalog.
class CWASetupUserInfoPropPage : public CWASetupPropPage {
public:
    explicit CWASetupUserInfoPropPage(CWASetupWizardPropSheet& sheet);

protected:
    BOOL OnInitDialog() override;
    LRESULT OnWizardNext() override;
};

// Page 7: the existing account's user ID and password; its button has the
// directory server mail the password to the account's address.
class CWASetupLoginPropPage : public CWASetupPropPage {
    DECLARE_MESSAGE_MAP()

public:
    explicit CWASetupLoginPropPage(CWASetupWizardPropSheet& sheet);

protected:
    BOOL OnInitDialog() override;
    LRESULT OnWizardNext() override;
    void OnSendPassword();
};
