#include "frame/CBackupMonitor.h"

#include "platform/base/CTime.h"
#include "platform/base/FileFunctions.h"
#include "platform/window/Dialog.h"
#include "platform/window/MessageBox.h"
#include "resources/ResourceIds.h"
#include "store/CLogFile.h"
#include "store/CPreferences.h"
#include "store/CRegistryKey.h"
#include "store/CatalogCheck.h"
#include "store/CatalogCompaction.h"
#include "store/CatalogError.h"
#include "store/DateHelpers.h"
#include "store/PathHelpers.h"

namespace {

constexpr char VALUE_MONITOR_APP[] = "MonitorApp";
constexpr char VALUE_LAST_GENERATION[] = "LastGeneration";

}

CBackupMonitor::CBackupMonitor(
    LPCTSTR pszCatalogPath, LPCTSTR pszRecyclePath, const CPreferences& preferences, CBackupPrompts& prompts)
    : m_files(pszCatalogPath, pszRecyclePath)
    , m_strCatalogPath(pszCatalogPath)
    , m_strRecyclePath(pszRecyclePath)
    , m_preferences(preferences)
    , m_prompts(prompts)
{
    CString strFolder;
    SplitPath(pszCatalogPath, strFolder, m_strCatalogName);
}

/******************************************************************************
 * Start-up and exit
 ******************************************************************************/

BOOL CBackupMonitor::CheckCatalogAtStartup()
{
    if (!m_files.RecoverInterrupted()) {
        archivora::g_log.Printf("Backup: an interrupted restore could not be finished (error %lu)\n",
            static_cast<unsigned long>(GetLastError()));
        // The catalog files may be a mix of two states now: the program must not open them.
        ReportCatalogError(m_strCatalogName);
        return FALSE;
    }
    // An earlier start made the recycle-bin catalog with the main catalog's kind.
    if (m_files.RepairRecycleKind())
        archivora::g_log.Printf("Backup: the recycle-bin catalog had the main catalog's kind; it has its own now\n");
    else if (GetLastError() != ERROR_SUCCESS)
        archivora::g_log.Printf("Backup: the recycle-bin catalog's kind could not be mended (error %lu)\n",
            static_cast<unsigned long>(GetLastError()));
    // A rebuild that stopped may have left web settings staged for its copy.
    if (!SettleRebuildReferences(m_strCatalogPath))
        archivora::g_log.Printf("Backup: the web settings of a stopped rebuild are not settled (error %lu)\n",
            static_cast<unsigned long>(GetLastError()));
    if (IsMonitorFlagSet() && !CheckCatalogsAfterCrash() && m_prompts.OfferRecovery() == IDOK)
        RestoreCatalogFromBackup();
    // Without the flag the next start cannot tell a crash; the program still runs.
    if (!SetMonitorFlag())
        archivora::g_log.Printf("Backup: the \"MonitorApp\" flag could not be set\n");
    // A first start has no catalog to copy yet; its backup comes once the catalog is made.
    const DWORD dwAttributes = GetFileAttributes(m_strCatalogPath);
    const BOOL bCatalogExists = dwAttributes != INVALID_FILE_ATTRIBUTES && !(dwAttributes & FILE_ATTRIBUTE_DIRECTORY);
    if (bCatalogExists && IsBackupDue() && !MakeCatalogBackup())
        archivora::g_log.Printf(
            "Backup: the backup generation failed (error %lu)\n", static_cast<unsigned long>(GetLastError()));
    return TRUE;
}

BOOL CBackupMonitor::CheckCatalogsAfterCrash()
{
    // Opening a catalog for the check replays the journal the last run left.
    struct {
        const CString& strPath;
        LONG nKind;
        const char* pszName;
    } catalogs[] = { { m_strCatalogPath, CATALOG_KIND_MAIN, "main" },
        { m_strRecyclePath, CATALOG_KIND_RECYCLE, "recycle-bin" } };
    BOOL bPassed = TRUE;
    for (const auto& catalog : catalogs) {
        CCatalogCheckReport report;
        if (CheckCatalogFile(catalog.strPath, catalog.nKind, &report))
            continue;
        archivora::g_log.Printf("Backup: after an unclean exit the %s catalog fails its check: %s (error %lu)\n",
            catalog.pszName, report.DescribeRefusal(), static_cast<unsigned long>(GetLastError()));
        bPassed = FALSE;
    }
    return bPassed;
}

