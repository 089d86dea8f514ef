#include "platform/gdi/GdiObjects.h"

#include "platform/gdi/GdiInternal.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <unordered_map>

/*************************************************************************
 * The lock and the handle table
 *************************************************************************/

namespace {

// Handle values start high and step by 4, so that no small integer is ever a
// valid handle and a freed handle stays invalid.
constexpr UINT_PTR FIRST_GDI_HANDLE = 0x40000;
constexpr UINT_PTR GDI_HANDLE_STEP = 4;

struct GdiTable {
    std::unordered_map<UINT_PTR, std::shared_ptr<CGdiHandleObject>> objects;
    UINT_PTR nNext { FIRST_GDI_HANDLE };
};

GdiTable& Table()
{
    static GdiTable* pTable = new GdiTable; // never destroyed: objects may be released during exit
    return *pTable;
}

}

std::unique_lock<std::recursive_mutex> GdiLock()
{
    static std::recursive_mutex* pMutex = new std::recursive_mutex;
    return std::unique_lock(*pMutex);
}

HGDIOBJ AddGdiObject(std::shared_ptr<CGdiHandleObject> pObject)
{
    GdiTable& table = Table();
    auto hHandle = reinterpret_cast<HGDIOBJ>(table.nNext);
    table.nNext += GDI_HANDLE_STEP;
    pObject->m_hHandle = hHandle;
    table.objects.emplace(reinterpret_cast<UINT_PTR>(hHandle), std::move(pObject));
    return hHandle;
}

void RemoveGdiObject(HGDIOBJ hObject)
{
    Table().objects.erase(reinterpret_cast<UINT_PTR>(hObject));
}

std::shared_ptr<CGdiHandleObject> LookupGdiObject(HGDIOBJ hObject)
{
    GdiTable& table = Table();
    auto it = table.objects.find(reinterpret_cast<UINT_PTR>(hObject));
    return it == table.objects.end() ? nullptr : it->second;
}

/*************************************************************************
 * Colours
 *************************************************************************/

namespace {

// The twenty reserved colours of the default palette, which PALETTEINDEX names.
constexpr std::array<COLORREF, 20> DEFAULT_PALETTE_COLOURS { RGB(0, 0, 0), RGB(128, 0, 0), RGB(0, 128, 0),
    RGB(128, 128, 0), RGB(0, 0, 128), RGB(128, 0, 128), RGB(0, 128, 128), RGB(192, 192, 192), RGB(192, 220, 192),
    RGB(166, 202, 240), RGB(255, 251, 240), RGB(160, 160, 164), RGB(128, 128, 128), RGB(255, 0, 0), RGB(0, 255, 0),
    RGB(255, 255, 0), RGB(0, 0, 255), RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255) };

}

uint32_t PixelFromColour(COLORREF cr, bool bMonochrome)
{
    if ((cr >> 24) == 0x01) {
        WORD nIndex = cr & 0xFFFF;
        cr = nIndex < DEFAULT_PALETTE_COLOURS.size() ? DEFAULT_PALETTE_COLOURS[nIndex] : RGB(0, 0, 0);
    }
    int r = GetRValue(cr), g = GetGValue(cr), b = GetBValue(cr);
    if (bMonochrome) {
        int nToBlack = r * r + g * g + b * b;
        int nToWhite = (255 - r) * (255 - r) + (255 - g) * (255 - g) + (255 - b) * (255 - b);
        return nToWhite < nToBlack ? 0xFFFFFF : 0;
    }
    return (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) | static_cast<uint32_t>(b);
}

COLORREF ColourFromPixel(uint32_t nPixel)
{
    return RGB((nPixel >> 16) & 0xFF, (nPixel >> 8) & 0xFF, nPixel & 0xFF);
}

/*************************************************************************
 * Stock objects
 *************************************************************************/

