#pragma once

// An off-screen DC for flicker-free painting: drawing goes into a bitmap of
// the covered rectangle, which is copied to the target DC when the object
// goes out of scope. The caller draws with the target's own coordinates and
// mapping mode. The covered rectangle is the given one cut to the target's
// clip box: what is drawn outside it is lost. An empty rectangle makes no
// bitmap and copies nothing back.

#include "platform/framework/CDC.h"
#include "platform/framework/CRect.h"

class CMemoryDC : public CDC {
public:
    // Covers *pRect (logical coordinates of pTarget) and fills it with
    // crFill. With pBitmap the drawing goes into that bitmap (the caller's,
    // at least as large as the covered rectangle in device units), else into
    // a bitmap compatible with the target that this object owns.
    CMemoryDC(CDC* pTarget, const RECT* pRect, COLORREF crFill, CBitmap* pBitmap = nullptr);
    // Copies the covered rectangle to the target.
    ~CMemoryDC() override;
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;

    // The covered rectangle, in the target's logical coordinates.
    const CRect& GetRect() const { return m_rect; }

private:
    void Fill(COLORREF crFill);

    CBitmap m_bitmap; // made here when the caller gave none
    CDC* m_pTarget;
    CBitmap* m_pOldBitmap { nullptr }; // selected before ours; null when nothing was selected
    CRect m_rect;
};
