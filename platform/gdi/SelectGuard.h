#pragma once

// A guard for SelectObject: what it selects stays selected for the guard's
// lifetime, then the object that was selected before is put back.

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"

class CSelectGuard {
public:
    CSelectGuard(HDC hDC, HGDIOBJ hObject)
        : m_hDC(hDC)
        , m_hOld(SelectObject(hDC, hObject))
    {
    }
    // Selects the stock object `nStockIndex`.
    CSelectGuard(HDC hDC, int nStockIndex)
        : CSelectGuard(hDC, GetStockObject(nStockIndex))
    {
    }
    ~CSelectGuard()
    {
        if (m_hOld)
            SelectObject(m_hDC, m_hOld);
    }
    CSelectGuard(const CSelectGuard&) = delete;
    CSelectGuard& operator=(const CSelectGuard&) = delete;

    // FALSE when the object could not be selected; nothing is put back then.
    bool Selected() const { return m_hOld != nullptr; }

private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};
