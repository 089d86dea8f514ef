// The preference sheets as the program's menu commands run them: the values
// copied in, the sheet through its entry point, copied out after OK.

#include "dialogs/preferences/PreferencePropSheets.h"

#include "dialogs/preferences/CPrefNotificatorDlg.h"
#include "dialogs/preferences/PreferenceDialogCalls.h"
#include "platform/controls/PropertySheet.h"
#include "platform/controls/TabControl.h"
#include "store/CPreferences.h"
#include "tests/dialogs/preferences/PreferencePageTest.h"
#include "webaccess/directory/CPrefWAConnectionPropPage.h"
#include "webaccess/profiles/CWASettings.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

constexpr int GENERAL_PAGES = 7;

class PreferencePropSheetsTest : public PreferencePageTest {
protected:
    void SetUp() override
    {
        PreferencePageTest::SetUp();
        thePreferences.Load();
        thePreferences.AttachWebSettings(&m_webSettings);
        thePreferences.SetColorsChangedHandler([this] { ++m_nColorsChanged; });
    }
    void TearDown() override
    {
        thePreferences.SetColorsChangedHandler(nullptr);
        thePreferences.AttachWebSettings(nullptr);
        PreferencePageTest::TearDown();
    }

    // Plays the frame's handler for eSheet: copy in, the sheet, step on the
    // open sheet, nButton, copy out after IDOK (its result in m_bSaved). The
    // tab texts shown are noted.
    int PlayCommand(
        CFramePrompts::ESheet eSheet, const std::function<void(HWND hSheet)>& step = nullptr, int nButton = IDOK)
    {
        CPreferencesArchivoraSheetData general;
        CPreferencesCatalogSheetData catalog;
        CPreferencesWebSheetData web;
        void* pData = &general;
        if (eSheet == CFramePrompts::ESheet::General)
            thePreferences.CopyToArchivoraSheet(general);
        else if (eSheet == CFramePrompts::ESheet::Catalog) {
            thePreferences.CopyToCatalogSheet(catalog, nullptr);
            pData = &catalog;
        } else {
            thePreferences.CopyToWebSheet(web);
            pData = &web;
        }
        m_tabs.clear();
        Driver().OnNextDialog([&](HWND hSheet) {
            m_tabs = TabTexts(hSheet);
            if (step)
                step(hSheet);
            ::SendMessage(hSheet, WM_COMMAND, nButton, 0);
        });
        const int nResult = RunPreferenceSheet(eSheet, pData, &Host());
        if (nResult != IDOK)
            return nResult;
        if (eSheet == CFramePrompts::ESheet::General)
            m_bSaved = thePreferences.CopyFromArchivoraSheet(general);
        else if (eSheet == CFramePrompts::ESheet::Catalog)
            m_bSaved = thePreferences.CopyFromCatalogSheet(catalog);
        else
            m_bSaved = thePreferences.CopyFromWebSheet(web);
        return nResult;
    }

