#include "platform/framework/CDC.h"

#include "platform/framework/CResourceException.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/Blt.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/Text.h"
#include "tests/platform/framework/FrameworkTestSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF RED = RGB(255, 0, 0);
constexpr COLORREF BLUE = RGB(0, 0, 255);
constexpr COLORREF WHITE = RGB(255, 255, 255);

// A memory DC over a white 16x16 colour bitmap.
class CDCTest : public FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        ASSERT_TRUE(m_dc.CreateCompatibleDC(nullptr));
        ASSERT_TRUE(m_bitmap.CreateBitmap(16, 16, 1, 32, nullptr));
        m_pOldBitmap = m_dc.SelectObject(&m_bitmap);
        ASSERT_NE(m_pOldBitmap, nullptr);
        m_dc.PatBlt(0, 0, 16, 16, WHITENESS);
    }
    void TearDown() override
    {
        m_dc.SelectObject(m_pOldBitmap);
        CDC::DeleteTempMap();
        CGdiObject::DeleteTempMap();
    }

    CDC m_dc;
    CBitmap m_bitmap;
    CBitmap* m_pOldBitmap { nullptr };
};

// A window that paints itself in one colour through a CPaintDC and records what it was given.
class CRedWnd : public CWnd {
    DECLARE_MESSAGE_MAP()

public:
    COLORREF m_crPaint { RED };
    int m_nPaints { 0 };
    RECT m_rcPaint {};

protected:
    void OnPaint()
    {
        CPaintDC dc(this);
        ++m_nPaints;
        m_rcPaint = dc.m_ps.rcPaint;
        RECT rc {};
        GetClientRect(&rc);
        dc.FillSolidRect(&rc, m_crPaint);
    }
};

// clang-format off
BEGIN_MESSAGE_MAP(CRedWnd, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()
// clang-format on

}

/* Selection and its guards. */

TEST_F(CDCTest, SelectObjectReturnsThePreviousObjectOfItsKind)
{
    CPen pen(PS_SOLID, 1, RED);
    CPen* pOldPen = m_dc.SelectObject(&pen);
    ASSERT_NE(pOldPen, nullptr);
    EXPECT_TRUE(pOldPen->IsKindOf(RUNTIME_CLASS(CPen)));
    EXPECT_EQ(pOldPen->GetSafeHandle(), GetStockObject(BLACK_PEN));
    EXPECT_EQ(m_dc.GetCurrentPen(), &pen);
    EXPECT_EQ(m_dc.SelectObject(pOldPen), &pen);

    CGdiObject* pOldBrush = m_dc.SelectStockObject(GRAY_BRUSH);
    ASSERT_NE(pOldBrush, nullptr);
    EXPECT_TRUE(pOldBrush->IsKindOf(RUNTIME_CLASS(CBrush)));
    EXPECT_EQ(m_dc.SelectObject(static_cast<CBrush*>(pOldBrush))->GetSafeHandle(), GetStockObject(GRAY_BRUSH));
    EXPECT_EQ(m_dc.SelectStockObject(99), nullptr);
}

TEST_F(CDCTest, SelectGuardPutsBackWhatWasSelected)
{
    HGDIOBJ hOriginalPen = GetCurrentObject(m_dc, OBJ_PEN);
    HGDIOBJ hOriginalFont = GetCurrentObject(m_dc, OBJ_FONT);
    CPen pen(PS_SOLID, 3, BLUE);
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(120, "Arial"));
    {
        CSelectGuard penGuard(m_dc, pen);
        CSelectGuard fontGuard(m_dc, font);
        EXPECT_TRUE(penGuard.Selected());
        EXPECT_EQ(GetCurrentObject(m_dc, OBJ_PEN), pen.GetSafeHandle());
        {
            CSelectGuard nullPen(m_dc, NULL_PEN);
            EXPECT_EQ(GetCurrentObject(m_dc, OBJ_PEN), GetStockObject(NULL_PEN));
        }
        EXPECT_EQ(GetCurrentObject(m_dc, OBJ_PEN), pen.GetSafeHandle());
        // While selected, the objects cannot be deleted out from under the DC.
        EXPECT_FALSE(pen.DeleteObject());
        EXPECT_NE(pen.GetSafeHandle(), nullptr);
    }
    EXPECT_EQ(GetCurrentObject(m_dc, OBJ_PEN), hOriginalPen);
    EXPECT_EQ(GetCurrentObject(m_dc, OBJ_FONT), hOriginalFont);
    EXPECT_TRUE(pen.DeleteObject());

    // A bitmap selected elsewhere is refused, and the guard then puts nothing back.
    CDC other;
    ASSERT_TRUE(other.CreateCompatibleDC(nullptr));
    CSelectGuard refused(other, m_bitmap);
    EXPECT_FALSE(refused.Selected());
}

