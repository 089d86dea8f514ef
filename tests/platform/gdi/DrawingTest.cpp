#include "platform/gdi/Drawing.h"

#include "platform/gdi/Blt.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/Regions.h"
#include "platform/gdi/Text.h"
#include "tests/platform/gdi/GdiTestCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

constexpr COLORREF WHITE = RGB(255, 255, 255);
constexpr COLORREF BLACK = RGB(0, 0, 0);

std::set<std::pair<int, int>> AsSet(const std::vector<POINT>& points)
{
    std::set<std::pair<int, int>> set;
    for (POINT pt : points)
        set.emplace(pt.x, pt.y);
    return set;
}

}

TEST(DrawingTest, LinesLeaveOutTheirLastPixel)
{
    struct Case {
        POINT from, to;
    };
    for (Case c : { Case { { 2, 5 }, { 12, 5 } }, Case { { 5, 2 }, { 5, 12 } }, Case { { 2, 2 }, { 12, 12 } },
             Case { { 12, 9 }, { 1, 3 } }, Case { { 13, 7 }, { 3, 7 } } }) {
        CTestCanvas canvas(16, 16);
        MoveToEx(canvas.Dc(), c.from.x, c.from.y, nullptr);
        LineTo(canvas.Dc(), c.to.x, c.to.y);
        EXPECT_EQ(canvas.At(c.from.x, c.from.y), BLACK);
        EXPECT_EQ(canvas.At(c.to.x, c.to.y), WHITE);
        int nLength = std::max(std::abs(c.to.x - c.from.x), std::abs(c.to.y - c.from.y));
        EXPECT_EQ(static_cast<int>(canvas.Marked().size()), nLength);
        POINT pt {};
        GetCurrentPositionEx(canvas.Dc(), &pt);
        EXPECT_EQ(pt.x, c.to.x);
    }
}

TEST(DrawingTest, JoinedLinesDrawEachJointOnceUnderXor)
{
    CTestCanvas canvas(16, 16);
    SetROP2(canvas.Dc(), R2_XORPEN);
    HPEN hPen = CreatePen(PS_SOLID, 1, WHITE);
    HGDIOBJ hOld = SelectObject(canvas.Dc(), hPen);
    POINT square[] = { { 2, 2 }, { 10, 2 }, { 10, 10 }, { 2, 10 }, { 2, 2 } };
    Polyline(canvas.Dc(), square, 5);
    // Every outline pixel inverted exactly once: 4 sides of 8.
    EXPECT_EQ(canvas.Marked().size(), 32u);
    Polyline(canvas.Dc(), square, 5);
    EXPECT_TRUE(canvas.Marked().empty());
    SelectObject(canvas.Dc(), hOld);
    DeleteObject(hPen);
}

TEST(DrawingTest, RectangleOutlinesInPenAndFillsInBrush)
{
    CTestCanvas canvas(20, 20);
    HPEN hPen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HBRUSH hBrush = CreateSolidBrush(RGB(0, 0, 255));
    HGDIOBJ hOldPen = SelectObject(canvas.Dc(), hPen);
    HGDIOBJ hOldBrush = SelectObject(canvas.Dc(), hBrush);
    Rectangle(canvas.Dc(), 2, 3, 12, 10);
    EXPECT_EQ(canvas.At(2, 3), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(11, 9), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(12, 9), WHITE);
    EXPECT_EQ(canvas.At(11, 10), WHITE);
    EXPECT_EQ(canvas.At(3, 4), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(10, 8), RGB(0, 0, 255));
    EXPECT_EQ(canvas.Marked().size(), 70u);

    // With the null pen the fill shrinks by one pixel right and bottom.
    PatBlt(canvas.Dc(), 0, 0, 20, 20, WHITENESS);
    SelectObject(canvas.Dc(), GetStockObject(NULL_PEN));
    Rectangle(canvas.Dc(), 2, 3, 12, 10);
    EXPECT_EQ(canvas.Marked().size(), 9u * 6u);
    EXPECT_EQ(canvas.At(2, 3), RGB(0, 0, 255));
    SelectObject(canvas.Dc(), hOldPen);
    SelectObject(canvas.Dc(), hOldBrush);
    DeleteObject(hPen);
    DeleteObject(hBrush);
}

