#include "catalog/CWordFinder.h"

#include "platform/base/TextFunctions.h"

#include <algorithm>
#include <cstring>

namespace {

// A malformed byte stands for itself, apart from every code point.
constexpr char32_t MALFORMED_BYTE = 0x80000000;

char32_t CharAt(std::string_view text, std::size_t nPos, std::size_t* pnLength)
{
    const unsigned char b = static_cast<unsigned char>(text[nPos]);
    if (b < 0x80) {
        *pnLength = 1;
        return b;
    }
    const Utf8Char ch = DecodeUtf8Char(text, nPos);
    *pnLength = ch.nLength;
    return ch.bValid ? ch.cp : (MALFORMED_BYTE | b);
}

char32_t Lowered(char32_t cp)
{
    if (cp < 0x80)
        return (cp >= 'A' && cp <= 'Z') ? cp + ('a' - 'A') : cp;
    return (cp & MALFORMED_BYTE) != 0 ? cp : CharToLowerW(cp);
}

char FirstByteOf(char32_t cp)
{
    if ((cp & MALFORMED_BYTE) != 0)
        return static_cast<char>(cp & 0xFF);
    char encoded[4];
    EncodeUtf8Char(cp, encoded);
    return encoded[0];
}

bool IsWordChar(char32_t cp)
{
    return (cp & MALFORMED_BYTE) == 0 && IsCharAlphaNumericW(cp);
}

} // namespace

CWordFinder::CWordFinder(std::string_view word, BOOL bWholeWord, BOOL bCaseSensitive)
    : m_word(word)
    , m_bWholeWord(bWholeWord)
    , m_bCaseSensitive(bCaseSensitive)
{
    if (m_word.empty())
        return;
    m_chFirst = m_chOther = m_word[0];
    if (m_bCaseSensitive)
        return;
    for (std::size_t nPos = 0, nLength = 0; nPos < m_word.size(); nPos += nLength)
        m_lowered.push_back(Lowered(CharAt(m_word, nPos, &nLength)));
    std::size_t nLength = 0;
    const char32_t chFirst = CharAt(m_word, 0, &nLength);
    if ((chFirst & MALFORMED_BYTE) == 0) {
        m_chFirst = FirstByteOf(Lowered(chFirst));
        m_chOther = FirstByteOf(CharToUpperW(chFirst));
    }
}

bool CWordFinder::Find(std::string_view text, std::size_t nFrom, std::size_t nStarts, char32_t chBefore) const
{
    if (m_word.empty())
        return false;
    nStarts = std::min(nStarts, text.size());
    const char* pText = text.data();
    // The next candidate of each first byte; nStarts when there is none.
    auto next = [&](char ch, std::size_t nFrom) -> std::size_t {
        if (nFrom >= nStarts)
            return nStarts;
        const void* pHit = std::memchr(pText + nFrom, ch, nStarts - nFrom);
        return pHit != nullptr ? static_cast<std::size_t>(static_cast<const char*>(pHit) - pText) : nStarts;
    };
    const bool bTwoBytes = m_chOther != m_chFirst;
    std::size_t nFirst = next(m_chFirst, nFrom);
    std::size_t nOther = bTwoBytes ? next(m_chOther, nFrom) : nStarts;
    while (true) {
        const std::size_t nPos = std::min(nFirst, nOther);
        if (nPos >= nStarts)
            return false;
        const std::size_t nLength = MatchAt(text, nPos);
        if (nLength != 0 && (!m_bWholeWord || IsWholeWord(text, nPos, nLength, chBefore)))
            return true;
        if (nFirst == nPos)
            nFirst = next(m_chFirst, nPos + 1);
        if (bTwoBytes && nOther == nPos)
            nOther = next(m_chOther, nPos + 1);
    }
}

std::size_t CWordFinder::MatchAt(std::string_view text, std::size_t nPos) const
{
    if (m_bCaseSensitive) {
        if (text.size() - nPos < m_word.size() || std::memcmp(text.data() + nPos, m_word.data(), m_word.size()) != 0)
            return 0;
        return m_word.size();
    }
    std::size_t nEnd = nPos;
    for (const char32_t chWord : m_lowered) {
        if (nEnd >= text.size())
            return 0;
        std::size_t nLength = 0;
        if (Lowered(CharAt(text, nEnd, &nLength)) != chWord)
            return 0;
        nEnd += nLength;
    }
    return nEnd - nPos;
}

bool CWordFinder::IsWholeWord(std::string_view text, std::size_t nPos, std::size_t nLength, char32_t chBefore) const
{
    if (IsWordChar(CharBefore(text, nPos, chBefore)))
        return false;
    const std::size_t nEnd = nPos + nLength;
    if (nEnd >= text.size())
        return true;
    std::size_t nCharLength = 0;
    return !IsWordChar(CharAt(text, nEnd, &nCharLength));
}

char32_t CWordFinder::CharBefore(std::string_view text, std::size_t nEnd, char32_t chBefore)
{
    if (nEnd == 0)
        return chBefore;
    // A character takes at most four bytes: look back for where it starts.
    std::size_t nStart = nEnd - 1;
    while (nStart > 0 && nEnd - nStart < 4 && (static_cast<unsigned char>(text[nStart]) & 0xC0) == 0x80)
        --nStart;
    std::size_t nLength = 0;
    const char32_t cp = CharAt(text, nStart, &nLength);
    if (nStart + nLength == nEnd)
        return cp;
    return MALFORMED_BYTE | static_cast<unsigned char>(text[nEnd - 1]);
}