TEST_F(CDCTest, SaveDCGuardRestoresColoursAndObjects)
{
    CBrush brush(RED);
    {
        CSaveDCGuard guard(m_dc);
        m_dc.SelectObject(&brush);
        m_dc.SetTextColor(BLUE);
        m_dc.SetViewportOrg(3, 4);
    }
    EXPECT_EQ(m_dc.GetTextColor(), RGB(0, 0, 0));
    EXPECT_EQ(m_dc.GetViewportOrg().x, 0);
    EXPECT_EQ(GetCurrentObject(m_dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
}

/* Contexts and their owners. */

TEST_F(CDCTest, OnlyContextsTheObjectMadeAreDeletedWithIt)
{
    HDC hMade = nullptr;
    {
        CDC dc;
        ASSERT_TRUE(dc.CreateCompatibleDC(&m_dc));
        hMade = dc;
        EXPECT_EQ(CDC::FromHandle(hMade), &dc);
    }
    EXPECT_EQ(GetObjectType(hMade), 0u);

    HDC hForeign = CreateCompatibleDC(nullptr);
    {
        CDC dc;
        ASSERT_TRUE(dc.Attach(hForeign));
        EXPECT_FALSE(dc.Attach(hForeign));
    }
    EXPECT_NE(GetObjectType(hForeign), 0u);
    CDC* pTemporary = CDC::FromHandle(hForeign);
    ASSERT_NE(pTemporary, nullptr);
    CDC::DeleteTempMap();
    EXPECT_NE(GetObjectType(hForeign), 0u);
    DeleteDC(hForeign);
}

/* Drawing through the wrappers. */

TEST_F(CDCTest, SolidAnd3dRectanglesPaintTheirPixels)
{
    m_dc.FillSolidRect(2, 2, 4, 4, RED);
    EXPECT_EQ(m_dc.GetPixel(2, 2), RED);
    EXPECT_EQ(m_dc.GetPixel(5, 5), RED);
    EXPECT_EQ(m_dc.GetPixel(6, 6), WHITE);
    EXPECT_EQ(m_dc.GetBkColor(), RED);

    RECT rc { 8, 8, 12, 12 };
    m_dc.Draw3dRect(&rc, BLUE, RED);
    EXPECT_EQ(m_dc.GetPixel(8, 8), BLUE);
    EXPECT_EQ(m_dc.GetPixel(8, 10), BLUE);
    EXPECT_EQ(m_dc.GetPixel(11, 8), RED);
    EXPECT_EQ(m_dc.GetPixel(11, 11), RED);
    EXPECT_EQ(m_dc.GetPixel(9, 9), WHITE);
}

TEST_F(CDCTest, TextWithCStringsMeasuresAndDrawsLikeTheDrawingLayer)
{
    CString str("Hello");
    SIZE size = m_dc.GetTextExtent(str);
    SIZE expected {};
    ASSERT_TRUE(GetTextExtentPoint32(m_dc, "Hello", 5, &expected));
    EXPECT_GT(size.cx, 0);
    EXPECT_EQ(size.cx, expected.cx);
    EXPECT_EQ(size.cy, expected.cy);

    RECT rc { 0, 0, 0, 0 };
    int nHeight = m_dc.DrawText(str, &rc, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(nHeight, expected.cy);
    EXPECT_EQ(rc.right, expected.cx);

    CString strFace;
    EXPECT_GT(m_dc.GetTextFace(strFace), 0);
    EXPECT_FALSE(strFace.IsEmpty());
}

/* The DCs of windows. */

TEST_F(CDCTest, PaintDCInsideOnPaintValidatesTheArea)
{
    CRedWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 20, 10, nullptr, nullptr));
    // Start from a window with nothing left to paint, its first paint done.
    UpdateWindow(wnd.m_hWnd);
    ValidateRect(wnd.m_hWnd, nullptr);
    wnd.m_nPaints = 0;
    wnd.m_crPaint = BLUE;
    RECT rcPart { 2, 3, 6, 7 };
    InvalidateRect(wnd.m_hWnd, &rcPart, FALSE);
    UpdateWindow(wnd.m_hWnd);
    EXPECT_EQ(wnd.m_nPaints, 1);
    EXPECT_EQ(wnd.m_rcPaint.left, 2);
    EXPECT_EQ(wnd.m_rcPaint.bottom, 7);
    RECT rcUpdate {};
    EXPECT_FALSE(GetUpdateRect(wnd.m_hWnd, &rcUpdate, FALSE));

    // The paint DC drew only inside the invalid part.
    HBITMAP hImage = CaptureWindowImage(wnd.m_hWnd);
    ASSERT_NE(hImage, nullptr);
    CDC image;
    ASSERT_TRUE(image.CreateCompatibleDC(nullptr));
    HGDIOBJ hOld = image.SelectObject(static_cast<HGDIOBJ>(hImage));
    EXPECT_EQ(image.GetPixel(2, 3), BLUE);
    EXPECT_EQ(image.GetPixel(5, 6), BLUE);
    EXPECT_EQ(image.GetPixel(6, 7), RED);
    EXPECT_EQ(image.GetPixel(0, 0), RED);
    image.SelectObject(hOld);
    DeleteObject(hImage);
}

TEST_F(CDCTest, ClientDCDrawsIntoTheWindowAndIsReleased)
{
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 20, 10, nullptr, nullptr));
    UpdateWindow(wnd.m_hWnd);
    HDC hClient = nullptr;
    {
        CClientDC dc(&wnd);
        hClient = dc;
        dc.FillSolidRect(0, 0, 5, 5, BLUE);
    }
    EXPECT_EQ(GetObjectType(hClient), 0u);
    {
        CWindowDC dc(&wnd);
        EXPECT_EQ(dc.GetPixel(4, 4), BLUE);
    }
    CWnd destroyed;
    try {
        CPaintDC paint(&destroyed);
        ADD_FAILURE() << "no exception";
    } catch (CResourceException* pException) {
        pException->Delete();
    }
}

