#include "platform/framework/CGdiObject.h"

#include "platform/framework/CDC.h"
#include "platform/framework/CResourceException.h"
#include "platform/gdi/GdiObjects.h"

#include <gtest/gtest.h>

namespace {

class CGdiObjectTest : public ::testing::Test {
protected:
    void TearDown() override { CGdiObject::DeleteTempMap(); }
};

}

/* Ownership and the handle map. */

TEST_F(CGdiObjectTest, ObjectsDeleteTheirHandleUnlessDetached)
{
    HGDIOBJ hKept = nullptr;
    HGDIOBJ hDeleted = nullptr;
    {
        CBrush kept(RGB(1, 2, 3));
        CBrush deleted(RGB(4, 5, 6));
        hKept = kept.GetSafeHandle();
        hDeleted = deleted.GetSafeHandle();
        EXPECT_EQ(CGdiObject::FromHandle(hKept), &kept);
        EXPECT_EQ(kept.Detach(), hKept);
    }
    EXPECT_EQ(GetObjectType(hKept), OBJ_BRUSH);
    EXPECT_EQ(GetObjectType(hDeleted), 0u);
    DeleteObject(hKept);
}

TEST_F(CGdiObjectTest, TemporariesHaveTheHandlesClassAndNeverDeleteIt)
{
    HPEN hPen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    HFONT hFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    CGdiObject* pPen = CGdiObject::FromHandle(hPen);
    ASSERT_NE(pPen, nullptr);
    EXPECT_TRUE(pPen->IsKindOf(RUNTIME_CLASS(CPen)));
    EXPECT_TRUE(CFont::FromHandle(hFont)->IsKindOf(RUNTIME_CLASS(CFont)));
    EXPECT_EQ(CPen::FromHandle(hPen), pPen);
    EXPECT_EQ(CGdiObject::FromHandle(nullptr), nullptr);
    CGdiObject::DeleteTempMap();
    EXPECT_EQ(GetObjectType(hPen), OBJ_PEN);
    EXPECT_TRUE(DeleteObject(hPen));
}

TEST_F(CGdiObjectTest, AttachRefusesASecondHandle)
{
    CPen pen;
    ASSERT_TRUE(pen.CreatePen(PS_DASH, 1, RGB(9, 9, 9)));
    EXPECT_FALSE(pen.CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
    LOGPEN logPen {};
    ASSERT_EQ(pen.GetLogPen(&logPen), static_cast<int>(sizeof(LOGPEN)));
    EXPECT_EQ(logPen.lopnStyle, PS_DASH);
    EXPECT_TRUE(pen.DeleteObject());
    EXPECT_FALSE(pen.DeleteObject());
    EXPECT_TRUE(pen.CreateStockObject(WHITE_PEN));
    EXPECT_TRUE(pen.DeleteObject()); // stock objects survive it
    EXPECT_EQ(GetObjectType(GetStockObject(WHITE_PEN)), OBJ_PEN);
}

TEST_F(CGdiObjectTest, ConstructorsThatCannotMakeTheirObjectThrow)
{
    try {
        CBrush brush(99, RGB(0, 0, 0));
        ADD_FAILURE() << "no exception";
    } catch (CResourceException* pException) {
        pException->Delete();
    }
    try {
        CBrush brush(nullptr);
        ADD_FAILURE() << "no exception";
    } catch (CResourceException* pException) {
        TCHAR szMessage[64] {};
        EXPECT_TRUE(pException->GetErrorMessage(szMessage, sizeof(szMessage)));
        pException->Delete();
    }
}

/* The kinds. */

TEST_F(CGdiObjectTest, PointFontsConvertTenthsOfAPointToPixels)
{
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(90, "MS Sans Serif"));
    LOGFONT logFont {};
    ASSERT_GT(font.GetLogFont(&logFont), 0);
    EXPECT_EQ(logFont.lfHeight, -12); // 9 points at 96 pixels per inch
    EXPECT_STREQ(logFont.lfFaceName, "MS Sans Serif");
    CFont big;
    ASSERT_TRUE(big.CreatePointFont(240, "Arial"));
    big.GetLogFont(&logFont);
    EXPECT_EQ(logFont.lfHeight, -32);
}

TEST_F(CGdiObjectTest, BitmapsAreCompatibleWithTheirDC)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CBitmap mono;
    ASSERT_TRUE(mono.CreateCompatibleBitmap(&dc, 8, 4)); // a fresh memory DC holds a monochrome bitmap
    BITMAP bm {};
    ASSERT_GT(mono.GetBitmap(&bm), 0);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    EXPECT_EQ(bm.bmWidth, 8);
    CBitmap colour;
    ASSERT_TRUE(colour.CreateBitmap(2, 2, 1, 32, nullptr));
    CSelectGuard guard(dc, colour);
    CBitmap compatible;
    ASSERT_TRUE(compatible.CreateCompatibleBitmap(&dc, 2, 2));
    compatible.GetBitmap(&bm);
    EXPECT_EQ(bm.bmBitsPixel, 32);
    CBitmap missing;
    EXPECT_FALSE(missing.LoadBitmap(12345));
    EXPECT_EQ(missing.GetSafeHandle(), nullptr);
}

TEST_F(CGdiObjectTest, RegionsCombineAndAnswerHitTests)
{
    CRgn left;
    CRgn right;
    CRgn both;
    ASSERT_TRUE(left.CreateRectRgn(0, 0, 10, 10));
    ASSERT_TRUE(right.CreateRectRgn(5, 0, 20, 10));
    ASSERT_TRUE(both.CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(both.CombineRgn(&left, &right, RGN_AND), SIMPLEREGION);
    RECT rc {};
    both.GetRgnBox(&rc);
    EXPECT_EQ(rc.left, 5);
    EXPECT_EQ(rc.right, 10);
    EXPECT_TRUE(both.PtInRegion(7, 5));
    EXPECT_FALSE(both.PtInRegion(2, 5));
    EXPECT_EQ(both.CopyRgn(&left), SIMPLEREGION);
    EXPECT_TRUE(both.EqualRgn(&left));
}

TEST_F(CGdiObjectTest, PalettesAnswerThroughTheirObject)
{
    BYTE buffer[sizeof(LOGPALETTE) + sizeof(PALETTEENTRY)] {};
    auto* pLog = reinterpret_cast<LOGPALETTE*>(buffer);
    pLog->palVersion = 0x300;
    pLog->palNumEntries = 2;
    pLog->palPalEntry[0] = PALETTEENTRY { 0, 0, 0, 0 };
    reinterpret_cast<PALETTEENTRY*>(pLog->palPalEntry)[1] = PALETTEENTRY { 255, 255, 255, 0 };
    CPalette palette;
    ASSERT_TRUE(palette.CreatePalette(pLog));
    EXPECT_EQ(palette.GetEntryCount(), 2);
    EXPECT_EQ(palette.GetNearestPaletteIndex(RGB(200, 220, 240)), 1u);
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CPalette* pOld = dc.SelectPalette(&palette, FALSE);
    ASSERT_NE(pOld, nullptr);
    EXPECT_EQ(dc.RealizePalette(), 0u);
    EXPECT_EQ(dc.SelectPalette(pOld, FALSE), &palette);
}
