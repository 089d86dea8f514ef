#pragma once

// The handles, colours and structures of the drawing layer, with the documented
// values of their constants.

#include "platform/base/WinTypes.h"

/* Handles. Every kind converts to HGDIOBJ, as with STRICT. */

using HGDIOBJ = void*;
ARCHIVORA_DECLARE_HANDLE(HDC);
ARCHIVORA_DECLARE_HANDLE(HPEN);
ARCHIVORA_DECLARE_HANDLE(HBRUSH);
ARCHIVORA_DECLARE_HANDLE(HFONT);
ARCHIVORA_DECLARE_HANDLE(HRGN);
ARCHIVORA_DECLARE_HANDLE(HPALETTE);

/* Colours. A COLORREF is 0x00BBGGRR. The high byte marks palette-relative
   (0x02) and palette-index (0x01) colours; on a true-colour surface both are
   mapped to plain colours. */

constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b)
{
    return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) | (static_cast<COLORREF>(b) << 16);
}
constexpr BYTE GetRValue(COLORREF cr)
{
    return static_cast<BYTE>(cr & 0xFF);
}
constexpr BYTE GetGValue(COLORREF cr)
{
    return static_cast<BYTE>((cr >> 8) & 0xFF);
}
constexpr BYTE GetBValue(COLORREF cr)
{
    return static_cast<BYTE>((cr >> 16) & 0xFF);
}
constexpr COLORREF PALETTERGB(BYTE r, BYTE g, BYTE b)
{
    return 0x02000000 | RGB(r, g, b);
}
constexpr COLORREF PALETTEINDEX(WORD i)
{
    return 0x01000000 | i;
}
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

/* Logical descriptions of objects, as GetObject returns them. */

constexpr int LF_FACESIZE = 32;

struct LOGPEN {
    UINT lopnStyle;
    POINT lopnWidth; // only x is used
    COLORREF lopnColor;
};

struct LOGBRUSH {
    UINT lbStyle;
    COLORREF lbColor;
    ULONG_PTR lbHatch; // HS_* for hatched brushes, the HBITMAP for pattern brushes
};

struct LOGFONT {
    LONG lfHeight; // < 0: character (em) height; > 0: cell height; 0: default
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    TCHAR lfFaceName[LF_FACESIZE];
};
using LPLOGFONT = LOGFONT*;

struct TEXTMETRIC {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
    LONG tmOverhang;
    LONG tmDigitizedAspectX;
    LONG tmDigitizedAspectY;
    TCHAR tmFirstChar;
    TCHAR tmLastChar;
    TCHAR tmDefaultChar;
    TCHAR tmBreakChar;
    BYTE tmItalic;
    BYTE tmUnderlined;
    BYTE tmStruckOut;
    BYTE tmPitchAndFamily;
    BYTE tmCharSet;
};
using LPTEXTMETRIC = TEXTMETRIC*;

struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes; // bytes per row, a multiple of 2
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits; // the pixels of a DIB section, else NULL
};

struct RGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};

struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight; // > 0: rows bottom-up; < 0: top-down
    WORD biPlanes;
    WORD biBitCount;     // 1, 4, 8, 24 or 32
    DWORD biCompression; // BI_RGB
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed; // 0: 2^biBitCount colours for 1, 4 and 8 bits
    DWORD biClrImportant;
};

struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1]; // the colour table follows the header
};

struct PALETTEENTRY {
    BYTE peRed;
    BYTE peGreen;
    BYTE peBlue;
    BYTE peFlags;
};

struct LOGPALETTE {
    WORD palVersion;
    WORD palNumEntries;
    PALETTEENTRY palPalEntry[1];
};

// clang-format off

/* Object types (GetObjectType). */
constexpr DWORD OBJ_PEN     = 1;
constexpr DWORD OBJ_BRUSH   = 2;
constexpr DWORD OBJ_DC      = 3;
constexpr DWORD OBJ_PAL     = 5;
constexpr DWORD OBJ_FONT    = 6;
constexpr DWORD OBJ_BITMAP  = 7;
constexpr DWORD OBJ_REGION  = 8;
constexpr DWORD OBJ_MEMDC   = 10;

/* Stock objects (GetStockObject). */
constexpr int WHITE_BRUSH         = 0;
constexpr int LTGRAY_BRUSH        = 1;
constexpr int GRAY_BRUSH          = 2;
constexpr int DKGRAY_BRUSH        = 3;
constexpr int BLACK_BRUSH         = 4;
constexpr int NULL_BRUSH          = 5;
constexpr int HOLLOW_BRUSH        = NULL_BRUSH;
constexpr int WHITE_PEN           = 6;
constexpr int BLACK_PEN           = 7;
constexpr int NULL_PEN            = 8;
constexpr int OEM_FIXED_FONT      = 10;
constexpr int ANSI_FIXED_FONT     = 11;
constexpr int ANSI_VAR_FONT       = 12;
constexpr int SYSTEM_FONT         = 13;
constexpr int DEVICE_DEFAULT_FONT = 14;
constexpr int DEFAULT_PALETTE     = 15;
constexpr int SYSTEM_FIXED_FONT   = 16;
constexpr int DEFAULT_GUI_FONT    = 17;

