#pragma once

// The "SysTabControl32" control: a row of tabs over a display area where the
// owner shows the page of the selected tab.
//
// Texts are drawn with "&" marking the underlined mnemonic ("&&" for an "&").
// A click on another tab, Left/Right while the control has the focus, or
// Ctrl+Tab and Ctrl+Shift+Tab (round the row) asks the parent with
// TCN_SELCHANGING (nonzero refuses), then selects the tab and sends
// TCN_SELCHANGE. TCM_SETCURSEL selects without notifying.
// Inserting the first tab selects it; deleting the selected one leaves no
// selection.

#include "platform/controls/CommonControls.h"

// clang-format off
constexpr const char* WC_TABCONTROL = "SysTabControl32";

/* Tab styles: a single row of tabs. */
constexpr DWORD TCS_TABS         = 0x0000;
constexpr DWORD TCS_BUTTONS      = 0x0100; // accepted; drawn as tabs
constexpr DWORD TCS_MULTILINE    = 0x0200; // accepted; one row
constexpr DWORD TCS_FOCUSNEVER   = 0x8000;

/* TCITEM::mask. */
constexpr UINT TCIF_TEXT  = 0x0001;
constexpr UINT TCIF_IMAGE = 0x0002;
constexpr UINT TCIF_PARAM = 0x0008;

/* TCHITTESTINFO::flags. */
constexpr UINT TCHT_NOWHERE = 0x0001;
constexpr UINT TCHT_ONITEM  = 0x0006;

/* Tab messages, A forms. */
constexpr UINT TCM_FIRST          = 0x1300;
constexpr UINT TCM_GETITEMCOUNT   = TCM_FIRST + 4;
constexpr UINT TCM_GETITEM        = TCM_FIRST + 5;  // wParam: index; lParam: TCITEM*
constexpr UINT TCM_SETITEM        = TCM_FIRST + 6;
constexpr UINT TCM_INSERTITEM     = TCM_FIRST + 7;  // the new index, or -1
constexpr UINT TCM_DELETEITEM     = TCM_FIRST + 8;
constexpr UINT TCM_DELETEALLITEMS = TCM_FIRST + 9;
constexpr UINT TCM_GETITEMRECT    = TCM_FIRST + 10; // wParam: index; lParam: RECT*
constexpr UINT TCM_GETCURSEL      = TCM_FIRST + 11; // -1 for none
constexpr UINT TCM_SETCURSEL      = TCM_FIRST + 12; // the old selection, or -1
constexpr UINT TCM_HITTEST        = TCM_FIRST + 13; // lParam: TCHITTESTINFO*
constexpr UINT TCM_ADJUSTRECT     = TCM_FIRST + 40; // wParam: FALSE window to display area, TRUE back; lParam: RECT*

/* Tab notifications. */
constexpr UINT TCN_FIRST        = static_cast<UINT>(-550);
constexpr UINT TCN_SELCHANGE    = TCN_FIRST - 1;
constexpr UINT TCN_SELCHANGING  = TCN_FIRST - 2;
// clang-format on

struct TCITEM {
    UINT mask; // TCIF_*
    DWORD dwState;
    DWORD dwStateMask;
    LPSTR pszText; // TCM_GETITEM: the buffer, cut at a character boundary
    int cchTextMax;
    int iImage;
    LPARAM lParam;
};
using LPTCITEM = TCITEM*;

struct TCHITTESTINFO {
    POINT pt;
    UINT flags;
};

// The procedure of the "SysTabControl32" class.
LRESULT CALLBACK TabControlWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