TEST_F(CDCTest, ShapedRegionsFrameAndClipThroughTheWrappers)
{
    CRgn ellipse;
    ASSERT_TRUE(ellipse.CreateEllipticRgn(2, 2, 14, 14));
    CBrush red;
    ASSERT_TRUE(red.CreateSolidBrush(RED));
    ASSERT_TRUE(m_dc.FrameRgn(&ellipse, &red, 1, 1));
    EXPECT_EQ(m_dc.GetPixel(2, 7), RED);
    EXPECT_EQ(m_dc.GetPixel(7, 7), WHITE);
    EXPECT_EQ(m_dc.GetPixel(2, 2), WHITE);

    constexpr POINT TRIANGLE[] = { { 0, 0 }, { 16, 0 }, { 0, 16 } };
    CRgn triangle;
    ASSERT_TRUE(triangle.CreatePolygonRgn(TRIANGLE, 3, ALTERNATE));
    EXPECT_EQ(m_dc.SelectClipRgn(&triangle), COMPLEXREGION);
    m_dc.FillSolidRect(0, 0, 16, 16, BLUE);
    m_dc.SelectClipRgn(nullptr);
    EXPECT_EQ(m_dc.GetPixel(1, 1), BLUE);
    EXPECT_EQ(m_dc.GetPixel(14, 14), WHITE);
    m_dc.UpdateColors(); // true colour: nothing to remap
    EXPECT_EQ(m_dc.GetPixel(1, 1), BLUE);
}
