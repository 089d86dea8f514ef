#include "tools/rc/RcLexer.h"

#include <cctype>

namespace {

bool IsIdentifierStart(char c)
{
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}

bool IsIdentifierChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}

CRcLexer::CRcLexer(std::string strFile, std::string text, int nFirstLine)
    : m_strFile(std::move(strFile))
    , m_text(std::move(text))
    , m_nLine(nFirstLine)
{
}

void CRcLexer::SkipBlanksAndComments()
{
    while (m_nPos < m_text.size()) {
        char c = m_text[m_nPos];
        if (c == '\n') {
            ++m_nLine;
            ++m_nPos;
            m_bLineStart = true;
        } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
            ++m_nPos;
        } else if (m_text.compare(m_nPos, 2, "//") == 0) {
            m_nPos = m_text.find('\n', m_nPos);
            if (m_nPos == std::string::npos)
                m_nPos = m_text.size();
        } else if (m_text.compare(m_nPos, 2, "/*") == 0) {
            int nStartLine = m_nLine;
            size_t nEnd = m_text.find("*/", m_nPos + 2);
            if (nEnd == std::string::npos)
                throw CRcError(m_strFile, nStartLine, "comment is not closed");
            for (size_t i = m_nPos; i < nEnd; ++i)
                m_nLine += m_text[i] == '\n';
            m_nPos = nEnd + 2;
        } else {
            return;
        }
    }
}

RcToken CRcLexer::Next()
{
    SkipBlanksAndComments();
    RcToken token;
    token.nLine = m_nLine;
    if (m_nPos >= m_text.size())
        return token;

    const bool bLineStart = m_bLineStart;
    m_bLineStart = false;
    char c = m_text[m_nPos];
    if (c == '#' && bLineStart) {
        size_t nEnd = m_text.find('\n', m_nPos);
        if (nEnd == std::string::npos)
            nEnd = m_text.size();
        token.eKind = RcTokenKind::Directive;
        token.strText = m_text.substr(m_nPos + 1, nEnd - m_nPos - 1);
        m_nPos = nEnd;
        return token;
    }
    if (IsIdentifierStart(c)) {
        size_t nStart = m_nPos;
        while (m_nPos < m_text.size() && IsIdentifierChar(m_text[m_nPos]))
            ++m_nPos;
        token.eKind = RcTokenKind::Identifier;
        token.strText = m_text.substr(nStart, m_nPos - nStart);
        return token;
    }
    if (std::isdigit(static_cast<unsigned char>(c)))
        return ReadNumber();
    if (c == '"')
        return ReadString();
    if (std::string_view("{},|()+-~&").find(c) != std::string_view::npos) {
        ++m_nPos;
        token.eKind = RcTokenKind::Punct;
        token.strText = std::string(1, c);
        return token;
    }
    Fail(std::string("unexpected character '") + c + "'");
}

RcToken CRcLexer::ReadNumber()
{
    RcToken token;
    token.eKind = RcTokenKind::Number;
    token.nLine = m_nLine;
    constexpr LONGLONG MAX_VALUE = 0xFFFFFFFFLL;
    bool bHex = m_text.compare(m_nPos, 2, "0x") == 0 || m_text.compare(m_nPos, 2, "0X") == 0;
    if (bHex) {
        m_nPos += 2;
        if (m_nPos >= m_text.size() || HexDigitValue(m_text[m_nPos]) < 0)
            Fail("hexadecimal number has no digits");
    }
    const int nBase = bHex ? 16 : 10;
    while (m_nPos < m_text.size()) {
        int nDigit = HexDigitValue(m_text[m_nPos]);
        if (nDigit < 0 || nDigit >= nBase)
            break;
        token.nValue = token.nValue * nBase + nDigit;
        if (token.nValue > MAX_VALUE)
            Fail("number does not fit in 32 bits");
        ++m_nPos;
    }
    while (m_nPos < m_text.size() && std::string_view("LlUu").find(m_text[m_nPos]) != std::string_view::npos) {
        token.bLong |= m_text[m_nPos] == 'L' || m_text[m_nPos] == 'l';
        ++m_nPos;
    }
    if (m_nPos < m_text.size() && IsIdentifierChar(m_text[m_nPos]))
        Fail("malformed number");
    return token;
}

RcToken CRcLexer::ReadString()
{
    RcToken token;
    token.eKind = RcTokenKind::String;
    token.nLine = m_nLine;
    ++m_nPos; // opening quote
    for (;;) {
        if (m_nPos >= m_text.size() || m_text[m_nPos] == '\n')
            Fail("string is not closed on its line");
        char c = m_text[m_nPos++];
        if (c == '"') {
            // A doubled quote stands for one quote character.
            if (m_nPos < m_text.size() && m_text[m_nPos] == '"') {
                token.strText += '"';
                ++m_nPos;
                continue;
            }
            break;
        }
        if (c != '\\') {
            token.strText += c;
            continue;
        }
        if (m_nPos >= m_text.size())
            Fail("string is not closed on its line");
        char cEscape = m_text[m_nPos++];
        switch (cEscape) {
        case 'n':
            token.strText += '\n';
            break;
        case 't':
            token.strText += '\t';
            break;
        case 'r':
            token.strText += '\r';
            break;
        case 'a':
            token.strText += '\a';
            break;
        case '\\':
            token.strText += '\\';
            break;
        case '"':
            token.strText += '"';
            break;
        case '0':
            token.strText += '\0';
            break;
        case 'x': {
            int nHigh = m_nPos < m_text.size() ? HexDigitValue(m_text[m_nPos]) : -1;
            int nLow = m_nPos + 1 < m_text.size() ? HexDigitValue(m_text[m_nPos + 1]) : -1;
            if (nHigh < 0 || nLow < 0)
                Fail("\\x needs two hexadecimal digits");
            token.strText += static_cast<char>(nHigh * 16 + nLow);
            m_nPos += 2;
            break;
        }
        default:
            Fail(std::string("unknown escape \\") + cEscape);
        }
    }
    return token;
}
