#include "platform/gdi/ImageLists.h"

#include "platform/base/WinError.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/Blt.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiInternal.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Pictures.h"
#include "platform/gdi/SysColors.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

/*************************************************************************
 * Pixels
 *************************************************************************/

namespace {

// Pixels are 0x00RRGGBB, rows top-down.
struct Pixels {
    int cx { 0 };
    int cy { 0 };
    std::vector<uint32_t> px;

    uint32_t& At(int x, int y) { return px[static_cast<size_t>(y) * cx + x]; }
    uint32_t At(int x, int y) const { return px[static_cast<size_t>(y) * cx + x]; }
};

// All pixels of a bitmap (monochrome ones as black and white); empty on failure.
Pixels ReadBitmap(HBITMAP hBitmap)
{
    Pixels pixels;
    BITMAP bm {};
    if (!GetObject(hBitmap, sizeof(bm), &bm))
        return pixels;
    BITMAPINFO info = TopDownInfo32(bm.bmWidth, bm.bmHeight);
    std::vector<uint32_t> px(static_cast<size_t>(bm.bmWidth) * bm.bmHeight);
    HDC hdc = CreateCompatibleDC(nullptr);
    int nLines = GetDIBits(hdc, hBitmap, 0, bm.bmHeight, px.data(), &info, DIB_RGB_COLORS);
    DeleteDC(hdc);
    if (nLines != bm.bmHeight)
        return pixels;
    for (uint32_t& n : px)
        n &= 0xFFFFFF;
    pixels.cx = bm.bmWidth;
    pixels.cy = bm.bmHeight;
    pixels.px = std::move(px);
    return pixels;
}

// A new bitmap of the pixels, colour or monochrome.
HBITMAP MakeBitmap(const Pixels& pixels, bool bMonochrome)
{
    HBITMAP hBitmap = CreateBitmap(pixels.cx, pixels.cy, 1, bMonochrome ? 1 : 32, nullptr);
    BITMAPINFO info = TopDownInfo32(pixels.cx, pixels.cy);
    HDC hdc = CreateCompatibleDC(nullptr);
    if (hBitmap && SetDIBits(hdc, hBitmap, 0, pixels.cy, pixels.px.data(), &info, DIB_RGB_COLORS) != pixels.cy) {
        DeleteObject(hBitmap);
        hBitmap = nullptr;
    }
    DeleteDC(hdc);
    return hBitmap;
}

uint32_t PixelOf(COLORREF cr)
{
    return (static_cast<uint32_t>(GetRValue(cr)) << 16) | (static_cast<uint32_t>(GetGValue(cr)) << 8) | GetBValue(cr);
}

// `nPart` quarters of `nOver` mixed into `nBase`, per channel.
uint32_t Mix(uint32_t nBase, uint32_t nOver, int nPart)
{
    uint32_t nResult = 0;
    for (int nShift = 0; nShift <= 16; nShift += 8) {
        uint32_t a = (nBase >> nShift) & 0xFF;
        uint32_t b = (nOver >> nShift) & 0xFF;
        nResult |= ((a * static_cast<uint32_t>(4 - nPart) + b * static_cast<uint32_t>(nPart)) / 4) << nShift;
    }
    return nResult;
}

constexpr uint32_t WHITE = 0xFFFFFF;

/*************************************************************************
 * The list objects
 *************************************************************************/

// One image: its colours and its mask (WHITE = transparent).
struct Image {
    Pixels colour;
    Pixels mask;
};

}

struct ARCHIVORA_IMAGELIST {
    int cx { 0 };
    int cy { 0 };
    UINT flags { 0 };
    COLORREF crBk { CLR_NONE };
    std::vector<Image> images;
    std::array<int, 16> overlays {}; // overlay number -> image index, -1 when unset
    HBITMAP hbmStrip { nullptr };    // GetImageInfo's bitmaps, made on demand
    HBITMAP hbmStripMask { nullptr };

    ~ARCHIVORA_IMAGELIST() { DropStrips(); }
    bool HasMask() const { return (flags & ILC_MASK) != 0; }
    bool Valid(int i) const { return i >= 0 && i < static_cast<int>(images.size()); }
    void DropStrips()
    {
        DeleteObject(hbmStrip);
        DeleteObject(hbmStripMask);
        hbmStrip = hbmStripMask = nullptr;
    }
};

