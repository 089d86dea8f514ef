#include "mail/COE4Message.h"

#include "mail/MailResult.h"
#include "tests/mail/MailFixtures.h"
#include "tests/mail/MailReaderTestSupport.h"
#include "tests/support/TempFolder.h"

namespace {

class COE4MessageTest : public ::testing::Test {
protected:
    // Writes the store as Inbox.mbx and Inbox.idx; the .mbx program path.
    std::string Store(const COe4Fixture& store)
    {
        m_folder.WriteFile("Inbox.idx", store.strIdx);
        return ProgramPath(m_folder.WriteFile("Inbox.mbx", store.strMbx));
    }

    TempFolder m_folder;
};

} // namespace

TEST_F(COE4MessageTest, ReadsEveryMessageWithIncreasingPositions)
{
    auto messages = FixtureMessages("OE4 message ", 4);
    COe4Fixture fixture = BuildOe4Store(messages);
    std::string strStore = Store(fixture);
    COE4Message reader;
    int nEnd = -1;
    auto results = ReadAll(reader, strStore, 0, &nEnd);
    ASSERT_EQ(results.size(), 4u);
    EXPECT_EQ(nEnd, MAIL_END);
    for (size_t i = 0; i < results.size(); ++i) {
        EXPECT_EQ(results[i].nResult, MAIL_OK);
        EXPECT_EQ(results[i].dwStoreId, i + 1);
        EXPECT_EQ(results[i].strSubject, "OE4 message " + std::to_string(i));
        EXPECT_EQ(results[i].strRaw, messages[i]);
        EXPECT_EQ(results[i].dwOffset, fixture.mbxOffsets[i] + 16);
        EXPECT_EQ(results[i].dwPosition, i + 1 < results.size() ? fixture.mbxOffsets[i + 1] : fixture.strMbx.size());
    }
}

TEST_F(COE4MessageTest, ResumingYieldsOnlyAppendedMessages)
{
    auto messages = FixtureMessages("OE4 message ", 3);
    std::string strStore = Store(BuildOe4Store({ messages[0] }));
    COE4Message reader;
    auto before = ReadAll(reader, strStore);
    ASSERT_EQ(before.size(), 1u);
    Store(BuildOe4Store(messages));
    COE4Message resumed;
    auto after = ReadAll(resumed, strStore, before.back().dwPosition);
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after[0].strSubject, "OE4 message 1");
}

TEST_F(COE4MessageTest, DeletedAndUnlistedMessagesReadAsDeleted)
{
    COe4Fixture fixture = BuildOe4Store(FixtureMessages("OE4 message ", 3), { 0, IDX_FLAG_DELETED, 0 });
    // The third message loses its index item: the index lists two.
    FixturePutU32(fixture.strIdx, IDX_COUNT_FIELD, 2);
    std::string strStore = Store(fixture);
    COE4Message reader;
    auto results = ReadAll(reader, strStore);
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(results[0].nResult, MAIL_OK);
    EXPECT_EQ(results[1].nResult, MAIL_DELETED);
    EXPECT_FALSE(results[1].bValid);
    EXPECT_EQ(results[2].nResult, MAIL_DELETED);
}

TEST_F(COE4MessageTest, OpenSeekReadGiveTheExactStoredBytes)
{
    auto messages = FixtureMessages("OE4 message ", 3);
    messages[1] += std::string(3000, 'q');
    std::string strStore = Store(BuildOe4Store(messages));
    COE4Message reader;
    auto results = ReadAll(reader, strStore);
    ASSERT_EQ(results.size(), 3u);
    for (size_t i = 0; i < results.size(); ++i) {
        COE4Message download;
        EXPECT_EQ(ReadStored(download, strStore, results[i].dwOffset, results[i].dwLength, 512), messages[i]);
    }
    COE4Message beyond;
    ASSERT_EQ(beyond.Open(strStore.c_str()), MAIL_OK);
    EXPECT_EQ(beyond.Seek(0x7FFFFFFF), MAIL_ERR_SEEK);
}

TEST_F(COE4MessageTest, LoadsAMessageFromCatalogValues)
{
    auto messages = FixtureMessages("OE4 message ", 2);
    std::string strStore = Store(BuildOe4Store(messages));
    COE4Message reader;
    auto results = ReadAll(reader, strStore);
    ASSERT_EQ(results.size(), 2u);
    COE4Message loaded(results[1].dwStoreId, results[1].dwOffset, results[1].dwLength, "", strStore.c_str());
    ASSERT_EQ(loaded.Load(nullptr), MAIL_OK);
    EXPECT_STREQ(loaded.GetSubject(), "OE4 message 1");
    // A message number that does not match the stored one is not the catalogued message.
    COE4Message other(7, results[1].dwOffset, results[1].dwLength, "", strStore.c_str());
    EXPECT_EQ(other.Load(nullptr), MAIL_ERR_NOT_FOUND);
}

TEST_F(COE4MessageTest, ReadsARecordWrittenByteByByte)
{
    // One message as the client writes it, every byte spelled out: the record
    // starts with 00 7F 00 7F, the numbers are little-endian.
    const std::string strText = "Subject: By hand\r\n\r\nx\r\n"; // 23 bytes, padded to 24
    std::string strMbx = std::string("JMF6\x03\x00\x01\x01", 8)  // Signature, sub id
        + std::string("\x01\x00\x00\x00\x01\x00\x00\x00", 8)     // Message count, last message number
        + std::string("\x7C\x00\x00\x00\x01", 5)                 // File size 124, then 01
        + std::string(63, '\0')                                  // Rest of the 84-byte header
        + std::string("\x00\x7F\x00\x7F", 4)                     // Start of the record
        + std::string("\x01\x00\x00\x00\x28\x00\x00\x00", 8)     // Message number 1, record size 40
        + std::string("\x17\x00\x00\x00", 4)                     // Text size 23
        + strText + std::string(1, '\0');
    std::string strIdx = std::string("JMF9\x04\x00\x01\x00", 8) // Signature, sub id
        + std::string("\x01\x00\x00\x00\x6C\x00\x00\x00", 8)    // Item count 1, file size 108
        + std::string(64, '\0')                                 // Rest of the 80-byte header
        + std::string("\x00\x00\x00\x00\x00\x00\x00\x00", 8)    // Flags, reserved
        + std::string("\x01\x00\x00\x00\x50\x00\x00\x00", 8)    // Entry 1, item at 80
        + std::string("\x1C\x00\x00\x00\x54\x00\x00\x00", 8)    // Item size 28, record at 84
        + std::string("\x28\x00\x00\x00", 4);                   // Record size 40
    m_folder.WriteFile("Inbox.idx", strIdx);
    std::string strStore = ProgramPath(m_folder.WriteFile("Inbox.mbx", strMbx));

    COE4Message reader;
    int nEnd = -1;
    auto results = ReadAll(reader, strStore, 0, &nEnd);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(nEnd, MAIL_END);
    EXPECT_EQ(results[0].nResult, MAIL_OK);
    EXPECT_EQ(results[0].dwOffset, 100u);
    EXPECT_EQ(results[0].dwPosition, 124u);
    EXPECT_EQ(results[0].strRaw, strText);
}
