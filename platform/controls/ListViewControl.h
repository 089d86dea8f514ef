#pragma once

// The "SysListView32" control: rows of items, each with a text per column
// (sub-item), an image, a value and states.
//
// Rows are numbered from 0; -1 answers a bad row, and every message given a
// stale row fails without effect. Texts stored as LPSTR_TEXTCALLBACK and
// images stored as I_IMAGECALLBACK are asked of the parent with
// LVN_GETDISPINFO whenever they are needed, LVM_GETITEM and LVM_GETITEMTEXT
// included; the control's own requests offer a buffer of
// LISTVIEW_CALLBACK_TEXT bytes. A row inserted with a callback text asks for
// the texts of all its sub-items, except those set since.
//
// Report view (LVS_REPORT) shows a header, a child window with ID 0 whose
// notifications come to the list; the columns follow the header's widths
// and order, read again whenever the list lays out or paints, so an owner
// that applies header changes itself stays in step. With LVS_OWNERDRAWFIXED
// the parent draws each visible row through WM_DRAWITEM {ODT_LISTVIEW,
// rcItem = the row's bounds, itemData = its value}; the row height comes from
// WM_MEASUREITEM, asked at creation, on WM_SETFONT and on every
// WM_WINDOWPOSCHANGED. Icon, small-icon and list views are laid out as the
// icon view.
//
// Scrolling: the list shows the scroll bars it needs itself (unless
// LVS_NOSCROLL, or the owner takes them away again) and moves the pixels of
// the rows it scrolls, painting only what comes into view. With WM_SETREDRAW
// FALSE, inserts and deletes leave the layout and the scroll information
// alone until redraw comes back on.
//
// States: LVIS_FOCUSED (one row at most), LVIS_SELECTED (one row at most
// with LVS_SINGLESEL, which also refuses to select every row), LVIS_CUT,
// LVIS_DROPHILITED, an overlay index in bits 8-11 and a state-image index in
// bits 12-15 (0: none). Every change of focus or selection, by message or by
// the user, is offered as LVN_ITEMCHANGING (nonzero refuses) and announced as
// LVN_ITEMCHANGED with uChanged LVIF_STATE, a row losing what another takes
// first; an inserted row's focus and selection too, before LVN_INSERTITEM.
// Deleting the focused row passes the focus to the row that takes its index,
// else to the new last row.
//
// Input: every key first reaches the parent as LVN_KEYDOWN; Enter then sends
// NM_RETURN. A press on a row
// selects it, then a drag-detect loop runs inside WM_LBUTTONDOWN: leaving the
// drag rectangle sends LVN_BEGINDRAG before WM_LBUTTONDOWN returns, a release
// NM_CLICK. On an already selected row the other rows lose their selection
// only when no drag started, so a drag carries the whole selection.
//
// Label editing (LVM_EDITLABEL; with LVS_EDITLABELS also F2, and a second
// click on the label of the focused, selected row that no double click
// follows within the double-click time) puts an "Edit" child (at most 259
// characters unless the owner limits it further) over the row's label and then sends LVN_BEGINLABELEDIT, so the handler
// can reach and limit it (LVM_GETEDITCONTROL); a nonzero answer refuses. Enter and losing the focus commit, Esc
// cancels; LVN_ENDLABELEDIT carries the new text, or a null pszText when cancelled, and a nonzero answer stores it. The
// editor is gone from the list before LVN_ENDLABELEDIT is sent, so the handler may start a new edit.

#include "platform/controls/CommonControls.h"
#include "platform/gdi/ImageLists.h"

// clang-format off
/* List view styles. The view is style & LVS_TYPEMASK. */
constexpr DWORD LVS_ICON            = 0x0000;
constexpr DWORD LVS_REPORT          = 0x0001;
constexpr DWORD LVS_SMALLICON       = 0x0002;
constexpr DWORD LVS_LIST            = 0x0003;
constexpr DWORD LVS_TYPEMASK        = 0x0003;
constexpr DWORD LVS_SINGLESEL       = 0x0004;
constexpr DWORD LVS_SHOWSELALWAYS   = 0x0008;
constexpr DWORD LVS_SHAREIMAGELISTS = 0x0040;
constexpr DWORD LVS_AUTOARRANGE     = 0x0100;
constexpr DWORD LVS_EDITLABELS      = 0x0200;
constexpr DWORD LVS_OWNERDRAWFIXED  = 0x0400;
constexpr DWORD LVS_NOSCROLL        = 0x2000; // the list shows no scroll bars of its own
constexpr DWORD LVS_NOCOLUMNHEADER  = 0x4000;
constexpr DWORD LVS_NOSORTHEADER    = 0x8000;

