#include "platform/shell/HtmlHelp.h"

#include "platform/base/WinError.h"
#include "platform/shell/ProgramLaunch.h"
#include "platform/testing/TestDriver.h"
#include "platform/window/Window.h"
#include "tests/platform/shell/ShellTreeFixture.h"

namespace {

class HtmlHelpTest : public ShellTreeTest {
protected:
    void SetUp() override
    {
        ShellTreeTest::SetUp();
        Write("fixed/Archhlp/HP2.HTM", "<html></html>");
        Write("data/archhlp/HELP.GIF", "GIF89a");
        m_pModulePath = std::make_unique<ScopedVariable>("ARCHIVORA_MODULE_PATH", Host("data"));
    }
    void TearDown() override
    {
        m_pModulePath.reset();
        ShellTreeTest::TearDown();
    }

    // Answers the next message box, keeping its text.
    void ExpectMessage()
    {
        m_driver.OnNextDialog([this](HWND hDlg) {
            for (HWND hChild = GetWindow(hDlg, GW_CHILD); hChild; hChild = GetWindow(hChild, GW_HWNDNEXT))
                m_strMessage += CTestDriver::Text(hChild) + "|";
            EndDialog(hDlg, IDOK);
        });
    }

    CTestDriver m_driver;
    CLaunchOverride m_launches;
    std::string m_strMessage;
    std::unique_ptr<ScopedVariable> m_pModulePath;
};

} // namespace

TEST_F(HtmlHelpTest, PagesBesideTheHelpFileOrWithTheProgramOpen)
{
    EXPECT_EQ(HtmlHelp(nullptr, "P:\\Archhlp.chm::/HP2.HTM", HH_DISPLAY_TOPIC, 0), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    ASSERT_EQ(m_launches.GetLaunches().size(), 1u);
    EXPECT_EQ(m_launches.GetLaunches()[0], (std::vector<std::string> { "xdg-open", Host("fixed/Archhlp/HP2.HTM") }));

    // The program folder holds data: its help file's pages are found with the program's files.
    EXPECT_EQ(HtmlHelp(nullptr, "C:\\elsewhere\\Archhlp.chm::/help.gif", HH_DISPLAY_TOPIC, 0), nullptr);
    ASSERT_EQ(m_launches.GetLaunches().size(), 2u);
    EXPECT_EQ(m_launches.GetLaunches()[1], (std::vector<std::string> { "xdg-open", Host("data/archhlp/HELP.GIF") }));
}

TEST_F(HtmlHelpTest, MissingHelpIsSaidInAMessageBox)
{
    ExpectMessage();
    EXPECT_EQ(HtmlHelp(nullptr, "P:\\Archhlp.chm::/HP9.HTM", HH_DISPLAY_TOPIC, 0), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_NE(m_strMessage.find("Help is not installed (HP9.HTM)."), std::string::npos) << m_strMessage;
    EXPECT_TRUE(m_launches.GetLaunches().empty());

    // No xdg-open to start: the same message.
    m_launches.FailLaunches();
    m_strMessage.clear();
    ExpectMessage();
    HtmlHelp(nullptr, "P:\\Archhlp.chm::/HP2.HTM", HH_DISPLAY_TOPIC, 0);
    EXPECT_NE(m_strMessage.find("Help is not installed (HP2.HTM)."), std::string::npos);

    EXPECT_EQ(HtmlHelp(nullptr, "P:\\Archhlp.chm", 0x0010, 0), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED);
}
