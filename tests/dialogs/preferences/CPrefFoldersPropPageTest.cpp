// The folders page of the documents sheet: the mode's boxes enable their
// lists, an unchecked box empties its list on OK, folders the page does not
// show are kept, catalogued folders go back with a final "\", and chosen
// folders without any folder are refused.

#include "dialogs/preferences/CPrefFoldersPropPage.h"

#include "platform/framework/AfxMessages.h"
#include "store/ResString.h"
#include "tests/dialogs/preferences/FolderPageTest.h"

namespace {

class PrefFoldersPropPageTest : public FolderPageTest {
protected:
    void SetUp() override
    {
        FolderPageTest::SetUp();
        MakeFolder("Temp");
        MakeFolder("Work");
        Fill(m_data.watchedFolders, { "c:\\temp", "e:\\gone", "c:\\" });
        Fill(m_data.catalogFolders, { "c:\\docs\\", "\\\\server\\share\\" });
    }
    int Run(const std::function<void(HWND hSheet, HWND hPage)>& step)
    {
        CPrefFoldersPropPage page(m_data);
        return RunPage(page, [&](HWND hSheet, HWND hPage) {
            m_watchedShown = Rows(hPage, IDC_FOLDERS_EXCLUDED);
            m_cataloguedShown = Rows(hPage, IDC_UPDATE_FOLDERS);
            step(hSheet, hPage);
        });
    }

    CPrefFoldersPageData m_data { 3, {}, {} };
    std::vector<std::string> m_watchedShown;
    std::vector<std::string> m_cataloguedShown;
};

TEST_F(PrefFoldersPropPageTest, AnUncheckedBoxEmptiesItsListAndFoldersNotShownAreKept)
{
    BOOL bWatchedEnabled = TRUE;
    BOOL bWatchedAddEnabled = TRUE;
    EXPECT_EQ(Run([&](HWND hSheet, HWND hPage) {
        ClickButton(hPage, IDC_FOLDERS_LOCAL_DISKS);
        ::SendMessage(hSheet, WM_KICKIDLE, MSGF_DIALOGBOX, 0);
        bWatchedEnabled = Enabled(hPage, IDC_FOLDERS_EXCLUDED);
        bWatchedAddEnabled = Enabled(hPage, IDC_FOLDERS_EXCLUDED_ADD);
        Pick(hPage, IDC_FOLDER_ADD, { "C (c:)", "Work" });
    }),
        IDOK);
    EXPECT_EQ(m_watchedShown, (std::vector<std::string> { "c:\\temp", "c:\\" }));
    EXPECT_EQ(m_cataloguedShown, (std::vector<std::string> { "c:\\docs\\" }));
    EXPECT_FALSE(bWatchedEnabled);
    EXPECT_FALSE(bWatchedAddEnabled);
    EXPECT_EQ(m_data.nMode, 2);
    EXPECT_TRUE(Strings(m_data.watchedFolders).empty());
    EXPECT_EQ(Strings(m_data.catalogFolders),
        (std::vector<std::string> { "c:\\docs\\", "c:\\work\\", "\\\\server\\share\\" }));
}

TEST_F(PrefFoldersPropPageTest, WatchedFoldersThatCannotBeReachedSurvive)
{
    m_data.nMode = 1;
    BOOL bCataloguedEnabled = TRUE;
    EXPECT_EQ(Run([&](HWND hSheet, HWND hPage) {
        ::SendMessage(hSheet, WM_KICKIDLE, MSGF_DIALOGBOX, 0);
        bCataloguedEnabled = Enabled(hPage, IDC_UPDATE_FOLDERS) || Enabled(hPage, IDC_FOLDER_ADD);
    }),
        IDOK);
    EXPECT_FALSE(bCataloguedEnabled);
    EXPECT_EQ(Strings(m_data.watchedFolders), (std::vector<std::string> { "c:\\temp", "c:\\", "e:\\gone" }));
    EXPECT_TRUE(Strings(m_data.catalogFolders).empty());
}

TEST_F(PrefFoldersPropPageTest, ChosenFoldersWithoutAnyAreRefused)
{
    m_data.nMode = 1;
    m_data.catalogFolders.RemoveAll();
    EXPECT_EQ(Run([&](HWND, HWND hPage) { ClickButton(hPage, IDC_FOLDERS_CHOSEN); }), IDCANCEL);
    EXPECT_EQ(m_messages, (std::vector<std::string> { std::string(GetResString(IDS_NO_FOLDER_TO_CATALOGUE)) }));
    EXPECT_EQ(m_nFocusAfterRefusal, IDC_UPDATE_FOLDERS);
}

} // namespace
