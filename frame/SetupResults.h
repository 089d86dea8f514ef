#pragma once

// What the set-up wizard hands to the first-run code when the user finishes
// it: plain data, filled by the wizard and read by CArchivoraApp::RunFirstSetup.

#include "platform/base/CString.h"
#include "platform/base/CollectionArrays.h"
#include "platform/base/CollectionMaps.h"

#include <memory>
#include <vector>

// One system of the organisation the user built in the wizard, with its
// subsystems in tree order.
struct COrgItem {
    static constexpr int NAME_LENGTH = 30; // characters a name holds; the catalog's field cuts at a character boundary

    CString strName;
    CStringArray keywords;
    CStringArray folders;
    WORD wSearchMask { 0 };
    std::vector<std::unique_ptr<COrgItem>> children;
};
using COrgItemArray = std::vector<std::unique_ptr<COrgItem>>;

// The user's choices, as the wizard leaves them at Finish.
struct CSetupResults {
    // Folder mode: the catalog mirrors the checked folders (a first
    // cataloguing of them); else organisation mode: the systems of the two branches.
    BOOL bFolderMode { FALSE };
    std::unique_ptr<COrgItem> pCustomBranch; // organisation mode; null when absent
    std::unique_ptr<COrgItem> pUsageBranch;  // organisation mode; null when absent
    // Folder mode, as lower-cased keys: the checked folders (value 1: with
    // everything below; 0: the folder's files, its sub-folders each by its own
    // entry), and the folders excluded below them (value 0).
    CMapStringToPtr checkedFolders;
    CMapStringToPtr partlyCheckedFolders;
    // The extensions to catalog, with their leading dot.
    CStringArray extensions;
    // The document types the wizard offered, by name: none of them is new afterwards.
    CStringArray offeredTypes;
    LONG nPlaceChoice { 0 };    // the places to catalog: CCatalog::PLACE_NONE to PLACE_BOTH
    CStringArray networkPlaces; // computer names, for PLACE_NETWORK and PLACE_BOTH
    // The mail stores to catalog: path and store kind (0, 2 or 3).
    struct CMailFolder {
        CString strPath;
        int nStoreKind { 0 };
    };
    std::vector<CMailFolder> mailFolders;
    BOOL bLocationPagePresent { FALSE };
};
