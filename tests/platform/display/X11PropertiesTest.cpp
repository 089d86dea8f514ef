#include "platform/display/X11Properties.h"

#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

CX11Property Longs(unsigned long nType, std::vector<uint32_t> longs)
{
    CX11Property property;
    property.nType = nType;
    property.nFormat = 32;
    property.longs = std::move(longs);
    return property;
}

}

TEST(X11PropertiesTest, AWorkAreaIsTakenForItsDesktopOnly)
{
    CX11Property workArea = Longs(XA_CARDINAL, { 0, 30, 1280, 994, 10, 0, 1270, 1024 });
    std::optional<RECT> rc = DecodeWorkArea(workArea, 1);
    ASSERT_TRUE(rc);
    EXPECT_EQ(rc->left, 10);
    EXPECT_EQ(rc->right, 1280);
    EXPECT_FALSE(DecodeWorkArea(workArea, 2));
    EXPECT_FALSE(DecodeWorkArea(workArea, 0x40000000)); // an index whose offset would wrap
}

TEST(X11PropertiesTest, WrongTypeFormatLengthOrSizeGivesNothing)
{
    EXPECT_FALSE(DecodeWorkArea(Longs(XA_ATOM, { 0, 0, 100, 100 }), 0));
    EXPECT_FALSE(DecodeWorkArea(Longs(XA_CARDINAL, { 0, 0, 100 }), 0));
    EXPECT_FALSE(DecodeWorkArea(Longs(XA_CARDINAL, { 0, 0, 0, 100 }), 0));
    EXPECT_FALSE(DecodeWorkArea(Longs(XA_CARDINAL, { 0, 0, 0xFFFFFFFF, 100 }), 0));
    CX11Property bytes;
    bytes.nType = XA_CARDINAL;
    bytes.nFormat = 8;
    bytes.bytes = { 1, 2, 3, 4 };
    EXPECT_FALSE(DecodeWorkArea(bytes, 0));
    EXPECT_FALSE(X11Long(bytes, XA_CARDINAL));
    EXPECT_FALSE(DecodeXEmbedInfo(Longs(XA_CARDINAL, { 0 })));
    EXPECT_FALSE(DecodeTrayIconSize(Longs(XA_CARDINAL, { 100000 })));
    EXPECT_FALSE(DecodeTrayIconSize(Longs(XA_CARDINAL, {})));
}

TEST(X11PropertiesTest, RawBytesMakeValuesOfEachFormat)
{
    // Format 32, type CARDINAL (6), two items.
    const uint8_t raw32[] = { 2, 6, 0, 0, 0, 16, 0, 0, 0, 1, 0, 0, 0, 0xFF };
    CX11Property property = MakeX11Property(raw32);
    EXPECT_EQ(property.nFormat, 32);
    EXPECT_EQ(property.nType, static_cast<unsigned long>(XA_CARDINAL));
    EXPECT_EQ(property.longs, (std::vector<uint32_t> { 16, 1 })); // the odd last byte is no item
    EXPECT_EQ(DecodeTrayIconSize(property), 16);
    const uint8_t raw8[] = { 0, 31, 0, 0, 0, 'a', 'b' };
    EXPECT_EQ(MakeX11Property(raw8).bytes.size(), 2u);
    EXPECT_EQ(MakeX11Property(std::span<const uint8_t>()).nType, 0u);
}
