#include "mail/COE4Mailer.h"

#include "mail/MailResult.h"
#include "mail/Oe4Format.h"
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

// A mail folder is a .mbx file with a valid header and its .idx beside it.
bool IsOe4Store(const CString& strMbx)
{
    CMailFile mbx;
    CMailFile idx;
    return mbx.Open(strMbx) && CheckMbxHeader(mbx) == MAIL_OK && idx.Open(Oe4IndexPath(strMbx).c_str());
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
    for (const CMailerFileName& name : ListMailerFolder(strFolder)) {
        int nLength = name.strName.GetLength();
        if (name.bFolder || nLength <= 4 || name.strName.Right(4).CompareNoCase(".mbx") != 0)
            continue;
        CString strMbx = strFolder + "\\" + name.strName;
        if (!IsOe4Store(strMbx))
            continue;
        CMailFolderEntry entry;
        entry.strName = name.strName.Left(nLength - 4);
        entry.strMailbox = strMbx;
        entry.dwStoreKind = MAIL_STORE_OE4;
        pUser->folders.push_back(std::move(entry));
    }
    users.push_back({ LoggedOnUserName(), std::move(pUser) });
}
