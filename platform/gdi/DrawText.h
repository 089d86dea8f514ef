#pragma once

// Text formatted in a rectangle: alignment, line and word breaks, tabs,
// '&' prefixes and ellipses. Fonts and measuring are in Text.h.

#include "platform/gdi/GdiTypes.h"

#include <string>
#include <string_view>

// clang-format off
constexpr UINT DT_TOP             = 0x00000000;
constexpr UINT DT_LEFT            = 0x00000000;
constexpr UINT DT_CENTER          = 0x00000001;
constexpr UINT DT_RIGHT           = 0x00000002;
constexpr UINT DT_VCENTER         = 0x00000004; // single lines only
constexpr UINT DT_BOTTOM          = 0x00000008; // single lines only
constexpr UINT DT_WORDBREAK       = 0x00000010;
constexpr UINT DT_SINGLELINE      = 0x00000020;
constexpr UINT DT_EXPANDTABS      = 0x00000040;
constexpr UINT DT_TABSTOP         = 0x00000080; // bits 8-15 give the tab width in average characters
constexpr UINT DT_NOCLIP          = 0x00000100;
constexpr UINT DT_EXTERNALLEADING = 0x00000200;
constexpr UINT DT_CALCRECT        = 0x00000400;
constexpr UINT DT_NOPREFIX        = 0x00000800;
constexpr UINT DT_INTERNAL        = 0x00001000;
constexpr UINT DT_EDITCONTROL     = 0x00002000;
constexpr UINT DT_PATH_ELLIPSIS   = 0x00004000;
constexpr UINT DT_END_ELLIPSIS    = 0x00008000;
constexpr UINT DT_MODIFYSTRING    = 0x00010000;
constexpr UINT DT_RTLREADING      = 0x00020000;
constexpr UINT DT_WORD_ELLIPSIS   = 0x00040000;
constexpr UINT DT_NOFULLWIDTHCHARBREAK = 0x00080000;
constexpr UINT DT_HIDEPREFIX      = 0x00100000;
constexpr UINT DT_PREFIXONLY      = 0x00200000;
// clang-format on

// Formats text in the rectangle by the DT_* flags and returns the height of
// the text (with DT_VCENTER or DT_BOTTOM, the distance from the rectangle's
// top to the text's bottom); 0 on failure. `cchText` -1 means NUL-terminated.
// '&' underlines the next character and "&&" shows one '&', unless
// DT_NOPREFIX. DT_CALCRECT measures without drawing: it sets the rectangle's
// right and bottom to fit the text. DT_MODIFYSTRING writes an ellipsis-cut
// line back into `lpchText`, which then needs room for four more bytes.
int DrawText(HDC hdc, LPCTSTR lpchText, int cchText, LPRECT lprc, UINT format);

// One line cut to nWidth pixels in hdc's font as DT_END_ELLIPSIS cuts it: the
// text itself when it fits, else its longest head of whole characters that
// fits with "..." after it, followed by "..." ("..." alone when nothing
// fits). '&' and tabs count as the characters they are. The text unchanged
// for a bad DC.
std::string EndEllipsisLine(HDC hdc, std::string_view text, int nWidth);
