// The preferences object's side of the general, new-document monitor and web
// access preference sheets: the values each sheet's pages show, and their
// return after OK.

#include "store/CPreferences.h"

#include "store/PreferenceSheets.h"

void CPreferences::CopyToArchivoraSheet(CPreferencesArchivoraSheetData& sheet) const
{
    CPrefGeneralPageData& general = sheet.general;
    general.nNumDayFileNew = m_nNumDayFileNew;
    general.nLastCatalogOption = m_nLastCatalogOption;
    general.nNumDayRecentlyCatalog = m_nNumDayRecentlyCatalog;
    general.crRecentlyCatalog = m_crRecentlyCatalog;
    general.strDefaultDirCopyRem = m_strDefaultDirCopyRem;
    general.bMinimize = m_bMinimize;
    general.bOrphanWarning = m_bOrphanWarning;

    sheet.detail.bDescrTip = m_bDescrTip;

    sheet.update.fastUpdateDir.Copy(m_fastUpdateDir);
    sheet.update.nUpdateOption = m_nUpdateOption;

    CPrefLibAutomaticaPageData& cleanUp = sheet.libAutomatica;
    cleanUp.bCleanUpTempFolders = m_bCleanUpTempFolders;
    cleanUp.bCleanUpTempFiles = m_bCleanUpTempFiles;
    cleanUp.bCleanUpExpired = m_bCleanUpExpired;
    cleanUp.bCleanUpRecycle = m_bCleanUpRecycle;

    sheet.versao.strVersionControlText = m_strVersionControlText;
    sheet.versao.nVersionControlPos = m_nVersionControlPos;

    sheet.backup.nNumDayBackup = m_nNumDayBackup;
    sheet.backup.nNumBackups = m_nNumBackups;
}

BOOL CPreferences::CopyFromArchivoraSheet(const CPreferencesArchivoraSheetData& sheet)
{
    const CPrefGeneralPageData& general = sheet.general;
    m_nNumDayFileNew = general.nNumDayFileNew;
    m_nLastCatalogOption = general.nLastCatalogOption;
    m_nNumDayRecentlyCatalog = (m_nLastCatalogOption & NEW_WITHIN_DAYS) ? general.nNumDayRecentlyCatalog : 1;
    m_crRecentlyCatalog = general.crRecentlyCatalog;
    m_strDefaultDirCopyRem = general.strDefaultDirCopyRem;
    m_bMinimize = general.bMinimize;
    m_bOrphanWarning = general.bOrphanWarning;

    m_bDescrTip = sheet.detail.bDescrTip;

    m_fastUpdateDir.Copy(sheet.update.fastUpdateDir);
    m_nUpdateOption = sheet.update.nUpdateOption;

    const CPrefLibAutomaticaPageData& cleanUp = sheet.libAutomatica;
    m_bCleanUpTempFolders = cleanUp.bCleanUpTempFolders;
    m_bCleanUpTempFiles = cleanUp.bCleanUpTempFiles;
    m_bCleanUpExpired = cleanUp.bCleanUpExpired;
    m_bCleanUpRecycle = cleanUp.bCleanUpRecycle;

    m_strVersionControlText = sheet.versao.strVersionControlText;
    m_nVersionControlPos = sheet.versao.nVersionControlPos;

    m_nNumDayBackup = sheet.backup.nNumDayBackup;
    m_nNumBackups = sheet.backup.nNumBackups;

    const BOOL bSaved = SaveGeneral();
    if (m_fnColorsChanged)
        m_fnColorsChanged();
    return bSaved;
}

void CPreferences::CopyToCatalogSheet(CPreferencesCatalogSheetData& sheet, CCatalog* pCatalog)
{
    sheet.notificator.nDSAutoCataloguing = m_nDSAutoCataloguing;
    sheet.notificator.nDSList = m_bDSList;
    sheet.notificator.bDSPlaySound = m_bDSPlaySound;
    sheet.defaultSystem.bDSAutoIniciar = m_bDSAutoIniciar;

    // A cached node may have been deleted or renamed since it was found.
    const CNodeRec* pStored = GetDefaultSystem(pCatalog);
    if (pStored && pStored->GetChildrenFiltered())
        sheet.defaultSystem.pSystem.reset(pStored->Clone());
    else
        sheet.defaultSystem.pSystem.reset(CNodeRec::NewTopNodeRec3(pCatalog));
}

BOOL CPreferences::CopyFromCatalogSheet(const CPreferencesCatalogSheetData& sheet)
{
    SetDefaultSystem(sheet.defaultSystem.pSystem.get());
    m_bDSAutoIniciar = sheet.defaultSystem.bDSAutoIniciar;
    m_nDSAutoCataloguing = sheet.notificator.nDSAutoCataloguing;
    m_bDSList = sheet.notificator.nDSList;
    m_bDSPlaySound = sheet.notificator.bDSPlaySound;
    return SaveDSSettings();
}

void CPreferences::CopyToWebSheet(CPreferencesWebSheetData& sheet) const
{
    if (m_pWebSettings)
        m_pWebSettings->CopyToSheet(sheet);
}

BOOL CPreferences::CopyFromWebSheet(const CPreferencesWebSheetData& sheet)
{
    if (m_pWebSettings)
        m_pWebSettings->CopyFromSheet(sheet);
    return SaveWebSettings();
}
