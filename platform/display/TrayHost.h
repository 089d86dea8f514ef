#pragma once

// The desktop's notification area (the tray): small icons that programs show
// while they run, each with a tip, which the user clicks to reach the program.
// A display that has a tray offers a CTrayHost (CDisplay::GetTrayHost); the
// shell's Shell_NotifyIcon keeps the program's records and calls the host.
//
// An icon is named by its key {hWnd, uID}. The host takes what it needs of the
// icon when it is given (it may draw it into its own pixels at once), so the
// program may destroy an HICON once it has been replaced or deleted. The host
// calls its input sink, from any thread and holding none of its own locks,
// when the user acts on an icon or the pointer comes onto or leaves one; the
// sink may call the host back.

#include "platform/base/WinTypes.h"

#include <atomic>
#include <string>

// One icon as the program gives it.
struct CTrayIcon {
    HWND hWnd { nullptr };       // the window the icon belongs to (with uID, its key)
    UINT uID { 0 };              // the program's number for the icon
    UINT uCallbackMessage { 0 }; // what the window is posted on mouse input; 0: nothing
    HICON hIcon { nullptr };     // nullptr: an empty place
    std::string strTip;          // UTF-8, at most 63 bytes; empty: no tip
};

// Where mouse input on the tray's icons goes; the shell implements it.
class CTrayInputSink {
public:
    virtual ~CTrayInputSink() = default;
    // The user acted on icon {hWnd, uID} with the mouse at ptScreen (screen
    // coordinates): nMouseMessage is the message a window would get for it
    // (WM_LBUTTONDOWN, WM_RBUTTONUP, WM_LBUTTONDBLCLK, WM_MOUSEMOVE, ...).
    virtual void OnTrayMouse(HWND hWnd, UINT uID, UINT nMouseMessage, POINT ptScreen) = 0;
    // The pointer came onto icon {hWnd, uID} (bOver) or left it.
    virtual void OnTrayHover(HWND hWnd, UINT uID, bool bOver) = 0;
};

class CTrayHost {
public:
    virtual ~CTrayHost() = default;

    /* Icons. Each returns false when it cannot be done: the key is taken
       (AddIcon) or unknown (ModifyIcon, DeleteIcon), or the tray refuses. */

    virtual bool AddIcon(const CTrayIcon& icon) = 0;
    // Replaces every field of the icon of the same key.
    virtual bool ModifyIcon(const CTrayIcon& icon) = 0;
    virtual bool DeleteIcon(HWND hWnd, UINT uID) = 0;
    // Where the icon shows now, in screen coordinates; false for an unknown
    // key or an icon the tray does not show.
    virtual bool GetIconRect(HWND hWnd, UINT uID, RECT* pRect) = 0;

    /* Input. */

    // Where mouse input on the icons goes from now on (nullptr: nowhere). The
    // caller keeps ownership.
    void SetInputSink(CTrayInputSink* pSink) { m_pSink.store(pSink); }

protected:
    std::atomic<CTrayInputSink*> m_pSink { nullptr };
};
