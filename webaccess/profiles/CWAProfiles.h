#pragma once

// One access profile of the web access service: the name shown to the owner,
// the password a remote user logs in with, the folder for that user's uploads,
// two transfer permissions, an enabled flag and the catalog groups the user
// may see. Sessions own copies (FindWAProfile), so editing the profile list
// never changes the profile of a logged-in user.

#include "platform/base/CMap.h"
#include "platform/base/CObject.h"
#include "platform/base/CString.h"

class CCatalog;

// A node of the catalog's node table, (block, slot); (-1,-1) means all groups.
struct WA_GROUP_KEY {
    DWORD nBlock;
    DWORD nSlot;
    bool operator==(const WA_GROUP_KEY&) const = default;
};

constexpr WA_GROUP_KEY WA_ALL_GROUPS { 0xFFFFFFFF, 0xFFFFFFFF };

// The bucket of a key: ((slot << 16) | (block & 0xFFFF)), modulo the 17 buckets.
inline UINT HashKey(const WA_GROUP_KEY& key)
{
    return (key.nSlot << 16) | (key.nBlock & 0xFFFF);
}

// Group values as the profile wizard stores them.
constexpr WORD WA_GROUP_WHOLE = 0; // The group with everything below it
constexpr WORD WA_GROUP_PART = 1;  // Only the groups below it that have entries of their own

// Which catalog groups a profile sees. Only a map holding exactly
// {(-1,-1)} grants the file explorer commands.
class CWAGroupRightsMap : public CMap<WA_GROUP_KEY, const WA_GROUP_KEY&, WORD, WORD> {
public:
    CWAGroupRightsMap()
        : CMap(10)
    {
    }
    BOOL IsAllGroups() const;
    // Empties this map and fills it entry by entry from other.
    void CopyFrom(const CWAGroupRightsMap& other);
};

class CWAProfiles : public CObject {
    DECLARE_DYNCREATE(CWAProfiles)

public:
    CWAProfiles() = default;
    ~CWAProfiles() override = default;

    /* Identity and permissions. */

    CString GetName() const { return m_strName; }
    CString GetPassword() const { return m_strPassword; }
    CString GetUploadFolder() const { return m_strUploadFolder; }
    BOOL IsEnabled() const { return m_nEnabled == 1; }
    // The enabled flag as stored; only 1 lets the profile log in.
    DWORD GetEnabled() const { return m_nEnabled; }
    BOOL MayDownload() const { return m_nMayDownload != 0; }
    BOOL MayUpload() const { return m_nMayUpload != 0; }
    // Whether the profile bears the default profile's name (as InitDefault gives it).
    BOOL IsDefault() const;
    const CWAGroupRightsMap& GetGroupRights() const { return m_groupRights; }

    // Whether the command of the given id (1 to 13, as in the command word
    // table of the server) may run under this profile; 0 never may.
    BOOL IsCommandAllowed(int nCommandId) const;

    /* Changing the profile. */

    // The default profile: resource string 4533 as name, the given password
    // and upload folder, every permission, and all groups.
    void InitDefault(LPCTSTR pszPassword, LPCTSTR pszUploadFolder);
    void Copy(const CWAProfiles& other);
    void SetGroupRights(const CWAGroupRightsMap& groupRights);
    // Line breaks in the texts become blanks: the stored record ends each text
    // with a line feed.
    void SetIdentity(LPCTSTR pszName, LPCTSTR pszPassword, LPCTSTR pszUploadFolder);
    void SetPermissions(BOOL bMayDownload, BOOL bMayUpload, DWORD nEnabled);

    // Stores or loads the profile's record of the "Profiles" value: three
    // texts each ended by a line feed, the three flags as DWORDs, the count of
    // group entries (a WORD, or 0xFFFF and a DWORD) and per entry block,
    // slot (DWORDs) and value (WORD). Loading a damaged record throws
    // CArchiveException.
    void Serialize(CArchive& ar) override;

    /* Upkeep against the catalog. */

    // Drops the entries whose group no longer exists in the catalog (and
    // (-1,-1) when real groups stand beside it); TRUE when any was dropped.
    // A map of exactly {(-1,-1)} is left alone. The catalog is acquired for
    // the walk.
    BOOL RemoveMissingGroups(CCatalog& catalog);
    // Drops the grant of a group that was deleted: its reference may name an
    // unrelated group later. TRUE when the profile held it.
    BOOL ForgetGroup(const WA_GROUP_KEY& key);
    // Moves the group entries from oldCatalog's references to newCatalog's
    // while the catalog is compacted: a group is found again by the names of
    // its ancestors and its own name; the top node of block 3 stays the top
    // node of block 3. Entries whose group is not found are dropped. A map of
    // exactly {(-1,-1)} is left alone. Both catalogs must be open.
    void RebuildGroupRights(CCatalog& oldCatalog, CCatalog& newCatalog);

private:
    CString m_strName;
    CString m_strPassword;
    CString m_strUploadFolder;
    DWORD m_nMayDownload { 0 };
    DWORD m_nMayUpload { 0 };
    DWORD m_nEnabled { 0 }; // Only exactly 1 lets the profile log in
    CWAGroupRightsMap m_groupRights;
};
