#include "platform/gdi/GdiObjects.h"

#include "platform/gdi/DeviceContext.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

HPALETTE MakePalette(const std::vector<COLORREF>& colours)
{
    std::vector<BYTE> buffer(sizeof(LOGPALETTE) + colours.size() * sizeof(PALETTEENTRY));
    auto* pLog = reinterpret_cast<LOGPALETTE*>(buffer.data());
    pLog->palVersion = 0x300;
    pLog->palNumEntries = static_cast<WORD>(colours.size());
    for (size_t n = 0; n < colours.size(); ++n)
        pLog->palPalEntry[n] = PALETTEENTRY { GetRValue(colours[n]), GetGValue(colours[n]), GetBValue(colours[n]), 0 };
    return CreatePalette(pLog);
}

}

TEST(PalettesTest, NearestIndexPicksTheClosestEntry)
{
    HPALETTE hPalette = MakePalette({ RGB(0, 0, 0), RGB(255, 0, 0), RGB(0, 0, 255), RGB(255, 0, 0) });
    ASSERT_NE(hPalette, nullptr);
    EXPECT_EQ(GetNearestPaletteIndex(hPalette, RGB(200, 30, 10)), 1u); // the first of two equals
    EXPECT_EQ(GetNearestPaletteIndex(hPalette, RGB(10, 10, 200)), 2u);
    EXPECT_EQ(GetNearestPaletteIndex(hPalette, RGB(20, 20, 20)), 0u);
    DeleteObject(hPalette);
    EXPECT_EQ(GetNearestPaletteIndex(hPalette, RGB(0, 0, 0)), CLR_INVALID);
}

TEST(PalettesTest, SelectingAndRealizingOnTrueColourMapsNothing)
{
    HPALETTE hPalette = MakePalette({ RGB(1, 2, 3) });
    HDC hdc = CreateCompatibleDC(nullptr);
    HPALETTE hOld = SelectPalette(hdc, hPalette, FALSE);
    EXPECT_EQ(hOld, GetStockObject(DEFAULT_PALETTE));
    EXPECT_EQ(RealizePalette(hdc), 0u);
    EXPECT_EQ(SelectPalette(hdc, hOld, FALSE), hPalette);
    DeleteDC(hdc);
    EXPECT_TRUE(DeleteObject(hPalette));
}
