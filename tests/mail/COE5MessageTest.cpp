#include "mail/COE5Message.h"

#include "mail/MailResult.h"
#include "tests/mail/MailFixtures.h"
#include "tests/mail/MailReaderTestSupport.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestData.h"

namespace {

class COE5MessageTest : public ::testing::Test {
protected:
    std::string Store(const std::string& strDbx) { return ProgramPath(m_folder.WriteFile("Inbox.dbx", strDbx)); }

    TempFolder m_folder;
};

} // namespace

TEST_F(COE5MessageTest, ReadsEveryMessageInFolderOrder)
{
    // More messages than one tree node holds, each spanning several chunks.
    auto messages = FixtureMessages("OE5 message ", 120, 1500);
    CDbxFixture fixture = BuildDbx(messages);
    ASSERT_GT(fixture.nodes.size(), 1u);
    std::string strStore = Store(fixture.strDbx);
    COE5Message reader;
    int nEnd = -1;
    auto results = ReadAll(reader, strStore, 0, &nEnd);
    ASSERT_EQ(results.size(), messages.size());
    EXPECT_EQ(nEnd, MAIL_END);
    for (size_t i = 0; i < results.size(); ++i) {
        EXPECT_EQ(results[i].nResult, MAIL_OK);
        EXPECT_TRUE(results[i].bValid);
        EXPECT_EQ(results[i].strRaw, messages[i]) << i;
        EXPECT_EQ(results[i].dwStoreId, i + 1);
        EXPECT_EQ(results[i].dwOffset, fixture.firstChunks[i]);
        EXPECT_EQ(results[i].dwPosition, i + 1);
    }
}

TEST_F(COE5MessageTest, ResumingYieldsOnlyAppendedMessages)
{
    auto messages = FixtureMessages("OE5 message ", 5);
    std::string strStore = Store(BuildDbx({ messages[0], messages[1] }).strDbx);
    COE5Message reader;
    auto before = ReadAll(reader, strStore);
    ASSERT_EQ(before.size(), 2u);
    Store(BuildDbx(messages).strDbx);
    COE5Message resumed;
    auto after = ReadAll(resumed, strStore, before.back().dwPosition);
    ASSERT_EQ(after.size(), 3u);
    EXPECT_EQ(after[0].strSubject, "OE5 message 2");
}

TEST_F(COE5MessageTest, ReadGivesTheMessageAcrossItsChunks)
{
    auto messages = FixtureMessages("OE5 message ", 2, 2000);
    CDbxFixture fixture = BuildDbx(messages);
    std::string strStore = Store(fixture.strDbx);
    for (size_t i = 0; i < messages.size(); ++i) {
        for (int nStep : { 512, 1024, 7 }) {
            COE5Message reader;
            EXPECT_EQ(
                ReadStored(reader, strStore, fixture.firstChunks[i], static_cast<DWORD>(messages[i].size()), nStep),
                messages[i]);
        }
    }
    COE5Message beyond;
    ASSERT_EQ(beyond.Open(strStore.c_str()), MAIL_OK);
    EXPECT_EQ(beyond.Seek(static_cast<DWORD>(fixture.strDbx.size() + 10)), MAIL_ERR_SEEK);
    // An offset that is no chunk is refused as well.
    EXPECT_EQ(beyond.Seek(fixture.firstChunks[0] + 4), MAIL_ERR_SEEK);
}

TEST_F(COE5MessageTest, LoadsAMessageFromCatalogValues)
{
    auto messages = FixtureMessages("OE5 message ", 3);
    CDbxFixture fixture = BuildDbx(messages);
    std::string strStore = Store(fixture.strDbx);
    COE5Message loaded(2, fixture.firstChunks[1], static_cast<DWORD>(messages[1].size()), "", strStore.c_str());
    ASSERT_EQ(loaded.Load(nullptr), MAIL_OK);
    EXPECT_STREQ(loaded.GetSubject(), "OE5 message 1");
    COE5Message wrong(2, fixture.firstChunks[1] + 16, 10, "", strStore.c_str());
    EXPECT_EQ(wrong.Load(nullptr), MAIL_ERR_NOT_FOUND);
}

TEST(COE5MessageSharedTest, ReadsRealFolders)
{
    auto folder = SharedTestData("mail/oe5-dbx");
    if (!folder)
        GTEST_SKIP() << "shared test data absent";
    const struct {
        const char* pszFile;
        const char* pszSubject;
        size_t nLength;
    } cases[] = {
        { "one-message-a.dbx", "Please read you won't be sorry........", 16993 },
        { "one-message-b.dbx", "[fmII] centericq 4.7.5 released (Default branch)", 2710 },
    };
    for (const auto& c : cases) {
        std::string strStore = ProgramPath(*folder / c.pszFile);
        COE5Message reader;
        int nEnd = -1;
        auto results = ReadAll(reader, strStore, 0, &nEnd);
        ASSERT_EQ(results.size(), 1u) << c.pszFile;
        EXPECT_EQ(nEnd, MAIL_END);
        EXPECT_EQ(results[0].strSubject, c.pszSubject);
        EXPECT_EQ(results[0].dwLength, c.nLength);
        COE5Message download;
        EXPECT_EQ(ReadStored(download, strStore, results[0].dwOffset, results[0].dwLength, 512), results[0].strRaw);
    }
}
