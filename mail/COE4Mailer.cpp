#include "mail/COE4Mailer.h"

#include "mail/MailResult.h"
#include "mail/MessageStoreFolder.h"
#include "platform/base/Environment.h"
#include "platform/base/Registry.h"

namespace {

constexpr LPCTSTR OE4_KEY = "Software\\Microsoft\\Outlook Express";

CString LoggedOnUserName()
{
    for (LPCTSTR pszVariable : { "USERNAME", "USER" }) {
        char szName[256];
        DWORD nLength = GetEnvironmentVariable(pszVariable, szName, sizeof szName);
        if (nLength > 0 && nLength < sizeof szName)
            return szName;
    }
    return "Outlook Express";
}

} // namespace

int COE4Mailer::GetStoreKind() const
{
    return MAIL_STORE_OE4;
}

void COE4Mailer::FindUsers(std::vector<CMailerUserEntry>& users)
{
    HKEY hKey = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, OE4_KEY, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return;
    CString strRoot;
    BOOL bHasRoot = ReadMailerRegistryString(hKey, "Store Root", strRoot);
    RegCloseKey(hKey);
    strRoot.TrimRight('\\');
    if (!bHasRoot || strRoot.IsEmpty() || !IsMailerFolder(strRoot))
        return;

    CString strFolder = IsMailerFolder(strRoot + "\\Mail") ? strRoot + "\\Mail" : strRoot;
    auto pUser = std::make_unique<CMailerUser>();
    pUser->strRoot = strRoot;
    pUser->folders = ListMessageStores(strFolder);
    users.push_back({ LoggedOnUserName(), std::move(pUser) });
}
