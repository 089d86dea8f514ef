#pragma once

// Window message numbers, with their documented values.
//
// Ranges: 0 to WM_USER - 1 are the system's messages; WM_USER to 0x7FFF are a
// window class's own; WM_APP to 0xBFFF are the application's; 0xC000 to 0xFFFF
// are registered by name (RegisterWindowMessage).

#include "platform/base/WinTypes.h"
#include "platform/display/MouseMessages.h"
#include "platform/window/WindowTypes.h"

// clang-format off
/* Creation, destruction and state. */
constexpr UINT WM_NULL              = 0x0000;
constexpr UINT WM_CREATE            = 0x0001; // lParam: CREATESTRUCT*; return -1 to refuse
constexpr UINT WM_DESTROY           = 0x0002;
constexpr UINT WM_MOVE              = 0x0003; // lParam: client origin in parent coordinates
constexpr UINT WM_SIZE              = 0x0005; // wParam: SIZE_*; lParam: client width and height
constexpr UINT WM_ACTIVATE          = 0x0006; // wParam: WA_* (low), minimized (high); lParam: the other window
constexpr UINT WM_SETFOCUS          = 0x0007; // wParam: the window that lost the focus
constexpr UINT WM_KILLFOCUS         = 0x0008; // wParam: the window that gets the focus
constexpr UINT WM_ENABLE            = 0x000A; // wParam: TRUE when enabled
constexpr UINT WM_SETREDRAW         = 0x000B; // wParam: FALSE stops painting, TRUE lets it go on
constexpr UINT WM_SETTEXT           = 0x000C; // lParam: the text; returns TRUE
constexpr UINT WM_GETTEXT           = 0x000D; // wParam: buffer size; lParam: buffer; returns length copied
constexpr UINT WM_GETTEXTLENGTH     = 0x000E;
constexpr UINT WM_PAINT             = 0x000F;
constexpr UINT WM_CLOSE             = 0x0010;
constexpr UINT WM_QUIT              = 0x0012; // wParam: exit code; never sent to a window
constexpr UINT WM_ERASEBKGND        = 0x0014; // wParam: HDC; returns nonzero when erased
constexpr UINT WM_SHOWWINDOW        = 0x0018; // wParam: TRUE when shown; lParam: 0 for ShowWindow
constexpr UINT WM_ACTIVATEAPP       = 0x001C; // wParam: TRUE when the program becomes active
constexpr UINT WM_CANCELMODE        = 0x001F;
constexpr UINT WM_SETCURSOR         = 0x0020; // wParam: window under the cursor; lParam: hit test (low), mouse message (high)
constexpr UINT WM_MOUSEACTIVATE     = 0x0021; // wParam: top-level window; lParam: as WM_SETCURSOR; returns MA_*
constexpr UINT WM_WINDOWPOSCHANGING = 0x0046; // lParam: WINDOWPOS*, may be changed
constexpr UINT WM_WINDOWPOSCHANGED  = 0x0047; // lParam: WINDOWPOS*
constexpr UINT WM_STYLECHANGING     = 0x007C; // wParam: GWL_STYLE or GWL_EXSTYLE; lParam: STYLESTRUCT*
constexpr UINT WM_STYLECHANGED      = 0x007D;
constexpr UINT WM_NCCREATE          = 0x0081; // lParam: CREATESTRUCT*; return FALSE to refuse
constexpr UINT WM_NCDESTROY         = 0x0082; // the last message a window receives
constexpr UINT WM_NCHITTEST         = 0x0084; // lParam: screen point; returns HT*
constexpr UINT WM_NCPAINT           = 0x0085; // wParam: 1 (the whole frame) or an HRGN
constexpr UINT WM_NCACTIVATE        = 0x0086; // wParam: TRUE when the caption shows active
constexpr UINT WM_NCMOUSEMOVE       = 0x00A0; // non-client mouse messages: wParam: HT*; lParam: screen point
constexpr UINT WM_NCLBUTTONDOWN     = 0x00A1;
constexpr UINT WM_NCLBUTTONUP       = 0x00A2;
constexpr UINT WM_NCLBUTTONDBLCLK   = 0x00A3;
constexpr UINT WM_NCRBUTTONDOWN     = 0x00A4;
constexpr UINT WM_NCRBUTTONUP       = 0x00A5;
constexpr UINT WM_NCRBUTTONDBLCLK   = 0x00A6;
constexpr UINT WM_NCMBUTTONDOWN     = 0x00A7;
constexpr UINT WM_NCMBUTTONUP       = 0x00A8;
constexpr UINT WM_NCMBUTTONDBLCLK   = 0x00A9;

