#include "mail/CNetscapeMessage.h"

#include "mail/MailPassword.h"
#include "mail/MailResult.h"
#include "mail/MboxFormat.h"
#include "tests/mail/MailFixtures.h"
#include "tests/mail/MailReaderTestSupport.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestData.h"

#include <memory>
#include <vector>

namespace {

class CNetscapeMessageTest : public ::testing::Test {
protected:
    std::string Store(const std::string& contents, const char* pszName = "Inbox")
    {
        return ProgramPath(m_folder.WriteFile(pszName, contents));
    }

    TempFolder m_folder;
};

} // namespace

TEST_F(CNetscapeMessageTest, ReadsEveryMessageWithIncreasingPositions)
{
    std::vector<std::string> messages;
    for (int i = 0; i < 5; ++i) {
        CFixtureMessage message;
        message.strSubject = "Message " + std::to_string(i);
        messages.push_back(message.Text());
    }
    std::string strMbox = BuildMbox(messages, { 1, 1, 1, 1, 1 });
    std::string strStore = Store(strMbox);
    CNetscapeMessage reader;
    int nEnd = -1;
    auto results = ReadAll(reader, strStore, 0, &nEnd);
    ASSERT_EQ(results.size(), 5u);
    EXPECT_EQ(nEnd, MAIL_END);
    DWORD dwPrevious = 0;
    for (size_t i = 0; i < results.size(); ++i) {
        EXPECT_EQ(results[i].nResult, MAIL_OK);
        EXPECT_TRUE(results[i].bValid);
        EXPECT_EQ(results[i].strSubject, "Message " + std::to_string(i));
        EXPECT_GT(results[i].dwPosition, dwPrevious);
        // The separator comes first, then the message, which ends where the next begins.
        EXPECT_EQ(strMbox.compare(results[i].dwStoreId, 7, "From - "), 0);
        EXPECT_LT(results[i].dwStoreId, results[i].dwOffset);
        EXPECT_EQ(results[i].dwOffset + results[i].dwLength, results[i].dwPosition);
        dwPrevious = results[i].dwPosition;
    }
    EXPECT_EQ(results.back().dwPosition, strMbox.size());
}

TEST_F(CNetscapeMessageTest, ResumingFromAStoredPositionYieldsOnlyAppendedMessages)
{
    CFixtureMessage first;
    first.strSubject = "old";
    auto path = m_folder.WriteFile("Inbox", BuildMbox({ first.Text() }));
    std::string strStore = ProgramPath(path);
    CNetscapeMessage reader;
    auto before = ReadAll(reader, strStore);
    ASSERT_EQ(before.size(), 1u);
    DWORD dwStored = before.back().dwPosition;

    CFixtureMessage second;
    second.strSubject = "new one";
    CFixtureMessage third;
    third.strSubject = "new two";
    m_folder.WriteFile("Inbox", BuildMbox({ first.Text(), second.Text(), third.Text() }));
    CNetscapeMessage resumed;
    auto after = ReadAll(resumed, strStore, dwStored);
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after[0].strSubject, "new one");
    EXPECT_EQ(after[1].strSubject, "new two");
}

TEST_F(CNetscapeMessageTest, ExpungedMessagesReadAsDeleted)
{
    CFixtureMessage message;
    std::string strStore = Store(BuildMbox({ message.Text(), message.Text(), message.Text() },
        { MOZILLA_STATUS_READ, MOZILLA_STATUS_READ | MOZILLA_STATUS_EXPUNGED, 0 }));
    CNetscapeMessage reader;
    auto results = ReadAll(reader, strStore);
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(results[0].nResult, MAIL_OK);
    EXPECT_EQ(results[1].nResult, MAIL_DELETED);
    EXPECT_FALSE(results[1].bValid);
    EXPECT_EQ(results[2].nResult, MAIL_OK);
    EXPECT_TRUE(results[2].bValid);
}

