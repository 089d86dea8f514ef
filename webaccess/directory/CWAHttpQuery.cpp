#include "webaccess/directory/CWAHttpQuery.h"

#include "platform/framework/CWaitCursor.h"
#include "platform/net/ConnectedState.h"
#include "platform/net/InternetSession.h"
#include "resources/ResourceIds.h"
#include "store/CLogFile.h"
#include "webaccess/directory/LocalAddress.h"
#include "webaccess/profiles/CWASettings.h"

#include <memory>
#include <string>

namespace {

constexpr UINT READ_PIECE = 255;
constexpr UINT MAX_ERROR_TEXT = 1024;

bool IsAsciiAlnum(unsigned char ch)
{
    return (ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z');
}

bool IsPasswordField(std::string_view name)
{
    return name == "Upas" || name == "Nupas" || name == "Pwd";
}

} // namespace

CString UrlEncode(LPCTSTR pszText)
{
    static constexpr char HEX[] = "0123456789abcdef";
    std::string strOut;
    for (const char* p = pszText ? pszText : ""; *p; ++p) {
        auto ch = static_cast<unsigned char>(*p);
        if (IsAsciiAlnum(ch)) {
            strOut += static_cast<char>(ch);
        } else {
            strOut += '%';
            strOut += HEX[ch >> 4];
            strOut += HEX[ch & 0x0F];
        }
    }
    return CString(strOut.c_str());
}

void CWAHttpQuery::AddParam(LPCTSTR pszName, LPCTSTR pszValue)
{
    m_strQuery += m_strQuery.IsEmpty() ? "?" : "&";
    m_strQuery += pszName;
    m_strQuery += "=";
    m_strQuery += UrlEncode(pszValue);
}

int CWAHttpQuery::EffectiveConnType(int nConnType)
{
    if (nConnType != WA_CONN_DEFAULT)
        return nConnType;
    const CWASettings* pSettings = GetCurrentWebSettings();
    return pSettings ? pSettings->m_nConnType : WA_CONN_MODEM;
}

CString CWAHttpQuery::GetLocalIpAddress(int nConnType)
{
    m_strLocalIp = EffectiveConnType(nConnType) == WA_CONN_MODEM ? GetIpConfigByIpHelper() : CString();
    return m_strLocalIp;
}

CString CWAHttpQuery::GetTraceQuery() const
{
    std::string_view query(static_cast<LPCTSTR>(m_strQuery), static_cast<size_t>(m_strQuery.GetLength()));
    std::string strOut;
    size_t nPos = 0;
    while (nPos < query.size()) {
        size_t nEnd = query.find('&', nPos + 1);
        std::string_view field = query.substr(nPos, nEnd == std::string_view::npos ? nEnd : nEnd - nPos);
        size_t nEquals = field.find('=');
        std::string_view name = field.substr(1, nEquals == std::string_view::npos ? nEquals : nEquals - 1);
        if (nEquals != std::string_view::npos && IsPasswordField(name)) {
            strOut.append(field.substr(0, nEquals + 1));
            strOut += "*****";
        } else {
            strOut.append(field);
        }
        nPos = nEnd == std::string_view::npos ? query.size() : nEnd;
    }
    return CString(strOut.c_str());
}

BOOL CWAHttpQuery::HttpGetUrl(LPCTSTR pszUrl, int nConnType)
{
    CWaitCursor wait;
    nConnType = EffectiveConnType(nConnType);
    DWORD dwFlags = 0;
    BOOL bConnected = InternetGetConnectedState(&dwFlags, 0);
    if (g_log.IsTracing(LOG_WEB_ACCESS))
        g_log.Printf("\nInternet connected state (0x%x): %d", static_cast<unsigned>(dwFlags), bConnected);
    if (!bConnected && !(dwFlags & INTERNET_CONNECTION_MODEM)) {
        m_nError = 1;
        m_nErrorCode = 0;
        m_strReply.LoadString(IDS_WA_DIR_OFFLINE);
        return FALSE;
    }
    bool bLinkMissing
        = nConnType == WA_CONN_MODEM ? !(dwFlags & INTERNET_CONNECTION_MODEM) : !(dwFlags & INTERNET_CONNECTION_LAN);
    if (bLinkMissing && m_strLocalIp.IsEmpty()) {
        m_nError = 1;
        m_nErrorCode = -1;
        m_strReply.LoadString(IDS_WA_DIR_NO_LINK);
        return FALSE;
    }
    try {
        CInternetSession session(nullptr, 1, PRE_CONFIG_INTERNET_ACCESS);
        CString strUrl = CString(pszUrl) + m_strQuery;
        std::unique_ptr<CInternetFile> pFile;
        try {
            pFile.reset(session.OpenURL(strUrl, 1, INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_TRANSFER_ASCII));
        } catch (CInternetException*) {
            if (g_log.IsTracing(LOG_WEB_ACCESS))
                g_log.Printf("\nExecuted (%s): %d", static_cast<LPCTSTR>(GetTraceQuery()), 0);
            throw;
        }
        if (g_log.IsTracing(LOG_WEB_ACCESS))
            g_log.Printf("\nExecuted (%s): %d", static_cast<LPCTSTR>(GetTraceQuery()), 1);
        char piece[READ_PIECE + 1];
        while (UINT nRead = pFile->Read(piece, READ_PIECE)) {
            piece[nRead] = '\0';
            m_strReply += piece; // a NUL ends its piece
        }
        pFile->Close();
        session.Close();
    } catch (CInternetException* pException) {
        m_nError = 1;
        m_nErrorCode = static_cast<LONG>(pException->m_dwError);
        char szMessage[MAX_ERROR_TEXT + 1] = "";
        pException->GetErrorMessage(szMessage, sizeof szMessage);
        m_strReply = szMessage;
        pException->Delete();
    }
    return m_nError == 0;
}
