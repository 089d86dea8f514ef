#pragma once

// The state of the X11 display, shared by its source files (X11Display*.cpp)
// and never included from outside platform/display.
//
// Locking: m_mutex guards everything below it. Calls from the window layer
// take it (with the window layer's lock already held); event dispatch takes it
// to translate one event and releases it before it reports to the sink, which
// calls back into the window layer. Xlib itself runs with XInitThreads.
//
// Windows: each top-level window is one X window of the default visual, with
// a 32-bit DIB section as its retained surface (rows 0x00RRGGBB, top-down,
// the layout of a ZPixmap of depth 24). Presented areas are kept as damage and
// copied to the server through cairo-xlib when the presenting thread flushes;
// an Expose copies the retained pixels again and asks nothing of the program.

#include "platform/display/Display.h"
#include "platform/display/X11Atoms.h"
#include "platform/display/X11Properties.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

typedef struct _cairo_surface cairo_surface_t;
class CX11TrayHost;

namespace x11 {

// One top-level window as the server knows it.
struct CTopLevel {
    HWND hWnd { nullptr };
    Window window { 0 };
    RECT rcWindow {}; // screen coordinates, as last told or reported
    bool bMapped { false };
    bool bUnmanaged { false }; // override-redirect
    CTopLevelLook look;
    ETopLevelState eState { ETopLevelState::Normal };
    std::vector<Atom> netStates; // _NET_WM_STATE as last set or asked for
    HBITMAP hbmSurface { nullptr };
    BYTE* pBits { nullptr }; // the surface's rows
    int nSurfaceWidth { 0 };
    int nSurfaceHeight { 0 };
    cairo_surface_t* pWindowSurface { nullptr }; // cairo-xlib on the X window
    RECT rcDamage {};                            // presented, not yet shown (window coordinates)
    DWORD dwPresenter { 0 };                     // the thread that presented the damage
    XIC hInputContext { nullptr };
    std::vector<RECT> pendingConfigures; // rectangles asked of the server, not yet confirmed
    bool bInFrame { false };             // the window manager has put it in a frame of its own
    Cursor cursor { 0 };
};

// One target the program offers on the CLIPBOARD selection.
struct COffer {
    Atom type { 0 };                                  // the property type it is given as
    std::shared_ptr<const std::vector<uint8_t>> data; // shared by the targets of one text
};

// Data going to another client in chunks (INCR): each time the requestor
// deletes the property the next chunk is written, and an empty one ends it.
struct COutgoingTransfer {
    Window requestor { 0 };
    Atom property { 0 };
    Atom type { 0 };
    std::shared_ptr<const std::vector<uint8_t>> data;
    size_t nSent { 0 };
    bool bEndWritten { false };
    std::chrono::steady_clock::time_point lastProgress;
};

}

// What an event meant to the clipboard (CX11State::HandleClipboardEvent).
enum class EClipboardEvent {
    NotClipboards,    // not the clipboard's: translate it as usual
    Handled,          // nothing for the window layer
    FormatsChanged,   // the other program's formats, or the owner, changed
    TakenFromProgram, // another program took the clipboard the program held
};

// The whole display state; CX11Display holds it.
struct CX11State {
    std::mutex m_mutex;
    Display* m_pDisplay { nullptr };
    int m_nScreen { 0 };
    Window m_root { 0 };
    Visual* m_pVisual { nullptr };
    int m_nDepth { 0 };
    CX11Atoms m_atoms;
    std::atomic<bool> m_bLost { false }; // the connection broke; no Xlib call is made any more
    bool m_bLostReported { false };

    std::map<HWND, x11::CTopLevel> m_windows;
    std::map<Window, HWND> m_byWindow;
    std::vector<HWND> m_stacking; // the top first, as last told

    // The screen.
    std::vector<CMonitor> m_monitors; // the primary first
    POINT m_ptOrigin {};              // the primary monitor's corner in root coordinates
    int m_nRandrEventBase { -1 };

    // Input.
    XIM m_hInputMethod { nullptr };
    Time m_lastUserTime { CurrentTime }; // of the last key or button press
    unsigned int m_nCapsIndicator { 0 }; // the keyboard\'s indicator bits of the lock keys
    unsigned int m_nNumIndicator { 0 };
    unsigned int m_nScrollIndicator { 0 };
    std::optional<long long> m_nTimeOffset; // program ticks minus server time, fixed at the first event
    bool m_bPointerGrabbed { false };       // for a popup of the program's (GrabInput)
    bool m_bKeyboardGrabbed { false };
    HWND m_hFocusTop { nullptr };        // the top-level window that has the X focus
    std::map<HCURSOR, Cursor> m_cursors; // made on first use, freed with the display

    /* Helpers, m_mutex held. */

