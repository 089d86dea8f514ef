#pragma once

// The program's preferences: every value the preference pages show and the
// rest of the program reads, kept in the registry key
// "SOFTWARE\KD\Archivora Plus\Default\Preferences" of HKEY_CURRENT_USER, with
// the web access settings in its subkey "WA". One object, thePreferences,
// lives as long as the process.
//
// Load reads every value, a missing, mistyped, damaged or out-of-range one
// taking its default; the Save operations each write one group of values.
// The preference sheets get their values through the CopyTo/CopyFrom pairs
// (the plain page structs of PreferenceSheets.h). The object is used from the
// program's main thread only.

#include "platform/base/CString.h"
#include "platform/base/CollectionArrays.h"
#include "platform/base/Registry.h"
#include "platform/base/WinTypes.h"
#include "store/CNodeRec.h"
#include "store/CPreferenceBlock.h"

#include <functional>
#include <map>
#include <memory>
#include <string>

class CCatalog;
class CMapStringToPtr;
class CRegistryKey;
struct CDocumentsSheetData;
struct CPreferencesArchivoraSheetData;
struct CPreferencesCatalogSheetData;
struct CPreferencesWebSheetData;

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
    // Writes the general values. FALSE when the key can be neither opened nor
    // created or a value could not be written (the others are still written).
    BOOL SaveGeneral() const;
    // Writes the new-document monitor values and the default system's path of
    // names (of the cached node when there is one), deleting surplus indexed
    // values. FALSE when the key cannot be opened or created or a write failed.
    BOOL SaveDSSettings() const;
    // Writes the web access block into the subkey "WA". FALSE on failure.
    BOOL SaveWebSettings() const;
    /* The web access block across a rebuild of the main catalog, whose new
       file gives the block's catalog references new values. The moved block
       is staged first and takes effect only once the new file is in place, so
       the block in force always names the records of the main catalog file. */

    // Saves the block as it is in memory (moved to the new file) aside, in the
    // subkey "WARebuild", with pszCatalogStamp, the new file's stamp, written
    // last. The block in force stays as it was. TRUE without a block.
    BOOL StageWebSettings(LPCTSTR pszCatalogStamp) const;
    // Whether a staged block waits to be settled.
    BOOL HasStagedWebSettings() const;
    // With pszCatalogStamp the stamp of the main catalog file now in place:
    // a staged block of that stamp is put in force, any other is dropped, and
    // the block in memory is loaded from what is in force. TRUE when nothing
    // was staged or the stage was settled; FALSE (the stage kept for the next
    // call) when a write failed or no block is attached to take the stage.
    BOOL SettleWebSettings(LPCTSTR pszCatalogStamp);
    // Writes "Documents"; FALSE on failure.
    BOOL SaveDocuments() const;
    // Writes "DSDir"; FALSE on failure.
    BOOL SaveDSDir() const;
    // Sets "OrphanWarning" and writes it; FALSE when the write failed.
    BOOL SaveOrphanWarning(BOOL bWarn);
    // Sets "WAEnabled" (web access is set up: its log and account commands
    // are offered) and writes it; FALSE when the write failed.
    BOOL SaveWebAccessEnabled(BOOL bEnabled);

    /* The preference sheets. Each CopyTo fills a sheet's pages before it runs;
       each CopyFrom takes the pages' values back after OK, saves them and
       returns FALSE when saving failed (the values stay in memory for this
       run either way). */

    // The general sheet. CopyFrom keeps the page's day count only when
    // LastCatalogOption has NEW_WITHIN_DAYS (else 1), saves with SaveGeneral
    // and then runs the colours-changed handler, saved or not.
    void CopyToArchivoraSheet(CPreferencesArchivoraSheetData& sheet) const;
    BOOL CopyFromArchivoraSheet(const CPreferencesArchivoraSheetData& sheet);
    // The new-document monitor sheet. The page's system is a copy of the
    // default system in pCatalog when that node is still the one stored, else
    // the systems root. CopyFrom makes a copy of the page's system the default
    // system and saves with SaveDSSettings.
    void CopyToCatalogSheet(CPreferencesCatalogSheetData& sheet, CCatalog* pCatalog);
    BOOL CopyFromCatalogSheet(const CPreferencesCatalogSheetData& sheet);
    // The web access sheet: the account and connection values of the attached
    // web settings block. Without a block the sheet keeps what it holds and
    // CopyFrom saves nothing, successfully.
    void CopyToWebSheet(CPreferencesWebSheetData& sheet) const;
    BOOL CopyFromWebSheet(const CPreferencesWebSheetData& sheet);
    // The documents sheet: LoadDocumentsSheet gives every page its data, so
    // that saving a sheet whose pages were never shown changes nothing: the
    // catalogued extensions (".ext", lower-cased), the watched folders
    // ("DSDir"), pCatalog's place choice, its network
    // locations (each ending in a backslash) and its mail stores. SaveDocumentsSheet replaces pCatalog's
    // extensions by the chosen ones, rebuilds the document-type map, takes the
    // watched folders, rebuilds pCatalog's locations from the folders page's
    // mode and folders and the mail page's stores (a location kept from before
    // keeps its stored size or position), stores the mode in pCatalog and
    // saves "DSDir" and "Documents". FALSE at the first step that failed.
    void LoadDocumentsSheet(CDocumentsSheetData& sheet, CCatalog* pCatalog) const;
    BOOL SaveDocumentsSheet(const CDocumentsSheetData& sheet, CCatalog* pCatalog);

    // Runs after the general sheet's values were taken back, so the windows
    // can repaint in the new colours; the program installs it at start-up.
    void SetColorsChangedHandler(std::function<void()> fnHandler) { m_fnColorsChanged = std::move(fnHandler); }

    /* The new-document monitor's folders. */

    // Adds the keys of folders (the folders set-up excluded) to "DSDir",
    // lower-cased and in share form, skipping those already there, and saves
    // "DSDir"; FALSE when saving failed.
    BOOL AddDSDirs(const CMapStringToPtr& folders);
    // TRUE when pszFolder lies in what pCatalog covers: a folder of a fixed
    // drive when the catalog's place choice has PLACE_LOCAL_DISK; otherwise,
    // with a network drive letter turned into its share form, a folder at or
    // below one of the catalog's network locations (computers and catalogued
    // folders).
    BOOL IsPathInCatalogScope(CCatalog* pCatalog, LPCTSTR pszFolder) const;

    /* The document-type map: the document type (the file type's description
       in the classes root, else its type name) of every extension pCatalog
       catalogues. Built again whenever the catalogued extensions change. */

    void BuildDocumentTypeMap(CCatalog* pCatalog);
    // The type of an extension (with or without its '.', any case); FALSE
    // when the map does not hold it.
    BOOL LookupDocumentType(LPCTSTR pszExtension, CString& strType) const;

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
    int m_nNumBackups;        // Backup generations kept, 1-9
    int m_nNumDayBackup;      // Days between backups, 0-99; 0 none
    BOOL m_bOrphanWarning;    // Warn at exit about documents without a system
    BOOL m_bWebAccessEnabled; // Web access is set up
    int m_nMailClient;        // Preferred mail client kind: 0, 2 or 3

    /* New-document monitor values. */
    int m_nDSAutoCataloguing; // 0 never, 1 when the rules place the document, else always
    BOOL m_bDSList;
    BOOL m_bDSPlaySound;
    BOOL m_bDSAutoIniciar;            // Start the monitor with the session
    CStringArray m_defaultSystemPath; // Names from the top system down; empty: the systems root
    CStringArray m_dsDir;             // Folders whose files are never offered ("DSDir")
    CStringArray m_documents;         // Document type names already offered

    /* Run-time state, not stored. */
    std::unique_ptr<CNodeRec> m_pCurrentNode; // The program-wide current node
    // Number of CLIPBOARD_FORMAT_NAME, registered with the window layer by the
    // application globals at start-up; 0 before.
    UINT m_nClipboardFormat { 0 };

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
    std::function<void()> m_fnColorsChanged;
    std::map<std::string, CString> m_documentTypes; // Lower-cased extension without '.' -> type
};

extern CPreferences thePreferences;
