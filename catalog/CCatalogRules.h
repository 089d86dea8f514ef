#pragma once

// The rules that keep files out of the catalog, as the update engine and the
// new-document monitor apply them: one object built from the catalog and the
// preferences, rebuilt whenever either changes.
//
// Paths given to it are the catalog's form: lower-cased, a network drive
// letter turned into its share (NormalizeDrivePath). A folder rule holds for
// the folder itself and everything below it: "c:\docs" rules out
// "c:\docs\a.txt" but not "c:\docsarchive\a.txt".

#include "store/TextMatch.h"

#include "platform/base/CString.h"
#include "platform/base/CollectionArrays.h"

#include <set>
#include <string>
#include <string_view>
#include <vector>

class CCatalog;

// Why a path is kept out of the catalog, in the order the rules are tried.
enum class ERejection {
    None,           // the path is a document to catalog
    BadName,        // not valid UTF-8: it would be stored mangled and never found again
    RecycleFolder,  // its first folder is the drives' recycle folder
    ExcludedFolder, // it lies in a folder whose files are never offered ("DSDir")
    CleanUpFolder,  // it lies in a clean-up folder
    NameMask,       // its name matches a file name mask
    NotCatalogued,  // its extension is not catalogued
};

class CCatalogRules {
public:
    // Reads the clean-up folders, the name masks and the extensions of
    // pCatalog (a reference held) and the excluded folders dsDir.
    CCatalogRules(CCatalog* pCatalog, const CStringArray& dsDir);

    // The first rule that keeps the file at strPath (the catalog's form) out,
    // or ERejection::None.
    ERejection CheckFile(std::string_view strPath) const;
    // The rules that hold for every file below a folder (the catalog's form,
    // with or without its trailing backslash): a walk need not enter it.
    ERejection CheckFolder(std::string_view strFolder) const;
    // The rules of a file's name alone (lower-cased): masks and extension.
    ERejection CheckName(std::string_view strName) const;

    BOOL IsCataloguedExtension(std::string_view strName) const;
    // Whether a name (lower-cased) matches one of the file name masks.
    BOOL MatchesNameMask(std::string_view strName) const;
    BOOL HasNameMasks() const { return m_masks.empty() ? FALSE : TRUE; }
    // The clean-up folders in table order: the catalog's form, no trailing backslash.
    const std::vector<std::string>& GetCleanUpFolders() const { return m_cleanUpFolders; }
    // A readable word for a rejection, for trace lines.
    static const char* Describe(ERejection eRejection);

private:
    // Folder texts without their trailing backslash.
    std::vector<std::string> m_excludedFolders; // "DSDir", tested last entry first
    std::vector<std::string> m_cleanUpFolders;
    std::vector<CSplitFileName> m_masks; // tested last first
    std::set<std::string, std::less<>> m_extensions;
};