BOOL CBackupMonitor::SetMonitorFlag()
{
    CRegistryKey key;
    return key.Create(HKEY_CURRENT_USER, KEY_PATH) && key.SetDWORD(VALUE_MONITOR_APP, 1);
}

BOOL CBackupMonitor::ClearMonitorFlag()
{
    CRegistryKey key;
    if (!key.Open(HKEY_CURRENT_USER, KEY_PATH) || !key.ValueExists(VALUE_MONITOR_APP))
        return TRUE;
    return key.DeleteValue(VALUE_MONITOR_APP);
}

BOOL CBackupMonitor::IsMonitorFlagSet() const
{
    CRegistryKey key;
    DWORD dwValue = 0;
    return key.Open(HKEY_CURRENT_USER, KEY_PATH, KEY_READ) && key.GetDWORD(VALUE_MONITOR_APP, dwValue) && dwValue != 0;
}

/******************************************************************************
 * Backups
 ******************************************************************************/

BOOL CBackupMonitor::IsBackupDue() const
{
    int nDays = m_preferences.m_nNumDayBackup;
    if (nDays <= 0)
        return FALSE;
    time_t tLast = GetLastGeneration();
    return tLast == 0 || DaysBetween(tLast, CTime::GetCurrentTime().GetTime()) >= nDays;
}

BOOL CBackupMonitor::MakeCatalogBackup()
{
    if (!m_files.MakeGeneration(GetKeptGenerations()))
        return FALSE;
    CRegistryKey key;
    // A generation whose time is not stored is still a good generation; the next start makes another.
    if (!key.Create(HKEY_CURRENT_USER, KEY_PATH)
        || !key.SetDWORD(VALUE_LAST_GENERATION, static_cast<DWORD>(CTime::GetCurrentTime().GetTime())))
        archivora::g_log.Printf("Backup: \"LastGeneration\" could not be stored\n");
    return TRUE;
}

time_t CBackupMonitor::GetLastGeneration() const
{
    CRegistryKey key;
    DWORD dwValue = 0;
    if (!key.Open(HKEY_CURRENT_USER, KEY_PATH, KEY_READ) || !key.GetDWORD(VALUE_LAST_GENERATION, dwValue))
        return 0;
    return static_cast<time_t>(dwValue);
}

int CBackupMonitor::GetKeptGenerations() const
{
    int nKeep = m_preferences.m_nNumBackups;
    return nKeep >= 1 && nKeep <= CCatalogFiles::MAX_GENERATIONS ? nKeep : DEFAULT_KEPT_GENERATIONS;
}

/******************************************************************************
 * Restores
 ******************************************************************************/

BOOL CBackupMonitor::RestoreCatalogFromBackup()
{
    int nGeneration = 0;
    const int nChoice = ChooseBackup(&nGeneration);
    return RestoreChosenBackup(nChoice, nGeneration);
}

int CBackupMonitor::ChooseBackup(int* pnGeneration)
{
    return m_prompts.ChooseBackup(m_files, m_files.HasOldGeneration(), pnGeneration);
}

BOOL CBackupMonitor::RestoreChosenBackup(int nChoice, int nGeneration)
{
    switch (nChoice) {
    case END_RESTORE_GENERATION:
        if (m_files.RotateOld(nGeneration)) {
            m_prompts.ShowMessage(IDS_RESTORE_DONE, MB_ICONINFORMATION);
            return TRUE;
        }
        m_prompts.ShowMessage(IDS_RESTORE_FAILED, MB_ICONHAND);
        return FALSE;
    case END_RESTORE_OLD:
        if (m_files.RestoreOldGeneration()) {
            m_prompts.ShowMessage(IDS_RESTORE_OLD_DONE, MB_ICONINFORMATION);
            return TRUE;
        }
        m_prompts.ShowMessage(IDS_RESTORE_OLD_FAILED, MB_ICONHAND);
        return FALSE;
    default:
        return FALSE;
    }
}
