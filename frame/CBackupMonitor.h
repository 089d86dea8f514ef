#pragma once

// The backup monitor: crash recovery and the automatic backup generations of
// the two catalog files.
//
// The registry key "SOFTWARE\KD\Archivora Plus\Backup" of HKEY_CURRENT_USER
// holds "MonitorApp" (1 while the program runs; deleted at a clean exit, so a
// value left at start-up means the last run ended without one) and
// "LastGeneration" (a time_t: when the last generation was made; missing
// before the first).
//
// The dialogs the monitor runs are reached through CBackupPrompts, which the
// window layer answers with the recovery offer, the backup list and message
// boxes, and tests answer by script. Used from the main thread.

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"
#include "store/CCatalogFiles.h"

#include <ctime>

class CPreferences;

class CBackupPrompts {
public:
    virtual ~CBackupPrompts() = default;

    // The unclean-exit offer; IDOK asks for a restore.
    virtual int OfferRecovery() = 0;
    // The backup list of the generations of files, its button for the
    // previous copies enabled by bOldCopies. Ends with
    // CBackupMonitor::END_RESTORE_GENERATION and the chosen number in
    // *pnGeneration, END_RESTORE_OLD, or IDCANCEL.
    virtual int ChooseBackup(const CCatalogFiles& files, BOOL bOldCopies, int* pnGeneration) = 0;
    // A message box showing resource string nStringID with the style nStyle.
    virtual void ShowMessage(UINT nStringID, UINT nStyle) = 0;
};

class CBackupMonitor {
public:
    static constexpr char KEY_PATH[] = "SOFTWARE\\KD\\Archivora Plus\\Backup";
    // How the backup list ends when the user chose what to restore.
    static constexpr int END_RESTORE_GENERATION = 1433;
    static constexpr int END_RESTORE_OLD = 1436;
    // The generations kept when "NumBackups" is outside 1 to 9.
    static constexpr int DEFAULT_KEPT_GENERATIONS = 3;

    // Program paths of the two catalog files. "NumBackups" and "NumDayBackup"
    // are read from preferences when used, so it must be loaded first. Both
    // references must outlive the monitor.
    CBackupMonitor(
        LPCTSTR pszCatalogPath, LPCTSTR pszRecyclePath, const CPreferences& preferences, CBackupPrompts& prompts);

    /* Start-up and exit. */

    // Before the catalogs are opened: finishes or undoes a restore that a
    // crash interrupted; gives a recycle-bin catalog made with the main
    // catalog's kind its own (RepairRecycleKind); settles the web settings a stopped rebuild staged
    // (SettleRebuildReferences); when "MonitorApp" is still set, the last run
    // ended without a clean exit: replays the journals it left and checks
    // both catalogs (CheckCatalogFile), and when one fails logs why, offers a
    // restore and runs it (RestoreCatalogFromBackup); sets "MonitorApp";
    // makes a backup generation when one is due. FALSE, so that start-up
    // quits, only when an interrupted restore can be neither finished nor
    // undone; that is reported as the fatal catalog error.
    BOOL CheckCatalogAtStartup();
    BOOL SetMonitorFlag();
    // At a clean exit.
    BOOL ClearMonitorFlag();
    BOOL IsMonitorFlagSet() const;

    /* Backups. */

    // Due when "NumDayBackup" is above 0 and no generation was made yet, or
    // at least that many days (counted between local dates) have passed since.
    BOOL IsBackupDue() const;
    // Makes a generation, keeping "NumBackups" of them, and stores its time
    // as "LastGeneration". FALSE when the copy failed.
    BOOL MakeCatalogBackup();
    // The time of the last generation; 0 before the first.
    time_t GetLastGeneration() const;

    /* Restores. */

    // With both catalogs closed: the backup list, then the restore chosen
    // there (RestoreChosenBackup). TRUE when the catalog files were replaced.
    BOOL RestoreCatalogFromBackup();
    // The backup list: END_RESTORE_GENERATION with *pnGeneration, or
    // END_RESTORE_OLD, when the user chose a restore; anything else changes nothing.
    int ChooseBackup(int* pnGeneration);
    // With both catalogs closed: the restore that ChooseBackup's answer names
    // and its result message (IDS_RESTORE_DONE or IDS_RESTORE_FAILED for a
    // generation, IDS_RESTORE_OLD_DONE or IDS_RESTORE_OLD_FAILED for the
    // previous copies). TRUE when the catalog files were replaced.
    BOOL RestoreChosenBackup(int nChoice, int nGeneration);

    CCatalogFiles& GetCatalogFiles() { return m_files; }

private:
    int GetKeptGenerations() const;
    // After an unclean exit: TRUE when both catalogs pass the whole-file
    // check, their journals replayed; else the log says which failed.
    BOOL CheckCatalogsAfterCrash();

    CCatalogFiles m_files;
    CString m_strCatalogPath;
    CString m_strRecyclePath;
    CString m_strCatalogName; // the main catalog's file name, for the fatal error
    const CPreferences& m_preferences;
    CBackupPrompts& m_prompts;
};
