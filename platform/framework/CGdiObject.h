#pragma once

// The class library's drawing objects: CGdiObject around any drawing-layer
// handle, and one class per kind (pens, brushes, fonts, bitmaps, palettes,
// regions).
//
// Ownership: an object deletes the handle it holds when it is destroyed, so a
// handle belongs to the one object it is attached to. FromHandle gives the
// attached object, or a temporary one of the handle's kind that lives until
// the thread's idle time (HandleMap.h); temporaries never delete their handle.
// Stock objects may be attached and deleted freely: deleting one does nothing.
//
// The constructors that make an object throw CResourceException when it
// cannot be made; the Create... calls return FALSE instead.

#include "platform/base/CObject.h"
#include "platform/gdi/GdiTypes.h"

class CDC;

class CGdiObject : public CObject {
    DECLARE_DYNCREATE(CGdiObject)

public:
    CGdiObject() = default;
    ~CGdiObject() override;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    /* The handle map. */

    // The attached object of the handle, else a temporary one of its kind; nullptr for NULL.
    static CGdiObject* FromHandle(HGDIOBJ hObject);
    // Frees the calling thread's temporary objects.
    static void DeleteTempMap();

    /* The handle. */

    operator HGDIOBJ() const { return m_hObject; }
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    // Fails when the object already holds a handle or hObject is NULL.
    BOOL Attach(HGDIOBJ hObject);
    HGDIOBJ Detach();
    // Frees the handle and empties the object; FALSE when there is none or it is selected into a DC.
    BOOL DeleteObject();

    /* Describing. */

    int GetObject(int nCount, LPVOID lpObject) const;
    UINT GetObjectType() const;
    // Attaches the stock object `nIndex`.
    BOOL CreateStockObject(int nIndex);
    // Brush origins follow the device origin here, so there is nothing to reset.
    BOOL UnrealizeObject() { return m_hObject != nullptr; }

    HGDIOBJ m_hObject { nullptr };

protected:
    // Attaches a handle just made; FALSE (and no change) for NULL.
    BOOL AttachNew(HGDIOBJ hObject);
};

class CPen : public CGdiObject {
    DECLARE_DYNAMIC(CPen)

public:
    CPen() = default;
    CPen(int nPenStyle, int nWidth, COLORREF crColor);

    static CPen* FromHandle(HPEN hPen) { return static_cast<CPen*>(CGdiObject::FromHandle(hPen)); }
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }

    BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor);
    BOOL CreatePenIndirect(const LOGPEN* lpLogPen);
    int GetLogPen(LOGPEN* pLogPen) const { return GetObject(sizeof(LOGPEN), pLogPen); }
};

class CBitmap;

class CBrush : public CGdiObject {
    DECLARE_DYNAMIC(CBrush)

public:
    CBrush() = default;
    explicit CBrush(COLORREF crColor);
    CBrush(int nIndex, COLORREF crColor); // hatched
    explicit CBrush(CBitmap* pBitmap);

    static CBrush* FromHandle(HBRUSH hBrush) { return static_cast<CBrush*>(CGdiObject::FromHandle(hBrush)); }
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }

    BOOL CreateSolidBrush(COLORREF crColor);
    BOOL CreateHatchBrush(int nIndex, COLORREF crColor);
    BOOL CreatePatternBrush(CBitmap* pBitmap);
    BOOL CreateBrushIndirect(const LOGBRUSH* lpLogBrush);
    // A brush of the system colour COLOR_*, owned by this object.
    BOOL CreateSysColorBrush(int nIndex);
    int GetLogBrush(LOGBRUSH* pLogBrush) const { return GetObject(sizeof(LOGBRUSH), pLogBrush); }
};

class CFont : public CGdiObject {
    DECLARE_DYNAMIC(CFont)

public:
    static CFont* FromHandle(HFONT hFont) { return static_cast<CFont*>(CGdiObject::FromHandle(hFont)); }
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }

    BOOL CreateFontIndirect(const LOGFONT* lpLogFont);
    BOOL CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
        BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision, BYTE nQuality,
        BYTE nPitchAndFamily, LPCTSTR lpszFacename);
    // A font of `nPointSize` tenths of a point, converted to pixels for `pDC`
    // (the screen's 96 pixels per inch when NULL).
    BOOL CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC = nullptr);
    // Like CreatePointFont, with lfHeight in tenths of a point.
    BOOL CreatePointFontIndirect(const LOGFONT* lpLogFont, CDC* pDC = nullptr);
    int GetLogFont(LOGFONT* pLogFont) const { return GetObject(sizeof(LOGFONT), pLogFont); }
};

class CBitmap : public CGdiObject {
    DECLARE_DYNAMIC(CBitmap)

public:
    static CBitmap* FromHandle(HBITMAP hBitmap) { return static_cast<CBitmap*>(CGdiObject::FromHandle(hBitmap)); }
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }

    // The bitmap resource from the current resource module.
    BOOL LoadBitmap(LPCTSTR lpszResourceName);
    BOOL LoadBitmap(UINT nIDResource);
    BOOL CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits);
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
    int GetBitmap(BITMAP* pBitMap) const { return GetObject(sizeof(BITMAP), pBitMap); }
};

class CPalette : public CGdiObject {
    DECLARE_DYNAMIC(CPalette)

public:
    static CPalette* FromHandle(HPALETTE hPalette) { return static_cast<CPalette*>(CGdiObject::FromHandle(hPalette)); }
    operator HPALETTE() const { return static_cast<HPALETTE>(m_hObject); }

    BOOL CreatePalette(const LOGPALETTE* lpLogPalette);
    int GetEntryCount() const;
    UINT GetPaletteEntries(UINT nStartIndex, UINT nNumEntries, PALETTEENTRY* lpPaletteColors) const;
    UINT GetNearestPaletteIndex(COLORREF crColor) const;
};

class CRgn : public CGdiObject {
    DECLARE_DYNAMIC(CRgn)

public:
    static CRgn* FromHandle(HRGN hRgn) { return static_cast<CRgn*>(CGdiObject::FromHandle(hRgn)); }
    operator HRGN() const { return static_cast<HRGN>(m_hObject); }

    BOOL CreateRectRgn(int x1, int y1, int x2, int y2);
    BOOL CreateRectRgnIndirect(const RECT* lpRect);
    BOOL CreateEllipticRgn(int x1, int y1, int x2, int y2);
    BOOL CreateEllipticRgnIndirect(const RECT* lpRect);
    BOOL CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3);
    BOOL CreatePolygonRgn(const POINT* lpPoints, int nCount, int nMode);
    // Each returns the region's complexity (NULLREGION, SIMPLEREGION, COMPLEXREGION), ERROR on failure.
    int CombineRgn(const CRgn* pRgn1, const CRgn* pRgn2, int nCombineMode);
    int CopyRgn(const CRgn* pRgnSrc) { return CombineRgn(pRgnSrc, nullptr, RGN_COPY); }
    int OffsetRgn(int x, int y);
    int GetRgnBox(LPRECT lpRect) const;
    void SetRectRgn(int x1, int y1, int x2, int y2);
    BOOL PtInRegion(int x, int y) const;
    BOOL RectInRegion(const RECT* lpRect) const;
    BOOL EqualRgn(const CRgn* pRgn) const;
};
