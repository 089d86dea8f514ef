#pragma once

// The X11 display's tray: the program's icons docked in the desktop's
// notification area through the XEmbed system tray protocol. The tray
// manager is the owner of _NET_SYSTEM_TRAY_S<screen>; each icon is a small
// window of ours that the manager takes into its own and sizes, and that we
// draw and take the mouse on. Included only by platform/display.
//
// Adding an icon fails while no manager exists (the program must not hide
// in a tray that is not there). A manager that goes away takes our windows
// with it, but the icons stay known: when a new manager announces itself
// (panels restart) each is docked again. An icon's picture is drawn into
// pixels of our own when it is given, so the program may destroy its HICON.
//
// Locking: the icon calls take the display's lock; the event loop calls
// HandleEventLocked with it held, and Report without it.

#include "platform/display/TrayHost.h"
#include "platform/display/X11DisplayInternal.h"

#include <cstdint>
#include <vector>

// Mouse input on an icon, for the tray's sink.
struct CX11TrayInput {
    enum class EKind {
        Mouse,   // nMouseMessage at ptScreen
        Entered, // the pointer came onto the icon
        Left,    // and left it
    };
    HWND hWnd { nullptr };
    UINT uID { 0 };
    EKind eKind { EKind::Mouse };
    UINT nMouseMessage { 0 };
    POINT ptScreen {};
};

class CX11TrayHost : public CTrayHost {
public:
    // Finds the manager, if there is one now. The display's lock is held.
    explicit CX11TrayHost(CX11State& state);

    bool AddIcon(const CTrayIcon& icon) override;
    bool ModifyIcon(const CTrayIcon& icon) override;
    bool DeleteIcon(HWND hWnd, UINT uID) override;
    // The docked icon window's place on the root window.
    bool GetIconRect(HWND hWnd, UINT uID, RECT* pRect) override;

    /* For the display, its lock held. */

    // Whether the event was the tray's (a manager coming or going, or an event
    // of an icon's window); the input it meant is added to `input`.
    bool HandleEventLocked(const XEvent& event, std::vector<CX11TrayInput>& input);
    // Takes the icons' windows down before the connection closes.
    void CloseLocked();

    // Passes input on to the sink; the display's lock NOT held.
    void Report(const CX11TrayInput& input);

private:
    struct CIcon {
        CTrayIcon icon;             // its hIcon is not used once drawn into the pixels below
        std::vector<uint32_t> argb; // the picture at PICTURE_SIZE, ARGB; empty: an empty place
        Window window { 0 };        // while docked
        Visual* pVisual { nullptr };
        Colormap colormap { 0 }; // for a 32-bit visual the manager asked for; 0: the default visual
        int nWidth { 0 };        // as the manager sized it
        int nHeight { 0 };
        Time lastPress { 0 }; // for double clicks
        unsigned int nLastButton { 0 };
    };

    CIcon* FindLocked(HWND hWnd, UINT uID);
    CIcon* FindByWindowLocked(Window window);
    void WatchManagerLocked(Window manager);
    void DockLocked(CIcon& icon);
    void UndockLocked(CIcon& icon);
    // Asks the embedder for an icon of nSize square.
    void SetSizeHintsLocked(Window window, int nSize);
    // Makes an icon the tray sized out of square the square of its smaller side.
    void SquareLocked(const CIcon& icon);
    void SetTipLocked(const CIcon& icon);
    void DrawLocked(const CIcon& icon);
    void InputLocked(CIcon& icon, const XEvent& event, std::vector<CX11TrayInput>& input);

    CX11State& m_state;
    Atom m_selection { 0 }; // _NET_SYSTEM_TRAY_S<screen>
    Window m_manager { 0 }; // its owner; 0: no tray now
    std::vector<CIcon> m_icons;
};