TEST_F(CNetscapeMessageTest, FromLinesInsideABodyDoNotSeparate)
{
    CFixtureMessage quoted;
    quoted.strBody = "Hello\n>From the top.\n\nFrom here on\nthe text goes on.\nFrom Russia with love\n\n";
    CFixtureMessage plain;
    plain.strSubject = "second";
    std::string strStore = Store(BuildMbox({ quoted.Text(), plain.Text() }));
    CNetscapeMessage reader;
    auto results = ReadAll(reader, strStore);
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[1].strSubject, "second");
    CNetscapeMessage first;
    ASSERT_EQ(first.ReadNext(strStore.c_str(), 0, MAIL_MAX_PATH), MAIL_OK);
    EXPECT_NE(std::string(first.GetText()).find("From Russia with love"), std::string::npos);
}

TEST_F(CNetscapeMessageTest, ReadsCrLfStores)
{
    CFixtureMessage message;
    message.bCrLf = true;
    message.strSubject = "crlf";
    std::string strMbox;
    for (int i = 0; i < 3; ++i)
        strMbox += "From - Mon Jan  2 15:04:05 2006\r\n" + message.Text();
    std::string strStore = Store(strMbox);
    CNetscapeMessage reader;
    auto results = ReadAll(reader, strStore);
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(results[2].strSubject, "crlf");
    EXPECT_EQ(results[2].dwPosition, strMbox.size());
}

TEST_F(CNetscapeMessageTest, DecodesTheFieldsOfAMessage)
{
    CFixtureMessage message;
    message.strSubject = "=?ISO-8859-1?Q?Caf=E9?= au\n lait";
    message.strFrom = "=?UTF-8?B?w4FuYQ==?= <ana@example.com>";
    message.strTo = "Bo <bo@example.com>, Cy <cy@example.com>";
    message.strExtraHeaders = "Cc: Di <di@example.com>\n";
    message.strBody = "Hello there.\n";
    std::string strStore = Store(BuildMbox({ message.Text() }));
    CNetscapeMessage reader;
    ASSERT_EQ(reader.ReadNext(strStore.c_str(), 0, MAIL_MAX_PATH), MAIL_OK);
    EXPECT_STREQ(reader.GetSubject(), "Caf\xC3\xA9 au lait");
    char sz[MAIL_MAX_PATH];
    reader.GetAddressList1(sz, sizeof(sz));
    EXPECT_STREQ(sz, "\xC3\x81na <ana@example.com>");
    reader.GetExtraField(sz);
    EXPECT_STREQ(sz, "\xC3\x81na <ana@example.com>");
    reader.GetAddressList2(sz, sizeof(sz));
    EXPECT_STREQ(sz, "Bo <bo@example.com>, Cy <cy@example.com>");
    reader.GetCcList(sz, sizeof(sz));
    EXPECT_STREQ(sz, "Di <di@example.com>");
    EXPECT_EQ(reader.GetDate(), 1136214245);
    EXPECT_STREQ(reader.GetText(), "Hello there.\n");
    EXPECT_NE(std::string(reader.GetHeaderLines()).find("Subject: Caf\xC3\xA9 au lait\r\n"), std::string::npos);
    // A short buffer cuts the list, never inside a character.
    reader.GetAddressList1(sz, 2);
    EXPECT_STREQ(sz, "");
}

TEST_F(CNetscapeMessageTest, ProtectionComesFromTheMessageAndChangesOnlyWithTheOldValue)
{
    CFixtureMessage protectedMessage;
    protectedMessage.strExtraHeaders = std::string(MAIL_PROTECTION_HEADER) + ": " + ScramblePassword("pw") + "\n";
    std::string strStore = Store(BuildMbox({ protectedMessage.Text(), CFixtureMessage().Text() }));
    CNetscapeMessage reader;
    ASSERT_EQ(reader.ReadNext(strStore.c_str(), 0, MAIL_MAX_PATH), MAIL_OK);
    EXPECT_STREQ(reader.GetProtection(), "pw");
    EXPECT_NE(reader.SetProtection("new", "wrong"), MAIL_OK);
    EXPECT_STREQ(reader.GetProtection(), "pw");
    EXPECT_EQ(reader.SetProtection("new", "pw"), MAIL_OK);
    EXPECT_STREQ(reader.GetProtection(), "new");
    // The next message read carries its own protection: none.
    ASSERT_EQ(reader.ReadNext(strStore.c_str(), reader.GetPosition(), MAIL_MAX_PATH), MAIL_OK);
    EXPECT_TRUE(reader.GetProtection().IsEmpty());
}

