#pragma once

// Windows behind HWND values: creation and destruction, the parent, owner and
// z-order relations, position, visibility, enable state, text, properties and
// per-window data.
//
// Every window belongs to the thread that created it. A handle stays valid
// until the window's WM_NCDESTROY has been handled; after that every call
// refuses it with ERROR_INVALID_WINDOW_HANDLE and IsWindow returns FALSE.
// Handle values are never reused.
//
// Geometry: a window's rectangle is kept in its parent's client coordinates;
// top-level windows are children of the desktop window, whose client area is
// the screen (GetSystemMetrics SM_CXSCREEN by SM_CYSCREEN). The client area is
// the window rectangle less a non-client frame computed from the styles:
//   - WS_THICKFRAME: SM_CXFRAME/SM_CYFRAME on each side; else WS_DLGFRAME or
//     WS_EX_DLGMODALFRAME: SM_CXDLGFRAME/SM_CYDLGFRAME; else WS_BORDER:
//     SM_CXBORDER/SM_CYBORDER;
//   - WS_CAPTION (both bits): SM_CYCAPTION more at the top (SM_CYSMCAPTION
//     with WS_EX_TOOLWINDOW);
//   - WS_EX_CLIENTEDGE: SM_CXEDGE/SM_CYEDGE more on each side;
//     WS_EX_STATICEDGE: SM_CXBORDER/SM_CYBORDER more;
//   - WS_VSCROLL: SM_CXVSCROLL at the right; WS_HSCROLL: SM_CYHSCROLL at the bottom.
// A client area never has a negative size.

#include "platform/window/WindowTypes.h"

/* Creating and destroying. */

// Creates a window of a registered class. For a WS_CHILD window hWndParent is
// the parent and hMenu the control ID; for any other window hWndParent, when
// given, names the owner (its top-level ancestor becomes the owner). The new
// window goes on top of its siblings (of the topmost ones with WS_EX_TOPMOST).
// The procedure receives WM_GETMINMAXINFO (overlapped windows and those with
// WS_THICKFRAME, whose size then keeps to the tracking limits), WM_NCCREATE
// (FALSE refuses; DefWindowProc sets the text), WM_NCCALCSIZE, WM_CREATE (-1
// refuses, after which the window is destroyed), WM_SIZE and WM_MOVE; the
// ancestors of a child then get WM_PARENTNOTIFY (see SendParentNotify in
// WindowInternal.h); with WS_VISIBLE the window is then shown as by ShowWindow
// (maximized or minimized with WS_MAXIMIZE or WS_MINIMIZE, which are
// otherwise dropped).
// CW_USEDEFAULT gives an overlapped window position (0, 0) and three quarters
// of the screen; other windows get 0. Fails with ERROR_CANNOT_FIND_WND_CLASS,
// ERROR_TLW_WITH_WSCHILD, ERROR_INVALID_WINDOW_HANDLE (bad parent).
HWND CreateWindowEx(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int x, int y, int nWidth,
    int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance, LPVOID lpParam);
inline HWND CreateWindow(LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int x, int y, int nWidth, int nHeight,
    HWND hWndParent, HMENU hMenu, HINSTANCE hInstance, LPVOID lpParam)
{
    return CreateWindowEx(
        0, lpClassName, lpWindowName, dwStyle, x, y, nWidth, nHeight, hWndParent, hMenu, hInstance, lpParam);
}

// Destroys the window, the windows it owns (first) and its children. The
// ancestors of a child hear of it first (WM_PARENTNOTIFY). A visible window is
// then hidden, and the focus and activation it holds are handed on (Focus.h),
// so that a focus window's WM_KILLFOCUS runs while it still works. Sends
// WM_DESTROY to the window and then down to its children (parent before
// children), then WM_NCDESTROY up from the deepest children (the window's own
// is its last message). Only the owner thread may destroy a window
// (ERROR_ACCESS_DENIED). Called again for a window already being destroyed, it
// does nothing and returns TRUE.
BOOL DestroyWindow(HWND hWnd);

