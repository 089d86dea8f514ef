#include "platform/gdi/SysColors.h"

#include "platform/gdi/GdiInternal.h"

#include <array>

namespace {

constexpr COLORREF NO_COLOUR = CLR_INVALID; // an index with no element

// clang-format off
constexpr std::array<COLORREF, 31> SYSTEM_COLOURS {
    RGB(192, 192, 192), RGB(0, 128, 128),   RGB(0, 0, 128),     RGB(128, 128, 128), // 0-3
    RGB(192, 192, 192), RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),       // 4-7
    RGB(0, 0, 0),       RGB(255, 255, 255), RGB(192, 192, 192), RGB(192, 192, 192), // 8-11
    RGB(128, 128, 128), RGB(0, 0, 128),     RGB(255, 255, 255), RGB(192, 192, 192), // 12-15
    RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(192, 192, 192), // 16-19
    RGB(255, 255, 255), RGB(0, 0, 0),       RGB(223, 223, 223), RGB(0, 0, 0),       // 20-23
    RGB(255, 255, 225), NO_COLOUR,          RGB(0, 0, 255),     RGB(16, 132, 208),  // 24-27
    RGB(181, 181, 181), RGB(0, 0, 128),     RGB(192, 192, 192),                     // 28-30
};
// clang-format on

bool IsSysColorIndex(int nIndex)
{
    return nIndex >= 0 && nIndex < static_cast<int>(SYSTEM_COLOURS.size()) && SYSTEM_COLOURS[nIndex] != NO_COLOUR;
}

}

DWORD GetSysColor(int nIndex)
{
    return IsSysColorIndex(nIndex) ? SYSTEM_COLOURS[nIndex] : 0;
}

HBRUSH GetSysColorBrush(int nIndex)
{
    if (!IsSysColorIndex(nIndex))
        return nullptr;
    auto lock = GdiLock();
    static std::array<HGDIOBJ, SYSTEM_COLOURS.size()> brushes {};
    if (!brushes[nIndex]) {
        auto pBrush = std::make_shared<CGdiBrush>();
        pBrush->m_log = LOGBRUSH { BS_SOLID, SYSTEM_COLOURS[nIndex], 0 };
        pBrush->m_bStock = true;
        brushes[nIndex] = AddGdiObject(pBrush);
    }
    return static_cast<HBRUSH>(brushes[nIndex]);
}
