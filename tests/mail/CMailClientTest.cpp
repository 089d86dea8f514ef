#include "mail/CMailClient.h"

#include "mail/MailFile.h"
#include "platform/base/WinError.h"
#include "platform/shell/ProgramLaunch.h"
#include "tests/mail/MailFixtures.h"
#include "tests/mail/MailerFixtures.h"

namespace {

// A PATH holding only the stand-in mail clients a test installs, and a
// temporary folder of its own for archmsg.tmp.
class CMailClientTest : public ::testing::Test {
protected:
    CMailClientTest()
        : m_path("PATH", m_bin.Path().string())
        , m_tmp("TMPDIR", m_temp.Path().string())
    {
    }
    std::string InstallClient(const char* pszName)
    {
        auto path = m_bin.WriteFile(pszName, "#!/bin/sh\nexit 0\n");
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
        return path.string();
    }

    TempFolder m_bin;
    TempFolder m_temp;
    CLaunchOverride m_launches;

private:
    ScopedVariable m_path;
    ScopedVariable m_tmp;
};

} // namespace

TEST_F(CMailClientTest, ComposeWritesTheMessageFileAndStartsTheClient)
{
    std::string strClient = InstallClient("thunderbird");
    CMailClient client;
    ASSERT_TRUE(client.Compose("RE: Budget", "Ana <ana@example.com>, bo@example.com", "Fine.\r\n\r\nold text"));

    auto file = m_temp / "archmsg.tmp";
    EXPECT_EQ(ReadWholeFile(file),
        "To: Ana <ana@example.com>, bo@example.com\r\n"
        "Cc: \r\n"
        "Subject: RE: Budget\r\n"
        "Content-Type: text/plain; charset=UTF-8\r\n"
        "\r\n"
        "Fine.\r\n\r\nold text");
    ASSERT_EQ(m_launches.GetLaunches().size(), 1u);
    EXPECT_EQ(m_launches.GetLaunches()[0], (std::vector<std::string> { strClient, "-compose", file.string() }));
    EXPECT_EQ(HostArgumentOfPath(CMailClient::GetComposeFilePath()), file.string());
}

TEST_F(CMailClientTest, LineBreaksCannotAddHeaderLines)
{
    InstallClient("seamonkey");
    CMailClient client;
    ASSERT_TRUE(client.Compose("a\r\nBcc: eve@example.com", "x@example.com\nBcc: eve@example.com", nullptr));
    std::string strText = ReadWholeFile(m_temp / "archmsg.tmp");
    EXPECT_EQ(strText,
        "To: x@example.com Bcc: eve@example.com\r\n"
        "Cc: \r\n"
        "Subject: a  Bcc: eve@example.com\r\n"
        "Content-Type: text/plain; charset=UTF-8\r\n"
        "\r\n");
}

TEST_F(CMailClientTest, ComposeReplacesAnEarlierMessageFile)
{
    InstallClient("thunderbird");
    m_temp.WriteFile("archmsg.tmp", std::string(10000, 'Q'));
    CMailClient client;
    ASSERT_TRUE(client.Compose("s", "t", "b"));
    EXPECT_EQ(ReadWholeFile(m_temp / "archmsg.tmp").find('Q'), std::string::npos);
}

TEST_F(CMailClientTest, WithoutAClientNothingIsWrittenOrStarted)
{
    CMailClient client;
    EXPECT_FALSE(client.Compose("s", "t", "b"));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(client.Launch());
    EXPECT_FALSE(std::filesystem::exists(m_temp / "archmsg.tmp"));
    EXPECT_TRUE(m_launches.GetLaunches().empty());
}

TEST_F(CMailClientTest, LaunchStartsTheFirstClientFound)
{
    InstallClient("icedove");
    std::string strClient = InstallClient("thunderbird");
    CMailClient client;
    ASSERT_TRUE(client.Launch());
    ASSERT_EQ(m_launches.GetLaunches().size(), 1u);
    EXPECT_EQ(m_launches.GetLaunches()[0], (std::vector<std::string> { strClient }));
}

TEST_F(CMailClientTest, AnUnwritableMessageFileFailsTheCompose)
{
    InstallClient("thunderbird");
    std::filesystem::create_directories(m_temp / "archmsg.tmp");
    CMailClient client;
    EXPECT_FALSE(client.Compose("s", "t", "b"));
    EXPECT_TRUE(m_launches.GetLaunches().empty());
}
