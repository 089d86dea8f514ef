#pragma once

// Three-dimensional edges, focus rectangles and the standard frame controls
// (push buttons, check boxes, radio buttons, scroll arrows), drawn in the
// system's 3-D colours (SysColors.h): face, highlight, light, shadow and dark shadow.

#include "platform/gdi/GdiTypes.h"

// clang-format off
constexpr UINT BDR_RAISEDOUTER = 0x0001;
constexpr UINT BDR_SUNKENOUTER = 0x0002;
constexpr UINT BDR_RAISEDINNER = 0x0004;
constexpr UINT BDR_SUNKENINNER = 0x0008;
constexpr UINT BDR_OUTER       = BDR_RAISEDOUTER | BDR_SUNKENOUTER;
constexpr UINT BDR_INNER       = BDR_RAISEDINNER | BDR_SUNKENINNER;
constexpr UINT EDGE_RAISED     = BDR_RAISEDOUTER | BDR_RAISEDINNER;
constexpr UINT EDGE_SUNKEN     = BDR_SUNKENOUTER | BDR_SUNKENINNER;
constexpr UINT EDGE_ETCHED     = BDR_SUNKENOUTER | BDR_RAISEDINNER;
constexpr UINT EDGE_BUMP       = BDR_RAISEDOUTER | BDR_SUNKENINNER;

constexpr UINT BF_LEFT        = 0x0001;
constexpr UINT BF_TOP         = 0x0002;
constexpr UINT BF_RIGHT       = 0x0004;
constexpr UINT BF_BOTTOM      = 0x0008;
constexpr UINT BF_TOPLEFT     = BF_TOP | BF_LEFT;
constexpr UINT BF_TOPRIGHT    = BF_TOP | BF_RIGHT;
constexpr UINT BF_BOTTOMLEFT  = BF_BOTTOM | BF_LEFT;
constexpr UINT BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT;
constexpr UINT BF_RECT        = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
constexpr UINT BF_MIDDLE      = 0x0800; // fill the inside with the face colour
constexpr UINT BF_SOFT        = 0x1000;
constexpr UINT BF_ADJUST      = 0x2000; // shrink the rectangle by the border drawn
constexpr UINT BF_FLAT        = 0x4000; // shadow colour only
constexpr UINT BF_MONO        = 0x8000; // black only

constexpr UINT DFC_CAPTION = 1;
constexpr UINT DFC_MENU    = 2;
constexpr UINT DFC_SCROLL  = 3;
constexpr UINT DFC_BUTTON  = 4;

constexpr UINT DFCS_CAPTIONCLOSE      = 0x0000;
constexpr UINT DFCS_CAPTIONMIN        = 0x0001;
constexpr UINT DFCS_CAPTIONMAX        = 0x0002;
constexpr UINT DFCS_CAPTIONRESTORE    = 0x0003;
constexpr UINT DFCS_BUTTONCHECK      = 0x0000;
constexpr UINT DFCS_BUTTONRADIOIMAGE = 0x0001;
constexpr UINT DFCS_BUTTONRADIOMASK  = 0x0002;
constexpr UINT DFCS_BUTTONRADIO      = 0x0004;
constexpr UINT DFCS_BUTTON3STATE     = 0x0008;
constexpr UINT DFCS_BUTTONPUSH       = 0x0010;
constexpr UINT DFCS_SCROLLUP         = 0x0000;
constexpr UINT DFCS_SCROLLDOWN       = 0x0001;
constexpr UINT DFCS_SCROLLLEFT       = 0x0002;
constexpr UINT DFCS_SCROLLRIGHT      = 0x0003;
constexpr UINT DFCS_SCROLLCOMBOBOX   = 0x0005;
constexpr UINT DFCS_INACTIVE         = 0x0100;
constexpr UINT DFCS_PUSHED           = 0x0200;
constexpr UINT DFCS_CHECKED          = 0x0400;
constexpr UINT DFCS_TRANSPARENT      = 0x0800;
constexpr UINT DFCS_HOT              = 0x1000;
constexpr UINT DFCS_ADJUSTRECT       = 0x2000;
constexpr UINT DFCS_FLAT             = 0x4000;
constexpr UINT DFCS_MONO             = 0x8000;
// clang-format on

// Draws the borders `edge` names on the sides `grfFlags` names, outer border
// first; with BF_ADJUST, *qrc shrinks to the inside.
BOOL DrawEdge(HDC hdc, LPRECT qrc, UINT edge, UINT grfFlags);
// Inverts every other pixel of the rectangle's border, so a second call removes it.
BOOL DrawFocusRect(HDC hDC, const RECT* lprc);
// Draws a frame control of kind `uType` (DFC_BUTTON, DFC_SCROLL, or DFC_CAPTION
// with DFCS_CAPTIONCLOSE, _MIN, _MAX or _RESTORE) in state `uState`.
BOOL DrawFrameControl(HDC hdc, LPRECT lprc, UINT uType, UINT uState);
