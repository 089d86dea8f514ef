#include "platform/window/Paint.h"

#include "platform/base/Clock.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Rects.h"
#include "platform/gdi/SysColors.h"
#include "platform/window/Focus.h"
#include "platform/window/Messages.h"
#include "tests/platform/window/WindowTestSupport.h"
#include "tests/support/TempFolder.h"

#include <filesystem>

namespace {

constexpr COLORREF RED = RGB(255, 0, 0);
constexpr COLORREF BLUE = RGB(0, 0, 255);
constexpr COLORREF GREEN = RGB(0, 255, 0);
constexpr COLORREF WHITE = RGB(255, 255, 255);

// Registers a recording class that erases with `hbrBackground`.
void RegisterBrushClass(LPCSTR lpszName, HBRUSH hbrBackground)
{
    WNDCLASS wc {};
    wc.lpfnWndProc = RecordingWndProc;
    wc.hbrBackground = hbrBackground;
    wc.lpszClassName = lpszName;
    ASSERT_NE(RegisterClass(&wc), 0);
}

class PaintTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        RegisterBrushClass("WhiteWindow", GetSysColorBrush(COLOR_WINDOW));
        RegisterBrushClass("RedWindow", CreateSolidBrush(RED));
        RegisterBrushClass("ColourIndexWindow", reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(COLOR_HIGHLIGHT + 1)));
    }

    HWND Create(LPCSTR lpszClass, DWORD dwStyle, int x, int y, int cx, int cy, HWND hParent = nullptr, UINT_PTR nId = 0)
    {
        return CreateWindowEx(
            0, lpszClass, "", dwStyle, x, y, cx, cy, hParent, reinterpret_cast<HMENU>(nId), nullptr, nullptr);
    }

    // The paint messages of one pump, in order.
    std::vector<std::pair<HWND, UINT>> PumpPaint()
    {
        PumpUntilIdle();
        return MessageLog::Instance().TakeMessages({ WM_PAINT, WM_ERASEBKGND, WM_NCPAINT, WM_USER, WM_TIMER });
    }
};

/***** WM_PAINT *****/

