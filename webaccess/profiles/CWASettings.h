#pragma once

// The web access settings block of the preferences: the link with the
// directory server, the timer intervals, a notice flag and the list of access
// profiles. Every part of the web access service reads its values from the
// one block that the preferences object carries.

#include "platform/base/CString.h"
#include "platform/base/Registry.h"
#include "store/CPreferenceBlock.h"
#include "webaccess/profiles/CWAProfiles.h"

#include <memory>
#include <vector>

class CCatalog;

class CWASettings : public CPreferenceBlock {
public:
    static constexpr int DEFAULT_SESSION_TIME = 30 * 60 * 1000; // ms
    static constexpr int DEFAULT_REQUEST_DEADLINE = 30 * 1000;  // ms
    static constexpr int DEFAULT_UPLOAD_LIMIT = 100;            // MiB

    CWASettings();

    // Site = resource string 4536, no DirServer, connection kind 1, port 0,
    // intervals 1000 and 180000 ms, sessions idle 30 minutes at most, 30 s
    // for a socket request, uploads of 100 MiB at most, notice flag 1, no
    // profiles. The account,
    // the catalog name and code and CommFolder stay as they are.
    void SetDefaults() override;

    /* The registry form: the subkey "WA" of the preferences key. */

    // Reads every value, a missing one taking its default, then puts the
    // program folder in DirServer unless the connection kind is 2 and works
    // out CommFolder. Without the subkey: SetDefaults and nothing else.
    void Load(HKEY hPreferences) override;
    // Writes every value, creating the subkey when needed. FALSE when the
    // subkey cannot be opened or created (nothing is written then) or a
    // value could not be written.
    BOOL Save(HKEY hPreferences) const override;
    // The profiles' groups follow a rebuilt catalog (RebuildProfileGroups).
    void RemapCatalogReferences(CCatalog& oldCatalog, CCatalog& newCatalog) override
    {
        RebuildProfileGroups(oldCatalog, newCatalog);
    }

    /* The web access preference sheet. */

    // The account ("Login", "Pass", "CatName", "CatCode") and the connection
    // ("ConnType", "DirServer").
    void CopyToSheet(CPreferencesWebSheetData& sheet) const override;
    // Takes the same values back and works out CommFolder again.
    void CopyFromSheet(const CPreferencesWebSheetData& sheet) override;

    /* The "Profiles" value: a DWORD count, then each profile's record
       (CWAProfiles::Serialize), as REG_BINARY. */

    // Writes the profile list into the value; FALSE when the write failed.
    BOOL WriteProfiles(HKEY hKey, LPCTSTR pszValueName) const;
    // Replaces the profile list by the stored one. A missing, empty or
    // one-byte value leaves the list as it is. A damaged value (its records
    // end early) also leaves it as it is, and gives FALSE like a failed
    // registry call.
    BOOL ReadProfiles(HKEY hKey, LPCTSTR pszValueName);

    // A new copy of the last enabled profile whose password is pszPassword
    // (case-sensitive), owned by the caller; null when none matches. Groups
    // that vanished from the catalog are first dropped from the stored
    // profile, and then the settings are saved when they are the block that
    // thePreferences carries (CPreferences::SaveWebSettings).
    std::unique_ptr<CWAProfiles> FindWAProfile(LPCTSTR pszPassword, CCatalog& catalog);

    // Drops the grants of a deleted group from every profile
    // (CWAProfiles::ForgetGroup); TRUE when any profile held one. The caller
    // saves the settings.
    BOOL ForgetGroup(const WA_GROUP_KEY& key);

    // Moves every profile's groups to the compacted catalog, last profile
    // first (CWAProfiles::RebuildGroupRights); the caller saves the settings.
    void RebuildProfileGroups(CCatalog& oldCatalog, CCatalog& newCatalog);

    CString m_strSite;
    int m_nConnType { 1 }; // 2: the communication folder lies in DirServer; else in the program folder
    int m_nSocketPort { 0 };
    CString m_strDirServer;
    CString m_strCommFolder; // Not stored: worked out on load
    CString m_strLogin;
    CString m_strPassword;
    CString m_strCatName;
    CString m_strCatCode;
    int m_nReqTime { 1000 };                              // ms
    int m_nPingTime { 180000 };                           // ms
    int m_nSessionTime { DEFAULT_SESSION_TIME };          // ms a web session may stay idle ("SessionTime")
    int m_nRequestDeadline { DEFAULT_REQUEST_DEADLINE };  // ms a socket peer has for its request ("RequestDeadline")
    int m_nUploadLimit { DEFAULT_UPLOAD_LIMIT };          // MiB an upload may hold ("UploadLimitMB")
    std::vector<std::unique_ptr<CWAProfiles>> m_profiles; // In list order
    int m_nWarnConn { 1 };

private:
    // Works out the communication folder from the connection type, the
    // server folder and the catalog code, as loading does.
    void UpdateCommFolder();
};

// The web access settings that thePreferences carries; null when it carries none.
CWASettings* GetCurrentWebSettings();

// The communication folder: pszBase, one trailing '\' ensured, then pszName
// with '.' before its last three characters, then '\'. Empty when pszBase is
// empty or pszName is shorter than four characters.
CString BuildCommFolderPath(LPCTSTR pszBase, LPCTSTR pszName);
