#include "mail/COE4Message.h"

#include "mail/MailResult.h"
#include "tests/mail/MailFixtures.h"
#include "tests/mail/MailReaderTestSupport.h"
#include "tests/support/TempFolder.h"

#include <algorithm>
#include <cstdint>

namespace {

class COE4MessageCorruptTest : public ::testing::Test {
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

// Damaged stores end with a failure code, never a crash or a hang.

TEST_F(COE4MessageCorruptTest, RejectsAWrongMbxSignature)
{
    COe4Fixture fixture = BuildOe4Store(FixtureMessages("OE4 message ", 1));
    fixture.strMbx[0] = 'X';
    std::string strStore = Store(fixture);
    COE4Message reader;
    EXPECT_EQ(reader.ReadNext(strStore.c_str(), 0, MAIL_MAX_PATH), MAIL_ERR_FORMAT);
    EXPECT_EQ(reader.GetResult(), MAIL_ERR_FORMAT);
}

TEST_F(COE4MessageCorruptTest, ADamagedIndexLosesOnlyTheMessagesPastTheDamage)
{
    // clang-format off
    const auto Damage = [](COe4Fixture& f, int nCase) {
        switch (nCase) {
        case 0: f.strMbx.resize(f.mbxOffsets[2]); break;       // Truncated right after the second
        case 1: FixturePutU32(f.strIdx, IDX_HEADER_SIZE + FixtureGetU32(f.strIdx, IDX_HEADER_SIZE + 16)
                    + IDX_ITEM_MBX_OFFSET_FIELD, 0x7FFFFF00); break; // The second item far past the end
        }
    };
    // clang-format on
    for (int nCase = 0; nCase < 2; ++nCase) {
        COe4Fixture fixture = BuildOe4Store(FixtureMessages("OE4 message ", 3));
        Damage(fixture, nCase);
        std::string strStore = Store(fixture);
        COE4Message reader;
        int nEnd = -1;
        auto results = ReadAll(reader, strStore, 0, &nEnd);
        ASSERT_EQ(results.size(), nCase == 0 ? 2u : 1u) << nCase;
        EXPECT_EQ(nEnd, MAIL_ERR_FORMAT) << nCase;
        // A message before the damage loads from its catalog values, the third one does not.
        COE4Message loaded(results[0].dwStoreId, results[0].dwOffset, results[0].dwLength, "", strStore.c_str());
        EXPECT_EQ(loaded.Load(nullptr), MAIL_OK) << nCase;
        COE4Message beyond(3, fixture.mbxOffsets[2] + MBX_MESSAGE_HEADER_SIZE, 1, "", strStore.c_str());
        EXPECT_EQ(beyond.Load(nullptr), MAIL_ERR_FORMAT) << nCase;
    }
}

TEST_F(COE4MessageCorruptTest, RecordsWithWrongSizesLoseNoMessage)
{
    // Two records as a client writes them, every byte spelled out (numbers
    // little-endian); the index lists both. Each case gets one size wrong.
    const auto Le32 = [](uint32_t n) {
        return std::string { static_cast<char>(n), static_cast<char>(n >> 8), static_cast<char>(n >> 16),
            static_cast<char>(n >> 24) };
    };
    const std::string strFirst = "Subject: One\r\n\r\nfirst\r\n";   // 23 bytes, padded to 24
    const std::string strSecond = "Subject: Two\r\n\r\nsecond\r\n"; // 24 bytes
    struct CCase {
        const char* pszWhat;
        uint32_t nFirstSize, nSecondSize, nSecondText; // as the records declare them; the true sizes are 40, 40, 24
    };
    for (const CCase& test : { CCase { "the first record 4 bytes too long", 44, 40, 24 },
             CCase { "the last record 7 bytes past the end of the file", 40, 47, 31 } }) {
        const std::string strMbx = std::string("JMF6\x03\x00\x01\x01", 8) // Signature, sub id
            + std::string("\x02\x00\x00\x00\x02\x00\x00\x00", 8)          // Message count, last message number
            + std::string("\xA4\x00\x00\x00\x01", 5)                      // File size 164, then 01
            + std::string(63, '\0')                                       // Rest of the 84-byte header
            + std::string("\x00\x7F\x00\x7F\x01\x00\x00\x00", 8)          // Record 1 at 84
            + Le32(test.nFirstSize) + Le32(23) + strFirst + std::string(1, '\0')
            + std::string("\x00\x7F\x00\x7F\x02\x00\x00\x00", 8) // Record 2 at 124
            + Le32(test.nSecondSize) + Le32(test.nSecondText) + strSecond;
        const std::string strIdx = std::string("JMF9\x04\x00\x01\x00", 8)               // Signature, sub id
            + std::string("\x02\x00\x00\x00\x88\x00\x00\x00", 8)                        // Item count 2, file size 136
            + std::string(64, '\0')                                                     // Rest of the 80-byte header
            + std::string(8, '\0') + std::string("\x01\x00\x00\x00\x50\x00\x00\x00", 8) // Entry 1, item at 80
            + std::string("\x1C\x00\x00\x00\x54\x00\x00\x00", 8)                        // Item size 28, record at 84
            + Le32(test.nFirstSize)                                                     // Record size
            + std::string(8, '\0') + std::string("\x02\x00\x00\x00\x6C\x00\x00\x00", 8) // Entry 2, item at 108
            + std::string("\x1C\x00\x00\x00\x7C\x00\x00\x00", 8)                        // Item size 28, record at 124
            + Le32(test.nSecondSize);
        m_folder.WriteFile("Inbox.idx", strIdx);
        const std::string strStore = ProgramPath(m_folder.WriteFile("Inbox.mbx", strMbx));

        COE4Message reader;
        int nEnd = -1;
        auto results = ReadAll(reader, strStore, 0, &nEnd);
        EXPECT_EQ(nEnd, MAIL_END) << test.pszWhat;
        EXPECT_EQ(results.size(), 2u) << test.pszWhat;
        if (results.size() != 2u)
            continue;
        EXPECT_EQ(results[0].strRaw, strFirst) << test.pszWhat;
        EXPECT_EQ(results[1].strRaw, strSecond) << test.pszWhat;
        EXPECT_TRUE(results[0].bValid && results[1].bValid) << test.pszWhat;
        // The catalog values the walk gave load each message again.
        for (const CReadResult& read : results) {
            COE4Message loaded(read.dwStoreId, read.dwOffset, read.dwLength, "", strStore.c_str());
            EXPECT_EQ(loaded.Load(nullptr), MAIL_OK) << test.pszWhat;
            EXPECT_EQ(loaded.GetRawMessage(), read.strRaw) << test.pszWhat;
        }
    }
}

TEST_F(COE4MessageCorruptTest, RejectsDamagedIndexes)
{
    // clang-format off
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
    // clang-format on
    for (int nCase = 0; nCase < 6; ++nCase) {
        COe4Fixture fixture = BuildOe4Store(FixtureMessages("OE4 message ", 2));
        Damage(fixture, nCase);
        std::string strStore = Store(fixture);
        COE4Message reader;
        EXPECT_EQ(reader.ReadNext(strStore.c_str(), 0, MAIL_MAX_PATH), MAIL_ERR_FORMAT) << nCase;
    }
}

TEST_F(COE4MessageCorruptTest, ADamagedRecordLosesOnlyItself)
{
    // clang-format off
    const auto Damage = [](COe4Fixture& f, int nCase) {
        size_t nSecond = f.mbxOffsets[1];
        switch (nCase) {
        case 0: FixturePutU32(f.strMbx, nSecond, 0x12345678); break;           // Marker
        case 1: FixturePutU32(f.strMbx, nSecond + 8, 0xFFFFFFF0); break;       // Total size past the end
        case 2: FixturePutU32(f.strMbx, nSecond + 8, 4); break;                // Total size below the header
        case 3: FixturePutU32(f.strMbx, nSecond + 12, 0x7FFFFFFF); break;      // Text longer than the record
        case 4: f.strMbx.resize(nSecond + 20); break;                          // Truncated mid-message
        }
    };
    // clang-format on
    // The messages still read whole in each case; a record without a marker
    // is passed over, and a size running past the end takes the rest of the file.
    const std::vector<std::vector<size_t>> intact { { 0, 2 }, { 0, 1 }, { 0, 2 }, { 0, 2 }, { 0 } };
    const std::vector<std::string> messages = FixtureMessages("OE4 message ", 3);
    for (int nCase = 0; nCase < 5; ++nCase) {
        COe4Fixture fixture = BuildOe4Store(messages);
        Damage(fixture, nCase);
        // An index that lists nothing: only the .mbx tells where records are.
        m_folder.WriteFile("Inbox.idx", BuildOe4Store({}).strIdx);
        std::string strStore = ProgramPath(m_folder.WriteFile("Inbox.mbx", fixture.strMbx));
        COE4Message reader;
        int nEnd = -1;
        auto results = ReadAll(reader, strStore, 0, &nEnd);
        EXPECT_EQ(nEnd, MAIL_END) << nCase;
        EXPECT_LE(results.size(), 3u) << nCase;
        for (size_t nMessage : intact[static_cast<size_t>(nCase)]) {
            EXPECT_TRUE(std::any_of(results.begin(), results.end(),
                [&](const CReadResult& read) { return read.strRaw.starts_with(messages[nMessage]); }))
                << nCase << ": message " << nMessage;
        }
    }
}

TEST_F(COE4MessageCorruptTest, FailsWithoutItsIndexOrStore)
{
    COe4Fixture fixture = BuildOe4Store(FixtureMessages("OE4 message ", 1));
    std::string strStore = ProgramPath(m_folder.WriteFile("Lonely.mbx", fixture.strMbx));
    COE4Message reader;
    EXPECT_EQ(reader.ReadNext(strStore.c_str(), 0, MAIL_MAX_PATH), MAIL_ERR_OPEN);
    COE4Message missing;
    EXPECT_EQ(missing.ReadNext(ProgramPath(m_folder / "none.mbx").c_str(), 0, MAIL_MAX_PATH), MAIL_ERR_OPEN);
    EXPECT_EQ(missing.Open(ProgramPath(m_folder / "none.mbx").c_str()), MAIL_ERR_OPEN);
}
