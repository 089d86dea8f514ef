#include "platform/controls/StaticControl.h"

#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/Icons.h"
#include "platform/gdi/SysColors.h"
#include "tests/platform/controls/ControlTestSupport.h"

namespace {

constexpr COLORREF RED = RGB(255, 0, 0);

class StaticControlTest : public ControlTest {
protected:
    // A screenshot of the parent, whose client area starts at the window's corner.
    CCapturedImage Capture()
    {
        PumpUntilIdle();
        return CCapturedImage(CaptureWindowImage(m_hParent));
    }
};

/***** Mouse and notifications *****/

TEST_F(StaticControlTest, PlainStaticLetsClicksThroughToItsParent)
{
    HWND hStatic = CreateControl("Static", "label", SS_LEFT, 10, 10, 100, 20, 100);
    Click(hStatic);
    auto messages = MessageLog::Instance().TakeMessages({ WM_LBUTTONDOWN, WM_COMMAND });
    std::vector<std::pair<HWND, UINT>> expected { { m_hParent, WM_LBUTTONDOWN } };
    EXPECT_EQ(messages, expected);
}

TEST_F(StaticControlTest, NotifyStaticReportsClicksDoubleClicksAndEnabling)
{
    HWND hStatic = CreateControl("Static", "label", SS_LEFT | SS_NOTIFY, 10, 10, 100, 20, 100);
    TakeCommands();
    Click(hStatic);
    Click(hStatic);
    EnableWindow(hStatic, FALSE);
    EnableWindow(hStatic, TRUE);
    std::vector<CommandSent> expected { { 100, STN_CLICKED, hStatic }, { 100, STN_DBLCLK, hStatic },
        { 100, STN_DISABLE, hStatic }, { 100, STN_ENABLE, hStatic } };
    EXPECT_EQ(TakeCommands(), expected);
}

/***** Painting *****/

TEST_F(StaticControlTest, BackgroundComesFromTheParentsBrush)
{
    HBRUSH hRed = CreateSolidBrush(RED);
    std::vector<UINT> asked;
    MessageLog::Instance().handler = [&](HWND, UINT uMsg, WPARAM, LPARAM lParam, LRESULT* plResult) {
        if (uMsg != WM_CTLCOLORSTATIC || reinterpret_cast<HWND>(lParam) == nullptr)
            return false;
        asked.push_back(uMsg);
        *plResult = reinterpret_cast<LRESULT>(hRed);
        return true;
    };
    CreateControl("Static", "", SS_LEFT, 10, 10, 50, 20, 100);
    CCapturedImage image = Capture();
    EXPECT_FALSE(asked.empty());
    EXPECT_EQ(image.At(20, 20), RED);
    MessageLog::Instance().handler = nullptr;
    DeleteObject(hRed);
}

TEST_F(StaticControlTest, WithoutAParentBrushTheFaceColourFills)
{
    CreateControl("Static", "", SS_LEFT, 10, 10, 50, 20, 100);
    EXPECT_EQ(Capture().At(20, 20), GetSysColor(COLOR_BTNFACE));
}

TEST_F(StaticControlTest, RectanglesFillAndFramesOutline)
{
    CreateControl("Static", "", SS_BLACKRECT, 10, 10, 20, 20, 100);
    CreateControl("Static", "", SS_GRAYFRAME, 40, 10, 20, 20, 101);
    CCapturedImage image = Capture();
    EXPECT_EQ(image.At(20, 20), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(image.At(40, 20), GetSysColor(COLOR_3DSHADOW));
    EXPECT_NE(image.At(50, 20), GetSysColor(COLOR_3DSHADOW));
}

TEST_F(StaticControlTest, TextAlignmentFollowsTheStyle)
{
    // The first dark pixel column of a short text: near the left for SS_LEFT,
    // near the right for SS_RIGHT.
    HWND hLeft = CreateControl("Static", "Ab", SS_LEFT, 0, 0, 200, 20, 100);
    HWND hRight = CreateControl("Static", "Ab", SS_RIGHT, 0, 30, 200, 20, 101);
    CCapturedImage image = Capture();
    auto firstInk = [&](int yTop) {
        for (int x = 0; x < 200; ++x)
            for (int y = yTop; y < yTop + 20; ++y)
                if (image.At(x, y) == GetSysColor(COLOR_WINDOWTEXT))
                    return x;
        return -1;
    };
    EXPECT_GE(firstInk(0), 0);
    EXPECT_LT(firstInk(0), 10);
    EXPECT_GT(firstInk(30), 150);
    ASSERT_NE(hLeft, nullptr);
    ASSERT_NE(hRight, nullptr);
}

TEST_F(StaticControlTest, OwnerDrawStaticAsksItsParent)
{
    std::vector<DRAWITEMSTRUCT> draws;
    MessageLog::Instance().handler = [&](HWND, UINT uMsg, WPARAM, LPARAM lParam, LRESULT* plResult) {
        if (uMsg != WM_DRAWITEM)
            return false;
        draws.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        *plResult = TRUE;
        return true;
    };
    HWND hStatic = CreateControl("Static", "", SS_OWNERDRAW, 10, 10, 30, 15, 100);
    PumpUntilIdle();
    MessageLog::Instance().handler = nullptr;
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].CtlType, ODT_STATIC);
    EXPECT_EQ(draws[0].CtlID, 100u);
    EXPECT_EQ(draws[0].hwndItem, hStatic);
    EXPECT_EQ(draws[0].itemAction, ODA_DRAWENTIRE);
    EXPECT_EQ(draws[0].rcItem.right, 30);
    EXPECT_EQ(draws[0].rcItem.bottom, 15);
}

