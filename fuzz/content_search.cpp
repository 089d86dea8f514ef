// Links: catalog
// Looks a word up in a content placed across the boundary of two scan windows
// and checks the windowed scan against a search of the whole buffer, and a
// case-sensitive search without the whole-word rule against a plain find.
// Input: a flags byte (1 whole word, 2 case-sensitive), a shift byte, a word
// length byte, the word, then the text.

#include "catalog/CWordFinder.h"
#include "catalog/ContentScan.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    if (nSize < 3)
        return 0;
    const bool bWholeWord = (pData[0] & 1) != 0;
    const bool bCaseSensitive = (pData[0] & 2) != 0;
    const size_t nShift = pData[1];
    const size_t nWordLength = std::min<size_t>(pData[2], nSize - 3);
    const std::string_view word(reinterpret_cast<const char*>(pData + 3), nWordLength);
    const std::string_view text(reinterpret_cast<const char*>(pData + 3 + nWordLength), nSize - 3 - nWordLength);

    // The text starts nShift bytes before the end of the first window.
    std::string content(CONTENT_WINDOW - std::min<size_t>(nShift, CONTENT_WINDOW), ' ');
    content += text;
    const CWordFinder finder(word, bWholeWord, bCaseSensitive);
    const bool bWhole = finder.Find(content);

    size_t nOffset = 0;
    const ContentReadFn read = [&](BYTE* pBuffer, int nCount) -> int {
        const size_t nRead = std::min(content.size() - nOffset, static_cast<size_t>(nCount));
        std::copy_n(content.data() + nOffset, nRead, pBuffer);
        nOffset += nRead;
        return static_cast<int>(nRead);
    };
    std::vector<bool> found;
    const std::vector<CWordFinder> words { finder };
    if (ScanContent(read, words, false, found) != EContentScan::Done || found[0] != bWhole)
        std::abort();
    if (bCaseSensitive && !bWholeWord && bWhole != (!word.empty() && content.find(word) != std::string::npos))
        std::abort();
    return 0;
}
