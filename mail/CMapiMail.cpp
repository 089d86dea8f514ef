#include "mail/CMapiMail.h"

#include "mail/MailFile.h"
#include "platform/base/ProfileFile.h"
#include "platform/shell/DesktopApps.h"
#include "platform/shell/ProgramLaunch.h"

namespace {

constexpr LPCTSTR MAIL_HAND_OFF_PROGRAM = "xdg-email";
// The hand-off gives the message to the desktop's program for this type.
constexpr char MAIL_PROGRAM_TYPE[] = "x-scheme-handler/mailto";

} // namespace

BOOL IsMapiAvailable()
{
    static const BOOL bAvailable
        = GetProfileInt("MAIL", "MAPI", 1) != 0 && !FindHostProgram(MAIL_HAND_OFF_PROGRAM).empty() ? TRUE : FALSE;
    return bAvailable;
}

CMapiMail::CMapiMail(LPCTSTR /*pszLibrary*/) { }

void CMapiMail::AddText(LPCTSTR pszText)
{
    if (pszText)
        m_strText += pszText;
}

BOOL CMapiMail::AddAttachment(LPCTSTR pszPath, LPCTSTR /*pszFileName*/)
{
    if (!pszPath)
        return FALSE;
    CMailFile file;
    if (!file.Open(pszPath))
        return FALSE;
    m_attachments.push_back(HostArgumentOfPath(file.GetPath()));
    return TRUE;
}

ULONG CMapiMail::Send(LPCTSTR pszSubject, ULONG /*flFlags*/)
{
    std::string strProgram = FindHostProgram(MAIL_HAND_OFF_PROGRAM);
    // Without a mail program the hand-off would start and then fail where nobody hears it.
    if (strProgram.empty() || !DefaultAppForType(MAIL_PROGRAM_TYPE))
        return MAPI_E_FAILURE;
    std::vector<std::string> args { strProgram, "--utf8" };
    if (pszSubject && *pszSubject)
        args.insert(args.end(), { "--subject", pszSubject });
    if (!m_strText.IsEmpty())
        args.insert(args.end(), { "--body", static_cast<LPCTSTR>(m_strText) });
    for (const std::string& strAttachment : m_attachments)
        args.insert(args.end(), { "--attach", strAttachment });
    return LaunchProgram(args) ? SUCCESS_SUCCESS : MAPI_E_FAILURE;
}
