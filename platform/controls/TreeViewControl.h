#pragma once

// The "SysTreeView32" control: a hierarchy of items, each with a text, a
// normal and a selected image, a state image, a value and states.
//
// Items are named by HTREEITEM handles that are never reused: a handle of a
// deleted item fails every message (NULL, FALSE) without effect. Texts stored
// as LPSTR_TEXTCALLBACK, images as I_IMAGECALLBACK and a child count of
// I_CHILDRENCALLBACK are asked of the parent with TVN_GETDISPINFO whenever
// they are needed, TVM_GETITEM included. TVM_GETITEM cuts a text to
// cchTextMax - 1 bytes at a character boundary and always ends it.
//
// TVI_SORT places a new item among its siblings in the order of CompareString
// ignoring case, after the equal ones; TVM_SORTCHILDREN uses the same order
// (callback texts are asked for), TVM_SORTCHILDRENCB the caller's comparison.
// Both are stable.
//
// Expansion: TVN_ITEMEXPANDING (nonzero refuses) comes before the change and
// TVN_ITEMEXPANDED after; both carry the item's images in itemNew. TVM_EXPAND sends them only while the item lacks
// TVIS_EXPANDEDONCE, which the control sets at the first expansion and the
// program may set or clear; expansion by mouse or keyboard always sends them.
// An item without children and without cChildren 1 does not expand.
// TVE_COLLAPSERESET (alone or with TVE_COLLAPSE) collapses, deletes the
// children and clears TVIS_EXPANDEDONCE. Collapsing an ancestor of the
// selected item selects the collapsed item (TVC_UNKNOWN).
//
// Selection: TVN_SELCHANGING (nonzero refuses) and TVN_SELCHANGED carry
// TVC_BYMOUSE, TVC_BYKEYBOARD or TVC_UNKNOWN (by message). A press on an
// item's icon or label selects it; a press on its state icon only sends
// NM_CLICK. Keys first reach the parent as TVN_KEYDOWN; Enter then sends
// NM_RETURN.
//
// Painting asks NM_CUSTOMDRAW: CDDS_PREPAINT, then with CDRF_NOTIFYITEMDRAW
// CDDS_ITEMPREPAINT per item, whose handler may change clrText and clrTextBk
// and select a font into the DC (CDRF_NEWFONT), and CDDS_ITEMPOSTPAINT when
// asked with CDRF_NOTIFYPOSTPAINT. WM_PAINT with a DC in wParam paints into it.
//
// Scrolling is vertical by items and horizontal by pixels. The scroll
// information is kept current whether or not WS_VSCROLL and WS_HSCROLL are in
// the style, and WM_VSCROLL and WM_HSCROLL scroll either way, so an owner that
// strips the bars can show its own.
//
// Label editing (TVM_EDITLABEL; with TVS_EDITLABELS also F2 and a slow
// second click on the caret's label) works as in the list view: the "Edit" child (at most 259 characters, unless the
// owner limits it further) exists while TVN_BEGINLABELEDIT is asked, and is gone from the tree before TVN_ENDLABELEDIT,
// whose handler may start a new edit or delete the item.
//
// Every notification handler may change or destroy the tree; the control
// looks its items up again after each one.

#include "platform/controls/CommonControls.h"
#include "platform/controls/CustomDraw.h"
#include "platform/gdi/ImageLists.h"

struct TREEITEM_;
using HTREEITEM = TREEITEM_*;

// clang-format off
constexpr const char* WC_TREEVIEW = "SysTreeView32";

/* Tree view styles. */
constexpr DWORD TVS_HASBUTTONS      = 0x0001;
constexpr DWORD TVS_HASLINES        = 0x0002;
constexpr DWORD TVS_LINESATROOT     = 0x0004;
constexpr DWORD TVS_EDITLABELS      = 0x0008;
constexpr DWORD TVS_DISABLEDRAGDROP = 0x0010;
constexpr DWORD TVS_SHOWSELALWAYS   = 0x0020;
constexpr DWORD TVS_NOTOOLTIPS      = 0x0080;
constexpr DWORD TVS_TRACKSELECT     = 0x0200; // the item under the mouse is hot
constexpr DWORD TVS_FULLROWSELECT   = 0x1000;
constexpr DWORD TVS_NOSCROLL        = 0x2000;

