#pragma once

// Shell_NotifyIcon: the program's icons in the desktop's notification area.
// The shell keeps a record of each icon the program added and hands it to the
// display's tray (CTrayHost). Without a tray no icon can be added, so a
// program that hides to the tray learns that it must not. Mouse input on an
// icon sets the cursor position to where it happened and posts the icon's
// callback message to its window, wParam the icon's uID and lParam the mouse
// message (WM_RBUTTONUP, WM_LBUTTONDBLCLK, ...). May be called from any thread.

#include "platform/base/WinTypes.h"

// The first form of the structure; any non-zero cbSize is accepted.
struct NOTIFYICONDATA {
    DWORD cbSize;
    HWND hWnd; // with uID, the icon's key
    UINT uID;
    UINT uFlags;           // NIF_*: which of the next three fields count
    UINT uCallbackMessage; // NIF_MESSAGE
    HICON hIcon;           // NIF_ICON; the tray takes a copy
    char szTip[64];        // NIF_TIP; UTF-8, cut to 63 bytes at a character boundary
};
using PNOTIFYICONDATA = NOTIFYICONDATA*;

// clang-format off
constexpr DWORD NIM_ADD        = 0x00000000; // show a new icon
constexpr DWORD NIM_MODIFY     = 0x00000001; // change the fields uFlags names
constexpr DWORD NIM_DELETE     = 0x00000002; // remove the icon
constexpr DWORD NIM_SETVERSION = 0x00000004; // not supported

constexpr UINT NIF_MESSAGE = 0x00000001;
constexpr UINT NIF_ICON    = 0x00000002;
constexpr UINT NIF_TIP     = 0x00000004;
constexpr UINT NIF_INFO    = 0x00000010; // balloons: not supported
// clang-format on

// TRUE when done. FALSE, with the last error set, for: NIM_ADD of a key that
// exists, or when there is no tray or it refuses; NIM_MODIFY or NIM_DELETE of
// an unknown key; NIM_MODIFY without a tray; balloons, NIM_SETVERSION and
// other messages, a null pData or a cbSize of 0 (ERROR_INVALID_PARAMETER).
// NIM_DELETE forgets the icon even when the tray has gone.
BOOL Shell_NotifyIcon(DWORD dwMessage, PNOTIFYICONDATA pData);
