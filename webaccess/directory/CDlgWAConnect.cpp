#include "webaccess/directory/CDlgWAConnect.h"

#include "resources/ResourceIds.h"
#include "webaccess/directory/CWARequest.h"
#include "webaccess/directory/WARequestLoop.h"

CDlgWAConnect::CDlgWAConnect(CWASettings& settings, CWnd* pParent)
    : CDlgWAAccount(settings, IDS_WA_CONNECT_CAPTION, IDS_WA_CONNECT_TITLE, ECancelInRetry::KeepOpen, pParent)
{
}

BOOL CDlgWAConnect::Run(
    LPCTSTR pszUserId, LPCTSTR pszPassword, LPCTSTR pszCatalogName, LPCTSTR pszCatalogCode, int nPort)
{
    m_strUserId = pszUserId;
    m_strPassword = pszPassword;
    m_strCatalogName = pszCatalogName;
    m_strCatalogCode = pszCatalogCode;
    m_nPort = nPort;
    return RunWithStoredValues();
}

int CDlgWAConnect::SendRequest()
{
    return RunRequestLoop([this](CString& strMessage) {
        CWAConnectRequest request;
        request.Connect(TRUE);
        request.SetLoginFields(m_strUserId, m_strPassword);
        request.SetCatalogFields(m_strCatalogName, m_strCatalogCode);
        request.SetPort(m_nPort);
        int nAttempt = request.RunAndParse(WA_CONN_DEFAULT);
        strMessage = request.m_strMessage;
        return nAttempt;
    });
}
