#include "mail/CMapiMail.h"

#include "platform/base/ProfileFile.h"
#include "platform/shell/ProgramLaunch.h"
#include "tests/mail/MailFixtures.h"
#include "tests/mail/MailerFixtures.h"

#include <memory>
#include <vector>

namespace {

// A program folder of its own, a PATH holding only a stand-in xdg-email and
// desktop folders holding only a mail program's launcher (each when asked
// for), so nothing installed here is found or started.
class CMapiMailTest : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        m_variables.push_back(std::make_unique<ScopedVariable>("PATH", m_bin.Path().string()));
        for (const char* pszName : { "XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_HOME" })
            m_variables.push_back(std::make_unique<ScopedVariable>(pszName, m_desktop.Path().string()));
    }
    void TearDown() override
    {
        m_variables.clear();
        ProgramFolderTest::TearDown();
    }
    std::string InstallHandOff()
    {
        auto path = m_bin.WriteFile("xdg-email", "#!/bin/sh\nexit 0\n");
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
        return path.string();
    }
    // The hand-off with a desktop mail program to give the message to.
    std::string InstallMailProgram()
    {
        auto program = m_bin.WriteFile("mailer", "#!/bin/sh\nexit 0\n");
        std::filesystem::permissions(program, std::filesystem::perms::owner_all);
        m_desktop.WriteFile("applications/mailer.desktop",
            "[Desktop Entry]\nType=Application\nName=Mail\nExec=mailer %u\nMimeType=x-scheme-handler/mailto;\n");
        return InstallHandOff();
    }

    TempFolder m_bin;
    TempFolder m_desktop;
    TempFolder m_files;
    CLaunchOverride m_launches;

private:
    std::vector<std::unique_ptr<ScopedVariable>> m_variables;
};

} // namespace

// IsMapiAvailable keeps its first answer for the life of the process, so each
// of these tests asks it once.
TEST_F(CMapiMailTest, AvailableWhenTheHandOffIsInstalled)
{
    InstallHandOff();
    EXPECT_TRUE(IsMapiAvailable());
}

TEST_F(CMapiMailTest, NotAvailableWithoutTheHandOff)
{
    EXPECT_FALSE(IsMapiAvailable());
}

TEST_F(CMapiMailTest, NotAvailableWhenWinIniSwitchesItOff)
{
    InstallHandOff();
    ASSERT_TRUE(WriteProfileString("MAIL", "MAPI", "0"));
    EXPECT_FALSE(IsMapiAvailable());
}

TEST_F(CMapiMailTest, SendHandsTheMessageToTheDesktopMailProgram)
{
    std::string strProgram = InstallMailProgram();
    auto report = m_files.WriteFile("report.odt", "data");
    auto notes = m_files.WriteFile("notes, café.txt", "data");
    CMapiMail mail("MAPI32.DLL");
    mail.AddText("Files:\n");
    ASSERT_TRUE(mail.AddAttachment(ProgramPath(report).c_str(), "report.odt"));
    mail.AddText("report.odt\n");
    ASSERT_TRUE(mail.AddAttachment(ProgramPath(notes).c_str(), "notes, café.txt"));
    EXPECT_EQ(mail.Send("Documents", MAPI_DIALOG), SUCCESS_SUCCESS);

    ASSERT_EQ(m_launches.GetLaunches().size(), 1u);
    EXPECT_EQ(m_launches.GetLaunches()[0],
        (std::vector<std::string> { strProgram, "--utf8", "--subject", "Documents", "--body", "Files:\nreport.odt\n",
            "--attach", report.string(), "--attach", notes.string() }));
}

TEST_F(CMapiMailTest, SendWithoutSubjectOrTextPassesNeither)
{
    std::string strProgram = InstallMailProgram();
    CMapiMail mail("MAPI32.DLL");
    EXPECT_EQ(mail.Send(nullptr, MAPI_DIALOG), SUCCESS_SUCCESS);
    ASSERT_EQ(m_launches.GetLaunches().size(), 1u);
    EXPECT_EQ(m_launches.GetLaunches()[0], (std::vector<std::string> { strProgram, "--utf8" }));
}

TEST_F(CMapiMailTest, AttachmentsMustBeReadableFiles)
{
    CMapiMail mail("MAPI32.DLL");
    std::filesystem::create_directories(m_files / "folder");
    EXPECT_FALSE(mail.AddAttachment(ProgramPath(m_files / "missing.txt").c_str(), "missing.txt"));
    EXPECT_FALSE(mail.AddAttachment(ProgramPath(m_files / "folder").c_str(), "folder"));
    EXPECT_FALSE(mail.AddAttachment(nullptr, nullptr));
    EXPECT_FALSE(mail.AddAttachment("C:\\a|b", "x"));
}

TEST_F(CMapiMailTest, SendFailsWhenTheHandOffIsMissingOrDoesNotStart)
{
    CMapiMail mail("MAPI32.DLL");
    EXPECT_EQ(mail.Send("s", MAPI_DIALOG), MAPI_E_FAILURE);
    EXPECT_TRUE(m_launches.GetLaunches().empty());

    // The hand-off without a desktop mail program would fail after it started.
    InstallHandOff();
    EXPECT_EQ(mail.Send("s", MAPI_DIALOG), MAPI_E_FAILURE);
    EXPECT_TRUE(m_launches.GetLaunches().empty());

    InstallMailProgram();
    m_launches.FailLaunches();
    EXPECT_EQ(mail.Send("s", MAPI_DIALOG), MAPI_E_FAILURE);
}
