#pragma once

// Invites a friend to the catalog with the password of an access profile
// (see CDlgWAAccount for the password dialog and the stored-values run). The
// server either mails the invitation (send flag on; the user is told) or
// returns its text for the user to pass on (GetInvitationText).

#include "webaccess/directory/CDlgWAAccount.h"

class CDlgWAInvite : public CDlgWAAccount {
public:
    explicit CDlgWAInvite(CWASettings& settings, CWnd* pParent = nullptr);

    // Sends the invitation with the account of the settings; TRUE when the server accepted it.
    BOOL Run(LPCTSTR pszFriendName, LPCTSTR pszFriendEmail, LPCTSTR pszProfilePassword, LPCTSTR pszText, BOOL bSend);

    // The invitation text the server returned (empty when it mailed it).
    const CString& GetInvitationText() const { return m_strInvitation; }

protected:
    int SendRequest() override;

private:
    CString m_strInvitation;
    CString m_strCatalogName;
    CString m_strCatalogCode;
    CString m_strFriendName;
    CString m_strFriendEmail;
    CString m_strProfilePassword;
    CString m_strText;
    BOOL m_bSend { FALSE };
};
