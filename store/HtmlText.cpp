#include "store/HtmlText.h"

#include "platform/base/TextFunctions.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

namespace {

char Lower(char ch)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
}

bool IsSpace(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r' || ch == '\f';
}

// Whether strText at nPos starts with strWord, ignoring ASCII case.
bool StartsWithNoCase(std::string_view strText, size_t nPos, std::string_view strWord)
{
    if (nPos + strWord.size() > strText.size())
        return false;
    for (size_t i = 0; i < strWord.size(); ++i) {
        if (Lower(strText[nPos + i]) != strWord[i])
            return false;
    }
    return true;
}

// The position of strWord (lower case) in strText from nFrom, ignoring case; npos when absent.
size_t FindNoCase(std::string_view strText, std::string_view strWord, size_t nFrom)
{
    for (size_t i = nFrom; i + strWord.size() <= strText.size(); ++i) {
        if (StartsWithNoCase(strText, i, strWord))
            return i;
    }
    return std::string_view::npos;
}

// One character in UTF-8; a NUL, which would end the text, stands as U+FFFD.
std::string CodePointToUtf8(char32_t ch)
{
    std::string strText;
    AppendUtf8(strText, ch == 0 ? U'\xFFFD' : ch);
    return strText;
}

// The named references of the Latin-1 characters, U+00A0 to U+00FF in order.
// clang-format off
constexpr std::array<std::string_view, 96> LATIN1_NAMES = {
    "nbsp", "iexcl", "cent", "pound", "curren", "yen", "brvbar", "sect", "uml", "copy", "ordf", "laquo",
    "not", "shy", "reg", "macr", "deg", "plusmn", "sup2", "sup3", "acute", "micro", "para", "middot",
    "cedil", "sup1", "ordm", "raquo", "frac14", "frac12", "frac34", "iquest", "Agrave", "Aacute", "Acirc",
    "Atilde", "Auml", "Aring", "AElig", "Ccedil", "Egrave", "Eacute", "Ecirc", "Euml", "Igrave", "Iacute",
    "Icirc", "Iuml", "ETH", "Ntilde", "Ograve", "Oacute", "Ocirc", "Otilde", "Ouml", "times", "Oslash",
    "Ugrave", "Uacute", "Ucirc", "Uuml", "Yacute", "THORN", "szlig", "agrave", "aacute", "acirc", "atilde",
    "auml", "aring", "aelig", "ccedil", "egrave", "eacute", "ecirc", "euml", "igrave", "iacute", "icirc",
    "iuml", "eth", "ntilde", "ograve", "oacute", "ocirc", "otilde", "ouml", "divide", "oslash", "ugrave",
    "uacute", "ucirc", "uuml", "yacute", "thorn", "yuml",
};

struct CNamedReference {
    std::string_view strName;
    char32_t ch;
};
constexpr std::array OTHER_NAMES = {
    CNamedReference { "amp", U'&' },       CNamedReference { "lt", U'<' },
    CNamedReference { "gt", U'>' },        CNamedReference { "quot", U'"' },
    CNamedReference { "apos", U'\'' },     CNamedReference { "euro", U'\u20AC' },
    CNamedReference { "ndash", U'\u2013' }, CNamedReference { "mdash", U'\u2014' },
    CNamedReference { "lsquo", U'\u2018' }, CNamedReference { "rsquo", U'\u2019' },
    CNamedReference { "ldquo", U'\u201C' }, CNamedReference { "rdquo", U'\u201D' },
    CNamedReference { "bull", U'\u2022' },  CNamedReference { "hellip", U'\u2026' },
    CNamedReference { "trade", U'\u2122' }, CNamedReference { "OElig", U'\u0152' },
    CNamedReference { "oelig", U'\u0153' }, CNamedReference { "Scaron", U'\u0160' },
    CNamedReference { "scaron", U'\u0161' }, CNamedReference { "Yuml", U'\u0178' },
};
// clang-format on

