// The monitor's notification page in a preference sheet: a stored choice out
// of range, the telling choices disabled while everything is catalogued, and
// the values OK hands back.

#include "dialogs/preferences/CPrefNotificatorDlg.h"

#include "platform/framework/AfxMessages.h"
#include "tests/dialogs/preferences/PreferencePageTest.h"

namespace {

class PrefNotificatorDlgTest : public PreferencePageTest {
protected:
    int Run(const std::function<void(HWND hSheet, HWND hPage)>& step)
    {
        CPrefNotificatorDlg page(m_data);
        return RunPage(page, step);
    }

    CPrefNotificatorPageData m_data { 7, 1, TRUE };
};

TEST_F(PrefNotificatorDlgTest, OutOfRangeChoiceShowsAsByRulesAndIsSavedSo)
{
    BOOL bByRules = FALSE;
    BOOL bTrayOnly = FALSE;
    EXPECT_EQ(Run([&](HWND, HWND hPage) {
        bByRules = Checked(hPage, IDC_NOTIFY_BY_RULES);
        bTrayOnly = Checked(hPage, IDC_NOTIFY_TRAY_ONLY);
    }),
        IDOK);
    EXPECT_TRUE(bByRules);
    EXPECT_TRUE(bTrayOnly);
    EXPECT_EQ(m_data.nDSAutoCataloguing, CPrefNotificatorDlg::CATALOGUE_BY_RULES);
    EXPECT_EQ(m_data.nDSList, 1);
}

TEST_F(PrefNotificatorDlgTest, AlwaysCataloguingDisablesTheTellingChoicesButKeepsThem)
{
    m_data = { CPrefNotificatorDlg::CATALOGUE_NEVER, 0, FALSE };
    std::vector<BOOL> enabled;
    EXPECT_EQ(Run([&](HWND hSheet, HWND hPage) {
        EXPECT_TRUE(Checked(hPage, IDC_NOTIFY_NEVER));
        ClickButton(hPage, IDC_NOTIFY_TRAY_ONLY);
        ClickButton(hPage, IDC_NOTIFY_SOUND);
        ClickButton(hPage, IDC_NOTIFY_ALWAYS);
        ::SendMessage(hSheet, WM_KICKIDLE, MSGF_DIALOGBOX, 0);
        for (int nID : { IDC_NOTIFY_OPEN_WINDOW, IDC_NOTIFY_TRAY_ONLY, IDC_NOTIFY_SOUND })
            enabled.push_back(Enabled(hPage, nID));
    }),
        IDOK);
    EXPECT_EQ(enabled, (std::vector<BOOL> { FALSE, FALSE, FALSE }));
    EXPECT_EQ(m_data.nDSAutoCataloguing, CPrefNotificatorDlg::CATALOGUE_ALWAYS);
    EXPECT_EQ(m_data.nDSList, 1);
    EXPECT_TRUE(m_data.bDSPlaySound);
}

} // namespace
