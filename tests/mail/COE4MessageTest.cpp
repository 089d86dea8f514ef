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

    static std::vector<std::string> Messages(int nCount)
    {
        std::vector<std::string> messages;
        for (int i = 0; i < nCount; ++i) {
            CFixtureMessage message;
            message.bCrLf = true;
            message.strSubject = "OE4 message " + std::to_string(i);
            message.strBody = "Line one.\nLine " + std::string(static_cast<size_t>(i), 'z') + "\n";
            messages.push_back(message.Text());
        }
        return messages;
    }

    TempFolder m_folder;
};

} // namespace

TEST_F(COE4MessageTest, ReadsEveryMessageWithIncreasingPositions)
{
    auto messages = Messages(4);
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
    auto messages = Messages(3);
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
    COe4Fixture fixture = BuildOe4Store(Messages(3), { 0, IDX_FLAG_DELETED, 0 });
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
    auto messages = Messages(3);
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
    auto messages = Messages(2);
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

// Bad input: each store ends with a failure code, never a crash or a hang.

TEST_F(COE4MessageTest, RejectsAWrongMbxSignature)
{
    COe4Fixture fixture = BuildOe4Store(Messages(1));
    fixture.strMbx[0] = 'X';
    std::string strStore = Store(fixture);
    COE4Message reader;
    EXPECT_EQ(reader.ReadNext(strStore.c_str(), 0, MAIL_MAX_PATH), MAIL_ERR_FORMAT);
    EXPECT_EQ(reader.GetResult(), MAIL_ERR_FORMAT);
}

TEST_F(COE4MessageTest, RejectsIndexItemsPointingPastTheMbx)
{
    COe4Fixture fixture = BuildOe4Store(Messages(2));
    size_t nSecondItem = FixtureGetU32(fixture.strIdx, IDX_HEADER_SIZE + 16) + IDX_HEADER_SIZE;
    FixturePutU32(fixture.strIdx, nSecondItem + IDX_ITEM_MBX_OFFSET_FIELD, 0x7FFFFF00);
    std::string strStore = Store(fixture);
    COE4Message reader;
    EXPECT_EQ(reader.ReadNext(strStore.c_str(), 0, MAIL_MAX_PATH), MAIL_ERR_FORMAT);
}

TEST_F(COE4MessageTest, RejectsDamagedIndexes)
{
    const auto Damage = [](COe4Fixture& f, int nCase) {
        switch (nCase) {
        case 0: f.strIdx[1] = '?'; break;                                        // Signature
        case 1: FixturePutU32(f.strIdx, IDX_COUNT_FIELD, 0x40000000); break;     // Count beyond the file
        case 2: FixturePutU32(f.strIdx, IDX_HEADER_SIZE + 16, 4); break;         // Item shorter than its fields
        case 3: FixturePutU32(f.strIdx, IDX_HEADER_SIZE + 16, 0xFFFFFFF0); break; // Item past the end
        case 4: FixturePutU32(f.strIdx, IDX_HEADER_SIZE + 12, 0); break;         // Wrong self offset
        case 5: f.strIdx.resize(40); break;                                      // Truncated header
        }
    };
    for (int nCase = 0; nCase < 6; ++nCase) {
        COe4Fixture fixture = BuildOe4Store(Messages(2));
        Damage(fixture, nCase);
        std::string strStore = Store(fixture);
        COE4Message reader;
        EXPECT_EQ(reader.ReadNext(strStore.c_str(), 0, MAIL_MAX_PATH), MAIL_ERR_FORMAT) << nCase;
    }
}

TEST_F(COE4MessageTest, EndsCleanlyOnDamagedMessages)
{
    const auto Damage = [](COe4Fixture& f, int nCase) {
        size_t nSecond = f.mbxOffsets[1];
        switch (nCase) {
        case 0: FixturePutU32(f.strMbx, nSecond, 0x12345678); break;           // Marker
        case 1: FixturePutU32(f.strMbx, nSecond + 8, 0xFFFFFFF0); break;       // Total size past the end
        case 2: FixturePutU32(f.strMbx, nSecond + 8, 4); break;                // Total size below the header
        case 3: FixturePutU32(f.strMbx, nSecond + 12, 0x7FFFFFFF); break;      // Text longer than the message
        case 4: f.strMbx.resize(nSecond + 20); break;                          // Truncated mid-message
        }
    };
    for (int nCase = 0; nCase < 5; ++nCase) {
        COe4Fixture fixture = BuildOe4Store(Messages(3));
        Damage(fixture, nCase);
        // The index still describes the intact store, so only the .mbx walk can notice.
        m_folder.WriteFile("Inbox.idx", BuildOe4Store({}).strIdx);
        std::string strStore = ProgramPath(m_folder.WriteFile("Inbox.mbx", fixture.strMbx));
        COE4Message reader;
        int nEnd = -1;
        auto results = ReadAll(reader, strStore, 0, &nEnd);
        EXPECT_EQ(results.size(), 1u) << nCase;
        EXPECT_EQ(nEnd, MAIL_ERR_FORMAT) << nCase;
    }
}

TEST_F(COE4MessageTest, FailsWithoutItsIndexOrStore)
{
    COe4Fixture fixture = BuildOe4Store(Messages(1));
    std::string strStore = ProgramPath(m_folder.WriteFile("Lonely.mbx", fixture.strMbx));
    COE4Message reader;
    EXPECT_EQ(reader.ReadNext(strStore.c_str(), 0, MAIL_MAX_PATH), MAIL_ERR_OPEN);
    COE4Message missing;
    EXPECT_EQ(missing.ReadNext(ProgramPath(m_folder / "none.mbx").c_str(), 0, MAIL_MAX_PATH), MAIL_ERR_OPEN);
    EXPECT_EQ(missing.Open(ProgramPath(m_folder / "none.mbx").c_str()), MAIL_ERR_OPEN);
}
