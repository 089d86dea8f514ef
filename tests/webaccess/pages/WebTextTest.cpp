#include "webaccess/pages/WebText.h"

#include <gtest/gtest.h>

#include <string>

TEST(WebTextTest, HtmlEscapeReplacesMarkupCharactersOnly)
{
    EXPECT_STREQ(HtmlEscape("a<b & 'c' > d", 0), "a&#60;b &#38; &#39;c&#39; > d");
    EXPECT_STREQ(HtmlEscape("say \"x\" C:\\dir", 0), "say &#34;x&#34; C:&#92;dir");
    EXPECT_STREQ(HtmlEscape("caf\xC3\xA9", 0), "caf\xC3\xA9");
}

TEST(WebTextTest, HtmlEscapeTurnsLineFeedsAndControlBytes)
{
    EXPECT_STREQ(HtmlEscape("one\ntwo", 0), "one<br>two");
    EXPECT_STREQ(HtmlEscape("one\ntwo", 1), "one two");
    EXPECT_STREQ(HtmlEscape("a\tb\rc\x01", 0), "a b c ");
    EXPECT_STREQ(HtmlEscape(nullptr, 0), "");
}

TEST(WebTextTest, BackslashToSlashOnlyTurnsSeparators)
{
    EXPECT_STREQ(BackslashToSlash("C:\\My Documents\\report.doc"), "C:/My Documents/report.doc");
    EXPECT_STREQ(BackslashToSlash("C:\\a&b'c"), "C:/a&b'c");
    EXPECT_STREQ(BackslashToSlash(""), "");
}

TEST(WebTextTest, PathInALinkIsEscapedOnceAndReachesTheFrameUnchanged)
{
    // What the frame's script receives: the link's \xHH escapes decoded.
    const auto decode = [](const std::string& strLink) {
        const size_t nStart = strLink.find("snd(&quot;") + 10;
        const std::string strInside = strLink.substr(nStart, strLink.find("&quot;);'") - nStart);
        std::string strOut;
        for (size_t i = 0; i < strInside.size(); ++i) {
            if (strInside[i] == '\\' && strInside[i + 1] == 'x') {
                strOut += static_cast<char>(std::stoi(strInside.substr(i + 2, 2), nullptr, 16));
                i += 3;
            } else {
                strOut += strInside[i];
            }
        }
        return strOut;
    };
    const CString strLink = FormatCommandLink(FormatEdirToken(BackslashToSlash("C:\\a'b\"c&d<e\\")));
    EXPECT_EQ(decode(static_cast<LPCTSTR>(strLink)), "<#EDIR |C:/a'b\"c&d<e/|#>");
}

TEST(WebTextTest, TokenFieldsHoldNoFramingCharactersAndReadBackExactly)
{
    EXPECT_STREQ(TokenFieldText("a|b#>c\r\nd"), "a&#124;b#&#62;c&#13;&#10;d");
    // A name that looks like a reference keeps its '&', so it reads back as written.
    EXPECT_STREQ(TokenFieldText("i&#124;j & k.txt"), "i&#38;#124;j &#38; k.txt");
    EXPECT_STREQ(TokenFieldText(nullptr), "");
    // A field shown as page text is escaped for the page once, not twice.
    EXPECT_STREQ(TokenFieldHtml("<a|b> it's & c\n"), "&#60;a&#124;b&#62; it&#39;s &#38; c ");
}

TEST(WebTextTest, TokenBuildersWriteTheCommandGrammar)
{
    EXPECT_STREQ(FormatEdirToken("C:/x"), "<#EDIR |C:/x|#>");
    EXPECT_STREQ(FormatWdirToken(3, -1), "<#WDIR |3| |-1|#>");
    EXPECT_STREQ(FormatVuplToken(), "<#VUPL#>");
}

TEST(WebTextTest, CommandLinkKeepsAPlainTokenUnchanged)
{
    EXPECT_STREQ(FormatCommandLink("<#WDIR |1| |2|#>"),
        "href='javascript:parent.applet.document.wa.snd(&quot;\\x3C#WDIR |1| |2|#\\x3E&quot;);'"
        "onmouseover='self.status=&quot;&quot;;return true'");
}

TEST(WebTextTest, CommandLinkCannotBeLeftByAQuoteInAName)
{
    const std::string strLink = static_cast<LPCTSTR>(FormatCommandLink("<#EDIR |C:/a\"b'c\\d&#34;|#>"));
    const std::string strScript = strLink.substr(0, strLink.find("&quot;);'"));
    // Between the opening of the script string and its end nothing may close
    // the string or the attribute, and no reference may decode to a quote.
    const std::string strInside = strScript.substr(strScript.find("snd(&quot;") + 10);
    EXPECT_EQ(strInside.find_first_of("\"'&<>"), std::string::npos) << strInside;
    EXPECT_NE(strInside.find("\\x22"), std::string::npos);
    EXPECT_NE(strInside.find("\\x27"), std::string::npos);
    EXPECT_NE(strInside.find("\\x5C"), std::string::npos);
}

TEST(WebTextTest, SearchTablesHoldTheCodesTheSearchReadsBack)
{
    EXPECT_STREQ(g_waMatchModes[0].pszCode, "1W");
    EXPECT_EQ(g_waMatchModes[1].nNumber, 0);
    EXPECT_STREQ(g_waSearchFields[4].pszCode, "NAM");
    EXPECT_EQ(g_waSearchFields[0].nNumber, 5);
}
