#pragma once

// The state behind HWND values, shared by the files of platform/window and
// not meant for callers.
//
// One lock, the window lock, guards every window, class, atom and message
// queue. It is never held while a window procedure, a timer procedure or an
// enumeration callback runs, and never while a thread waker is woken: the wait
// machinery takes its own lock first and then asks a queue whether it is ready,
// which takes the window lock.

#include "platform/display/Display.h"
#include "platform/window/WindowTypes.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

class CMessageQueue;
struct CMessageFilter;
struct CSentMessage;

// The state of one of a window's own scroll bars.
struct CScrollBarState {
    int nMin { 0 };
    int nMax { 0 };
    UINT nPage { 0 };
    int nPos { 0 };
    UINT nDisabledArrows { 0 }; // ESB_DISABLE_* bits
    bool bTracking { false };   // the thumb is being dragged
    int nTrackPos { 0 };        // where the dragged thumb stands
};

// A registered window class.
struct CWindowClass {
    std::string strName;
    ATOM nAtom { 0 };
    UINT style { 0 };
    WNDPROC pfnWndProc { nullptr };
    int cbClsExtra { 0 };
    int cbWndExtra { 0 };
    HINSTANCE hInstance { nullptr };
    HICON hIcon { nullptr };
    HICON hIconSm { nullptr };
    HCURSOR hCursor { nullptr };
    HBRUSH hbrBackground { nullptr };
    LPCSTR lpszMenuName { nullptr }; // kept as given: a resource ID or a string the caller keeps
    int nWindows { 0 };              // live windows of the class; a class with windows cannot be unregistered
};

// One window. Windows are shared: the handle table holds one reference and a
// call that runs a window procedure holds another, so a procedure that
// destroys its own window still returns into a live object. The tree links are
// plain pointers, valid while the window lock is held.
struct CWindow {
    HWND hWnd { nullptr };
    DWORD dwThreadId { 0 };                // the creating thread; 0 for the desktop window
    std::shared_ptr<CMessageQueue> pQueue; // the creating thread's queue; none for the desktop window
    std::shared_ptr<CWindowClass> pClass;
    WNDPROC pfnWndProc { nullptr };
    DWORD dwStyle { 0 };
    DWORD dwExStyle { 0 };
    RECT rcWindow {};   // in the parent's client coordinates (screen coordinates for top-level windows)
    RECT rcNormal {};   // the restored position while minimized or maximized
    RECT rcOwnFrame {}; // what the window's WM_NCCALCSIZE took beyond its styles' frame, per side
    SIZE szMinTrack {}; // a top-level window's tracking limits as its WM_GETMINMAXINFO last gave them,
    SIZE szMaxTrack {}; // for the desktop; 0: none known, or no limit below the system's
    std::string strText;
    CWindow* pParent { nullptr };   // the desktop window for top-level windows
    CWindow* pOwner { nullptr };    // top-level windows only
    std::vector<CWindow*> children; // in z-order, the top first
    HINSTANCE hInstance { nullptr };
    UINT_PTR nId { 0 };         // the control ID of a child window
    HMENU hMenuBar { nullptr }; // the menu bar of a top-level window
    LONG_PTR nUserData { 0 };
    std::vector<BYTE> extraBytes; // cbWndExtra of the class
    std::map<ATOM, HANDLE> properties;
    bool bDestroying { false }; // WM_DESTROY has been sent

    // Painting (Paint.h).
    HRGN hrgnUpdate { nullptr };   // client coordinates; nullptr when nothing waits
    bool bEraseDue { false };      // WM_ERASEBKGND comes with the next BeginPaint
    bool bFrameDue { false };      // WM_NCPAINT comes with the next BeginPaint
    bool bRedrawOff { false };     // WM_SETREDRAW FALSE
    CScrollBarState scrollBars[2]; // SB_HORZ, SB_VERT
};

/* The lock and the handle table. */

std::unique_lock<std::mutex> LockWindows();

