#pragma once

// The window messages, notification structures and class-library private
// messages that message maps dispatch, with their documented values, for those
// the window layer does not define itself.

#include "platform/gdi/GdiTypes.h"
#include "platform/window/Menu.h"
#include "platform/window/Messages.h"
#include "platform/window/WindowTypes.h"

ARCHIVORA_DECLARE_HANDLE(HDROP);

// clang-format off
/* Window messages. */
constexpr UINT WM_QUERYENDSESSION   = 0x0011; // return TRUE to let the session end
constexpr UINT WM_ENDSESSION        = 0x0016; // wParam: TRUE when the session ends
constexpr UINT WM_CTLCOLOR          = 0x0019; // stands for every WM_CTLCOLOR* in message maps
constexpr UINT WM_DELETEITEM        = 0x002D; // wParam: control ID; lParam: DELETEITEMSTRUCT*
constexpr UINT WM_VKEYTOITEM        = 0x002E; // wParam: key (low), caret item (high); lParam: the list box; returns -2, -1 or an item
constexpr UINT WM_CHARTOITEM        = 0x002F; // the same for a character
constexpr UINT WM_COMPAREITEM       = 0x0039; // wParam: control ID; lParam: COMPAREITEMSTRUCT*
constexpr UINT WM_NOTIFY            = 0x004E; // wParam: control ID; lParam: NMHDR*
constexpr UINT WM_DROPFILES         = 0x0233; // wParam: HDROP
constexpr UINT WM_PALETTECHANGED    = 0x0311; // wParam: the window that realized its palette

/* The class library's private messages. */
constexpr UINT WM_SETMESSAGESTRING  = 0x0362; // wParam: string ID, or lParam: text, for the status bar
constexpr UINT WM_IDLEUPDATECMDUI   = 0x0363; // wParam: TRUE to disable commands without handlers
constexpr UINT WM_KICKIDLE          = 0x036A; // sent by modal loops when their queue is empty; lParam: idle count
constexpr UINT WM_REFLECT_BASE      = 0xBC00; // a notification reflected to its control is WM_REFLECT_BASE + message

/* WM_CTLCOLOR kinds, in the order of the WM_CTLCOLOR* messages. */
constexpr UINT CTLCOLOR_MSGBOX    = 0;
constexpr UINT CTLCOLOR_EDIT      = 1;
constexpr UINT CTLCOLOR_LISTBOX   = 2;
constexpr UINT CTLCOLOR_BTN       = 3;
constexpr UINT CTLCOLOR_DLG       = 4;
constexpr UINT CTLCOLOR_SCROLLBAR = 5;
constexpr UINT CTLCOLOR_STATIC    = 6;

/* Command codes of the class library's routing (OnCmdMsg). */
constexpr UINT CN_COMMAND          = 0;             // a command, or a notification code in the low word
constexpr UINT CN_UPDATE_COMMAND_UI = 0xFFFFFFFF;   // pExtra: CCmdUI*
// clang-format on

/* Structures. */

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

// A point with the class library's constructors.
struct CPoint : POINT {
    CPoint()
        : POINT { 0, 0 }
    {
    }
    CPoint(int initX, int initY)
        : POINT { initX, initY }
    {
    }
    CPoint(POINT initPt)
        : POINT(initPt)
    {
    }
    // The signed coordinates packed in a mouse message's lParam.
    explicit CPoint(LPARAM dwPoint)
        : POINT { static_cast<short>(LOWORD(dwPoint)), static_cast<short>(HIWORD(dwPoint)) }
    {
    }
    bool operator==(const CPoint& other) const { return x == other.x && y == other.y; }
};

// clang-format off
/* Further window messages that message maps dispatch. */
constexpr UINT WM_SYSCOLORCHANGE    = 0x0015; // the system colours changed
constexpr UINT WM_SETTINGCHANGE     = 0x001A; // wParam: SPI_* flag; lParam: the section's name or NULL
constexpr UINT WM_COPYDATA          = 0x004A; // wParam: the sending window; lParam: COPYDATASTRUCT*; returns TRUE when taken
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

struct HELPINFO {
    UINT cbSize; // sizeof(HELPINFO)
    int iContextType;
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