// The procedure a thread runs for each window it creates, after the window
// exists and before its procedure receives WM_NCCREATE: the class library
// attaches its window objects there, so that they see every message. One per
// thread; returns the previous one (nullptr removes it).
using WNDCREATEHOOK = void (*)(HWND hWnd, LPCREATESTRUCT lpcs);
WNDCREATEHOOK SetThreadCreateHook(WNDCREATEHOOK pfnHook);

BOOL IsWindow(HWND hWnd);
// The window that stands for the screen: parent of every top-level window.
HWND GetDesktopWindow();
// The thread that created the window (0 when the handle is not valid);
// *lpdwProcessId receives this process's id.
DWORD GetWindowThreadProcessId(HWND hWnd, LPDWORD lpdwProcessId);

/* Relations. */

// The parent of a WS_CHILD window, the owner of a WS_POPUP window, else NULL.
HWND GetParent(HWND hWnd);
// Moves the window under a new parent (NULL: the desktop window), on top of its
// new siblings, keeping its coordinates; the WS_CHILD style is left to the
// caller. Returns the previous parent. Refuses a parent inside the window itself.
HWND SetParent(HWND hWndChild, HWND hWndNewParent);
HWND GetWindow(HWND hWnd, UINT uCmd);      // GW_*
HWND GetAncestor(HWND hWnd, UINT gaFlags); // GA_*
// TRUE when hWnd is below hWndParent through a chain of WS_CHILD windows.
BOOL IsChild(HWND hWndParent, HWND hWnd);
// The child at the top of the z-order; NULL asks for the top-level windows.
HWND GetTopWindow(HWND hWnd);

HWND GetDlgItem(HWND hDlg, int nIDDlgItem);
int GetDlgCtrlID(HWND hWnd);

/* Enumerating and finding. Callbacks may destroy windows; windows gone before
   their turn are skipped. A callback returning FALSE ends the enumeration. */

// Every descendant, each child followed by its own descendants, in z-order.
// NULL as parent enumerates the top-level windows as EnumWindows.
BOOL EnumChildWindows(HWND hWndParent, WNDENUMPROC lpEnumFunc, LPARAM lParam);
// The top-level windows in z-order; FALSE when the callback stopped it.
BOOL EnumWindows(WNDENUMPROC lpEnumFunc, LPARAM lParam);
// The top-level windows of one thread; FALSE when it has none or the callback stopped it.
BOOL EnumThreadWindows(DWORD dwThreadId, WNDENUMPROC lpfn, LPARAM lParam);

// The first child of hWndParent (NULL: the top-level windows) after
// hWndChildAfter in z-order whose class (name without regard to case, or
// atom) and text (exact, NULL matches any) match. A top-level search that
// finds nothing here asks the cross-process finder, if one is installed.
HWND FindWindowEx(HWND hWndParent, HWND hWndChildAfter, LPCSTR lpszClass, LPCSTR lpszWindow);
inline HWND FindWindow(LPCSTR lpClassName, LPCSTR lpWindowName)
{
    return FindWindowEx(nullptr, nullptr, lpClassName, lpWindowName);
}

// The seam for finding top-level windows of other running instances of the
// program. The single-instance channel installs a finder; for a window it
// finds in another process it returns a window of this process that stands for
// it (a hidden window whose procedure forwards what it is sent over the
// channel), so that SendMessage and the rest work on the result unchanged.
class CForeignWindowFinder {
public:
    virtual ~CForeignWindowFinder() = default;
    virtual HWND FindTopLevelWindow(LPCSTR lpszClass, LPCSTR lpszWindow) = 0;
};
// Installs the finder (nullptr removes it) and returns the previous one; the caller keeps ownership.
CForeignWindowFinder* SetForeignWindowFinder(CForeignWindowFinder* pFinder);

/* Position, size and z-order. */

