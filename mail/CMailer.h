#pragma once

#include "platform/base/CString.h"

#include <memory>
#include <vector>

struct CMailFolderEntry;
using CMailFolderArray = std::vector<CMailFolderEntry>;

// One mail folder of a user, as the folder popups and the set-up wizard's
// folder tree show it. A folder that only groups others (an account of a
// Mozilla-family profile) has no mailbox file. Entries never move once a scan
// has built them, so callers may keep pointers to them until the stores are
// cleared.
struct CMailFolderEntry {
    CString strName;                               // Display name
    CString strMailbox;                            // Program path of the mailbox file, empty for a group
    DWORD dwStoreKind { 0 };                       // MAIL_STORE_NETSCAPE, MAIL_STORE_OE4 or MAIL_STORE_OE5
    std::unique_ptr<CMailFolderArray> pSubfolders; // Null when the folder has none
};

// One user (profile or identity) of a mail client, with the user's folders.
struct CMailerUser {
    CString strRoot;   // The folder the user's stores were found in
    CString strClient; // The client that wrote them when it is not the finder's (GetName), else empty
    CMailFolderArray folders;
};

// An entry of a finder's user array.
struct CMailerUserEntry {
    CString strName;
    std::unique_ptr<CMailerUser> pUser;
};

// Finds the users and mail folders of one mail client from that client's
// registry keys. A finder scans once, on first use, and keeps what it found
// until ClearStores; the results are ordered by name, so that every scan of
// the same stores gives the same arrays.
class CMailer {
public:
    CMailer() = default;
    virtual ~CMailer();
    CMailer(const CMailer&) = delete;
    CMailer& operator=(const CMailer&) = delete;

    // Looks for the client's users and their folders, replacing what an earlier
    // scan found; sets the scanned and found flags. TRUE when users were found.
    virtual BOOL Scan();
    // The client's name as the user sees it.
    virtual CString GetName() const = 0;
    // The store kind this client writes. A folder entry carries the kind its
    // content shows, which differs from this one only for a renamed store file.
    virtual int GetStoreKind() const = 0;

    BOOL IsScanned() const { return m_bScanned; }
    BOOL HasFound() const { return m_bFound; }
    // Scans unless this finder has scanned already; whether users were found.
    BOOL ScanOnce();
    const std::vector<CMailerUserEntry>& GetUsers() const { return m_users; }

    // The user name of the profile that owns a store file, "" when unknown. The
    // path may carry the leading '*' of a catalogued mail folder; case is ignored.
    CString GetStoreUserName(LPCTSTR pszStorePath);
    // A mailbox file's name as the folder popups show it: the user's name and the
    // names of the folders down to it, joined by backslashes ("ana\Inbox\Work");
    // "" when this client has no such mailbox.
    CString GetMailboxDisplayPath(LPCTSTR pszStorePath);
    // The name of the client a user's stores come from: the user's own client
    // (a Thunderbird profile found by the Netscape finder), else GetName.
    CString GetClientName(const CMailerUserEntry& user) const;
    // The same for the user owning a store file; GetName when no user owns it.
    CString GetStoreClientName(LPCTSTR pszStorePath);
    // Forgets the found stores; the next use scans again.
    void ClearStores();

protected:
    // Appends the client's users with their folders, in any order.
    virtual void FindUsers(std::vector<CMailerUserEntry>& users) = 0;

private:
    // The user owning a mailbox, with the folder names down to it into
    // strFolderPath; null when no user has it.
    const CMailerUserEntry* FindOwner(LPCTSTR pszStorePath, CString& strFolderPath);

    std::vector<CMailerUserEntry> m_users;
    BOOL m_bScanned { FALSE };
    BOOL m_bFound { FALSE };
};

// Sorts a folder array and every array below it by display name, ignoring case.
void SortMailFolders(CMailFolderArray& folders);

// Reads a string value (REG_SZ, or REG_EXPAND_SZ with its variables expanded)
// of a key; FALSE when it is missing or of another type.
BOOL ReadMailerRegistryString(HKEY hKey, LPCTSTR pszValue, CString& strValue);

// One name in a folder a finder looks through.
struct CMailerFileName {
    CString strName;
    BOOL bFolder { FALSE };
    ULONGLONG nSize { 0 };
};

// A finder looks at no more names than this in one folder.
constexpr size_t MAILER_MAX_FOLDER_NAMES = 4096;

// The names in a folder (program path), "." and ".." left out, in the order
// FindFirstFile lists them; empty when the folder cannot be listed.
std::vector<CMailerFileName> ListMailerFolder(const CString& strFolder);

// Whether a program path names an existing folder.
BOOL IsMailerFolder(const CString& strPath);