/* Keyboard. */
constexpr UINT WM_KEYFIRST          = 0x0100;
constexpr UINT WM_KEYDOWN           = 0x0100;
constexpr UINT WM_KEYUP             = 0x0101;
constexpr UINT WM_CHAR              = 0x0102;
constexpr UINT WM_DEADCHAR          = 0x0103;
constexpr UINT WM_SYSKEYDOWN        = 0x0104;
constexpr UINT WM_SYSKEYUP          = 0x0105;
constexpr UINT WM_SYSCHAR           = 0x0106;
constexpr UINT WM_KEYLAST           = 0x0109;

/* Commands and timers. */
constexpr UINT WM_COMMAND           = 0x0111;
constexpr UINT WM_TIMER             = 0x0113; // wParam: timer id; lParam: TIMERPROC or 0
constexpr UINT WM_HSCROLL           = 0x0114; // wParam: SB_* (low), position (high); lParam: scroll bar control or 0
constexpr UINT WM_VSCROLL           = 0x0115;

/* Mouse, in client coordinates: wParam: MK_*; lParam: x (low), y (high).
   WM_MOUSEMOVE and the button messages are in MouseMessages.h. */
constexpr UINT WM_MOUSEFIRST        = 0x0200;
constexpr UINT WM_MOUSEWHEEL        = 0x020A; // wParam: MK_* (low), distance (high); lParam: screen point
constexpr UINT WM_MOUSELAST         = 0x020E;
constexpr UINT WM_CAPTURECHANGED    = 0x0215; // lParam: the window that gets the capture
constexpr UINT WM_MOUSEHOVER        = 0x02A1;
constexpr UINT WM_MOUSELEAVE        = 0x02A3;

/* Ranges of private messages. */
constexpr UINT WM_USER              = 0x0400;
constexpr UINT WM_APP               = 0x8000;
constexpr UINT WM_REGISTERED_FIRST  = 0xC000; // first number RegisterWindowMessage gives
constexpr UINT WM_REGISTERED_LAST   = 0xFFFF;

/* WM_SIZE kinds. */
constexpr WPARAM SIZE_RESTORED      = 0;
constexpr WPARAM SIZE_MINIMIZED     = 1;
constexpr WPARAM SIZE_MAXIMIZED     = 2;

/* Menus and owner-drawn items. */
constexpr UINT WM_DRAWITEM          = 0x002B; // wParam: control ID (0 for menus); lParam: DRAWITEMSTRUCT*
constexpr UINT WM_MEASUREITEM       = 0x002C; // wParam: control ID (0 for menus); lParam: MEASUREITEMSTRUCT*
constexpr UINT WM_INITMENU          = 0x0116; // wParam: HMENU of the menu bar
constexpr UINT WM_INITMENUPOPUP     = 0x0117; // wParam: HMENU; lParam: index, and window menu in the high word
constexpr UINT WM_MENUSELECT        = 0x011F; // wParam: item and MF_* flags; lParam: HMENU
constexpr UINT WM_MENUCHAR          = 0x0120; // wParam: character (low), MF_POPUP or MF_SYSMENU (high); lParam: HMENU
constexpr UINT WM_ENTERIDLE         = 0x0121; // wParam: MSGF_*; lParam: the menu window or dialog
constexpr UINT WM_UNINITMENUPOPUP   = 0x0125; // wParam: HMENU
constexpr UINT WM_ENTERMENULOOP     = 0x0211; // wParam: TRUE for TrackPopupMenu
constexpr UINT WM_EXITMENULOOP      = 0x0212; // wParam: TRUE for TrackPopupMenu
// clang-format on

// clang-format off
/* Fonts of windows, as the standard controls and dialogs keep them. */
constexpr UINT WM_SETFONT           = 0x0030; // wParam: HFONT (0: the system font); lParam: TRUE to redraw
constexpr UINT WM_GETFONT           = 0x0031; // returns the HFONT, or 0 for the system font
// clang-format on

// clang-format off
/* Colours of controls: sent to a control's parent before it paints, wParam the
   control's DC, lParam the control. The answer is the brush for the
   background, with the DC's text and background colours set; DefWindowProc
   answers with the system colours of the control's kind (see Paint.h). */
constexpr UINT WM_CTLCOLORMSGBOX    = 0x0132;
constexpr UINT WM_CTLCOLOREDIT      = 0x0133;
constexpr UINT WM_CTLCOLORLISTBOX   = 0x0134;
constexpr UINT WM_CTLCOLORBTN       = 0x0135;
constexpr UINT WM_CTLCOLORDLG       = 0x0136;
constexpr UINT WM_CTLCOLORSCROLLBAR = 0x0137;
constexpr UINT WM_CTLCOLORSTATIC    = 0x0138;
// clang-format on