// Changes position, size, z-order and visibility as the SWP_* flags allow.
// hWndInsertAfter: HWND_TOP, HWND_BOTTOM (also ends topmost), HWND_TOPMOST,
// HWND_NOTOPMOST, or a sibling to go below. Sends WM_WINDOWPOSCHANGING (unless
// SWP_NOSENDCHANGING), whose handler may change the WINDOWPOS (DefWindowProc
// keeps a new size to the window's WM_GETMINMAXINFO tracking limits, for
// overlapped windows and those with WS_THICKFRAME), WM_NCCALCSIZE (TRUE, with
// NCCALCSIZE_PARAMS) when the size or (SWP_FRAMECHANGED) the frame changes,
// then WM_WINDOWPOSCHANGED; DefWindowProc turns the latter into WM_MOVE and
// WM_SIZE. The client area follows the styles as they stand once
// WM_NCCALCSIZE returns, less what a handler took beyond DefWindowProc's
// answer (a frame of the window's own). Without SWP_NOACTIVATE a visible top-level window is
// activated; hiding hands the focus and activation on (Focus.h).
BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy, UINT uFlags);
BOOL MoveWindow(HWND hWnd, int x, int y, int nWidth, int nHeight, BOOL bRepaint);

// SW_HIDE hides; SW_SHOW* and SW_RESTORE show; SW_MAXIMIZE gives the place
// and size WM_GETMINMAXINFO answers (by default the parent's client area, the
// screen); SW_MINIMIZE shrinks to SM_CXMINIMIZED by SM_CYMINIMIZED at the
// parent's bottom-left; SW_RESTORE and SW_SHOWNORMAL return to the rectangle
// from before. WM_SHOWWINDOW is sent when the visibility changes. Showing
// activates a top-level window, except with SW_SHOWNA, SW_SHOWNOACTIVATE,
// SW_SHOWMINNOACTIVE, SW_MINIMIZE and SW_FORCEMINIMIZE; hiding hands the focus
// and activation on (Focus.h). Returns whether the window was visible before.
BOOL ShowWindow(HWND hWnd, int nCmdShow);
// Visible itself and all its ancestors.
BOOL IsWindowVisible(HWND hWnd);
BOOL IsIconic(HWND hWnd);
BOOL IsZoomed(HWND hWnd);

// Sends WM_ENABLE when the state changes. Returns whether the window was disabled before.
BOOL EnableWindow(HWND hWnd, BOOL bEnable);
BOOL IsWindowEnabled(HWND hWnd);

/* Coordinates. */

BOOL GetWindowRect(HWND hWnd, LPRECT lpRect); // screen coordinates
BOOL GetClientRect(HWND hWnd, LPRECT lpRect); // (0, 0, width, height)
// Grows a client rectangle to the window rectangle the styles give (see above).
BOOL AdjustWindowRectEx(LPRECT lpRect, DWORD dwStyle, BOOL bMenu, DWORD dwExStyle);
inline BOOL AdjustWindowRect(LPRECT lpRect, DWORD dwStyle, BOOL bMenu)
{
    return AdjustWindowRectEx(lpRect, dwStyle, bMenu, 0);
}

BOOL ClientToScreen(HWND hWnd, LPPOINT lpPoint);
BOOL ScreenToClient(HWND hWnd, LPPOINT lpPoint);
// Maps points from one window's client coordinates to another's (NULL: the
// screen). Returns the horizontal shift in the low word and the vertical one in
// the high word; 0 is also a success, so callers clear the last error first.
int MapWindowPoints(HWND hWndFrom, HWND hWndTo, LPPOINT lpPoints, UINT cPoints);

// The deepest visible window under a screen point, skipping disabled child windows.
HWND WindowFromPoint(POINT Point);
// The direct child of hWndParent under a point in hWndParent's client
// coordinates, or hWndParent when no child is there, or NULL outside it.
HWND ChildWindowFromPoint(HWND hWndParent, POINT Point);
HWND ChildWindowFromPointEx(HWND hWndParent, POINT Point, UINT uFlags); // CWP_*

