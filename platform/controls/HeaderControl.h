#pragma once

// The "SysHeader32" control: a row of column items, each with a text, a
// width, a format and a place in the display order.
//
// Items have an index (HDM_INSERTITEM's, fixed while the item lives) and an
// order position (where it shows, left to right); HDM_ORDERTOINDEX maps a
// position to an index and the order array lists the indexes by position.
// Items with HDF_OWNERDRAW are drawn by the parent through WM_DRAWITEM
// {ODT_HEADER, itemID = the index, ODS_SELECTED while pressed}.
//
// The user changes widths by dragging a divider (HDN_BEGINTRACK may refuse,
// HDN_TRACK while moving, HDN_ENDTRACK carries the new width, which the owner
// may change) and the order by dragging an item with HDS_DRAGDROP
// (HDN_BEGINDRAG may refuse; a ghost of the item follows the mouse, a line
// marks where it would land; a nonzero answer to HDN_ENDDRAG leaves the order
// to the owner). Every change of an item, by message or by the user, is
// offered first as HDN_ITEMCHANGING (nonzero refuses) and announced as
// HDN_ITEMCHANGED. A click on an item of a HDS_BUTTONS header sends
// HDN_ITEMCLICK, a double click on a divider HDN_DIVIDERDBLCLICK.
//
// Where dividers of zero-width items coincide, the divider belongs to the
// last item before it with a nonzero width, so hidden items are not dragged
// open by accident.

#include "platform/controls/CommonControls.h"

// clang-format off
/* Header styles. */
constexpr DWORD HDS_HORZ     = 0x0000;
constexpr DWORD HDS_BUTTONS  = 0x0002; // items behave as buttons: pressed look, HDN_ITEMCLICK
constexpr DWORD HDS_HIDDEN   = 0x0008;
constexpr DWORD HDS_DRAGDROP = 0x0040; // items can be dragged to another position
constexpr DWORD HDS_FULLDRAG = 0x0080;

/* Header messages. */
constexpr UINT HDM_FIRST         = 0x1200;
constexpr UINT HDM_GETITEMCOUNT  = HDM_FIRST + 0;  // returns the count
constexpr UINT HDM_INSERTITEM    = HDM_FIRST + 1;  // wParam: the index; lParam: HDITEM*; returns the index or -1
constexpr UINT HDM_DELETEITEM    = HDM_FIRST + 2;  // wParam: the index
constexpr UINT HDM_GETITEM       = HDM_FIRST + 3;  // wParam: the index; lParam: HDITEM* with its mask
constexpr UINT HDM_SETITEM       = HDM_FIRST + 4;
constexpr UINT HDM_LAYOUT        = HDM_FIRST + 5;  // lParam: HDLAYOUT*
constexpr UINT HDM_HITTEST       = HDM_FIRST + 6;  // lParam: HDHITTESTINFO*; returns the index or -1
constexpr UINT HDM_GETITEMRECT   = HDM_FIRST + 7;  // wParam: the index; lParam: RECT*
constexpr UINT HDM_ORDERTOINDEX  = HDM_FIRST + 15; // wParam: a position; returns the index there
constexpr UINT HDM_CREATEDRAGIMAGE = HDM_FIRST + 16; // wParam: the index; returns a new image list of the item
constexpr UINT HDM_GETORDERARRAY = HDM_FIRST + 17; // wParam: room; lParam: int array of indexes by position
constexpr UINT HDM_SETORDERARRAY = HDM_FIRST + 18; // wParam: the count; lParam: int array of indexes by position

/* HDITEM::mask. */
constexpr UINT HDI_WIDTH  = 0x0001;
constexpr UINT HDI_HEIGHT = HDI_WIDTH;
constexpr UINT HDI_TEXT   = 0x0002;
constexpr UINT HDI_FORMAT = 0x0004;
constexpr UINT HDI_LPARAM = 0x0008;
constexpr UINT HDI_IMAGE  = 0x0020;
constexpr UINT HDI_ORDER  = 0x0080;

/* HDITEM::fmt. */
constexpr int HDF_LEFT        = 0x0000;
constexpr int HDF_RIGHT       = 0x0001;
constexpr int HDF_CENTER      = 0x0002;
constexpr int HDF_JUSTIFYMASK = 0x0003;
constexpr int HDF_SORTDOWN    = 0x0200;
constexpr int HDF_SORTUP      = 0x0400;
constexpr int HDF_IMAGE       = 0x0800;
constexpr int HDF_STRING      = 0x4000;
constexpr int HDF_OWNERDRAW   = 0x8000;

/* HDHITTESTINFO::flags. */
constexpr UINT HHT_NOWHERE   = 0x0001;
constexpr UINT HHT_ONHEADER  = 0x0002;
constexpr UINT HHT_ONDIVIDER = 0x0004;
constexpr UINT HHT_ONDIVOPEN = 0x0008;
constexpr UINT HHT_ABOVE     = 0x0100;
constexpr UINT HHT_BELOW     = 0x0200;
constexpr UINT HHT_TORIGHT   = 0x0400;
constexpr UINT HHT_TOLEFT    = 0x0800;

/* Header notifications, A forms. */
constexpr UINT HDN_FIRST          = static_cast<UINT>(-300);
constexpr UINT HDN_ITEMCHANGING   = HDN_FIRST - 0;
constexpr UINT HDN_ITEMCHANGED    = HDN_FIRST - 1;
constexpr UINT HDN_ITEMCLICK      = HDN_FIRST - 2;
constexpr UINT HDN_ITEMDBLCLICK   = HDN_FIRST - 3;
constexpr UINT HDN_DIVIDERDBLCLICK = HDN_FIRST - 5;
constexpr UINT HDN_BEGINTRACK     = HDN_FIRST - 6;
constexpr UINT HDN_ENDTRACK       = HDN_FIRST - 7;
constexpr UINT HDN_TRACK          = HDN_FIRST - 8;
constexpr UINT HDN_BEGINDRAG      = HDN_FIRST - 10;
constexpr UINT HDN_ENDDRAG        = HDN_FIRST - 11;
// clang-format on

struct HDITEM {
    UINT mask; // HDI_*
    int cxy;   // the width
    LPSTR pszText;
    HBITMAP hbm;
    int cchTextMax; // HDM_GETITEM: the size of pszText
    int fmt;        // HDF_*
    LPARAM lParam;
    int iImage;
    int iOrder; // the position in the display order
};
using LPHDITEM = HDITEM*;

struct HDLAYOUT {
    RECT* prc;        // in: the parent's rectangle; out: what is left below the header
    WINDOWPOS* pwpos; // out: where the header goes
};
using LPHDLAYOUT = HDLAYOUT*;

struct HDHITTESTINFO {
    POINT pt;   // client coordinates
    UINT flags; // HHT_*
    int iItem;
};
using LPHDHITTESTINFO = HDHITTESTINFO*;

struct NMHEADER {
    NMHDR hdr;
    int iItem;
    int iButton; // 0: the left button
    HDITEM* pitem;
};
using LPNMHEADER = NMHEADER*;

// The procedure of the "SysHeader32" class.
LRESULT CALLBACK HeaderWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
