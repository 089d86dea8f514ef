#pragma once

// The "msctls_progress32" control: a bar filled in proportion to its position
// within its range (0..100 by default). Positions are clamped to the range,
// and stepping stops at the maximum rather than starting over, so a bar never
// empties itself at the end of a long run. A range whose maximum is not above
// its minimum draws an empty bar.

#include "platform/controls/CommonControls.h"

// clang-format off
constexpr const char* PROGRESS_CLASS = "msctls_progress32";

/* Progress styles. */
constexpr DWORD PBS_SMOOTH   = 0x01;
constexpr DWORD PBS_VERTICAL = 0x04;

/* Progress messages. */
constexpr UINT PBM_SETRANGE   = WM_USER + 1; // lParam: MAKELPARAM(min, max), 16 bits each; the old range likewise
constexpr UINT PBM_SETPOS     = WM_USER + 2; // wParam: the position; the old one
constexpr UINT PBM_DELTAPOS   = WM_USER + 3; // wParam: added to the position; the old one
constexpr UINT PBM_SETSTEP    = WM_USER + 4; // wParam: the step (10 at first); the old one
constexpr UINT PBM_STEPIT     = WM_USER + 5; // adds the step; the old position
constexpr UINT PBM_SETRANGE32 = WM_USER + 6; // wParam: min; lParam: max; the old range as PBM_SETRANGE gives it
constexpr UINT PBM_GETRANGE   = WM_USER + 7; // wParam: TRUE for the min; lParam: PBRANGE* or NULL
constexpr UINT PBM_GETPOS     = WM_USER + 8;
// clang-format on

struct PBRANGE {
    int iLow;
    int iHigh;
};
using PPBRANGE = PBRANGE*;

// The procedure of the "msctls_progress32" class.
LRESULT CALLBACK ProgressWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
