#include "mail/CNetscapeMessage.h"

#include "mail/MailResult.h"
#include "tests/mail/MailFixtures.h"
#include "tests/mail/MailReaderTestSupport.h"
#include "tests/support/SpecialFiles.h"
#include "tests/support/TempFolder.h"

#include <sys/stat.h>
#include <unistd.h>

// Damaged and foreign files: the store ends with a code, never a crash or a hang.

TEST(CNetscapeMessageCorruptTest, EmptyFileHasNoMessages)
{
    TempFolder folder;
    CNetscapeMessage reader;
    int nEnd = -1;
    EXPECT_TRUE(ReadAll(reader, ProgramPath(folder.WriteFile("Inbox", "")), 0, &nEnd).empty());
    EXPECT_EQ(nEnd, MAIL_END);
}

TEST(CNetscapeMessageCorruptTest, AFileWithoutSeparatorIsOneMessageWhenItStartsWithAHeader)
{
    TempFolder folder;
    CFixtureMessage message;
    message.strSubject = "bare";
    CNetscapeMessage reader;
    auto results = ReadAll(reader, ProgramPath(folder.WriteFile("Inbox", message.Text())));
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].strSubject, "bare");
    EXPECT_EQ(results[0].dwOffset, 0u);
}

TEST(CNetscapeMessageCorruptTest, TextWithoutHeaderOrSeparatorIsRejected)
{
    TempFolder folder;
    CNetscapeMessage reader;
    int nEnd = -1;
    auto results = ReadAll(reader, ProgramPath(folder.WriteFile("Inbox", "just some words\nFrom nowhere\n")), 0, &nEnd);
    EXPECT_TRUE(results.empty());
    EXPECT_EQ(nEnd, MAIL_ERR_FORMAT);
    EXPECT_EQ(reader.GetResult(), MAIL_ERR_FORMAT);
}

TEST(CNetscapeMessageCorruptTest, BinaryGarbageIsRejected)
{
    TempFolder folder;
    std::string strGarbage;
    for (unsigned i = 0; i < 300000; ++i)
        strGarbage += static_cast<char>((i * 7919u) >> 3);
    CNetscapeMessage reader;
    int nEnd = -1;
    auto results = ReadAll(reader, ProgramPath(folder.WriteFile("Inbox", strGarbage)), 0, &nEnd);
    EXPECT_TRUE(results.empty());
    EXPECT_EQ(nEnd, MAIL_ERR_FORMAT);
}

TEST(CNetscapeMessageCorruptTest, TruncatedStoreEndsAfterItsLastPartialMessage)
{
    TempFolder folder;
    CFixtureMessage message;
    message.strBody = std::string(2000, 'y') + "\n";
    std::string strMbox = BuildMbox({ message.Text(), message.Text() });
    auto path = folder.WriteFile("Inbox", strMbox);
    std::string strStore = ProgramPath(path);
    CNetscapeMessage reader;
    auto whole = ReadAll(reader, strStore);
    ASSERT_EQ(whole.size(), 2u);

    // Cut in the middle of the second message: it ends at the end of the file.
    folder.WriteFile("Inbox", strMbox.substr(0, strMbox.size() - 1000));
    CNetscapeMessage truncated;
    int nEnd = -1;
    auto results = ReadAll(truncated, strStore, 0, &nEnd);
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(nEnd, MAIL_END);
    EXPECT_EQ(results[1].dwPosition, strMbox.size() - 1000);
    // A stored position beyond the shrunken file finds nothing new.
    CNetscapeMessage resumed;
    EXPECT_EQ(resumed.ReadNext(strStore.c_str(), whole.back().dwPosition, MAIL_MAX_PATH), MAIL_END);
    // A stored position inside a message no longer names a separator.
    EXPECT_EQ(resumed.ReadNext(strStore.c_str(), whole[0].dwOffset + 5, MAIL_MAX_PATH), MAIL_ERR_FORMAT);
}

TEST(CNetscapeMessageCorruptTest, MissingAndUnreadableFilesFailToOpen)
{
    TempFolder folder;
    CNetscapeMessage reader;
    EXPECT_EQ(reader.ReadNext(ProgramPath(folder / "none").c_str(), 0, MAIL_MAX_PATH), MAIL_ERR_OPEN);
    EXPECT_EQ(reader.ReadNext(ProgramPath(folder.Path()).c_str(), 0, MAIL_MAX_PATH), MAIL_ERR_OPEN);
    EXPECT_EQ(reader.ReadNext(nullptr, 0, MAIL_MAX_PATH), MAIL_ERR_OPEN);
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not apply to root";
    auto path = folder.WriteFile("Locked", BuildMbox({ CFixtureMessage().Text() }));
    ::chmod(path.c_str(), 0);
    CNetscapeMessage locked;
    EXPECT_EQ(locked.ReadNext(ProgramPath(path).c_str(), 0, MAIL_MAX_PATH), MAIL_ERR_OPEN);
}

TEST(CNetscapeMessageCorruptTest, ReadWithoutOpenFailsCleanly)
{
    CNetscapeMessage reader;
    char buffer[16];
    EXPECT_LE(reader.Read(buffer, sizeof(buffer)), 0);
    EXPECT_NE(reader.Seek(0), MAIL_OK);
    EXPECT_NE(reader.GetResult(), MAIL_OK);
    EXPECT_FALSE(reader.IsValid());
}

TEST(CNetscapeMessageCorruptTest, ASpecialFileInPlaceOfTheStoreDoesNotOpenAndDoesNotWait)
{
    TempFolder folder;
    const std::vector<std::string> names = MakeSpecialFiles(folder.Path());
    ASSERT_EQ(names.size(), 3u);
    for (const std::string& strName : names) {
        const std::string strStore = ProgramPath(folder / strName);
        const int nResult = RunInChildWithin(10, [&] {
            CNetscapeMessage reader;
            CNetscapeMessage loaded(0, 0, 10, "", strStore.c_str());
            return reader.ReadNext(strStore.c_str(), 0, MAIL_MAX_PATH) == MAIL_ERR_OPEN
                    && loaded.Load(nullptr) == MAIL_ERR_OPEN
                ? 0
                : 1;
        });
        EXPECT_EQ(nResult, 0) << strName << (nResult < 0 ? " kept the reader waiting" : "");
    }
}
