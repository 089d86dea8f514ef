#pragma once

// Splits a resource script or ID header into tokens. Line comments, block
// comments and white space are skipped; a line whose first non-blank character
// is '#' is one directive token holding the rest of the line.

#include "platform/base/WinTypes.h"

#include <stdexcept>
#include <string>

// A script error, already worded as "file:line: message" (line 0: "file: message").
class CRcError : public std::runtime_error {
public:
    CRcError(const std::string& strFile, int nLine, const std::string& strMessage)
        : std::runtime_error(strFile + (nLine ? ":" + std::to_string(nLine) : "") + ": " + strMessage)
    {
    }
};

enum class RcTokenKind {
    End, // no more input
    Identifier,
    Number,
    String,    // strText holds the bytes after escapes are resolved
    Punct,     // one of { } , | ( ) + - ~ & ; strText is the character
    Directive, // strText is the line after '#'
};

struct RcToken {
    RcTokenKind eKind { RcTokenKind::End };
    std::string strText;
    LONGLONG nValue { 0 }; // numbers only
    bool bLong { false };  // a number written with an L suffix
    int nLine { 0 };

    bool Is(RcTokenKind eWanted, std::string_view text) const { return eKind == eWanted && strText == text; }
};

class CRcLexer {
public:
    // `nFirstLine` numbers the first line of `text`, for lexing a directive's tail.
    CRcLexer(std::string strFile, std::string text, int nFirstLine = 1);

    RcToken Next();
    const std::string& File() const { return m_strFile; }

private:
    [[noreturn]] void Fail(const std::string& strMessage) const { throw CRcError(m_strFile, m_nLine, strMessage); }
    void SkipBlanksAndComments();
    RcToken ReadNumber();
    RcToken ReadString();

    std::string m_strFile;
    std::string m_text;
    size_t m_nPos { 0 };
    int m_nLine { 1 };
    bool m_bLineStart { true };
};