/* Pen styles. */
constexpr UINT PS_SOLID       = 0;
constexpr UINT PS_DASH        = 1;
constexpr UINT PS_DOT         = 2;
constexpr UINT PS_DASHDOT     = 3;
constexpr UINT PS_DASHDOTDOT  = 4;
constexpr UINT PS_NULL        = 5;
constexpr UINT PS_INSIDEFRAME = 6;
constexpr UINT PS_STYLE_MASK  = 0x0000000F;

/* Brush styles and hatches. */
constexpr UINT BS_SOLID    = 0;
constexpr UINT BS_NULL     = 1;
constexpr UINT BS_HOLLOW   = BS_NULL;
constexpr UINT BS_HATCHED  = 2;
constexpr UINT BS_PATTERN  = 3;
constexpr int HS_HORIZONTAL = 0; // -----
constexpr int HS_VERTICAL   = 1; // |||||
constexpr int HS_FDIAGONAL  = 2; // \\\\\.
constexpr int HS_BDIAGONAL  = 3; // /////
constexpr int HS_CROSS      = 4; // +++++
constexpr int HS_DIAGCROSS  = 5; // xxxxx

/* Background modes. */
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE      = 2;

/* Binary raster operations for pens and brushes (SetROP2). */
constexpr int R2_BLACK       = 1;  // 0
constexpr int R2_NOTMERGEPEN = 2;  // ~(D | P)
constexpr int R2_MASKNOTPEN  = 3;  // D & ~P
constexpr int R2_NOTCOPYPEN  = 4;  // ~P
constexpr int R2_MASKPENNOT  = 5;  // P & ~D
constexpr int R2_NOT         = 6;  // ~D
constexpr int R2_XORPEN      = 7;  // D ^ P
constexpr int R2_NOTMASKPEN  = 8;  // ~(D & P)
constexpr int R2_MASKPEN     = 9;  // D & P
constexpr int R2_NOTXORPEN   = 10; // ~(D ^ P)
constexpr int R2_NOP         = 11; // D
constexpr int R2_MERGENOTPEN = 12; // D | ~P
constexpr int R2_COPYPEN     = 13; // P
constexpr int R2_MERGEPENNOT = 14; // P | ~D
constexpr int R2_MERGEPEN    = 15; // D | P
constexpr int R2_WHITE       = 16; // 1

/* Ternary raster operations (BitBlt, PatBlt, StretchBlt). Bits 16-23 are the
   result for each combination of pattern, source and destination bits. */
constexpr DWORD SRCCOPY     = 0x00CC0020;
constexpr DWORD SRCPAINT    = 0x00EE0086;
constexpr DWORD SRCAND      = 0x008800C6;
constexpr DWORD SRCINVERT   = 0x00660046;
constexpr DWORD SRCERASE    = 0x00440328;
constexpr DWORD NOTSRCCOPY  = 0x00330008;
constexpr DWORD NOTSRCERASE = 0x001100A6;
constexpr DWORD MERGECOPY   = 0x00C000CA;
constexpr DWORD MERGEPAINT  = 0x00BB0226;
constexpr DWORD PATCOPY     = 0x00F00021;
constexpr DWORD PATPAINT    = 0x00FB0A09;
constexpr DWORD PATINVERT   = 0x005A0049;
constexpr DWORD DSTINVERT   = 0x00550009;
constexpr DWORD BLACKNESS   = 0x00000042;
constexpr DWORD WHITENESS   = 0x00FF0062;

/* Stretching modes. */
constexpr int BLACKONWHITE = 1;
constexpr int WHITEONBLACK = 2;
constexpr int COLORONCOLOR = 3;
constexpr int HALFTONE     = 4;

/* Polygon fill modes. */
constexpr int ALTERNATE = 1;
constexpr int WINDING   = 2;

/* Mapping modes: only MM_TEXT is supported. */
constexpr int MM_TEXT = 1;

/* Regions: results and combine modes. */
constexpr int ERROR         = 0;
constexpr int NULLREGION    = 1;
constexpr int SIMPLEREGION  = 2;
constexpr int COMPLEXREGION = 3;
constexpr int RGN_AND  = 1;
constexpr int RGN_OR   = 2;
constexpr int RGN_XOR  = 3;
constexpr int RGN_DIFF = 4;
constexpr int RGN_COPY = 5;

/* Flood fill kinds. */
constexpr UINT FLOODFILLBORDER  = 0;
constexpr UINT FLOODFILLSURFACE = 1;

/* Bitmaps. */
constexpr DWORD BI_RGB  = 0;
constexpr UINT DIB_RGB_COLORS = 0;
constexpr UINT DIB_PAL_COLORS = 1;
constexpr DWORD CBM_INIT = 0x04;

// clang-format on
