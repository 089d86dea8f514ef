#include "platform/framework/CToolTipCtrl.h"

#include "platform/base/Clock.h"
#include "platform/window/Input.h"
#include "platform/window/MessageQueue.h"
#include "tests/platform/framework/FrameworkTestSupport.h"

namespace {

class ToolTipCtrlWrapperTest : public FrameworkTest {
protected:
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
};

TEST_F(ToolTipCtrlWrapperTest, WindowToolShowsItsTextWhileActiveAndGoesWithDelTool)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr));
    CWnd* pButton = CWnd::FromHandle(CreateWindowEx(0, "Button", "Go", WS_CHILD | WS_VISIBLE, 10, 10, 80, 24,
        parent.GetSafeHwnd(), reinterpret_cast<HMENU>(51001), nullptr, nullptr));
    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&parent));
    ASSERT_TRUE(tip.AddTool(pButton, "Find the next match"));
    const RECT rcArea { 0, 100, 300, 200 };
    ASSERT_TRUE(tip.AddTool(&parent, "Lower area", &rcArea, 7));
    EXPECT_EQ(tip.GetToolCount(), 2);
    tip.SetDelayTime(200);

    MoveTo(pButton->GetSafeHwnd(), 5, 5);
    Wait(200);
    EXPECT_TRUE(tip.IsWindowVisible());
    char szText[80] {};
    TOOLINFO info { sizeof(TOOLINFO), 0, parent.GetSafeHwnd(), reinterpret_cast<UINT_PTR>(pButton->GetSafeHwnd()), {},
        nullptr, szText, 0, nullptr };
    tip.SendMessage(TTM_GETTEXT, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(szText, "Find the next match");
    tip.UpdateTipText("Changed", pButton);
    tip.SendMessage(TTM_GETTEXT, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(szText, "Changed");

    // The area tool of the parent: watched by subclassing the parent.
    MoveTo(parent.GetSafeHwnd(), 150, 150);
    Wait(40);
    EXPECT_TRUE(tip.IsWindowVisible());

    tip.Activate(FALSE);
    EXPECT_FALSE(tip.IsWindowVisible());
    MoveTo(pButton->GetSafeHwnd(), 6, 6);
    Wait(200);
    EXPECT_FALSE(tip.IsWindowVisible());
    tip.Activate(TRUE);
    tip.DelTool(pButton);
    EXPECT_EQ(tip.GetToolCount(), 1);
    MoveTo(pButton->GetSafeHwnd(), 7, 7);
    Wait(200);
    EXPECT_FALSE(tip.IsWindowVisible());
    tip.DestroyWindow();
    parent.DestroyWindow();
}

} // namespace
