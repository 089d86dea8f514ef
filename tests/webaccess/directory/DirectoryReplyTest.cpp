#include "webaccess/directory/DirectoryReply.h"

#include <gtest/gtest.h>

#include <string>

TEST(DirectoryReplyTest, FieldsLieBetweenTheirBarsAndAMissingBarGivesNothing)
{
    const char* pszReply = "<#WACN |0| |Welcome| |x| |12AB34|#>";
    EXPECT_EQ(std::string(GetReplyField(pszReply, 1)), "0");
    EXPECT_EQ(std::string(GetReplyField(pszReply, 2)), "Welcome");
    EXPECT_EQ(std::string(GetReplyField(pszReply, 4)), "12AB34");
    EXPECT_EQ(std::string(GetReplyField(pszReply, 5)), "");
    EXPECT_EQ(std::string(GetReplyField("<#WACN |7| |no end", 2)), "");
    EXPECT_EQ(std::string(GetReplyField("<#WACN ", 1)), "");
    EXPECT_EQ(std::string(GetReplyField("<#WACN ||", 1)), "");
}

TEST(DirectoryReplyTest, CodesAreUnsignedDecimalsThatFitAnInt)
{
    EXPECT_EQ(ParseReplyCode(""), 0);
    EXPECT_EQ(ParseReplyCode("0"), 0);
    EXPECT_EQ(ParseReplyCode("12"), 12);
    EXPECT_EQ(ParseReplyCode("0015"), 15);
    EXPECT_EQ(ParseReplyCode("2147483647"), 2147483647);
    EXPECT_EQ(ParseReplyCode("2147483648"), -1);
    EXPECT_EQ(ParseReplyCode("9999999999"), -1);
    EXPECT_EQ(ParseReplyCode("12345678901"), -1);
    EXPECT_EQ(ParseReplyCode("1a"), -1);
    EXPECT_EQ(ParseReplyCode("-3"), -1);
    EXPECT_EQ(ParseReplyCode(" 1"), -1);
}

TEST(DirectoryReplyTest, APageBecomesItsReadableText)
{
    auto plain = [](const char* psz) { return std::string(PageToPlainText(psz)); };
    EXPECT_EQ(plain("<html><head><title>500</title><style>p { color: red }</style>"
                    "<script type=\"x\">if (a < b) alert(1);</script></head>"
                    "<body><!-- hidden <b> --><p>Server&nbsp;Error:</p>\n\n  <b>a &lt; b &amp;&amp; c&#33;</b>"
                    "</body></html>"),
        "500 Server&nbsp;Error: a < b && c!");
    EXPECT_EQ(plain("plain text  \r\n with   blanks "), "plain text with blanks");
    EXPECT_EQ(plain("&#233;t&#0;&#1114112;&#;&#12x"), "\xC3\xA9t&#;&#12x");
    EXPECT_EQ(plain("<unclosed tag and more"), "");
    EXPECT_EQ(plain("a<SCRIPT>never</SCRIPT>b<scripts>kept</scripts>"), "a b kept");
}

TEST(DirectoryReplyTest, ThePlainTextIsNeverLongerThanThePage)
{
    for (const char* psz : { "&#65536;", "&#1;", "&#x41;", "&quot;&#9999;", "<p>&#127;</p>", "a\xC3\xA9" }) {
        CString strPage(psz);
        EXPECT_LE(PageToPlainText(strPage).GetLength(), strPage.GetLength()) << psz;
    }
}
