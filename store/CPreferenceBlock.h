#pragma once

// A block of settings that the preferences object carries for a higher layer
// (the web access service's settings): kept under its own subkey of the
// preferences key, loaded, defaulted and saved together with the preferences.
// The layer that owns the block attaches it (CPreferences::AttachWebSettings).

#include "platform/base/WinTypes.h"

class CCatalog;
struct CPreferencesWebSheetData;

class CPreferenceBlock {
public:
    virtual ~CPreferenceBlock() = default;

    virtual void SetDefaults() = 0;
    // Reads the block from below the open preferences key.
    virtual void Load(HKEY hPreferences) = 0;
    // Writes the block below the open preferences key; FALSE on failure.
    virtual BOOL Save(HKEY hPreferences) const = 0;

    // The main catalog (the first argument) was rebuilt into a new file (the
    // second), where its records have new references: references the block
    // keeps move to the same records of the new file. The caller saves the
    // block afterwards. Blocks that keep no references leave this as it is.
    virtual void RemapCatalogReferences(CCatalog& /*oldCatalog*/, CCatalog& /*newCatalog*/) { }

    // Fills the web access sheet's account and connection pages.
    virtual void CopyToSheet(CPreferencesWebSheetData& sheet) const = 0;
    // Takes the pages' values back (the caller saves the block).
    virtual void CopyFromSheet(const CPreferencesWebSheetData& sheet) = 0;
};
