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
constexpr UINT WM_GETMINMAXINFO     = 0x0024; // lParam: MINMAXINFO*
constexpr UINT WM_DELETEITEM        = 0x002D; // wParam: control ID; lParam: DELETEITEMSTRUCT*
constexpr UINT WM_VKEYTOITEM        = 0x002E; // wParam: key (low), caret item (high); lParam: the list box; returns -2, -1 or an item
constexpr UINT WM_CHARTOITEM        = 0x002F; // the same for a character
constexpr UINT WM_COMPAREITEM       = 0x0039; // wParam: control ID; lParam: COMPAREITEMSTRUCT*
constexpr UINT WM_NOTIFY            = 0x004E; // wParam: control ID; lParam: NMHDR*
constexpr UINT WM_CONTEXTMENU       = 0x007B; // wParam: the window clicked; lParam: screen point
constexpr UINT WM_SYSCOMMAND        = 0x0112;
constexpr UINT WM_PARENTNOTIFY      = 0x0210; // wParam: the event (WM_CREATE, WM_DESTROY, a button) and child ID
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

struct MINMAXINFO {
    POINT ptReserved;
    POINT ptMaxSize;
    POINT ptMaxPosition;
    POINT ptMinTrackSize;
    POINT ptMaxTrackSize;
};
using LPMINMAXINFO = MINMAXINFO*;

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
