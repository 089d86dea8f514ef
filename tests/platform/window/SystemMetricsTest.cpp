#include "platform/window/SystemMetrics.h"

#include "platform/base/WinError.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Text.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(SystemMetricsTest, TheWorkAreaLiesOnTheScreen)
{
    RECT rc {};
    ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &rc, 0));
    EXPECT_GE(rc.left, 0);
    EXPECT_GE(rc.top, 0);
    EXPECT_LE(rc.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_LE(rc.bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_GT(rc.right - rc.left, 0);
}

TEST(SystemMetricsTest, NonClientFontsMakeRealFonts)
{
    NONCLIENTMETRICS ncm {};
    ncm.cbSize = sizeof(ncm);
    ASSERT_TRUE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, 0, &ncm, 0));
    EXPECT_EQ(ncm.iScrollWidth, GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_NE(ncm.lfMenuFont.lfHeight, 0);
    EXPECT_GT(ncm.lfCaptionFont.lfWeight, ncm.lfMenuFont.lfWeight);
    HFONT hFont = CreateFontIndirect(&ncm.lfMenuFont);
    EXPECT_NE(hFont, nullptr);
    DeleteObject(hFont);
}

TEST(SystemMetricsTest, AnOlderStructureSizeIsFilledNoFurther)
{
    NONCLIENTMETRICS ncm {};
    std::memset(&ncm, 0x5A, sizeof(ncm));
    ncm.cbSize = sizeof(ncm) - sizeof(int);
    ASSERT_TRUE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, 0, &ncm, 0));
    EXPECT_EQ(ncm.iPaddedBorderWidth, 0x5A5A5A5A);
}

TEST(SystemMetricsTest, BadRequestsAreRefused)
{
    NONCLIENTMETRICS ncm {};
    ncm.cbSize = 12;
    EXPECT_FALSE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, 0, &ncm, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    RECT rc {};
    EXPECT_FALSE(SystemParametersInfo(0x7777, 0, &rc, 0));
    EXPECT_FALSE(SystemParametersInfo(SPI_GETWORKAREA, 0, nullptr, 0));
}

}
