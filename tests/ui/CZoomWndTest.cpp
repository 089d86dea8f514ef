#include "ui/CZoomWnd.h"

#include "platform/base/GlobalMemory.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Pictures.h"
#include "platform/window/Clipboard.h"
#include "platform/window/ScrollBars.h"
#include "tests/ui/UiTestSupport.h"

#include <cstring>

namespace {

constexpr COLORREF RED = RGB(255, 0, 0);
constexpr COLORREF BLUE = RGB(0, 0, 255);
constexpr COLORREF GREY = RGB(40, 40, 40);

class CZoomWndTest : public UiTest {
protected:
    // A picture file of cx x cy pixels: red in its left half, blue in its right.
    CString WritePicture(int cx, int cy)
    {
        HDC hScreen = GetDC(nullptr);
        HBITMAP hbm = CreateCompatibleBitmap(hScreen, cx, cy);
        HDC hdc = CreateCompatibleDC(hScreen);
        HGDIOBJ hOld = SelectObject(hdc, hbm);
        const RECT left { 0, 0, cx / 2, cy };
        const RECT right { cx / 2, 0, cx, cy };
        HBRUSH hRed = CreateSolidBrush(RED);
        HBRUSH hBlue = CreateSolidBrush(BLUE);
        FillRect(hdc, &left, hRed);
        FillRect(hdc, &right, hBlue);
        SelectObject(hdc, hOld);
        DeleteObject(hRed);
        DeleteObject(hBlue);
        DeleteDC(hdc);
        ReleaseDC(nullptr, hScreen);
        CString strPath = ProgramPathFromHostPath((m_folder.Path() / "picture.png").string()).c_str();
        EXPECT_TRUE(SaveBitmapAsPng(hbm, strPath));
        DeleteObject(hbm);
        return strPath;
    }
    // The zoom window over the host at (0, 0) with the client size given, showing a cx x cy picture.
    void Show(int cxPicture, int cyPicture, int nZoom, int cxWindow, int cyWindow)
    {
        m_zoom.SetPicturePath(WritePicture(cxPicture, cyPicture), CZoomWnd::TYPE_BITMAP_FILE);
        ASSERT_TRUE(m_zoom.SetImage());
        m_zoom.SetZoom(nZoom);
        m_zoom.SetBackgroundColor(GREY);
        m_zoom.SetClientRect(RECT { 0, 0, cxWindow, cyWindow });
        ASSERT_TRUE(m_zoom.Create(&Host()));
        m_zoom.UpdateWindow();
    }
    COLORREF Pixel(int x, int y)
    {
        m_zoom.UpdateWindow();
        return CUiHarness::Pixel(m_zoom.GetSafeHwnd(), x, y);
    }
    BOOL HasBar(DWORD dwBar) const { return (m_zoom.GetStyle() & dwBar) != 0; }
    void Scroll(UINT nMessage, UINT nCode, UINT nThumb = 0)
    {
        m_zoom.SendMessage(nMessage, MAKEWPARAM(nCode, nThumb), 0);
    }

