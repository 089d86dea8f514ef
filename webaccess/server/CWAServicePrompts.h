#pragma once

// The dialogs the web access server and its connection show, reached through
// one interface so that the server needs no window of the layers above: the
// program answers with its setup wizard, connect dialog, notice and log
// dialog; tests answer by script.

#include "platform/base/CString.h"

#include <vector>

class CWASetupConnection;

class CWAServicePrompts {
public:
    virtual ~CWAServicePrompts() = default;

    // The web access setup wizard, modal; TRUE when it ended with Finish. The
    // wizard opens the connection's socket and hands it the account it
    // registered; the caller closes the socket when it ends without Finish.
    virtual BOOL RunSetupWizard(CWASetupConnection& connection) = 0;
    // The connect dialog: connects the account and its catalog with the
    // directory server, announcing nPort. TRUE when connected; the password
    // the user typed goes to strNewPassword.
    virtual BOOL RunConnectDialog(LPCTSTR pszLogin, LPCTSTR pszPassword, LPCTSTR pszCatalogName, LPCTSTR pszCatalogCode,
        int nPort, CString& strNewPassword)
        = 0;
    // The notice shown when serving starts, while the "WarnConn" setting is on.
    virtual void ShowConnectionNotice() = 0;
    // The log dialog, modal, with the lines so far; its Clear empties lines.
    virtual void ShowLog(std::vector<CString>& lines) = 0;
    // A new line while the log dialog is shown.
    virtual void AddLogLine(LPCTSTR pszLine) = 0;
};