TEST_F(PaintTest, InvalidatingBringsOnePaintAfterThePostedMessagesWithErase)
{
    HWND hWnd = Create("WhiteWindow", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    PumpUntilIdle();
    MessageLog::Instance().Take();
    RECT rc { 10, 10, 20, 20 };
    InvalidateRect(hWnd, &rc, TRUE);
    PostMessage(hWnd, WM_USER, 0, 0);
    std::vector<std::pair<HWND, UINT>> expected { { hWnd, WM_USER }, { hWnd, WM_PAINT }, { hWnd, WM_ERASEBKGND } };
    EXPECT_EQ(PumpPaint(), expected);
    EXPECT_TRUE(PumpPaint().empty()); // BeginPaint validated it: no second WM_PAINT
    RECT rcUpdate {};
    EXPECT_FALSE(GetUpdateRect(hWnd, &rcUpdate, FALSE));
}

TEST_F(PaintTest, PaintComesBeforeTimersAndNotForHiddenWindows)
{
    CManualClock clock(0, 1000);
    CClockOverride override(clock);
    HWND hWnd = Create("WhiteWindow", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND hHidden = Create("WhiteWindow", WS_POPUP, 0, 0, 100, 100);
    SetTimer(hWnd, 1, 10, nullptr);
    clock.Advance(10);
    InvalidateRect(hHidden, nullptr, TRUE);
    auto messages = PumpPaint();
    ASSERT_GE(messages.size(), 2u);
    EXPECT_EQ(messages.front(), std::make_pair(hWnd, WM_PAINT));
    EXPECT_EQ(messages.back(), std::make_pair(hWnd, WM_TIMER));
    for (const auto& message : messages)
        EXPECT_NE(message.first, hHidden);
}

TEST_F(PaintTest, BeginPaintReportsTheRegionAndWhetherTheBackgroundWasErased)
{
    HWND hWhite = Create("WhiteWindow", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND hBare = CreateRecordingWindow(WS_POPUP | WS_VISIBLE, 200, 0, 100, 100); // no class brush
    PumpUntilIdle();
    for (HWND hWnd : { hWhite, hBare }) {
        RECT rc1 { 10, 10, 20, 20 };
        RECT rc2 { 50, 60, 70, 80 };
        InvalidateRect(hWnd, &rc1, TRUE);
        InvalidateRect(hWnd, &rc2, FALSE);
        PAINTSTRUCT ps {};
        ASSERT_NE(BeginPaint(hWnd, &ps), nullptr);
        RECT rcExpected { 10, 10, 70, 80 };
        EXPECT_TRUE(EqualRect(&ps.rcPaint, &rcExpected));
        EXPECT_EQ(ps.fErase, hWnd == hBare ? TRUE : FALSE);
        EndPaint(hWnd, &ps);
    }
}

TEST_F(PaintTest, ValidatingOrStoppingRedrawMeansNoPaint)
{
    HWND hWnd = Create("WhiteWindow", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    PumpUntilIdle();
    MessageLog::Instance().Take();
    InvalidateRect(hWnd, nullptr, TRUE);
    ValidateRect(hWnd, nullptr);
    EXPECT_TRUE(PumpPaint().empty());

    SendMessage(hWnd, WM_SETREDRAW, FALSE, 0);
    InvalidateRect(hWnd, nullptr, TRUE);
    EXPECT_TRUE(PumpPaint().empty());
    SendMessage(hWnd, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hWnd, nullptr, TRUE);
    EXPECT_EQ(PumpPaint().front(), std::make_pair(hWnd, WM_PAINT));
}

TEST_F(PaintTest, UpdateWindowPaintsAtOnceAndInvalidationReachesChildren)
{
    HWND hParent = Create("WhiteWindow", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
    HWND hChild = Create("WhiteWindow", WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, hParent, 1);
    PumpUntilIdle();
    MessageLog::Instance().Take();
    RECT rc { 0, 0, 30, 30 }; // touches the child
    InvalidateRect(hParent, &rc, TRUE);
    UpdateWindow(hParent);
    EXPECT_EQ(MessageLog::Instance().TakeMessages({ WM_PAINT }),
        (std::vector<std::pair<HWND, UINT>> { { hParent, WM_PAINT } }));
    RECT rcChild {};
    ASSERT_TRUE(GetUpdateRect(hChild, &rcChild, FALSE));
    RECT rcExpected { 0, 0, 20, 20 };
    EXPECT_TRUE(EqualRect(&rcChild, &rcExpected));

    RedrawWindow(hParent, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    EXPECT_EQ(MessageLog::Instance().TakeMessages({ WM_PAINT }),
        (std::vector<std::pair<HWND, UINT>> { { hParent, WM_PAINT }, { hChild, WM_PAINT } }));
}

TEST_F(PaintTest, ParentsWithClipChildrenDoNotInvalidateTheirChildren)
{
    HWND hParent = Create("WhiteWindow", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 200, 200);
    HWND hChild = Create("WhiteWindow", WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, hParent, 1);
    PumpUntilIdle();
    InvalidateRect(hParent, nullptr, TRUE);
    EXPECT_FALSE(GetUpdateRect(hChild, nullptr, FALSE));
}

/***** Pixels *****/

TEST_F(PaintTest, ErasingUsesTheClassBrushAndSystemColourIndexes)
{
    HWND hRed = Create("RedWindow", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40);
    HWND hIndexed = Create("ColourIndexWindow", WS_POPUP | WS_VISIBLE, 100, 0, 40, 40);
    PumpUntilIdle();
    CCapturedImage red(CaptureWindowImage(hRed));
    CCapturedImage indexed(CaptureWindowImage(hIndexed));
    EXPECT_EQ(red.At(20, 20), RED);
    EXPECT_EQ(indexed.At(20, 20), GetSysColor(COLOR_HIGHLIGHT));
}

TEST_F(PaintTest, ChildClippingShowsInTheScreenshot)
{
    HWND hClipping = Create("WhiteWindow", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 100, 100);
    Create("RedWindow", WS_CHILD | WS_VISIBLE, 10, 10, 30, 30, hClipping, 1);
    HWND hPlain = Create("WhiteWindow", WS_POPUP | WS_VISIBLE, 200, 0, 100, 100);
    Create("RedWindow", WS_CHILD | WS_VISIBLE, 10, 10, 30, 30, hPlain, 1);
    PumpUntilIdle();
    for (HWND hParent : { hClipping, hPlain }) {
        HDC hdc = GetDC(hParent);
        RECT rcAll { 0, 0, 100, 100 };
        HBRUSH hBlue = CreateSolidBrush(BLUE);
        FillRect(hdc, &rcAll, hBlue);
        DeleteObject(hBlue);
        ReleaseDC(hParent, hdc);
    }
    CCapturedImage clipping(CaptureWindowImage(hClipping));
    CCapturedImage plain(CaptureWindowImage(hPlain));
    EXPECT_EQ(clipping.At(5, 5), BLUE);
    EXPECT_EQ(clipping.At(20, 20), RED); // the child kept its pixels
    EXPECT_EQ(clipping.At(39, 39), RED);
    EXPECT_EQ(clipping.At(40, 40), BLUE);
    EXPECT_EQ(plain.At(20, 20), BLUE); // drawn over
}

TEST_F(PaintTest, SiblingClippingAndTheParentsClientAreaLimitADc)
{
    HWND hParent = Create("WhiteWindow", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND hLower = Create("WhiteWindow", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 10, 10, 150, 40, hParent, 1);
    Create("RedWindow", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 30, 20, 20, 20, hParent, 2); // on top of hLower
    PumpUntilIdle();
    HDC hdc = GetDC(hLower);
    SelectClipRgn(hdc, nullptr); // the caller's clip cannot widen what shows
    RECT rcAll { -50, -50, 500, 500 };
    HBRUSH hGreen = CreateSolidBrush(GREEN);
    FillRect(hdc, &rcAll, hGreen);
    DeleteObject(hGreen);
    RECT rcBox {};
    GetClipBox(hdc, &rcBox);
    ReleaseDC(hLower, hdc);
    RECT rcVisible { 0, 0, 90, 40 }; // cut by the parent's client area
    EXPECT_TRUE(EqualRect(&rcBox, &rcVisible));
    CCapturedImage image(CaptureWindowImage(hParent));
    EXPECT_EQ(image.At(15, 15), GREEN);
    EXPECT_EQ(image.At(35, 25), RED);   // the sibling above
    EXPECT_EQ(image.At(5, 5), WHITE);   // the parent outside the child
    EXPECT_EQ(image.At(15, 55), WHITE); // below the child
}

TEST_F(PaintTest, TheScreenComposesTopLevelWindowsInZOrder)
{
    HWND hBelow = Create("WhiteWindow", WS_POPUP | WS_VISIBLE, 100, 100, 100, 100);
    HWND hAbove = Create("RedWindow", WS_POPUP | WS_VISIBLE, 150, 150, 100, 100);
    PumpUntilIdle();
    {
        CCapturedImage screen(CaptureWindowImage(nullptr));
        EXPECT_EQ(screen.At(120, 120), WHITE);
        EXPECT_EQ(screen.At(170, 170), RED);
        EXPECT_EQ(screen.At(10, 10), GetSysColor(COLOR_DESKTOP));
    }
    SetWindowPos(hBelow, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    PumpUntilIdle();
    {
        CCapturedImage screen(CaptureWindowImage(nullptr));
        EXPECT_EQ(screen.At(170, 170), WHITE);
    }
    ShowWindow(hBelow, SW_HIDE);
    CCapturedImage screen(CaptureWindowImage(nullptr));
    EXPECT_EQ(screen.At(120, 120), GetSysColor(COLOR_DESKTOP));
    EXPECT_EQ(screen.At(170, 170), RED);
    (void)hAbove;
}

TEST_F(PaintTest, TheFrameIsDrawnWithACaptionInTheActiveColour)
{
    HWND hWnd = Create("WhiteWindow", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 150);
    SetActiveWindow(hWnd);
    PumpUntilIdle();
    CCapturedImage image(CaptureWindowImage(hWnd));
    EXPECT_EQ(image.At(10, 8), GetSysColor(COLOR_ACTIVECAPTION));
    EXPECT_EQ(image.At(100, 100), WHITE);
    SetActiveWindow(nullptr);
    PumpUntilIdle();
    CCapturedImage inactive(CaptureWindowImage(hWnd));
    EXPECT_EQ(inactive.At(10, 8), GetSysColor(COLOR_INACTIVECAPTION));

    // A change of activation repaints the caption only: the client stays valid.
    MessageLog::Instance().TakeMessages({ WM_PAINT });
    SetActiveWindow(hWnd);
    EXPECT_FALSE(GetUpdateRect(hWnd, nullptr, FALSE));
    PumpUntilIdle();
    EXPECT_TRUE(MessageLog::Instance().TakeMessages({ WM_PAINT }).empty());
}

TEST_F(PaintTest, ScrollingMovesThePixelsAndInvalidatesWhatItUncovers)
{
    HWND hWnd = Create("WhiteWindow", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    PumpUntilIdle();
    HDC hdc = GetDC(hWnd);
    RECT rcBand { 0, 50, 100, 60 };
    HBRUSH hBlue = CreateSolidBrush(BLUE);
    FillRect(hdc, &rcBand, hBlue);
    DeleteObject(hBlue);
    ReleaseDC(hWnd, hdc);

    ScrollWindow(hWnd, 0, -20, nullptr, nullptr);
    {
        CCapturedImage image(CaptureWindowImage(hWnd));
        EXPECT_EQ(image.At(50, 35), BLUE);
        EXPECT_EQ(image.At(50, 55), WHITE);
    }
    RECT rcUpdate {};
    ASSERT_TRUE(GetUpdateRect(hWnd, &rcUpdate, FALSE));
    RECT rcExpected { 0, 80, 100, 100 };
    EXPECT_TRUE(EqualRect(&rcUpdate, &rcExpected));
}

TEST_F(PaintTest, AScreenshotIsWrittenAsPng)
{
    TempFolder folder;
    HWND hWnd = Create("RedWindow", WS_POPUP | WS_VISIBLE, 0, 0, 30, 20);
    PumpUntilIdle();
    std::filesystem::path path = folder / "window.png";
    ASSERT_TRUE(SaveWindowScreenshot(hWnd, path.string().c_str()));
    EXPECT_GT(std::filesystem::file_size(path), 0u);
    EXPECT_FALSE(SaveWindowScreenshot(reinterpret_cast<HWND>(0x4444), path.string().c_str()));
}

TEST_F(PaintTest, BadHandlesAreRefused)
{
    HWND hBad = reinterpret_cast<HWND>(0x4444);
    PAINTSTRUCT ps {};
    EXPECT_EQ(BeginPaint(hBad, &ps), nullptr);
    EXPECT_FALSE(InvalidateRect(hBad, nullptr, TRUE));
    EXPECT_EQ(GetDC(hBad), nullptr);
    EXPECT_EQ(ReleaseDC(nullptr, reinterpret_cast<HDC>(0x4444)), 0);
    EXPECT_FALSE(UpdateWindow(hBad));
}

}

/***** Colours of controls *****/

TEST_F(PaintTest, DefWindowProcAnswersControlColoursWithTheSystemColoursOfTheKind)
{
    HWND hWnd = CreateRecordingWindow(WS_POPUP, 0, 0, 50, 50);
    HDC hdc = GetDC(hWnd);
    struct Case {
        UINT uMsg;
        int nBackColor;
    };
    for (Case c : { Case { WM_CTLCOLOREDIT, COLOR_WINDOW }, Case { WM_CTLCOLORLISTBOX, COLOR_WINDOW },
             Case { WM_CTLCOLORSCROLLBAR, COLOR_SCROLLBAR }, Case { WM_CTLCOLORSTATIC, COLOR_3DFACE },
             Case { WM_CTLCOLORBTN, COLOR_3DFACE }, Case { WM_CTLCOLORDLG, COLOR_3DFACE },
             Case { WM_CTLCOLORMSGBOX, COLOR_3DFACE } }) {
        SetTextColor(hdc, RED);
        SetBkColor(hdc, GREEN);
        auto hbr = reinterpret_cast<HBRUSH>(
            SendMessage(hWnd, c.uMsg, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(hWnd)));
        EXPECT_EQ(hbr, GetSysColorBrush(c.nBackColor)) << c.uMsg;
        EXPECT_EQ(GetBkColor(hdc), GetSysColor(c.nBackColor)) << c.uMsg;
        EXPECT_EQ(GetTextColor(hdc), GetSysColor(COLOR_WINDOWTEXT)) << c.uMsg;
    }
    // Other messages are not colour requests: the DC is left alone.
    SetBkColor(hdc, GREEN);
    EXPECT_EQ(DefaultControlColors(hdc, WM_PAINT), nullptr);
    EXPECT_EQ(GetBkColor(hdc), GREEN);
    ReleaseDC(hWnd, hdc);
    DestroyWindow(hWnd);
}