    TempFolder m_folder;
    CZoomWnd m_zoom;
};

TEST_F(CZoomWndTest, SmallPictureSitsAtTheTopLeftAndTheRestIsMargin)
{
    Show(40, 20, 100, 100, 50);
    EXPECT_EQ(m_zoom.GetZoom(), 100);
    EXPECT_EQ(Pixel(5, 5), RED);
    EXPECT_EQ(Pixel(35, 15), BLUE);
    EXPECT_EQ(Pixel(60, 10), GREY) << "right of the picture";
    EXPECT_EQ(Pixel(10, 30), GREY) << "below it";
    EXPECT_FALSE(HasBar(WS_HSCROLL) || HasBar(WS_VSCROLL));
}

TEST_F(CZoomWndTest, FitModeShrinksTheWholePictureWithoutBars)
{
    Show(200, 100, 0, 100, 50);
    EXPECT_EQ(m_zoom.GetZoom(), 50);
    EXPECT_FALSE(HasBar(WS_HSCROLL) || HasBar(WS_VSCROLL));
    EXPECT_EQ(Pixel(2, 2), RED);
    EXPECT_EQ(Pixel(97, 47), BLUE) << "the picture's far corner is in view";
    // A narrower window keeps the proportions: the picture leaves a margin below.
    m_zoom.MoveWindow(0, 0, 50, 50);
    EXPECT_EQ(m_zoom.GetZoom(), 25);
    EXPECT_EQ(Pixel(47, 20), BLUE);
    EXPECT_EQ(Pixel(10, 40), GREY);
}

TEST_F(CZoomWndTest, LargerPictureScrollsAndTheEndsHaveDeadZones)
{
    Show(400, 40, 100, 100, 60);
    EXPECT_TRUE(HasBar(WS_HSCROLL));
    EXPECT_FALSE(HasBar(WS_VSCROLL)) << "the height fits even with the bar";
    EXPECT_EQ(Pixel(5, 5), RED);
    for (int nPosition : { 1, 2 }) {
        m_zoom.SetPositions(nPosition, 0);
        m_zoom.Invalidate();
        EXPECT_EQ(Pixel(1, 5), RED) << nPosition << " shows the start";
    }
    for (int nPosition : { 98, 99 }) {
        m_zoom.SetPositions(nPosition, 0);
        m_zoom.Invalidate();
        EXPECT_EQ(Pixel(98, 5), BLUE) << nPosition << " shows the end";
    }
    SCROLLINFO info { sizeof(info), SIF_ALL, 0, 0, 0, 0, 0 };
    ASSERT_TRUE(GetScrollInfo(m_zoom.GetSafeHwnd(), SB_HORZ, &info));
    EXPECT_EQ(info.nMax, 400) << "the range is the picture";
    EXPECT_EQ(info.nPage, 100u) << "the page what the window shows";
    // A paint that keeps the bars as they are asks for no other paint.
    m_zoom.Invalidate();
    EXPECT_LT(Driver().Pump(), 5);
}

TEST_F(CZoomWndTest, ScrollRequestsMoveThePositionInPercent)
{
    Show(400, 40, 100, 100, 60);
    Scroll(WM_HSCROLL, SB_LINERIGHT);
    EXPECT_EQ(m_zoom.GetHorizontalPosition(), 3) << "the first step leaves the start's dead zone";
    Scroll(WM_HSCROLL, SB_PAGERIGHT);
    EXPECT_EQ(m_zoom.GetHorizontalPosition(), 28) << "a page is the quarter the window shows";
    Scroll(WM_HSCROLL, SB_RIGHT);
    EXPECT_EQ(m_zoom.GetHorizontalPosition(), 100);
    EXPECT_EQ(Pixel(98, 5), BLUE);
    Scroll(WM_HSCROLL, SB_LINELEFT);
    EXPECT_EQ(m_zoom.GetHorizontalPosition(), 97);
    Scroll(WM_HSCROLL, SB_THUMBPOSITION, 150);
    EXPECT_EQ(m_zoom.GetHorizontalPosition(), 50) << "150 of the 300 free pixels";
    Scroll(WM_HSCROLL, SB_LEFT);
    EXPECT_EQ(m_zoom.GetHorizontalPosition(), 0);
    Scroll(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(m_zoom.GetVerticalPosition(), 0) << "the height fits: nothing to scroll";
}

TEST_F(CZoomWndTest, RenderingLeavesTheClipboardAndTheWindowAlone)
{
    Show(200, 100, 0, 100, 50);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    const char szText[] = "the user's text";
    HGLOBAL hText = GlobalAlloc(GMEM_MOVEABLE, sizeof(szText));
    std::memcpy(GlobalLock(hText), szText, sizeof(szText));
    GlobalUnlock(hText);
    SetClipboardData(CF_TEXT, hText);
    CloseClipboard();

    const std::vector<BYTE> dib = m_zoom.CopyToClipboard(40, 40);
    ASSERT_GE(dib.size(), sizeof(BITMAPINFOHEADER) + 40 * 40 * 4);
    BITMAPINFOHEADER header {};
    std::memcpy(&header, dib.data(), sizeof(header));
    EXPECT_EQ(header.biSize, 40u);
    EXPECT_EQ(header.biWidth, 40);
    EXPECT_EQ(header.biHeight, 40);
    EXPECT_EQ(header.biBitCount, 32);
    // Bottom row first: the fitted picture (40 x 20) fills the top half.
    const auto PixelAt = [&](int x, int yFromTop) {
        const BYTE* p = dib.data() + sizeof(BITMAPINFOHEADER) + ((39 - yFromTop) * 40 + x) * 4;
        return RGB(p[2], p[1], p[0]);
    };
    EXPECT_EQ(PixelAt(2, 2), RED);
    EXPECT_EQ(PixelAt(37, 17), BLUE);
    EXPECT_EQ(PixelAt(20, 35), GREY);

    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_STREQ(static_cast<const char*>(GlobalLock(GetClipboardData(CF_TEXT))), szText);
    EXPECT_EQ(CountClipboardFormats(), 2) << "the text, and the text made from it";
    CloseClipboard();
    EXPECT_EQ(m_zoom.GetZoom(), 50) << "the window keeps its own layout";
    EXPECT_EQ(Pixel(97, 47), BLUE);
    EXPECT_TRUE(m_zoom.CopyToClipboard(0, 10).empty());
}

TEST_F(CZoomWndTest, MissingPicturesAndMetafilesGiveNoPicture)
{
    m_zoom.SetPicturePath("C:\\no\\such\\picture.png", CZoomWnd::TYPE_BITMAP_FILE);
    EXPECT_FALSE(m_zoom.SetImage());
    m_zoom.SetPicturePath(WritePicture(10, 10), CZoomWnd::TYPE_METAFILE);
    EXPECT_FALSE(m_zoom.SetImage());
    EXPECT_TRUE(m_zoom.CopyToClipboard(10, 10).empty());
}

TEST_F(CZoomWndTest, OwnersSlotIsClearedWhenTheWindowGoes)
{
    auto* pZoom = new CZoomWnd;
    CZoomWnd* pSlot = pZoom;
    pZoom->SetOwnerSlot(&pSlot);
    pZoom->SetClientRect(RECT { 0, 0, 20, 20 });
    ASSERT_TRUE(pZoom->Create(&Host()));
    delete pZoom;
    EXPECT_EQ(pSlot, nullptr);
}

TEST_F(CZoomWndTest, LooksLikeItsReferencesFittedAndZoomed)
{
    Show(200, 100, 0, 120, 80);
    m_pUi->ExpectWindowMatches(m_zoom.GetSafeHwnd(), "zoom_fitted.png");
    m_zoom.SetZoom(100);
    m_zoom.SetPositions(50, 0);
    m_zoom.MoveWindow(0, 0, 120, 60);
    m_zoom.MoveWindow(0, 0, 120, 80);
    m_zoom.UpdateWindow();
    m_pUi->ExpectWindowMatches(m_zoom.GetSafeHwnd(), "zoom_scrolled.png");
}

} // namespace
