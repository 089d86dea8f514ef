#include "platform/controls/TypeAhead.h"

#include <algorithm>
#include <cctype>

namespace {

bool StartsWithNoCase(const std::string& strText, const std::string& strPrefix)
{
    return strText.size() >= strPrefix.size()
        && std::equal(strPrefix.begin(), strPrefix.end(), strText.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
           });
}

} // namespace

int CTypeAhead::Type(char ch, ULONGLONG nNow, int nCount, int nCaret, const std::function<std::string(int)>& textOf)
{
    if (nNow - m_nLastTyped > PAUSE_MS)
        m_strTyped.clear();
    m_nLastTyped = nNow;
    if (m_strTyped.empty() && ch == ' ')
        return -1;
    m_strTyped += ch;
    if (nCount <= 0)
        return -1;
    // The same letter again steps to the next item with it; a longer prefix
    // may still fit the item at the caret.
    const bool bOneLetter = std::all_of(m_strTyped.begin(), m_strTyped.end(), [&](char c) { return c == ch; });
    const std::string strPrefix = bOneLetter ? std::string(1, ch) : m_strTyped;
    const int nStart = nCaret < 0 ? 0 : (bOneLetter ? nCaret + 1 : nCaret);
    for (int i = 0; i < nCount; ++i) {
        const int nItem = (nStart + i) % nCount;
        if (StartsWithNoCase(textOf(nItem), strPrefix))
            return nItem;
    }
    return -1;
}
