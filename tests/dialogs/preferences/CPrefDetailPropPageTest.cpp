// The details page in a preference sheet: it shows the host list's choices,
// hands them back on OK only (mapped by column, not by position), keeps the
// size unit choosable only with the size column, and without a list leaves
// the columns alone while the tip choice still travels.

#include "dialogs/preferences/CPrefDetailPropPage.h"

#include "platform/framework/AfxMessages.h"
#include "tests/dialogs/preferences/PreferencePageTest.h"
#include "tests/ui/RecordingUiHost.h"

namespace {

class PrefDetailPropPageTest : public PreferencePageTest {
protected:
    PrefDetailPropPageTest()
    {
        m_host.m_bHasListColumns = TRUE;
        m_host.m_listColumns.bName = TRUE;
        m_host.m_listColumns.bSize = TRUE;
        m_host.m_listColumns.bSizeInKB = TRUE;
        m_host.m_listColumns.bDetailExtension = TRUE;
        m_host.m_bListExtension = TRUE;
    }

    int Run(const std::function<void(HWND hSheet, HWND hPage)>& step, int nButton = IDOK)
    {
        CPrefDetailPropPage page(m_data);
        return RunPage(page, step, nButton);
    }

    CRecordingUiHost m_host;
    CPrefDetailPageData m_data { FALSE };
};

TEST_F(PrefDetailPropPageTest, ShowsTheListsChoicesAndOkHandsThemBackByColumn)
{
    std::vector<BOOL> shown;
    EXPECT_EQ(Run([&](HWND, HWND hPage) {
        for (int nID : { IDC_DETAIL_NAME, IDC_DETAIL_SIZE, IDC_DETAIL_EXTENSION, IDC_DETAIL_LIST_EXTENSION,
                 IDC_DETAIL_KBYTES, IDC_DETAIL_ACCESSED, IDC_DETAIL_FOLDER })
            shown.push_back(Checked(hPage, nID));
        ClickButton(hPage, IDC_DETAIL_CLEAR_ALL);
        ClickButton(hPage, IDC_DETAIL_FOLDER);
        ClickButton(hPage, IDC_DETAIL_SIZE);
        ClickButton(hPage, IDC_DETAIL_BYTES);
        ClickButton(hPage, IDC_DETAIL_DESCRIPTION_TIP);
    }),
        IDOK);
    EXPECT_EQ(shown, (std::vector<BOOL> { TRUE, TRUE, TRUE, TRUE, TRUE, FALSE, FALSE }));
    EXPECT_EQ(m_host.m_calls, (std::vector<std::string> { "ApplyListColumns" }));
    const CListColumnChoices& applied = m_host.m_listColumns;
    EXPECT_TRUE(applied.bLabel);
    EXPECT_TRUE(applied.bSize);
    EXPECT_FALSE(applied.bName);
    EXPECT_FALSE(applied.bDetailExtension);
    EXPECT_FALSE(applied.bSizeInKB);
    EXPECT_TRUE(applied.bSizeInBytes);
    EXPECT_TRUE(m_host.m_bListExtension); // "clear all" leaves the list style's extension alone
    EXPECT_TRUE(m_data.bDescrTip);
}

TEST_F(PrefDetailPropPageTest, SizeUnitIsChoosableOnlyWithTheSizeColumn)
{
    std::vector<BOOL> enabled;
    EXPECT_EQ(Run([&](HWND hSheet, HWND hPage) {
        ::SendMessage(hSheet, WM_KICKIDLE, MSGF_DIALOGBOX, 0);
        enabled.push_back(Enabled(hPage, IDC_DETAIL_BYTES));
        ClickButton(hPage, IDC_DETAIL_SIZE);
        ::SendMessage(hSheet, WM_KICKIDLE, MSGF_DIALOGBOX, 0);
        enabled.push_back(Enabled(hPage, IDC_DETAIL_KBYTES));
        enabled.push_back(Enabled(hPage, IDC_DETAIL_BYTES));
    }),
        IDOK);
    EXPECT_EQ(enabled, (std::vector<BOOL> { TRUE, FALSE, FALSE }));
    EXPECT_FALSE(m_host.m_listColumns.bSize);
    EXPECT_TRUE(m_host.m_listColumns.bSizeInKB);
}

TEST_F(PrefDetailPropPageTest, WithoutAListTheColumnsAreDisabledAndLeftAlone)
{
    m_host.m_bHasListColumns = FALSE;
    std::vector<BOOL> enabled;
    EXPECT_EQ(Run([&](HWND, HWND hPage) {
        for (int nID : { IDC_DETAIL_NAME, IDC_DETAIL_EXTENSION, IDC_DETAIL_LIST_EXTENSION, IDC_DETAIL_CHECK_ALL,
                 IDC_DETAIL_DESCRIPTION_TIP })
            enabled.push_back(Enabled(hPage, nID));
        ClickButton(hPage, IDC_DETAIL_DESCRIPTION_TIP);
    }),
        IDOK);
    EXPECT_EQ(enabled, (std::vector<BOOL> { FALSE, FALSE, FALSE, FALSE, TRUE }));
    EXPECT_TRUE(m_host.m_calls.empty());
    EXPECT_TRUE(m_data.bDescrTip);
}

TEST_F(PrefDetailPropPageTest, CancelHandsNothingBack)
{
    EXPECT_EQ(Run([&](HWND, HWND hPage) { ClickButton(hPage, IDC_DETAIL_CHECK_ALL); }, IDCANCEL), IDCANCEL);
    EXPECT_TRUE(m_host.m_calls.empty());
}

} // namespace