TEST_F(CNetscapeMessageTest, AnEmptySubjectStaysEmpty)
{
    CFixtureMessage message;
    message.strSubject = "";
    std::string strStore = Store(BuildMbox({ message.Text() }));
    CNetscapeMessage reader;
    ASSERT_EQ(reader.ReadNext(strStore.c_str(), 0, MAIL_MAX_PATH), MAIL_OK);
    EXPECT_TRUE(reader.GetSubject().IsEmpty());
}

TEST_F(CNetscapeMessageTest, OpenSeekReadGiveTheExactStoredBytes)
{
    CFixtureMessage a;
    CFixtureMessage b;
    b.strBody = std::string(5000, 'x') + "\n";
    std::string strMbox = BuildMbox({ a.Text(), b.Text() }, { 0, 1 });
    std::string strStore = Store(strMbox);
    CNetscapeMessage reader;
    auto results = ReadAll(reader, strStore);
    ASSERT_EQ(results.size(), 2u);
    for (const CReadResult& result : results) {
        std::string expected = strMbox.substr(result.dwOffset, result.dwLength);
        CNetscapeMessage download;
        EXPECT_EQ(ReadStored(download, strStore, result.dwOffset, result.dwLength, 512), expected);
        CNetscapeMessage search;
        EXPECT_EQ(ReadStored(search, strStore, result.dwOffset, result.dwLength, 1024), expected);
        EXPECT_EQ(download.GetResult(), MAIL_OK);
    }
}

TEST_F(CNetscapeMessageTest, SeekingBeyondTheEndFails)
{
    std::string strStore = Store(BuildMbox({ CFixtureMessage().Text() }));
    CNetscapeMessage reader;
    ASSERT_EQ(reader.Open(strStore.c_str()), MAIL_OK);
    EXPECT_EQ(reader.Seek(1000000), MAIL_ERR_SEEK);
    EXPECT_EQ(reader.GetResult(), MAIL_ERR_SEEK);
}

TEST_F(CNetscapeMessageTest, LoadsAMessageFromCatalogValues)
{
    CFixtureMessage a;
    CFixtureMessage b;
    b.strSubject = "the second";
    std::string strStore = Store(BuildMbox({ a.Text(), b.Text() }));
    CNetscapeMessage reader;
    auto results = ReadAll(reader, strStore);
    ASSERT_EQ(results.size(), 2u);
    CNetscapeMessage loaded(
        results[1].dwStoreId, results[1].dwOffset, results[1].dwLength, "C:\\x\\the second*", strStore.c_str());
    EXPECT_EQ(loaded.Load(""), MAIL_OK);
    EXPECT_STREQ(loaded.GetSubject(), "the second");
    EXPECT_TRUE(loaded.IsValid());

    // Values that no longer name a message fail cleanly.
    CNetscapeMessage moved(0, results[1].dwOffset + 3, results[1].dwLength, "", strStore.c_str());
    EXPECT_EQ(moved.Load(nullptr), MAIL_ERR_NOT_FOUND);
    CNetscapeMessage beyond(0, results[1].dwOffset, results[1].dwLength + 100, "", strStore.c_str());
    EXPECT_EQ(beyond.Load(nullptr), MAIL_ERR_NOT_FOUND);
    // The message at an offset is all of it, up to the next separator: a
    // length that stops short of it, or runs over it, names another message.
    for (DWORD dwLength : { results[0].dwLength - 1, results[0].dwLength + 40 }) {
        CNetscapeMessage other(0, results[0].dwOffset, dwLength, "", strStore.c_str());
        EXPECT_EQ(other.Load(nullptr), MAIL_ERR_NOT_FOUND) << dwLength;
    }
    CNetscapeMessage first(0, results[0].dwOffset, results[0].dwLength, "", strStore.c_str());
    EXPECT_EQ(first.Load(nullptr), MAIL_OK);
}

