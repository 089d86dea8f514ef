#pragma once

// Window message numbers, with their documented values.
//
// Ranges: 0 to WM_USER - 1 are the system's messages; WM_USER to 0x7FFF are a
// window class's own; WM_APP to 0xBFFF are the application's; 0xC000 to 0xFFFF
// are registered by name (RegisterWindowMessage).

#include "platform/base/WinTypes.h"

// clang-format off
/* Creation, destruction and state. */
constexpr UINT WM_NULL              = 0x0000;
constexpr UINT WM_CREATE            = 0x0001; // lParam: CREATESTRUCT*; return -1 to refuse
constexpr UINT WM_DESTROY           = 0x0002;
constexpr UINT WM_MOVE              = 0x0003; // lParam: client origin in parent coordinates
constexpr UINT WM_SIZE              = 0x0005; // wParam: SIZE_*; lParam: client width and height
constexpr UINT WM_ENABLE            = 0x000A; // wParam: TRUE when enabled
constexpr UINT WM_SETTEXT           = 0x000C; // lParam: the text; returns TRUE
constexpr UINT WM_GETTEXT           = 0x000D; // wParam: buffer size; lParam: buffer; returns length copied
constexpr UINT WM_GETTEXTLENGTH     = 0x000E;
constexpr UINT WM_CLOSE             = 0x0010;
constexpr UINT WM_QUIT              = 0x0012; // wParam: exit code; never sent to a window
constexpr UINT WM_SHOWWINDOW        = 0x0018; // wParam: TRUE when shown; lParam: 0 for ShowWindow
constexpr UINT WM_WINDOWPOSCHANGING = 0x0046; // lParam: WINDOWPOS*, may be changed
constexpr UINT WM_WINDOWPOSCHANGED  = 0x0047; // lParam: WINDOWPOS*
constexpr UINT WM_STYLECHANGING     = 0x007C; // wParam: GWL_STYLE or GWL_EXSTYLE; lParam: STYLESTRUCT*
constexpr UINT WM_STYLECHANGED      = 0x007D;
constexpr UINT WM_NCCREATE          = 0x0081; // lParam: CREATESTRUCT*; return FALSE to refuse
constexpr UINT WM_NCDESTROY         = 0x0082; // the last message a window receives

/* Keyboard. */
constexpr UINT WM_KEYFIRST          = 0x0100;
constexpr UINT WM_KEYDOWN           = 0x0100;
constexpr UINT WM_KEYUP             = 0x0101;
constexpr UINT WM_CHAR              = 0x0102;
constexpr UINT WM_SYSKEYDOWN        = 0x0104;
constexpr UINT WM_SYSKEYUP          = 0x0105;
constexpr UINT WM_SYSCHAR           = 0x0106;
constexpr UINT WM_KEYLAST           = 0x0109;

/* Commands and timers. */
constexpr UINT WM_COMMAND           = 0x0111;
constexpr UINT WM_TIMER             = 0x0113; // wParam: timer id; lParam: TIMERPROC or 0

/* Mouse. */
constexpr UINT WM_MOUSEFIRST        = 0x0200;
constexpr UINT WM_MOUSELAST         = 0x020E;

/* Ranges of private messages. */
constexpr UINT WM_USER              = 0x0400;
constexpr UINT WM_APP               = 0x8000;
constexpr UINT WM_REGISTERED_FIRST  = 0xC000; // first number RegisterWindowMessage gives
constexpr UINT WM_REGISTERED_LAST   = 0xFFFF;

/* WM_SIZE kinds. */
constexpr WPARAM SIZE_RESTORED      = 0;
constexpr WPARAM SIZE_MINIMIZED     = 1;
constexpr WPARAM SIZE_MAXIMIZED     = 2;
// clang-format on
