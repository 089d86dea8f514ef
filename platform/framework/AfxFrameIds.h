#pragma once

// The frame layer's IDs and styles, with their documented values: window IDs
// of frame parts, the standard commands and strings, and frame styles.

#include "platform/base/WinTypes.h"

// clang-format off
/* Window IDs of the parts of a frame. */
constexpr UINT AFX_IDW_TOOLBAR      = 0xE800; // the main toolbar
constexpr UINT AFX_IDW_STATUS_BAR   = 0xE801; // the status bar: pane 0 shows prompts
constexpr UINT AFX_IDW_DOCKBAR_TOP    = 0xE81B; // the dock sides a frame makes in EnableDocking
constexpr UINT AFX_IDW_DOCKBAR_LEFT   = 0xE81C;
constexpr UINT AFX_IDW_DOCKBAR_RIGHT  = 0xE81D;
constexpr UINT AFX_IDW_DOCKBAR_BOTTOM = 0xE81E;
constexpr UINT AFX_IDW_DOCKBAR_FLOAT  = 0xE81F; // the side inside a small floating frame
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

/* Control bar styles (CControlBar::SetBarStyle; Create takes them in the window style's low word). */
constexpr DWORD CBRS_FLOATING     = 0x0001; // the bar sits in a floating frame
constexpr DWORD CBRS_SIZE_FIXED   = 0x0002;
constexpr DWORD CBRS_SIZE_DYNAMIC = 0x0004; // the bar's size comes from CalcDynamicLayout
constexpr DWORD CBRS_HIDE_INPLACE = 0x0008;
constexpr DWORD CBRS_TOOLTIPS     = 0x0010; // tips from the commands' strings
constexpr DWORD CBRS_FLYBY        = 0x0020; // prompts in the status bar while the mouse rests on an item
constexpr DWORD CBRS_FLOAT_MULTI  = 0x0040;
constexpr DWORD CBRS_BORDER_3D    = 0x0080;
constexpr DWORD CBRS_BORDER_LEFT  = 0x0100;
constexpr DWORD CBRS_BORDER_TOP   = 0x0200;
constexpr DWORD CBRS_BORDER_RIGHT = 0x0400;
constexpr DWORD CBRS_BORDER_BOTTOM = 0x0800;
constexpr DWORD CBRS_BORDER_ANY   = 0x0F00;
constexpr DWORD CBRS_ALIGN_LEFT   = 0x1000;
constexpr DWORD CBRS_ALIGN_TOP    = 0x2000;
constexpr DWORD CBRS_ALIGN_RIGHT  = 0x4000;
constexpr DWORD CBRS_ALIGN_BOTTOM = 0x8000;
constexpr DWORD CBRS_ALIGN_ANY    = 0xF000;
constexpr DWORD CBRS_ORIENT_HORZ  = CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM;
constexpr DWORD CBRS_ORIENT_VERT  = CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT;
constexpr DWORD CBRS_GRIPPER      = 0x00400000;
constexpr DWORD CBRS_ALL          = 0x0040FFFF; // the bits that are bar styles, not window styles
constexpr DWORD CBRS_NOALIGN      = 0x0000;
constexpr DWORD CBRS_TOP          = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
constexpr DWORD CBRS_BOTTOM       = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP;
constexpr DWORD CBRS_LEFT         = CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT;
constexpr DWORD CBRS_RIGHT        = CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT;

/* CalcDynamicLayout modes. */
constexpr DWORD LM_STRETCH   = 0x01; // stretch to the length of the side
constexpr DWORD LM_HORZ      = 0x02; // horizontal, else vertical
constexpr DWORD LM_MRUWIDTH  = 0x04; // the most recently used floating width
constexpr DWORD LM_HORZDOCK  = 0x08; // docked on a horizontal side
constexpr DWORD LM_VERTDOCK  = 0x10; // docked on a vertical side
constexpr DWORD LM_LENGTHY   = 0x20; // nLength is a height, not a width
constexpr DWORD LM_COMMIT    = 0x40; // the size becomes the bar's floating width

/* Status bar pane styles. */
constexpr UINT SBPS_NORMAL    = 0x0000;
constexpr UINT SBPS_NOBORDERS = 0x0100;
constexpr UINT SBPS_POPOUT    = 0x0200;     // raised, as a pane whose item is checked
constexpr UINT SBPS_DISABLED  = 0x04000000; // the pane shows no text
constexpr UINT SBPS_STRETCH   = 0x08000000; // the pane takes what the others leave

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

// What a frame's layout hands each child with WM_SIZEPARENT: a bar takes its
// edge of rect (in the frame's client coordinates) and shrinks it by that.
struct AFX_SIZEPARENTPARAMS {
    RECT rect;     // what is still free
    BOOL bStretch; // bars stretch along their edge
};