TEST_F(CNetscapeMessageTest, AMessageWithoutADateTakesItsSeparatorsDate)
{
    const std::string strUndated = "From: Ana <ana@example.com>\nSubject: Undated\n\nBody.\n";
    CFixtureMessage dated;
    const std::string strStore = Store("From ana@example.com Tue Oct 02 00:26:47 2007\n" + strUndated
        + "From - Mon Jan  2 15:04:05 2006\n" + dated.Text() + "From - \n" + strUndated);
    CNetscapeMessage reader;
    auto results = ReadAll(reader, strStore);
    ASSERT_EQ(results.size(), 3u);
    constexpr time_t OCT_2_2007 = 1191284807; // 2007-10-02 00:26:47 UTC
    constexpr time_t JAN_2_2006 = 1136214245; // 2006-01-02 15:04:05 UTC, the Date header's
    const time_t expected[] = { OCT_2_2007, JAN_2_2006, 0 };
    for (size_t i = 0; i < results.size(); ++i) {
        CNetscapeMessage loaded(results[i].dwStoreId, results[i].dwOffset, results[i].dwLength, "", strStore.c_str());
        ASSERT_EQ(loaded.Load(nullptr), MAIL_OK) << i;
        EXPECT_EQ(loaded.GetDate(), expected[i]) << i;
    }
    CNetscapeMessage first;
    ASSERT_EQ(first.ReadNext(strStore.c_str(), 0, MAIL_MAX_PATH), MAIL_OK);
    EXPECT_EQ(first.GetDate(), OCT_2_2007);
}

TEST(MboxSeparatorDateTest, ReadsTheDatesSeparatorsCarry)
{
    EXPECT_EQ(MboxSeparatorDate("From - Tue Oct 02 00:26:47 2007"), 1191284807);
    // Without seconds, with a zone name before the year, with a numeric zone.
    EXPECT_EQ(MboxSeparatorDate("From ana@example.com Sat Jan  3 01:05 2004"), 1073091900);
    EXPECT_EQ(MboxSeparatorDate("From ana@example.com Sat Jan  3 01:05:00 PST 2004"), 1073091900);
    EXPECT_EQ(MboxSeparatorDate("From ana@example.com Sat Jan  3 01:05:00 2004 +0100"), 1073091900 - 3600);
    EXPECT_EQ(MboxSeparatorDate("From MAILER-DAEMON Thu Feb 29 23:59:59 2024\r\n"), 1709251199);
    for (const char* pszLine : { "From -", "From ", "From x Foo 3 01:05 2004", "From x Jan 32 01:05 2004",
             "From x Jan 3 25:05 2004", "From x Jan 3 01:05", "Subject: Jan 3 01:05 2004" })
        EXPECT_EQ(MboxSeparatorDate(pszLine), 0) << pszLine;
}

TEST_F(CNetscapeMessageTest, RejectsPathsBeyondTheLimit)
{
    std::string strStore = Store(BuildMbox({ CFixtureMessage().Text() }));
    CNetscapeMessage reader;
    EXPECT_EQ(reader.ReadNext(strStore.c_str(), 0, static_cast<int>(strStore.size())), MAIL_ERR_OPEN);
    EXPECT_EQ(reader.ReadNext(strStore.c_str(), 0, static_cast<int>(strStore.size()) + 1), MAIL_OK);
}

// Stores written by real clients.

