#include "webaccess/server/CWASession.h"

#include "webaccess/profiles/CWASettings.h"
#include "webaccess/server/CWACatalogLists.h"
#include "webaccess/server/WebCommands.h"

#include "platform/base/SystemRandom.h"
#include "platform/base/Threads.h"

#include <algorithm>
#include <array>

namespace {

CString MakeSessionKey()
{
    std::array<BYTE, 16> bytes {};
    if (!RtlGenRandom(bytes.data(), static_cast<ULONG>(bytes.size())))
        return {};
    static constexpr char HEX_DIGITS[] = "0123456789ABCDEF";
    CString strKey;
    for (BYTE b : bytes) {
        strKey += HEX_DIGITS[b >> 4];
        strKey += HEX_DIGITS[b & 0xF];
    }
    return strKey;
}

} // namespace

CWASession::CWASession(const CWACmdLogin& login, CWASettings& settings, CCatalog& catalog)
    : m_strUserId(login.GetUserId())
    , m_strKey(MakeSessionKey())
    , m_dwLastUsed(GetTickCount())
    , m_strUserName(login.GetUserName())
    , m_bNetscape(login.GetBrowser().Find("NETSCAPE") >= 0 ? TRUE : FALSE)
    , m_pProfile(settings.FindWAProfile(login.GetPassword(), catalog))
    , m_pPlace(std::make_unique<CWASessionPlace>())
{
    if (m_pProfile != nullptr)
        m_pCatalogLists = std::make_unique<CWACatalogLists>(catalog, m_pProfile->GetGroupRights());
}

CWASession::~CWASession() = default;

void CWASession::ForgetGroup(const WA_GROUP_KEY& key)
{
    if (m_pProfile != nullptr && m_pProfile->ForgetGroup(key))
        m_pCatalogLists->Rebuild();
}

BOOL CWASession::RunCommand(std::unique_ptr<CWACommand>& pCommand, CWAOutputFile& reply)
{
    const int nId = pCommand->GetId();
    // A path reaches the whole file system: only the explorer right allows it.
    if (m_pProfile == nullptr || !m_pProfile->IsCommandAllowed(nId) || nId == WA_CMD_LOGIN || nId == WA_CMD_LOGOUT
        || nId == WA_CMD_UPL || (pCommand->NeedsExplorerRight() && !m_pProfile->IsCommandAllowed(WA_CMD_ETREE))) {
        m_nStatus = WA_STATUS_MALFORMED;
        return FALSE;
    }
    if (nId == WA_CMD_PAGE) {
        // Without a kept search there is nothing to page through; the request
        // is refused like a command that may not run.
        if (m_pKeptCommand == nullptr) {
            m_nStatus = WA_STATUS_MALFORMED;
            return FALSE;
        }
        // Pages count from 1; the kept search keeps the upper end in range.
        const int nPage = std::max(static_cast<const CWACmdPage&>(*pCommand).GetPageNumber(), 1);
        // The kept search answers for itself, even with an error page.
        static_cast<void>(m_pKeptCommand->Execute(reply, *this, nPage));
        return TRUE;
    }
    if (!pCommand->Prepare(*this) || !pCommand->Execute(reply, *this, 1)) {
        m_nStatus = pCommand->GetStatus();
        return FALSE;
    }
    pCommand->SetContext(*m_pPlace);
    if (nId == WA_CMD_WFIND)
        m_pKeptCommand = std::move(pCommand);
    return TRUE;
}

void SplitUserLine(const CString& strLine, CString& strUserId, CString& strKey)
{
    const int nBar = strLine.Find('|');
    strUserId = nBar < 0 ? strLine : strLine.Left(nBar);
    strKey = nBar < 0 ? CString() : strLine.Mid(nBar + 1);
}
