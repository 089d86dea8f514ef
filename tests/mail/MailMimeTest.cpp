#include "mail/MailMime.h"

#include "mail/MailPassword.h"

#include <gtest/gtest.h>

namespace {

const char* const MULTIPART_WITH_ATTACHMENT = "From: a@example.com\n"
                                              "Subject: parts\n"
                                              "MIME-Version: 1.0\n"
                                              "Content-Type: multipart/mixed; boundary=\"XX\"\n"
                                              "\n"
                                              "--XX\n"
                                              "Content-Type: text/plain; charset=ISO-8859-1\n"
                                              "Content-Transfer-Encoding: quoted-printable\n"
                                              "\n"
                                              "Gr=FC=DFe, soft=\n"
                                              "break\n"
                                              "--XX\n"
                                              "Content-Type: text/plain; name=notes.txt\n"
                                              "Content-Disposition: attachment; filename=notes.txt\n"
                                              "\n"
                                              "not the body\n"
                                              "--XX--\n";

} // namespace

TEST(MailMimeTest, ChoosesThePlainPartOfAMultipartAndDecodesIt)
{
    // The line break before a boundary belongs to the boundary.
    EXPECT_EQ(MailTextFromMime(MULTIPART_WITH_ATTACHMENT),
        "Gr\xC3\xBC\xC3\x9F"
        "e, softbreak");
}

TEST(MailMimeTest, DecodesBase64BodiesAndCharsets)
{
    std::string strMessage = "Subject: b64\n"
                             "Content-Type: text/plain; charset=windows-1252\n"
                             "Content-Transfer-Encoding: base64\n"
                             "\n"
                             "k2N1cmx5lCBxdW90ZXMgYW5kIIAK\n";
    EXPECT_EQ(MailTextFromMime(strMessage),
        "\xE2\x80\x9C"
        "curly\xE2\x80\x9D quotes and \xE2\x82\xAC\n");
}

TEST(MailMimeTest, PrefersPlainTextAndStripsHtmlWhenItIsAlone)
{
    std::string strAlternative = "Content-Type: multipart/alternative; boundary=b\n\n"
                                 "--b\nContent-Type: text/html\n\n<p>html</p>\n"
                                 "--b\nContent-Type: text/plain\n\nplain\n--b--\n";
    EXPECT_EQ(MailTextFromMime(strAlternative), "plain");
    std::string strHtml = "Content-Type: text/html; charset=utf-8\n\n"
                          "<html><head><style>p{color:red}</style><script>x<y</script></head>"
                          "<body>Fish &amp; chips &#8364;5&nbsp;<!-- hidden --><b>now</b></body></html>";
    EXPECT_EQ(MailTextFromMime(strHtml),
        "Fish & chips \xE2\x82\xAC"
        "5\xC2\xA0now");
}

TEST(MailMimeTest, SurvivesGarbage)
{
    std::string strBinary;
    for (int i = 0; i < 4096; ++i)
        strBinary += static_cast<char>((i * 131) & 0xFF);
    (void)MailTextFromMime(strBinary);
    EXPECT_TRUE(MailTextFromMime("").empty());
    EXPECT_TRUE(MailTextFromMime("Content-Type: multipart/mixed; boundary=q\n\n--q\n--q\n--q--").empty());
    EXPECT_EQ(MailTextFromHtml("<unclosed"), "");
    EXPECT_EQ(MailTextFromHtml("a &bogus; &#xZZ; &#0; b"), "a &bogus; &#xZZ; &#0; b");
}

TEST(MailPasswordTest, ScramblingIsReversibleAndHidesThePassword)
{
    for (const char* pszPassword : { "", "a", "aaaaaaaaaa", "p\xC3\xA4ss word", "0123456789abcdefXYZ" }) {
        std::string strScrambled = ScramblePassword(pszPassword);
        EXPECT_EQ(strScrambled.find_first_not_of("0123456789ABCDEF"), std::string::npos);
        std::string strPlain;
        ASSERT_TRUE(UnscramblePassword(strScrambled, strPlain));
        EXPECT_EQ(strPlain, pszPassword);
        if (*pszPassword) {
            EXPECT_EQ(strScrambled.find(pszPassword), std::string::npos);
        }
    }
    // Equal characters scramble differently by position.
    std::string strRepeated = ScramblePassword("aaaa");
    EXPECT_NE(strRepeated.substr(0, 2), strRepeated.substr(2, 2));
}

TEST(MailPasswordTest, RejectsTextThatIsNotAScrambledValue)
{
    std::string strPlain = "left over";
    EXPECT_FALSE(UnscramblePassword("ABC", strPlain));
    EXPECT_TRUE(strPlain.empty());
    EXPECT_FALSE(UnscramblePassword("GG", strPlain));
    EXPECT_TRUE(UnscramblePassword(" " + ScramblePassword("x") + " ", strPlain));
    EXPECT_EQ(strPlain, "x");
}
