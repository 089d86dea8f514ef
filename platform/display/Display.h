#pragma once

// The display: where top-level windows show and where input comes from. The
// window layer tells the display about every top-level window it shows and
// draws each one's pixels into the bitmap the display gives it; the display
// composes those bitmaps on its screen and sends the user's input back.
// Backends: CHeadlessDisplay (a screen in memory, the default) and, later, X11.
//
// Windows are named by their HWND only; the display never calls the window
// layer, which holds its own lock while it calls here.

#include "platform/gdi/GdiTypes.h"

class CTrayHost;

#include <vector>

/* Input coming back from the display, in screen coordinates. */

enum class EMouseAction {
    Move,
    ButtonDown,
    ButtonUp,
    Wheel,
};

enum class EMouseButton {
    None,
    Left,
    Right,
    Middle,
};

struct CMouseInput {
    EMouseAction eAction { EMouseAction::Move };
    EMouseButton eButton { EMouseButton::None };
    POINT pt {};      // screen coordinates
    int nWheel { 0 }; // Wheel: multiples of 120, positive away from the user
};

struct CKeyInput {
    UINT nVirtualKey { 0 }; // VK_*
    bool bDown { true };
};

// What receives the input; the window layer implements it.
class CDisplayInputSink {
public:
    virtual ~CDisplayInputSink() = default;
    virtual void OnMouseInput(const CMouseInput& input) = 0;
    virtual void OnKeyInput(const CKeyInput& input) = 0;
};

class CDisplay {
public:
    virtual ~CDisplay() = default;

    /* Top-level windows. Rectangles are in screen coordinates. */

    virtual void CreateTopLevel(HWND hWnd, const RECT& rcWindow) = 0;
    virtual void DestroyTopLevel(HWND hWnd) = 0;
    // A new size drops the window's pixels: the window layer repaints it.
    virtual void MoveTopLevel(HWND hWnd, const RECT& rcWindow) = 0;
    virtual void ShowTopLevel(HWND hWnd, bool bShow) = 0;
    // The z-order of every top-level window the display knows, the top first.
    virtual void RestackTopLevels(const std::vector<HWND>& topFirst) = 0;

    // The bitmap holding the window's pixels, as large as its window rectangle;
    // NULL for a window the display does not know. It stays the window's until
    // the window changes size or goes; the caller draws into it through surface DCs.
    virtual HBITMAP SurfaceOf(HWND hWnd) = 0;
    // The pixels of `rcArea` (window coordinates) have changed and may be shown.
    virtual void Present(HWND hWnd, const RECT& rcArea) = 0;

    /* The screen. */

    // A new bitmap (the caller deletes it) of the whole screen as it shows now:
    // the desktop colour with the visible top-level windows composed on it in z-order.
    virtual HBITMAP CaptureScreen() = 0;

    /* The tray. */

    // The desktop's notification area; nullptr when there is none now (the
    // answer may change while the program runs). The display owns it.
    virtual CTrayHost* GetTrayHost() { return nullptr; }

    /* Input. */

    // Where input goes from now on (nullptr: nowhere). The caller keeps ownership.
    void SetInputSink(CDisplayInputSink* pSink) { m_pSink = pSink; }

protected:
    CDisplayInputSink* m_pSink { nullptr };
};
