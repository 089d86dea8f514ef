#pragma once

// Asks a new password for a document that has none, typed twice; the two must
// agree (IDS_PASSWORD_MISMATCH). An empty password leaves the document
// unprotected. Its template is resource IDD_NEW_PASSWORD.

#include "platform/framework/CDialog.h"

class CDlgNewPassword : public CDialog {
public:
    explicit CDlgNewPassword(CWnd* pParent = nullptr);

    // Before DoModal: the document shown (hIcon null: the template's
    // picture); bLong allows 15 characters (files) instead of 10 (mail).
    void SetUp(HICON hIcon, LPCTSTR pszPath, BOOL bLong);

    // After IDOK: the new password, empty for none.
    const CString& GetPassword() const { return m_strPassword; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    HICON m_hIcon { nullptr };
    CString m_strPath;
    BOOL m_bLong { TRUE };
    CString m_strPassword;
};
