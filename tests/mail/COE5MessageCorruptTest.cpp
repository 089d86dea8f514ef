#include "mail/COE5Message.h"

#include "mail/MailResult.h"
#include "tests/mail/MailFixtures.h"
#include "tests/mail/MailReaderTestSupport.h"
#include "tests/support/TempFolder.h"

namespace {

class COE5MessageCorruptTest : public ::testing::Test {
protected:
    std::string Store(const std::string& strDbx) { return ProgramPath(m_folder.WriteFile("Inbox.dbx", strDbx)); }

    TempFolder m_folder;
};

} // namespace

// Damaged stores end with a failure code, never a crash or a hang.

TEST_F(COE5MessageCorruptTest, RejectsAWrongSignature)
{
    CDbxFixture fixture = BuildDbx(FixtureMessages("OE5 message ", 1));
    fixture.strDbx[5] = '\xC6'; // A folder list, not a message folder
    std::string strStore = Store(fixture.strDbx);
    COE5Message reader;
    EXPECT_EQ(reader.ReadNext(strStore.c_str(), 0, MAIL_MAX_PATH), MAIL_ERR_FORMAT);
    EXPECT_EQ(reader.Open(strStore.c_str()), MAIL_ERR_FORMAT);
}

TEST_F(COE5MessageCorruptTest, RejectsTreeCyclesAndStrayNodes)
{
    // clang-format off
    const auto Damage = [](CDbxFixture& f, int nCase) {
        uint32_t nRoot = f.nodes[0];
        uint32_t nLeaf = f.nodes[1];
        switch (nCase) {
        case 0: FixturePutU32(f.strDbx, nLeaf + 8, nRoot); break;             // Leaf points back at the root
        case 1: FixturePutU32(f.strDbx, nRoot + 8, nRoot); break;             // Root is its own child
        case 2: FixturePutU32(f.strDbx, DBX_TREE_ROOT_FIELD, 0x7FFFFFF0); break; // Root past the end
        case 3: FixturePutU32(f.strDbx, nLeaf, 0); break;                     // Marker does not match
        case 4: f.strDbx[nLeaf + 0x11] = 0x7F; break;                         // Too many entries
        case 5: FixturePutU32(f.strDbx, nRoot + DBX_NODE_HEADER_SIZE + 4, nLeaf); break; // A node met twice
        }
    };
    // clang-format on
    for (int nCase = 0; nCase < 6; ++nCase) {
        CDbxFixture fixture = BuildDbx(FixtureMessages("OE5 message ", 60));
        ASSERT_GE(fixture.nodes.size(), 2u);
        Damage(fixture, nCase);
        std::string strStore = Store(fixture.strDbx);
        COE5Message reader;
        EXPECT_EQ(reader.ReadNext(strStore.c_str(), 0, MAIL_MAX_PATH), MAIL_ERR_FORMAT) << nCase;
    }
}

TEST_F(COE5MessageCorruptTest, RejectsBrokenChunkChainsAndInfos)
{
    auto messages = FixtureMessages("OE5 message ", 2, 1500);
    // clang-format off
    const auto Damage = [](CDbxFixture& f, int nCase) {
        uint32_t nChunk = f.firstChunks[0];
        switch (nCase) {
        case 0: FixturePutU32(f.strDbx, nChunk + 12, 0x7FFFFFF0); break;        // Next past the end
        case 1: FixturePutU32(f.strDbx, nChunk + 12, nChunk); break;            // Chain loops
        case 2: FixturePutU32(f.strDbx, nChunk + 8, 0x1000); break;             // Text longer than the body
        case 3: FixturePutU32(f.strDbx, nChunk, nChunk + 1); break;             // Marker
        case 4: FixturePutU32(f.strDbx, f.infos[0] + 4, 0x7FFFFFFF); break;     // Info body past the end
        case 5: FixturePutU32(f.strDbx, f.infos[0] + 12 + 8, 0x00FFFF04); break; // Pointer outside the data
        case 6: f.strDbx.resize(nChunk + 0x100); break;                         // Truncated mid-chunk
        }
    };
    // clang-format on
    for (int nCase = 0; nCase < 7; ++nCase) {
        CDbxFixture fixture = BuildDbx(messages);
        Damage(fixture, nCase);
        std::string strStore = Store(fixture.strDbx);
        COE5Message reader;
        int nEnd = -1;
        auto results = ReadAll(reader, strStore, 0, &nEnd);
        EXPECT_TRUE(results.empty()) << nCase;
        EXPECT_EQ(nEnd, MAIL_ERR_FORMAT) << nCase;
    }
}

TEST_F(COE5MessageCorruptTest, EmptyAndShortFilesFail)
{
    for (size_t nLength : { size_t(0), size_t(8), size_t(0x100) }) {
        std::string strStore = Store(BuildDbx(FixtureMessages("OE5 message ", 1)).strDbx.substr(0, nLength));
        COE5Message reader;
        EXPECT_EQ(reader.ReadNext(strStore.c_str(), 0, MAIL_MAX_PATH), MAIL_ERR_FORMAT) << nLength;
    }
}
