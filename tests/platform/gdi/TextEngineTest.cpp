#include "platform/gdi/TextEngine.h"

#include "platform/gdi/GdiInternal.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <tuple>
#include <vector>

// Lines are shaped without kerning or ligatures, so the width of each head
// of a line is the width of that head shaped alone, whatever way WidthOf
// finds it: for plain and accented Latin and CJK; right-to-left text is
// only asked consistently.
TEST(TextEngineTest, TheWidthOfEveryHeadIsTheWidthOfThatHeadAlone)
{
    CGdiFont font;
    font.m_log.lfHeight = -13;
    for (const std::string& strText :
        { std::string("Quarterly report number 4711.txt"), std::string("r\xC3\xA9sum\xC3\xA9 \xC3\xA0 jour"),
            std::string("\xE6\x96\x87\xE6\x9B\xB8 list"), std::string("\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D abc") }) {
        const CTextLine line(font, strText);
        int nPrevious = 0;
        for (size_t nBytes = 1; nBytes < strText.size(); ++nBytes) {
            if (!IsCharacterStart(strText, nBytes))
                continue;
            const int nWidth = line.WidthOf(nBytes);
            EXPECT_EQ(nWidth, line.WidthOf(nBytes)) << strText << " " << nBytes; // asked twice, the same
            if (strText.find('\xD7') == std::string::npos) {
                EXPECT_GE(nWidth, nPrevious) << strText << " " << nBytes;
                EXPECT_NEAR(nWidth, CTextLine(font, std::string_view(strText).substr(0, nBytes)).Width(), 1)
                    << strText << " " << nBytes;
            }
            nPrevious = nWidth;
        }
        EXPECT_EQ(line.WidthOf(strText.size()), line.Width());
    }
}

// Whole-line widths added up from character widths must be what shaping the
// line gives, in every face, weight, slant and size the program uses, for
// random Latin-1 lines; anything else is shaped.
TEST(TextEngineTest, LineWidthsAreTheShapedWidths)
{
    std::vector<std::string> plain;
    for (unsigned n = 0x20; n <= 0xFF; ++n) {
        if (n < 0x7F)
            plain.emplace_back(1, static_cast<char>(n));
        else if (n >= 0xA0 && n != 0xAD)
            plain.push_back({ static_cast<char>(0xC0 | (n >> 6)), static_cast<char>(0x80 | (n & 0x3F)) });
    }
    std::vector<std::string> lines { "", "Quarterly report number 4711.txt",
        "r\xC3\xA9sum\xC3\xA9 \xC3\xA0 jour, \xC2\xA9 ", "tab\there", "soft\xC2\xADhyphen",
        "\xE6\x96\x87\xE6\x9B\xB8 list", "bad \xC3( byte", "cut \xC3" };
    std::minstd_rand random(4711);
    for (int nLine = 0; nLine < 150; ++nLine) {
        std::string strLine;
        for (size_t nLength = random() % 40 + 1; nLength > 0; --nLength)
            strLine += plain[random() % plain.size()];
        lines.push_back(strLine);
    }
    std::string strAll;
    for (const std::string& strChar : plain)
        strAll += strChar;
    lines.push_back(strAll);

    for (const auto& [nHeight, nWeight, bItalic, pszFace] : std::vector<std::tuple<LONG, LONG, bool, const char*>> {
             { -13, 400, false, "" }, { -13, 700, false, "" }, { -11, 400, true, "" }, { 16, 400, false, "" },
             { -20, 700, true, "" }, { -13, 400, false, "Courier New" }, { -15, 400, false, "Times New Roman" } }) {
        CGdiFont font;
        font.m_log.lfHeight = nHeight;
        font.m_log.lfWeight = nWeight;
        font.m_log.lfItalic = bItalic ? 1 : 0;
        std::strncpy(font.m_log.lfFaceName, pszFace, LF_FACESIZE - 1);
        for (const std::string& strLine : lines)
            ASSERT_EQ(LineWidth(font, strLine), CTextLine(font, strLine).Width())
                << "\"" << strLine << "\" at " << nHeight << " weight " << nWeight << " " << pszFace;
    }
}