inline bool IsCtlColorMessage(UINT uMsg)
{
    return uMsg >= WM_CTLCOLORMSGBOX && uMsg <= WM_CTLCOLORSTATIC;
}

// clang-format off
/* Clipboard commands a window carries out on its selection. */
constexpr UINT WM_CUT               = 0x0300;
constexpr UINT WM_COPY              = 0x0301;
constexpr UINT WM_PASTE             = 0x0302;
constexpr UINT WM_CLEAR             = 0x0303;
constexpr UINT WM_UNDO              = 0x0304;
constexpr UINT WM_DESTROYCLIPBOARD  = 0x0307; // to the clipboard's owner when EmptyClipboard frees its data
// clang-format on

// clang-format off
/* The dialog manager. */
constexpr UINT WM_NEXTDLGCTL        = 0x0028; // wParam: control, or TRUE for the previous one; lParam: TRUE when wParam is a control
constexpr UINT WM_GETDLGCODE        = 0x0087; // wParam: virtual key; lParam: MSG* or 0; returns DLGC_*
constexpr UINT WM_INITDIALOG        = 0x0110; // wParam: control to get the focus; lParam: creation parameter; TRUE sets the focus
constexpr UINT DM_GETDEFID          = WM_USER + 0; // returns MAKELONG(id, DC_HASDEFID), or 0
constexpr UINT DM_SETDEFID          = WM_USER + 1; // wParam: id of the new default push button
constexpr WORD DC_HASDEFID          = 0x534B;
constexpr WPARAM MSGF_DIALOGBOX     = 0;

/* WM_GETDLGCODE answers. */
constexpr UINT DLGC_WANTARROWS      = 0x0001;
constexpr UINT DLGC_WANTTAB         = 0x0002;
constexpr UINT DLGC_WANTALLKEYS     = 0x0004;
constexpr UINT DLGC_WANTMESSAGE     = 0x0004;
constexpr UINT DLGC_HASSETSEL       = 0x0008; // answers EM_SETSEL
constexpr UINT DLGC_DEFPUSHBUTTON   = 0x0010;
constexpr UINT DLGC_UNDEFPUSHBUTTON = 0x0020;
constexpr UINT DLGC_RADIOBUTTON     = 0x0040;
constexpr UINT DLGC_WANTCHARS       = 0x0080;
constexpr UINT DLGC_STATIC          = 0x0100;
constexpr UINT DLGC_BUTTON          = 0x2000;

/* Button messages the dialog manager sends; the rest come with the button control. */
constexpr UINT BM_GETCHECK          = 0x00F0;
constexpr UINT BM_SETCHECK          = 0x00F1; // wParam: BST_*
// clang-format on

// clang-format off
/* The caret. */
constexpr UINT WM_SYSTIMER          = 0x0118; // the caret's blink timer (Caret.h); not input for idle processing
// clang-format on

// clang-format off
/* Messages the window layer sends on its own: context menus, the window menu's
   commands, a child's life and clicks told to its parent, size limits. */
constexpr UINT WM_GETMINMAXINFO     = 0x0024; // lParam: MINMAXINFO*, filled with the defaults first
constexpr UINT WM_CONTEXTMENU       = 0x007B; // wParam: the window clicked; lParam: screen point, or -1, -1 from the keyboard
// wParam: FALSE; lParam: RECT*, the window in its parent's coordinates. Sent as the window is made and when its
// size or frame changes; the client area always follows from the styles, which the handler may change.
constexpr UINT WM_NCCALCSIZE        = 0x0083;
constexpr UINT WM_SYSCOMMAND        = 0x0112; // wParam: SC_*; lParam: the screen point of a mouse choice
constexpr UINT WM_ENTERSIZEMOVE     = 0x0231; // to a window whose move or size loop starts
constexpr UINT WM_EXITSIZEMOVE      = 0x0232; // to a window whose move or size loop ends
constexpr UINT WM_PARENTNOTIFY      = 0x0210; // wParam: the event (low), the child's ID or the button (high); lParam: the child or the point

