#include "mail/CMailHeaders.h"

#include "mail/CNetscapeMessage.h"
#include "mail/COE5Message.h"
#include "mail/GMimeSupport.h"
#include "mail/MailPassword.h"
#include "mail/MailResult.h"
#include "tests/mail/MailFixtures.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// What a parse of the whole message gives, read through GMime's message object
// as mail clients show a message: of the Subject, From and Date fields the
// first, with zone names in any case; To and Cc from every field. These are
// the values the header fields must equal.
struct CWholeParse {
    std::string strSubject, strFrom, strTo, strCc, strHeaderLines, strProtection;
    time_t tDate { 0 };
};

std::string Addresses(InternetAddressList* pList)
{
    if (pList == nullptr || internet_address_list_length(pList) == 0)
        return {};
    char* psz = internet_address_list_to_string(pList, nullptr, FALSE);
    std::string str = psz;
    g_free(psz);
    return str;
}

CWholeParse WholeParse(std::string_view raw)
{
    CGObjectRef<GMimeMessage> message(ParseMailMessage(raw));
    CWholeParse whole;
    if (message.Get() == nullptr)
        return whole;
    GMimeHeaderList* pHeaders = g_mime_object_get_header_list(GMIME_OBJECT(message.Get()));
    if (GMimeHeader* pSubject = g_mime_header_list_get_header(pHeaders, "Subject"))
        whole.strSubject = g_mime_header_get_value(pSubject);
    if (GMimeHeader* pFrom = g_mime_header_list_get_header(pHeaders, "From")) {
        CGObjectRef<InternetAddressList> from(
            internet_address_list_parse(MailParserOptions(), g_mime_header_get_raw_value(pFrom)));
        whole.strFrom = Addresses(from.Get());
    }
    whole.strTo = Addresses(g_mime_message_get_to(message.Get()));
    whole.strCc = Addresses(g_mime_message_get_cc(message.Get()));
    if (GMimeHeader* pDate = g_mime_header_list_get_header(pHeaders, "Date")) {
        char* pszDate = g_ascii_strup(g_mime_header_get_value(pDate), -1);
        if (GDateTime* pTime = g_mime_utils_header_decode_date(pszDate)) {
            whole.tDate = static_cast<time_t>(g_date_time_to_unix(pTime));
            g_date_time_unref(pTime);
        }
        g_free(pszDate);
    }
    for (int i = 0; i < g_mime_header_list_get_count(pHeaders); ++i) {
        GMimeHeader* pHeader = g_mime_header_list_get_header_at(pHeaders, i);
        std::string strName = g_mime_header_get_name(pHeader);
        std::string strValue = g_mime_header_get_value(pHeader);
        whole.strHeaderLines.append(strName).append(": ").append(strValue).append("\r\n");
        if (g_ascii_strcasecmp(strName.c_str(), MAIL_PROTECTION_HEADER) == 0)
            UnscramblePassword(strValue, whole.strProtection);
    }
    return whole;
}

void ExpectSameAsWholeParse(std::string_view raw, const std::string& strLabel)
{
    CWholeParse whole = WholeParse(raw);
    CMailHeaders headers(raw);
    EXPECT_EQ(headers.GetSubject(), whole.strSubject) << strLabel;
    EXPECT_EQ(headers.GetFrom(), whole.strFrom) << strLabel;
    EXPECT_EQ(headers.GetTo(), whole.strTo) << strLabel;
    EXPECT_EQ(headers.GetCc(), whole.strCc) << strLabel;
    EXPECT_EQ(headers.GetDate(), whole.tDate) << strLabel;
    EXPECT_EQ(headers.GetHeaderLines(), whole.strHeaderLines) << strLabel;
    EXPECT_EQ(headers.GetProtection(), whole.strProtection) << strLabel;
}

} // namespace

TEST(CMailHeadersTest, DecodesEncodedWordsAddressesAndDates)
{
    CMailHeaders headers("From: =?ISO-8859-1?Q?Jos=E9?= <jose@example.com>\n"
                         "To: a@example.com,\n b@example.com\n"
                         "Subject: =?UTF-8?B?8J+Ygg==?= and\n =?ISO-8859-15?Q?=A4?=\n"
                         "Date: Tue, 1 Feb 2000 10:00:00 +0100\n"
                         "\n"
                         "Subject: in the body, never read\n");
    EXPECT_EQ(headers.GetFrom(), "Jos\xC3\xA9 <jose@example.com>");
    EXPECT_EQ(headers.GetTo(), "a@example.com, b@example.com");
    EXPECT_EQ(headers.GetSubject(), "\xF0\x9F\x98\x82 and \xE2\x82\xAC");
    EXPECT_EQ(headers.GetDate(), 949395600);
    EXPECT_TRUE(headers.GetCc().empty());
    EXPECT_EQ(CMailHeaders("Subject: caf\xE9\n\nx\n").GetSubject(), "caf\xC3\xA9"); // Raw 8-bit text as Latin-1
    std::string strProtected
        = std::string("Subject: p\n") + MAIL_PROTECTION_HEADER + ": " + ScramblePassword("s3cret") + "\n\nbody\n";
    EXPECT_EQ(CMailHeaders(strProtected).GetProtection(), "s3cret");
    EXPECT_TRUE(CMailHeaders("Subject: p\n\nbody\n").GetProtection().empty());
}