/* Extended styles (LVM_SETEXTENDEDLISTVIEWSTYLE). */
constexpr DWORD LVS_EX_GRIDLINES      = 0x0001;
constexpr DWORD LVS_EX_HEADERDRAGDROP = 0x0010; // the header's items can be dragged to reorder the columns
constexpr DWORD LVS_EX_FULLROWSELECT  = 0x0020; // the whole row answers hit tests and shows selection

/* List view messages, A forms. */
constexpr UINT LVM_FIRST                    = 0x1000;
constexpr UINT LVM_GETIMAGELIST             = LVM_FIRST + 2;  // wParam: LVSIL_*
constexpr UINT LVM_SETIMAGELIST             = LVM_FIRST + 3;  // wParam: LVSIL_*; lParam: HIMAGELIST; returns the old one
constexpr UINT LVM_GETITEMCOUNT             = LVM_FIRST + 4;
constexpr UINT LVM_GETITEM                  = LVM_FIRST + 5;  // lParam: LVITEM*
constexpr UINT LVM_SETITEM                  = LVM_FIRST + 6;
constexpr UINT LVM_INSERTITEM               = LVM_FIRST + 7;  // returns the new row or -1
constexpr UINT LVM_DELETEITEM               = LVM_FIRST + 8;
constexpr UINT LVM_DELETEALLITEMS           = LVM_FIRST + 9;
constexpr UINT LVM_GETNEXTITEM              = LVM_FIRST + 12; // wParam: the row to start after, -1 for all; lParam: LVNI_*
constexpr UINT LVM_FINDITEM                 = LVM_FIRST + 13; // wParam: the row to start after; lParam: LVFINDINFO*
constexpr UINT LVM_GETITEMRECT              = LVM_FIRST + 14; // wParam: the row; lParam: RECT* with left = LVIR_*
constexpr UINT LVM_GETSTRINGWIDTH           = LVM_FIRST + 17; // lParam: the text; returns its width in pixels
constexpr UINT LVM_HITTEST                  = LVM_FIRST + 18; // lParam: LVHITTESTINFO*; returns the row or -1
constexpr UINT LVM_ENSUREVISIBLE            = LVM_FIRST + 19; // wParam: the row; lParam: TRUE if partly is enough
constexpr UINT LVM_SCROLL                   = LVM_FIRST + 20; // wParam: dx pixels; lParam: dy pixels (rounded to rows)
constexpr UINT LVM_REDRAWITEMS              = LVM_FIRST + 21; // wParam: the first row; lParam: the last
constexpr UINT LVM_EDITLABEL                = LVM_FIRST + 23; // wParam: the row, -1 cancels; returns the editor
constexpr UINT LVM_GETEDITCONTROL           = LVM_FIRST + 24; // the editor while a label is edited, else NULL
constexpr UINT LVM_GETCOLUMN                = LVM_FIRST + 25; // wParam: the column; lParam: LVCOLUMN*
constexpr UINT LVM_SETCOLUMN                = LVM_FIRST + 26;
constexpr UINT LVM_INSERTCOLUMN             = LVM_FIRST + 27; // returns the new column or -1
constexpr UINT LVM_DELETECOLUMN             = LVM_FIRST + 28;
constexpr UINT LVM_GETCOLUMNWIDTH           = LVM_FIRST + 29;
constexpr UINT LVM_SETCOLUMNWIDTH           = LVM_FIRST + 30; // wParam: the column; lParam: pixels or LVSCW_*
constexpr UINT LVM_GETHEADER                = LVM_FIRST + 31;
constexpr UINT LVM_GETTOPINDEX              = LVM_FIRST + 39;
constexpr UINT LVM_GETCOUNTPERPAGE          = LVM_FIRST + 40;
constexpr UINT LVM_GETORIGIN                = LVM_FIRST + 41; // lParam: POINT*
constexpr UINT LVM_CREATEDRAGIMAGE          = LVM_FIRST + 33; // wParam: the row; lParam: POINT* for its corner; the caller destroys the list
constexpr UINT LVM_UPDATE                   = LVM_FIRST + 42; // wParam: the row, repainted now
constexpr UINT LVM_SETITEMSTATE             = LVM_FIRST + 43; // wParam: the row, -1 for all; lParam: LVITEM* (state, stateMask)
constexpr UINT LVM_GETITEMSTATE             = LVM_FIRST + 44; // wParam: the row; lParam: the mask
constexpr UINT LVM_GETITEMTEXT              = LVM_FIRST + 45; // wParam: the row; lParam: LVITEM* (iSubItem, pszText, cchTextMax)
constexpr UINT LVM_SETITEMTEXT              = LVM_FIRST + 46;
constexpr UINT LVM_SETITEMCOUNT             = LVM_FIRST + 47; // wParam: rows to make room for
constexpr UINT LVM_SORTITEMS                = LVM_FIRST + 48; // wParam: lParamSort; lParam: PFNLVCOMPARE
constexpr UINT LVM_GETSELECTEDCOUNT         = LVM_FIRST + 50;
constexpr UINT LVM_SETEXTENDEDLISTVIEWSTYLE = LVM_FIRST + 54; // wParam: the mask (0: all); lParam: the styles
constexpr UINT LVM_GETEXTENDEDLISTVIEWSTYLE = LVM_FIRST + 55;
constexpr UINT LVM_GETSUBITEMRECT           = LVM_FIRST + 56; // wParam: the row; lParam: RECT* with top = column, left = LVIR_*
constexpr UINT LVM_SUBITEMHITTEST           = LVM_FIRST + 57; // lParam: LVHITTESTINFO*

