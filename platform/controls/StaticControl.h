#pragma once

// The "Static" control: a label, a picture, a filled rectangle or a frame.
//
// Text styles draw the window text by DrawText: SS_LEFT, SS_CENTER and
// SS_RIGHT wrap words and expand tabs; SS_LEFTNOWORDWRAP expands tabs on one
// line; SS_SIMPLE draws one line as it is. '&' underlines the next character
// unless SS_NOPREFIX. A disabled static draws its text in COLOR_GRAYTEXT.
// SS_BITMAP and SS_ICON draw the bitmap or icon set by STM_SETIMAGE (or
// STM_SETICON) at the top-left (centred with SS_CENTERIMAGE, which also keeps
// the control's size; otherwise the control takes the image's size); an icon
// is drawn through its mask, over the background. An SS_ICON control created
// with text loads the icon of that name (or "#<number>") from the instance it
// was created with. SS_OWNERDRAW sends WM_DRAWITEM (ODT_STATIC) to the parent
// instead of painting.
//
// Without SS_NOTIFY a static is transparent to the mouse (WM_NCHITTEST answers
// HTTRANSPARENT); with it a click sends STN_CLICKED, a double click STN_DBLCLK,
// and enabling or disabling it STN_ENABLE or STN_DISABLE.

#include "platform/gdi/Icons.h"
#include "platform/window/WindowTypes.h"

// clang-format off
/* Static styles: the kind in the low five bits, flags above. */
constexpr DWORD SS_LEFT           = 0x00000000;
constexpr DWORD SS_CENTER         = 0x00000001;
constexpr DWORD SS_RIGHT          = 0x00000002;
constexpr DWORD SS_ICON           = 0x00000003;
constexpr DWORD SS_BLACKRECT      = 0x00000004; // filled in COLOR_3DDKSHADOW
constexpr DWORD SS_GRAYRECT       = 0x00000005; // filled in COLOR_3DSHADOW
constexpr DWORD SS_WHITERECT      = 0x00000006; // filled in COLOR_3DHILIGHT
constexpr DWORD SS_BLACKFRAME     = 0x00000007; // a frame in the colours above
constexpr DWORD SS_GRAYFRAME      = 0x00000008;
constexpr DWORD SS_WHITEFRAME     = 0x00000009;
constexpr DWORD SS_USERITEM       = 0x0000000A;
constexpr DWORD SS_SIMPLE         = 0x0000000B;
constexpr DWORD SS_LEFTNOWORDWRAP = 0x0000000C;
constexpr DWORD SS_OWNERDRAW      = 0x0000000D;
constexpr DWORD SS_BITMAP         = 0x0000000E;
constexpr DWORD SS_ENHMETAFILE    = 0x0000000F;
constexpr DWORD SS_ETCHEDHORZ     = 0x00000010;
constexpr DWORD SS_ETCHEDVERT     = 0x00000011;
constexpr DWORD SS_ETCHEDFRAME    = 0x00000012;
constexpr DWORD SS_TYPEMASK       = 0x0000001F;
constexpr DWORD SS_NOPREFIX       = 0x00000080; // '&' is shown as it is
constexpr DWORD SS_NOTIFY         = 0x00000100;
constexpr DWORD SS_CENTERIMAGE    = 0x00000200;
constexpr DWORD SS_RIGHTJUST      = 0x00000400;
constexpr DWORD SS_REALSIZEIMAGE  = 0x00000800;
constexpr DWORD SS_SUNKEN         = 0x00001000;
constexpr DWORD SS_ENDELLIPSIS    = 0x00004000;
constexpr DWORD SS_PATHELLIPSIS   = 0x00008000;
constexpr DWORD SS_WORDELLIPSIS   = 0x0000C000;
constexpr DWORD SS_ELLIPSISMASK   = 0x0000C000;

/* Static messages. */
constexpr UINT STM_SETICON  = 0x0170; // wParam: HICON; returns the previous one
constexpr UINT STM_GETICON  = 0x0171;
constexpr UINT STM_SETIMAGE = 0x0172; // wParam: IMAGE_BITMAP or IMAGE_ICON; lParam: the handle; returns the previous one
constexpr UINT STM_GETIMAGE = 0x0173; // wParam: IMAGE_*

/* Static notifications (SS_NOTIFY). */
constexpr WORD STN_CLICKED = 0;
constexpr WORD STN_DBLCLK  = 1;
constexpr WORD STN_ENABLE  = 2;
constexpr WORD STN_DISABLE = 3;
// clang-format on

// The procedure of the "Static" class.
LRESULT CALLBACK StaticWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
