#include "catalog/ContentScan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Scans text given in reads of at most nChunk bytes.
std::vector<bool> Scan(const std::string& text, std::vector<CWordFinder> words, bool bStopAtFirst = false,
    int nChunk = 4096, EContentScan* pResult = nullptr)
{
    std::size_t nPos = 0;
    const ContentReadFn read = [&](BYTE* pBuffer, int nCount) {
        const std::size_t nTake = std::min<std::size_t>(
            { static_cast<std::size_t>(nCount), static_cast<std::size_t>(nChunk), text.size() - nPos });
        std::copy_n(text.data() + nPos, nTake, reinterpret_cast<char*>(pBuffer));
        nPos += nTake;
        return static_cast<int>(nTake);
    };
    std::vector<bool> found;
    const EContentScan eResult = ScanContent(read, words, bStopAtFirst, found);
    if (pResult != nullptr)
        *pResult = eResult;
    return found;
}

CWordFinder Word(const char* pszWord, BOOL bWhole = FALSE)
{
    return CWordFinder(pszWord, bWhole, FALSE);
}

TEST(ContentScanTest, AWordAcrossAWindowBoundaryIsFound)
{
    for (int nStart = CONTENT_WINDOW - 5; nStart <= CONTENT_WINDOW + 1; ++nStart) {
        std::string text(3 * CONTENT_WINDOW, ' ');
        text.replace(static_cast<std::size_t>(nStart), 6, "needle");
        EXPECT_EQ(Scan(text, { Word("needle") }), std::vector<bool> { true }) << nStart;
    }
}

TEST(ContentScanTest, TheCharacterBeforeAWindowDecidesAWholeWord)
{
    std::string text(2 * CONTENT_WINDOW, ' ');
    text.replace(CONTENT_WINDOW, 3, "cat");
    text[CONTENT_WINDOW - 1] = 'x';
    EXPECT_EQ(Scan(text, { Word("cat", TRUE) }), std::vector<bool> { false });
    text[CONTENT_WINDOW - 1] = ' ';
    EXPECT_EQ(Scan(text, { Word("cat", TRUE) }), std::vector<bool> { true });
    // A letter of two bytes cut by the window's end is a letter too.
    text.replace(CONTENT_WINDOW - 2, 2, "é");
    EXPECT_EQ(Scan(text, { Word("cat", TRUE) }), std::vector<bool> { false });
}

// A character whose bytes the window's end cuts is read whole before a word
// that starts in the next window, as in the whole content.
TEST(ContentScanTest, ACharacterCutByTheWindowsEndIsReadWholeBeforeAWord)
{
    std::string text(2 * CONTENT_WINDOW, ' ');
    for (const char* pszCut : { "\xED\x95\x9C", "\xF0\x9D\x90\x80" }) { // a Hangul letter, a mathematical letter
        const std::string cut(pszCut);
        for (std::size_t nInFirst = 1; nInFirst < cut.size(); ++nInFirst) {
            std::string withCut = text;
            withCut.replace(CONTENT_WINDOW - nInFirst, cut.size(), cut);
            withCut.replace(CONTENT_WINDOW - nInFirst + cut.size(), 3, "cat");
            EXPECT_EQ(Scan(withCut, { Word("cat", TRUE) }), std::vector<bool> { false }) << pszCut << nInFirst;
            EXPECT_EQ(Scan(withCut, { Word("cat") }), std::vector<bool> { true }) << pszCut << nInFirst;
        }
    }
    // A dash cut so is no letter: the word stands whole after it.
    text.replace(CONTENT_WINDOW - 1, 3, "\xE2\x80\x94");
    text.replace(CONTENT_WINDOW + 2, 3, "cat");
    EXPECT_EQ(Scan(text, { Word("cat", TRUE) }), std::vector<bool> { true });
}

TEST(ContentScanTest, FoundWordsCountForTheWholeContent)
{
    std::string text(5 * CONTENT_WINDOW, '.');
    text.replace(10, 3, "red");
    text.replace(text.size() - 10, 4, "blue");
    EXPECT_EQ(Scan(text, { Word("red"), Word("blue"), Word("green") }), (std::vector<bool> { true, true, false }));
    // Stopping at the first finds only one of them.
    const std::vector<bool> first = Scan(text, { Word("red"), Word("blue") }, true);
    EXPECT_EQ(std::count(first.begin(), first.end(), true), 1);
}

TEST(ContentScanTest, EmptyAndFailingContentsFindNothing)
{
    EXPECT_EQ(Scan("", { Word("a") }), std::vector<bool> { false });
    EXPECT_TRUE(Scan("", {}).empty());
    std::vector<bool> found;
    EContentScan eResult
        = ScanContent([](BYTE*, int) { return -1; }, std::vector<CWordFinder> { Word("a") }, false, found);
    EXPECT_EQ(eResult, EContentScan::ReadFailed);
    EXPECT_EQ(found, std::vector<bool> { false });
}

} // namespace