/* Tree view messages, A forms. */
constexpr UINT TV_FIRST             = 0x1100;
constexpr UINT TVM_INSERTITEM       = TV_FIRST + 0;  // lParam: TVINSERTSTRUCT*; returns the item or NULL
constexpr UINT TVM_DELETEITEM       = TV_FIRST + 1;  // lParam: the item, TVI_ROOT for all
constexpr UINT TVM_EXPAND           = TV_FIRST + 2;  // wParam: TVE_*; lParam: the item
constexpr UINT TVM_GETITEMRECT      = TV_FIRST + 4;  // wParam: TRUE for the label only; lParam: RECT* holding the item
constexpr UINT TVM_GETCOUNT         = TV_FIRST + 5;
constexpr UINT TVM_GETINDENT        = TV_FIRST + 6;
constexpr UINT TVM_SETINDENT        = TV_FIRST + 7;  // wParam: pixels
constexpr UINT TVM_GETIMAGELIST     = TV_FIRST + 8;  // wParam: TVSIL_*
constexpr UINT TVM_SETIMAGELIST     = TV_FIRST + 9;  // wParam: TVSIL_*; lParam: HIMAGELIST; returns the old one
constexpr UINT TVM_GETNEXTITEM      = TV_FIRST + 10; // wParam: TVGN_*; lParam: the item
constexpr UINT TVM_SELECTITEM       = TV_FIRST + 11; // wParam: TVGN_CARET, TVGN_DROPHILITE or TVGN_FIRSTVISIBLE
constexpr UINT TVM_GETITEM          = TV_FIRST + 12; // lParam: TVITEM*
constexpr UINT TVM_SETITEM          = TV_FIRST + 13;
constexpr UINT TVM_EDITLABEL        = TV_FIRST + 14; // lParam: the item; returns the editor
constexpr UINT TVM_GETEDITCONTROL   = TV_FIRST + 15;
constexpr UINT TVM_GETVISIBLECOUNT  = TV_FIRST + 16; // whole items that fit the client area
constexpr UINT TVM_HITTEST          = TV_FIRST + 17; // lParam: TVHITTESTINFO*; returns the item
constexpr UINT TVM_SORTCHILDREN     = TV_FIRST + 19; // wParam: recurse; lParam: the parent
constexpr UINT TVM_ENSUREVISIBLE    = TV_FIRST + 20; // lParam: the item
constexpr UINT TVM_SORTCHILDRENCB   = TV_FIRST + 21; // wParam: recurse; lParam: TVSORTCB*
constexpr UINT TVM_ENDEDITLABELNOW  = TV_FIRST + 22; // wParam: TRUE cancels
constexpr UINT TVM_GETITEMHEIGHT    = TV_FIRST + 28;
constexpr UINT TVM_SETBKCOLOR       = TV_FIRST + 29; // lParam: COLORREF, -1 the default; returns the old one
constexpr UINT TVM_SETTEXTCOLOR     = TV_FIRST + 30;
constexpr UINT TVM_GETBKCOLOR       = TV_FIRST + 31;
constexpr UINT TVM_GETTEXTCOLOR     = TV_FIRST + 32;

/* Image lists. */
constexpr int TVSIL_NORMAL = 0;
constexpr int TVSIL_STATE  = 2;

/* TVITEM::mask. */
constexpr UINT TVIF_TEXT          = 0x0001;
constexpr UINT TVIF_IMAGE         = 0x0002;
constexpr UINT TVIF_PARAM         = 0x0004;
constexpr UINT TVIF_STATE         = 0x0008;
constexpr UINT TVIF_HANDLE        = 0x0010;
constexpr UINT TVIF_SELECTEDIMAGE = 0x0020;
constexpr UINT TVIF_CHILDREN      = 0x0040;
constexpr UINT TVIF_DI_SETITEM    = 0x1000; // TVN_GETDISPINFO: the control keeps what the parent gave

/* TVITEM::state. */
constexpr UINT TVIS_SELECTED       = 0x0002;
constexpr UINT TVIS_CUT            = 0x0004;
constexpr UINT TVIS_DROPHILITED    = 0x0008;
constexpr UINT TVIS_BOLD           = 0x0010;
constexpr UINT TVIS_EXPANDED       = 0x0020;
constexpr UINT TVIS_EXPANDEDONCE   = 0x0040;
constexpr UINT TVIS_OVERLAYMASK    = 0x0F00;
constexpr UINT TVIS_STATEIMAGEMASK = 0xF000;

constexpr int I_CHILDRENCALLBACK = -1;

/* Special items. */
inline HTREEITEM const TVI_ROOT  = reinterpret_cast<HTREEITEM>(static_cast<ULONG_PTR>(-0x10000));
inline HTREEITEM const TVI_FIRST = reinterpret_cast<HTREEITEM>(static_cast<ULONG_PTR>(-0x0FFFF));
inline HTREEITEM const TVI_LAST  = reinterpret_cast<HTREEITEM>(static_cast<ULONG_PTR>(-0x0FFFE));
inline HTREEITEM const TVI_SORT  = reinterpret_cast<HTREEITEM>(static_cast<ULONG_PTR>(-0x0FFFD));

/* TVM_GETNEXTITEM and TVM_SELECTITEM codes. */
constexpr UINT TVGN_ROOT            = 0x0000;
constexpr UINT TVGN_NEXT            = 0x0001;
constexpr UINT TVGN_PREVIOUS        = 0x0002;
constexpr UINT TVGN_PARENT          = 0x0003;
constexpr UINT TVGN_CHILD           = 0x0004;
constexpr UINT TVGN_FIRSTVISIBLE    = 0x0005;
constexpr UINT TVGN_NEXTVISIBLE     = 0x0006;
constexpr UINT TVGN_PREVIOUSVISIBLE = 0x0007;
constexpr UINT TVGN_DROPHILITE      = 0x0008;
constexpr UINT TVGN_CARET           = 0x0009;
constexpr UINT TVGN_LASTVISIBLE     = 0x000A;