// Decodes the reference at strHtml[nPos] ('&'): its text, and nPos past it.
// Text that is no reference stays as it is.
std::string DecodeReference(std::string_view strHtml, size_t& nPos)
{
    const size_t nEnd = strHtml.find(';', nPos + 1);
    if (nEnd == std::string_view::npos || nEnd - nPos > 32) {
        ++nPos;
        return "&";
    }
    const std::string_view strName = strHtml.substr(nPos + 1, nEnd - nPos - 1);
    std::string strText;
    if (strName.size() > 1 && strName[0] == '#') {
        const bool bHex = strName[1] == 'x' || strName[1] == 'X';
        const std::string_view strDigits = strName.substr(bHex ? 2 : 1);
        char32_t ch = 0;
        bool bValid = !strDigits.empty() && strDigits.size() <= 8;
        for (char digit : strDigits) {
            const int nDigit = std::isdigit(static_cast<unsigned char>(digit)) ? digit - '0'
                : bHex && std::isxdigit(static_cast<unsigned char>(digit))     ? Lower(digit) - 'a' + 10
                                                                               : -1;
            bValid &= nDigit >= 0;
            ch = ch * (bHex ? 16 : 10) + static_cast<char32_t>(std::max(nDigit, 0));
        }
        if (bValid)
            strText = CodePointToUtf8(ch);
    } else {
        for (size_t i = 0; i < LATIN1_NAMES.size() && strText.empty(); ++i) {
            if (LATIN1_NAMES[i] == strName)
                strText = CodePointToUtf8(static_cast<char32_t>(0xA0 + i));
        }
        for (const CNamedReference& reference : OTHER_NAMES) {
            if (strText.empty() && reference.strName == strName)
                strText = CodePointToUtf8(reference.ch);
        }
    }
    if (strText.empty()) {
        ++nPos;
        return "&";
    }
    nPos = nEnd + 1;
    return strText == "\u00A0" ? " " : strText;
}

// Elements that start a line of their own.
bool IsBlockElement(std::string_view strName)
{
    static constexpr std::array<std::string_view, 28> s_blocks
        = { "address", "article", "aside", "blockquote", "br", "dd", "div", "dl", "dt", "footer", "form", "h1", "h2",
              "h3", "h4", "h5", "h6", "header", "hr", "li", "ol", "p", "pre", "section", "table", "tr", "ul", "body" };
    return std::find(s_blocks.begin(), s_blocks.end(), strName) != s_blocks.end();
}

// Elements whose content is no text to read.
bool IsHiddenElement(std::string_view strName)
{
    return strName == "script" || strName == "style" || strName == "title" || strName == "noscript";
}

// Collects text, one blank for a run of white space and at most one empty line.
class CTextCollector {
public:
    void AddText(std::string_view strText, bool bPre)
    {
        for (char ch : strText) {
            if (bPre || !IsSpace(ch)) {
                if (m_bPendingBlank && !m_strText.empty() && m_strText.back() != '\n')
                    m_strText += ' ';
                m_bPendingBlank = false;
                m_strText += ch == '\r' ? '\n' : ch;
            } else {
                m_bPendingBlank = true;
            }
        }
    }
    void AddDecoded(const std::string& strText) { AddText(strText, true); }
    void BreakLine()
    {
        m_bPendingBlank = false;
        if (m_strText.empty() || m_strText.ends_with("\n\n"))
            return;
        m_strText += '\n';
    }
    std::string Take()
    {
        while (!m_strText.empty() && IsSpace(m_strText.back()))
            m_strText.pop_back();
        return std::move(m_strText);
    }

private:
    std::string m_strText;
    bool m_bPendingBlank { false };
};

} // namespace

bool IsHtmlDocument(std::string_view strExtension, std::string_view strData)
{
    std::string strLower;
    for (char ch : strExtension)
        strLower += Lower(ch);
    if (strLower == "htm" || strLower == "html" || strLower == "xhtml" || strLower == "shtml")
        return true;
    size_t nStart = 0;
    while (nStart < strData.size() && IsSpace(strData[nStart]))
        ++nStart;
    return StartsWithNoCase(strData, nStart, "<!doctype html") || StartsWithNoCase(strData, nStart, "<html");
}

