#pragma once

// Property sheets: a dialog that shows one of several page dialogs at a time,
// with OK, Cancel, Apply and Help below them, or as a wizard with Back, Next,
// Finish, Cancel and Help. A sheet made with WS_CHILD has no buttons and no
// caption: it is a box of pages inside another dialog.
//
// The sheet is a window of the dialog class whose procedure answers the PSM_*
// messages below. Pages are dialogs made from their templates as children of
// the sheet, with WS_CHILD, DS_CONTROL and WS_EX_CONTROLPARENT, so that the
// dialog manager walks into them. A page's window is made when the page is
// first activated; the start page when the sheet is made. The sheet tells its
// pages what happens with WM_NOTIFY: a PSHNOTIFY {hwndFrom the sheet, idFrom
// 0, code PSN_*} sent to the page window; the page's answer is the result.
//
// The protocols:
// - Changing pages: PSN_KILLACTIVE to the current page (nonzero keeps it),
//   then PSN_SETACTIVE to the new one (made first when needed). A page that
//   answers -1 is passed over for the next one in the direction of travel
//   (Next or Back, else from the old page towards the new); when every page on
//   the way refuses, the old page stays current.
// - Focus: a sheet of its own starts on the first tab stop of its page, or on
//   the default button when the page has none. After a wizard step the focus
//   goes into the new page the same way, and after Back the default button is
//   Back while it is enabled. A button that goes grey or away with the focus
//   hands it to the default button.
// - Modified pages: Apply is enabled while a page has sent PSM_CHANGED and
//   neither PSM_UNCHANGED nor a successful apply pass followed.
// - OK: PSN_KILLACTIVE to the current page (nonzero: nothing more), then
//   PSN_APPLY (lParam TRUE) to every made page in page order; an answer other
//   than PSNRET_NOERROR stops the pass and keeps the sheet open (with
//   PSNRET_INVALID that page becomes the current one). Then the sheet is done
//   with IDOK. Apply does the same pass (lParam FALSE) and stays open.
// - Cancel (button, Escape, close box): PSN_QUERYCANCEL to the current page
//   (nonzero keeps the sheet), then PSN_RESET to every made page; done with IDCANCEL.
// - Wizard Next and Back: PSN_WIZNEXT or PSN_WIZBACK to the current page; 0
//   moves to the next or previous page, -1 stays (the page may have changed
//   pages itself), another value is the template ID of the page to show.
//   Finish: PSN_WIZFINISH (nonzero refuses); done with ID_WIZFINISH.
// A sheet that is done keeps its window, hidden; PSM_GETCURRENTPAGEHWND then
// answers NULL and PSM_GETRESULT the result, and the owner destroys it.
//
// Tabs: a sheet that is not a wizard shows its pages inside a tab control
// (PSM_GETTABCONTROL) with a tab for each page, titled with the PSP_USETITLE
// title or else the page template's caption ("&" marks a mnemonic). A click on
// a tab, or Ctrl+Tab and Ctrl+Shift+Tab anywhere in the sheet (through
// PSM_ISDIALOGMESSAGE), changes pages as above: TCN_SELCHANGING asks the
// current page with PSN_KILLACTIVE, TCN_SELCHANGE activates the new one. The
// tab control comes after the buttons in tab order. Programs also choose
// pages by PSM_SETCURSEL and PSM_SETCURSELID. Help (IDHELP) is always
// there; it takes a place in the button row only when the sheet or a page
// offers help when the sheet is made, and shows only while it is offered.

#include "platform/window/Dialog.h"
#include "platform/window/Messages.h"
#include "platform/window/WindowTypes.h"

