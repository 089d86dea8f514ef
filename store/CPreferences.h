#pragma once

// The program's preferences: every value the preference pages show and the
// rest of the program reads, kept in the registry key
// "SOFTWARE\KD\Archivora Plus\Default\Preferences" of HKEY_CURRENT_USER, with
// the web access settings in its subkey "WA". One object, thePreferences,
// lives as long as the process.
//
// Load reads every value, a missing, mistyped, damaged or out-of-range one
// taking its default; the Save operations each write one group of values.
// The object is used from the program's main thread only.

#include "platform/base/CString.h"
#include "platform/base/CollectionArrays.h"
#include "platform/base/Registry.h"
#include "platform/base/WinTypes.h"
#include "store/CNodeRec.h"
#include "store/CPreferenceBlock.h"

#include <memory>

class CCatalog;
class CRegistryKey;

class CPreferences {
public:
    // The preferences key below HKEY_CURRENT_USER.
    static constexpr char KEY_PATH[] = "SOFTWARE\\KD\\Archivora Plus\\Default\\Preferences";
    // The name of the program's clipboard format.
    static constexpr char CLIPBOARD_FORMAT_NAME[] = "Archivora CBFormat";

    /* "LastCatalogOption": which documents count as new. */
    static constexpr int NEW_SINCE_UPDATE = 0x1; // Catalogued after the last update
    static constexpr int NEW_WITHIN_DAYS = 0x2;  // Catalogued fewer than NumDayRecentlyCatalog days ago

    /* "MostRecentsOption" bits. */
    static constexpr DWORD RECENT_ADD_CATALOGUED = 0x1; // Catalogued documents join the recently-catalogued list

    CPreferences();
    ~CPreferences();
    CPreferences(const CPreferences&) = delete;
    CPreferences& operator=(const CPreferences&) = delete;

    // Gives every preference its default, the web block included.
    void SetDefaults();

    /* The registry form. */

    // Reads every value from the preferences key and the web block from its
    // subkey; without the key, every value takes its default. The cached
    // default system is dropped: only its path of names is read.
    void Load();
    // Writes the general values. FALSE only when the key can be neither
    // opened nor created; single writes are not checked.
    BOOL SaveGeneral() const;
    // Writes the new-document monitor values and the default system's path of
    // names (of the cached node when there is one), deleting surplus indexed
    // values. FALSE when the key cannot be opened or created or a write failed.
    BOOL SaveDSSettings() const;
    // Writes the web access block into the subkey "WA". FALSE on failure.
    BOOL SaveWebSettings() const;
    // Writes "Documents"; FALSE on failure.
    BOOL SaveDocuments() const;
    // Writes "DSDir"; FALSE on failure.
    BOOL SaveDSDir() const;
    // Sets "OrphanWarning" and writes it; FALSE when the write failed.
    BOOL SaveOrphanWarning(BOOL bWarn);

    /* The default system of the new-document monitor. */

    // The node named by the stored path of names in pCatalog, cached; the
    // systems root (the fixed node of kind 3) when the path is empty or no
    // longer leads to a node. Null only when not even that can be read.
    CNodeRec* GetDefaultSystem(CCatalog* pCatalog);
    // Drops the cached node (before its catalog closes); the path stays.
    void ReleaseDefaultSystem();
    // Replaces the default system by a copy of pNode (null: none) and its path.
    void SetDefaultSystem(const CNodeRec* pNode);

    /* General values (their defaults are set in SetDefaults). */
    int m_nNumDayFileNew; // Days a document counts as new, 0-99
    int m_nLastCatalogOption;
    int m_nNumDayRecentlyCatalog; // 0-99; stored as 1 unless NEW_WITHIN_DAYS is set
    COLORREF m_crRecentlyCatalog;
    CString m_strDefaultDirCopyRem; // Folder first offered for backup copies
    BOOL m_bMinimize;               // Minimize after opening a document
    BOOL m_bDescrTip;               // Description tips in the document list
    int m_nUpdateOption;            // Update dialog switches, bits 1 and 2
    CStringArray m_fastUpdateDir;   // Folders of the update dialog
    BOOL m_bCleanUpTempFolders;
    BOOL m_bCleanUpTempFiles;
    BOOL m_bCleanUpExpired;
    BOOL m_bCleanUpRecycle;
    int m_nVersionControlPos;        // 0: text before the name, 1: after
    CString m_strVersionControlText; // With one '#' for the version number
    int m_nMostRecents;              // Length of the recent list, 1-50
    DWORD m_dwMostRecentsOption;
    int m_nNumBackups;     // Backup generations kept, 1-9
    int m_nNumDayBackup;   // Days between backups, 0-99; 0 none
    BOOL m_bOrphanWarning; // Warn at exit about documents without a system
    BOOL m_bWebAccessEnabled;
    int m_nMailClient; // Preferred mail client kind: 0, 2 or 3

    /* New-document monitor values. */
    int m_nDSAutoCataloguing; // 0 never, 1 when the rules place the document, else always
    BOOL m_bDSList;
    BOOL m_bDSPlaySound;
    BOOL m_bDSAutoIniciar;            // Start the monitor with the session
    CStringArray m_defaultSystemPath; // Names from the top system down; empty: the systems root
    CStringArray m_dsDir;             // Folders the monitor watches
    CStringArray m_documents;         // Document type names already offered

    /* Run-time state, not stored. */
    std::unique_ptr<CNodeRec> m_pCurrentNode; // The program-wide current node
    UINT m_nClipboardFormat { 0 };            // Number of CLIPBOARD_FORMAT_NAME

    // The web access settings block, attached by the web access service at
    // start-up (nullptr until then); it is defaulted, loaded and saved with the
    // preferences. The caller keeps ownership.
    void AttachWebSettings(CPreferenceBlock* pWebSettings) { m_pWebSettings = pWebSettings; }
    CPreferenceBlock* GetWebSettings() const { return m_pWebSettings; }

private:
    // Opens the preferences key for writing, creating it when missing.
    [[nodiscard]] static BOOL OpenForWriting(CRegistryKey& key);

    std::unique_ptr<CNodeRec> m_pDefaultSystem; // Cached from m_defaultSystemPath
    CPreferenceBlock* m_pWebSettings { nullptr };
};

extern CPreferences thePreferences;
