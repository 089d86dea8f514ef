#include "platform/gdi/TextLineCache.h"

#include "platform/gdi/GdiInternal.h"
#include "platform/gdi/TextEngine.h"

#include <gtest/gtest.h>

TEST(TextLineCacheTest, KeepsTheRecentlyUsedLinesAndDropsTheOldestFirst)
{
    CGdiFont font;
    font.m_log.lfHeight = -14;
    CTextLineCache cache(2);
    std::shared_ptr<const CTextLine> pFirst = cache.Line(font, "first");
    std::shared_ptr<const CTextLine> pSecond = cache.Line(font, "second");
    EXPECT_EQ(cache.Line(font, "first"), pFirst); // now the more recent of the two
    std::shared_ptr<const CTextLine> pThird = cache.Line(font, "third");
    EXPECT_EQ(cache.Size(), 2u);
    EXPECT_EQ(cache.Line(font, "first"), pFirst);
    EXPECT_EQ(cache.Line(font, "third"), pThird);
    // "second" was dropped: asking again shapes it anew, and the line handed
    // out before stays usable.
    std::shared_ptr<const CTextLine> pSecondAgain = cache.Line(font, "second");
    EXPECT_NE(pSecondAgain, pSecond);
    EXPECT_EQ(pSecondAgain->Width(), pSecond->Width());
    EXPECT_GT(pSecond->Width(), 0);
}

TEST(TextLineCacheTest, KeysAreTheWholeTextNotAPrefix)
{
    CGdiFont font;
    font.m_log.lfHeight = -14;
    CTextLineCache cache(8);
    std::string strText = "abc";
    std::shared_ptr<const CTextLine> pShort = cache.Line(font, std::string_view(strText).substr(0, 2));
    std::shared_ptr<const CTextLine> pLong = cache.Line(font, strText);
    strText = "zzz"; // the cache keeps its own copy of each key
    EXPECT_NE(pShort, pLong);
    EXPECT_LT(pShort->Width(), pLong->Width());
    EXPECT_EQ(cache.Line(font, "abc"), pLong);
    EXPECT_EQ(cache.Line(font, "ab"), pShort);
}