TEST(CNetscapeMessageSharedTest, NetscapeFolderMatchesKnownOffsets)
{
    auto folder = SharedTestData("mail/netscape-mbox");
    if (!folder)
        GTEST_SKIP() << "shared test data absent";
    std::string strMbox = ReadWholeFile(*folder / "netscape-folder.mbox");
    std::string strOffsets = ReadWholeFile(*folder / "netscape-folder.offsets.json");
    // The known offsets of each message's marker and first header, in file order.
    std::vector<std::pair<unsigned long, unsigned long>> expected;
    for (size_t nPos = strOffsets.find("\"mboxMarkerOffset\""); nPos != std::string::npos;
         nPos = strOffsets.find("\"mboxMarkerOffset\"", nPos + 1)) {
        unsigned long nMarker = std::stoul(strOffsets.substr(strOffsets.find(':', nPos) + 1));
        size_t nBegin = strOffsets.find("\"beginOffset\"", nPos);
        expected.emplace_back(nMarker, std::stoul(strOffsets.substr(strOffsets.find(':', nBegin) + 1)));
    }
    ASSERT_EQ(expected.size(), 29u);

    CNetscapeMessage reader;
    auto results = ReadAll(reader, ProgramPath(*folder / "netscape-folder.mbox"));
    ASSERT_EQ(results.size(), expected.size());
    for (size_t i = 0; i < results.size(); ++i) {
        EXPECT_EQ(results[i].dwStoreId, expected[i].first) << i;
        EXPECT_EQ(results[i].dwOffset, expected[i].second) << i;
        DWORD dwEnd = i + 1 < expected.size() ? expected[i + 1].first : strMbox.size();
        EXPECT_EQ(results[i].dwOffset + results[i].dwLength, dwEnd) << i;
    }
}

TEST(CNetscapeMessageSharedTest, SeparatorRecognitionOnRealFolders)
{
    auto folder = SharedTestData("mail");
    if (!folder)
        GTEST_SKIP() << "shared test data absent";
    const struct {
        const char* pszFile;
        size_t nMessages;
    } cases[] = {
        { "mozilla-mbox/mbox_unquoted", 2 },
        { "mozilla-mbox/mbox_modern", 2 },
        { "mozilla-mbox/mbox_mboxrd", 2 },
        { "mozilla-mbox/crlf-bare-separators.mbox", 3 },
        { "mozilla-mbox/spool-3-messages.mbox", 3 },
        { "mozilla-mbox/bugmail1", 1 },
        { "mozilla-mbox/draft1", 1 },
        { "plain-mbox/list-archive-lf.mbox", 45 },
        { "plain-mbox/list-archive-crlf.mbox", 45 },
        { "plain-mbox/bom-unescaped.mbox", 2 },
        { "plain-mbox/nested-multipart.mbox", 3 },
    };
    for (const auto& c : cases) {
        CNetscapeMessage reader;
        int nEnd = -1;
        auto results = ReadAll(reader, ProgramPath(*folder / c.pszFile), 0, &nEnd);
        EXPECT_EQ(results.size(), c.nMessages) << c.pszFile;
        EXPECT_EQ(nEnd, MAIL_END) << c.pszFile;
    }
}

TEST(CNetscapeMessageSharedTest, ConvertsDeclaredCharsetsToUtf8)
{
    auto folder = SharedTestData("mail/mozilla-mbox");
    if (!folder)
        GTEST_SKIP() << "shared test data absent";
    for (const char* pszFile : { "template-latin1", "template-utf8" }) {
        CNetscapeMessage reader;
        ASSERT_EQ(reader.ReadNext(ProgramPath(*folder / pszFile).c_str(), 0, MAIL_MAX_PATH), MAIL_OK) << pszFile;
        // The HTML-only body loses its markup and reads in UTF-8 whatever its charset.
        std::string strText(reader.GetText());
        EXPECT_NE(strText.find("\xC3\xA5\xC3\xA4\xC3\xB6"), std::string::npos) << pszFile;
        EXPECT_EQ(strText.find("<br>"), std::string::npos) << pszFile;
    }
}
