#pragma once

// Connects the account and its catalog with the directory server, announcing
// the port the program serves on (see CDlgWAAccount for the password dialog
// and the stored-values run). Unlike the other operations, Cancel in the
// Retry box keeps the dialog open for another try.

#include "webaccess/directory/CDlgWAAccount.h"

class CDlgWAConnect : public CDlgWAAccount {
public:
    explicit CDlgWAConnect(CWASettings& settings, CWnd* pParent = nullptr);

    // Connects; TRUE when the server accepted. GetPassword then gives the
    // password that was used.
    BOOL Run(LPCTSTR pszUserId, LPCTSTR pszPassword, LPCTSTR pszCatalogName, LPCTSTR pszCatalogCode, int nPort);

protected:
    int SendRequest() override;

private:
    CString m_strCatalogName;
    CString m_strCatalogCode;
    int m_nPort { 0 };
};
