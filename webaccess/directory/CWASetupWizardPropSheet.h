#pragma once

// The web access setup wizard: from nothing to an account and a catalog
// registered with the directory server. Thirteen pages, in index order:
//   0 introduction   1 notice          2 connection type  3 LAN folder
//   4 new or existing account          5 new account      6 about the user
//   7 login          8 new or existing catalog            9 new catalog
//   10 existing catalog                11 upload folder   12 finish
// Next: 2 goes to 3 on a LAN, else to 4; 4 to 5 (new account) or 7; 6 to 9
// (a new account always registers a new catalog); 8 to 9 or 10; 9 and 10 to
// 11. Back retraces the road taken.
//
// Every field starts empty. Nothing is stored before Finish succeeds: the
// finish page opens the connection's socket, registers the account and the
// catalog, hands the account to the connection and replaces the settings'
// account, catalog, connection and profiles (one default profile); a refusal
// closes the socket again and keeps the wizard open. DoModal returns
// ID_WIZFINISH when the registration was made.

#include "webaccess/directory/CWASetupFinishPropPage.h"
#include "webaccess/directory/CWASetupPropPage.h"
#include "webaccess/directory/WASetupAccountPages.h"
#include "webaccess/directory/WASetupCatalogPages.h"
#include "webaccess/directory/WASetupConnectionPages.h"

#include "ui/CKadWizardPropertySheet.h"

class CWASettings;
class CWASetupConnection;

// What the pages chose, kept as each page is left with Next.
struct CWASetupValues {
    int nConnType { 1 };       // 1 modem, 2 LAN, 3 cable
    BOOL bNewUser { TRUE };    // create an account rather than log in
    BOOL bNewCatalog { TRUE }; // register a new catalog rather than an existing one
    CString strCommFolder;     // the folder shared with the directory server (LAN)
    // The new account and its owner.
    CString strNewUserId;
    CString strNewPassword;
    BOOL bNewKeepPassword { FALSE };
    CString strName;
    CString strEmail;
    TCHAR chGender { 'M' };
    CString strCity;
    CString strState;
    CString strCountry; // two letters
    // The existing account.
    CString strUserId;
    CString strPassword;
    BOOL bKeepPassword { FALSE };
    // The new catalog, or the existing one with its code.
    CString strNewCatalogName;
    CString strNewProfilePassword;
    CString strCatalogName;
    CString strCatalogCode;
    CString strProfilePassword;
    CString strTargetFolder; // the default profile's upload folder
};

class CWASetupWizardPropSheet : public CKadWizardPropertySheet {
public:
    // The settings receive the registration; the connection opens the socket
    // and takes the account. Both outlive the sheet.
    CWASetupWizardPropSheet(CWASettings& settings, CWASetupConnection& connection, CWnd* pParent = nullptr);

    /* Page indexes. */
    static constexpr int PAGE_INTRO = 0;
    static constexpr int PAGE_NOTICE = 1;
    static constexpr int PAGE_CONN_TYPE = 2;
    static constexpr int PAGE_COMM_FOLDER = 3;
    static constexpr int PAGE_ACCOUNT_CHOICE = 4;
    static constexpr int PAGE_NEW_USER = 5;
    static constexpr int PAGE_USER_INFO = 6;
    static constexpr int PAGE_LOGIN = 7;
    static constexpr int PAGE_CATALOG_CHOICE = 8;
    static constexpr int PAGE_NEW_CATALOG = 9;
    static constexpr int PAGE_CATALOG = 10;
    static constexpr int PAGE_TARGET_FOLDER = 11;
    static constexpr int PAGE_FINISH = 12;

    CWASetupValues m_values;

private:
    CWASetupIntroPropPage m_intro;
    CWASetupNoticePropPage m_notice;
    CWASetupConnTypePropPage m_connType;
    CWASetupCommFolderPropPage m_commFolder;
    CWASetupAccountChoicePropPage m_accountChoice;
    CWASetupNewUserPropPage m_newUser;
    CWASetupUserInfoPropPage m_userInfo;
    CWASetupLoginPropPage m_login;
    CWASetupCatalogChoicePropPage m_catalogChoice;
    CWASetupNewCatalogPropPage m_newCatalog;
    CWASetupCatalogPropPage m_catalog;
    CWASetupTargetFolderPropPage m_targetFolder;
    CWASetupFinishPropPage m_finish;
};
