#include "mail/COE4Message.h"

#include "mail/MailResult.h"
#include "tests/mail/MailFixtures.h"
#include "tests/mail/MailReaderTestSupport.h"
#include "tests/support/TempFolder.h"

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

TEST_F(COE4MessageCorruptTest, ADamagedFolderLosesOnlyTheMessagesPastTheDamage)
{
    // clang-format off
    const auto Damage = [](COe4Fixture& f, int nCase) {
        switch (nCase) {
        case 0: f.strMbx.resize(f.mbxOffsets[2] + 20); break;  // Truncated inside the third message
        case 1: f.strMbx.resize(f.mbxOffsets[2]); break;       // Truncated right after the second
        case 2: FixturePutU32(f.strIdx, IDX_HEADER_SIZE + FixtureGetU32(f.strIdx, IDX_HEADER_SIZE + 16)
                    + IDX_ITEM_MBX_OFFSET_FIELD, 0x7FFFFF00); break; // The second item far past the end
        }
    };
    // clang-format on
    for (int nCase = 0; nCase < 3; ++nCase) {
        COe4Fixture fixture = BuildOe4Store(FixtureMessages("OE4 message ", 3));
        Damage(fixture, nCase);
        std::string strStore = Store(fixture);
        COE4Message reader;
        int nEnd = -1;
        auto results = ReadAll(reader, strStore, 0, &nEnd);
        ASSERT_EQ(results.size(), nCase < 2 ? 2u : 1u) << nCase;
        EXPECT_EQ(nEnd, MAIL_ERR_FORMAT) << nCase;
        // A message before the damage loads from its catalog values, the third one does not.
        COE4Message loaded(results[0].dwStoreId, results[0].dwOffset, results[0].dwLength, "", strStore.c_str());
        EXPECT_EQ(loaded.Load(nullptr), MAIL_OK) << nCase;
        COE4Message beyond(3, fixture.mbxOffsets[2] + MBX_MESSAGE_HEADER_SIZE, 1, "", strStore.c_str());
        EXPECT_EQ(beyond.Load(nullptr), MAIL_ERR_FORMAT) << nCase;
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

TEST_F(COE4MessageCorruptTest, EndsCleanlyOnDamagedMessages)
{
    // clang-format off
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
    // clang-format on
    for (int nCase = 0; nCase < 5; ++nCase) {
        COe4Fixture fixture = BuildOe4Store(FixtureMessages("OE4 message ", 3));
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
