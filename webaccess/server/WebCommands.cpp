#include "webaccess/server/WebCommands.h"

#include "webaccess/pages/WebText.h"
#include "webaccess/server/TokenFields.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <string>

namespace {

CString FieldText(std::string_view field)
{
    return CString(field.data(), static_cast<int>(field.size()));
}

} // namespace

/******************************* LOGIN *******************************/

BOOL CWACmdLogin::Prepare(CWASession&)
{
    m_pInner = CreateWebCommand(FormatWdirToken(0, 0));
    return m_pInner != nullptr ? TRUE : FALSE;
}

BOOL CWACmdLogin::Execute(CWAOutputFile& reply, CWASession& session, int nArgument)
{
    if (m_pInner == nullptr) {
        m_nStatus = WA_STATUS_MALFORMED;
        return FALSE;
    }
    if (m_pInner->Execute(reply, session, nArgument))
        return TRUE;
    m_nStatus = m_pInner->GetStatus();
    return FALSE;
}

void CWACmdLogin::SetContext(CWASessionPlace& place)
{
    if (m_pInner != nullptr)
        m_pInner->SetContext(place);
}

CString CWACmdLogin::GetLogText() const
{
    return "LOGIN " + m_strUserName + " [" + m_strUserId + "] " + m_strBrowser;
}

void CWACmdLogin::ParseArgs(LPCTSTR pszText)
{
    CTokenFieldReader reader(pszText, *this);
    std::string_view userId, userName, password, browser;
    if (!reader.ReadField(userId) || !reader.ReadField(userName) || !reader.ReadField(password)
        || !reader.ReadField(browser))
        return;
    if (userId.empty() || userName.empty() || browser.empty() || password.size() > MAX_PASSWORD) {
        reader.Fail();
        return;
    }
    m_strUserId = FieldText(userId);
    m_strUserName = FieldText(userName);
    m_strPassword = FieldText(password);
    m_strBrowser = FieldText(browser);
    reader.Finish();
}

CString MaskLoginToken(const CString& strToken)
{
    const std::string_view token(static_cast<LPCTSTR>(strToken), static_cast<size_t>(strToken.GetLength()));
    if (token.substr(0, 2) != "<#")
        return strToken;
    size_t nAt = token.find_first_not_of(" \t", 2);
    if (nAt == std::string_view::npos || token.size() - nAt < 5)
        return strToken;
    for (size_t i = 0; i < 5; ++i) {
        if (std::toupper(static_cast<unsigned char>(token[nAt + i])) != "LOGIN"[i])
            return strToken;
    }
    // The user ID is the text between the first two bars.
    const size_t nOpen = token.find('|', nAt);
    const size_t nClose = nOpen == std::string_view::npos ? nOpen : token.find('|', nOpen + 1);
    const size_t nKept = nClose == std::string_view::npos ? nAt + 5 : nClose + 1;
    return CString(token.data(), static_cast<int>(nKept)) + " ********";
}

/******************************* LOGOUT *******************************/

CString CWACmdLogout::GetLogText() const
{
    return "LOGOUT " + m_strUserName + " [" + m_strUserId + "]";
}

void CWACmdLogout::ParseArgs(LPCTSTR pszText)
{
    CTokenFieldReader reader(pszText, *this);
    std::string_view userId, userName;
    if (!reader.ReadField(userId) || !reader.ReadField(userName))
        return;
    if (userId.empty() || userName.empty()) {
        reader.Fail();
        return;
    }
    m_strUserId = FieldText(userId);
    m_strUserName = FieldText(userName);
    reader.Finish();
}

/******************************** PAGE ********************************/

CString CWACmdPage::GetLogText() const
{
    CString strText;
    strText.Format("Get PAGE %d", m_nPage);
    return strText;
}

void CWACmdPage::ParseArgs(LPCTSTR pszText)
{
    CTokenFieldReader reader(pszText, *this);
    std::string_view page;
    if (!reader.ReadField(page))
        return;
    // As atoi reads it, with a number beyond the int range held at its end.
    const long nPage = std::strtol(std::string(page).c_str(), nullptr, 10);
    m_nPage = static_cast<int>(std::clamp<long>(nPage, INT_MIN, INT_MAX));
    reader.Finish();
}