// clang-format off
/* Messages to the sheet. */
constexpr UINT PSM_SETCURSEL          = WM_USER + 101; // wParam: index; lParam: unused. TRUE when shown
constexpr UINT PSM_REMOVEPAGE         = WM_USER + 102; // wParam: index. TRUE when removed (never the last page)
constexpr UINT PSM_ADDPAGE            = WM_USER + 103; // lParam: a PROPSHEETPAGE, copied; added last. TRUE when added
constexpr UINT PSM_CHANGED            = WM_USER + 104; // wParam: the page window; enables Apply
constexpr UINT PSM_UNCHANGED          = WM_USER + 109; // wParam: the page window; Apply stays only while another page changed
constexpr UINT PSM_APPLY              = WM_USER + 110; // runs the apply pass; TRUE when every page agreed
constexpr UINT PSM_SETWIZBUTTONS      = WM_USER + 112; // lParam: PSWIZB_* flags
constexpr UINT PSM_PRESSBUTTON        = WM_USER + 113; // wParam: PSBTN_*; acted on before it returns
constexpr UINT PSM_SETCURSELID        = WM_USER + 114; // lParam: the page's template ID
constexpr UINT PSM_GETTABCONTROL      = WM_USER + 116; // the tab control; NULL in a wizard
constexpr UINT PSM_ISDIALOGMESSAGE    = WM_USER + 117; // lParam: MSG*; TRUE when the sheet took the message
constexpr UINT PSM_GETCURRENTPAGEHWND = WM_USER + 118; // the current page window; NULL once the sheet is done
constexpr UINT PSM_HWNDTOINDEX        = WM_USER + 129; // wParam: a page window; its index or -1
constexpr UINT PSM_INDEXTOHWND        = WM_USER + 130; // wParam: index; the page window or NULL (not made yet)
constexpr UINT PSM_IDTOINDEX          = WM_USER + 133; // lParam: template ID; the index or -1
constexpr UINT PSM_INDEXTOID          = WM_USER + 134; // wParam: index; the template ID or 0
constexpr UINT PSM_GETRESULT          = WM_USER + 135; // the result once done, else -1

/* Notifications to the pages. */
constexpr UINT PSN_FIRST       = static_cast<UINT>(-200);
constexpr UINT PSN_SETACTIVE   = PSN_FIRST - 0;
constexpr UINT PSN_KILLACTIVE  = PSN_FIRST - 1;  // nonzero keeps the page
constexpr UINT PSN_APPLY       = PSN_FIRST - 2;  // PSNRET_*; lParam TRUE for OK, FALSE for Apply
constexpr UINT PSN_RESET       = PSN_FIRST - 3;
constexpr UINT PSN_HELP        = PSN_FIRST - 5;
constexpr UINT PSN_WIZBACK     = PSN_FIRST - 6;  // 0, -1 or a template ID
constexpr UINT PSN_WIZNEXT     = PSN_FIRST - 7;  // 0, -1 or a template ID
constexpr UINT PSN_WIZFINISH   = PSN_FIRST - 8;  // nonzero refuses
constexpr UINT PSN_QUERYCANCEL = PSN_FIRST - 9;  // nonzero keeps the sheet
constexpr UINT PSN_LAST        = PSN_FIRST - 99;

constexpr LRESULT PSNRET_NOERROR              = 0;
constexpr LRESULT PSNRET_INVALID              = 1; // refused; the page is shown
constexpr LRESULT PSNRET_INVALID_NOCHANGEPAGE = 2; // refused; the current page stays

/* PROPSHEETHEADER::dwFlags. */
constexpr DWORD PSH_DEFAULT     = 0x0000;
constexpr DWORD PSH_PROPTITLE   = 0x0001;
constexpr DWORD PSH_WIZARD      = 0x0020;
constexpr DWORD PSH_NOAPPLYNOW  = 0x0080; // no Apply button
constexpr DWORD PSH_HASHELP     = 0x0200; // Help shows on every page
constexpr DWORD PSH_MODELESS    = 0x0400;

