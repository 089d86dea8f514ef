#pragma once

// What the pages of the preference sheets hold: one plain struct per page,
// grouped per sheet. The preferences object copies its values into a sheet's
// structs before the sheet runs and takes them back after OK
// (CPreferences::CopyTo.../CopyFrom...). Only the values that travel through
// the preferences object are here; pages that write their own targets (the
// document list's columns, the catalog's clean-up tables, the most-recent
// values) keep those to themselves.

#include "platform/base/CString.h"
#include "platform/base/CollectionArrays.h"
#include "platform/base/CollectionMaps.h"
#include "platform/base/WinTypes.h"
#include "store/CNodeRec.h"

#include <memory>
#include <vector>

/* The general sheet (CPreferencesArchivoraPropSheet). */

struct CPrefGeneralPageData {
    int nNumDayFileNew { 0 };
    int nLastCatalogOption { 0 };     // CPreferences::NEW_SINCE_UPDATE | NEW_WITHIN_DAYS
    int nNumDayRecentlyCatalog { 0 }; // Kept on copy-out only with NEW_WITHIN_DAYS
    COLORREF crRecentlyCatalog { 0 };
    CString strDefaultDirCopyRem;
    BOOL bMinimize { FALSE };
    BOOL bOrphanWarning { FALSE };
};

// The document list's columns the details page shows and hides, in the
// order the list keeps them; the list style's extension flag travels apart.
// The page reaches the list through the host (CUiHostServices).
struct CListColumnChoices {
    BOOL bAccessed;
    BOOL bCreated;
    BOOL bDescription;
    BOOL bDate;
    BOOL bDetailExtension;
    BOOL bLabel;
    BOOL bAltName;
    BOOL bModified;
    BOOL bSize;
    BOOL bType;
    BOOL bName;
    BOOL bSizeInKB;
    BOOL bSizeInBytes; // the opposite of bSizeInKB
};

struct CPrefDetailPageData {
    BOOL bDescrTip { FALSE };
};

struct CPrefUpdatePageData {
    int nUpdateOption { 0 };
    CStringArray fastUpdateDir;
};

struct CPrefLibAutomaticaPageData {
    BOOL bCleanUpTempFolders { FALSE };
    BOOL bCleanUpTempFiles { FALSE };
    BOOL bCleanUpExpired { FALSE };
    BOOL bCleanUpRecycle { FALSE };
};

struct CPrefVersaoPageData {
    int nVersionControlPos { 0 };
    CString strVersionControlText;
};

struct CPrefBackupPageData {
    int nNumBackups { 0 };
    int nNumDayBackup { 0 }; // 0: no automatic backup
};

struct CPreferencesArchivoraSheetData {
    CPrefGeneralPageData general;
    CPrefDetailPageData detail;
    CPrefUpdatePageData update;
    CPrefLibAutomaticaPageData libAutomatica;
    CPrefVersaoPageData versao;
    CPrefBackupPageData backup;
};

/* The new-document monitor sheet (CPreferencesCatalogPropSheet). */

struct CPrefDefaultSystemPageData {
    std::unique_ptr<CNodeRec> pSystem; // The chosen system, owned; null when none could be read
    BOOL bDSAutoIniciar { FALSE };
};

struct CPrefNotificatorPageData {
    int nDSAutoCataloguing { 0 };
    int nDSList { 0 }; // Index of the checked button of the list choice
    BOOL bDSPlaySound { FALSE };
};

struct CPreferencesCatalogSheetData {
    CPrefDefaultSystemPageData defaultSystem;
    CPrefNotificatorPageData notificator;
};

/* The web access sheet (CPreferencesWebPropSheet). */

struct CPrefWAAccountPageData {
    CString strLogin;
    CString strPassword;
    CString strCatName;
    CString strCatCode;
};

struct CPrefWAConnectionPageData {
    int nConnType { 0 }; // 1 modem, 2 LAN, 3 cable
    CString strDirServer;
};

struct CPreferencesWebSheetData {
    CPrefWAAccountPageData account;
    CPrefWAConnectionPageData connection;
};

/* The documents sheet (CDocumentsPropSheet). */

struct CDocumentTypesPageData {
    // The chosen extensions, lower-cased, as keys; the values carry nothing.
    CMapStringToPtr chosenExtensions;
};

struct CPrefFoldersPageData {
    int nMode { 0 };             // CCatalog::PLACE_LOCAL_DISK | PLACE_NETWORK
    CStringArray watchedFolders; // "DSDir"
    CStringArray catalogFolders; // The folders catalogued under PLACE_NETWORK, each ending in '\'
};

// One mail store chosen on the mail page.
struct CMailStoreChoice {
    CString strPath;
    WORD wKind { 0 }; // A location kind: LOCATION_NETSCAPE to LOCATION_OUTLOOK_EXPRESS5
};

struct CMailsPageData {
    std::vector<CMailStoreChoice> stores;
};

struct CDocumentsSheetData {
    CDocumentTypesPageData documentTypes;
    CPrefFoldersPageData folders;
    CMailsPageData mails;
};
