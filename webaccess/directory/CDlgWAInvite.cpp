#include "webaccess/directory/CDlgWAInvite.h"

#include "resources/ResourceIds.h"
#include "webaccess/directory/CWARequest.h"
#include "webaccess/directory/WARequestLoop.h"
#include "webaccess/profiles/CWASettings.h"

#include "platform/framework/AfxMessageBox.h"

CDlgWAInvite::CDlgWAInvite(CWASettings& settings, CWnd* pParent)
    : CDlgWAAccount(settings, IDS_WA_INVITE_CAPTION, IDS_WA_INVITE_TITLE, ECancelInRetry::CloseDialog, pParent)
{
}

BOOL CDlgWAInvite::Run(
    LPCTSTR pszFriendName, LPCTSTR pszFriendEmail, LPCTSTR pszProfilePassword, LPCTSTR pszText, BOOL bSend)
{
    m_strUserId = m_settings.m_strLogin;
    m_strPassword = m_settings.m_strPassword;
    m_strCatalogName = m_settings.m_strCatName;
    m_strCatalogCode = m_settings.m_strCatCode;
    m_strFriendName = pszFriendName;
    m_strFriendEmail = pszFriendEmail;
    m_strProfilePassword = pszProfilePassword;
    m_strText = pszText;
    m_bSend = bSend;
    return RunWithStoredValues();
}

int CDlgWAInvite::SendRequest()
{
    CString strInvitation;
    int nResult = RunRequestLoop([&](CString& strMessage) {
        CWAInviteRequest request;
        int nAttempt = request.SetInviteFields(m_strUserId, m_strPassword, m_strCatalogName, m_strCatalogCode,
            m_strProfilePassword, m_strFriendName, m_strFriendEmail, m_strText, m_bSend);
        strMessage = request.m_strMessage;
        strInvitation = request.m_strInvitation;
        return nAttempt;
    });
    if (nResult == 0) {
        m_strInvitation = strInvitation;
        if (m_bSend)
            AfxMessageBox(IDS_WA_INVITATION_SENT, MB_OK | MB_ICONEXCLAMATION);
    }
    return nResult;
}
