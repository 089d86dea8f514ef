#include "platform/framework/CProgressCtrl.h"
#include "platform/framework/CSpinButtonCtrl.h"
#include "platform/framework/CStatusBarCtrl.h"
#include "platform/framework/CToolBarCtrl.h"
#include "platform/framework/CToolTipCtrl.h"

#include "platform/base/PathMap.h"
#include "platform/base/ResourceModule.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Pictures.h"
#include "platform/gdi/SysColors.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "tests/platform/framework/FrameworkTestSupport.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestData.h"

#include <cstdlib>

namespace {

constexpr COLORREF RED = RGB(255, 0, 0);

class BarCtrlWrappersTest : public FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 100, 100, 400, 300, nullptr, nullptr));
    }
    void TearDown() override { m_parent.DestroyWindow(); }

    // A module whose bitmap 7 holds two 16 by 15 images: magenta, then red.
    HMODULE BuildBitmapModule(TempFolder& temp)
    {
        HDC hdc = CreateCompatibleDC(nullptr);
        HBITMAP hbm = CreateBitmap(32, 15, 1, 32, nullptr);
        HGDIOBJ hOld = SelectObject(hdc, hbm);
        const RECT rcLeft { 0, 0, 16, 15 };
        const RECT rcRight { 16, 0, 32, 15 };
        HBRUSH hMagenta = CreateSolidBrush(RGB(255, 0, 255));
        HBRUSH hRed = CreateSolidBrush(RED);
        FillRect(hdc, &rcLeft, hMagenta);
        FillRect(hdc, &rcRight, hRed);
        DeleteObject(hMagenta);
        DeleteObject(hRed);
        EXPECT_TRUE(SaveDcAsPng(hdc, ProgramPathFromHostPath((temp.Path() / "strip.png").string()).c_str()));
        SelectObject(hdc, hOld);
        DeleteDC(hdc);
        DeleteObject(hbm);
        temp.WriteFile("bars.rc", "7 BITMAP \"strip.png\"\n");
        const auto module = temp.Path() / "bars.dll";
        const std::string strCommand = "'" + (BinaryRoot() / "tools" / "archivora_rc").string() + "' -o '"
            + module.string() + "' '" + (temp.Path() / "bars.rc").string() + "'";
        EXPECT_EQ(std::system(strCommand.c_str()), 0) << strCommand;
        return LoadLibrary(ProgramPathFromHostPath(module.string()).c_str());
    }

    CWnd m_parent;
};

TEST_F(BarCtrlWrappersTest, ToolbarTakesItsImagesFromTheResourceModule)
{
    TempFolder temp;
    HMODULE hModule = BuildBitmapModule(temp);
    ASSERT_NE(hModule, nullptr);
    HINSTANCE hOldResources = AfxGetResourceHandle();
    AfxSetResourceHandle(hModule);

    CToolBarCtrl toolbar;
    ASSERT_TRUE(toolbar.Create(WS_VISIBLE | TBSTYLE_FLAT | CCS_NODIVIDER, RECT {}, &m_parent, 40));
    EXPECT_EQ(toolbar.AddBitmap(2, 7), 0);
    EXPECT_EQ(toolbar.AddBitmap(2, 7), 2);
    EXPECT_EQ(toolbar.AddBitmap(2, 8), -1); // no such bitmap
    TBBUTTON buttons[] = {
        { 0, 501, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0 },
        { 3, 502, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0 },
    };
    EXPECT_TRUE(toolbar.AddButtons(2, buttons));
    RECT rcWindow {};
    toolbar.GetWindowRect(&rcWindow);
    EXPECT_EQ(rcWindow.right - rcWindow.left, 400); // along the parent's top
    RECT rcRed {};
    ASSERT_TRUE(toolbar.GetItemRect(toolbar.CommandToIndex(502), &rcRed));
    UpdateWindow(toolbar.GetSafeHwnd());
    HDC hdc = ::GetDC(toolbar.GetSafeHwnd());
    EXPECT_EQ(GetPixel(hdc, (rcRed.left + rcRed.right) / 2, (rcRed.top + rcRed.bottom) / 2), RED);
    EXPECT_EQ(GetPixel(hdc, 12, (rcRed.top + rcRed.bottom) / 2), GetSysColor(COLOR_BTNFACE));
    ::ReleaseDC(toolbar.GetSafeHwnd(), hdc);

    toolbar.EnableButton(502, FALSE);
    EXPECT_FALSE(toolbar.IsButtonEnabled(502));
    EXPECT_EQ(toolbar.GetState(502), 0);
    EXPECT_EQ(toolbar.GetToolTips(), nullptr) << "made without TBSTYLE_TOOLTIPS";
    toolbar.DestroyWindow();

    // With it, the bar's own tip knows each button.
    ASSERT_TRUE(toolbar.Create(WS_VISIBLE | TBSTYLE_TOOLTIPS, RECT {}, &m_parent, 40));
    toolbar.AddButtons(2, buttons);
    CToolTipCtrl* pTip = toolbar.GetToolTips();
    ASSERT_NE(pTip, nullptr);
    EXPECT_EQ(pTip->GetToolCount(), 2);
    toolbar.DestroyWindow();
    AfxSetResourceHandle(hOldResources);
    FreeLibrary(hModule);
}

// The wrappers unpack what the controls pack: signed 16-bit ranges, a text's
// type in the high word, positions past 16 bits.
TEST_F(BarCtrlWrappersTest, WrappersUnpackSignsTypesAndWidePositions)
{
    CSpinButtonCtrl spin;
    ASSERT_TRUE(spin.Create(WS_VISIBLE, RECT { 0, 0, 16, 20 }, &m_parent, 41));
    spin.SetRange(-999, 999);
    int nLower = 0;
    int nUpper = 0;
    spin.GetRange(nLower, nUpper);
    EXPECT_EQ(std::pair(nLower, nUpper), std::pair(-999, 999));
    spin.SetPos(-5);
    EXPECT_EQ(spin.GetPos(), -5);

    CStatusBarCtrl status;
    ASSERT_TRUE(status.Create(WS_VISIBLE, RECT {}, &m_parent, 42));
    EXPECT_TRUE(status.SetText("Saved", 0, SBT_POPOUT));
    int nType = 0;
    EXPECT_EQ(status.GetText(0, &nType), "Saved");
    EXPECT_EQ(nType, static_cast<int>(SBT_POPOUT));

    CProgressCtrl progress;
    ASSERT_TRUE(progress.Create(WS_VISIBLE, RECT { 0, 30, 200, 46 }, &m_parent, 43));
    progress.SetRange32(0, 100000);
    progress.SetPos(70000);
    EXPECT_EQ(progress.OffsetPos(40000), 70000);
    EXPECT_EQ(progress.GetPos(), 100000);
}

} // namespace
