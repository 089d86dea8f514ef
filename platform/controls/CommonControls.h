#pragma once

// What every common control shares, and their registration.
//
// The common controls are "SysHeader32" (HeaderControl.h), "SysListView32"
// (ListViewControl.h), "SysTreeView32" (TreeViewControl.h),
// "tooltips_class32" (ToolTipControl.h), "ToolbarWindow32"
// (ToolbarControl.h), "msctls_statusbar32" (StatusBarControl.h),
// "msctls_progress32" (ProgressControl.h), "msctls_updown32"
// (UpDownControl.h), "SysTabControl32" (TabControl.h), "SysAnimate32"
// (AnimateControl.h), "SysDateTimePick32" (DateTimePicker.h) and
// "SysMonthCal32" (MonthCalendar.h). InitCommonControlsEx
// registers them as global classes, so that CreateWindowEx and dialog
// templates find them by name.
//
// Like the standard controls they keep their font (WM_SETFONT, WM_GETFONT)
// and ask their parent to draw owner-drawn parts with WM_DRAWITEM, but they
// report to their parent with WM_NOTIFY: an NMHDR {the control, its ID, a
// code below 0} at the head of a larger structure, in wParam the control ID.
// Codes that carry text are sent in their A forms only.
//
// This header holds what the controls have in common: the CCS_* styles of
// bars placed along their parent, the notifications every control may send,
// the callback markers for texts and images asked of the parent, the
// owner-drawn control types, and SendNotify.

#include "platform/window/Messages.h"
#include "platform/window/WindowTypes.h"

// clang-format off
/* InitCommonControlsEx: which classes to register. */
constexpr DWORD ICC_LISTVIEW_CLASSES = 0x0001; // "SysListView32" and "SysHeader32"
constexpr DWORD ICC_TREEVIEW_CLASSES = 0x0002; // "SysTreeView32"
constexpr DWORD ICC_BAR_CLASSES      = 0x0004; // "ToolbarWindow32", "msctls_statusbar32", "tooltips_class32"
constexpr DWORD ICC_TAB_CLASSES      = 0x0008; // "SysTabControl32", "tooltips_class32"
constexpr DWORD ICC_UPDOWN_CLASS     = 0x0010; // "msctls_updown32"
constexpr DWORD ICC_PROGRESS_CLASS   = 0x0020; // "msctls_progress32"
constexpr DWORD ICC_ANIMATE_CLASS    = 0x0080; // "SysAnimate32"
constexpr DWORD ICC_WIN95_CLASSES    = 0x00FF;
constexpr DWORD ICC_DATE_CLASSES     = 0x0100; // "SysDateTimePick32" and "SysMonthCal32"

struct INITCOMMONCONTROLSEX {
    DWORD dwSize; // sizeof(INITCOMMONCONTROLSEX)
    DWORD dwICC;  // ICC_*
};
using LPINITCOMMONCONTROLSEX = INITCOMMONCONTROLSEX*;

/* Class names. */
constexpr const char* WC_HEADER   = "SysHeader32";
constexpr const char* WC_LISTVIEW = "SysListView32";

/* Styles the common controls share (bars placed along their parent). */
constexpr DWORD CCS_TOP           = 0x0001;
constexpr DWORD CCS_NOMOVEY       = 0x0002;
constexpr DWORD CCS_BOTTOM        = 0x0003;
constexpr DWORD CCS_NORESIZE      = 0x0004; // the bar keeps the size it was given
constexpr DWORD CCS_NOPARENTALIGN = 0x0008; // the bar keeps its place
constexpr DWORD CCS_NODIVIDER     = 0x0040;

/* Notifications every common control may send. */
constexpr UINT NM_CLICK    = static_cast<UINT>(-2);
constexpr UINT NM_DBLCLK   = static_cast<UINT>(-3);
constexpr UINT NM_RETURN   = static_cast<UINT>(-4);
constexpr UINT NM_RCLICK   = static_cast<UINT>(-5);
constexpr UINT NM_RDBLCLK  = static_cast<UINT>(-6);
constexpr UINT NM_SETFOCUS = static_cast<UINT>(-7);
constexpr UINT NM_KILLFOCUS = static_cast<UINT>(-8);

/* Texts and images a control asks its parent for when it needs them. */
inline const LPSTR LPSTR_TEXTCALLBACK = reinterpret_cast<LPSTR>(static_cast<INT_PTR>(-1));
constexpr int I_IMAGECALLBACK = -1;

/* Owner-drawn common controls: DRAWITEMSTRUCT::CtlType. */
constexpr UINT ODT_HEADER   = 100;
constexpr UINT ODT_LISTVIEW = 102;
// clang-format on

/***** Registration (CommonControlClasses.cpp) *****/

// Registers the classes the ICC_* flags name; later calls for the same
// classes do nothing. TRUE once they exist.
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* pInitCtrls);
// Registers every common control class.
void InitCommonControls();

/***** Notifications (CommonControls.cpp) *****/

// Sends WM_NOTIFY with `pHdr` (the head of a larger structure) to the
// control's parent after filling in hwndFrom, idFrom and code. Returns the
// parent's answer, 0 when there is none.
LRESULT SendNotify(HWND hWnd, UINT nCode, NMHDR* pHdr);
