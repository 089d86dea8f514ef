#pragma once

// Shortens texts of the web pages to a width in pixels, measured in the font
// "MS Sans Serif" of height 12 on a memory device context. The drawing
// layer's font mapping gives the same widths on every machine.

#include "platform/gdi/GdiTypes.h"

#include "platform/base/CString.h"

class CTextCutter {
public:
    CTextCutter();
    ~CTextCutter();
    CTextCutter(const CTextCutter&) = delete;
    CTextCutter& operator=(const CTextCutter&) = delete;

    // pszText when it fits nWidth pixels; otherwise its longest head (whole
    // characters) that still fits with "..." after it, followed by "...".
    CString Cut(LPCTSTR pszText, int nWidth) const;

private:
    int Measure(LPCTSTR pszText, int nLength) const;
    // The width of the widest printable ASCII character.
    int MaxAsciiAdvance() const;

    HDC m_hdc { nullptr };
    HFONT m_hFont { nullptr };
    HGDIOBJ m_hOldFont { nullptr };
};