/* WM_SYSCOMMAND commands; the low four bits are the system's own. */
constexpr WPARAM SC_SIZE            = 0xF000;
constexpr WPARAM SC_MOVE            = 0xF010;
constexpr WPARAM SC_MINIMIZE        = 0xF020;
constexpr WPARAM SC_MAXIMIZE        = 0xF030;
constexpr WPARAM SC_CLOSE           = 0xF060; // DefWindowProc sends WM_CLOSE
constexpr WPARAM SC_RESTORE         = 0xF120;
// clang-format on

ARCHIVORA_DECLARE_HANDLE(HDROP);

// clang-format off
/* Lists, notifications, sessions and palettes. */
constexpr UINT WM_QUERYENDSESSION   = 0x0011; // return TRUE to let the session end
constexpr UINT WM_ENDSESSION        = 0x0016; // wParam: TRUE when the session ends
constexpr UINT WM_DELETEITEM        = 0x002D; // wParam: control ID; lParam: DELETEITEMSTRUCT*
constexpr UINT WM_VKEYTOITEM        = 0x002E; // wParam: key (low), caret item (high); lParam: the list box; returns -2, -1 or an item
constexpr UINT WM_CHARTOITEM        = 0x002F; // the same for a character
constexpr UINT WM_COMPAREITEM       = 0x0039; // wParam: control ID; lParam: COMPAREITEMSTRUCT*
constexpr UINT WM_NOTIFY            = 0x004E; // wParam: control ID; lParam: NMHDR*
constexpr UINT WM_DROPFILES         = 0x0233; // wParam: HDROP
constexpr UINT WM_PALETTECHANGED    = 0x0311; // wParam: the window that realized its palette

/* WM_CTLCOLOR* kinds, in the order of those messages. */
constexpr UINT CTLCOLOR_MSGBOX    = 0;
constexpr UINT CTLCOLOR_EDIT      = 1;
constexpr UINT CTLCOLOR_LISTBOX   = 2;
constexpr UINT CTLCOLOR_BTN       = 3;
constexpr UINT CTLCOLOR_DLG       = 4;
constexpr UINT CTLCOLOR_SCROLLBAR = 5;
constexpr UINT CTLCOLOR_STATIC    = 6;
// clang-format on

// The header of every WM_NOTIFY notification.
struct NMHDR {
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code; // notification codes are negative numbers stored unsigned
};
using LPNMHDR = NMHDR*;

struct COMPAREITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    HWND hwndItem;
    UINT itemID1;
    ULONG_PTR itemData1;
    UINT itemID2;
    ULONG_PTR itemData2;
    DWORD dwLocaleId;
};
using LPCOMPAREITEMSTRUCT = COMPAREITEMSTRUCT*;

struct DELETEITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    HWND hwndItem;
    ULONG_PTR itemData;
};
using LPDELETEITEMSTRUCT = DELETEITEMSTRUCT*;

// clang-format off
/* Further window messages that message maps dispatch. */
constexpr UINT WM_SYSCOLORCHANGE    = 0x0015; // the system colours changed
constexpr UINT WM_SETTINGCHANGE     = 0x001A; // wParam: SPI_* flag; lParam: the section's name or NULL
constexpr UINT WM_COPYDATA          = 0x004A; // wParam: the sending window; lParam: COPYDATASTRUCT*; returns TRUE when taken
constexpr UINT WM_KEYF1             = 0x004D; // posted by TranslateMessage for F1; DefWindowProc sends WM_HELP
constexpr UINT WM_HELP              = 0x0053; // lParam: HELPINFO*
constexpr UINT WM_QUERYNEWPALETTE   = 0x030F; // returns TRUE when the window realized its palette
// clang-format on

// Data one window hands another with WM_COPYDATA; valid only while the message is handled.
struct COPYDATASTRUCT {
    ULONG_PTR dwData; // a value of the sender's choosing
    DWORD cbData;     // bytes at lpData
    PVOID lpData;
};
using PCOPYDATASTRUCT = COPYDATASTRUCT*;

constexpr int HELPINFO_WINDOW = 0x0001; // HELPINFO::iContextType: help for a window

struct HELPINFO {
    UINT cbSize;      // sizeof(HELPINFO)
    int iContextType; // HELPINFO_WINDOW
    int iCtrlId;
    HANDLE hItemHandle;
    DWORD_PTR dwContextId;
    POINT MousePos; // screen coordinates
};
using LPHELPINFO = HELPINFO*;

// WM_NCCALCSIZE with wParam TRUE: rgrc[0] is the new window rectangle, to be
// turned into the client rectangle.
struct NCCALCSIZE_PARAMS {
    RECT rgrc[3];
    WINDOWPOS* lppos;
};
using LPNCCALCSIZE_PARAMS = NCCALCSIZE_PARAMS*;