    static std::vector<CString> TabTexts(HWND hSheet)
    {
        HWND hTabs = reinterpret_cast<HWND>(::SendMessage(hSheet, PSM_GETTABCONTROL, 0, 0));
        std::vector<CString> texts;
        const int nCount = static_cast<int>(::SendMessage(hTabs, TCM_GETITEMCOUNT, 0, 0));
        for (int nTab = 0; nTab < nCount; ++nTab) {
            char szText[CKadPreferencesPropSheet::TAB_TEXT_SIZE] = "";
            TCITEM item {};
            item.mask = TCIF_TEXT;
            item.pszText = szText;
            item.cchTextMax = sizeof szText;
            ::SendMessage(hTabs, TCM_GETITEM, static_cast<WPARAM>(nTab), reinterpret_cast<LPARAM>(&item));
            texts.emplace_back(szText);
        }
        return texts;
    }
    static HWND CurrentPage(HWND hSheet)
    {
        return reinterpret_cast<HWND>(::SendMessage(hSheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    }

    // The current user's registry file as it is on disk.
    std::string RegistryBytes() const
    {
        std::ifstream file(Home() / "settings" / "CurrentUser.reg", std::ios::binary);
        std::ostringstream bytes;
        bytes << file.rdbuf();
        return bytes.str();
    }

    CWASettings m_webSettings;
    std::vector<CString> m_tabs;
    BOOL m_bSaved { FALSE };
    int m_nColorsChanged { 0 };
};

TEST_F(PreferencePropSheetsTest, EachSheetShowsItsPagesInOrder)
{
    EXPECT_EQ(PlayCommand(CFramePrompts::ESheet::General, nullptr, IDCANCEL), IDCANCEL);
    EXPECT_EQ(m_tabs,
        (std::vector<CString> { "&General", "&Details", "&Update", "&Clean-up", "&Versions", "&Backup", "&Recent" }));
    EXPECT_EQ(PlayCommand(CFramePrompts::ESheet::Catalog, nullptr, IDCANCEL), IDCANCEL);
    EXPECT_EQ(m_tabs, (std::vector<CString> { "&Default System", "&Notification" }));
    EXPECT_EQ(PlayCommand(CFramePrompts::ESheet::Web, nullptr, IDCANCEL), IDCANCEL);
    EXPECT_EQ(m_tabs, (std::vector<CString> { "&Account", "&Connection" }));
}

TEST_F(PreferencePropSheetsTest, OkWithoutChangesSavesTheValuesUnchangedAndAnnouncesTheColours)
{
    thePreferences.m_strVersionControlText = "v#";
    thePreferences.m_nVersionControlPos = 1;
    thePreferences.m_nNumBackups = 5;
    thePreferences.m_nNumDayBackup = 0;
    thePreferences.m_nMostRecents = 12;
    ASSERT_TRUE(thePreferences.SaveGeneral());
    // Every page shown once, none changed.
    EXPECT_EQ(PlayCommand(CFramePrompts::ESheet::General,
                  [](HWND hSheet) {
                      for (int nPage = 0; nPage < GENERAL_PAGES; ++nPage)
                          ::SendMessage(hSheet, PSM_SETCURSEL, static_cast<WPARAM>(nPage), 0);
                  }),
        IDOK);
    EXPECT_TRUE(m_bSaved);
    EXPECT_EQ(m_nColorsChanged, 1);
    CPreferences reread;
    reread.Load();
    EXPECT_EQ(std::string(reread.m_strVersionControlText), "v#");
    EXPECT_EQ(reread.m_nVersionControlPos, 1);
    EXPECT_EQ(reread.m_nNumBackups, 5);
    EXPECT_EQ(reread.m_nNumDayBackup, 0);
    EXPECT_EQ(reread.m_nMostRecents, 12);
}

TEST_F(PreferencePropSheetsTest, CancelLeavesTheRegistryFileAsItWas)
{
    ASSERT_TRUE(thePreferences.SaveGeneral());
    ASSERT_TRUE(thePreferences.SaveDSSettings());
    const std::string strBefore = RegistryBytes();
    ASSERT_FALSE(strBefore.empty());
    EXPECT_EQ(PlayCommand(
                  CFramePrompts::ESheet::General,
                  [](HWND hSheet) {
                      ::SendMessage(hSheet, PSM_SETCURSELID, 0, IDD_PREF_VERSIONS);
                      ::SetDlgItemText(CurrentPage(hSheet), IDC_VERSION_TEXT, "x#");
                  },
                  IDCANCEL),
        IDCANCEL);
    EXPECT_EQ(PlayCommand(
                  CFramePrompts::ESheet::Catalog,
                  [](HWND hSheet) {
                      ::SendMessage(hSheet, PSM_SETCURSELID, 0, IDD_PREF_NOTIFICATION);
                      ::CheckRadioButton(CurrentPage(hSheet), IDC_NOTIFY_NEVER, IDC_NOTIFY_ALWAYS, IDC_NOTIFY_ALWAYS);
                  },
                  IDCANCEL),
        IDCANCEL);
    EXPECT_EQ(PlayCommand(CFramePrompts::ESheet::Web, nullptr, IDCANCEL), IDCANCEL);
    EXPECT_EQ(RegistryBytes(), strBefore);
    EXPECT_EQ(m_nColorsChanged, 0);
}

TEST_F(PreferencePropSheetsTest, MonitorAndWebChoicesReachTheStore)
{
    // A stored choice out of range shows as "by rules" and is saved as such.
    thePreferences.m_nDSAutoCataloguing = 7;
    EXPECT_EQ(PlayCommand(CFramePrompts::ESheet::Catalog,
                  [](HWND hSheet) { ::SendMessage(hSheet, PSM_SETCURSELID, 0, IDD_PREF_NOTIFICATION); }),
        IDOK);
    EXPECT_TRUE(m_bSaved);
    CPreferences reread;
    reread.Load();
    EXPECT_EQ(reread.m_nDSAutoCataloguing, CPrefNotificatorDlg::CATALOGUE_BY_RULES);

    m_webSettings.m_nConnType = CPrefWAConnectionPropPage::CONN_LAN;
    EXPECT_EQ(PlayCommand(CFramePrompts::ESheet::Web,
                  [this](HWND hSheet) {
                      ::SendMessage(hSheet, PSM_SETCURSEL, 1, 0);
                      ClickButton(CurrentPage(hSheet), IDC_WA_CONN_CABLE);
                  }),
        IDOK);
    EXPECT_TRUE(m_bSaved);
    EXPECT_EQ(m_webSettings.m_nConnType, CPrefWAConnectionPropPage::CONN_CABLE);
}

} // namespace
