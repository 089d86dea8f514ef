#pragma once

// The dialog manager: dialogs made from compiled templates, their default
// procedure, modal loops, keyboard navigation and the control helpers.
//
// A dialog is a window of the class WC_DIALOG, whose procedure is DefDlgProc.
// DefDlgProc first calls the dialog procedure given at creation; a procedure
// that handles a message returns TRUE and leaves the message's result in
// DWLP_MSGRESULT (except for WM_INITDIALOG and WM_CTLCOLOR*, whose return value
// is the result itself), else it returns FALSE and the default handling runs.
//
// Dialog units: a horizontal unit is a quarter of the dialog font's average
// character width, a vertical unit an eighth of its height. Templates with
// DS_SETFONT name their font; others use the system font (GetDialogBaseUnits).
//
// Tab order is the order of the controls in the template. A control with
// WS_GROUP starts a group that runs to the next control with WS_GROUP.

#include "platform/base/MessageBoxCodes.h"
#include "platform/base/ResourceFormat.h"
#include "platform/window/Messages.h"
#include "platform/window/WindowTypes.h"

using DLGPROC = INT_PTR(CALLBACK*)(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

// A dialog template in memory is the parsed compiled form.
using DLGTEMPLATE = DialogTemplate;
using LPCDLGTEMPLATE = const DLGTEMPLATE*;

// clang-format off
/* The dialog class. */
#define WC_DIALOG "#32770"
constexpr int DLGWINDOWEXTRA = 48;

/* Per-dialog values for GetWindowLongPtr on a dialog. */
constexpr int DWLP_MSGRESULT = 0;                                     // result of the message just handled
constexpr int DWLP_DLGPROC   = DWLP_MSGRESULT + sizeof(LRESULT);     // the dialog procedure
constexpr int DWLP_USER      = DWLP_DLGPROC + sizeof(DLGPROC);        // free for the program
constexpr int DWL_MSGRESULT  = DWLP_MSGRESULT;

/* Dialog styles. */
constexpr DWORD DS_ABSALIGN   = 0x0001;
constexpr DWORD DS_SYSMODAL   = 0x0002;
constexpr DWORD DS_3DLOOK     = 0x0004;
constexpr DWORD DS_FIXEDSYS   = 0x0008;
constexpr DWORD DS_NOFAILCREATE = 0x0010;
constexpr DWORD DS_LOCALEDIT  = 0x0020;
constexpr DWORD DS_SETFONT    = 0x0040; // the template names a font
constexpr DWORD DS_MODALFRAME = 0x0080;
constexpr DWORD DS_NOIDLEMSG  = 0x0100; // no WM_ENTERIDLE to the owner
constexpr DWORD DS_SETFOREGROUND = 0x0200;
constexpr DWORD DS_CONTROL    = 0x0400;
constexpr DWORD DS_CENTER     = 0x0800;
constexpr DWORD DS_CENTERMOUSE = 0x1000;
constexpr DWORD DS_CONTEXTHELP = 0x2000;
constexpr DWORD DS_SHELLFONT  = DS_SETFONT | DS_FIXEDSYS;
// clang-format on

/* Creating dialogs. Controls are made by class name: the caller registers the
   standard control classes first (RegisterStandardControls), as CDialog does.
   The parent of a dialog with WS_CHILD is hWndParent;
   otherwise hWndParent's top-level window owns it. lParamInit reaches the
   dialog procedure with WM_INITDIALOG. Creation fails (NULL) when the template
   is missing or malformed (ERROR_RESOURCE_NAME_NOT_FOUND, ERROR_INVALID_DATA),
   or when a control's class is unknown (ERROR_CANNOT_FIND_WND_CLASS) or the
   control refuses creation. The dialog's initial data (DialogTemplate::
   initData) goes to its controls after they are made, before WM_INITDIALOG. */

// Reads the dialog template lpTemplateName of the module, with the initial
// data of the DLGINIT resource of the same name when there is one. FALSE when
// the template is missing or either resource is malformed (ERROR_INVALID_DATA).
BOOL LoadDialogResource(HINSTANCE hInstance, LPCSTR lpTemplateName, DialogTemplate& dialog);

// A modeless dialog; visible when the template has WS_VISIBLE.
HWND CreateDialogParam(
    HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc, LPARAM lParamInit);
HWND CreateDialogIndirectParam(
    HINSTANCE hInstance, LPCDLGTEMPLATE lpTemplate, HWND hWndParent, DLGPROC lpDialogFunc, LPARAM lParamInit);
inline HWND CreateDialog(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc)
{
    return CreateDialogParam(hInstance, lpTemplateName, hWndParent, lpDialogFunc, 0);
}

// A modal dialog: the owner is disabled, the dialog shown, and its own message
// loop runs until EndDialog; then the owner is enabled again and the dialog
// destroyed. Returns the EndDialog result, or -1 when the dialog could not be
// made. While the loop finds its queue empty it sends WM_ENTERIDLE to the owner
// (unless DS_NOIDLEMSG). A WM_QUIT ends the loop; it is posted again for the
// loop outside, and the result is then 0.
INT_PTR DialogBoxParam(
    HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc, LPARAM lParamInit);
INT_PTR DialogBoxIndirectParam(
    HINSTANCE hInstance, LPCDLGTEMPLATE lpTemplate, HWND hWndParent, DLGPROC lpDialogFunc, LPARAM lParamInit);

// Ends a modal dialog with nResult: it is hidden at once, its owner enabled,
// and its loop returns once the current message is handled. For a modeless
// dialog the window is only hidden. FALSE for a window that is not a dialog.
BOOL EndDialog(HWND hDlg, INT_PTR nResult);
// TRUE once EndDialog ended hDlg, with its result in *pnResult: modal loops
// of the class library end on it too.
BOOL GetDialogResult(HWND hDlg, INT_PTR* pnResult);

// Called on the dialog's thread when a modal dialog (a message box included)
// has been made and shown, before its loop runs: a test driver answers it
// here (sets texts, presses buttons, ends it). One per thread; returns the
// previous one (nullptr removes it).
using MODALDIALOGHOOK = void (*)(HWND hDlg);
MODALDIALOGHOOK SetThreadModalDialogHook(MODALDIALOGHOOK pfnHook);
// Runs the thread's hook for a modal dialog just shown; modal loops of the
// class library call it as DialogBoxParam does.
void CallModalDialogHook(HWND hDlg);

/* The default procedure. Beyond DefWindowProc it: keeps the dialog font
   (WM_SETFONT, WM_GETFONT); answers DM_GETDEFID and DM_SETDEFID; moves the
   focus for WM_NEXTDLGCTL; saves the focus on deactivation and restores it on
   activation and WM_SETFOCUS (selecting an edit's text, as WM_NEXTDLGCTL does); turns WM_CLOSE into IDCANCEL; fills its
   background with the brush it answers to its own WM_CTLCOLORDLG (by
   default COLOR_3DFACE, see DefaultControlColors). */
LRESULT DefDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

/* Dialog units. */

// The system font's average character width (low word) and height (high word).
LONG GetDialogBaseUnits();
// Converts a rectangle from the dialog's units to pixels.
BOOL MapDialogRect(HWND hDlg, LPRECT lpRect);

/* Keyboard navigation. */

// Handles a retrieved message meant for the dialog or one of its controls as
// the dialog's keyboard interface does, unless the control asks for the key
// through WM_GETDLGCODE: Tab and Shift+Tab move in tab order, arrow keys move
// in the group (and check a radio button), Enter presses the default button
// (IDOK without one), Escape IDCANCEL, and a character (or Alt with it) that
// matches a '&' mnemonic focuses or presses that control. Any other message
// for the dialog is translated and dispatched. Returns TRUE when the message
// was for the dialog, FALSE (untouched) otherwise.
BOOL IsDialogMessage(HWND hDlg, LPMSG lpMsg);

// The next (or previous) visible, enabled control with WS_TABSTOP after
// hCtl, wrapping around; NULL hCtl starts at the beginning. NULL when none.
HWND GetNextDlgTabItem(HWND hDlg, HWND hCtl, BOOL bPrevious);
// The next (or previous) visible, enabled control of hCtl's group, wrapping
// around inside the group.
HWND GetNextDlgGroupItem(HWND hDlg, HWND hCtl, BOOL bPrevious);

/* Controls by ID. The ID calls fail with ERROR_CONTROL_ID_NOT_FOUND. */

LRESULT SendDlgItemMessage(HWND hDlg, int nIDDlgItem, UINT uMsg, WPARAM wParam, LPARAM lParam);
BOOL SetDlgItemText(HWND hDlg, int nIDDlgItem, LPCSTR lpString);
UINT GetDlgItemText(HWND hDlg, int nIDDlgItem, LPSTR lpString, int cchMax);
BOOL SetDlgItemInt(HWND hDlg, int nIDDlgItem, UINT uValue, BOOL bSigned);
// The text as a decimal number (leading and trailing blanks allowed, '-' when
// bSigned). 0 with *lpTranslated FALSE when the text is not such a number or
// does not fit.
UINT GetDlgItemInt(HWND hDlg, int nIDDlgItem, BOOL* lpTranslated, BOOL bSigned);
BOOL CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck);
UINT IsDlgButtonChecked(HWND hDlg, int nIDButton);
// Checks nIDCheckButton and clears the other buttons from nIDFirstButton to nIDLastButton.
BOOL CheckRadioButton(HWND hDlg, int nIDFirstButton, int nIDLastButton, int nIDCheckButton);
