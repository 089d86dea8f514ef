// The backup page in a preference sheet: values it cannot show come up as
// its defaults, "never" stores 0 days and disables the days, the ranges are
// the class library's, and the count of kept copies ignores (and deletes) a
// lone file.

#include "dialogs/preferences/CPrefBackupPropPage.h"

#include "platform/base/PathMap.h"
#include "platform/framework/AfxMessages.h"
#include "store/CCatalog.h"
#include "tests/dialogs/preferences/PreferencePageTest.h"
#include "tests/ui/RecordingUiHost.h"

#include <filesystem>
#include <fstream>

namespace {

class PrefBackupPropPageTest : public PreferencePageTest {
protected:
    // Runs the page; what it shows first is noted.
    int Run(const std::function<void(HWND hSheet, HWND hPage)>& step)
    {
        CPrefBackupPropPage page(m_data);
        return RunPage(page, [&](HWND hSheet, HWND hPage) {
            m_strKept = Text(hPage, IDC_WA_SETTINGS_NOTE);
            m_strBackups = Text(hPage, IDC_BACKUP_COUNT);
            m_strDays = Text(hPage, IDC_PREF_DAYS);
            m_bNever = Checked(hPage, IDC_BACKUP_NEVER);
            m_bDaysEnabled = Enabled(hPage, IDC_PREF_DAYS);
            step(hSheet, hPage);
        });
    }

    void Touch(const char* pszName) { std::ofstream(Home() / pszName) << "copy"; }

    CPrefBackupPageData m_data { 4, 7 };
    std::string m_strKept, m_strBackups, m_strDays;
    BOOL m_bNever { FALSE };
    BOOL m_bDaysEnabled { FALSE };
};

TEST_F(PrefBackupPropPageTest, ValuesOutOfRangeShowAsDefaultsAndNeverStoresNoDays)
{
    m_data = { 12, 0 };
    EXPECT_EQ(Run([](HWND, HWND) {}), IDOK);
    EXPECT_EQ(m_strBackups, "3");
    EXPECT_EQ(m_strDays, "2");
    EXPECT_TRUE(m_bNever);
    EXPECT_FALSE(m_bDaysEnabled);
    EXPECT_EQ(m_data.nNumBackups, 3);
    EXPECT_EQ(m_data.nNumDayBackup, 0);
}

TEST_F(PrefBackupPropPageTest, ChoosingNeverDisablesTheDaysAndStoresZero)
{
    BOOL bDaysEnabledAfter = TRUE;
    EXPECT_EQ(Run([&](HWND hSheet, HWND hPage) {
        ::SetDlgItemText(hPage, IDC_BACKUP_COUNT, "9");
        ClickButton(hPage, IDC_BACKUP_NEVER);
        ::SendMessage(hSheet, WM_KICKIDLE, MSGF_DIALOGBOX, 0);
        bDaysEnabledAfter = Enabled(hPage, IDC_PREF_DAYS);
    }),
        IDOK);
    EXPECT_EQ(m_strDays, "7");
    EXPECT_FALSE(m_bNever);
    EXPECT_TRUE(m_bDaysEnabled);
    EXPECT_FALSE(bDaysEnabledAfter);
    EXPECT_EQ(m_data.nNumBackups, 9);
    EXPECT_EQ(m_data.nNumDayBackup, 0);
}

TEST_F(PrefBackupPropPageTest, CountsAndDaysOutOfRangeAreRefusedAndNothingKept)
{
    const struct {
        int nID;
        const char* pszText;
        const char* pszMessage;
    } cases[] = {
        { IDC_BACKUP_COUNT, "10", "Please enter an integer between 1 and 9." },
        { IDC_BACKUP_COUNT, "x", "Please enter an integer." },
        { IDC_PREF_DAYS, "0", "Please enter an integer between 1 and 99." },
        { IDC_PREF_DAYS, "100", "Please enter an integer between 1 and 99." },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Run([&](HWND, HWND hPage) { ::SetDlgItemText(hPage, c.nID, c.pszText); }), IDCANCEL) << c.pszText;
        EXPECT_EQ(m_messages, (std::vector<std::string> { c.pszMessage })) << c.pszText;
        EXPECT_EQ(m_nFocusAfterRefusal, c.nID) << c.pszText;
        EXPECT_EQ(m_data.nNumBackups, 4);
        EXPECT_EQ(m_data.nNumDayBackup, 7);
    }
}

TEST_F(PrefBackupPropPageTest, CountsOnlyCompleteGenerationsAndDeletesALoneFile)
{
    CRecordingUiHost host;
    CCatalog main(ProgramPathFromHostPath((Home() / "archiv.cat").string()).c_str(), 1);
    CCatalog recycle(ProgramPathFromHostPath((Home() / "winrec.cat").string()).c_str(), 1);
    host.m_pMainCatalog = &main;
    host.m_pRecycleCatalog = &recycle;
    for (const char* pszName : { "archiv1.bck", "winrec1.bck", "archiv2.bck", "winrec2.bck", "archiv3.bck" })
        Touch(pszName);
    EXPECT_EQ(Run([](HWND, HWND) {}), IDOK);
    CString strExpected;
    strExpected.Format(IDS_BACKUPS_KEPT, 2);
    EXPECT_EQ(m_strKept, std::string(strExpected));
    EXPECT_FALSE(std::filesystem::exists(Home() / "archiv3.bck"));
    EXPECT_TRUE(std::filesystem::exists(Home() / "archiv2.bck"));
}

} // namespace
