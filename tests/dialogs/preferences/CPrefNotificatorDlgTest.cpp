// The monitor's notification page in a preference sheet: a stored choice out
// of range, the telling choices disabled while everything is catalogued, and
// the values OK hands back.

#include "dialogs/preferences/CPrefNotificatorDlg.h"

#include "dialogs/preferences/CKadPreferencesPropSheet.h"
#include "platform/framework/AfxMessages.h"
#include "resources/ResourceIds.h"
#include "tests/ui/UiTestSupport.h"

#include <functional>
#include <vector>

namespace {

class PrefNotificatorDlgTest : public UiTest {
protected:
    // Runs a sheet of the page; step runs on the shown page, then OK is pressed.
    int Run(const std::function<void(HWND hSheet, HWND hPage)>& step)
    {
        CKadPreferencesPropSheet sheet(IDS_MONITOR_PREFERENCES, &Host());
        CPrefNotificatorDlg page(m_data);
        sheet.AddPage(&page);
        Driver().OnNextDialog([&](HWND hSheet) {
            step(hSheet, page.GetSafeHwnd());
            ::SendMessage(hSheet, WM_COMMAND, IDOK, 0);
        });
        return sheet.DoModal();
    }

    void ClickButton(HWND hPage, int nID)
    {
        HWND hButton = ::GetDlgItem(hPage, nID);
        RECT rect {};
        ::GetClientRect(hButton, &rect);
        Driver().Click(hButton, rect.right / 2, rect.bottom / 2);
    }
    static BOOL Checked(HWND hPage, int nID) { return CTestDriver::IsChecked(::GetDlgItem(hPage, nID)); }
    static BOOL Enabled(HWND hPage, int nID) { return CTestDriver::IsEnabled(::GetDlgItem(hPage, nID)); }

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
