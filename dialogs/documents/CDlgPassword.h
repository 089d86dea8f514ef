#pragma once

// Asks the password of a protected document and checks it against the one
// the catalog holds: a wrong one is refused (IDS_WRONG_PASSWORD) with the
// typed text selected, and the dialog stays open, so a caller never acts on a
// mistyped password. Its template is resource IDD_PASSWORD.
//
// Variants:
//   PLAIN      the password, to read or open the document;
//   CHANGE     the password, then a new one typed twice, or "remove the protection";
//   UNPROTECT  the password, before the protection is taken off.
// After IDOK, GetPassword is the password in force from now on: the stored
// one, or for CHANGE the new one (empty when the protection is removed; the
// stored one when no new one was typed).

#include "platform/framework/CDialog.h"

class CDlgPassword : public CDialog {
public:
    static constexpr int PLAIN = 0;
    static constexpr int CHANGE = 1;
    static constexpr int UNPROTECT = 2;
    // Password lengths: files keep 15 bytes, mail messages 10.
    static constexpr int MAX_LONG = 15;
    static constexpr int MAX_SHORT = 10;

    explicit CDlgPassword(CWnd* pParent = nullptr);

    // Before DoModal. hIcon (null: the template's) and pszPath show the
    // document; pszStored is the password the catalog holds; bLong allows
    // MAX_LONG characters instead of MAX_SHORT.
    void SetUp(HICON hIcon, LPCTSTR pszPath, LPCTSTR pszStored, int nVariant, BOOL bLong);

    const CString& GetPassword() const { return m_strResult; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    // Hides the new-password rows and takes their room out of the dialog.
    void HideChangeRows();

    HICON m_hIcon { nullptr };
    CString m_strPath;
    CString m_strStored;
    int m_nVariant { PLAIN };
    BOOL m_bLong { TRUE };
    CString m_strResult;
};
