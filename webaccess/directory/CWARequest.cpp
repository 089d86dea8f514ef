#include "webaccess/directory/CWARequest.h"

#include "resources/ResourceIds.h"
#include "store/CLogFile.h"
#include "webaccess/directory/DirectoryReply.h"
#include "webaccess/profiles/CWASettings.h"

#include <cstring>

namespace {

constexpr int REPLY_CODE_FIELD = 1;
constexpr int REPLY_MESSAGE_FIELD = 2;
constexpr int REPLY_VALUE_FIELD = 4; // the catalog code, or an invitation's text

struct ServerPage {
    LPCTSTR pszPath;
    LPCTSTR pszTitle;
    LPCTSTR pszTrace;
};

// clang-format off
constexpr ServerPage PAGES[] = {
    { WA_PAGE_CATALOGS,       "Retrieve catalogs",     "WA Retrieving catalogs" },
    { WA_PAGE_CHANGE_LOGIN,   "Change user ID",        "WA Changing user ID" },
    { WA_PAGE_CHANGE_CATALOG, "Change catalog name",   "WA Changing catalog name" },
    { WA_PAGE_PASSWORD,       "Retrieve password",     "WA Retrieving password" },
    { WA_PAGE_INVITE,         "Invite a friend",       "WA Inviting a friend" },
    { WA_PAGE_CONNECT,        "Connect or disconnect", "WA Connecting or disconnecting" },
    { WA_PAGE_PING,           "Ping",                  "WA Pinging" },
};
// clang-format on

const ServerPage* FindPage(LPCTSTR pszPage)
{
    for (const ServerPage& page : PAGES)
        if (pszPage && std::strcmp(page.pszPath, pszPage) == 0)
            return &page;
    return nullptr;
}

} // namespace

CString GetServerPageTitle(LPCTSTR pszPage)
{
    const ServerPage* pPage = FindPage(pszPage);
    return pPage ? CString(pPage->pszTitle) : CString();
}

CString GetServerPageTrace(LPCTSTR pszPage)
{
    const ServerPage* pPage = FindPage(pszPage);
    return pPage ? CString(pPage->pszTrace) : CString();
}

/*** CWARequest ***/

CWARequest::CWARequest(LPCTSTR pszPage, LPCTSTR pszMarker)
    : m_strMarker(pszMarker)
    , m_strPage(pszPage)
{
    if (const CWASettings* pSettings = GetCurrentWebSettings())
        m_strBase = pSettings->m_strSite;
    else
        m_strBase.LoadString(IDS_WA_DEFAULT_SITE);
    m_strUrl = m_strBase + m_strPage;
}

void CWARequest::SetPort(int nPort)
{
    CString strPort;
    strPort.Format("%d", nPort);
    AddParam("Cpor", strPort);
}

void CWARequest::SetNewUserFields(LPCTSTR pszLogin, LPCTSTR pszPassword, LPCTSTR pszEmail, LPCTSTR pszName,
    TCHAR chGender, LPCTSTR pszCity, LPCTSTR pszState, LPCTSTR pszCountry)
{
    SetNewUser(TRUE);
    SetNewUserLogin(pszLogin);
    SetNewUserPassword(pszPassword);
    SetNewUserEmail(pszEmail);
    SetNewUserName(pszName);
    SetNewUserGender(chGender);
    SetNewUserCity(pszCity);
    SetNewUserState(pszState);
    SetNewUserCountry(pszCountry);
}

void CWARequest::SetLoginFields(LPCTSTR pszLogin, LPCTSTR pszPassword)
{
    SetNewUser(FALSE);
    SetUserLogin(pszLogin);
    SetUserPassword(pszPassword);
}

void CWARequest::SetNewCatalogFields(LPCTSTR pszCatalogName)
{
    SetNewCatalog(TRUE);
    SetNewCatalogLogin(pszCatalogName);
}

void CWARequest::SetCatalogFields(LPCTSTR pszCatalogName, LPCTSTR pszCatalogCode)
{
    SetNewCatalog(FALSE);
    SetCatalogLogin(pszCatalogName);
    SetCatalogNumber(pszCatalogCode);
}

