#include "webaccess/pages/WebText.h"

#include <string>

namespace {

// The text with '|', '>', CR, LF and, with bAmpersand, '&' written as decimal
// character references.
CString EscapeFieldText(LPCTSTR pszText, bool bAmpersand)
{
    std::string strOut;
    for (const char* p = pszText ? pszText : ""; *p != '\0'; ++p) {
        const auto ch = static_cast<unsigned char>(*p);
        if ((ch == '&' && bAmpersand) || ch == '|' || ch == '>' || ch == '\r' || ch == '\n')
            strOut += "&#" + std::to_string(ch) + ";";
        else
            strOut += static_cast<char>(ch);
    }
    return CString(strOut.c_str(), static_cast<int>(strOut.size()));
}

} // namespace

CString LoadText(UINT nId)
{
    CString strText;
    strText.LoadString(nId);
    return strText;
}

CString HtmlEscape(LPCTSTR pszText, BOOL bKeepLines)
{
    std::string strOut;
    for (const char* p = pszText ? pszText : ""; *p != '\0'; ++p) {
        const auto ch = static_cast<unsigned char>(*p);
        switch (ch) {
        case '"':
        case '&':
        case '\'':
        case '<':
        case '\\':
            strOut += "&#" + std::to_string(ch) + ";";
            break;
        case '\n':
            strOut += bKeepLines ? " " : "<br>";
            break;
        default:
            strOut += ch < 32 ? ' ' : static_cast<char>(ch);
            break;
        }
    }
    return CString(strOut.c_str(), static_cast<int>(strOut.size()));
}

CString BackslashToSlash(LPCTSTR pszPath)
{
    CString strPath(pszPath);
    strPath.Replace('\\', '/');
    return strPath;
}

CString TokenFieldText(LPCTSTR pszText)
{
    return EscapeFieldText(pszText, true);
}

CString TokenFieldHtml(LPCTSTR pszText)
{
    // HtmlEscape already wrote every '&' of the text as a reference of its own.
    return EscapeFieldText(HtmlEscape(pszText, 1), false);
}

CString FormatEdirToken(LPCTSTR pszPath)
{
    CString strToken;
    strToken.Format("<#EDIR |%s|#>", pszPath);
    return strToken;
}

CString FormatWdirToken(int nBlock, int nSlot)
{
    CString strToken;
    strToken.Format("<#WDIR |%d| |%d|#>", nBlock, nSlot);
    return strToken;
}

CString FormatVuplToken()
{
    return CString("<#VUPL#>");
}

CString ScriptStringText(LPCTSTR pszText)
{
    static constexpr char HEX_DIGITS[] = "0123456789ABCDEF";
    std::string strScript;
    for (const char* p = pszText ? pszText : ""; *p != '\0'; ++p) {
        const auto ch = static_cast<unsigned char>(*p);
        if (ch < 32 || ch == '"' || ch == '\'' || ch == '\\' || ch == '&' || ch == '<' || ch == '>') {
            strScript += "\\x";
            strScript += HEX_DIGITS[ch >> 4];
            strScript += HEX_DIGITS[ch & 0xF];
        } else {
            strScript += static_cast<char>(ch);
        }
    }
    return CString(strScript.c_str(), static_cast<int>(strScript.size()));
}

CString FormatCommandLink(LPCTSTR pszToken)
{
    CString strLink;
    strLink.Format(
        "href='javascript:parent.applet.document.wa.snd(&quot;%s&quot;);'onmouseover='self.status=&quot;&quot;;"
        "return true'",
        static_cast<LPCTSTR>(ScriptStringText(pszToken)));
    return strLink;
}

const WA_SEARCH_CHOICE g_waMatchModes[3] = {
    { "1W", "At Least One Word Listed", 1 },
    { "AW", "All Words Listed", 0 },
    { "WS", "Whole Sentence", 2 },
};

const WA_SEARCH_CHOICE g_waSearchFields[5] = {
    { "ANY", "Any place in Catalog", 5 },
    { "DSC", "Description", 0 },
    { "FLD", "Folder", 2 },
    { "FTO", "From/To", 3 },
    { "NAM", "Name", 1 },
};
