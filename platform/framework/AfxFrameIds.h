#pragma once

// The frame layer's IDs and styles, with their documented values: window IDs
// of frame parts, the standard commands and strings, and frame styles.

#include "platform/base/WinTypes.h"

// clang-format off
/* Window IDs of the parts of a frame. */
constexpr UINT AFX_IDW_TOOLBAR      = 0xE800; // the main toolbar
constexpr UINT AFX_IDW_STATUS_BAR   = 0xE801; // the status bar: pane 0 shows prompts
constexpr UINT AFX_IDW_PANE_FIRST   = 0xE900; // the view (or splitter) that takes the client area
constexpr UINT AFX_IDW_PANE_LAST    = 0xE9FF;

/* Standard commands. */
constexpr UINT ID_SEPARATOR         = 0;
constexpr UINT ID_FILE_NEW          = 0xE100; // 57600
constexpr UINT ID_FILE_OPEN         = 0xE101;
constexpr UINT ID_EDIT_COPY         = 0xE122;
constexpr UINT ID_EDIT_CUT          = 0xE123;
constexpr UINT ID_EDIT_PASTE        = 0xE125;
constexpr UINT ID_APP_ABOUT         = 0xE140;
constexpr UINT ID_HELP_FINDER       = 0xE143;
constexpr UINT ID_HELP              = 0xE146;
constexpr UINT ID_DEFAULT_HELP      = 0xE147;

/* Standard strings. */
constexpr UINT AFX_IDS_IDLEMESSAGE  = 0xE001; // the status prompt while nothing is selected
constexpr UINT ID_INDICATOR_CAPS    = 0xE701;
constexpr UINT ID_INDICATOR_NUM     = 0xE702;
constexpr UINT ID_INDICATOR_SCRL    = 0xE703;

/* Help. */
constexpr DWORD_PTR HID_BASE_RESOURCE = 0x20000; // the help context of a resource is this + its ID
constexpr UINT HELP_CONTEXT         = 0x0001;
constexpr UINT HELP_FINDER          = 0x000B;

/* Frame styles (in the window style's low word, taken out before creation). */
constexpr DWORD FWS_ADDTOTITLE      = 0x8000; // the title shows the active document's name
constexpr DWORD FWS_PREFIXTITLE     = 0x4000; // the document name comes before the application's

/* The class library's private frame messages, beside those of AfxMessages.h. */
constexpr UINT WM_SIZEPARENT        = 0x0361; // lParam: AFX_SIZEPARENTPARAMS*, asks a bar for its edge
constexpr UINT WM_INITIALUPDATE     = 0x0364; // sent to a frame's descendants by InitialUpdateFrame
// clang-format on
