#pragma once

// Image lists: numbered images of one size, each with an optional transparency
// mask, drawn whole or blended with a highlight colour, with overlay images on
// top. Indexes count from 0; -1 means "none" or, where stated, "all".

#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/Icons.h"

struct ARCHIVORA_IMAGELIST;
using HIMAGELIST = ARCHIVORA_IMAGELIST*;

struct IMAGEINFO {
    HBITMAP hbmImage; // the list's images side by side, owned by the list
    HBITMAP hbmMask;  // their masks, NULL without ILC_MASK
    int Unused1;
    int Unused2;
    RECT rcImage; // the image's place in both bitmaps
};

// clang-format off

/* Colours. */
constexpr COLORREF CLR_NONE    = 0xFFFFFFFF; // no background: masked pixels show the destination
constexpr COLORREF CLR_DEFAULT = 0xFF000000; // the list's background, or the highlight colour for blending

/* ImageList_Create flags. */
constexpr UINT ILC_MASK     = 0x00000001; // images have masks
constexpr UINT ILC_COLOR    = 0x00000000;
constexpr UINT ILC_COLORDDB = 0x000000FE;
constexpr UINT ILC_COLOR4   = 0x00000004;
constexpr UINT ILC_COLOR8   = 0x00000008;
constexpr UINT ILC_COLOR16  = 0x00000010;
constexpr UINT ILC_COLOR24  = 0x00000018;
constexpr UINT ILC_COLOR32  = 0x00000020;

/* Drawing styles. */
constexpr UINT ILD_NORMAL      = 0x00000000; // over the list's background colour, or masked when it is CLR_NONE
constexpr UINT ILD_TRANSPARENT = 0x00000001; // masked whatever the background colour
constexpr UINT ILD_BLEND25     = 0x00000002; // a quarter of the highlight colour mixed in
constexpr UINT ILD_FOCUS       = ILD_BLEND25;
constexpr UINT ILD_BLEND50     = 0x00000004; // half of the highlight colour mixed in
constexpr UINT ILD_SELECTED    = ILD_BLEND50;
constexpr UINT ILD_BLEND       = ILD_BLEND50;
constexpr UINT ILD_MASK        = 0x00000010; // the mask alone, black and white
constexpr UINT ILD_IMAGE       = 0x00000020; // the image alone, copied
constexpr UINT ILD_OVERLAYMASK = 0x00000F00; // the overlay number, from INDEXTOOVERLAYMASK

/* ImageList_Copy flags. */
constexpr UINT ILCF_MOVE = 0x00000000; // the source image is copied over the destination image
constexpr UINT ILCF_SWAP = 0x00000001; // the two images change places

// clang-format on

// The drawing style bits for overlay number `i` (1 to 15).
constexpr UINT INDEXTOOVERLAYMASK(UINT i)
{
    return i << 8;
}

/* Making and freeing lists. */

// A list of cx x cy images. `cInitial` and `cGrow` are sizing hints. NULL with
// ERROR_INVALID_PARAMETER for sizes below 1.
HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int cInitial, int cGrow);
BOOL ImageList_Destroy(HIMAGELIST himl);
// A list from the bitmap resource `lpbmp` cut into images `cx` wide; with
// `crMask` other than CLR_NONE, pixels of that colour are transparent. Only IMAGE_BITMAP loads.
HIMAGELIST ImageList_LoadImage(
    HINSTANCE hi, LPCTSTR lpbmp, int cx, int cGrow, COLORREF crMask, UINT uType, UINT uFlags);
// A new list of one image: image `i1` of the first list with image `i2` of the
// second drawn transparently over it, moved by (dx, dy); big enough for both.
HIMAGELIST ImageList_Merge(HIMAGELIST himl1, int i1, HIMAGELIST himl2, int i2, int dx, int dy);

/* Adding, replacing and removing images. Bitmaps are copied; the caller keeps them. */

// Adds as many images as fit across `hbmImage` (at least one), with the mask
// from `hbmMask` (NULL: opaque). Returns the first new index, -1 on failure.
int ImageList_Add(HIMAGELIST himl, HBITMAP hbmImage, HBITMAP hbmMask);
// Like ImageList_Add, with pixels of colour `crMask` transparent.
int ImageList_AddMasked(HIMAGELIST himl, HBITMAP hbmImage, COLORREF crMask);
// Replaces image `i` by the icon, or adds it when `i` is -1; the icon is
// stretched to the list's size. Returns the index, -1 on failure.
int ImageList_ReplaceIcon(HIMAGELIST himl, int i, HICON hicon);
inline int ImageList_AddIcon(HIMAGELIST himl, HICON hicon)
{
    return ImageList_ReplaceIcon(himl, -1, hicon);
}
BOOL ImageList_Replace(HIMAGELIST himl, int i, HBITMAP hbmImage, HBITMAP hbmMask);
// Copies image `iSrc` of `himlSrc` over image `iDst` of `himlDst` (ILCF_MOVE),
// or swaps the two (ILCF_SWAP), masks included. Both lists may be the same
// one; two lists must have the same image size. FALSE with
// ERROR_INVALID_PARAMETER for a bad index, flag or size.
BOOL ImageList_Copy(HIMAGELIST himlDst, int iDst, HIMAGELIST himlSrc, int iSrc, UINT uFlags);
// Removes image `i`, or every image for -1; later images move down.
BOOL ImageList_Remove(HIMAGELIST himl, int i);
inline BOOL ImageList_RemoveAll(HIMAGELIST himl)
{
    return ImageList_Remove(himl, -1);
}

/* Describing. */

int ImageList_GetImageCount(HIMAGELIST himl);
BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy);
BOOL ImageList_GetImageInfo(HIMAGELIST himl, int i, IMAGEINFO* pImageInfo);
// A new icon of image `i`; ILD_* flags other than the overlay are ignored.
HICON ImageList_GetIcon(HIMAGELIST himl, int i, UINT flags);
// Returns the previous background colour.
COLORREF ImageList_SetBkColor(HIMAGELIST himl, COLORREF clrBk);
COLORREF ImageList_GetBkColor(HIMAGELIST himl);
// Makes image `iImage` overlay number `iOverlay` (1 to 15).
BOOL ImageList_SetOverlayImage(HIMAGELIST himl, int iImage, int iOverlay);

/* Drawing. */

BOOL ImageList_Draw(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, UINT fStyle);
// Draws the top-left dx x dy of the image (0 = all of it) over `rgbBk` (CLR_DEFAULT:
// the list's colour, CLR_NONE: none), blending with `rgbFg` (CLR_DEFAULT: the
// highlight colour) when the style asks for it.
BOOL ImageList_DrawEx(
    HIMAGELIST himl, int i, HDC hdcDst, int x, int y, int dx, int dy, COLORREF rgbBk, COLORREF rgbFg, UINT fStyle);
