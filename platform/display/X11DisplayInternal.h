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
#include <initializer_list>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

typedef struct _cairo_surface cairo_surface_t;

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
    Cursor cursor { 0 };
};

}

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

    // The X cursor of a program cursor, made on first use (X11Display_Cursors.cpp).
    Cursor CursorFor(HCURSOR hCursor);

    // The screen (X11Display_Screen.cpp).
    void RefreshScreen();
    void WatchScreenChanges();
    bool IsScreenChangeEvent(const XEvent& event);
};