/* Image lists. */
constexpr int LVSIL_NORMAL = 0;
constexpr int LVSIL_SMALL  = 1;
constexpr int LVSIL_STATE  = 2;

/* LVITEM::mask. */
constexpr UINT LVIF_TEXT       = 0x0001;
constexpr UINT LVIF_IMAGE      = 0x0002;
constexpr UINT LVIF_PARAM      = 0x0004;
constexpr UINT LVIF_STATE      = 0x0008;
constexpr UINT LVIF_INDENT     = 0x0010;
constexpr UINT LVIF_DI_SETITEM = 0x1000; // LVN_GETDISPINFO: the control keeps what the parent gave

/* LVITEM::state. */
constexpr UINT LVIS_FOCUSED        = 0x0001;
constexpr UINT LVIS_SELECTED       = 0x0002;
constexpr UINT LVIS_CUT            = 0x0004;
constexpr UINT LVIS_DROPHILITED    = 0x0008;
constexpr UINT LVIS_OVERLAYMASK    = 0x0F00;
constexpr UINT LVIS_STATEIMAGEMASK = 0xF000;
constexpr UINT INDEXTOSTATEIMAGEMASK(UINT i) { return i << 12; }


/* LVM_GETNEXTITEM flags. */
constexpr UINT LVNI_ALL         = 0x0000;
constexpr UINT LVNI_FOCUSED     = 0x0001;
constexpr UINT LVNI_SELECTED    = 0x0002;
constexpr UINT LVNI_CUT         = 0x0004;
constexpr UINT LVNI_DROPHILITED = 0x0008;
constexpr UINT LVNI_ABOVE       = 0x0100;
constexpr UINT LVNI_BELOW       = 0x0200;

/* LVM_GETITEMRECT kinds. */
constexpr int LVIR_BOUNDS = 0; // the whole row
constexpr int LVIR_ICON   = 1; // the small image
constexpr int LVIR_LABEL  = 2; // the text
constexpr int LVIR_SELECTBOUNDS = 3;

/* LVHITTESTINFO::flags. */
constexpr UINT LVHT_NOWHERE         = 0x0001;
constexpr UINT LVHT_ONITEMICON      = 0x0002;
constexpr UINT LVHT_ONITEMLABEL     = 0x0004;
constexpr UINT LVHT_ONITEMSTATEICON = 0x0008;
constexpr UINT LVHT_ONITEM          = LVHT_ONITEMICON | LVHT_ONITEMLABEL | LVHT_ONITEMSTATEICON;
constexpr UINT LVHT_ABOVE           = 0x0008;
constexpr UINT LVHT_BELOW           = 0x0010;
constexpr UINT LVHT_TORIGHT         = 0x0020;
constexpr UINT LVHT_TOLEFT          = 0x0040;

/* LVCOLUMN::mask and fmt. */
constexpr UINT LVCF_FMT     = 0x0001;
constexpr UINT LVCF_WIDTH   = 0x0002;
constexpr UINT LVCF_TEXT    = 0x0004;
constexpr UINT LVCF_SUBITEM = 0x0008;
constexpr UINT LVCF_ORDER   = 0x0020;
constexpr int LVCFMT_LEFT   = 0x0000;
constexpr int LVCFMT_RIGHT  = 0x0001;
constexpr int LVCFMT_CENTER = 0x0002;
constexpr int LVCFMT_JUSTIFYMASK = 0x0003;

