#include "catalog/CWordFinder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

bool Find(std::string_view text, std::string_view word, BOOL bWhole = FALSE, BOOL bCase = FALSE)
{
    return CWordFinder(word, bWhole, bCase).Find(text);
}

TEST(CWordFinderTest, WithoutCaseFindsEveryCaseOfTheWord)
{
    EXPECT_TRUE(Find("A Cat sat", "cat"));
    EXPECT_TRUE(Find("A CAT sat", "cat"));
    // The word's own case does not narrow the candidates.
    EXPECT_TRUE(Find("a cat sat", "Cat"));
    EXPECT_TRUE(Find("CAFÉ au lait", "café"));
    EXPECT_TRUE(Find("ÉTÉ", "été"));
    EXPECT_FALSE(Find("A Cat sat", "cat", FALSE, TRUE));
    EXPECT_TRUE(Find("A Cat sat", "Cat", FALSE, TRUE));
}

TEST(CWordFinderTest, WholeWordNeedsNoLetterOrDigitOnEitherSide)
{
    EXPECT_TRUE(Find("the cat.", "cat", TRUE));
    EXPECT_TRUE(Find("cat is first", "cat", TRUE));
    EXPECT_TRUE(Find("(cat)", "cat", TRUE));
    EXPECT_FALSE(Find("concat", "cat", TRUE));
    EXPECT_FALSE(Find("cats", "cat", TRUE));
    EXPECT_FALSE(Find("cat9", "cat", TRUE));
    // Letters beyond ASCII are letters too.
    EXPECT_FALSE(Find("écat", "cat", TRUE));
    EXPECT_FALSE(Find("catñ", "cat", TRUE));
    EXPECT_TRUE(Find("« cat »", "cat", TRUE));
    // A later hit counts when an earlier one is inside a word.
    EXPECT_TRUE(Find("concat, cat", "cat", TRUE));
}

TEST(CWordFinderTest, StartsAreLimitedButTheCompareReadsOn)
{
    const std::string text = "xxxxcat";
    CWordFinder finder("cat", FALSE, FALSE);
    EXPECT_TRUE(finder.Find(text, 0, 5)); // starts at 4, runs past the five starts
    EXPECT_FALSE(finder.Find(text, 0, 4));
    EXPECT_FALSE(finder.Find(text, 5, 7)) << "starts begin at the first allowed";
    // The character before the text decides a whole word at its start.
    CWordFinder whole("cat", TRUE, FALSE);
    EXPECT_FALSE(whole.Find("cat", 0, 3, U'a'));
    EXPECT_TRUE(whole.Find("cat", 0, 3, U' '));
}

TEST(CWordFinderTest, NeverReadsOutsideTheText)
{
    // The text is a heap block of its exact size, so a read past it is caught.
    const std::string strWord(300, 'a');
    const std::size_t nSize = 299;
    auto pText = std::make_unique<char[]>(nSize);
    std::memset(pText.get(), 'a', nSize);
    EXPECT_FALSE(CWordFinder(strWord, FALSE, FALSE).Find(std::string_view(pText.get(), nSize)));
    EXPECT_FALSE(CWordFinder(strWord, TRUE, TRUE).Find(std::string_view(pText.get(), nSize)));
    // A multi-byte character cut at the end of the text.
    const char cut[] = { 'x', '\xC3' };
    EXPECT_FALSE(CWordFinder("é", FALSE, FALSE).Find(std::string_view(cut, sizeof(cut))));
    EXPECT_FALSE(CWordFinder("", FALSE, FALSE).Find("anything"));
}

} // namespace
