#include "mail/MailStoreFunctions.h"

#include "mail/CNetscapeMessage.h"
#include "mail/COE4Message.h"
#include "mail/MailResult.h"
#include "mail/MboxFormat.h"
#include "tests/mail/MailFixtures.h"
#include "tests/mail/MailReaderTestSupport.h"
#include "tests/support/TempFolder.h"

namespace {

std::vector<std::string> SomeMessages(int nCount)
{
    std::vector<std::string> messages;
    for (int i = 0; i < nCount; ++i) {
        CFixtureMessage message;
        message.strSubject = "m" + std::to_string(i);
        messages.push_back(message.Text());
    }
    return messages;
}

// The positions where two equally long byte strings differ.
std::vector<size_t> Differences(const std::string& a, const std::string& b)
{
    std::vector<size_t> positions;
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        if (a[i] != b[i])
            positions.push_back(i);
    return positions;
}

} // namespace

TEST(MailStoreFunctionsTest, NetscapeDeletionRewritesOnlyTheStatusDigits)
{
    TempFolder folder;
    std::string strBefore = BuildMbox(SomeMessages(3), { 0x0001, 0x0011, 0x0001 });
    auto path = folder.WriteFile("Inbox", strBefore);
    std::string strStore = ProgramPath(path);
    CNetscapeMessage reader;
    auto results = ReadAll(reader, strStore);
    ASSERT_EQ(results.size(), 3u);

    EXPECT_EQ(DeleteNetscapeStoreMessage("ana", strStore.c_str(), results[1].dwOffset, results[1].dwLength), MAIL_OK);
    std::string strAfter = ReadWholeFile(path);
    ASSERT_EQ(strAfter.size(), strBefore.size());
    auto changed = Differences(strBefore, strAfter);
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(strAfter.substr(changed[0] - 3, 4), "0019");
    EXPECT_GT(changed[0], results[1].dwOffset);
    EXPECT_LT(changed[0], results[1].dwOffset + results[1].dwLength);

    CNetscapeMessage again;
    auto reread = ReadAll(again, strStore);
    ASSERT_EQ(reread.size(), 3u);
    EXPECT_EQ(reread[1].nResult, MAIL_DELETED);
    EXPECT_EQ(reread[0].nResult, MAIL_OK);
}

TEST(MailStoreFunctionsTest, NetscapeDeletionRefusesWhatItCannotRewrite)
{
    TempFolder folder;
    std::string strMbox = BuildMbox(SomeMessages(2)); // No status lines
    auto path = folder.WriteFile("Inbox", strMbox);
    std::string strStore = ProgramPath(path);
    CNetscapeMessage reader;
    auto results = ReadAll(reader, strStore);
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(
        DeleteNetscapeStoreMessage("", strStore.c_str(), results[0].dwOffset, results[0].dwLength), MAIL_ERR_NO_STATUS);
    EXPECT_EQ(DeleteNetscapeStoreMessage("", strStore.c_str(), results[0].dwOffset + 1, 10), MAIL_ERR_NOT_FOUND);
    EXPECT_EQ(DeleteNetscapeStoreMessage("", strStore.c_str(), 0, 0x7FFFFFFF), MAIL_ERR_NOT_FOUND);
    EXPECT_EQ(DeleteNetscapeStoreMessage("", ProgramPath(folder / "none").c_str(), 0, 10), MAIL_ERR_OPEN);
    EXPECT_EQ(ReadWholeFile(path), strMbox);
}

TEST(MailStoreFunctionsTest, OE4DeletionFlipsOnlyTheIndexFlag)
{
    TempFolder folder;
    COe4Fixture fixture = BuildOe4Store(SomeMessages(3));
    auto idxPath = folder.WriteFile("Inbox.idx", fixture.strIdx);
    auto mbxPath = folder.WriteFile("Inbox.mbx", fixture.strMbx);
    std::string strStore = ProgramPath(mbxPath);
    COE4Message reader;
    auto results = ReadAll(reader, strStore);
    ASSERT_EQ(results.size(), 3u);

    EXPECT_EQ(DeleteOE4StoreMessage("", strStore.c_str(), results[2].dwOffset, results[2].dwLength), MAIL_OK);
    EXPECT_EQ(ReadWholeFile(mbxPath), fixture.strMbx);
    std::string strIdx = ReadWholeFile(idxPath);
    auto changed = Differences(fixture.strIdx, strIdx);
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(static_cast<unsigned char>(strIdx[changed[0]]), IDX_FLAG_DELETED);

    COE4Message again;
    auto reread = ReadAll(again, strStore);
    ASSERT_EQ(reread.size(), 3u);
    EXPECT_EQ(reread[2].nResult, MAIL_DELETED);
    EXPECT_EQ(
        DeleteOE4StoreMessage("", strStore.c_str(), results[2].dwOffset + 4, results[2].dwLength), MAIL_ERR_NOT_FOUND);
}

TEST(MailStoreFunctionsTest, OE5DeletionDoesNothing)
{
    TempFolder folder;
    CDbxFixture fixture = BuildDbx(SomeMessages(2));
    auto path = folder.WriteFile("Inbox.dbx", fixture.strDbx);
    EXPECT_EQ(DeleteOE5StoreMessage("", ProgramPath(path).c_str(), fixture.firstChunks[0], 10), 5);
    EXPECT_EQ(ReadWholeFile(path), fixture.strDbx);
}

TEST(MailStoreFunctionsTest, SizesAndCounts)
{
    TempFolder folder;
    COe4Fixture oe4 = BuildOe4Store(SomeMessages(2));
    folder.WriteFile("Inbox.idx", oe4.strIdx);
    std::string strMbx = ProgramPath(folder.WriteFile("Inbox.mbx", oe4.strMbx));
    CDbxFixture dbx = BuildDbx(SomeMessages(4));
    std::string strDbx = ProgramPath(folder.WriteFile("Inbox.dbx", dbx.strDbx));
    std::string strMissing = ProgramPath(folder / "missing");
    std::string strGarbage = ProgramPath(folder.WriteFile("garbage", std::string(0x3000, '\x7F')));

    EXPECT_EQ(GetOE4StoreDataSize(strMbx.c_str()), oe4.strMbx.size());
    EXPECT_EQ(GetOE5StoreDataSize(strDbx.c_str()), dbx.strDbx.size());
    EXPECT_EQ(GetOE5MessageCount(strDbx.c_str()), 4);
    EXPECT_EQ(GetOE4StoreDataSize(strMissing.c_str()), 0u);
    EXPECT_EQ(GetOE5StoreDataSize(strMissing.c_str()), 0u);
    EXPECT_EQ(GetOE5MessageCount(strMissing.c_str()), -1);
    EXPECT_EQ(GetOE4StoreDataSize(strGarbage.c_str()), 0u);
    EXPECT_EQ(GetOE5MessageCount(strGarbage.c_str()), -1);
    EXPECT_EQ(GetOE5MessageCount(nullptr), -1);
}
