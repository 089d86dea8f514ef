#include "webaccess/directory/DirectoryReply.h"

#include "platform/base/TextFunctions.h"

#include <cstring>
#include <string>
#include <string_view>

namespace {

constexpr int MAX_CODE = 2147483647;
constexpr int MAX_CODE_BEFORE_DIGIT = 214748364;

bool StartsWithNoCase(std::string_view text, size_t nPos, std::string_view prefix)
{
    if (text.size() - nPos < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        char ch = text[nPos + i];
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
        if (ch != prefix[i])
            return false;
    }
    return true;
}

// Whether the tag at nPos has the name of `open` ("<script"), in any case.
bool IsTag(std::string_view text, size_t nPos, std::string_view open)
{
    if (!StartsWithNoCase(text, nPos, open))
        return false;
    size_t nAfter = nPos + open.size();
    return nAfter == text.size() || text[nAfter] == '>' || text[nAfter] == '/' || text[nAfter] == ' '
        || text[nAfter] == '\t' || text[nAfter] == '\r' || text[nAfter] == '\n';
}

bool IsBlank(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\f' || ch == '\v';
}

// Appends the code point as UTF-8; nothing for a value that is not a character.
void AppendCodePoint(std::string& strOut, unsigned long nCode)
{
    if (nCode == 0 || nCode > 0x10FFFF || (nCode >= 0xD800 && nCode <= 0xDFFF))
        return;
    char bytes[4];
    strOut.append(bytes, EncodeUtf8Char(static_cast<char32_t>(nCode), bytes));
}

// Decodes the entity at nPos (a '&') into strOut and returns its length; 0
// when it is not one of the entities read here.
size_t DecodeEntity(std::string_view text, size_t nPos, std::string& strOut)
{
    static constexpr struct {
        std::string_view name;
        char ch;
    } NAMED[] = { { "&lt;", '<' }, { "&gt;", '>' }, { "&amp;", '&' }, { "&quot;", '"' } };
    for (const auto& entity : NAMED) {
        if (text.substr(nPos, entity.name.size()) == entity.name) {
            strOut += entity.ch;
            return entity.name.size();
        }
    }
    if (text.substr(nPos, 2) != "&#")
        return 0;
    size_t nEnd = nPos + 2;
    unsigned long nCode = 0;
    while (nEnd < text.size() && nEnd - nPos < 10 && text[nEnd] >= '0' && text[nEnd] <= '9')
        nCode = nCode * 10 + static_cast<unsigned long>(text[nEnd++] - '0');
    if (nEnd == nPos + 2 || nEnd >= text.size() || text[nEnd] != ';')
        return 0;
    AppendCodePoint(strOut, nCode); // at most 4 bytes for at least 4 characters
    return nEnd + 1 - nPos;
}

// The position after the element's closing tag ("</script"), or the end.
size_t SkipElementContent(std::string_view text, size_t nPos, std::string_view closing)
{
    for (size_t n = nPos; n < text.size(); ++n)
        if (text[n] == '<' && StartsWithNoCase(text, n, closing)) {
            size_t nClose = text.find('>', n);
            return nClose == std::string_view::npos ? text.size() : nClose + 1;
        }
    return text.size();
}

} // namespace

CString GetReplyField(LPCTSTR pszReply, int nField)
{
    if (!pszReply || nField < 1)
        return CString();
    const char* pStart = pszReply;
    for (int nBar = 0; nBar < 2 * nField - 1; ++nBar) {
        pStart = std::strchr(pStart, '|');
        if (!pStart)
            return CString();
        ++pStart;
    }
    const char* pEnd = std::strchr(pStart, '|');
    if (!pEnd)
        return CString();
    return CString(pStart, static_cast<int>(pEnd - pStart));
}

int ParseReplyCode(LPCTSTR pszField)
{
    int nValue = 0;
    for (const char* p = pszField ? pszField : ""; *p; ++p) {
        if (*p < '0' || *p > '9' || nValue > MAX_CODE_BEFORE_DIGIT)
            return -1;
        int nDigit = *p - '0';
        if (nValue == MAX_CODE_BEFORE_DIGIT && nDigit > MAX_CODE % 10)
            return -1;
        nValue = nValue * 10 + nDigit;
    }
    return nValue;
}

CString PageToPlainText(const CString& strPage)
{
    std::string_view text(static_cast<LPCTSTR>(strPage), static_cast<size_t>(strPage.GetLength()));
    std::string strOut;
    strOut.reserve(text.size());
    bool bPendingBlank = false;
    auto append = [&](std::string_view piece) {
        for (char ch : piece) {
            if (IsBlank(ch)) {
                bPendingBlank = !strOut.empty();
                continue;
            }
            if (bPendingBlank)
                strOut += ' ';
            bPendingBlank = false;
            strOut += ch;
        }
    };
    size_t nPos = 0;
    while (nPos < text.size()) {
        char ch = text[nPos];
        if (ch == '<') {
            if (text.substr(nPos, 4) == "<!--") {
                size_t nEnd = text.find("-->", nPos + 4);
                nPos = nEnd == std::string_view::npos ? text.size() : nEnd + 3;
            } else {
                size_t nTag = nPos;
                size_t nEnd = text.find('>', nPos);
                nPos = nEnd == std::string_view::npos ? text.size() : nEnd + 1;
                if (IsTag(text, nTag, "<script"))
                    nPos = SkipElementContent(text, nPos, "</script");
                else if (IsTag(text, nTag, "<style"))
                    nPos = SkipElementContent(text, nPos, "</style");
            }
            append(" "); // a tag separates words
            continue;
        }
        if (ch == '&') {
            std::string strDecoded;
            if (size_t nLength = DecodeEntity(text, nPos, strDecoded)) {
                append(strDecoded);
                nPos += nLength;
                continue;
            }
        }
        append(text.substr(nPos, 1));
        ++nPos;
    }
    return CString(strOut.data(), static_cast<int>(strOut.size()));
}
