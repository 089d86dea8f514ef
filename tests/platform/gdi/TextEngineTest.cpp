#include "platform/gdi/TextEngine.h"

#include "platform/gdi/GdiInternal.h"

#include <gtest/gtest.h>

#include <string>

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
