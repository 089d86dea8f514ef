#include "ui/CIconTitleStatic.h"

#include "platform/gdi/SysColors.h"
#include "tests/ui/UiTestSupport.h"

namespace {

class CIconTitleStaticTest : public UiTest {
protected:
    void Create(int cx, int cy)
    {
        ASSERT_TRUE(m_title.Create("", WS_VISIBLE, RECT { 10, 10, 10 + cx, 10 + cy }, &Host(), 1300));
    }
    COLORREF Pixel(int x, int y)
    {
        m_title.UpdateWindow();
        return CUiHarness::Pixel(m_title.GetSafeHwnd(), x, y);
    }
    // The box's width and height: where the white inside ends along its middle row and column.
    SIZE BoxSize()
    {
        m_title.UpdateWindow();
        RECT client {};
        m_title.GetClientRect(&client);
        const COLORREF face = GetSysColor(COLOR_BTNFACE);
        SIZE size {};
        while (size.cx < client.right && Pixel(size.cx, 3) != face)
            ++size.cx;
        while (size.cy < client.bottom && Pixel(3, size.cy) != face)
            ++size.cy;
        return size;
    }

    CIconTitleStatic m_title;
};

TEST_F(CIconTitleStaticTest, BoxFitsTheTextAndIconAndLongerTextsWidenIt)
{
    Create(400, 40);
    m_title.SetText(GetSystemFolderIconIndex(FALSE, TRUE), "Reports");
    const SIZE shortBox = BoxSize();
    EXPECT_GE(shortBox.cy, 16 + 2 + 4) << "tall enough for a small icon";
    EXPECT_LT(shortBox.cy, 40);
    m_title.SetText(GetSystemFolderIconIndex(FALSE, TRUE), "Reports of the whole year");
    const SIZE longBox = BoxSize();
    EXPECT_GT(longBox.cx, shortBox.cx);
    EXPECT_EQ(longBox.cy, shortBox.cy);

    // Sunken frame: shadow at the top left outside, dark shadow inside it, white within.
    EXPECT_EQ(Pixel(0, 0), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(Pixel(1, 1), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(Pixel(longBox.cx - 1, longBox.cy - 1), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(Pixel(longBox.cx + 5, 5), GetSysColor(COLOR_BTNFACE)) << "the rest is button face";
}

TEST_F(CIconTitleStaticTest, EmptyTitleShowsAnEmptyBoxOfAShortText)
{
    Create(400, 40);
    m_title.SetText(GetSystemFolderIconIndex(FALSE, TRUE), "");
    const SIZE box = BoxSize();
    EXPECT_GT(box.cx, 30) << "measured as a stand-in text";
    const COLORREF white = GetSysColor(COLOR_WINDOW);
    for (int x = 2; x < box.cx - 2; ++x)
        for (int y = 2; y < box.cy - 2; ++y)
            ASSERT_EQ(Pixel(x, y), white) << "no icon and no text at " << x << "," << y;
}

TEST_F(CIconTitleStaticTest, BoxIsCutToASmallControl)
{
    Create(30, 12);
    m_title.SetText(-1, "A title wider than the control");
    EXPECT_EQ(Pixel(0, 0), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(Pixel(29, 11), GetSysColor(COLOR_BTNHIGHLIGHT)) << "the frame closes at the control's edge";
}

TEST_F(CIconTitleStaticTest, LooksLikeItsReference)
{
    Create(220, 30);
    m_title.SetText(GetSystemFolderIconIndex(FALSE, TRUE), "Annual reports");
    m_title.UpdateWindow();
    m_pUi->ExpectWindowMatches(m_title.GetSafeHwnd(), "icon_title.png");
}

} // namespace
