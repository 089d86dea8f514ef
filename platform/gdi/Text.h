#pragma once

// Fonts and text. Every face maps to one of three DejaVu families: "MS Sans
// Serif", "Microsoft Sans Serif", "MS Shell Dlg", "Tahoma", "Arial",
// "Helvetica", "System" and any other name to DejaVu Sans; "Courier New",
// "Courier", "Fixedsys", "Terminal" to DejaVu Sans Mono; "Times New Roman" to
// DejaVu Serif. Metrics are identical on every machine. Text is UTF-8 and
// counts are in bytes; a count of -1 means up to the terminating NUL where
// the function says so.

#include "platform/gdi/GdiTypes.h"

// clang-format off
constexpr LONG FW_DONTCARE   = 0;
constexpr LONG FW_THIN       = 100;
constexpr LONG FW_LIGHT      = 300;
constexpr LONG FW_NORMAL     = 400;
constexpr LONG FW_MEDIUM     = 500;
constexpr LONG FW_SEMIBOLD   = 600;
constexpr LONG FW_BOLD       = 700;
constexpr LONG FW_HEAVY      = 900;

constexpr BYTE ANSI_CHARSET        = 0;
constexpr BYTE DEFAULT_CHARSET     = 1;
constexpr BYTE OUT_DEFAULT_PRECIS  = 0;
constexpr BYTE CLIP_DEFAULT_PRECIS = 0;
constexpr BYTE DEFAULT_QUALITY     = 0;
constexpr BYTE DEFAULT_PITCH       = 0;
constexpr BYTE FIXED_PITCH         = 1;
constexpr BYTE VARIABLE_PITCH      = 2;
constexpr BYTE FF_DONTCARE         = 0x00;
constexpr BYTE FF_ROMAN            = 0x10;
constexpr BYTE FF_SWISS            = 0x20;
constexpr BYTE FF_MODERN           = 0x30;

constexpr UINT ETO_OPAQUE  = 0x0002; // fill the rectangle with the background colour
constexpr UINT ETO_CLIPPED = 0x0004; // clip the text to the rectangle

// clang-format on

/* Fonts. Width, escapement and orientation are accepted and ignored. */

HFONT CreateFontIndirect(const LOGFONT* lplf);
HFONT CreateFont(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight, DWORD bItalic,
    DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet, DWORD iOutPrecision, DWORD iClipPrecision, DWORD iQuality,
    DWORD iPitchAndFamily, LPCTSTR pszFaceName);
BOOL GetTextMetrics(HDC hdc, LPTEXTMETRIC lptm);
// Copies the selected font's face name; returns the bytes copied with the NUL,
// or the length needed when `lpName` is NULL.
int GetTextFace(HDC hdc, int c, LPTSTR lpName);

/* Measuring. Heights are the font's cell height. */

BOOL GetTextExtentPoint32(HDC hdc, LPCTSTR lpString, int c, LPSIZE psizl);
BOOL GetTextExtentPoint(HDC hdc, LPCTSTR lpString, int c, LPSIZE psizl);
// Also counts how many bytes fit within `nMaxExtent` (when `lpnFit` is given)
// and stores the extent after each byte (when `lpnDx` is given; the bytes of
// one character share the extent at its end).
BOOL GetTextExtentExPoint(
    HDC hdc, LPCTSTR lpszString, int cchString, int nMaxExtent, LPINT lpnFit, LPINT lpnDx, LPSIZE lpSize);
// The extent with tabs expanded: with no positions every 8 average character
// widths, with one every lpnTabStopPositions[0] pixels, else at the positions
// given and then every 8 average characters. Width in the low word, height in the high.
DWORD GetTabbedTextExtent(HDC hdc, LPCTSTR lpString, int chCount, int nTabPositions, const INT* lpnTabStopPositions);

/* Drawing. The text's cell is filled with the background colour when the
   background mode is OPAQUE. */

// Draws at (x, y) by the DC's text alignment.
BOOL TextOut(HDC hdc, int x, int y, LPCTSTR lpString, int c);
// `lprect` (with ETO_OPAQUE, ETO_CLIPPED) may be NULL; `lpDx` gives the
// advance after each byte.
BOOL ExtTextOut(HDC hdc, int x, int y, UINT options, const RECT* lprect, LPCTSTR lpString, UINT c, const INT* lpDx);
