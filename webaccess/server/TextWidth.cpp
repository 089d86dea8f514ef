#include "webaccess/server/TextWidth.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Text.h"

#include <cstring>

namespace {

constexpr int FONT_HEIGHT = 12;
constexpr int FONT_WEIGHT = 400;
constexpr char ELLIPSIS[] = "...";

// Whether the byte starts a character of UTF-8 text.
bool IsCharacterStart(char ch)
{
    return (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
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

CString CTextCutter::Cut(LPCTSTR pszText, int nWidth) const
{
    const int nLength = static_cast<int>(std::strlen(pszText));
    if (Measure(pszText, nLength) <= nWidth)
        return pszText;
    const int nEllipsis = Measure(ELLIPSIS, 3);
    int nKeep = nLength;
    while (nKeep > 0) {
        --nKeep;
        while (nKeep > 0 && !IsCharacterStart(pszText[nKeep]))
            --nKeep;
        if (Measure(pszText, nKeep) + nEllipsis <= nWidth)
            break;
    }
    return CString(pszText, nKeep) + ELLIPSIS;
}