TEST(DrawingTest, EllipseIsSymmetricAndInsideItsBox)
{
    CTestCanvas canvas(30, 30);
    SelectObject(canvas.Dc(), GetStockObject(BLACK_BRUSH));
    Ellipse(canvas.Dc(), 3, 5, 24, 20);
    std::vector<POINT> marked = canvas.Marked();
    ASSERT_FALSE(marked.empty());
    auto set = AsSet(marked);
    for (POINT pt : marked) {
        EXPECT_TRUE(pt.x >= 3 && pt.x < 24 && pt.y >= 5 && pt.y < 20);
        EXPECT_TRUE(set.count({ 3 + 23 - pt.x, pt.y })) << pt.x << "," << pt.y; // mirrored across the middle
        EXPECT_TRUE(set.count({ pt.x, 5 + 19 - pt.y }));
    }
    EXPECT_EQ(canvas.At(3, 12), BLACK); // reaches each side
    EXPECT_EQ(canvas.At(23, 12), BLACK);
    EXPECT_EQ(canvas.At(3, 5), WHITE); // not the corners
}

TEST(DrawingTest, DashedPenLeavesGapsPaintedOnlyWhenOpaque)
{
    CTestCanvas canvas(60, 4);
    HPEN hPen = CreatePen(PS_DASH, 1, BLACK);
    HGDIOBJ hOld = SelectObject(canvas.Dc(), hPen);
    SetBkMode(canvas.Dc(), TRANSPARENT);
    MoveToEx(canvas.Dc(), 0, 1, nullptr);
    LineTo(canvas.Dc(), 60, 1);
    size_t nDrawn = canvas.Marked().size();
    EXPECT_GT(nDrawn, 20u);
    EXPECT_LT(nDrawn, 60u);
    SetBkMode(canvas.Dc(), OPAQUE);
    SetBkColor(canvas.Dc(), RGB(0, 255, 0));
    MoveToEx(canvas.Dc(), 0, 2, nullptr);
    LineTo(canvas.Dc(), 60, 2);
    for (int x = 0; x < 60; ++x)
        EXPECT_NE(canvas.At(x, 2), WHITE);
    SelectObject(canvas.Dc(), hOld);
    DeleteObject(hPen);
}