/* TVM_EXPAND actions. */
constexpr UINT TVE_COLLAPSE      = 0x0001;
constexpr UINT TVE_EXPAND        = 0x0002;
constexpr UINT TVE_TOGGLE        = 0x0003;
constexpr UINT TVE_ACTIONMASK    = 0x0003;
constexpr UINT TVE_COLLAPSERESET = 0x8000;

/* NMTREEVIEW::action of the selection notifications. */
constexpr UINT TVC_UNKNOWN    = 0x0000;
constexpr UINT TVC_BYMOUSE    = 0x0001;
constexpr UINT TVC_BYKEYBOARD = 0x0002;

/* TVHITTESTINFO::flags. */
constexpr UINT TVHT_NOWHERE         = 0x0001;
constexpr UINT TVHT_ONITEMICON      = 0x0002;
constexpr UINT TVHT_ONITEMLABEL     = 0x0004;
constexpr UINT TVHT_ONITEMINDENT    = 0x0008;
constexpr UINT TVHT_ONITEMBUTTON    = 0x0010;
constexpr UINT TVHT_ONITEMRIGHT     = 0x0020;
constexpr UINT TVHT_ONITEMSTATEICON = 0x0040;
constexpr UINT TVHT_ONITEM          = TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON;
constexpr UINT TVHT_ABOVE           = 0x0100;
constexpr UINT TVHT_BELOW           = 0x0200;
constexpr UINT TVHT_TORIGHT         = 0x0400;
constexpr UINT TVHT_TOLEFT          = 0x0800;

/* Tree view notifications, A forms. */
constexpr UINT TVN_FIRST          = static_cast<UINT>(-400);
constexpr UINT TVN_SELCHANGING    = TVN_FIRST - 1;
constexpr UINT TVN_SELCHANGED     = TVN_FIRST - 2;
constexpr UINT TVN_GETDISPINFO    = TVN_FIRST - 3;
constexpr UINT TVN_ITEMEXPANDING  = TVN_FIRST - 5;
constexpr UINT TVN_ITEMEXPANDED   = TVN_FIRST - 6;
constexpr UINT TVN_BEGINDRAG      = TVN_FIRST - 7;
constexpr UINT TVN_DELETEITEM     = TVN_FIRST - 9;
constexpr UINT TVN_BEGINLABELEDIT = TVN_FIRST - 10;
constexpr UINT TVN_ENDLABELEDIT   = TVN_FIRST - 11;
constexpr UINT TVN_KEYDOWN        = TVN_FIRST - 12;
// clang-format on

struct TVITEM {
    UINT mask; // TVIF_*
    HTREEITEM hItem;
    UINT state;     // TVIS_*
    UINT stateMask; // the states that count
    LPSTR pszText;
    int cchTextMax; // the size of pszText when reading
    int iImage;
    int iSelectedImage;
    int cChildren; // 0, 1 or I_CHILDRENCALLBACK
    LPARAM lParam;
};
using LPTVITEM = TVITEM*;

struct TVINSERTSTRUCT {
    HTREEITEM hParent;      // TVI_ROOT or NULL for a top-level item
    HTREEITEM hInsertAfter; // TVI_FIRST, TVI_LAST (TVI_ROOT counts as it), TVI_SORT or a sibling
    TVITEM item;
};
using LPTVINSERTSTRUCT = TVINSERTSTRUCT*;

struct TVHITTESTINFO {
    POINT pt;   // client coordinates
    UINT flags; // TVHT_*
    HTREEITEM hItem;
};
using LPTVHITTESTINFO = TVHITTESTINFO*;

// Compares two items by their values: negative, 0 or positive.
using PFNTVCOMPARE = int(CALLBACK*)(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);

struct TVSORTCB {
    HTREEITEM hParent;
    PFNTVCOMPARE lpfnCompare;
    LPARAM lParam;
};
using LPTVSORTCB = TVSORTCB*;

struct NMTREEVIEW {
    NMHDR hdr;
    UINT action; // TVC_* or TVE_*
    TVITEM itemOld;
    TVITEM itemNew;
    POINT ptDrag; // client coordinates
};
using LPNMTREEVIEW = NMTREEVIEW*;

struct NMTVDISPINFO {
    NMHDR hdr;
    TVITEM item;
};

#pragma pack(push, 1)
struct NMTVKEYDOWN {
    NMHDR hdr;
    WORD wVKey;
    UINT flags;
};
#pragma pack(pop)

struct NMTVCUSTOMDRAW {
    NMCUSTOMDRAW nmcd;
    COLORREF clrText;
    COLORREF clrTextBk;
    int iLevel; // the item's depth, 0 for top-level items
};

// The procedure of the "SysTreeView32" class.
LRESULT CALLBACK TreeViewWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
