// Links: store webaccess_profiles
// Takes arbitrary bytes as the current user's registry file, loads the
// preferences from it and copies them into every preference sheet's data.
// Whatever the file holds, each value a page shows must lie within what the
// page accepts, and the general sheet saved unchanged must load back the same.

#include "fuzz/FuzzRegistryFile.h"
#include "store/CPreferences.h"
#include "store/PreferenceSheets.h"
#include "store/VersionText.h"
#include "webaccess/profiles/CWASettings.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void Require(bool bHolds)
{
    if (!bHolds)
        std::abort();
}

bool InRange(int nValue, int nLow, int nHigh)
{
    return nValue >= nLow && nValue <= nHigh;
}

// The values of the general sheet that its pages accept.
void CheckGeneralSheet(const CPreferencesArchivoraSheetData& sheet)
{
    Require(InRange(sheet.general.nNumDayFileNew, 0, 99));
    Require(
        InRange(sheet.general.nLastCatalogOption, 0, CPreferences::NEW_SINCE_UPDATE | CPreferences::NEW_WITHIN_DAYS));
    Require(InRange(sheet.general.nNumDayRecentlyCatalog, 0, 99));
    Require(InRange(sheet.update.nUpdateOption, 0, 3));
    Require(InRange(sheet.versao.nVersionControlPos, 0, 1));
    Require(IsValidVersionText(sheet.versao.strVersionControlText));
    Require(InRange(sheet.backup.nNumBackups, 1, 9));
    Require(InRange(sheet.backup.nNumDayBackup, 0, 99));
}

// What a save and a fresh load must give back unchanged.
bool SameGeneralValues(const CPreferencesArchivoraSheetData& a, const CPreferencesArchivoraSheetData& b)
{
    const bool bDaysKept = (a.general.nLastCatalogOption & CPreferences::NEW_WITHIN_DAYS) != 0;
    return a.general.nNumDayFileNew == b.general.nNumDayFileNew
        && a.general.nLastCatalogOption == b.general.nLastCatalogOption
        && (!bDaysKept || a.general.nNumDayRecentlyCatalog == b.general.nNumDayRecentlyCatalog)
        && a.general.crRecentlyCatalog == b.general.crRecentlyCatalog
        && a.general.strDefaultDirCopyRem == b.general.strDefaultDirCopyRem
        && a.update.nUpdateOption == b.update.nUpdateOption
        && a.versao.nVersionControlPos == b.versao.nVersionControlPos
        && a.versao.strVersionControlText == b.versao.strVersionControlText
        && a.backup.nNumBackups == b.backup.nNumBackups && a.backup.nNumDayBackup == b.backup.nNumDayBackup;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    const std::string_view text(reinterpret_cast<const char*>(pData), nSize);
    if (!WriteFuzzRegistryFile(text, "CurrentUser.reg"))
        return 0; // a file that does not parse is set aside whole: every value its default

    CWASettings webSettings;
    CPreferences preferences;
    preferences.AttachWebSettings(&webSettings);
    preferences.Load();
    Require(InRange(preferences.m_nMostRecents, 1, 50));

    CPreferencesArchivoraSheetData general;
    preferences.CopyToArchivoraSheet(general);
    CheckGeneralSheet(general);
    CPreferencesCatalogSheetData monitor;
    preferences.CopyToCatalogSheet(monitor, nullptr);
    Require(InRange(monitor.notificator.nDSList, 0, 1));
    CPreferencesWebSheetData web;
    preferences.CopyToWebSheet(web);

    // An OK without changes saves the values; the next start must see them.
    if (!preferences.CopyFromArchivoraSheet(general))
        return 0;
    CWASettings rereadWeb;
    CPreferences reread;
    reread.AttachWebSettings(&rereadWeb);
    reread.Load();
    CPreferencesArchivoraSheetData again;
    reread.CopyToArchivoraSheet(again);
    Require(SameGeneralValues(general, again));
    return 0;
}