// The window behind a live handle, or nullptr. Lock held; sets no error.
CWindow* FindWindowLocked(HWND hWnd);
// The same, setting ERROR_INVALID_WINDOW_HANDLE when there is none.
CWindow* FindWindowOrFailLocked(HWND hWnd);
// The window and the reference that keeps it alive, lock held.
std::shared_ptr<CWindow> SharedWindowLocked(CWindow& window);

CWindow& DesktopLocked();

// Unlinks the windows of a thread that ends, with their children, without
// messages (the thread can no longer run window procedures). Sent messages
// that were waiting for them are added to `givenUp`. Lock held.
void RemoveThreadWindowsLocked(DWORD dwThreadId, std::vector<std::shared_ptr<CSentMessage>>& givenUp);

/* Tree and geometry helpers, lock held. */

// True when `pWindow` is `pAncestor` or below it through parents.
bool IsSelfOrDescendantLocked(const CWindow* pAncestor, const CWindow* pWindow);
// The screen position of the client area's top-left corner.
POINT ClientOriginLocked(const CWindow& window);
// The client rectangle in the parent's client coordinates.
RECT ClientRectInParentLocked(const CWindow& window);
// The client rectangle the window's styles leave inside `rcWindow` (parent's client coordinates).
RECT ClientRectForLocked(const CWindow& window, const RECT& rcWindow);
// Keeps what the window's WM_NCCALCSIZE took from each side of rcClient
// beyond what its styles leave inside rcWindow.
void KeepOwnFrame(HWND hWnd, const RECT& rcWindow, const RECT& rcClient);
// Asks the window (WM_NCCALCSIZE, wParam FALSE) for its client area within rcWindow, then KeepOwnFrame.
void AskNonClientArea(HWND hWnd, const RECT& rcWindow);
// Visible itself and every ancestor visible.
bool IsVisibleLocked(const CWindow& window);

/* The non-client area. */

// WindowFromPoint that passes over the windows in `skipped`, with everything
// inside them, as if they were not there. Lock NOT held.
HWND WindowFromPointSkipping(POINT Point, const std::vector<HWND>& skipped);

