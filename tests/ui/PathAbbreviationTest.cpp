#include "ui/PathAbbreviation.h"

#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Text.h"
#include "tests/platform/gdi/GdiTestCanvas.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// A canvas with a 12-pixel sans font selected, which the widths are measured in.
class PathAbbreviationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_hFont = CreateFont(-12, 0, 0, 0, 400, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0, "DejaVu Sans");
        ASSERT_NE(m_hFont, nullptr);
        m_hOldFont = SelectObject(m_canvas.Dc(), m_hFont);
    }
    void TearDown() override
    {
        SelectObject(m_canvas.Dc(), m_hOldFont);
        DeleteObject(m_hFont);
    }

    LONG Width(const std::string& strText) const
    {
        SIZE size {};
        GetTextExtentPoint32(m_canvas.Dc(), strText.c_str(), static_cast<int>(strText.size()), &size);
        return size.cx;
    }
    // The path abbreviated to the width of strFitting (from x = 20, as rectangles need not start at 0).
    std::string Abbreviate(const char* pszPath, const std::string& strFitting) const
    {
        RECT rc { 20, 0, 20 + Width(strFitting), 16 };
        return std::string(AbbreviatePath(pszPath, m_canvas.Dc(), &rc));
    }

    CTestCanvas m_canvas { 10, 10 };
    HFONT m_hFont { nullptr };
    HGDIOBJ m_hOldFont { nullptr };
};

constexpr const char* LONG_PATH = "c:\\users\\ana\\documents\\reports\\2024\\quarterly.odt";

TEST_F(PathAbbreviationTest, APathThatFitsComesBackAsItIs)
{
    EXPECT_EQ(Abbreviate(LONG_PATH, LONG_PATH), LONG_PATH);
    EXPECT_EQ(Abbreviate("", ""), "");
}

TEST_F(PathAbbreviationTest, MiddleFoldersGiveWayFirst)
{
    // Room for the first folder and the last two: the three between go.
    EXPECT_EQ(Abbreviate(LONG_PATH, "c:\\users\\...\\reports\\2024\\quarterly.odt"),
        "c:\\users\\...\\reports\\2024\\quarterly.odt");
    // A pixel less: one more of the last folders goes.
    std::string strNarrower = "c:\\users\\...\\reports\\2024\\quarterly.odt";
    RECT rc { 0, 0, Width(strNarrower) - 1, 16 };
    EXPECT_EQ(std::string(AbbreviatePath(LONG_PATH, m_canvas.Dc(), &rc)), "c:\\users\\...\\2024\\quarterly.odt");
    // Then the first folder goes too, before the name or the root would.
    EXPECT_EQ(Abbreviate(LONG_PATH, "c:\\...\\quarterly.odt"), "c:\\...\\quarterly.odt");
}

TEST_F(PathAbbreviationTest, EveryResultFitsWhileAnyFormCan)
{
    const std::string strShortest = "...\\quarterly.odt";
    for (LONG nWidth = Width(strShortest); nWidth <= Width(LONG_PATH); nWidth += 3) {
        RECT rc { 0, 0, nWidth, 16 };
        std::string strResult(AbbreviatePath(LONG_PATH, m_canvas.Dc(), &rc));
        EXPECT_LE(Width(strResult), nWidth) << strResult;
        EXPECT_TRUE(strResult.ends_with("\\quarterly.odt")) << strResult;
        EXPECT_TRUE(strResult == strShortest || strResult.starts_with("c:\\")) << strResult;
    }
}

TEST_F(PathAbbreviationTest, SharesKeepTheirRootAndNothingFitsGivesTheShortestForm)
{
    EXPECT_EQ(Abbreviate("\\\\server\\share\\deep\\deeper\\file.txt", "\\\\server\\share\\...\\file.txt"),
        "\\\\server\\share\\...\\file.txt");
    RECT rcNone { 0, 0, 5, 16 };
    EXPECT_EQ(std::string(AbbreviatePath(LONG_PATH, m_canvas.Dc(), &rcNone)), "...\\quarterly.odt");
    // Without a folder there is nothing to leave out.
    EXPECT_EQ(std::string(AbbreviatePath("c:\\a-rather-long-name.txt", m_canvas.Dc(), &rcNone)),
        "c:\\a-rather-long-name.txt");
    EXPECT_EQ(std::string(AbbreviatePath(LONG_PATH, m_canvas.Dc(), nullptr)), "...\\quarterly.odt");
}

}
