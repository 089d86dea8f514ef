#pragma once

// The web access service's windows answered by the program's dialogs, on
// the program's web access settings: the setup wizard, the connect dialog,
// the connection notice (over the main window) and the log dialog.

#include "webaccess/server/CWAServicePrompts.h"

class CDlgWALog;

class CDialogWAServicePrompts : public CWAServicePrompts {
public:
    BOOL RunSetupWizard(CWASetupConnection& connection) override;
    BOOL RunConnectDialog(LPCTSTR pszLogin, LPCTSTR pszPassword, LPCTSTR pszCatalogName, LPCTSTR pszCatalogCode,
        int nPort, CString& strNewPassword) override;
    void ShowConnectionNotice() override;
    void ShowLog(std::vector<CString>& lines) override;
    // Shows the line in the log dialog while it is open; nothing otherwise.
    void AddLogLine(LPCTSTR pszLine) override;

private:
    CDlgWALog* m_pShownLog { nullptr };
};
