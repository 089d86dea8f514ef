#include "platform/display/X11SelectionData.h"

#include <gtest/gtest.h>

namespace {

std::span<const uint8_t> BytesOf(const std::string& str)
{
    return std::span(reinterpret_cast<const uint8_t*>(str.data()), str.size());
}

}

TEST(X11SelectionDataTest, TextTakesEachSidesLineEndsAndSurvivesTheRoundTrip)
{
    EXPECT_EQ(SelectionTextOf(std::string("a\r\nb\rc\n\r\n", 9) + '\0' + "after"), "a\nb\rc\n\n");
    EXPECT_EQ(ClipboardTextOf(BytesOf("a\nb\r\nc\rd\n\n"), false), "a\r\nb\r\nc\rd\r\n\r\n");
    for (const std::string& strText : { std::string("one\r\ntwo\r\n\r\n"),
             std::string("\xC3\xA9t\xC3\xA9\r\n\xE2\x82\xAC"), std::string("cr\ronly"), std::string() })
        EXPECT_EQ(ClipboardTextOf(BytesOf(SelectionTextOf(strText)), false), strText);
}

TEST(X11SelectionDataTest, OtherProgramsBytesBecomeWellFormedText)
{
    // A broken sequence, a stray continuation byte, and a NUL that ends the text.
    EXPECT_EQ(ClipboardTextOf(BytesOf(std::string("a\xC3(\x80z\0hidden", 12)), false), "a\xEF\xBF\xBD(\xEF\xBF\xBDz");
    EXPECT_EQ(ClipboardTextOf(BytesOf("caf\xE9\n"), true), "caf\xC3\xA9\r\n");
    EXPECT_EQ(Latin1Of("caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"), "caf\xE9 ? ?");
}

TEST(X11SelectionDataTest, ChunksAreJoinedWithinTheCap)
{
    CIncrAssembler chunks(10);
    EXPECT_EQ(chunks.Announce(6), CIncrAssembler::EStep::More);
    EXPECT_EQ(chunks.Append(BytesOf("abcd")), CIncrAssembler::EStep::More);
    EXPECT_EQ(chunks.Append(BytesOf("efghij")), CIncrAssembler::EStep::More);
    EXPECT_EQ(chunks.Append({}), CIncrAssembler::EStep::Done);
    std::vector<uint8_t> joined = chunks.Take();
    EXPECT_EQ(std::string(joined.begin(), joined.end()), "abcdefghij");
    // Anything after the end breaks the transfer.
    EXPECT_EQ(chunks.Append(BytesOf("k")), CIncrAssembler::EStep::Failed);
    EXPECT_TRUE(chunks.Take().empty());
}

TEST(X11SelectionDataTest, ATransferPastItsCapFailsForGood)
{
    CIncrAssembler announced(10);
    EXPECT_EQ(announced.Announce(11), CIncrAssembler::EStep::Failed);
    EXPECT_EQ(announced.Append({}), CIncrAssembler::EStep::Failed);

    CIncrAssembler grown(10);
    EXPECT_EQ(grown.Append(BytesOf("abcdefgh")), CIncrAssembler::EStep::More);
    EXPECT_EQ(grown.Append(BytesOf("ijk")), CIncrAssembler::EStep::Failed);
    EXPECT_EQ(grown.Append({}), CIncrAssembler::EStep::Failed);
    EXPECT_TRUE(grown.Take().empty());
}