/* Text. Both go through the window procedure (WM_SETTEXT, WM_GETTEXT). */

BOOL SetWindowText(HWND hWnd, LPCSTR lpString);
// Copies at most nMaxCount - 1 bytes (never part of a character) and a NUL;
// returns the bytes copied.
int GetWindowText(HWND hWnd, LPSTR lpString, int nMaxCount);
// The length of the text in bytes.
int GetWindowTextLength(HWND hWnd);

/* Properties: handles stored under a name (or atom) on a window. */

BOOL SetProp(HWND hWnd, LPCSTR lpString, HANDLE hData);
HANDLE GetProp(HWND hWnd, LPCSTR lpString);    // NULL when absent
HANDLE RemoveProp(HWND hWnd, LPCSTR lpString); // the handle removed, or NULL

/* Per-window values (GWL_*, GWLP_*, or a byte offset into the class's extra
   bytes). Set returns the previous value; both return 0 with
   ERROR_INVALID_INDEX for an unknown index, so callers clear the last error
   first when 0 may be a value. Setting GWL_STYLE or GWL_EXSTYLE sends
   WM_STYLECHANGING (the handler may change styleNew) and WM_STYLECHANGED.
   GWLP_WNDPROC replaces the window procedure (subclassing); only the owner
   thread may do that (ERROR_ACCESS_DENIED). */

LONG_PTR GetWindowLongPtr(HWND hWnd, int nIndex);
LONG_PTR SetWindowLongPtr(HWND hWnd, int nIndex, LONG_PTR dwNewLong);
// The 32-bit forms; at offsets into the extra bytes they read and write four bytes.
LONG GetWindowLong(HWND hWnd, int nIndex);
LONG SetWindowLong(HWND hWnd, int nIndex, LONG dwNewLong);

/* Window procedures. */

// Calls a procedure kept from GetWindowLongPtr(GWLP_WNDPROC), as a subclass
// passes on what it does not handle. Returns 0 for a null procedure.
LRESULT CallWindowProc(WNDPROC lpPrevWndFunc, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

// The default behaviour of the messages this layer defines: WM_NCCREATE sets
// the text and accepts; WM_SETTEXT, WM_GETTEXT and WM_GETTEXTLENGTH work on
// the stored text; WM_WINDOWPOSCHANGED sends WM_MOVE and WM_SIZE for what
// moved or changed size; WM_CLOSE destroys the window. Input, focus, painting
// and the non-client area: WM_NCHITTEST answers from the frame the styles give
// (HTCLIENT, HTCAPTION, HTCLOSE, the sizing borders, HTBORDER, HTVSCROLL,
// HTHSCROLL, HTGROWBOX, else HTNOWHERE); WM_NCPAINT draws the frame, caption,
// client edge and scroll bars; WM_NCACTIVATE redraws the frame; WM_ACTIVATE
// gives an activated window the focus; WM_SETCURSOR and WM_MOUSEACTIVATE ask
// the parent of a child window first, then set the class cursor (HTCLIENT) or
// the arrow, and answer MA_ACTIVATE; WM_MOUSEWHEEL goes on to the parent;
// WM_ERASEBKGND fills with the class brush (a COLOR_* + 1 value means that
// system colour); WM_PAINT validates through BeginPaint and EndPaint;
// WM_SETREDRAW stops and resumes painting; a press on a scroll bar sends
// WM_HSCROLL or WM_VSCROLL. Context menus: WM_RBUTTONUP and WM_NCRBUTTONUP
// send WM_CONTEXTMENU with the screen point, Shift+F10 and the Apps key with
// (-1, -1); a child passes WM_CONTEXTMENU on to its parent. The window menu:
// a press released on the close box, and Alt+F4 (to the top-level window),
// send WM_SYSCOMMAND SC_CLOSE; WM_SYSCOMMAND SC_CLOSE sends WM_CLOSE, and
// SC_MINIMIZE, SC_MAXIMIZE and SC_RESTORE show the window so. Everything else returns 0.
LRESULT DefWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
