// The general page in a preference sheet: the recently-catalogued choices
// and their days, a colour the combo does not offer kept as it came, the
// default folder checked on OK (missing, read-only, removable; empty passes)
// with the focus on it, and the picker filling the folder lower-cased.

#include "dialogs/preferences/CPrefGeneralPropPage.h"

#include "store/ResString.h"
#include "tests/dialogs/preferences/FolderPageTest.h"

namespace {

class PrefGeneralPropPageTest : public FolderPageTest {
protected:
    int Run(const std::function<void(HWND hSheet, HWND hPage)>& step)
    {
        CPrefGeneralPropPage page(m_data);
        return RunPage(page, step);
    }

    CPrefGeneralPageData m_data { 7, 1, 30, 0x0000FF, "", FALSE, TRUE };
};

TEST_F(PrefGeneralPropPageTest, TheDaysOfRecentDocumentsFollowTheirBox)
{
    BOOL bSince = FALSE;
    BOOL bWithin = TRUE;
    BOOL bDaysBefore = TRUE;
    BOOL bDaysAfter = FALSE;
    EXPECT_EQ(Run([&](HWND, HWND hPage) {
        bSince = Checked(hPage, IDC_GENERAL_SINCE_UPDATE);
        bWithin = Checked(hPage, IDC_GENERAL_WITHIN_DAYS);
        bDaysBefore = Enabled(hPage, IDC_GENERAL_RECENT_DAYS) || Enabled(hPage, IDC_GENERAL_RECENT_DAYS_SPIN);
        ClickButton(hPage, IDC_GENERAL_WITHIN_DAYS);
        bDaysAfter = Enabled(hPage, IDC_GENERAL_RECENT_DAYS) && Enabled(hPage, IDC_GENERAL_RECENT_DAYS_SPIN);
        ::SetDlgItemText(hPage, IDC_GENERAL_RECENT_DAYS, "12");
        ClickButton(hPage, IDC_GENERAL_MINIMIZE);
    }),
        IDOK);
    EXPECT_TRUE(bSince);
    EXPECT_FALSE(bWithin);
    EXPECT_FALSE(bDaysBefore);
    EXPECT_TRUE(bDaysAfter);
    EXPECT_EQ(m_data.nLastCatalogOption, 3);
    EXPECT_EQ(m_data.nNumDayRecentlyCatalog, 12);
    EXPECT_TRUE(m_data.bMinimize);
    EXPECT_TRUE(m_data.bOrphanWarning);
    EXPECT_EQ(m_data.nNumDayFileNew, 7);

    m_data.nLastCatalogOption = 9;
    EXPECT_EQ(Run([&](HWND, HWND hPage) {
        bSince = Checked(hPage, IDC_GENERAL_SINCE_UPDATE);
        bWithin = Checked(hPage, IDC_GENERAL_WITHIN_DAYS);
    }),
        IDOK);
    EXPECT_FALSE(bSince || bWithin) << "a value the page does not know checks neither";
    EXPECT_EQ(m_data.nLastCatalogOption, 0);
}

TEST_F(PrefGeneralPropPageTest, AColourTheComboDoesNotOfferIsKept)
{
    m_data.crRecentlyCatalog = RGB(1, 2, 3);
    int nShown = 0;
    EXPECT_EQ(
        Run([&](HWND, HWND hPage) { nShown = CTestDriver::Selection(::GetDlgItem(hPage, IDC_GENERAL_RECENT_COLOR)); }),
        IDOK);
    EXPECT_EQ(nShown, -1);
    EXPECT_EQ(m_data.crRecentlyCatalog, RGB(1, 2, 3));

    m_data.crRecentlyCatalog = 0x0000FF;
    std::string strShown;
    EXPECT_EQ(Run([&](HWND, HWND hPage) {
        HWND hCombo = ::GetDlgItem(hPage, IDC_GENERAL_RECENT_COLOR);
        strShown = CTestDriver::Items(hCombo).at(CTestDriver::Selection(hCombo));
        ::SendMessage(hCombo, CB_SETCURSEL, 0, 0);
    }),
        IDOK);
    EXPECT_EQ(strShown, "Red");
    EXPECT_EQ(m_data.crRecentlyCatalog, 0x000080u) << "the first colour, chosen";
}

TEST_F(PrefGeneralPropPageTest, TheDefaultFolderIsCheckedWithTheFocusOnIt)
{
    MakeFolder("copies");
    MakeReadOnlyFolder("locked");
    AddDrive('E', DRIVE_REMOVABLE);
    MakeFolder("stick", 'E');
    const struct {
        const char* pszFolder;
        UINT nMessage; // 0: accepted
    } cases[] = {
        { "", 0 },
        { "c:\\copies", 0 },
        { "c:\\missing", IDS_DEFAULT_FOLDER_MISSING },
        { "e:\\stick", IDS_DEFAULT_FOLDER_REMOVABLE },
        { "c:\\locked", IDS_DEFAULT_FOLDER_READ_ONLY },
    };
    for (const auto& c : cases) {
        const int nResult
            = Run([&](HWND, HWND hPage) { ::SetDlgItemText(hPage, IDC_GENERAL_COPY_FOLDER, c.pszFolder); });
        if (c.nMessage == 0) {
            EXPECT_EQ(nResult, IDOK) << c.pszFolder;
            EXPECT_TRUE(m_messages.empty()) << c.pszFolder << (m_messages.empty() ? "" : m_messages[0]);
            EXPECT_EQ(m_data.strDefaultDirCopyRem, c.pszFolder);
            continue;
        }
        EXPECT_EQ(nResult, IDCANCEL) << c.pszFolder;
        EXPECT_EQ(m_messages, (std::vector<std::string> { std::string(GetResString(c.nMessage)) })) << c.pszFolder;
        EXPECT_EQ(m_nFocusAfterRefusal, IDC_GENERAL_COPY_FOLDER) << c.pszFolder;
    }
}

TEST_F(PrefGeneralPropPageTest, DaysOutOfRangeGetTheClassLibrarysMessage)
{
    EXPECT_EQ(Run([](HWND, HWND hPage) { ::SetDlgItemText(hPage, IDC_PREF_DAYS, "100"); }), IDCANCEL);
    EXPECT_EQ(m_messages, (std::vector<std::string> { "Please enter an integer between 0 and 99." }));
    EXPECT_EQ(m_nFocusAfterRefusal, IDC_PREF_DAYS);
}

TEST_F(PrefGeneralPropPageTest, ThePickedFolderFillsTheEditLowerCased)
{
    MakeFolder("Work");
    std::string strFolder;
    std::string strDays;
    EXPECT_EQ(Run([&](HWND, HWND hPage) {
        ::SetDlgItemText(hPage, IDC_PREF_DAYS, "5");
        Pick(hPage, IDC_BROWSE, { "C (c:)", "Work" });
        strFolder = Text(hPage, IDC_GENERAL_COPY_FOLDER);
        strDays = Text(hPage, IDC_PREF_DAYS);
    }),
        IDOK);
    EXPECT_EQ(strFolder, "c:\\work");
    EXPECT_EQ(strDays, "5") << "what was typed elsewhere stays";
    EXPECT_EQ(m_data.strDefaultDirCopyRem, "c:\\work");
    EXPECT_EQ(m_data.nNumDayFileNew, 5);
}

} // namespace