/* LVM_SETCOLUMNWIDTH special widths. */
constexpr int LVSCW_AUTOSIZE           = -1; // the widest text of the column
constexpr int LVSCW_AUTOSIZE_USEHEADER = -2; // and the header's text

/* LVFINDINFO::flags. */
constexpr UINT LVFI_PARAM   = 0x0001;
constexpr UINT LVFI_STRING  = 0x0002; // the whole text, letter case ignored
constexpr UINT LVFI_PARTIAL = 0x0008; // a text that starts with psz
constexpr UINT LVFI_WRAP    = 0x0020;

/* List view notifications, A forms. */
constexpr UINT LVN_FIRST           = static_cast<UINT>(-100);
constexpr UINT LVN_ITEMCHANGING    = LVN_FIRST - 0;
constexpr UINT LVN_ITEMCHANGED     = LVN_FIRST - 1;
constexpr UINT LVN_INSERTITEM      = LVN_FIRST - 2;
constexpr UINT LVN_DELETEITEM      = LVN_FIRST - 3;
constexpr UINT LVN_DELETEALLITEMS  = LVN_FIRST - 4;
constexpr UINT LVN_BEGINLABELEDIT  = LVN_FIRST - 5;
constexpr UINT LVN_ENDLABELEDIT    = LVN_FIRST - 6;
constexpr UINT LVN_COLUMNCLICK     = LVN_FIRST - 8;
constexpr UINT LVN_BEGINDRAG       = LVN_FIRST - 9;
constexpr UINT LVN_BEGINRDRAG      = LVN_FIRST - 11;
constexpr UINT LVN_GETDISPINFO     = LVN_FIRST - 50;
constexpr UINT LVN_SETDISPINFO     = LVN_FIRST - 51;
constexpr UINT LVN_KEYDOWN         = LVN_FIRST - 55;
// clang-format on

struct LVITEM {
    UINT mask; // LVIF_*
    int iItem;
    int iSubItem;
    UINT state;     // LVIS_*
    UINT stateMask; // the states that count
    LPSTR pszText;
    int cchTextMax; // the size of pszText when reading
    int iImage;
    LPARAM lParam;
    int iIndent;
};
using LPLVITEM = LVITEM*;

struct LVCOLUMN {
    UINT mask; // LVCF_*
    int fmt;   // LVCFMT_*
    int cx;
    LPSTR pszText;
    int cchTextMax;
    int iSubItem;
    int iImage;
    int iOrder;
};
using LPLVCOLUMN = LVCOLUMN*;

struct LVFINDINFO {
    UINT flags; // LVFI_*
    LPCSTR psz;
    LPARAM lParam;
    POINT pt;
    UINT vkDirection;
};

struct LVHITTESTINFO {
    POINT pt;   // client coordinates
    UINT flags; // LVHT_*
    int iItem;
    int iSubItem;
};
using LPLVHITTESTINFO = LVHITTESTINFO*;

struct NMLISTVIEW {
    NMHDR hdr;
    int iItem;
    int iSubItem;
    UINT uNewState;
    UINT uOldState;
    UINT uChanged;  // LVIF_*
    POINT ptAction; // client coordinates
    LPARAM lParam;
};
using LPNMLISTVIEW = NMLISTVIEW*;

// NM_CLICK, NM_DBLCLK, NM_RCLICK of a list.
struct NMITEMACTIVATE {
    NMHDR hdr;
    int iItem;
    int iSubItem;
    UINT uNewState;
    UINT uOldState;
    UINT uChanged;
    POINT ptAction;
    LPARAM lParam;
    UINT uKeyFlags;
};

struct NMLVDISPINFO {
    NMHDR hdr;
    LVITEM item;
};

#pragma pack(push, 1)
struct NMLVKEYDOWN {
    NMHDR hdr;
    WORD wVKey;
    UINT flags;
};
#pragma pack(pop)

// Compares two rows by their values: negative, 0 or positive.
using PFNLVCOMPARE = int(CALLBACK*)(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);

// The size of the buffer the control offers LVN_GETDISPINFO for its own needs.
constexpr int LISTVIEW_CALLBACK_TEXT = 1024;

// The procedure of the "SysListView32" class.
LRESULT CALLBACK ListViewWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
