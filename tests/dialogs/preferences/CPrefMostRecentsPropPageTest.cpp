// The recent-list page in a preference sheet: it shows the preferences
// object's values, one row per option the program acts on, writes them back
// only on OK, keeps option bits no row stands for, and refuses a length
// outside 1 to 50 on its page.

#include "dialogs/preferences/CPrefMostRecentsPropPage.h"

#include "store/CPreferences.h"
#include "tests/dialogs/preferences/PreferencePageTest.h"

namespace {

class PrefMostRecentsPropPageTest : public PreferencePageTest {
protected:
    void SetUp() override
    {
        PreferencePageTest::SetUp();
        thePreferences.m_nMostRecents = 12;
        thePreferences.m_dwMostRecentsOption = 0x1 | 0x8 | 0x40; // 0x8, 0x40: bits no row stands for
    }
    void TearDown() override
    {
        thePreferences.SetDefaults();
        PreferencePageTest::TearDown();
    }

    // Runs the page; what it shows first is noted.
    int Run(const std::function<void(HWND hPage)>& step, int nButton = IDOK)
    {
        CPrefMostRecentsPropPage page;
        return RunPage(
            page,
            [&](HWND, HWND hPage) {
                m_rows = CTestDriver::Items(::GetDlgItem(hPage, IDC_RECENT_OPTIONS));
                m_states = CTestDriver::CheckListStates(::GetDlgItem(hPage, IDC_RECENT_OPTIONS));
                m_strCount = Text(hPage, IDC_RECENT_COUNT);
                step(hPage);
            },
            nButton);
    }

    std::vector<CString> m_rows;
    std::vector<int> m_states;
    std::string m_strCount;
};

TEST_F(PrefMostRecentsPropPageTest, ShowsTheValuesAndOkWritesThemKeepingOtherBits)
{
    EXPECT_EQ(Run([&](HWND hPage) {
        HWND hList = ::GetDlgItem(hPage, IDC_RECENT_OPTIONS);
        EXPECT_TRUE(Driver().ClickCheckListBox(hList, 0));
        ::SetDlgItemText(hPage, IDC_RECENT_COUNT, "50");
    }),
        IDOK);
    EXPECT_EQ(m_strCount, "12");
    EXPECT_EQ(m_rows, (std::vector<CString> { "Add newly catalogued documents to the list" }));
    EXPECT_EQ(m_states, (std::vector<int> { 1 }));
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(thePreferences.m_nMostRecents, 50);
    EXPECT_EQ(thePreferences.m_dwMostRecentsOption, DWORD { 0x8 | 0x40 });
}

TEST_F(PrefMostRecentsPropPageTest, CancelLeavesThePreferencesAlone)
{
    EXPECT_EQ(Run(
                  [&](HWND hPage) {
                      EXPECT_TRUE(Driver().ClickCheckListBox(::GetDlgItem(hPage, IDC_RECENT_OPTIONS), 0));
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
        EXPECT_EQ(Run([&](HWND hPage) { ::SetDlgItemText(hPage, IDC_RECENT_COUNT, pszCount); }), IDCANCEL) << pszCount;
        EXPECT_EQ(m_messages, (std::vector<std::string> { "Please enter an integer between 1 and 50." }));
        EXPECT_EQ(m_nFocusAfterRefusal, IDC_RECENT_COUNT);
        EXPECT_EQ(thePreferences.m_nMostRecents, 12);
    }
}

} // namespace
