#include "webaccess/server/TextWidth.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr int NAME_WIDTH = 216;

// Measures in the cutter's font on a device context of its own.
class TextWidthTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_hdc = CreateCompatibleDC(nullptr);
        m_hFont = CreateFont(12, 0, 0, 0, 400, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0, "MS Sans Serif");
        ASSERT_NE(m_hdc, nullptr);
        ASSERT_NE(m_hFont, nullptr);
        m_hOldFont = SelectObject(m_hdc, m_hFont);
    }
    void TearDown() override
    {
        SelectObject(m_hdc, m_hOldFont);
        DeleteDC(m_hdc);
        DeleteObject(m_hFont);
    }
    int Width(const std::string& strText) const
    {
        SIZE size {};
        EXPECT_TRUE(GetTextExtentPoint32(m_hdc, strText.c_str(), static_cast<int>(strText.size()), &size));
        return size.cx;
    }
    // A text is kept when it fits, else cut to its longest head that fits
    // with "..." after it.
    void ExpectCut(const CTextCutter& cutter, const std::string& strText, int nWidth) const
    {
        const std::string strCut = static_cast<LPCTSTR>(cutter.Cut(strText.c_str(), nWidth));
        if (Width(strText) <= nWidth) {
            EXPECT_EQ(strCut, strText);
            return;
        }
        ASSERT_GE(strCut.size(), 3u) << strText;
        const std::string strHead = strCut.substr(0, strCut.size() - 3);
        EXPECT_EQ(strCut.substr(strHead.size()), "...");
        EXPECT_EQ(strText.compare(0, strHead.size(), strHead), 0) << strCut;
        EXPECT_LE(Width(strCut), nWidth) << strCut;
        size_t nNext = strHead.size() + 1;
        while (nNext < strText.size() && (static_cast<unsigned char>(strText[nNext]) & 0xC0) == 0x80)
            ++nNext;
        EXPECT_GT(Width(strText.substr(0, nNext) + "..."), nWidth) << strCut << " is not the longest head";
    }

    HDC m_hdc { nullptr };
    HFONT m_hFont { nullptr };
    HGDIOBJ m_hOldFont { nullptr };
};

TEST_F(TextWidthTest, TextsOfWideAndNarrowCharactersAroundTheWidth)
{
    const CTextCutter cutter;
    for (const std::string strPattern : { "W", "@", "m", "i", "AVAV", "Ta.", "doc1234.txt " }) {
        std::string strText;
        while (strText.size() < 60) {
            strText += strPattern;
            ExpectCut(cutter, strText, NAME_WIDTH);
        }
    }
}

TEST_F(TextWidthTest, CutsKeepWholeCharacters)
{
    const CTextCutter cutter;
    std::string strText;
    for (int i = 0; i < 30; ++i) {
        strText += "Ñandú ";
        ExpectCut(cutter, strText, 120);
    }
}

TEST_F(TextWidthTest, NoRoomLeavesTheEllipsisAlone)
{
    const CTextCutter cutter;
    EXPECT_EQ(cutter.Cut("", 0), "");
    EXPECT_EQ(cutter.Cut("Wide name", 2), "...");
}

} // namespace
