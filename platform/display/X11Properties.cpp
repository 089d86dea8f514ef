#include "platform/display/X11Properties.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <cstdlib>

CX11Property MakeX11Property(std::span<const uint8_t> raw)
{
    CX11Property property;
    if (raw.size() < 5)
        return property;
    int nFormat = raw[0] % 3 == 0 ? 8 : raw[0] % 3 == 1 ? 16 : 32;
    property.nFormat = nFormat;
    property.nType = raw[1] | (raw[2] << 8) | (raw[3] << 16) | (static_cast<unsigned long>(raw[4]) << 24);
    std::span<const uint8_t> items = raw.subspan(5);
    if (nFormat == 8) {
        property.bytes.assign(items.begin(), items.end());
    } else if (nFormat == 16) {
        for (size_t i = 0; i + 2 <= items.size(); i += 2)
            property.shorts.push_back(static_cast<uint16_t>(items[i] | (items[i + 1] << 8)));
    } else {
        for (size_t i = 0; i + 4 <= items.size(); i += 4)
            property.longs.push_back(
                items[i] | (items[i + 1] << 8) | (items[i + 2] << 16) | (static_cast<uint32_t>(items[i + 3]) << 24));
    }
    return property;
}

std::vector<uint32_t> X11Longs(const CX11Property& property, unsigned long nType)
{
    if (property.nType != nType || property.nFormat != 32)
        return {};
    return property.longs;
}

std::optional<uint32_t> X11Long(const CX11Property& property, unsigned long nType)
{
    std::vector<uint32_t> longs = X11Longs(property, nType);
    if (longs.empty())
        return std::nullopt;
    return longs.front();
}

std::optional<RECT> DecodeWorkArea(const CX11Property& property, uint32_t nDesktop)
{
    std::vector<uint32_t> longs = X11Longs(property, XA_CARDINAL);
    size_t nFirst = static_cast<size_t>(nDesktop) * 4;
    if (longs.size() < 4 || nFirst > longs.size() - 4)
        return std::nullopt;
    // Coordinates are signed on the wire; sizes beyond any screen are nonsense.
    constexpr int64_t LIMIT = 1 << 20;
    auto x = static_cast<int32_t>(longs[nFirst]);
    auto y = static_cast<int32_t>(longs[nFirst + 1]);
    int64_t cx = longs[nFirst + 2];
    int64_t cy = longs[nFirst + 3];
    if (cx <= 0 || cy <= 0 || cx > LIMIT || cy > LIMIT || std::abs(int64_t { x }) > LIMIT
        || std::abs(int64_t { y }) > LIMIT)
        return std::nullopt;
    return RECT { x, y, static_cast<LONG>(x + cx), static_cast<LONG>(y + cy) };
}

std::optional<CXEmbedInfo> DecodeXEmbedInfo(const CX11Property& property)
{
    // The type is _XEMBED_INFO by convention, but clients differ; the layout is what counts.
    if (property.nFormat != 32 || property.longs.size() < 2)
        return std::nullopt;
    return CXEmbedInfo { property.longs[0], property.longs[1] };
}

std::optional<uint32_t> DecodeWmState(const CX11Property& property, unsigned long nWmStateAtom)
{
    return X11Long(property, nWmStateAtom);
}

std::optional<int> DecodeTrayIconSize(const CX11Property& property)
{
    std::optional<uint32_t> nSize = X11Long(property, XA_CARDINAL);
    if (!nSize || *nSize < 1 || *nSize > 256)
        return std::nullopt;
    return static_cast<int>(*nSize);
}
