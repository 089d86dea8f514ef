#pragma once

// The objects behind the drawing layer's handles, shared by its source files.
// Callers outside platform/gdi never include this header.
//
// Every public function takes the layer's one lock (GdiLock) first: the handle
// table, the objects and the text machinery are used by one thread at a time.
// Pixels are 32-bit 0x00RRGGBB values in cairo RGB24 image surfaces; a
// monochrome bitmap holds only black (0) and white (0xFFFFFF) pixels.

#include "platform/base/WinError.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/RectList.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

typedef struct _cairo_surface cairo_surface_t;
typedef struct _PangoFontDescription PangoFontDescription;

std::unique_lock<std::recursive_mutex> GdiLock();

/* Objects and the handle table. */

// The object behind a drawing handle. (CGdiObject is the class library's
// wrapper in platform/framework; the two must not share a name.)
class CGdiHandleObject {
public:
    virtual ~CGdiHandleObject() = default;
    virtual DWORD ObjectType() const = 0;

    HGDIOBJ m_hHandle { nullptr };
    bool m_bStock { false };
    int m_nSelected { 0 }; // references from the current and saved states of device contexts
};

// Enters the object in the table and returns its handle; handle values are never reused.
HGDIOBJ AddGdiObject(std::shared_ptr<CGdiHandleObject> pObject);
// Removes the handle; the object lives on while states still hold it.
void RemoveGdiObject(HGDIOBJ hObject);
[[nodiscard]] std::shared_ptr<CGdiHandleObject> LookupGdiObject(HGDIOBJ hObject);
// The live object of type T behind the handle, else nullptr with ERROR_INVALID_HANDLE.
template<typename T> [[nodiscard]] std::shared_ptr<T> LookupGdi(HGDIOBJ hObject)
{
    auto pObject = std::dynamic_pointer_cast<T>(LookupGdiObject(hObject));
    if (!pObject)
        SetLastError(ERROR_INVALID_HANDLE);
    return pObject;
}

class CGdiPen : public CGdiHandleObject {
public:
    DWORD ObjectType() const override { return OBJ_PEN; }
    LOGPEN m_log {};
};

class CGdiBitmap;

class CGdiBrush : public CGdiHandleObject {
public:
    DWORD ObjectType() const override { return OBJ_BRUSH; }
    LOGBRUSH m_log {};
    std::shared_ptr<CGdiBitmap> m_pPattern; // a private copy of the pattern bitmap
};

class CTextLineCache;

// What a font measures to. Every font object made from one LOGFONT measures
// alike, so the live ones share it (MeasuresOf in TextEngine.h).
struct CFontMeasures {
    TEXTMETRIC metrics {}; // valid once bHasMetrics
    bool bHasMetrics { false };
    std::vector<int> latinWidths; // by code point below 256, -1 until measured; made on first use
};

class CGdiFont : public CGdiHandleObject {
public:
    CGdiFont();
    ~CGdiFont() override;
    DWORD ObjectType() const override { return OBJ_FONT; }
    LOGFONT m_log {};
    PangoFontDescription* m_pDescription { nullptr }; // made on first use
    std::shared_ptr<CFontMeasures> m_pMeasures;       // made or found on first use
    std::unique_ptr<CTextLineCache> m_pLines;         // made on first use
};

class CGdiRegion : public CGdiHandleObject {
public:
    DWORD ObjectType() const override { return OBJ_REGION; }
    CRectList m_area;
};

class CGdiPalette : public CGdiHandleObject {
public:
    DWORD ObjectType() const override { return OBJ_PAL; }
    std::vector<PALETTEENTRY> m_entries;
};

class CDeviceContext;

// A bitmap owns an RGB24 surface. A DIB section also owns its bits in the DIB
// layout, which the program may write directly: the surface is refreshed from
// the bits before each use and written back after each change. A 32-bit DIB
// section has the same pixel layout as the surface, so it has no surface and
// its rows are the DIB's own; their unused top bytes may hold anything.
class CGdiBitmap : public CGdiHandleObject {
public:
    ~CGdiBitmap() override;
    DWORD ObjectType() const override { return OBJ_BITMAP; }

    // A white-on-black free bitmap of the size, monochrome for 1 bit per pixel; nullptr when too big.
    static std::shared_ptr<CGdiBitmap> Make(int nWidth, int nHeight, int nBitsPixel);