int CWARequest::Execute(int nConnType)
{
    const bool bTrace = g_log.IsTracing(LOG_WEB_ACCESS);
    if (bTrace)
        g_log.Printf("\n%s...", static_cast<LPCTSTR>(GetServerPageTrace(m_strPage)));
    m_nResult = -3;
    nConnType = EffectiveConnType(nConnType);
    if (!GetLocalIpAddress(nConnType).IsEmpty())
        AddParam("Cip", m_strLocalIp);
    const CString strTitle = GetServerPageTitle(m_strPage);

    if (!HttpGetUrl(m_strUrl, nConnType)) {
        m_strMessage.Format(IDS_WA_DIR_FAILED, static_cast<int>(m_nErrorCode), m_strReply);
        if (bTrace)
            g_log.Printf("\n%s returned: %s", static_cast<LPCTSTR>(strTitle), static_cast<LPCTSTR>(m_strReply));
        if (m_nErrorCode == -1)
            m_nResult = -1;
        return m_nResult;
    }
    if (std::strncmp(m_strReply, m_strMarker, static_cast<size_t>(m_strMarker.GetLength())) != 0) {
        CString strText = PageToPlainText(m_strReply);
        m_strMessage.Format(IDS_WA_DIR_NOT_SERVER, strText);
        if (bTrace)
            g_log.Printf("\n%s returned: %s", static_cast<LPCTSTR>(strTitle), static_cast<LPCTSTR>(strText));
        return m_nResult;
    }
    m_nResult = ParseReplyCode(GetReplyField(m_strReply, REPLY_CODE_FIELD));
    m_strMessage.Format(IDS_WA_DIR_MESSAGE, GetReplyField(m_strReply, REPLY_MESSAGE_FIELD));
    if (bTrace)
        g_log.Printf("\n%s returned: %s", static_cast<LPCTSTR>(strTitle), static_cast<LPCTSTR>(m_strReply));
    return m_nResult;
}

/*** The pages ***/

CWAChangeCatalogRequest::CWAChangeCatalogRequest()
    : CWARequest(WA_PAGE_CHANGE_CATALOG, WA_MARK_CHANGE_CATALOG)
{
}

int CWAChangeCatalogRequest::ChangeCatalogName(
    LPCTSTR pszLogin, LPCTSTR pszPassword, LPCTSTR pszCatalogName, LPCTSTR pszCatalogCode, LPCTSTR pszNewName)
{
    SetUserLogin(pszLogin);
    SetUserPassword(pszPassword);
    SetCatalogLogin(pszCatalogName);
    SetCatalogNumber(pszCatalogCode);
    SetNewCatalogLogin(pszNewName);
    return Execute();
}

CWAInviteRequest::CWAInviteRequest()
    : CWARequest(WA_PAGE_INVITE, WA_MARK_INVITE)
{
}

int CWAInviteRequest::SetInviteFields(LPCTSTR pszLogin, LPCTSTR pszPassword, LPCTSTR pszCatalogName,
    LPCTSTR pszCatalogCode, LPCTSTR pszProfilePassword, LPCTSTR pszFriendName, LPCTSTR pszFriendEmail, LPCTSTR pszText,
    BOOL bSend)
{
    SetUserLogin(pszLogin);
    SetUserPassword(pszPassword);
    SetCatalogLogin(pszCatalogName);
    SetCatalogNumber(pszCatalogCode);
    SetProfilePassword(pszProfilePassword);
    SetFriendName(pszFriendName);
    SetFriendEmail(pszFriendEmail);
    if (pszText && *pszText)
        SetText(pszText);
    SetSend(bSend);
    m_strInvitation.Empty();
    if (Execute() == 0 && !bSend)
        m_strInvitation = GetReplyField(m_strReply, REPLY_VALUE_FIELD);
    return m_nResult;
}

CWAConnectRequest::CWAConnectRequest()
    : CWARequest(WA_PAGE_CONNECT, WA_MARK_CONNECT)
{
}

void CWAConnectRequest::Connect(BOOL bConnect)
{
    m_strField.Empty();
    SetLogin(bConnect);
}

int CWAConnectRequest::RunAndParse(int nConnType)
{
    if (Execute(nConnType) == 0)
        m_strField = GetReplyField(m_strReply, REPLY_VALUE_FIELD);
    return m_nResult;
}

CWAPasswordRequest::CWAPasswordRequest()
    : CWARequest(WA_PAGE_PASSWORD, WA_MARK_PASSWORD)
{
}

CWAPingRequest::CWAPingRequest()
    : CWARequest(WA_PAGE_PING, WA_MARK_PING)
{
}