namespace {

struct ListTable {
    std::recursive_mutex mutex;
    std::map<HIMAGELIST, std::unique_ptr<ARCHIVORA_IMAGELIST>> lists;
};

ListTable& Lists()
{
    static ListTable table;
    return table;
}

// The live list behind the handle, else nullptr with ERROR_INVALID_HANDLE. The
// caller holds the table's lock.
ARCHIVORA_IMAGELIST* Lookup(HIMAGELIST himl)
{
    ListTable& table = Lists();
    auto it = table.lists.find(himl);
    if (it == table.lists.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return it->second.get();
}

std::unique_lock<std::recursive_mutex> LockLists()
{
    return std::unique_lock(Lists().mutex);
}

// Cuts a picture and its mask into images of the list's size; the mask may be
// empty (opaque). A picture narrower than one image still gives one.
std::vector<Image> CutImages(const ARCHIVORA_IMAGELIST& list, const Pixels& colour, const Pixels& mask)
{
    std::vector<Image> images;
    int nCount = std::max(1, colour.cx / list.cx);
    for (int n = 0; n < nCount; ++n) {
        Image image;
        image.colour = Pixels { list.cx, list.cy, std::vector<uint32_t>(static_cast<size_t>(list.cx) * list.cy, 0) };
        image.mask = Pixels { list.cx, list.cy, std::vector<uint32_t>(image.colour.px.size(), 0) };
        for (int y = 0; y < std::min(list.cy, colour.cy); ++y) {
            for (int x = 0; x < list.cx && n * list.cx + x < colour.cx; ++x) {
                image.colour.At(x, y) = colour.At(n * list.cx + x, y);
                bool bClear = list.HasMask() && !mask.px.empty() && n * list.cx + x < mask.cx && y < mask.cy
                    && mask.At(n * list.cx + x, y) != 0;
                image.mask.At(x, y) = bClear ? WHITE : 0;
            }
        }
        images.push_back(std::move(image));
    }
    return images;
}

int AddImages(HIMAGELIST himl, const Pixels& colour, const Pixels& mask)
{
    auto lock = LockLists();
    ARCHIVORA_IMAGELIST* pList = Lookup(himl);
    if (!pList)
        return -1;
    if (colour.px.empty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    int nFirst = static_cast<int>(pList->images.size());
    for (Image& image : CutImages(*pList, colour, mask))
        pList->images.push_back(std::move(image));
    pList->DropStrips();
    return nFirst;
}

// The image as the list draws it: the image, blending and the mask applied
// over `crBk` (CLR_NONE keeps masked pixels out of `bOpaque`).
struct Composed {
    Pixels colour;
    std::vector<bool> opaque;
};

void Compose(
    const ARCHIVORA_IMAGELIST& list, const Image& image, UINT fStyle, COLORREF crBk, COLORREF crFg, Composed& out)
{
    int nBlend = (fStyle & ILD_BLEND50) ? 2 : (fStyle & ILD_BLEND25) ? 1 : 0;
    uint32_t nFg = PixelOf(crFg == CLR_DEFAULT || crFg == CLR_NONE ? GetSysColor(COLOR_HIGHLIGHT) : crFg);
    bool bMasked = list.HasMask() && ((fStyle & ILD_TRANSPARENT) || crBk == CLR_NONE);
    out.colour = image.colour;
    out.opaque.assign(out.colour.px.size(), true);
    for (size_t n = 0; n < out.colour.px.size(); ++n) {
        bool bClear = list.HasMask() && image.mask.px[n] != 0;
        uint32_t& nPixel = out.colour.px[n];
        if (fStyle & ILD_MASK) {
            nPixel = bClear ? WHITE : 0;
            continue;
        }
        if (fStyle & ILD_IMAGE)
            continue;
        if (bClear) {
            if (bMasked)
                out.opaque[n] = false;
            else
                nPixel = PixelOf(crBk);
            continue;
        }
        if (nBlend && crFg != CLR_NONE)
            nPixel = Mix(nPixel, nFg, nBlend);
    }
}

// Lays the composed pixels over the destination at (x, y), cx x cy of them.
BOOL Paint(HDC hdc, int x, int y, int cx, int cy, const Composed& composed)
{
    // A whole image without clear pixels goes straight from its pixels onto a
    // colour target (a monochrome one maps colours as a transfer between DCs does).
    if (cx == composed.colour.cx && cy == composed.colour.cy && GetDeviceCaps(hdc, BITSPIXEL) == 32
        && std::all_of(composed.opaque.begin(), composed.opaque.end(), [](bool b) { return b; })) {
        const BITMAPINFO info = TopDownInfo32(cx, cy);
        return StretchDIBits(hdc, x, y, cx, cy, 0, 0, cx, cy, composed.colour.px.data(), &info, DIB_RGB_COLORS, SRCCOPY)
            == cy;
    }
    HDC hdcWork = CreateCompatibleDC(hdc);
    HBITMAP hWork = CreateBitmap(cx, cy, 1, 32, nullptr);
    HGDIOBJ hOld = SelectObject(hdcWork, hWork);
    BOOL bDone = hWork && hOld && BitBlt(hdcWork, 0, 0, cx, cy, hdc, x, y, SRCCOPY);
    if (bDone) {
        Pixels dest = ReadBitmap(hWork);
        bDone = !dest.px.empty();
        for (int j = 0; bDone && j < cy; ++j) {
            for (int i = 0; i < cx; ++i) {
                size_t n = static_cast<size_t>(j) * composed.colour.cx + i;
                if (composed.opaque[n])
                    dest.At(i, j) = composed.colour.px[n];
            }
        }
        BITMAPINFO info = TopDownInfo32(cx, cy);
        bDone = bDone && SetDIBits(hdcWork, hWork, 0, cy, dest.px.data(), &info, DIB_RGB_COLORS) == cy
            && BitBlt(hdc, x, y, cx, cy, hdcWork, 0, 0, SRCCOPY);
    }
    if (hOld)
        SelectObject(hdcWork, hOld);
    DeleteDC(hdcWork);
    DeleteObject(hWork);
    return bDone;
}

}

/*************************************************************************
 * Making and freeing lists
 *************************************************************************/

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int cInitial, int cGrow)
{
    (void)cGrow; // storage grows as needed
    if (cx < 1 || cy < 1 || cInitial < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto pList = std::make_unique<ARCHIVORA_IMAGELIST>();
    pList->cx = cx;
    pList->cy = cy;
    pList->flags = flags;
    pList->overlays.fill(-1);
    pList->images.reserve(static_cast<size_t>(std::min(cInitial, 1024)));
    HIMAGELIST himl = pList.get();
    auto lock = LockLists();
    Lists().lists.emplace(himl, std::move(pList));
    return himl;
}

BOOL ImageList_Destroy(HIMAGELIST himl)
{
    auto lock = LockLists();
    if (!Lookup(himl))
        return FALSE;
    Lists().lists.erase(himl);
    return TRUE;
}

HIMAGELIST ImageList_LoadImage(HINSTANCE hi, LPCTSTR lpbmp, int cx, int cGrow, COLORREF crMask, UINT uType, UINT uFlags)
{
    if (uType != IMAGE_BITMAP) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    HBITMAP hBitmap = (uFlags & LR_LOADFROMFILE) ? LoadPictureFile(lpbmp) : LoadBitmap(hi, lpbmp);
    if (!hBitmap)
        return nullptr;
    BITMAP bm {};
    GetObject(hBitmap, sizeof(bm), &bm);
    if (cx <= 0)
        cx = bm.bmHeight;
    UINT flags = ILC_COLOR32 | (crMask != CLR_NONE ? ILC_MASK : 0);
    HIMAGELIST himl = ImageList_Create(cx, bm.bmHeight, flags, std::max(1, bm.bmWidth / cx), cGrow);
    int nFirst = -1;
    if (himl)
        nFirst
            = crMask != CLR_NONE ? ImageList_AddMasked(himl, hBitmap, crMask) : ImageList_Add(himl, hBitmap, nullptr);
    DeleteObject(hBitmap);
    if (himl && nFirst < 0) {
        ImageList_Destroy(himl);
        return nullptr;
    }
    return himl;
}

HIMAGELIST ImageList_Merge(HIMAGELIST himl1, int i1, HIMAGELIST himl2, int i2, int dx, int dy)
{
    auto lock = LockLists();
    ARCHIVORA_IMAGELIST* pFirst = Lookup(himl1);
    ARCHIVORA_IMAGELIST* pSecond = Lookup(himl2);
    if (!pFirst || !pSecond)
        return nullptr;
    if (!pFirst->Valid(i1) || !pSecond->Valid(i2)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // Both images in the merged frame: the first at (x1, y1), the second at (x2, y2).
    int x1 = std::max(0, -dx);
    int y1 = std::max(0, -dy);
    int x2 = std::max(0, dx);
    int y2 = std::max(0, dy);
    int cx = std::max(x1 + pFirst->cx, x2 + pSecond->cx);
    int cy = std::max(y1 + pFirst->cy, y2 + pSecond->cy);
    Pixels colour { cx, cy, std::vector<uint32_t>(static_cast<size_t>(cx) * cy, 0) };
    Pixels mask { cx, cy, std::vector<uint32_t>(colour.px.size(), WHITE) };
    auto layer = [&](const ARCHIVORA_IMAGELIST& list, const Image& image, int x0, int y0) {
        for (int y = 0; y < list.cy; ++y) {
            for (int x = 0; x < list.cx; ++x) {
                if (list.HasMask() && image.mask.At(x, y) != 0)
                    continue;
                colour.At(x0 + x, y0 + y) = image.colour.At(x, y);
                mask.At(x0 + x, y0 + y) = 0;
            }
        }
    };
    layer(*pFirst, pFirst->images[static_cast<size_t>(i1)], x1, y1);
    layer(*pSecond, pSecond->images[static_cast<size_t>(i2)], x2, y2);
    HIMAGELIST himl = ImageList_Create(cx, cy, ILC_MASK | ILC_COLOR32, 1, 1);
    if (himl && AddImages(himl, colour, mask) < 0) {
        ImageList_Destroy(himl);
        return nullptr;
    }
    return himl;
}

/*************************************************************************
 * Adding, replacing and removing images
 *************************************************************************/

int ImageList_Add(HIMAGELIST himl, HBITMAP hbmImage, HBITMAP hbmMask)
{
    Pixels colour = ReadBitmap(hbmImage);
    Pixels mask = hbmMask ? ReadBitmap(hbmMask) : Pixels {};
    return AddImages(himl, colour, mask);
}

int ImageList_AddMasked(HIMAGELIST himl, HBITMAP hbmImage, COLORREF crMask)
{
    Pixels colour = ReadBitmap(hbmImage);
    Pixels mask { colour.cx, colour.cy, std::vector<uint32_t>(colour.px.size(), 0) };
    uint32_t nMask = PixelOf(crMask);
    for (size_t n = 0; n < colour.px.size(); ++n) {
        if (colour.px[n] == nMask) {
            mask.px[n] = WHITE;
            colour.px[n] = 0; // masked pixels turn black, so XOR drawing leaves the background alone
        }
    }
    return AddImages(himl, colour, mask);
}

int ImageList_ReplaceIcon(HIMAGELIST himl, int i, HICON hicon)
{
    ICONINFO info {};
    int cx = 0;
    int cy = 0;
    if (!ImageList_GetIconSize(himl, &cx, &cy) || !GetIconInfo(hicon, &info))
        return -1;
    // Draw the icon at the list's size: its image, and its mask.
    HDC hdc = CreateCompatibleDC(nullptr);
    HBITMAP hColour = CreateBitmap(cx, cy, 1, 32, nullptr);
    HBITMAP hMask = CreateBitmap(cx, cy, 1, 1, nullptr);
    HGDIOBJ hOld = SelectObject(hdc, hColour);
    bool bDrawn = hOld && DrawIconEx(hdc, 0, 0, hicon, cx, cy, 0, nullptr, DI_IMAGE);
    SelectObject(hdc, hMask);
    bDrawn = bDrawn && DrawIconEx(hdc, 0, 0, hicon, cx, cy, 0, nullptr, DI_MASK);
    SelectObject(hdc, hOld);
    DeleteDC(hdc);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    Pixels colour = ReadBitmap(hColour);
    Pixels mask = ReadBitmap(hMask);
    DeleteObject(hColour);
    DeleteObject(hMask);
    if (!bDrawn || colour.px.empty() || mask.px.empty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    if (i == -1)
        return AddImages(himl, colour, mask);
    auto lock = LockLists();
    ARCHIVORA_IMAGELIST* pList = Lookup(himl);
    if (!pList)
        return -1;
    if (!pList->Valid(i)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    pList->images[static_cast<size_t>(i)] = std::move(CutImages(*pList, colour, mask).front());
    pList->DropStrips();
    return i;
}

BOOL ImageList_Replace(HIMAGELIST himl, int i, HBITMAP hbmImage, HBITMAP hbmMask)
{
    Pixels colour = ReadBitmap(hbmImage);
    Pixels mask = hbmMask ? ReadBitmap(hbmMask) : Pixels {};
    auto lock = LockLists();
    ARCHIVORA_IMAGELIST* pList = Lookup(himl);
    if (!pList)
        return FALSE;
    if (!pList->Valid(i) || colour.px.empty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    pList->images[static_cast<size_t>(i)] = std::move(CutImages(*pList, colour, mask).front());
    pList->DropStrips();
    return TRUE;
}

BOOL ImageList_Copy(HIMAGELIST himlDst, int iDst, HIMAGELIST himlSrc, int iSrc, UINT uFlags)
{
    auto lock = LockLists();
    ARCHIVORA_IMAGELIST* pDst = Lookup(himlDst);
    ARCHIVORA_IMAGELIST* pSrc = Lookup(himlSrc);
    if (!pDst || !pSrc)
        return FALSE;
    if (!pDst->Valid(iDst) || !pSrc->Valid(iSrc) || (uFlags != ILCF_MOVE && uFlags != ILCF_SWAP) || pDst->cx != pSrc->cx
        || pDst->cy != pSrc->cy) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Image& dst = pDst->images[static_cast<size_t>(iDst)];
    Image& src = pSrc->images[static_cast<size_t>(iSrc)];
    if (uFlags == ILCF_SWAP)
        std::swap(dst, src);
    else if (&dst != &src)
        dst = src;
    pDst->DropStrips();
    pSrc->DropStrips();
    return TRUE;
}

BOOL ImageList_Remove(HIMAGELIST himl, int i)
{
    auto lock = LockLists();
    ARCHIVORA_IMAGELIST* pList = Lookup(himl);
    if (!pList)
        return FALSE;
    if (i == -1) {
        pList->images.clear();
    } else if (pList->Valid(i)) {
        pList->images.erase(pList->images.begin() + i);
    } else {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    pList->DropStrips();
    return TRUE;
}

/*************************************************************************
 * Describing
 *************************************************************************/

int ImageList_GetImageCount(HIMAGELIST himl)
{
    auto lock = LockLists();
    ARCHIVORA_IMAGELIST* pList = Lookup(himl);
    return pList ? static_cast<int>(pList->images.size()) : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy)
{
    auto lock = LockLists();
    ARCHIVORA_IMAGELIST* pList = Lookup(himl);
    if (!pList)
        return FALSE;
    if (!cx || !cy) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *cx = pList->cx;
    *cy = pList->cy;
    return TRUE;
}

BOOL ImageList_GetImageInfo(HIMAGELIST himl, int i, IMAGEINFO* pImageInfo)
{
    auto lock = LockLists();
    ARCHIVORA_IMAGELIST* pList = Lookup(himl);
    if (!pList)
        return FALSE;
    if (!pList->Valid(i) || !pImageInfo) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!pList->hbmStrip) {
        int nCount = static_cast<int>(pList->images.size());
        Pixels strip { pList->cx * nCount, pList->cy, {} };
        strip.px.resize(static_cast<size_t>(strip.cx) * strip.cy);
        Pixels stripMask = strip;
        for (int n = 0; n < nCount; ++n) {
            const Image& image = pList->images[static_cast<size_t>(n)];
            for (int y = 0; y < pList->cy; ++y) {
                for (int x = 0; x < pList->cx; ++x) {
                    strip.At(n * pList->cx + x, y) = image.colour.At(x, y);
                    stripMask.At(n * pList->cx + x, y) = image.mask.At(x, y);
                }
            }
        }
        pList->hbmStrip = MakeBitmap(strip, false);
        if (pList->HasMask())
            pList->hbmStripMask = MakeBitmap(stripMask, true);
    }
    *pImageInfo = IMAGEINFO {};
    pImageInfo->hbmImage = pList->hbmStrip;
    pImageInfo->hbmMask = pList->hbmStripMask;
    pImageInfo->rcImage = RECT { i * pList->cx, 0, (i + 1) * pList->cx, pList->cy };
    return TRUE;
}

HICON ImageList_GetIcon(HIMAGELIST himl, int i, UINT flags)
{
    Composed composed;
    {
        auto lock = LockLists();
        ARCHIVORA_IMAGELIST* pList = Lookup(himl);
        if (!pList)
            return nullptr;
        if (!pList->Valid(i)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        Compose(*pList, pList->images[static_cast<size_t>(i)], ILD_TRANSPARENT, CLR_NONE, CLR_NONE, composed);
        int iOverlay = pList->overlays[(flags & ILD_OVERLAYMASK) >> 8];
        if ((flags & ILD_OVERLAYMASK) && pList->Valid(iOverlay)) {
            Composed overlay;
            Compose(*pList, pList->images[static_cast<size_t>(iOverlay)], ILD_TRANSPARENT, CLR_NONE, CLR_NONE, overlay);
            for (size_t n = 0; n < overlay.opaque.size(); ++n) {
                if (overlay.opaque[n]) {
                    composed.colour.px[n] = overlay.colour.px[n];
                    composed.opaque[n] = true;
                }
            }
        }
    }
    Pixels mask { composed.colour.cx, composed.colour.cy, std::vector<uint32_t>(composed.colour.px.size(), 0) };
    for (size_t n = 0; n < mask.px.size(); ++n) {
        if (!composed.opaque[n]) {
            mask.px[n] = WHITE;
            composed.colour.px[n] = 0;
        }
    }
    ICONINFO info { TRUE, 0, 0, MakeBitmap(mask, true), MakeBitmap(composed.colour, false) };
    HICON hIcon = info.hbmMask && info.hbmColor ? CreateIconIndirect(&info) : nullptr;
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    return hIcon;
}

COLORREF ImageList_SetBkColor(HIMAGELIST himl, COLORREF clrBk)
{
    auto lock = LockLists();
    ARCHIVORA_IMAGELIST* pList = Lookup(himl);
    if (!pList)
        return CLR_NONE;
    return std::exchange(pList->crBk, clrBk);
}

COLORREF ImageList_GetBkColor(HIMAGELIST himl)
{
    auto lock = LockLists();
    ARCHIVORA_IMAGELIST* pList = Lookup(himl);
    return pList ? pList->crBk : CLR_NONE;
}

BOOL ImageList_SetOverlayImage(HIMAGELIST himl, int iImage, int iOverlay)
{
    auto lock = LockLists();
    ARCHIVORA_IMAGELIST* pList = Lookup(himl);
    if (!pList)
        return FALSE;
    if (!pList->Valid(iImage) || iOverlay < 1 || iOverlay > 15) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    pList->overlays[static_cast<size_t>(iOverlay)] = iImage;
    return TRUE;
}

/*************************************************************************
 * Drawing
 *************************************************************************/

BOOL ImageList_Draw(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, UINT fStyle)
{
    return ImageList_DrawEx(himl, i, hdcDst, x, y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, fStyle);
}

BOOL ImageList_DrawEx(
    HIMAGELIST himl, int i, HDC hdcDst, int x, int y, int dx, int dy, COLORREF rgbBk, COLORREF rgbFg, UINT fStyle)
{
    Composed composed;
    Composed overlay;
    bool bOverlay = false;
    {
        auto lock = LockLists();
        ARCHIVORA_IMAGELIST* pList = Lookup(himl);
        if (!pList)
            return FALSE;
        if (!pList->Valid(i) || GetObjectType(hdcDst) == 0) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        COLORREF crBk = rgbBk == CLR_DEFAULT ? pList->crBk : rgbBk;
        Compose(*pList, pList->images[static_cast<size_t>(i)], fStyle, crBk, rgbFg, composed);
        int iOverlay = pList->overlays[(fStyle & ILD_OVERLAYMASK) >> 8];
        if ((fStyle & ILD_OVERLAYMASK) && pList->Valid(iOverlay)) {
            // The overlay always goes on transparently, unblended.
            Compose(*pList, pList->images[static_cast<size_t>(iOverlay)], ILD_TRANSPARENT, CLR_NONE, CLR_NONE, overlay);
            bOverlay = true;
        }
    }
    int cx = dx > 0 ? std::min(dx, composed.colour.cx) : composed.colour.cx;
    int cy = dy > 0 ? std::min(dy, composed.colour.cy) : composed.colour.cy;
    if (bOverlay) {
        for (size_t n = 0; n < overlay.opaque.size(); ++n) {
            if (overlay.opaque[n]) {
                composed.colour.px[n] = overlay.colour.px[n];
                composed.opaque[n] = true;
            }
        }
    }
    return Paint(hdcDst, x, y, cx, cy, composed);
}
