#pragma once

// The mouse messages a window gets for moves and buttons, with their
// documented values: the window layer posts them to windows, and the tray
// reports them for its icons.

#include "platform/base/WinTypes.h"

// clang-format off
constexpr UINT WM_MOUSEMOVE         = 0x0200;
constexpr UINT WM_LBUTTONDOWN       = 0x0201;
constexpr UINT WM_LBUTTONUP         = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK     = 0x0203;
constexpr UINT WM_RBUTTONDOWN       = 0x0204;
constexpr UINT WM_RBUTTONUP         = 0x0205;
constexpr UINT WM_RBUTTONDBLCLK     = 0x0206;
constexpr UINT WM_MBUTTONDOWN       = 0x0207;
constexpr UINT WM_MBUTTONUP         = 0x0208;
constexpr UINT WM_MBUTTONDBLCLK     = 0x0209;
// clang-format on