namespace {

std::shared_ptr<CGdiHandleObject> MakeStockPen(UINT nStyle, COLORREF cr)
{
    auto pPen = std::make_shared<CGdiPen>();
    pPen->m_log = LOGPEN { nStyle, POINT { 1, 0 }, cr };
    return pPen;
}

std::shared_ptr<CGdiHandleObject> MakeStockBrush(UINT nStyle, COLORREF cr)
{
    auto pBrush = std::make_shared<CGdiBrush>();
    pBrush->m_log = LOGBRUSH { nStyle, cr, 0 };
    return pBrush;
}

std::shared_ptr<CGdiHandleObject> MakeStockFont(LONG nHeight, LONG nWeight, BYTE nPitchAndFamily, const char* pszFace)
{
    auto pFont = std::make_shared<CGdiFont>();
    pFont->m_log.lfHeight = nHeight;
    pFont->m_log.lfWeight = nWeight;
    pFont->m_log.lfPitchAndFamily = nPitchAndFamily;
    std::strncpy(pFont->m_log.lfFaceName, pszFace, LF_FACESIZE - 1);
    return pFont;
}

constexpr BYTE FIXED_MODERN = 0x31;   // FIXED_PITCH | FF_MODERN
constexpr BYTE VARIABLE_SWISS = 0x22; // VARIABLE_PITCH | FF_SWISS

std::shared_ptr<CGdiHandleObject> MakeStockObject(int nIndex)
{
    switch (nIndex) {
    case WHITE_BRUSH:
        return MakeStockBrush(BS_SOLID, RGB(255, 255, 255));
    case LTGRAY_BRUSH:
        return MakeStockBrush(BS_SOLID, RGB(192, 192, 192));
    case GRAY_BRUSH:
        return MakeStockBrush(BS_SOLID, RGB(128, 128, 128));
    case DKGRAY_BRUSH:
        return MakeStockBrush(BS_SOLID, RGB(64, 64, 64));
    case BLACK_BRUSH:
        return MakeStockBrush(BS_SOLID, RGB(0, 0, 0));
    case NULL_BRUSH:
        return MakeStockBrush(BS_NULL, 0);
    case WHITE_PEN:
        return MakeStockPen(PS_SOLID, RGB(255, 255, 255));
    case BLACK_PEN:
        return MakeStockPen(PS_SOLID, RGB(0, 0, 0));
    case NULL_PEN:
        return MakeStockPen(PS_NULL, 0);
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT:
    case SYSTEM_FIXED_FONT:
        return MakeStockFont(-13, 400, FIXED_MODERN, "Courier");
    case ANSI_VAR_FONT:
        return MakeStockFont(-13, 400, VARIABLE_SWISS, "MS Sans Serif");
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT:
        return MakeStockFont(16, 700, VARIABLE_SWISS, "System");
    case DEFAULT_GUI_FONT:
        return MakeStockFont(-11, 400, 0, "MS Shell Dlg");
    case DEFAULT_PALETTE: {
        auto pPalette = std::make_shared<CGdiPalette>();
        for (COLORREF cr : DEFAULT_PALETTE_COLOURS)
            pPalette->m_entries.push_back(PALETTEENTRY { GetRValue(cr), GetGValue(cr), GetBValue(cr), 0 });
        return pPalette;
    }
    default:
        return nullptr;
    }
}

}

std::shared_ptr<CGdiHandleObject> StockObject(int nIndex)
{
    static std::unordered_map<int, std::shared_ptr<CGdiHandleObject>>* pStock
        = new std::unordered_map<int, std::shared_ptr<CGdiHandleObject>>;
    auto it = pStock->find(nIndex);
    if (it != pStock->end())
        return it->second;
    std::shared_ptr<CGdiHandleObject> pObject = MakeStockObject(nIndex);
    if (!pObject)
        return nullptr;
    pObject->m_bStock = true;
    AddGdiObject(pObject);
    pStock->emplace(nIndex, pObject);
    return pObject;
}

std::shared_ptr<CGdiBitmap> DefaultBitmap()
{
    static std::shared_ptr<CGdiBitmap>* pBitmap = nullptr;
    if (!pBitmap) {
        pBitmap = new std::shared_ptr<CGdiBitmap>(CGdiBitmap::Make(1, 1, 1));
        (*pBitmap)->m_bStock = true;
        AddGdiObject(*pBitmap);
    }
    return *pBitmap;
}

HGDIOBJ GetStockObject(int nIndex)
{
    auto lock = GdiLock();
    std::shared_ptr<CGdiHandleObject> pObject = StockObject(nIndex);
    if (!pObject) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return pObject->m_hHandle;
}

/*************************************************************************
 * Every kind of object
 *************************************************************************/

