#include "mail/CNetscapeMailer.h"

#include "mail/MailFile.h"
#include "mail/MailResult.h"
#include "platform/base/Registry.h"
#include "platform/shell/MailProfiles.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

// Files beside the mailboxes that are not mailboxes: summaries and settings.
bool IsAuxiliaryFile(const CString& strName)
{
    for (LPCTSTR pszExtension : { ".msf", ".snm", ".dat", ".json", ".sqlite", ".html" }) {
        int nLength = static_cast<int>(std::strlen(pszExtension));
        if (strName.GetLength() > nLength && strName.Right(nLength).CompareNoCase(pszExtension) == 0)
            return true;
    }
    return false;
}

// An mbox file is empty or starts with a "From " separator, perhaps after a
// UTF-8 byte order mark.
bool IsMailboxFile(const CString& strPath, ULONGLONG nSize)
{
    if (nSize == 0)
        return true;
    constexpr std::string_view BYTE_ORDER_MARK = "\xEF\xBB\xBF";
    constexpr std::string_view SEPARATOR = "From ";
    CMailFile file;
    char szStart[BYTE_ORDER_MARK.size() + SEPARATOR.size()] = {};
    if (!file.Open(strPath))
        return false;
    const size_t nRead = static_cast<size_t>(std::min<ULONGLONG>(nSize, sizeof szStart));
    if (!file.ReadExactAt(0, szStart, nRead))
        return false;
    std::string_view start(szStart, nRead);
    if (start.starts_with(BYTE_ORDER_MARK))
        start.remove_prefix(BYTE_ORDER_MARK.size());
    return start.starts_with(SEPARATOR);
}

bool IsSubfolderFolder(const CString& strName)
{
    return strName.GetLength() > 4 && strName.Right(4).CompareNoCase(".sbd") == 0;
}

// The folders of a folder of the mail tree; nDepth counts the folders above it.
CMailFolderArray ReadMailTree(const CString& strFolder, int nDepth)
{
    CMailFolderArray folders;
    if (nDepth >= NETSCAPE_MAX_FOLDER_DEPTH)
        return folders;
    std::vector<CMailerFileName> names = ListMailerFolder(strFolder);
    for (const CMailerFileName& name : names) {
        CString strPath = strFolder + "\\" + name.strName;
        CMailFolderEntry entry;
        entry.strName = name.strName;
        entry.dwStoreKind = MAIL_STORE_NETSCAPE;
        CMailFolderArray children;
        if (name.bFolder) {
            // A "<mailbox>.sbd" folder belongs to its mailbox, found below.
            if (IsSubfolderFolder(name.strName))
                continue;
            children = ReadMailTree(strPath, nDepth + 1);
            if (children.empty())
                continue;
        } else {
            if (IsAuxiliaryFile(name.strName) || !IsMailboxFile(strPath, name.nSize))
                continue;
            entry.strMailbox = strPath;
            CString strSubfolders = name.strName + ".sbd";
            for (const CMailerFileName& other : names) {
                if (other.bFolder && other.strName.CompareNoCase(strSubfolders) == 0)
                    children = ReadMailTree(strFolder + "\\" + other.strName, nDepth + 1);
            }
        }
        if (!children.empty())
            entry.pSubfolders = std::make_unique<CMailFolderArray>(std::move(children));
        folders.push_back(std::move(entry));
    }
    return folders;
}

} // namespace

int CNetscapeMailer::GetStoreKind() const
{
    return MAIL_STORE_NETSCAPE;
}

void CNetscapeMailer::FindUsers(std::vector<CMailerUserEntry>& users)
{
    // The presented profiles only add to what the registry holds; when they
    // cannot be brought up to date, the users already there are still found.
    static_cast<void>(PresentMailClientProfiles());

    HKEY hUsers = nullptr;
    if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, MAIL_NETSCAPE_USERS_KEY, 0, KEY_READ, &hUsers) != ERROR_SUCCESS)
        return;
    for (DWORD dwIndex = 0;; ++dwIndex) {
        char szName[256];
        DWORD cchName = sizeof szName;
        LSTATUS lResult = RegEnumKeyEx(hUsers, dwIndex, szName, &cchName, nullptr, nullptr, nullptr, nullptr);
        if (lResult == ERROR_MORE_DATA)
            continue;
        if (lResult != ERROR_SUCCESS)
            break;
        HKEY hUser = nullptr;
        if (RegOpenKeyEx(hUsers, szName, 0, KEY_READ, &hUser) != ERROR_SUCCESS)
            continue;
        CString strRoot;
        BOOL bHasRoot = ReadMailerRegistryString(hUser, MAIL_NETSCAPE_DIR_ROOT, strRoot);
        // A profile of an installed client names that client.
        CString strSource;
        const CString strClient = ReadMailerRegistryString(hUser, MAIL_PRESENTED_VALUE, strSource)
            ? CString(MailClientNameOfProfiles(std::string_view(strSource)).c_str())
            : CString();
        RegCloseKey(hUser);
        strRoot.TrimRight('\\');
        if (!bHasRoot || strRoot.IsEmpty() || !IsMailerFolder(strRoot))
            continue;
        auto pUser = std::make_unique<CMailerUser>();
        pUser->strRoot = strRoot;
        pUser->strClient = strClient;
        pUser->folders = ReadMailTree(strRoot + "\\Mail", 1);
        for (CMailFolderEntry& server : ReadMailTree(strRoot + "\\ImapMail", 1))
            pUser->folders.push_back(std::move(server));
        users.push_back({ szName, std::move(pUser) });
    }
    RegCloseKey(hUsers);
}
