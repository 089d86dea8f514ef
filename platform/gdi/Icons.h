#pragma once

// Icons and cursors as drawing objects. An icon is a pair of bitmaps of one
// size: an AND mask (monochrome; 1 where the background shows through) and an
// XOR colour image (black where the mask is 1). Drawing one combines them with
// the destination: dest = (dest AND mask) XOR colour. HCURSOR is the same kind
// of object; a cursor also carries its hot spot.

#include "platform/base/ResourceModule.h"
#include "platform/gdi/GdiTypes.h"

#include <cstddef>

struct ICONINFO {
    BOOL fIcon;     // TRUE for an icon, FALSE for a cursor
    DWORD xHotspot; // a cursor's hot spot; the centre for icons
    DWORD yHotspot;
    HBITMAP hbmMask;  // the AND mask, monochrome
    HBITMAP hbmColor; // the XOR image; NULL makes a monochrome icon whose mask holds both halves
};
using PICONINFO = ICONINFO*;

// clang-format off

/* DrawIconEx flags. */
constexpr UINT DI_MASK        = 0x0001; // draws the AND mask only
constexpr UINT DI_IMAGE       = 0x0002; // draws the colour image only, copied
constexpr UINT DI_NORMAL      = 0x0003; // the mask, then the image
constexpr UINT DI_COMPAT      = 0x0004;
constexpr UINT DI_DEFAULTSIZE = 0x0008; // a 0 width or height becomes the system icon size

/* LoadImage types and flags. */
constexpr UINT IMAGE_BITMAP = 0;
constexpr UINT IMAGE_ICON   = 1;
constexpr UINT IMAGE_CURSOR = 2;
constexpr UINT LR_DEFAULTCOLOR = 0x00000000;
constexpr UINT LR_LOADFROMFILE = 0x00000010;
constexpr UINT LR_DEFAULTSIZE  = 0x00000040;
constexpr UINT LR_CREATEDIBSECTION = 0x00002000; // bitmaps: a DIB section rather than a compatible bitmap
constexpr UINT LR_SHARED       = 0x00008000;

// clang-format on

/* Standard icons, for LoadIcon(NULL, ...). */
#define IDI_APPLICATION MAKEINTRESOURCE(32512)
#define IDI_HAND MAKEINTRESOURCE(32513)
#define IDI_QUESTION MAKEINTRESOURCE(32514)
#define IDI_EXCLAMATION MAKEINTRESOURCE(32515)
#define IDI_ASTERISK MAKEINTRESOURCE(32516)
#define IDI_WINLOGO MAKEINTRESOURCE(32517)
#define IDI_WARNING IDI_EXCLAMATION
#define IDI_ERROR IDI_HAND
#define IDI_INFORMATION IDI_ASTERISK

// The size icons are drawn at by default (SM_CXICON, SM_CYICON).
constexpr int ICON_DEFAULT_SIZE = 32;

/* Making and freeing icons. Each icon keeps private copies of its bitmaps. */

// NULL with ERROR_INVALID_PARAMETER without a mask, or when the colour image's
// size differs from the mask's.
HICON CreateIconIndirect(PICONINFO piconinfo);
// Fills `piconinfo` with new copies of the icon's bitmaps, which the caller deletes.
BOOL GetIconInfo(HICON hIcon, PICONINFO piconinfo);
HICON CopyIcon(HICON hIcon);
// Frees the icon. Standard and resource icons are shared: destroying one does nothing and gives TRUE.
BOOL DestroyIcon(HICON hIcon);
BOOL DestroyCursor(HCURSOR hCursor);

// An icon from picture bytes (PNG or any format the picture decoder reads): a
// pixel with alpha below 128 is transparent (mask 1, black colour), the others
// opaque. NULL with ERROR_INVALID_DATA for bytes that are no picture.
HICON CreateIconFromPicture(const void* pData, size_t cbData);

/* Loading. A module's icons are RT_ICON resources holding picture bytes. */

// A module's icon, or with `hInstance` NULL a standard icon IDI_*: simple
// shapes in the default size. NULL with the resource error when missing.
HICON LoadIcon(HINSTANCE hInstance, LPCTSTR lpIconName);
// IMAGE_BITMAP, IMAGE_ICON or IMAGE_CURSOR from the module (LR_LOADFROMFILE:
// from the program path `name`). A `cx`/`cy` other than 0 stretches the image.
// A bitmap is a compatible (colour) bitmap, or with LR_CREATEDIBSECTION a
// 32-bit top-down DIB section, whatever the depth of the picture it came from.
// A picture carries no hot spot: a cursor has it at its top-left pixel, where
// the cursor pictures draw the tip.
HANDLE LoadImage(HINSTANCE hInst, LPCTSTR name, UINT type, int cx, int cy, UINT fuLoad);

/* Drawing. */

// Draws the icon at its own size.
BOOL DrawIcon(HDC hDC, int x, int y, HICON hIcon);
// Draws the icon stretched to cx x cy (0 = its own size, or the default size
// with DI_DEFAULTSIZE) by the DI_* parts in `diFlags`. With `hbrFlickerFreeDraw`
// the drawing happens off-screen over that brush first, and the result is copied.
BOOL DrawIconEx(HDC hdc, int xLeft, int yTop, HICON hIcon, int cxWidth, int cyWidth, UINT istepIfAniCur,
    HBRUSH hbrFlickerFreeDraw, UINT diFlags);

/* Masked transfer. */

// Where `hbmMask` has a 1 bit, the foreground raster operation (the low three
// bytes of `dwRop`) combines source and destination; where it has a 0 bit, the
// background one (bits 24-31 of `dwRop`, moved to the ternary position). The
// mask must be monochrome. Without a mask this is BitBlt with the foreground operation.
BOOL MaskBlt(HDC hdcDest, int xDest, int yDest, int width, int height, HDC hdcSrc, int xSrc, int ySrc, HBITMAP hbmMask,
    int xMask, int yMask, DWORD dwRop);
constexpr DWORD MAKEROP4(DWORD fore, DWORD back)
{
    return ((back << 8) & 0xFF000000) | fore;
}
