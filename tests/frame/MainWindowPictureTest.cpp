// The main window of a first start, as the user first sees it, against its
// reference picture (tests/frame/data/main_window.png): caption, menu bar,
// toolbar, the maximised catalog view's frame and the status bar. What the
// catalog view and the drag bar show inside is theirs and is left out (one
// flat colour), so that their own changes leave the frame's picture alone.

#include "tests/frame/AppTestFixture.h"

#include "resources/ResourceIds.h"
#include "tests/support/ReferencePictures.h"
#include "tests/support/TestData.h"

#include "platform/base/PathMap.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Pictures.h"
#include "platform/gdi/Rects.h"
#include "platform/testing/TestDriver.h"
#include "platform/window/Window.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF LEFT_OUT = RGB(0xFF, 0x00, 0xFF);

// Fills a child's place in the window's picture with the left-out colour.
void LeaveOut(HDC hdc, HWND hWindow, HWND hChild)
{
    RECT rcWindow {};
    RECT rcChild {};
    GetWindowRect(hWindow, &rcWindow);
    GetWindowRect(hChild, &rcChild);
    OffsetRect(&rcChild, -rcWindow.left, -rcWindow.top);
    HBRUSH hbr = CreateSolidBrush(LEFT_OUT);
    FillRect(hdc, &rcChild, hbr);
    DeleteObject(hbr);
}

TEST_F(AppTest, TheFirstStartsMainWindowLooksAsItsReference)
{
    ASSERT_TRUE(Start());
    CSplitterFrame* pView = ActiveView();
    ASSERT_NE(pView, nullptr);
    MainFrame()->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    m_driver.Pump();

    TempFolder folder;
    const std::string strShot = ProgramPathFromHostPath((folder.Path() / "shot.png").string());
    ASSERT_TRUE(CTestDriver::Screenshot(MainFrame()->GetSafeHwnd(), strShot.c_str()));
    HBITMAP hbm = LoadPictureFile(strShot.c_str());
    ASSERT_NE(hbm, nullptr);
    HDC hdc = CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(hdc, hbm);
    // The view's panes (its splitter) and the drag bar's contents.
    LeaveOut(hdc, MainFrame()->GetSafeHwnd(), pView->GetSplitter().GetSafeHwnd());
    if (HWND hDragBar = CTestDriver::FindChild(MainFrame()->GetSafeHwnd(), IDD_DRAG_BAR))
        LeaveOut(hdc, MainFrame()->GetSafeHwnd(), hDragBar);
    SelectObject(hdc, hOld);
    DeleteDC(hdc);
    if (auto mismatch = PictureMismatch(hbm, SourceRoot() / "tests/frame/data/main_window.png", folder))
        ADD_FAILURE() << *mismatch;
}

} // namespace
