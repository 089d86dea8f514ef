#include "platform/framework/CToolTipCtrl.h"

#include "platform/base/Clock.h"
#include "platform/window/Input.h"
#include "platform/window/MessageQueue.h"
#include "tests/platform/framework/FrameworkTestSupport.h"

namespace {

// A popup with a button: the button is a window tool, the lower half of the popup an area tool (7).
class ToolTipCtrlWrapperTest : public FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr));
        m_pButton = CWnd::FromHandle(CreateWindowEx(0, "Button", "Go", WS_CHILD | WS_VISIBLE, 10, 10, 80, 24,
            m_parent.GetSafeHwnd(), reinterpret_cast<HMENU>(51001), nullptr, nullptr));
        ASSERT_TRUE(m_tip.Create(&m_parent));
        ASSERT_TRUE(m_tip.AddTool(m_pButton, "Find the next match"));
        const RECT rcArea { 0, 100, 300, 200 };
        ASSERT_TRUE(m_tip.AddTool(&m_parent, "Lower area", &rcArea, 7));
    }
    void TearDown() override
    {
        m_tip.DestroyWindow();
        m_parent.DestroyWindow();
    }
    void MoveTo(HWND hWnd, int x, int y)
    {
        POINT pt { x, y };
        ClientToScreen(hWnd, &pt);
        InjectMouseEvent(CMouseInput { EMouseAction::Move, EMouseButton::None, pt, 0 });
        PumpUntilIdle();
    }
    void Wait(UINT nMilliseconds)
    {
        m_clock.Advance(nMilliseconds);
        PumpUntilIdle();
    }

    CManualClock m_clock { 0, 100000 };
    CClockOverride m_override { m_clock };
    CWnd m_parent;
    CWnd* m_pButton { nullptr };
    CToolTipCtrl m_tip;
};

TEST_F(ToolTipCtrlWrapperTest, WindowToolShowsItsTextWhileActiveAndGoesWithDelTool)
{
    EXPECT_EQ(m_tip.GetToolCount(), 2);
    m_tip.SetDelayTime(200);

    MoveTo(m_pButton->GetSafeHwnd(), 5, 5);
    Wait(200);
    EXPECT_TRUE(m_tip.IsWindowVisible());
    char szText[80] {};
    TOOLINFO info { sizeof(TOOLINFO), 0, m_parent.GetSafeHwnd(), reinterpret_cast<UINT_PTR>(m_pButton->GetSafeHwnd()),
        {}, nullptr, szText, 0, nullptr };
    m_tip.SendMessage(TTM_GETTEXT, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(szText, "Find the next match");
    m_tip.UpdateTipText("Changed", m_pButton);
    m_tip.SendMessage(TTM_GETTEXT, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(szText, "Changed");

    // The area tool of the parent: watched by subclassing the m_parent.
    MoveTo(m_parent.GetSafeHwnd(), 150, 150);
    Wait(40);
    EXPECT_TRUE(m_tip.IsWindowVisible());

    m_tip.Activate(FALSE);
    EXPECT_FALSE(m_tip.IsWindowVisible());
    MoveTo(m_pButton->GetSafeHwnd(), 6, 6);
    Wait(200);
    EXPECT_FALSE(m_tip.IsWindowVisible());
    m_tip.Activate(TRUE);
    m_tip.DelTool(m_pButton);
    EXPECT_EQ(m_tip.GetToolCount(), 1);
    MoveTo(m_pButton->GetSafeHwnd(), 7, 7);
    Wait(200);
    EXPECT_FALSE(m_tip.IsWindowVisible());
}

TEST_F(ToolTipCtrlWrapperTest, ToolInfoAndHitTestNameToolsAsAddToolDoes)
{

    CToolInfo info;
    ASSERT_TRUE(m_tip.GetToolInfo(info, m_pButton));
    EXPECT_STREQ(info.szText, "Find the next match");
    ASSERT_TRUE(m_tip.GetToolInfo(info, &m_parent, 7));
    EXPECT_STREQ(info.szText, "Lower area");
    info.rect = RECT { 0, 0, 300, 100 };
    info.lpszText = const_cast<LPSTR>("Upper area");
    m_tip.SetToolInfo(&info);

    char szText[80] {};
    TOOLINFO hit {};
    hit.lpszText = szText;
    ASSERT_TRUE(m_tip.HitTest(&m_parent, POINT { 150, 50 }, &hit));
    EXPECT_EQ(hit.uId, 7U);
    EXPECT_STREQ(szText, "Upper area");
    EXPECT_FALSE(m_tip.HitTest(&m_parent, POINT { 150, 150 }, &hit)) << "the area moved";
    ASSERT_TRUE(m_tip.HitTest(m_pButton, POINT { 3, 3 }, &hit));
    EXPECT_EQ(hit.uId, reinterpret_cast<UINT_PTR>(m_pButton->GetSafeHwnd()));
}

} // namespace