TEST(CMailHeadersTest, RepeatedFieldsGiveTheFirstAndZoneNamesIgnoreCase)
{
    CMailHeaders headers("Subject: shown\nFrom: first@example.com\nDate: Sat, 1 Jan 2000 12:24:23 cst\n"
                         "Subject: hidden\nFrom: second@example.com\nDate: Sun, 2 Jan 2000 00:00:00 +0000\n\n");
    EXPECT_EQ(headers.GetSubject(), "shown");
    EXPECT_EQ(headers.GetFrom(), "first@example.com");
    EXPECT_EQ(headers.GetDate(), 946751063); // 18:24:23 UTC
    for (const char* pszZone : { "CST", "Cst", "-0600" })
        EXPECT_EQ(CMailHeaders(std::string("Date: Sat, 1 Jan 2000 12:24:23 ") + pszZone + "\n\n").GetDate(), 946751063)
            << pszZone;
    EXPECT_EQ(CMailHeaders("Date: sat, 1 jan 2000 12:24:23 gmt\n\n").GetDate(), 946729463);
}

TEST(CMailHeadersTest, MatchesTheWholeMessageParseOnOddAndDamagedBlocks)
{
    // Odd blocks, each as it is and then with pieces that change how fields
    // split and decode inserted, removed and repeated at random places.
    const std::string blocks[] = {
        std::string("From - Mon Jan  2 15:04:05 2006\r\nFrom: =?ISO-8859-1?Q?Jos=E9?= <jose@example.com>\n"
                    "To: a@example.com,\n b@example.com\nCc: \"Doe, J\" <j@example.com>\n"
                    "Subject: =?UTF-8?B?8J+Ygg==?= and\n =?ISO-8859-15?Q?=A4?=\n"
                    "Date: Tue, 1 Feb 2000 10:00:00 +0100\nContent-Type: text/plain\n\nbody\n"),
        ">From x\r\nSubject: quoted From line\r\n\r\nbody",
        "Not a field\nSubject: rejected\n\nbody\n",
        ": no name\nSubject: x\n\n",
        "Subject: x\n: empty name\nbad line without colon\nFrom: a@b.example\n\nbody\n",
        "Subject : blanks before the colon\nX Y: blank inside a name\n\n",
        "Subject: folded\n  once\n\tand twice\r\n\r\nbody",
        "\nSubject: after an empty first line\n",
        "Subject: no line break at the end",
        "Subject: lost with the rest\nFro",
        "Subject: first\nSubject: =?UTF-8?Q?second?=\nDate: Mon, 2 Jan 2006 15:04:05 +0000\nDate: not a date\n\n",
        "From: a@b.example\nFrom: =?UTF-8?Q?C=2C_D?= <c@d.example>, e@f.example\nCc: (comment) g@h.example\n\n",
        "Content-Type: text/plain\nContent-Subject: x\nSubject: y\n\n",
        "Subject: cr\r\rstill the value\r\n\r\n",
        std::string("Subject: nul\0after\nTo: t@u.example\n\n", 34),
        "Subject: x\n\r",
        "",
    };
    const char* const pieces[] = { ":", " ", "\t", "\r", "\n", "\r\n", "\xE9", "=?", "?=", "From ", ">", ",", "<", "\"",
        "(", "Subject: s", "\nDate: 1 Jan 1999 00:00 GMT\n", "=?UTF-8?Q?=C3=A9?=", "\n X-KD-Protect: 41\n",
        "Team: a@b.example, \"C\" <c@D.Example>;", "<x@xn--mnchen-3ya.de>", "<y@m\xC3\xBCnchen.de>", "<A@[10.0.0.1]>",
        "\xC3\xA4" };
    std::mt19937 random(20061);
    for (size_t nCase = 0; nCase < 3000 && !HasFailure(); ++nCase) {
        std::string strBlock = blocks[nCase % std::size(blocks)];
        size_t nChanges = nCase < std::size(blocks) ? 0 : 1 + random() % 4;
        for (size_t i = 0; i < nChanges; ++i) {
            size_t nAt = random() % (strBlock.size() + 1);
            switch (random() % 3) {
            case 0:
                strBlock.insert(nAt, random() % 7 == 0 ? std::string(1, '\0') : pieces[random() % std::size(pieces)]);
                break;
            case 1:
                strBlock.erase(nAt, random() % 6);
                break;
            default:
                strBlock.insert(nAt, strBlock.substr(nAt, random() % 40));
                break;
            }
        }
        ExpectSameAsWholeParse(strBlock, "case " + std::to_string(nCase) + ": " + strBlock);
    }
}

TEST(CMailHeadersTest, MatchesTheWholeMessageParseOnRealFolders)
{
    auto folder = SharedTestData("mail");
    if (!folder)
        GTEST_SKIP() << "shared test data absent";
    size_t nMessages = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(*folder)) {
        std::string strExtension = entry.path().extension().string();
        if (!entry.is_regular_file() || strExtension == ".md" || strExtension == ".json")
            continue;
        std::unique_ptr<CMailMessage> pReader = std::make_unique<CNetscapeMessage>();
        if (strExtension == ".dbx")
            pReader = std::make_unique<COE5Message>();
        std::string strStore = ProgramPath(entry.path());
        for (DWORD dwPosition = 0;; dwPosition = pReader->GetPosition(), ++nMessages) {
            int nResult = pReader->ReadNext(strStore.c_str(), dwPosition, MAIL_MAX_PATH);
            if (nResult != MAIL_OK && nResult != MAIL_DELETED)
                break;
            ExpectSameAsWholeParse(pReader->GetRawMessage(),
                entry.path().filename().string() + " @ " + std::to_string(pReader->GetOffset()));
        }
    }
    EXPECT_GE(nMessages, 140u);
    // A note in one of them asks that its second Subject field not be shown.
    CNetscapeMessage noted;
    ASSERT_EQ(noted.ReadNext(ProgramPath(*folder / "mozilla-mbox" / "bugmail1").c_str(), 0, MAIL_MAX_PATH), MAIL_OK);
    EXPECT_STREQ(noted.GetSubject(), "[Bug 397009] A filter will let me tag, but not untag");
}
