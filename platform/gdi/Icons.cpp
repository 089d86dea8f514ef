#include "platform/gdi/Icons.h"

#include "platform/base/WinError.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/Blt.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiInternal.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Pictures.h"

#include <functional>
#include <map>
#include <memory>
#include <mutex>

/*************************************************************************
 * The icon table
 *************************************************************************/

namespace {

// An icon owns its two bitmaps. Shared icons (standard and resource icons)
// live as long as the program and are never destroyed.
struct CIcon {
    ~CIcon()
    {
        DeleteObject(hMask);
        DeleteObject(hColor);
    }
    HBITMAP hMask { nullptr };
    HBITMAP hColor { nullptr };
    int cx { 0 };
    int cy { 0 };
    BOOL fIcon { TRUE };
    DWORD xHotspot { 0 };
    DWORD yHotspot { 0 };
    bool bShared { false };
};

struct IconTable {
    std::mutex mutex;
    std::map<HICON, std::shared_ptr<CIcon>> icons;
    std::map<const void*, HICON> shared; // the shared icon of each standard number or resource
    ULONG_PTR nNext { 0x4C000000 };      // icon handles are never reused
};

IconTable& Icons()
{
    static IconTable table;
    return table;
}

std::shared_ptr<CIcon> LookupIcon(HICON hIcon)
{
    IconTable& table = Icons();
    std::lock_guard lock(table.mutex);
    auto it = table.icons.find(hIcon);
    if (it == table.icons.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return it->second;
}

HICON AddIcon(std::unique_ptr<CIcon> pIcon)
{
    IconTable& table = Icons();
    std::lock_guard lock(table.mutex);
    table.nNext += 4;
    auto hIcon = reinterpret_cast<HICON>(table.nNext);
    table.icons.emplace(hIcon, std::move(pIcon));
    return hIcon;
}

BITMAP Describe(HBITMAP hBitmap)
{
    BITMAP bm {};
    GetObject(hBitmap, sizeof(bm), &bm);
    return bm;
}

// Stretches part of a bitmap over the whole of `hCopy`, cx x cy; on failure
// `hCopy` is deleted and NULL returned.
HBITMAP StretchInto(HBITMAP hCopy, HBITMAP hSource, int xSrc, int ySrc, int cxSrc, int cySrc, int cx, int cy)
{
    HDC hdcSource = CreateCompatibleDC(nullptr);
    HDC hdcCopy = CreateCompatibleDC(nullptr);
    HGDIOBJ hOldSource = SelectObject(hdcSource, hSource);
    HGDIOBJ hOldCopy = SelectObject(hdcCopy, hCopy);
    BOOL bDone = hCopy && hOldSource && hOldCopy;
    if (bDone) {
        // A monochrome source keeps black and white in a colour copy.
        SetTextColor(hdcCopy, RGB(0, 0, 0));
        SetBkColor(hdcCopy, RGB(255, 255, 255));
        SetStretchBltMode(hdcCopy, COLORONCOLOR);
        bDone = StretchBlt(hdcCopy, 0, 0, cx, cy, hdcSource, xSrc, ySrc, cxSrc, cySrc, SRCCOPY);
    }
    if (hOldSource)
        SelectObject(hdcSource, hOldSource);
    if (hOldCopy)
        SelectObject(hdcCopy, hOldCopy);
    DeleteDC(hdcSource);
    DeleteDC(hdcCopy);
    if (!bDone) {
        DeleteObject(hCopy);
        return nullptr;
    }
    return hCopy;
}

// A copy of part of a bitmap in the given depth (1 or 32 bits), stretched to cx x cy.
HBITMAP CopyBitmapPart(HBITMAP hSource, int xSrc, int ySrc, int cxSrc, int cySrc, int cx, int cy, int nBits)
{
    return StretchInto(CreateBitmap(cx, cy, 1, nBits, nullptr), hSource, xSrc, ySrc, cxSrc, cySrc, cx, cy);
}

std::unique_ptr<CIcon> IconFromBitmaps(HBITMAP hMask, HBITMAP hColor, int cx, int cy)
{
    if (!hMask || !hColor) {
        DeleteObject(hMask);
        DeleteObject(hColor);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    auto pIcon = std::make_unique<CIcon>();
    pIcon->hMask = hMask;
    pIcon->hColor = hColor;
    pIcon->cx = cx;
    pIcon->cy = cy;
    pIcon->xHotspot = static_cast<DWORD>(cx / 2);
    pIcon->yHotspot = static_cast<DWORD>(cy / 2);
    return pIcon;
}

// A copy of the icon stretched to cx x cy.
std::unique_ptr<CIcon> CopyOfIcon(const CIcon& icon, int cx, int cy)
{
    std::unique_ptr<CIcon> pCopy = IconFromBitmaps(CopyBitmapPart(icon.hMask, 0, 0, icon.cx, icon.cy, cx, cy, 1),
        CopyBitmapPart(icon.hColor, 0, 0, icon.cx, icon.cy, cx, cy, 32), cx, cy);
    if (pCopy) {
        pCopy->fIcon = icon.fIcon;
        pCopy->xHotspot = icon.cx ? icon.xHotspot * static_cast<DWORD>(cx) / static_cast<DWORD>(icon.cx) : 0;
        pCopy->yHotspot = icon.cy ? icon.yHotspot * static_cast<DWORD>(cy) / static_cast<DWORD>(icon.cy) : 0;
    }
    return pCopy;
}

/*************************************************************************
 * Standard and resource icons
 *************************************************************************/

// The standard icons are simple shapes: a window for the application and
// logo icons, coloured discs for the message icons.
std::unique_ptr<CIcon> MakeStandardIcon(WORD nId)
{
    constexpr int SIZE = ICON_DEFAULT_SIZE;
    COLORREF crShape;
    switch (nId) {
    case 32512: // IDI_APPLICATION
    case 32517: // IDI_WINLOGO
        crShape = RGB(0, 0, 128);
        break;
    case 32513: // IDI_HAND
        crShape = RGB(204, 0, 0);
        break;
    case 32514: // IDI_QUESTION
    case 32516: // IDI_ASTERISK
        crShape = RGB(0, 64, 204);
        break;
    case 32515: // IDI_EXCLAMATION
        crShape = RGB(255, 204, 0);
        break;
    default:
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    bool bWindow = nId == 32512 || nId == 32517;
    HBITMAP hMask = CreateBitmap(SIZE, SIZE, 1, 1, nullptr);
    HBITMAP hColor = CreateBitmap(SIZE, SIZE, 1, 32, nullptr);
    HDC hdc = CreateCompatibleDC(nullptr);
    HGDIOBJ hOldBitmap = SelectObject(hdc, hMask);
    HGDIOBJ hOldBrush = SelectObject(hdc, GetStockObject(BLACK_BRUSH));
    HGDIOBJ hOldPen = SelectObject(hdc, GetStockObject(NULL_PEN));
    // The mask: white (transparent) around a black shape.
    PatBlt(hdc, 0, 0, SIZE, SIZE, WHITENESS);
    if (bWindow)
        PatBlt(hdc, 2, 4, SIZE - 4, SIZE - 8, BLACKNESS);
    else
        Ellipse(hdc, 1, 1, SIZE, SIZE);
    // The image: the shape in its colour on black, with a white mark inside.
    SelectObject(hdc, hColor);
    HBRUSH hShape = CreateSolidBrush(crShape);
    SelectObject(hdc, hShape);
    if (bWindow) {
        PatBlt(hdc, 2, 4, SIZE - 4, SIZE - 8, PATCOPY);
        SelectObject(hdc, GetStockObject(WHITE_BRUSH));
        PatBlt(hdc, 4, 10, SIZE - 8, SIZE - 16, PATCOPY);
    } else {
        Ellipse(hdc, 1, 1, SIZE, SIZE);
        SelectObject(hdc, GetStockObject(WHITE_BRUSH));
        PatBlt(hdc, SIZE / 2 - 2, 8, 4, 10, PATCOPY);
        PatBlt(hdc, SIZE / 2 - 2, 21, 4, 4, PATCOPY);
    }
    SelectObject(hdc, hOldPen);
    SelectObject(hdc, hOldBrush);
    SelectObject(hdc, hOldBitmap);
    DeleteObject(hShape);
    DeleteDC(hdc);
    return IconFromBitmaps(hMask, hColor, SIZE, SIZE);
}

std::unique_ptr<CIcon> IconFromPictureBitmaps(HBITMAP hColor, HBITMAP hMask)
{
    if (!hColor)
        return nullptr;
    BITMAP bm = Describe(hColor);
    return IconFromBitmaps(hMask, hColor, bm.bmWidth, bm.bmHeight);
}

// The shared icon made once for `pKey` (a standard number or a resource).
HICON SharedIcon(const void* pKey, const std::function<std::unique_ptr<CIcon>()>& make)
{
    IconTable& table = Icons();
    {
        std::lock_guard lock(table.mutex);
        auto it = table.shared.find(pKey);
        if (it != table.shared.end())
            return it->second;
    }
    std::unique_ptr<CIcon> pIcon = make();
    if (!pIcon)
        return nullptr;
    pIcon->bShared = true;
    HICON hIcon = AddIcon(std::move(pIcon));
    std::lock_guard lock(table.mutex);
    table.shared.emplace(pKey, hIcon);
    return hIcon;
}

std::unique_ptr<CIcon> IconFromResource(HINSTANCE hInstance, HRSRC hResource)
{
    HGLOBAL hData = LoadResource(hInstance, hResource);
    const void* pData = hData ? LockResource(hData) : nullptr;
    HBITMAP hMask = nullptr;
    HBITMAP hColor = DecodePictureWithMask(pData, SizeofResource(hInstance, hResource), &hMask);
    return IconFromPictureBitmaps(hColor, hMask);
}

// A picture's icon made a cursor: its hot spot at the top-left pixel, where
// the cursor pictures draw the tip (a picture carries no hot spot).
void MakeCursor(CIcon& icon)
{
    icon.fIcon = FALSE;
    icon.xHotspot = 0;
    icon.yHotspot = 0;
}

HICON LoadIconOrCursor(HINSTANCE hInstance, LPCTSTR lpName, bool bCursor)
{
    HRSRC hResource = FindResource(hInstance, lpName, bCursor ? RT_CURSOR : RT_ICON);
    if (!hResource)
        return nullptr;
    return SharedIcon(hResource, [&] {
        std::unique_ptr<CIcon> pIcon = IconFromResource(hInstance, hResource);
        if (pIcon && bCursor)
            MakeCursor(*pIcon);
        return pIcon;
    });
}

}

/*************************************************************************
 * Making and freeing icons
 *************************************************************************/

HICON CreateIconIndirect(PICONINFO piconinfo)
{
    if (!piconinfo || GetObjectType(piconinfo->hbmMask) != OBJ_BITMAP
        || (piconinfo->hbmColor && GetObjectType(piconinfo->hbmColor) != OBJ_BITMAP)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    BITMAP bmMask = Describe(piconinfo->hbmMask);
    int cx = bmMask.bmWidth;
    int cy = bmMask.bmHeight;
    std::unique_ptr<CIcon> pIcon;
    if (piconinfo->hbmColor) {
        BITMAP bmColor = Describe(piconinfo->hbmColor);
        if (bmColor.bmWidth != cx || bmColor.bmHeight != cy) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        pIcon = IconFromBitmaps(CopyBitmapPart(piconinfo->hbmMask, 0, 0, cx, cy, cx, cy, 1),
            CopyBitmapPart(piconinfo->hbmColor, 0, 0, cx, cy, cx, cy, 32), cx, cy);
    } else {
        // A monochrome icon: the AND mask on top of the XOR image in one bitmap.
        cy /= 2;
        if (cy == 0) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        pIcon = IconFromBitmaps(CopyBitmapPart(piconinfo->hbmMask, 0, 0, cx, cy, cx, cy, 1),
            CopyBitmapPart(piconinfo->hbmMask, 0, cy, cx, cy, cx, cy, 32), cx, cy);
    }
    if (!pIcon)
        return nullptr;
    pIcon->fIcon = piconinfo->fIcon;
    if (!piconinfo->fIcon) {
        pIcon->xHotspot = piconinfo->xHotspot;
        pIcon->yHotspot = piconinfo->yHotspot;
    }
    return AddIcon(std::move(pIcon));
}

BOOL GetIconInfo(HICON hIcon, PICONINFO piconinfo)
{
    std::shared_ptr<CIcon> pIcon = LookupIcon(hIcon);
    if (!pIcon)
        return FALSE;
    if (!piconinfo) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    piconinfo->fIcon = pIcon->fIcon;
    piconinfo->xHotspot = pIcon->xHotspot;
    piconinfo->yHotspot = pIcon->yHotspot;
    piconinfo->hbmMask = CopyBitmapPart(pIcon->hMask, 0, 0, pIcon->cx, pIcon->cy, pIcon->cx, pIcon->cy, 1);
    piconinfo->hbmColor = CopyBitmapPart(pIcon->hColor, 0, 0, pIcon->cx, pIcon->cy, pIcon->cx, pIcon->cy, 32);
    if (!piconinfo->hbmMask || !piconinfo->hbmColor) {
        DeleteObject(piconinfo->hbmMask);
        DeleteObject(piconinfo->hbmColor);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    return TRUE;
}

HICON CopyIcon(HICON hIcon)
{
    std::shared_ptr<CIcon> pIcon = LookupIcon(hIcon);
    if (!pIcon)
        return nullptr;
    std::unique_ptr<CIcon> pCopy = CopyOfIcon(*pIcon, pIcon->cx, pIcon->cy);
    return pCopy ? AddIcon(std::move(pCopy)) : nullptr;
}

BOOL DestroyIcon(HICON hIcon)
{
    std::shared_ptr<CIcon> pIcon;
    {
        IconTable& table = Icons();
        std::lock_guard lock(table.mutex);
        auto it = table.icons.find(hIcon);
        if (it == table.icons.end()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        if (it->second->bShared)
            return TRUE;
        pIcon = std::move(it->second);
        table.icons.erase(it);
    }
    return TRUE; // the bitmaps go with the last reference, outside the table's lock
}

BOOL DestroyCursor(HCURSOR hCursor)
{
    return DestroyIcon(hCursor);
}

HICON CreateIconFromPicture(const void* pData, size_t cbData)
{
    HBITMAP hMask = nullptr;
    HBITMAP hColor = DecodePictureWithMask(pData, cbData, &hMask);
    std::unique_ptr<CIcon> pIcon = IconFromPictureBitmaps(hColor, hMask);
    return pIcon ? AddIcon(std::move(pIcon)) : nullptr;
}

/*************************************************************************
 * Loading
 *************************************************************************/

HICON LoadIcon(HINSTANCE hInstance, LPCTSTR lpIconName)
{
    if (hInstance)
        return LoadIconOrCursor(hInstance, lpIconName, false);
    if (!IS_INTRESOURCE(lpIconName)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    auto nId = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(lpIconName));
    return SharedIcon(lpIconName, [nId] { return MakeStandardIcon(nId); });
}

HANDLE LoadImage(HINSTANCE hInst, LPCTSTR name, UINT type, int cx, int cy, UINT fuLoad)
{
    if (type == IMAGE_BITMAP) {
        HBITMAP hBitmap = (fuLoad & LR_LOADFROMFILE) ? LoadPictureFile(name) : LoadBitmap(hInst, name);
        if (!hBitmap)
            return nullptr;
        BITMAP bm = Describe(hBitmap);
        int cxWanted = cx ? cx : bm.bmWidth;
        int cyWanted = cy ? cy : bm.bmHeight;
        bool bDibWanted = (fuLoad & LR_CREATEDIBSECTION) != 0;
        if (cxWanted == bm.bmWidth && cyWanted == bm.bmHeight && (bm.bmBits != nullptr) == bDibWanted)
            return hBitmap;
        HBITMAP hCopy
            = bDibWanted ? CreateDibSection32(cxWanted, cyWanted) : CreateBitmap(cxWanted, cyWanted, 1, 32, nullptr);
        hCopy = StretchInto(hCopy, hBitmap, 0, 0, bm.bmWidth, bm.bmHeight, cxWanted, cyWanted);
        DeleteObject(hBitmap);
        return hCopy;
    }
    if (type != IMAGE_ICON && type != IMAGE_CURSOR) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (fuLoad & LR_DEFAULTSIZE) {
        cx = cx ? cx : ICON_DEFAULT_SIZE;
        cy = cy ? cy : ICON_DEFAULT_SIZE;
    }
    HICON hShared = nullptr;
    if (fuLoad & LR_LOADFROMFILE) {
        HBITMAP hMask = nullptr;
        HBITMAP hColor = LoadPictureFileWithMask(name, &hMask);
        std::unique_ptr<CIcon> pIcon = IconFromPictureBitmaps(hColor, hMask);
        if (!pIcon)
            return nullptr;
        if (type == IMAGE_CURSOR)
            MakeCursor(*pIcon);
        if ((cx == 0 || cx == pIcon->cx) && (cy == 0 || cy == pIcon->cy))
            return AddIcon(std::move(pIcon));
        std::unique_ptr<CIcon> pSized = CopyOfIcon(*pIcon, cx ? cx : pIcon->cx, cy ? cy : pIcon->cy);
        return pSized ? AddIcon(std::move(pSized)) : nullptr;
    }
    hShared
        = hInst || type == IMAGE_CURSOR ? LoadIconOrCursor(hInst, name, type == IMAGE_CURSOR) : LoadIcon(nullptr, name);
    std::shared_ptr<CIcon> pIcon = LookupIcon(hShared);
    if (!pIcon || ((cx == 0 || cx == pIcon->cx) && (cy == 0 || cy == pIcon->cy)))
        return hShared;
    std::unique_ptr<CIcon> pSized = CopyOfIcon(*pIcon, cx ? cx : pIcon->cx, cy ? cy : pIcon->cy);
    return pSized ? AddIcon(std::move(pSized)) : nullptr;
}

/*************************************************************************
 * Drawing
 *************************************************************************/

BOOL DrawIcon(HDC hDC, int x, int y, HICON hIcon)
{
    return DrawIconEx(hDC, x, y, hIcon, 0, 0, 0, nullptr, DI_NORMAL);
}

BOOL DrawIconEx(HDC hdc, int xLeft, int yTop, HICON hIcon, int cxWidth, int cyWidth, UINT istepIfAniCur,
    HBRUSH hbrFlickerFreeDraw, UINT diFlags)
{
    (void)istepIfAniCur; // icons here have one frame
    std::shared_ptr<CIcon> pIcon = LookupIcon(hIcon);
    if (!pIcon)
        return FALSE;
    if (GetObjectType(hdc) == 0 || (diFlags & DI_NORMAL) == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    int nDefault = (diFlags & DI_DEFAULTSIZE) ? ICON_DEFAULT_SIZE : 0;
    int cx = cxWidth ? cxWidth : (nDefault ? nDefault : pIcon->cx);
    int cy = cyWidth ? cyWidth : (nDefault ? nDefault : pIcon->cy);

    // With a flicker-free brush, draw onto that brush off-screen and copy the result.
    HDC hdcTarget = hdc;
    int xTarget = xLeft;
    int yTarget = yTop;
    HBITMAP hOffscreen = nullptr;
    HGDIOBJ hOldOffscreen = nullptr;
    if (hbrFlickerFreeDraw) {
        hdcTarget = CreateCompatibleDC(hdc);
        hOffscreen = CreateCompatibleBitmap(hdc, cx, cy);
        hOldOffscreen = SelectObject(hdcTarget, hOffscreen);
        RECT rc { 0, 0, cx, cy };
        FillRect(hdcTarget, &rc, hbrFlickerFreeDraw);
        xTarget = yTarget = 0;
    }

    // Monochrome masks must come out black and white whatever the target's colours are.
    COLORREF crOldText = SetTextColor(hdcTarget, RGB(0, 0, 0));
    COLORREF crOldBk = SetBkColor(hdcTarget, RGB(255, 255, 255));
    int nOldStretch = SetStretchBltMode(hdcTarget, COLORONCOLOR);
    HDC hdcSource = CreateCompatibleDC(nullptr);
    HGDIOBJ hOldSource = SelectObject(hdcSource, pIcon->hMask);
    bool bBoth = (diFlags & DI_NORMAL) == DI_NORMAL;
    BOOL bDone = TRUE;
    if (diFlags & DI_MASK)
        bDone = StretchBlt(
            hdcTarget, xTarget, yTarget, cx, cy, hdcSource, 0, 0, pIcon->cx, pIcon->cy, bBoth ? SRCAND : SRCCOPY);
    if (bDone && (diFlags & DI_IMAGE)) {
        SelectObject(hdcSource, pIcon->hColor);
        bDone = StretchBlt(
            hdcTarget, xTarget, yTarget, cx, cy, hdcSource, 0, 0, pIcon->cx, pIcon->cy, bBoth ? SRCINVERT : SRCCOPY);
    }
    SelectObject(hdcSource, hOldSource);
    DeleteDC(hdcSource);
    SetStretchBltMode(hdcTarget, nOldStretch);
    SetBkColor(hdcTarget, crOldBk);
    SetTextColor(hdcTarget, crOldText);

    if (hbrFlickerFreeDraw) {
        if (bDone)
            bDone = BitBlt(hdc, xLeft, yTop, cx, cy, hdcTarget, 0, 0, SRCCOPY);
        SelectObject(hdcTarget, hOldOffscreen);
        DeleteObject(hOffscreen);
        DeleteDC(hdcTarget);
    }
    return bDone;
}

/*************************************************************************
 * Masked transfer
 *************************************************************************/

BOOL MaskBlt(HDC hdcDest, int xDest, int yDest, int width, int height, HDC hdcSrc, int xSrc, int ySrc, HBITMAP hbmMask,
    int xMask, int yMask, DWORD dwRop)
{
    DWORD dwFore = dwRop & 0x00FFFFFF;
    if (!hbmMask)
        return BitBlt(hdcDest, xDest, yDest, width, height, hdcSrc, xSrc, ySrc, dwFore);
    BITMAP bmMask = Describe(hbmMask);
    if (bmMask.bmBitsPixel != 1 || width <= 0 || height <= 0 || GetObjectType(hdcDest) == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // The ternary code of the background operation: its index byte in bits 16-23.
    // Operations are applied by that byte alone, so the low word may stay 0.
    DWORD dwBack = (dwRop >> 8) & 0x00FF0000;

    // Each operation runs on its own copy of the destination, with the
    // destination's brush; the mask then picks, pixel by pixel, between them.
    HDC hdcWork = CreateCompatibleDC(hdcDest);
    HDC hdcMask = CreateCompatibleDC(nullptr);
    HBITMAP hFore = CreateBitmap(width, height, 1, 32, nullptr);
    HBITMAP hBack = CreateBitmap(width, height, 1, 32, nullptr);
    HGDIOBJ hOldMask = SelectObject(hdcMask, hbmMask);
    HGDIOBJ hOldWork = SelectObject(hdcWork, hFore);
    HGDIOBJ hOldBrush = SelectObject(hdcWork, GetCurrentObject(hdcDest, OBJ_BRUSH));
    BOOL bDone = hFore && hBack && hOldMask && hOldWork;
    SetTextColor(hdcWork, RGB(0, 0, 0));
    SetBkColor(hdcWork, RGB(255, 255, 255));
    // The source keeps the destination's colours for monochrome conversion.
    COLORREF crText = GetTextColor(hdcDest);
    COLORREF crBk = GetBkColor(hdcDest);
    auto runOp = [&](HBITMAP hTarget, DWORD dwOp, DWORD dwKeep) {
        SelectObject(hdcWork, hTarget);
        SetTextColor(hdcWork, crText);
        SetBkColor(hdcWork, crBk);
        BOOL bOk = BitBlt(hdcWork, 0, 0, width, height, hdcDest, xDest, yDest, SRCCOPY)
            && BitBlt(hdcWork, 0, 0, width, height, hdcSrc, xSrc, ySrc, dwOp);
        // Keep only the pixels this operation owns: white mask bits for the
        // foreground (SRCAND), black ones for the background (D AND NOT S).
        SetTextColor(hdcWork, RGB(0, 0, 0));
        SetBkColor(hdcWork, RGB(255, 255, 255));
        return bOk && BitBlt(hdcWork, 0, 0, width, height, hdcMask, xMask, yMask, dwKeep);
    };
    constexpr DWORD KEEP_WHERE_SOURCE_BLACK = 0x00220326; // D AND NOT S
    bDone = bDone && runOp(hFore, dwFore, SRCAND) && runOp(hBack, dwBack, KEEP_WHERE_SOURCE_BLACK);
    if (bDone) {
        // The two halves never overlap: OR them together into the destination.
        SelectObject(hdcWork, hFore);
        HDC hdcBack = CreateCompatibleDC(nullptr);
        HGDIOBJ hOldBack = SelectObject(hdcBack, hBack);
        bDone = BitBlt(hdcWork, 0, 0, width, height, hdcBack, 0, 0, SRCPAINT)
            && BitBlt(hdcDest, xDest, yDest, width, height, hdcWork, 0, 0, SRCCOPY);
        SelectObject(hdcBack, hOldBack);
        DeleteDC(hdcBack);
    }
    if (hOldBrush)
        SelectObject(hdcWork, hOldBrush);
    if (hOldWork)
        SelectObject(hdcWork, hOldWork);
    if (hOldMask)
        SelectObject(hdcMask, hOldMask);
    DeleteDC(hdcWork);
    DeleteDC(hdcMask);
    DeleteObject(hFore);
    DeleteObject(hBack);
    return bDone;
}