// The width and height of the outer frame (thick, dialog or border) the styles give.
SIZE OuterFrameOf(DWORD dwStyle, DWORD dwExStyle);
// The default handling of input, focus, painting and non-client messages,
// which DefWindowProc passes on. Lock NOT held.
LRESULT DefWindowProcInputAndPaint(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

/* Painting, lock held. */

// A visible window of the thread, accepted by the filter, that has something
// to paint; parents come before their children. nullptr when there is none.
HWND WindowToPaintLocked(DWORD dwThreadId, const CMessageFilter& filter);
// Marks all of the window and its descendants as waiting to be painted, frame
// and erase included.
void InvalidateWholeLocked(CWindow& window);
// What SetWindowPos changed needs painting: `rcOld` is the window's rectangle before.
void InvalidateAfterMoveLocked(CWindow& window, const RECT& rcOld, UINT uFlags);
// Frees what painting keeps for a window that goes.
void ForgetPaintWindowLocked(CWindow& window);

// The window's rectangle in screen coordinates.
RECT ScreenWindowRectLocked(const CWindow& window);
// The top-level window the window belongs to (itself for a top-level window).
CWindow& TopLevelOfLocked(CWindow& window);

/* Activation and focus as windows come and go (Focus.cpp, rules in Focus.h), lock NOT held. */

// Activates a top-level window that is being shown, unless it has WS_EX_NOACTIVATE.
void ActivateShownWindow(HWND hWnd);
// Hands the focus and the activation on from a window that has been hidden or
// is about to be destroyed. Does nothing when the window holds neither.
void PassOnFocusAndActivation(HWND hWnd);

/* Scroll bars of windows (ScrollBars.cpp), lock NOT held. */

// Draws the window's scroll bars into a window DC.
void DrawScrollBars(HWND hWnd, HDC hdcWindow);
// Sends WM_HSCROLL or WM_VSCROLL for a press on a part of the bar.
void ClickScrollBar(HWND hWnd, int nBar, POINT ptScreen);

/* The display (DisplayLink.cpp), lock held. */

CDisplay& DisplayLocked();
// Tells the display of the top-level windows' changes since it was last told.
void SyncDisplayLocked();

/* The display in a thread's message wait (DisplayLink.cpp), lock NOT held.
   Only the thread that installed a display reads its events. */

// Tells the display what changed and shows what the thread drew; called
// before the thread sleeps or finds its queue empty.
void FlushDisplay();
// Turns the display's waiting events into input, on the reading thread.
void DispatchDisplayEvents();
// The display whose events the calling thread reads, or nullptr.
CDisplay* DisplayReadByThisThread();

/* The clipboard shared with other programs, through the installed display
   (DisplayLink.cpp), lock NOT held: these may wait for another program. */

void OfferDesktopClipboard(const std::vector<CClipboardItem>& items);
bool DesktopClipboardFormats(std::vector<std::string>* pFormats);
bool ReadDesktopClipboard(const std::string& strFormat, std::vector<BYTE>* pData);
// The display's notice of a change (Clipboard.cpp), from the thread reading its events.
void DesktopClipboardChanged(EClipboardChange eChange);

/* Atoms: names to numbers from WM_REGISTERED_FIRST up, compared without regard
   to case. Window classes, registered messages and property names share them. */

// The atom of `name`, added when new; 0 when the table is full or the name empty.
ATOM AddAtomLocked(std::string_view name);
// The atom of `name` if it has one, else 0.
ATOM FindAtomLocked(std::string_view name);
// The name of an atom made here, or nullptr.
const std::string* AtomNameLocked(ATOM nAtom);
// A name or MAKEINTATOM value as an atom; bAdd adds new names. 0 when there is none.
ATOM AtomFromNameLocked(LPCSTR lpszName, bool bAdd);

/* Classes, lock held. */

// The class that CreateWindowEx finds for `lpszClass` and `hInstance`, or nullptr.
std::shared_ptr<CWindowClass> FindClassLocked(LPCSTR lpszClass, HINSTANCE hInstance);

/* Messages the layer sends about a window (Window.cpp), lock NOT held. */

// Tells the ancestors of a child window of an event: WM_CREATE or WM_DESTROY
// (lParam the child), or a button press (lParam the point, in each
// ancestor's client coordinates, from ptScreen). The walk goes up while the
// window it comes from is a child without WS_EX_NOPARENTNOTIFY.
void SendParentNotify(HWND hChild, UINT uEvent, POINT ptScreen);
// The window's size limits: the defaults (maximized: the parent's client area;
// sizing: SM_C?MINTRACK to SM_C?MAXTRACK), as its WM_GETMINMAXINFO handler changes them.
MINMAXINFO QueryMinMaxInfo(HWND hWnd);
// Hides the visible top-level windows hOwner owns while it is minimized
// (bShow FALSE), and shows again those it hid (bShow TRUE).
void ShowOwnedWindows(HWND hOwner, bool bShow);
// The move (SC_MOVE) or size (SC_SIZE | WMSZ_* edge) loop of a window, from a
// press at ptStart (screen): follows the mouse until the button comes up,
// between WM_ENTERSIZEMOVE and WM_EXITSIZEMOVE. A maximized or minimized
// window stays where it is.
void RunSizeMoveLoop(HWND hWnd, WPARAM nCommand, POINT ptStart);
// While the left button stays pressed: the next mouse message (client or
// non-client), waiting for one. FALSE once the press is over without one.
bool NextPressMessage(MSG* pMsg);
// Gives the capture a press loop took back to the window that had it.
void EndPressCapture(HWND hWnd, HWND hOldCapture);
// Whether sizing the window keeps to its tracking limits: overlapped windows and those with WS_THICKFRAME.
bool HasTrackingLimits(DWORD dwStyle);
