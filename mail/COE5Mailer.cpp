#include "mail/COE5Mailer.h"

#include "mail/MailResult.h"
#include "mail/MessageStoreFolder.h"
#include "platform/base/Registry.h"

namespace {

constexpr LPCTSTR IDENTITIES_KEY = "Identities";
constexpr LPCTSTR OE5_KEY = "Software\\Microsoft\\Outlook Express\\5.0";

// One identity's name and store folder; FALSE when it has no store.
BOOL ReadIdentity(HKEY hIdentities, LPCTSTR pszKey, CString& strName, CString& strRoot)
{
    HKEY hIdentity = nullptr;
    if (RegOpenKeyEx(hIdentities, pszKey, 0, KEY_READ, &hIdentity) != ERROR_SUCCESS)
        return FALSE;
    if (!ReadMailerRegistryString(hIdentity, "Username", strName) || strName.IsEmpty())
        strName = pszKey;
    HKEY hStore = nullptr;
    BOOL bHasRoot = FALSE;
    if (RegOpenKeyEx(hIdentity, OE5_KEY, 0, KEY_READ, &hStore) == ERROR_SUCCESS) {
        bHasRoot = ReadMailerRegistryString(hStore, "Store Root", strRoot);
        RegCloseKey(hStore);
    }
    RegCloseKey(hIdentity);
    strRoot.TrimRight('\\');
    if (!bHasRoot || strRoot.IsEmpty())
        return FALSE;
    return IsMailerFolder(strRoot);
}

} // namespace

int COE5Mailer::GetStoreKind() const
{
    return MAIL_STORE_OE5;
}

void COE5Mailer::FindUsers(std::vector<CMailerUserEntry>& users)
{
    HKEY hIdentities = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, IDENTITIES_KEY, 0, KEY_READ, &hIdentities) != ERROR_SUCCESS)
        return;
    for (DWORD dwIndex = 0;; ++dwIndex) {
        char szKey[256];
        DWORD cchKey = sizeof szKey;
        LSTATUS lResult = RegEnumKeyEx(hIdentities, dwIndex, szKey, &cchKey, nullptr, nullptr, nullptr, nullptr);
        if (lResult == ERROR_MORE_DATA)
            continue;
        if (lResult != ERROR_SUCCESS)
            break;
        CString strName;
        CString strRoot;
        if (!ReadIdentity(hIdentities, szKey, strName, strRoot))
            continue;
        auto pUser = std::make_unique<CMailerUser>();
        pUser->strRoot = strRoot;
        pUser->folders = ListMessageStores(strRoot);
        users.push_back({ strName, std::move(pUser) });
    }
    RegCloseKey(hIdentities);
}
