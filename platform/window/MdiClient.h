#pragma once

// The MDI client window: the child of a frame that holds its document
// windows ("MDI children", children of the client made with WS_EX_MDICHILD).
//
// Activation: one child at a time is the active one, and it is the first in
// the window order (GW_CHILD of the client). WM_MDIACTIVATE sends the old
// child, then the new one, WM_MDIACTIVATE with wParam the child losing
// activation and lParam the child gaining it; a destroyed active child hands
// activation to the next in the window order (or to none, which its own last
// WM_MDIACTIVATE tells it). While the active child is maximized, a child that
// becomes active is maximized in its place, and the frame's menu bar ends with
// the child's minimize, restore and close buttons (commands SC_MINIMIZE,
// SC_RESTORE and SC_CLOSE, which the frame passes to the child).
//
// Maximized children fill the client with their client area; their caption
// and frame lie outside the client's edges. A client made with WS_HSCROLL or
// WS_VSCROLL shows that scroll bar only while some child reaches beyond its
// client area; scrolling moves the children.
//
// Children's own procedures pass what they do not handle to DefMDIChildProc.

#include "platform/window/WindowTypes.h"

// clang-format off
/* MDI messages, sent to the client unless noted. */
constexpr UINT WM_CHILDACTIVATE     = 0x0022; // to a child that was activated, moved or sized
constexpr UINT WM_MDICREATE         = 0x0220; // lParam: MDICREATESTRUCT*; returns the new child
constexpr UINT WM_MDIDESTROY        = 0x0221; // wParam: the child
constexpr UINT WM_MDIACTIVATE       = 0x0222; // wParam: the child; to children: see above
constexpr UINT WM_MDIRESTORE        = 0x0223; // wParam: the child
constexpr UINT WM_MDINEXT           = 0x0224; // wParam: the child (NULL: the active one); lParam: TRUE for the previous
constexpr UINT WM_MDIMAXIMIZE       = 0x0225; // wParam: the child
constexpr UINT WM_MDIGETACTIVE      = 0x0229; // lParam: BOOL* set to whether it is maximized; returns the child
constexpr UINT WM_MDISETMENU        = 0x0230; // wParam: the frame's new menu (NULL: keep); returns the old one
constexpr UINT WM_MDIREFRESHMENU    = 0x0234; // redraws the frame's menu bar
// clang-format on

constexpr const char* MDICLIENT_CLASS = "MDIClient";

// The lpCreateParams of a client's CreateWindowEx.
struct CLIENTCREATESTRUCT {
    HMENU hWindowMenu; // the frame's window menu, or NULL
    UINT idFirstChild; // the ID of the first child
};

// The lParam of WM_MDICREATE.
struct MDICREATESTRUCT {
    LPCSTR szClass;
    LPCSTR szTitle;
    HANDLE hOwner;
    int x;
    int y;
    int cx;
    int cy;
    DWORD style;
    LPARAM lParam; // the child's lpCreateParams
};

// Registers the MDI client class (once). FALSE when it cannot be registered.
BOOL RegisterMdiClientClass();

// The default handling of an MDI child's messages: activation through the
// client on a click or WM_CHILDACTIVATE, the maximized size, and keeping the
// client's scroll bars in step as the child moves.
LRESULT DefMDIChildProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

// The place and size of a new child made with CW_USEDEFAULT: the next cascade
// step (one caption height down and right per child) at three quarters of the
// client's size.
RECT MdiCascadeRect(HWND hWndClient);