    bool IsMonochrome() const { return m_nBitsPixel == 1; }
    uint32_t* Row(int y);
    // Brings the surface up to date with the DIB bits before pixels are read.
    void PullBits();
    // Writes changed pixels back to the DIB bits and tells cairo about them.
    void PushBits();

    int m_nWidth { 0 };
    int m_nHeight { 0 };
    int m_nBitsPixel { 32 };
    cairo_surface_t* m_pSurface { nullptr }; // none for 32-bit DIB sections
    // DIB sections only:
    std::vector<BYTE> m_dibInfo; // BITMAPINFOHEADER and colour table
    std::unique_ptr<BYTE[]> m_pDibBits;
    bool m_bDirect { false }; // the rows are the DIB bits, from the top when m_nDirectStride > 0
    ptrdiff_t m_nDirectStride { 0 };
    const CDeviceContext* m_pOwnerDc { nullptr }; // the DC it is selected into
};

// The header of a 32-bit top-down DIB of the size, without colour table.
BITMAPINFO TopDownInfo32(int nWidth, int nHeight);
// A zero-filled 32-bit top-down DIB section; NULL when too big.
HBITMAP CreateDibSection32(int nWidth, int nHeight);

/* Device contexts. */

// A counted reference from a DC state to a selected object: while any exists,
// the object cannot be deleted.
template<typename T> class CSelected {
public:
    CSelected() = default;
    explicit CSelected(std::shared_ptr<T> p)
        : m_p(std::move(p))
    {
        if (m_p)
            ++m_p->m_nSelected;
    }
    CSelected(const CSelected& other)
        : CSelected(other.m_p)
    {
    }
    CSelected& operator=(const CSelected& other)
    {
        CSelected copy(other);
        std::swap(m_p, copy.m_p);
        return *this;
    }
    ~CSelected()
    {
        if (m_p)
            --m_p->m_nSelected;
    }
    T* operator->() const { return m_p.get(); }
    T& operator*() const { return *m_p; }
    const std::shared_ptr<T>& Get() const { return m_p; }

private:
    std::shared_ptr<T> m_p;
};

struct DcState {
    CSelected<CGdiPen> pen;
    CSelected<CGdiBrush> brush;
    CSelected<CGdiFont> font;
    CSelected<CGdiBitmap> bitmap;
    CSelected<CGdiPalette> palette;
    COLORREF crText { RGB(0, 0, 0) };
    COLORREF crBk { RGB(255, 255, 255) };
    int nBkMode { OPAQUE };
    int nRop2 { R2_COPYPEN };
    UINT nTextAlign { 0 };
    int nStretchMode { BLACKONWHITE };
    int nPolyFillMode { ALTERNATE };
    POINT ptViewportOrg {};
    POINT ptWindowOrg {};
    POINT ptCurrent {};            // logical
    std::optional<CRectList> clip; // device coordinates; none = the whole surface
};

class CDeviceContext : public CGdiHandleObject {
public:
    ~CDeviceContext() override;
    DWORD ObjectType() const override { return OBJ_MEMDC; }

    // Logical coordinates to bitmap coordinates (device coordinates moved by m_ptOrigin).
    POINT ToDevice(int x, int y) const;
    RECT ToDevice(const RECT& rc) const;
    // The clip area in device coordinates, limited to the bitmap.
    CRectList EffectiveClip() const;

    DcState m_state;
    std::vector<DcState> m_saved;
    // Surface DCs only (SurfaceDC.h); neither is part of the saved state.
    POINT m_ptOrigin {};                // where device (0, 0) lies on the bitmap
    std::optional<CRectList> m_visible; // bitmap coordinates; drawing never leaves it
};

[[nodiscard]] std::shared_ptr<CDeviceContext> LookupDc(HDC hdc);

/* Colours. */

// The surface pixel for a colour; palette colours map to plain ones, and on a
// monochrome surface every colour becomes black or white, whichever is nearer.
uint32_t PixelFromColour(COLORREF cr, bool bMonochrome);
COLORREF ColourFromPixel(uint32_t nPixel);
// A stock object, made on first use.
std::shared_ptr<CGdiHandleObject> StockObject(int nIndex);
// The 1x1 monochrome bitmap every memory DC starts with.
std::shared_ptr<CGdiBitmap> DefaultBitmap();