std::string HtmlDeclaredCharset(std::string_view strHtml)
{
    for (size_t nMeta = FindNoCase(strHtml, "<meta", 0); nMeta != std::string_view::npos;
         nMeta = FindNoCase(strHtml, "<meta", nMeta + 5)) {
        const size_t nClose = strHtml.find('>', nMeta);
        const std::string_view strTag
            = strHtml.substr(nMeta, nClose == std::string_view::npos ? nClose : nClose - nMeta);
        const size_t nCharset = FindNoCase(strTag, "charset", 0);
        if (nCharset == std::string_view::npos)
            continue;
        size_t nPos = nCharset + 7;
        while (nPos < strTag.size()
            && (IsSpace(strTag[nPos]) || strTag[nPos] == '=' || strTag[nPos] == '"' || strTag[nPos] == '\''))
            ++nPos;
        std::string strCharset;
        for (; nPos < strTag.size()
             && (std::isalnum(static_cast<unsigned char>(strTag[nPos])) || strTag[nPos] == '-' || strTag[nPos] == '_'
                 || strTag[nPos] == ':' || strTag[nPos] == '.');
             ++nPos)
            strCharset += Lower(strTag[nPos]);
        if (!strCharset.empty())
            return strCharset;
    }
    return {};
}

std::string HtmlToText(std::string_view strHtml)
{
    CTextCollector text;
    int nPreDepth = 0;
    size_t nPos = 0;
    while (nPos < strHtml.size()) {
        const char ch = strHtml[nPos];
        if (ch == '&') {
            text.AddDecoded(DecodeReference(strHtml, nPos));
            continue;
        }
        if (ch != '<') {
            const size_t nNext = strHtml.find_first_of("<&", nPos);
            const size_t nEnd = nNext == std::string_view::npos ? strHtml.size() : nNext;
            text.AddText(strHtml.substr(nPos, nEnd - nPos), nPreDepth > 0);
            nPos = nEnd;
            continue;
        }
        if (StartsWithNoCase(strHtml, nPos, "<!--")) {
            const size_t nEnd = strHtml.find("-->", nPos + 4);
            nPos = nEnd == std::string_view::npos ? strHtml.size() : nEnd + 3;
            continue;
        }
        // A tag: its name, lower-cased, then past its closing '>' (quoted values may hold one).
        const bool bClosing = nPos + 1 < strHtml.size() && strHtml[nPos + 1] == '/';
        size_t nName = nPos + (bClosing ? 2 : 1);
        std::string strName;
        while (nName < strHtml.size() && (std::isalnum(static_cast<unsigned char>(strHtml[nName]))))
            strName += Lower(strHtml[nName++]);
        if (strName.empty() && !bClosing
            && (nName >= strHtml.size() || (strHtml[nName] != '!' && strHtml[nName] != '?'))) {
            text.AddText("<", nPreDepth > 0); // a lone '<' is text
            ++nPos;
            continue;
        }
        char chQuote = 0;
        size_t nEnd = nName;
        for (; nEnd < strHtml.size(); ++nEnd) {
            if (chQuote) {
                if (strHtml[nEnd] == chQuote)
                    chQuote = 0;
            } else if (strHtml[nEnd] == '"' || strHtml[nEnd] == '\'') {
                chQuote = strHtml[nEnd];
            } else if (strHtml[nEnd] == '>') {
                break;
            }
        }
        nPos = nEnd == strHtml.size() ? nEnd : nEnd + 1;
        if (!bClosing && IsHiddenElement(strName)) {
            const size_t nClose = FindNoCase(strHtml, "</" + strName, nPos);
            if (nClose == std::string_view::npos)
                break; // the rest is the element's
            const size_t nCloseEnd = strHtml.find('>', nClose);
            nPos = nCloseEnd == std::string_view::npos ? strHtml.size() : nCloseEnd + 1;
            continue;
        }
        if (strName == "pre")
            nPreDepth = std::max(0, nPreDepth + (bClosing ? -1 : 1));
        if (IsBlockElement(strName) || strName == "td" || strName == "th") {
            if (strName == "td" || strName == "th")
                text.AddText(" ", false);
            else
                text.BreakLine();
        }
    }
    return text.Take();
}