/* PROPSHEETPAGE::dwFlags. */
constexpr DWORD PSP_DEFAULT     = 0x0000;
constexpr DWORD PSP_DLGINDIRECT = 0x0001; // pResource is the template, else pszTemplate in hInstance
constexpr DWORD PSP_USETITLE    = 0x0008;
constexpr DWORD PSP_HASHELP     = 0x0020; // Help shows while this page is current
constexpr DWORD PSP_USECALLBACK = 0x0080;

/* PSM_SETWIZBUTTONS. */
constexpr DWORD PSWIZB_BACK   = 0x0001;
constexpr DWORD PSWIZB_NEXT   = 0x0002;
constexpr DWORD PSWIZB_FINISH = 0x0004; // Finish replaces Next and is the default

/* PSM_PRESSBUTTON. */
constexpr int PSBTN_BACK     = 0;
constexpr int PSBTN_NEXT     = 1;
constexpr int PSBTN_FINISH   = 2;
constexpr int PSBTN_OK       = 3;
constexpr int PSBTN_APPLYNOW = 4;
constexpr int PSBTN_CANCEL   = 5;
constexpr int PSBTN_HELP     = 6;

/* The sheet's own controls beside IDOK, IDCANCEL and IDHELP. */
constexpr int ID_APPLY_NOW  = 0x3021;
constexpr int ID_WIZBACK    = 0x3023;
constexpr int ID_WIZNEXT    = 0x3024;
constexpr int ID_WIZFINISH  = 0x3025;

/* Page callback messages. */
constexpr UINT PSPCB_ADDREF  = 0;
constexpr UINT PSPCB_RELEASE = 1;
constexpr UINT PSPCB_CREATE  = 2; // the page window is about to be made; 0 refuses
// clang-format on

struct PROPSHEETPAGE;
// With PSP_USECALLBACK: told about the page's life; hWnd is NULL.
using LPFNPSPCALLBACK = UINT(CALLBACK*)(HWND hWnd, UINT uMsg, PROPSHEETPAGE* ppsp);

struct PROPSHEETPAGE {
    DWORD dwSize { sizeof(PROPSHEETPAGE) };
    DWORD dwFlags { PSP_DEFAULT };
    HINSTANCE hInstance { nullptr };
    LPCSTR pszTemplate { nullptr };          // the template's name or ID (kept with PSP_DLGINDIRECT as its ID)
    LPCDLGTEMPLATE pResource { nullptr };    // with PSP_DLGINDIRECT; kept by the caller while the sheet lives
    LPCSTR pszTitle { nullptr };             // with PSP_USETITLE, else the template's caption
    DLGPROC pfnDlgProc { nullptr };          // the page's dialog procedure; WM_INITDIALOG's lParam is this page
    LPARAM lParam { 0 };                     // the caller's
    LPFNPSPCALLBACK pfnCallback { nullptr }; // with PSP_USECALLBACK
};
using LPCPROPSHEETPAGE = const PROPSHEETPAGE*;

struct PROPSHEETHEADER {
    DWORD dwSize { sizeof(PROPSHEETHEADER) };
    DWORD dwFlags { PSH_DEFAULT };
    HWND hwndParent { nullptr };
    HINSTANCE hInstance { nullptr };
    LPCSTR pszCaption { nullptr };
    UINT nPages { 0 };
    UINT nStartPage { 0 };
    LPCPROPSHEETPAGE ppsp { nullptr }; // nPages pages, copied by the sheet
};

// The notification the sheet sends its pages.
struct PSHNOTIFY {
    NMHDR hdr;
    LPARAM lParam;
};

// Makes a sheet from the header: a popup dialog with its buttons owned by
// hwndParent's top-level window, or, with WS_CHILD in dwStyle, a child of
// hwndParent without buttons. The sheet is sized to its largest page and shows
// the start page; it is visible when dwStyle has WS_VISIBLE. NULL when a page
// template is missing or malformed or no page could be shown.
HWND CreatePropertySheet(const PROPSHEETHEADER* ppsh, DWORD dwStyle, DWORD dwExStyle);
