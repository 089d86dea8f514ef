#pragma once

// One search word, prepared for looking it up in text many times: in the
// catalog texts, in the windows of a content scan, and in the texts the
// placement rules read. Text is UTF-8; without regard to case, characters
// are compared lower-cased, Unicode-aware. Candidates are found with memchr
// on the first byte of the word's first character in either case, so a long
// text costs little more than a pass of memchr.
//
// With the whole-word rule a hit counts only where the characters before and
// after it are no letters or digits (in all of Unicode; a malformed byte is
// no letter). An empty word is never found.

#include "platform/base/WinTypes.h"

#include <string>
#include <string_view>
#include <vector>

class CWordFinder {
public:
    CWordFinder(std::string_view word, BOOL bWholeWord, BOOL bCaseSensitive);

    // TRUE when the word occurs starting at a byte from nFrom up to (not
    // including) nStarts of text. The compare may look back to the start of
    // text (the previous window's last bytes in a content scan) and read on to
    // its end (the next window's bytes), never beyond; past the end of text
    // comes a blank. chBefore is the character before text[0].
    bool Find(std::string_view text, std::size_t nFrom, std::size_t nStarts, char32_t chBefore = U' ') const;
    bool Find(std::string_view text) const { return Find(text, 0, text.size()); }

    const std::string& GetWord() const { return m_word; }

    // The character that ends just before nEnd in text (a malformed byte
    // counts as a character), or chBefore when nEnd is 0.
    static char32_t CharBefore(std::string_view text, std::size_t nEnd, char32_t chBefore);

private:
    // The length of the hit at nPos in text, or 0 when there is none.
    std::size_t MatchAt(std::string_view text, std::size_t nPos) const;
    bool IsWholeWord(std::string_view text, std::size_t nPos, std::size_t nLength, char32_t chBefore) const;

    std::string m_word;
    std::vector<char32_t> m_lowered; // the word's characters lower-cased; without case only
    BOOL m_bWholeWord;
    BOOL m_bCaseSensitive;
    char m_chFirst { 0 }; // the first byte of the word's first character
    char m_chOther { 0 }; // that of its other case; m_chFirst when it has none
};
