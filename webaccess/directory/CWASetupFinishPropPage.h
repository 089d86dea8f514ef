#pragma once

// Page 12 of the web access setup wizard: Finish registers what the pages
// chose. It opens the connection's socket (on a LAN in the LAN folder, else
// in the program folder), sends the connect request in the request loop and,
// once the server accepted and gave a usable catalog code (4 to 11 letters
// and digits: it becomes a folder name), hands the account to the
// connection and stores the account, the catalog, the connection and one
// default profile in the settings, then saves them (a failed save is shown;
// the wizard finishes anyway). A refusal closes the socket again and keeps
// the wizard open, with nothing stored.

#include "webaccess/directory/CWASetupPropPage.h"

class CWASettings;
class CWASetupConnection;

// Whether a catalog code the server gave can name the communication folder.
BOOL IsUsableCatalogCode(const CString& strCode);

class CWASetupFinishPropPage : public CWASetupPropPage {
public:
    CWASetupFinishPropPage(CWASetupWizardPropSheet& sheet, CWASettings& settings, CWASetupConnection& connection);

protected:
    BOOL OnWizardFinish() override;

private:
    // Sends the registration announcing nPort; 0 with the catalog code, or the refusal's result.
    int Register(int nPort, CString& strCatalogCode);
    // Stores what was registered.
    void StoreRegistration(const CString& strFolder, const CString& strCatalogCode);

    CWASettings& m_settings;
    CWASetupConnection& m_connection;
};
