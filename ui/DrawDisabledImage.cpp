#include "ui/DrawDisabledImage.h"

#include "platform/framework/CDC.h"

namespace {

// The brush where the source is black, the destination where it is white.
constexpr DWORD ROP_BRUSH_WHERE_SOURCE_BLACK = 0x00E20746;

} // namespace

void DrawDisabledImage(CDC* pDC, const RECT& rect, COLORREF crBackground, COLORREF crHighlight, COLORREF crShadow)
{
    const int cx = rect.right - rect.left;
    const int cy = rect.bottom - rect.top;
    if (cx <= 0 || cy <= 0)
        return;
    CDC maskDC;
    CBitmap mask;
    if (!maskDC.CreateCompatibleDC(pDC) || !mask.CreateBitmap(cx, cy, 1, 1, nullptr))
        return;
    CBitmap* pOldMask = maskDC.SelectObject(&mask);
    maskDC.PatBlt(0, 0, cx, cy, WHITENESS);

    // The mask: white where the picture shows the background or the highlight colour, black elsewhere.
    const COLORREF crOldBk = pDC->SetBkColor(crBackground);
    maskDC.BitBlt(0, 0, cx, cy, pDC, rect.left, rect.top, SRCCOPY);
    pDC->SetBkColor(crHighlight);
    maskDC.BitBlt(0, 0, cx, cy, pDC, rect.left, rect.top, SRCPAINT);

    pDC->FillSolidRect(&rect, crBackground);
    pDC->SetBkColor(RGB(0, 0, 0));
    const COLORREF crOldText = pDC->SetTextColor(RGB(255, 255, 255));
    CBrush highlight(crHighlight);
    CBrush shadow(crShadow);
    CBrush* pOldBrush = pDC->SelectObject(&highlight);
    pDC->BitBlt(rect.left + 1, rect.top + 1, cx, cy, &maskDC, 0, 0, ROP_BRUSH_WHERE_SOURCE_BLACK);
    pDC->SelectObject(&shadow);
    pDC->BitBlt(rect.left, rect.top, cx, cy, &maskDC, 0, 0, ROP_BRUSH_WHERE_SOURCE_BLACK);
    pDC->SelectObject(pOldBrush);
    pDC->SetTextColor(crOldText);
    pDC->SetBkColor(crOldBk);
    maskDC.SelectObject(pOldMask);
}
