#pragma once

// Looks for words in a document's content: the bytes of a file, or the stored
// bytes of a mail message. The content is read in windows of CONTENT_WINDOW
// bytes into a buffer of two windows, so that a word starting near the end of
// one window is compared on into the next; each start position is tested
// once, and the character before a window is carried over from the last one.
// A word found once counts for the whole content and is not looked for again.

#include "catalog/CWordFinder.h"

#include "platform/base/WinTypes.h"

#include <functional>
#include <span>
#include <vector>

// The bytes read per window.
constexpr int CONTENT_WINDOW = 64 * 1024;

// Reads up to nCount bytes of the content into pBuffer: the count read, 0 at
// the end, negative when the content cannot be read.
using ContentReadFn = std::function<int(BYTE* pBuffer, int nCount)>;

// How a content scan ends.
enum class EContentScan {
    Done,       // the content was read to its end, or every word was found
    ReadFailed, // a read failed; what was found before is kept
};

// Scans the content for words, setting found[i] for each word found (found
// is resized to the words). With bStopAtFirst the scan ends at the first
// word found. An empty content finds nothing.
EContentScan ScanContent(
    const ContentReadFn& read, std::span<const CWordFinder> words, bool bStopAtFirst, std::vector<bool>& found);

// Reads the file at the program path pszPath, sharing it with every other
// program; FALSE when it cannot be opened.
BOOL ScanFileContent(LPCTSTR pszPath, std::span<const CWordFinder> words, bool bStopAtFirst, std::vector<bool>& found);