TEST(DrawingTest, EveryPrimitiveStaysInsideTheClipArea)
{
    // Each primitive covers the whole canvas; the clip area is a frame with a hole.
    std::vector<std::function<void(HDC)>> primitives {
        [](HDC hdc) { Rectangle(hdc, 0, 0, 30, 30); },
        [](HDC hdc) { Ellipse(hdc, -5, -5, 35, 35); },
        [](HDC hdc) { RoundRect(hdc, 0, 0, 30, 30, 8, 8); },
        [](HDC hdc) {
            POINT triangle[] = { { 0, 0 }, { 60, 0 }, { 0, 60 } };
            Polygon(hdc, triangle, 3);
        },
        [](HDC hdc) {
            for (int y = 0; y < 30; ++y) {
                MoveToEx(hdc, 0, y, nullptr);
                LineTo(hdc, 30, y);
            }
        },
        [](HDC hdc) {
            RECT rc { 0, 0, 30, 30 };
            FillRect(hdc, &rc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        },
        [](HDC hdc) {
            RECT rc { 0, 0, 30, 30 };
            InvertRect(hdc, &rc);
        },
        [](HDC hdc) { PatBlt(hdc, 0, 0, 30, 30, BLACKNESS); },
        [](HDC hdc) {
            for (int y = 0; y < 30; ++y)
                for (int x = 0; x < 30; ++x)
                    SetPixel(hdc, x, y, BLACK);
        },
        [](HDC hdc) { ExtFloodFill(hdc, 6, 6, RGB(255, 255, 255), FLOODFILLSURFACE); },
        [](HDC hdc) {
            HRGN hrgn = CreateRectRgn(0, 0, 30, 30);
            FillRgn(hdc, hrgn, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            DeleteObject(hrgn);
        },
        [](HDC hdc) {
            RECT rc { 0, 0, 30, 30 };
            DrawEdge(hdc, &rc, EDGE_SUNKEN, BF_RECT | BF_MIDDLE);
        },
        [](HDC hdc) {
            RECT rc { 0, 0, 30, 30 };
            DrawFrameControl(hdc, &rc, DFC_BUTTON, DFCS_BUTTONPUSH);
        },
        [](HDC hdc) {
            RECT rc { 0, 0, 30, 30 };
            DrawFrameControl(hdc, &rc, DFC_CAPTION, DFCS_CAPTIONCLOSE);
        },
        [](HDC hdc) {
            RECT rc { 0, 0, 30, 30 };
            HFONT hFont = CreateFont(-30, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
            HGDIOBJ hOld = SelectObject(hdc, hFont);
            DrawText(hdc, "WWW\nWWW", -1, &rc, DT_NOCLIP);
            SelectObject(hdc, hOld);
            DeleteObject(hFont);
        },
    };
    for (size_t i = 0; i < primitives.size(); ++i) {
        CTestCanvas canvas(30, 30);
        SelectObject(canvas.Dc(), GetStockObject(BLACK_BRUSH));
        IntersectClipRect(canvas.Dc(), 5, 5, 25, 25);
        ExcludeClipRect(canvas.Dc(), 10, 10, 20, 20);
        primitives[i](canvas.Dc());
        bool bAnyInside = false;
        canvas.ForEach([&](int x, int y, COLORREF cr) {
            bool bVisible = x >= 5 && x < 25 && y >= 5 && y < 25 && !(x >= 10 && x < 20 && y >= 10 && y < 20);
            if (!bVisible)
                EXPECT_EQ(cr, WHITE) << "primitive " << i << " at " << x << "," << y;
            else if (cr != WHITE)
                bAnyInside = true;
        });
        EXPECT_TRUE(bAnyInside) << "primitive " << i;
    }
}

TEST(DrawingTest, FloodFillStopsAtTheBorderColour)
{
    CTestCanvas canvas(20, 20);
    SelectObject(canvas.Dc(), GetStockObject(NULL_BRUSH));
    Rectangle(canvas.Dc(), 4, 4, 14, 14);
    HBRUSH hBrush = CreateSolidBrush(RGB(0, 200, 0));
    HGDIOBJ hOld = SelectObject(canvas.Dc(), hBrush);
    ASSERT_TRUE(ExtFloodFill(canvas.Dc(), 8, 8, BLACK, FLOODFILLBORDER));
    EXPECT_EQ(canvas.At(5, 5), RGB(0, 200, 0));
    EXPECT_EQ(canvas.At(12, 12), RGB(0, 200, 0));
    EXPECT_EQ(canvas.At(4, 4), BLACK);
    EXPECT_EQ(canvas.At(2, 2), WHITE);
    // Starting on the border colour itself fills nothing.
    EXPECT_FALSE(ExtFloodFill(canvas.Dc(), 4, 4, BLACK, FLOODFILLBORDER));
    SelectObject(canvas.Dc(), hOld);
    DeleteObject(hBrush);
}

TEST(DrawingTest, HatchShowsTheBackgroundOnlyWhenOpaque)
{
    CTestCanvas canvas(16, 16);
    HBRUSH hBrush = CreateHatchBrush(HS_CROSS, RGB(255, 0, 0));
    RECT rc { 0, 0, 16, 16 };
    SetBkMode(canvas.Dc(), TRANSPARENT);
    SetBkColor(canvas.Dc(), RGB(0, 0, 255));
    FillRect(canvas.Dc(), &rc, hBrush);
    size_t nHatch = canvas.Marked().size();
    EXPECT_GT(nHatch, 0u);
    EXPECT_LT(nHatch, 256u);
    SetBkMode(canvas.Dc(), OPAQUE);
    FillRect(canvas.Dc(), &rc, hBrush);
    EXPECT_EQ(canvas.Marked().size(), 256u);
    DeleteObject(hBrush);
}

TEST(DrawingTest, FocusRectangleDrawnTwiceDisappears)
{
    CTestCanvas canvas(20, 20);
    RECT rc { 2, 2, 15, 12 };
    DrawFocusRect(canvas.Dc(), &rc);
    EXPECT_FALSE(canvas.Marked().empty());
    for (POINT pt : canvas.Marked())
        EXPECT_TRUE(pt.x == 2 || pt.x == 14 || pt.y == 2 || pt.y == 11);
    DrawFocusRect(canvas.Dc(), &rc);
    EXPECT_TRUE(canvas.Marked().empty());
}

TEST(DrawingTest, EdgesAdjustTheRectangleByTheBordersDrawn)
{
    CTestCanvas canvas(20, 20);
    RECT rc { 0, 0, 20, 20 };
    DrawEdge(canvas.Dc(), &rc, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    EXPECT_EQ(rc.left, 2);
    EXPECT_EQ(rc.bottom, 18);
    EXPECT_EQ(canvas.At(0, 5), RGB(128, 128, 128)); // sunken: shadow at the top left
    EXPECT_EQ(canvas.At(19, 5), RGB(255, 255, 255));
    RECT top { 0, 0, 20, 20 };
    DrawEdge(canvas.Dc(), &top, EDGE_ETCHED, BF_TOP | BF_ADJUST);
    EXPECT_EQ(top.top, 2);
    EXPECT_EQ(top.left, 0);
}

TEST(DrawingTest, CloseButtonCrossesItsMiddleAndLeavesItsCornersToTheFace)
{
    CTestCanvas canvas(16, 14);
    RECT rc { 0, 0, 16, 14 };
    ASSERT_TRUE(DrawFrameControl(canvas.Dc(), &rc, DFC_CAPTION, DFCS_CAPTIONCLOSE));
    EXPECT_EQ(canvas.At(8, 7), BLACK) << "the strokes cross in the middle";
    EXPECT_EQ(canvas.At(3, 3), RGB(192, 192, 192)) << "the face shows between the arms";
    EXPECT_EQ(canvas.At(8, 3), RGB(192, 192, 192));
    EXPECT_EQ(canvas.At(15, 7), RGB(0, 0, 0)) << "a raised button's dark edge";
}

TEST(DrawingTest, SetPixelReportsTheColourSetAndGetPixelRefusesOutside)
{
    CTestCanvas canvas(4, 4);
    EXPECT_EQ(SetPixel(canvas.Dc(), 1, 1, PALETTERGB(10, 20, 30)), RGB(10, 20, 30));
    EXPECT_EQ(GetPixel(canvas.Dc(), 1, 1), RGB(10, 20, 30));
    EXPECT_EQ(SetPixel(canvas.Dc(), 4, 1, BLACK), CLR_INVALID);
    EXPECT_EQ(GetPixel(canvas.Dc(), -1, 0), CLR_INVALID);
    SetPixel(canvas.Dc(), 2, 2, PALETTEINDEX(13));
    EXPECT_EQ(GetPixel(canvas.Dc(), 2, 2), RGB(255, 0, 0));
}

TEST(DrawingTest, HugeCoordinatesCostOnlyWhatIsVisible)
{
    // Each call would cover about 10^17 pixels if it walked the whole shape.
    constexpr int FAR = 500000000;
    CTestCanvas canvas(20, 20);
    HDC hdc = canvas.Dc();
    SelectObject(hdc, GetStockObject(BLACK_BRUSH));
    Rectangle(hdc, -FAR, -FAR, FAR, FAR);
    Ellipse(hdc, -FAR, -FAR, FAR, FAR);
    RoundRect(hdc, -FAR, -FAR, FAR, FAR, FAR, FAR);
    POINT triangle[] = { { -FAR, -FAR }, { FAR, -FAR }, { 0, FAR } };
    Polygon(hdc, triangle, 3);
    RECT huge { -FAR, -FAR, FAR, FAR };
    InvertRect(hdc, &huge);
    DrawFocusRect(hdc, &huge);
    DrawFrameControl(hdc, &huge, DFC_SCROLL, DFCS_SCROLLUP);
    DrawFrameControl(hdc, &huge, DFC_BUTTON, DFCS_BUTTONRADIO);
    DrawFrameControl(hdc, &huge, DFC_CAPTION, DFCS_CAPTIONCLOSE);
    PatBlt(hdc, -FAR, -FAR, 2 * FAR, 2 * FAR, WHITENESS);
    ExtTextOut(hdc, 0, 0, ETO_OPAQUE, &huge, "", 0, nullptr);
    PatBlt(hdc, 0, 0, 20, 20, WHITENESS);
    HPEN hDotted = CreatePen(PS_DOT, 1, BLACK);
    HGDIOBJ hOld = SelectObject(hdc, hDotted);
    MoveToEx(hdc, -FAR, 5, nullptr);
    LineTo(hdc, FAR, 5);
    SelectObject(hdc, hOld);
    DeleteObject(hDotted);
    // The dots keep their phase however far away the line starts: 3 on, 3 off.
    size_t nDots = 0;
    for (int x = 0; x < 20; ++x)
        nDots += canvas.At(x, 5) == BLACK ? 1 : 0;
    EXPECT_GE(nDots, 9u);
    EXPECT_LE(nDots, 11u);
}
