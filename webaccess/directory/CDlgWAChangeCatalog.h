#pragma once

// Renames the registered catalog on the directory server (see CDlgWAAccount
// for the password dialog and the stored-values run). On success the
// "CatName" setting becomes the new name, the settings are saved and the user
// is told.

#include "webaccess/directory/CDlgWAAccount.h"

class CDlgWAChangeCatalog : public CDlgWAAccount {
public:
    explicit CDlgWAChangeCatalog(CWASettings& settings, CWnd* pParent = nullptr);

    // Renames the catalog to pszNewName with the account of the settings;
    // TRUE when the server renamed it.
    BOOL Run(LPCTSTR pszNewName);

protected:
    int SendRequest() override;

private:
    CString m_strCatalogName;
    CString m_strCatalogCode;
    CString m_strNewName;
};
