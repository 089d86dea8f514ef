#include "webaccess/server/TextWidth.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Text.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace {

constexpr int FONT_HEIGHT = 12;
constexpr int FONT_WEIGHT = 400;

// Whether every byte is a printable ASCII character.
bool IsPrintableAscii(const char* pszText, int nLength)
{
    return std::all_of(pszText, pszText + nLength, [](char ch) { return ch >= 0x20 && ch <= 0x7E; });
}

} // namespace

CTextCutter::CTextCutter()
    : m_hdc(CreateCompatibleDC(nullptr))
    , m_hFont(CreateFont(FONT_HEIGHT, 0, 0, 0, FONT_WEIGHT, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0, "MS Sans Serif"))
{
    if (m_hdc != nullptr && m_hFont != nullptr)
        m_hOldFont = SelectObject(m_hdc, m_hFont);
}

CTextCutter::~CTextCutter()
{
    if (m_hdc != nullptr) {
        if (m_hOldFont != nullptr)
            SelectObject(m_hdc, m_hOldFont);
        DeleteDC(m_hdc);
    }
    if (m_hFont != nullptr)
        DeleteObject(m_hFont);
}

int CTextCutter::Measure(LPCTSTR pszText, int nLength) const
{
    SIZE size {};
    if (m_hdc == nullptr || !GetTextExtentPoint32(m_hdc, pszText, nLength, &size))
        return 0;
    return size.cx;
}

int CTextCutter::MaxAsciiAdvance() const
{
    // The font is the same for every cutter, so the first that can measure
    // keeps the answer for all; one that cannot keeps nothing.
    static std::atomic<int> s_nMaxAdvance { 0 };
    if (int nKnown = s_nMaxAdvance.load(std::memory_order_relaxed); nKnown > 0)
        return nKnown;
    int nMax = 0;
    for (char ch = 0x20; ch <= 0x7E; ++ch)
        nMax = std::max(nMax, Measure(&ch, 1));
    if (nMax > 0)
        s_nMaxAdvance.store(nMax, std::memory_order_relaxed);
    return nMax;
}

CString CTextCutter::Cut(LPCTSTR pszText, int nWidth) const
{
    const int nLength = static_cast<int>(std::strlen(pszText));
    // A short ASCII text fits without measuring it: each of its characters
    // is at most one pixel wider than the widest alone, kerning included.
    if (nLength == 0 || (IsPrintableAscii(pszText, nLength) && nLength * (MaxAsciiAdvance() + 1) <= nWidth)
        || Measure(pszText, nLength) <= nWidth)
        return pszText;
    return EndEllipsisLine(m_hdc, pszText, nWidth).c_str();
}
