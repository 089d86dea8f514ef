#include "ui/CDataTipWnd.h"

#include "platform/framework/CStatic.h"
#include "platform/window/SystemMetrics.h"
#include "tests/ui/UiTestSupport.h"

#include <memory>

namespace {

constexpr RECT ITEM { 0, 40, 200, 56 }; // one row of the owner, client coordinates

class CDataTipWndTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        ASSERT_TRUE(m_owner.Create("", WS_CHILD | WS_VISIBLE | SS_NOTIFY, RECT { 0, 0, 300, 200 }, &Host(), 1600));
        m_pTip = std::make_unique<CDataTipWnd>();
        ASSERT_TRUE(m_pTip->Create(&m_owner));
        m_pTip->Enable(TRUE);
        Host().SetFocus();
    }
    void TearDown() override
    {
        m_pTip.reset();
        UiTest::TearDown();
    }
    // The cursor rests at (x, y) of the owner, which asks for the tip there.
    void RestAt(int x, int y, LPCTSTR pszText = "A name too long for its column")
    {
        ASSERT_TRUE(Driver().Hover(m_owner.m_hWnd, x, y));
        m_pTip->Show(x, y, ITEM, pszText);
    }
    bool Shown() const { return m_pTip->IsWindowVisible() && CDataTipWnd::GetShownTip() == m_pTip.get(); }

    CStatic m_owner;
    std::unique_ptr<CDataTipWnd> m_pTip;
};

TEST_F(CDataTipWndTest, ShowsAfterTheCursorRestsAndAMoveDuringTheDelayStartsAgain)
{
    RestAt(50, 48);
    Driver().Advance(CDataTipWnd::DELAY_MS - 1);
    EXPECT_FALSE(Shown());
    ASSERT_TRUE(Driver().Hover(m_owner.m_hWnd, 51, 48)); // one pixel, still on the item
    Driver().Advance(1);
    EXPECT_FALSE(Shown()) << "the cursor moved during the delay";

    RestAt(51, 48);
    Driver().Advance(CDataTipWnd::DELAY_MS);
    ASSERT_TRUE(Shown());
    RECT tip {};
    m_pTip->GetWindowRect(&tip);
    POINT cursor { 51, 48 };
    m_owner.ClientToScreen(&cursor);
    EXPECT_GE(tip.top, cursor.y + 20 - 4) << "below the cursor by the offset";

    ASSERT_TRUE(Driver().Hover(m_owner.m_hWnd, 120, 50));
    EXPECT_TRUE(Shown()) << "moves over the item keep it";
    ASSERT_TRUE(Driver().Hover(m_owner.m_hWnd, 120, 80));
    EXPECT_FALSE(Shown()) << "leaving the item hides it";
}

TEST_F(CDataTipWndTest, AKeyOrAClickHidesTheTip)
{
    RestAt(50, 48);
    Driver().Advance(CDataTipWnd::DELAY_MS);
    ASSERT_TRUE(Shown());
    ASSERT_TRUE(Driver().PressKey(VK_SHIFT));
    EXPECT_FALSE(Shown());

    RestAt(60, 48);
    Driver().Advance(CDataTipWnd::DELAY_MS);
    ASSERT_TRUE(Shown());
    ASSERT_TRUE(Driver().Click(m_owner.m_hWnd, 60, 48));
    EXPECT_FALSE(Shown()) << "a click on the item";
}

TEST_F(CDataTipWndTest, NothingShowsWhileDisabledOrWithoutFocus)
{
    m_pTip->Enable(FALSE);
    RestAt(50, 48);
    Driver().Advance(CDataTipWnd::DELAY_MS);
    EXPECT_FALSE(Shown());

    m_pTip->Enable(TRUE);
    ::SetFocus(nullptr);
    RestAt(52, 48);
    Driver().Advance(CDataTipWnd::DELAY_MS);
    EXPECT_FALSE(Shown());
}

TEST_F(CDataTipWndTest, LongTextWrapsAndStaysOnTheScreen)
{
    // The owner at the screen's bottom-right corner.
    const int cxScreen = GetSystemMetrics(SM_CXMAXIMIZED);
    const int cyScreen = GetSystemMetrics(SM_CYMAXIMIZED);
    m_owner.SetParent(nullptr);
    m_owner.ModifyStyle(WS_CHILD, WS_POPUP);
    m_owner.SetWindowPos(nullptr, cxScreen - 300, cyScreen - 200, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
    Host().SetFocus();
    CString strLong;
    for (int i = 0; i < 30; ++i)
        strLong += "word ";
    RestAt(290, 48, strLong);
    Driver().Advance(CDataTipWnd::DELAY_MS);
    ASSERT_TRUE(Shown());
    RECT tip {};
    m_pTip->GetWindowRect(&tip);
    EXPECT_LE(tip.right, cxScreen);
    EXPECT_LE(tip.bottom, cyScreen);
    EXPECT_LE(tip.right - tip.left, cxScreen / 4 + 2 * 8 + 2) << "wrapped at the maximum width";
    EXPECT_GT(tip.bottom - tip.top, 40) << "on several lines";
}

TEST_F(CDataTipWndTest, ADestroyedTipIsNoLongerTheShownOne)
{
    RestAt(50, 48);
    Driver().Advance(CDataTipWnd::DELAY_MS);
    ASSERT_TRUE(Shown());
    auto pOther = std::make_unique<CDataTipWnd>(); // keeps the hooks when the first goes
    m_pTip.reset();
    EXPECT_EQ(CDataTipWnd::GetShownTip(), nullptr);
    EXPECT_TRUE(Driver().PressKey(VK_SHIFT)) << "the key hook finds no tip to hide";
}

} // namespace