TEST_F(StaticControlTest, BitmapStaticTakesTheBitmapsSizeAndShowsIt)
{
    HDC hScreen = GetDC(nullptr);
    HBITMAP hBitmap = CreateCompatibleBitmap(hScreen, 12, 8);
    HDC hMem = CreateCompatibleDC(hScreen);
    HGDIOBJ hOld = SelectObject(hMem, hBitmap);
    RECT rcAll { 0, 0, 12, 8 };
    HBRUSH hRed = CreateSolidBrush(RED);
    FillRect(hMem, &rcAll, hRed);
    SelectObject(hMem, hOld);
    DeleteDC(hMem);
    ReleaseDC(nullptr, hScreen);

    HWND hStatic = CreateControl("Static", "", SS_BITMAP, 10, 10, 50, 50, 100);
    EXPECT_EQ(SendMessage(hStatic, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap)), 0);
    EXPECT_EQ(SendMessage(hStatic, STM_GETIMAGE, IMAGE_BITMAP, 0), reinterpret_cast<LRESULT>(hBitmap));
    EXPECT_EQ(SendMessage(hStatic, STM_GETIMAGE, IMAGE_ICON, 0), 0);
    RECT rc {};
    GetClientRect(hStatic, &rc);
    EXPECT_EQ(rc.right, 12);
    EXPECT_EQ(rc.bottom, 8);
    CCapturedImage image = Capture();
    EXPECT_EQ(image.At(10, 10), RED);
    EXPECT_EQ(image.At(21, 17), RED);
    EXPECT_NE(image.At(22, 10), RED);

    DestroyWindow(hStatic);
    DeleteObject(hBitmap);
    DeleteObject(hRed);
}

TEST_F(StaticControlTest, IconShowsThroughItsMaskAtItsOwnSize)
{
    HICON hIcon = LoadIcon(nullptr, IDI_ERROR); // a red disc, clear in the corners
    HWND hStatic = CreateControl("Static", "", SS_ICON, 10, 10, 5, 5, 100);
    EXPECT_EQ(SendMessage(hStatic, STM_SETICON, reinterpret_cast<WPARAM>(hIcon), 0), 0);
    EXPECT_EQ(SendMessage(hStatic, STM_GETICON, 0, 0), reinterpret_cast<LRESULT>(hIcon));
    RECT rc {};
    GetClientRect(hStatic, &rc);
    EXPECT_EQ(rc.right, ICON_DEFAULT_SIZE);
    EXPECT_EQ(rc.bottom, ICON_DEFAULT_SIZE);
    CCapturedImage image = Capture();
    EXPECT_EQ(image.At(10 + 6, 10 + ICON_DEFAULT_SIZE / 2), RGB(204, 0, 0));
    EXPECT_EQ(image.At(10, 10), GetSysColor(COLOR_BTNFACE)) << "the background shows in the corner";
    DestroyWindow(hStatic);
}

} // namespace
