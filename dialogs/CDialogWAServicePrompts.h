#pragma once

// The web access service's windows answered by the program's dialogs: the
// log dialog. The setup wizard, the connect dialog and the connection notice
// are not built yet and answer as cancelled, which changes nothing.

#include "webaccess/server/CWAServicePrompts.h"

class CDlgWALog;

class CDialogWAServicePrompts : public CWAServicePrompts {
public:
    BOOL RunSetupWizard(CWASetupConnection&) override { return FALSE; }
    BOOL RunConnectDialog(LPCTSTR, LPCTSTR, LPCTSTR, LPCTSTR, int, CString&) override { return FALSE; }
    void ShowConnectionNotice() override { }
    void ShowLog(std::vector<CString>& lines) override;
    // Shows the line in the log dialog while it is open; nothing otherwise.
    void AddLogLine(LPCTSTR pszLine) override;

private:
    CDlgWALog* m_pShownLog { nullptr };
};
