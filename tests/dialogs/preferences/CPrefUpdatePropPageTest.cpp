// The update page in a preference sheet: the two switches, the fast-update
// folders listed when they can be reached (drive roots too), kept when they
// cannot, added once from the picker, removed by selection.

#include "dialogs/preferences/CPrefUpdatePropPage.h"

#include "platform/framework/AfxMessages.h"
#include "tests/dialogs/preferences/FolderPageTest.h"

namespace {

class PrefUpdatePropPageTest : public FolderPageTest {
protected:
    int Run(const std::function<void(HWND hSheet, HWND hPage)>& step)
    {
        CPrefUpdatePropPage page(m_data);
        return RunPage(page, [&](HWND hSheet, HWND hPage) {
            m_shown = Rows(hPage, IDC_UPDATE_FOLDERS);
            step(hSheet, hPage);
        });
    }

    CPrefUpdatePageData m_data;
    std::vector<std::string> m_shown;
};

TEST_F(PrefUpdatePropPageTest, FoldersThatCannotBeReachedAreKeptAfterTheListedOnes)
{
    MakeFolder("Work");
    MakeFolder("Docs");
    m_data.nUpdateOption = 2;
    Fill(m_data.fastUpdateDir, { "C:\\Work", "e:\\gone", "c:\\", "c:\\missing" });
    BOOL bPlaces = TRUE;
    EXPECT_EQ(Run([&](HWND hSheet, HWND hPage) {
        bPlaces = Checked(hPage, IDC_UPDATE_IN_PLACES);
        ClickButton(hPage, IDC_UPDATE_IN_PLACES);
        SelectRow(hPage, IDC_UPDATE_FOLDERS, 0);
        ::SendMessage(hSheet, WM_KICKIDLE, MSGF_DIALOGBOX, 0);
        ClickButton(hPage, IDC_FOLDER_REMOVE);
        Pick(hPage, IDC_FOLDER_ADD, { "C (c:)", "Docs" });
    }),
        IDOK);
    EXPECT_EQ(m_shown, (std::vector<std::string> { "c:\\work", "c:\\" }));
    EXPECT_FALSE(bPlaces);
    EXPECT_EQ(m_data.nUpdateOption, 3);
    EXPECT_EQ(
        Strings(m_data.fastUpdateDir), (std::vector<std::string> { "c:\\", "c:\\docs", "e:\\gone", "c:\\missing" }));
}

TEST_F(PrefUpdatePropPageTest, AFolderListedInAnotherCaseIsNotAddedAgain)
{
    MakeFolder("Work");
    Fill(m_data.fastUpdateDir, { "c:\\work" });
    std::vector<std::string> after;
    EXPECT_EQ(Run([&](HWND, HWND hPage) {
        Pick(hPage, IDC_FOLDER_ADD, { "C (c:)", "Work" });
        after = Rows(hPage, IDC_UPDATE_FOLDERS);
    }),
        IDOK);
    EXPECT_EQ(after, (std::vector<std::string> { "c:\\work" }));
    EXPECT_EQ(Strings(m_data.fastUpdateDir), (std::vector<std::string> { "c:\\work" }));
}

TEST_F(PrefUpdatePropPageTest, RemoveNeedsASelectionAndRemovesEverySelectedRow)
{
    MakeFolder("a");
    MakeFolder("a-much-longer-folder-name");
    MakeFolder("b");
    Fill(m_data.fastUpdateDir, { "c:\\a-much-longer-folder-name", "c:\\a", "c:\\b" });
    BOOL bBefore = TRUE;
    BOOL bSelected = FALSE;
    int nWidthBefore = 0;
    int nWidthAfter = 0;
    EXPECT_EQ(Run([&](HWND hSheet, HWND hPage) {
        HWND hList = ::GetDlgItem(hPage, IDC_UPDATE_FOLDERS);
        ::SendMessage(hSheet, WM_KICKIDLE, MSGF_DIALOGBOX, 0);
        bBefore = Enabled(hPage, IDC_FOLDER_REMOVE);
        nWidthBefore = CTestDriver::ListColumnWidths(hList).at(0);
        Driver().ClickListRow(hList, 0);
        Driver().ClickListRow(hList, 2, 0, CTestDriver::CONTROL);
        ::SendMessage(hSheet, WM_KICKIDLE, MSGF_DIALOGBOX, 0);
        bSelected = Enabled(hPage, IDC_FOLDER_REMOVE);
        ClickButton(hPage, IDC_FOLDER_REMOVE);
        nWidthAfter = CTestDriver::ListColumnWidths(hList).at(0);
    }),
        IDOK);
    EXPECT_FALSE(bBefore);
    EXPECT_TRUE(bSelected);
    EXPECT_LT(nWidthAfter, nWidthBefore) << "the column fits the text left";
    EXPECT_EQ(Strings(m_data.fastUpdateDir), (std::vector<std::string> { "c:\\a" }));
}

} // namespace