BOOL DeleteObject(HGDIOBJ hObject)
{
    auto lock = GdiLock();
    std::shared_ptr<CGdiHandleObject> pObject = LookupGdiObject(hObject);
    if (!pObject || pObject->ObjectType() == OBJ_MEMDC) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (pObject->m_bStock)
        return TRUE;
    if (pObject->m_nSelected > 0) {
        SetLastError(ERROR_BUSY);
        return FALSE;
    }
    RemoveGdiObject(hObject);
    return TRUE;
}

namespace {

template<typename T> int CopyDescription(const T& description, int cbBuffer, LPVOID lpvObject)
{
    if (!lpvObject)
        return sizeof(T);
    int cbCopied = std::min<int>(cbBuffer, sizeof(T));
    if (cbCopied <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::memcpy(lpvObject, &description, cbCopied);
    return cbCopied;
}

}

int GetObject(HGDIOBJ hObject, int cbBuffer, LPVOID lpvObject)
{
    auto lock = GdiLock();
    std::shared_ptr<CGdiHandleObject> pObject = LookupGdiObject(hObject);
    if (!pObject) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    if (auto pPen = std::dynamic_pointer_cast<CGdiPen>(pObject))
        return CopyDescription(pPen->m_log, cbBuffer, lpvObject);
    if (auto pBrush = std::dynamic_pointer_cast<CGdiBrush>(pObject))
        return CopyDescription(pBrush->m_log, cbBuffer, lpvObject);
    if (auto pFont = std::dynamic_pointer_cast<CGdiFont>(pObject))
        return CopyDescription(pFont->m_log, cbBuffer, lpvObject);
    if (auto pPalette = std::dynamic_pointer_cast<CGdiPalette>(pObject))
        return CopyDescription(static_cast<WORD>(pPalette->m_entries.size()), cbBuffer, lpvObject);
    if (auto pBitmap = std::dynamic_pointer_cast<CGdiBitmap>(pObject)) {
        BITMAP bm {};
        bm.bmWidth = pBitmap->m_nWidth;
        bm.bmHeight = pBitmap->m_nHeight;
        bm.bmWidthBytes = (pBitmap->m_nWidth * pBitmap->m_nBitsPixel + 15) / 16 * 2;
        bm.bmPlanes = 1;
        bm.bmBitsPixel = static_cast<WORD>(pBitmap->m_nBitsPixel);
        if (pBitmap->m_pDibBits) {
            auto* pHeader = reinterpret_cast<const BITMAPINFOHEADER*>(pBitmap->m_dibInfo.data());
            bm.bmBitsPixel = pHeader->biBitCount;
            bm.bmWidthBytes = (pBitmap->m_nWidth * pHeader->biBitCount + 31) / 32 * 4;
            bm.bmBits = pBitmap->m_pDibBits.get();
        }
        return CopyDescription(bm, cbBuffer, lpvObject);
    }
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
}

DWORD GetObjectType(HGDIOBJ hObject)
{
    auto lock = GdiLock();
    std::shared_ptr<CGdiHandleObject> pObject = LookupGdiObject(hObject);
    if (!pObject) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return pObject->ObjectType();
}

/*************************************************************************
 * Pens and brushes
 *************************************************************************/

HPEN CreatePen(int iStyle, int cWidth, COLORREF color)
{
    LOGPEN log { static_cast<UINT>(iStyle), POINT { cWidth, 0 }, color };
    return CreatePenIndirect(&log);
}

HPEN CreatePenIndirect(const LOGPEN* plpen)
{
    if (!plpen || (plpen->lopnStyle & PS_STYLE_MASK) > PS_INSIDEFRAME) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto lock = GdiLock();
    auto pPen = std::make_shared<CGdiPen>();
    pPen->m_log = *plpen;
    pPen->m_log.lopnStyle &= PS_STYLE_MASK;
    pPen->m_log.lopnWidth.x = std::max<LONG>(plpen->lopnWidth.x, 0);
    return static_cast<HPEN>(AddGdiObject(pPen));
}

HBRUSH CreateSolidBrush(COLORREF color)
{
    LOGBRUSH log { BS_SOLID, color, 0 };
    return CreateBrushIndirect(&log);
}

HBRUSH CreateHatchBrush(int iHatch, COLORREF color)
{
    LOGBRUSH log { BS_HATCHED, color, static_cast<ULONG_PTR>(iHatch) };
    return CreateBrushIndirect(&log);
}

HBRUSH CreatePatternBrush(HBITMAP hbm)
{
    LOGBRUSH log { BS_PATTERN, 0, reinterpret_cast<ULONG_PTR>(hbm) };
    return CreateBrushIndirect(&log);
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* plbrush)
{
    if (!plbrush) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto lock = GdiLock();
    auto pBrush = std::make_shared<CGdiBrush>();
    pBrush->m_log = *plbrush;
    switch (plbrush->lbStyle) {
    case BS_SOLID:
    case BS_NULL:
        break;
    case BS_HATCHED:
        if (plbrush->lbHatch > static_cast<ULONG_PTR>(HS_DIAGCROSS)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        break;
    case BS_PATTERN: {
        auto pSource = LookupGdi<CGdiBitmap>(reinterpret_cast<HGDIOBJ>(plbrush->lbHatch));
        if (!pSource)
            return nullptr;
        pSource->PullBits();
        pBrush->m_pPattern = CGdiBitmap::Make(pSource->m_nWidth, pSource->m_nHeight, pSource->m_nBitsPixel);
        if (!pBrush->m_pPattern) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
        for (int y = 0; y < pSource->m_nHeight; ++y) {
            const uint32_t* pFrom = pSource->Row(y);
            uint32_t* pTo = pBrush->m_pPattern->Row(y);
            for (int x = 0; x < pSource->m_nWidth; ++x)
                pTo[x] = pFrom[x] & 0xFFFFFF;
        }
        break;
    }
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return static_cast<HBRUSH>(AddGdiObject(pBrush));
}

/*************************************************************************
 * Palettes
 *************************************************************************/

HPALETTE CreatePalette(const LOGPALETTE* plpal)
{
    if (!plpal || plpal->palNumEntries == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto lock = GdiLock();
    auto pPalette = std::make_shared<CGdiPalette>();
    pPalette->m_entries.assign(plpal->palPalEntry, plpal->palPalEntry + plpal->palNumEntries);
    return static_cast<HPALETTE>(AddGdiObject(pPalette));
}

HPALETTE SelectPalette(HDC hdc, HPALETTE hPal, BOOL)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    std::shared_ptr<CGdiPalette> pPalette = LookupGdi<CGdiPalette>(hPal);
    if (!pDc || !pPalette)
        return nullptr;
    HGDIOBJ hOld = pDc->m_state.palette->m_hHandle;
    pDc->m_state.palette = CSelected<CGdiPalette>(pPalette);
    return static_cast<HPALETTE>(hOld);
}

UINT RealizePalette(HDC)
{
    return 0;
}

BOOL UpdateColors(HDC hdc)
{
    auto lock = GdiLock();
    return LookupDc(hdc) != nullptr;
}

UINT GetPaletteEntries(HPALETTE hpal, UINT iStart, UINT cEntries, PALETTEENTRY* pPalEntries)
{
    auto lock = GdiLock();
    std::shared_ptr<CGdiPalette> pPalette = LookupGdi<CGdiPalette>(hpal);
    if (!pPalette)
        return 0;
    UINT nCount = static_cast<UINT>(pPalette->m_entries.size());
    if (!pPalEntries)
        return nCount;
    if (iStart >= nCount)
        return 0;
    UINT nCopied = std::min(cEntries, nCount - iStart);
    std::copy_n(pPalette->m_entries.begin() + iStart, nCopied, pPalEntries);
    return nCopied;
}

UINT GetNearestPaletteIndex(HPALETTE h, COLORREF crColor)
{
    auto lock = GdiLock();
    std::shared_ptr<CGdiPalette> pPalette = LookupGdi<CGdiPalette>(h);
    if (!pPalette)
        return CLR_INVALID;
    auto distance = [crColor](const PALETTEENTRY& entry) {
        int dr = entry.peRed - GetRValue(crColor);
        int dg = entry.peGreen - GetGValue(crColor);
        int db = entry.peBlue - GetBValue(crColor);
        return dr * dr + dg * dg + db * db;
    };
    auto it = std::min_element(pPalette->m_entries.begin(), pPalette->m_entries.end(),
        [&](const PALETTEENTRY& a, const PALETTEENTRY& b) { return distance(a) < distance(b); });
    return static_cast<UINT>(it - pPalette->m_entries.begin());
}
