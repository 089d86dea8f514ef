#pragma once

// The class library's private messages and command codes, with their
// documented values; the window messages themselves are in
// platform/window/Messages.h.

#include "platform/framework/CPoint.h"
#include "platform/window/Messages.h"

// clang-format off
/* The class library's private messages. */
constexpr UINT WM_CTLCOLOR          = 0x0019; // stands for every WM_CTLCOLOR* in message maps
constexpr UINT WM_SETMESSAGESTRING  = 0x0362; // wParam: string ID, or lParam: text, for the status bar
constexpr UINT WM_IDLEUPDATECMDUI   = 0x0363; // wParam: TRUE to disable commands without handlers
constexpr UINT WM_KICKIDLE          = 0x036A; // sent by modal loops when their queue is empty; lParam: idle count
constexpr UINT WM_REFLECT_BASE      = 0xBC00; // a notification reflected to its control is WM_REFLECT_BASE + message

/* Command codes of the class library's routing (OnCmdMsg). */
constexpr UINT CN_COMMAND          = 0;             // a command, or a notification code in the low word
constexpr UINT CN_UPDATE_COMMAND_UI = 0xFFFFFFFF;   // pExtra: CCmdUI*
// clang-format on
