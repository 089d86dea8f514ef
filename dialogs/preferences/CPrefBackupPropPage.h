#pragma once

// The backup page of the general preference sheet: how many generations of
// the catalog copies are kept (1 to 9) and whether a backup is made every so
// many days (1 to 99) or never (stored as 0 days). It shows how many complete
// generations are on disk now, counted over the host's two catalogs; the
// count also deletes the lone files of an interrupted backup. Values the
// store keeps but the page cannot show come up as its defaults: 3 copies, and
// 2 days with "never" chosen. Its template is resource IDD_PREF_BACKUP.

#include "platform/framework/CPropertyPage.h"
#include "store/PreferenceSheets.h"

class CPrefBackupPropPage : public CPropertyPage {
    DECLARE_MESSAGE_MAP()

public:
    /* What the edits and their arrows accept. */
    static constexpr int MIN_BACKUPS = 1;
    static constexpr int MAX_BACKUPS = 9;
    static constexpr int MIN_BACKUP_DAYS = 1;
    static constexpr int MAX_BACKUP_DAYS = 99;

    // The page reads and writes data, which outlives it.
    explicit CPrefBackupPropPage(CPrefBackupPageData& data);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam);

private:
    // The schedule radio group's index.
    static constexpr int SCHEDULE_NEVER = 0;
    static constexpr int SCHEDULE_EVERY_N_DAYS = 1;

    // The day edit and its arrows follow the schedule chosen.
    void EnableDays();

    CPrefBackupPageData& m_data;
    int m_nBackups { MIN_BACKUPS };
    int m_nDays { MIN_BACKUP_DAYS };
    int m_nSchedule { SCHEDULE_NEVER };
};
