// The recent-list page in a preference sheet: it shows the preferences
// object's values, writes them back only on OK, keeps option bits no row
// stands for, and refuses a length outside 1 to 50 on its page.

#include "dialogs/preferences/CPrefMostRecentsPropPage.h"

#include "dialogs/preferences/CKadPreferencesPropSheet.h"
#include "platform/framework/AfxMessages.h"
#include "platform/window/MessageBox.h"
#include "resources/ResourceIds.h"
#include "store/CPreferences.h"
#include "tests/ui/UiTestSupport.h"

#include <functional>
#include <string>
#include <vector>

namespace {

class PrefMostRecentsPropPageTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        thePreferences.m_nMostRecents = 12;
        thePreferences.m_dwMostRecentsOption = 0x1 | 0x8 | 0x40; // 0x40: a bit no row stands for
    }
    void TearDown() override
    {
        thePreferences.SetDefaults();
        UiTest::TearDown();
    }

    // Runs a sheet of the page; step runs on the shown page, then the sheet
    // ends with nButton. A message box shown is noted, answered, and the sheet cancelled.
    int Run(const std::function<void(HWND hPage)>& step, int nButton = IDOK)
    {
        CKadPreferencesPropSheet sheet(IDS_PREFERENCES, &Host());
        CPrefMostRecentsPropPage page;
        sheet.AddPage(&page);
        Driver().OnNextDialog([&](HWND hSheet) {
            HWND hPage = page.GetSafeHwnd();
            m_states = CTestDriver::CheckListStates(::GetDlgItem(hPage, IDC_RECENT_OPTIONS));
            m_strCount = CTestDriver::Text(::GetDlgItem(hPage, IDC_RECENT_COUNT));
            step(hPage);
            Driver().OnNextDialog([this](HWND hBox) {
                m_messages.emplace_back(CTestDriver::Text(::GetDlgItem(hBox, MESSAGEBOX_TEXT_ID)));
                ::EndDialog(hBox, IDOK);
            });
            ::SendMessage(hSheet, WM_COMMAND, nButton, 0);
            if (!m_messages.empty()) {
                m_bFocusOnCount = CTestDriver::Focus() == ::GetDlgItem(hPage, IDC_RECENT_COUNT);
                ::SendMessage(hSheet, WM_COMMAND, IDCANCEL, 0);
            }
        });
        return sheet.DoModal();
    }

    std::vector<int> m_states;
    std::string m_strCount;
    std::vector<std::string> m_messages;
    bool m_bFocusOnCount { false };
};

TEST_F(PrefMostRecentsPropPageTest, ShowsTheValuesAndOkWritesThemKeepingOtherBits)
{
    EXPECT_EQ(Run([&](HWND hPage) {
        HWND hList = ::GetDlgItem(hPage, IDC_RECENT_OPTIONS);
        EXPECT_TRUE(Driver().ClickCheckListBox(hList, 0));
        EXPECT_TRUE(Driver().ClickCheckListBox(hList, 3));
        ::SetDlgItemText(hPage, IDC_RECENT_COUNT, "50");
    }),
        IDOK);
    EXPECT_EQ(m_strCount, "12");
    EXPECT_EQ(m_states, (std::vector<int> { 1, 0, 1, 0 }));
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(thePreferences.m_nMostRecents, 50);
    EXPECT_EQ(thePreferences.m_dwMostRecentsOption, DWORD { 0x8 | 0x10 | 0x40 });
}

TEST_F(PrefMostRecentsPropPageTest, CancelLeavesThePreferencesAlone)
{
    EXPECT_EQ(Run(
                  [&](HWND hPage) {
                      EXPECT_TRUE(Driver().ClickCheckListBox(::GetDlgItem(hPage, IDC_RECENT_OPTIONS), 1));
                      ::SetDlgItemText(hPage, IDC_RECENT_COUNT, "3");
                  },
                  IDCANCEL),
        IDCANCEL);
    EXPECT_EQ(thePreferences.m_nMostRecents, 12);
    EXPECT_EQ(thePreferences.m_dwMostRecentsOption, DWORD { 0x1 | 0x8 | 0x40 });
}

TEST_F(PrefMostRecentsPropPageTest, LengthOutsideTheRangeIsRefusedAndNothingWritten)
{
    for (const char* pszCount : { "0", "51" }) {
        m_messages.clear();
        EXPECT_EQ(Run([&](HWND hPage) { ::SetDlgItemText(hPage, IDC_RECENT_COUNT, pszCount); }), IDCANCEL) << pszCount;
        EXPECT_EQ(m_messages, (std::vector<std::string> { "Please enter an integer between 1 and 50." }));
        EXPECT_TRUE(m_bFocusOnCount);
        EXPECT_EQ(thePreferences.m_nMostRecents, 12);
    }
}

} // namespace
