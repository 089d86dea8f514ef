#include "mail/CMailClient.h"

#include "mail/MailFile.h"
#include "platform/base/FileFunctions.h"
#include "platform/base/WinError.h"
#include "platform/shell/ProgramLaunch.h"

#include <span>
#include <string>

namespace {

constexpr LPCTSTR MAIL_CLIENT_PROGRAMS[] = { "thunderbird", "seamonkey", "icedove" };
constexpr LPCTSTR COMPOSE_FILE_NAME = "archmsg.tmp";

std::string FindMailClient()
{
    for (LPCTSTR pszProgram : MAIL_CLIENT_PROGRAMS) {
        std::string strPath = FindHostProgram(pszProgram);
        if (!strPath.empty())
            return strPath;
    }
    return {};
}

// A header value on one line.
std::string HeaderValue(LPCTSTR pszValue)
{
    std::string strValue = pszValue ? pszValue : "";
    for (char& ch : strValue) {
        if (ch == '\r' || ch == '\n')
            ch = ' ';
    }
    return strValue;
}

} // namespace

BOOL CMailClient::Launch()
{
    std::string strClient = FindMailClient();
    if (strClient.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    return LaunchProgram({ strClient });
}

BOOL CMailClient::Compose(LPCTSTR pszSubject, LPCTSTR pszRecipients, LPCTSTR pszBody)
{
    std::string strClient = FindMailClient();
    if (strClient.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    CString strPath = GetComposeFilePath();
    std::string strFile = HostArgumentOfPath(strPath);
    if (strFile.empty())
        return FALSE;
    std::string strMessage = "To: " + HeaderValue(pszRecipients) + "\r\n" + "Cc: \r\n"
        + "Subject: " + HeaderValue(pszSubject) + "\r\n" + "Content-Type: text/plain; charset=UTF-8\r\n" + "\r\n"
        + (pszBody ? pszBody : "");
    CHostFile file;
    if (!file.Open(strPath, CHostFile::Access::ReadWrite, CHostFile::Creation::CreateAlways)
        || !file.WriteAt(0, std::span(reinterpret_cast<const BYTE*>(strMessage.data()), strMessage.size()))) {
        SetLastError(ERROR_WRITE_FAULT);
        return FALSE;
    }
    file.Close();
    return LaunchProgram({ strClient, "-compose", strFile });
}

CString CMailClient::GetComposeFilePath()
{
    char szFolder[MAX_PATH];
    DWORD nLength = GetTempPath(MAX_PATH, szFolder);
    if (nLength == 0 || nLength >= MAX_PATH)
        return CString();
    return CString(szFolder) + COMPOSE_FILE_NAME;
}
