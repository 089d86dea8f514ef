#pragma once

// A window's show state with its restored (normal) place, as saved and restored by programs.
//
// showCmd: SW_SHOWMINIMIZED (2) while minimized, SW_SHOWMAXIMIZED (3) while
// maximized, SW_SHOWNORMAL (1) otherwise, visibility aside. rcNormalPosition is
// where the window is when restored: in the parent's client coordinates for a
// child, in work-area coordinates for a top-level window.

#include "platform/window/WindowTypes.h"

struct WINDOWPLACEMENT {
    UINT length;
    UINT flags;
    UINT showCmd;
    POINT ptMinPosition;
    POINT ptMaxPosition;
    RECT rcNormalPosition;
};

BOOL GetWindowPlacement(HWND hWnd, WINDOWPLACEMENT* lpwndpl);
// Puts the window at rcNormalPosition and into the state showCmd names (shown by ShowWindow(showCmd)).
BOOL SetWindowPlacement(HWND hWnd, const WINDOWPLACEMENT* lpwndpl);
