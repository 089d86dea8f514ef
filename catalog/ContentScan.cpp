#include "catalog/ContentScan.h"

#include "platform/base/CFile.h"
#include "platform/base/CFileException.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>

namespace {

// Fills pBuffer with up to nCount bytes, reading on after short reads: fewer
// than nCount only at the end. Negative when a read failed.
int ReadWindow(const ContentReadFn& read, BYTE* pBuffer, int nCount)
{
    int nTotal = 0;
    while (nTotal < nCount) {
        const int nRead = read(pBuffer + nTotal, nCount - nTotal);
        if (nRead < 0)
            return -1;
        if (nRead == 0)
            break;
        nTotal += nRead;
    }
    return nTotal;
}

// The bytes of one window kept before the next: as many as a character's
// start lies back from its end, so that the character before a word at the
// next window's start is read whole, as in the whole content.
constexpr int KEPT_BYTES = 4;

// The scan buffer: the bytes kept and two windows, kept per thread, since
// every document of a search is scanned with one.
BYTE* ScanBuffer()
{
    thread_local std::unique_ptr<BYTE[]> pBuffer;
    if (!pBuffer)
        pBuffer = std::make_unique<BYTE[]>(KEPT_BYTES + 2 * CONTENT_WINDOW);
    return pBuffer.get();
}

} // namespace

EContentScan ScanContent(
    const ContentReadFn& read, std::span<const CWordFinder> words, bool bStopAtFirst, std::vector<bool>& found)
{
    found.assign(words.size(), false);
    std::size_t nLeft = words.size();
    if (nLeft == 0)
        return EContentScan::Done;
    BYTE* pBuffer = ScanBuffer();
    int nKept = 0; // bytes of the window before, in front of the current one
    int nCurrent = ReadWindow(read, pBuffer, CONTENT_WINDOW);
    if (nCurrent < 0)
        return EContentScan::ReadFailed;
    while (true) {
        // A full window may have a next one; its bytes let words run on.
        const int nNext
            = nCurrent == CONTENT_WINDOW ? ReadWindow(read, pBuffer + nKept + CONTENT_WINDOW, CONTENT_WINDOW) : 0;
        if (nNext < 0)
            return EContentScan::ReadFailed;
        const std::string_view text(
            reinterpret_cast<const char*>(pBuffer), static_cast<std::size_t>(nKept + nCurrent + nNext));
        for (std::size_t i = words.size(); i-- > 0;) {
            if (found[i]
                || !words[i].Find(text, static_cast<std::size_t>(nKept), static_cast<std::size_t>(nKept + nCurrent)))
                continue;
            found[i] = true;
            if (--nLeft == 0 || bStopAtFirst)
                return EContentScan::Done;
        }
        if (nNext == 0)
            return EContentScan::Done;
        const int nKeep = std::min(KEPT_BYTES, nKept + nCurrent);
        std::memmove(pBuffer, pBuffer + nKept + nCurrent - nKeep, static_cast<std::size_t>(nKeep + nNext));
        nKept = nKeep;
        nCurrent = nNext;
    }
}

BOOL ScanFileContent(LPCTSTR pszPath, std::span<const CWordFinder> words, bool bStopAtFirst, std::vector<bool>& found)
{
    found.assign(words.size(), false);
    CFile file;
    if (!file.Open(pszPath, CFile::modeRead | CFile::shareDenyNone))
        return FALSE;
    const ContentReadFn read = [&file](BYTE* pBuffer, int nCount) -> int {
        try {
            return static_cast<int>(file.Read(pBuffer, static_cast<UINT>(nCount)));
        } catch (CFileException* pException) {
            pException->Delete();
            return -1;
        }
    };
    return ScanContent(read, words, bStopAtFirst, found) == EContentScan::Done;
}