    x11::CTopLevel* Find(HWND hWnd);
    x11::CTopLevel* FindByWindow(Window window);
    POINT ToScreen(int xRoot, int yRoot) const { return POINT { xRoot - m_ptOrigin.x, yRoot - m_ptOrigin.y }; }
    // Program ticks for a server time.
    DWORD TicksOf(Time time);
    // Copies the area (window coordinates) of the retained pixels to the server.
    void CopyToServer(x11::CTopLevel& window, const RECT& rcArea);
    // Makes a new surface and cairo-xlib target of the window's size.
    void MakeSurface(x11::CTopLevel& window);
    void DropSurface(x11::CTopLevel& window);
    // Sets the properties that follow from the window's look.
    void ApplyLook(x11::CTopLevel& window);
    // Sets _NET_WM_ICON from the look's icon (X11Display_Icons.cpp).
    void SetIcon(x11::CTopLevel& window);
    bool WindowManagerSupports(Atom atom);
    // A property of another client's making; nothing when it is missing, or
    // longer than nMaxItems (32-bit items), or the connection is lost.
    CX11Property ReadProperty(Window window, Atom property, long nMaxItems);
    void SetNormalHints(x11::CTopLevel& window);
    std::vector<Atom> NetStatesOf(const x11::CTopLevel& window) const;
    // The shown managed windows owned by hOwner go above it; for an owner the
    // window manager has just mapped (its MapNotify).
    void RaiseOwnedWindows(HWND hOwner);
    void SetNetStates(x11::CTopLevel& window);
    // A client message about `window` to the root, as the window manager expects requests.
    void SendToRoot(Window window, Atom messageType, std::initializer_list<long> data);

    // The settings manager (X11Display_Screen.cpp): its window, or None, and
    // what it says; read anew when a manager announces itself or changes them.
    Atom m_settingsSelection { 0 }; // _XSETTINGS_S<screen>
    Window m_settingsOwner { 0 };
    UINT m_nDoubleClickTime { 500 };
    void ReadSettings();
    bool IsSettingsEvent(const XEvent& event) const;

    /* The clipboard (X11Display_Clipboard.cpp). */

    Window m_selectionWindow { 0 }; // an unmapped window of ours: owner and requestor
    int m_nFixesEventBase { -1 };   // -1: no XFixes, owner changes are not seen
    size_t m_nMaxChunk { 0 };       // the largest property written at once; more goes in chunks
    // What the program offers while it owns CLIPBOARD, by target; empty: not the owner.
    std::map<Atom, x11::COffer> m_offers;
    Time m_ownedSince { CurrentTime };
    std::vector<x11::COutgoingTransfer> m_outgoing;
    Window m_foreignOwner { 0 };               // another client owning CLIPBOARD; None: none
    std::vector<Atom> m_foreignTargets;        // its TARGETS, once they came
    std::vector<std::string> m_foreignFormats; // the same as CClipboardItem names
    // One thread at a time waits for an answer of another client, with the
    // event loop setting aside for it what matches; taken before m_mutex.
    std::mutex m_awaitMutex;
    std::function<bool(const XEvent&)> m_awaited; // empty: nobody waits
    std::deque<XEvent> m_awaitedEvents;

    void OpenClipboard();
    // The event's meaning for the clipboard, handled as far as the display goes.
    EClipboardEvent HandleClipboardEvent(const XEvent& event);
    // Waits for the next event m_awaited accepts, releasing the lock while it
    // sleeps; nothing once the deadline passed or the connection broke.
    std::optional<XEvent> AwaitEvent(
        std::unique_lock<std::mutex>& lock, std::chrono::steady_clock::time_point deadline);
    // The server's time now, from a property change of the selection window.
    Time ServerTime(std::unique_lock<std::mutex>& lock);
    // Writes `target` of the program's offer to the requestor's property; false when not offered.
    bool ConvertForRequestor(Window requestor, Atom target, Atom property);
    void ServeRequest(const XSelectionRequestEvent& request);
    void ContinueTransfer(const XPropertyEvent& event);
    void AskForeignTargets();
    void TakeForeignTargets(const XSelectionEvent& event);
    // Reads one target of the other owner, whole, with its type; false on failure.
    bool ReadTarget(std::unique_lock<std::mutex>& lock, Atom target, Atom* pType, std::vector<uint8_t>* pData);
    // At the end: hands the program's text to the clipboard manager, if any.
    void HandOverClipboard();

    // The desktop's tray (X11TrayHost.h), for the display's life.
    std::unique_ptr<CX11TrayHost> m_pTray;

    // The X cursor of a program cursor, made on first use (X11Display_Cursors.cpp).
    Cursor CursorFor(HCURSOR hCursor);

    // The screen (X11Display_Screen.cpp).
    void RefreshScreen();
    void WatchScreenChanges();
    bool IsScreenChangeEvent(const XEvent& event);
};

// The icon drawn at cx by cy pixels as ARGB rows, top-down: alpha 0 where its
// mask lets the background show, else 0xFF. Empty when it cannot be drawn
// (X11Display_Icons.cpp).
std::vector<uint32_t> IconPixels(HICON hIcon, int cx, int cy);
