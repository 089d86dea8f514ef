#include "dialogs/setup/CDlgHtmlMessage.h"

#include "dialogs/setup/HtmlMessagePage.h"
#include "platform/base/PathMap.h"
#include "platform/shell/ProgramLaunch.h"
#include "platform/testing/DialogScript.h"
#include "resources/ResourceIds.h"
#include "store/CPreferences.h"
#include "store/CRegistryKey.h"
#include "tests/dialogs/setup/SmallDialogTest.h"
#include "webaccess/profiles/CWASettings.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

constexpr const char* SITE = "http://archivora.example/web?a='b'&c=<d>";

class CDlgHtmlMessageTest : public SmallDialogTest {
protected:
    void SetUp() override
    {
        SmallDialogTest::SetUp();
        m_settings.SetDefaults();
        m_settings.m_strSite = SITE;
        thePreferences.AttachWebSettings(&m_settings);
    }
    void TearDown() override
    {
        thePreferences.AttachWebSettings(nullptr);
        SmallDialogTest::TearDown();
    }

    static std::filesystem::path PageHostPath()
    {
        std::string strHost;
        EXPECT_TRUE(HostPathFromProgramPath(HtmlMessagePagePath(), strHost));
        return strHost;
    }
    static std::string Read(const std::filesystem::path& path)
    {
        std::ifstream file(path, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }
    // The notice flag as stored in the registry.
    static int StoredWarnConn()
    {
        CRegistryKey key;
        if (!key.Open(HKEY_CURRENT_USER, CPreferences::KEY_PATH))
            return -1;
        CWASettings stored;
        stored.Load(key);
        return stored.m_nWarnConn;
    }
    // Runs the dialog with the box set to nCheck, then OK; returns the URL the view shows.
    CString RunWithBox(UINT nCheck)
    {
        CString strUrl;
        CDialogScript script;
        script.Then([&](HWND hDlg) {
            EXPECT_FALSE(CTestDriver::IsChecked(CTestDriver::FindChild(hDlg, IDC_NOTICE_DONT_ASK)));
            if (auto* pView
                = dynamic_cast<CHtmlView*>(CWnd::FromHandle(CTestDriver::FindChild(hDlg, IDC_WA_NOTICE_PAGE))))
                strUrl = pView->GetLocationURL();
        });
        script.Check(IDC_NOTICE_DONT_ASK, nCheck).Press(IDOK);
        m_driver.AnswerNextDialog(std::move(script));
        CDlgHtmlMessage dlg(m_settings);
        EXPECT_EQ(dlg.DoModal(), IDOK);
        return strUrl;
    }

    CWASettings m_settings;
};

TEST_F(CDlgHtmlMessageTest, PageHoldsThePiecesInOrderWithTheSiteEscaped)
{
    ASSERT_EQ(BuildHtmlMessagePage(HtmlMessagePagePath(), SITE), 1);
    const std::string page = Read(PageHostPath());
    const std::string site = "http://archivora.example/web?a=&#39;b&#39;&#38;c=&#60;d>";
    const std::vector<std::string> pieces { "<html><head><BASE href='res://", "<table width='100%'",
        Loaded(IDS_WA_NOTICE_TITLE), "src='WA_LOGO.GIF'", Loaded(IDS_WA_NOTICE_TEXT),
        "<a class='link' href='" + site + "' target='_blank'>" + site + "</a>", Loaded(IDS_WA_NOTICE_SITE_AFTER),
        "</table></body></html>" };
    size_t nAt = 0;
    for (const std::string& piece : pieces) {
        const size_t nFound = page.find(piece, nAt);
        ASSERT_NE(nFound, std::string::npos) << piece;
        nAt = nFound + piece.size();
    }
    EXPECT_EQ(nAt, page.size());
    EXPECT_EQ(page.find(SITE), std::string::npos) << "the raw address would break the page";
    EXPECT_EQ(page.find('\0'), std::string::npos);
}

TEST_F(CDlgHtmlMessageTest, PageNeverWritesThroughAPlantedLink)
{
    const std::filesystem::path target = Home() / "elsewhere.html";
    std::ofstream(target) << "kept";
    std::filesystem::create_symlink(target, PageHostPath());
    ASSERT_EQ(BuildHtmlMessagePage(HtmlMessagePagePath(), SITE), 1);
    EXPECT_EQ(Read(target), "kept");
    EXPECT_FALSE(std::filesystem::is_symlink(PageHostPath()));
    EXPECT_NE(Read(PageHostPath()).find("WA_LOGO.GIF"), std::string::npos);
}

TEST_F(CDlgHtmlMessageTest, UncheckedBoxChangesNoSettingAndTheViewShowsThePage)
{
    const CString strUrl = RunWithBox(BST_UNCHECKED);
    EXPECT_NE(std::string(strUrl).find("~arch.html"), std::string::npos) << strUrl;
    EXPECT_EQ(m_settings.m_nWarnConn, 1);
    EXPECT_EQ(StoredWarnConn(), -1) << "nothing saved";
}

TEST_F(CDlgHtmlMessageTest, CheckedBoxTurnsTheNoticeOffAndSavesIt)
{
    RunWithBox(BST_CHECKED);
    EXPECT_EQ(m_settings.m_nWarnConn, 0);
    EXPECT_EQ(StoredWarnConn(), 0);
}

TEST_F(CDlgHtmlMessageTest, SiteLinkOpensTheAddressAsGivenInTheDesktopBrowser)
{
    const char* pszSite = "http://archivora.example/web?a=1&b='2'";
    m_settings.m_strSite = pszSite;
    CLaunchOverride launches;
    BOOL bClicked = FALSE;
    CDialogScript script;
    script.Then([&](HWND hDlg) {
        m_driver.Pump();
        bClicked = m_driver.ClickHtmlLink(CTestDriver::FindChild(hDlg, IDC_WA_NOTICE_PAGE), pszSite);
    });
    script.Press(IDOK);
    m_driver.AnswerNextDialog(std::move(script));
    CDlgHtmlMessage dlg(m_settings);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(bClicked);
    EXPECT_EQ(launches.GetLaunches(), (std::vector<std::vector<std::string>> { { "xdg-open", pszSite } }));
}

TEST_F(CDlgHtmlMessageTest, UnwritablePageStillOpensTheDialog)
{
    std::filesystem::create_directory(PageHostPath());
    std::ofstream(PageHostPath() / "inside") << "x";
    EXPECT_EQ(BuildHtmlMessagePage(HtmlMessagePagePath(), SITE), 0);
    RunWithBox(BST_UNCHECKED);
    EXPECT_TRUE(std::filesystem::is_directory(PageHostPath()));
}

} // namespace
