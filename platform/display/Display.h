#pragma once

// The display: where top-level windows show and where input comes from. The
// window layer tells the display about every top-level window it shows and
// draws each one's pixels into the bitmap the display gives it; the display
// composes those bitmaps on its screen and sends the user's input back.
// Backends: CHeadlessDisplay (a screen in memory, the default) and
// CX11Display (real windows on an X server).
//
// Windows are named by their HWND only; the display never calls the window
// layer, which holds its own lock while it calls here (except for the
// clipboard calls, which may wait). Reports go back through
// the sink, always without the display's own lock and never from inside one of
// these calls: a backend with its own event source reports from
// DispatchEvents, on the thread that installed it.
//
// Screen coordinates have the primary monitor's top-left corner at (0, 0);
// other monitors may lie at negative coordinates.

#include "platform/gdi/GdiTypes.h"

#include <string>

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
    // Display input only: the top-level window the display routed the event
    // to (nullptr: none; the window layer then searches by the point) and the
    // event's time on the program's tick count (0: now).
    HWND hTopLevel { nullptr };
    DWORD dwTime { 0 };
};

struct CKeyInput {
    UINT nVirtualKey { 0 }; // VK_*; the sided key (VK_LSHIFT...) for Shift, Control and Alt
    bool bDown { true };
    // Display input only: whether the display gave the key's text (the test
    // driver's keys give none; their characters come from the virtual key),
    // that text (UTF-8, possibly empty: a dead key, a key without text), the
    // hardware scan code, and the time on the program's tick count (0: now).
    bool bHasText { false };
    std::string strText;
    UINT nScanCode { 0 };
    DWORD dwTime { 0 };
};

/* What a top-level window is, for the display to show it as the desktop expects. */

enum class ETopLevelKind {
    Normal,     // an unowned window
    Dialog,     // an owned window with a caption
    Tool,       // a floating tool window
    PopupMenu,  // these and the kinds below are placed and stacked by the program alone
    DropDown,   // a combo box's list
    ToolTip,    // a tool tip or a data tip
    OtherPopup, // any other popup without a caption or a frame
};

// True for the kinds the window manager leaves alone.
inline bool IsUnmanagedKind(ETopLevelKind eKind)
{
    return eKind >= ETopLevelKind::PopupMenu;
}

struct CTopLevelLook {
    ETopLevelKind eKind { ETopLevelKind::Normal };
    HWND hOwner { nullptr };
    std::string strTitle; // UTF-8
    HICON hIcon { nullptr };
    bool bResizable { true };
    bool bTopmost { false };
    bool bSkipTaskbar { false }; // owned windows and tool windows
    bool bModal { false };       // its owner is disabled while it shows
    bool bDisabled { false };    // takes no input: the desktop's offers of the keyboard go to its owned window
    SIZE szMin {};               // 0: no limit
    SIZE szMax {};
};

enum class ETopLevelState {
    Normal,
    Minimized,
    Maximized,
};

/* Monitors. */

struct CMonitor {
    RECT rcMonitor {}; // screen coordinates
    RECT rcWork {};    // the part not taken by the desktop's panels
    bool bPrimary { false };
};

/* The clipboard, as far as the display carries it between programs. */

struct CClipboardItem {
    std::string strFormat;  // "text" for text, else the registered format's name
    std::vector<BYTE> data; // text: UTF-8 with CR LF line ends, no NUL; else the bytes as they are
};

enum class EClipboardChange {
    Formats,          // another program took or gave up the clipboard, or its formats became known
    TakenFromProgram, // another program took the clipboard the program offered: its offer is gone
};

/* Reports back to the window layer. */

// The keyboard as the program finds it when it gets the keyboard back: keys
// may have gone down or up, and lock keys changed, while another program had it.
struct CKeyboardState {
    bool bCapsLock { false };
    bool bNumLock { false };
    bool bScrollLock { false };
    std::vector<UINT> heldKeys; // the virtual keys down, the sided ones for Shift, Ctrl and Alt
};

class CDisplaySink {
public:
    virtual ~CDisplaySink() = default;
    virtual void OnMouseInput(const CMouseInput& input) = 0;
    virtual void OnKeyInput(const CKeyInput& input) = 0;
    // Text the input method committed without a key of its own.
    virtual void OnTextInput(const std::string& strText) = 0;
    // The desktop gave the keyboard to the top-level window (bActive), or took
    // it away from every window of the program.
    virtual void OnActivation(HWND hTopLevel, bool bActive) = 0;
    // The keyboard's state when the program gets the keyboard.
    virtual void OnKeyboardState(const CKeyboardState& keyboard) = 0;
    // The desktop asks the window to close (its close button, a task switcher).
    virtual void OnCloseRequest(HWND hTopLevel) = 0;
    // The window manager moved or sized the window, or changed its state.
    virtual void OnMovedByDesktop(HWND hTopLevel, const RECT& rcWindow) = 0;
    virtual void OnStateChangedByDesktop(HWND hTopLevel, ETopLevelState eState) = 0;
    // The clipboard shared with other programs changed.
    virtual void OnClipboardChanged(EClipboardChange eChange) = 0;
    // The monitors or the work area changed (Monitors answers anew).
    virtual void OnScreenChanged() = 0;
    // The connection to the desktop is gone for good.
    virtual void OnConnectionLost() = 0;
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
    // What the window is: told before it first shows and whenever it changes.
    virtual void DescribeTopLevel(HWND hWnd, const CTopLevelLook& look) = 0;
    virtual void SetTopLevelState(HWND hWnd, ETopLevelState eState) = 0;
    // Asks the desktop to give the window the keyboard; the answer comes as OnActivation.
    virtual void ActivateTopLevel(HWND hWnd) = 0;
    // Hands a move (HTCAPTION) or size (HTLEFT...HTBOTTOMRIGHT) drag that began
    // at ptScreen to the desktop; false when the window layer runs it itself.
    virtual bool BeginMoveSize(HWND hWnd, int nHitTest, POINT ptScreen) = 0;

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
    // The monitors, the primary first; never empty.
    virtual std::vector<CMonitor> Monitors() = 0;
    // Milliseconds between the presses of a double click.
    virtual UINT DoubleClickTime() = 0;

    /* The tray. */

    // The desktop's notification area; nullptr when there is none now (the
    // answer may change while the program runs). A host may also refuse new
    // icons while the desktop shows no tray. The display owns it.
    virtual CTrayHost* GetTrayHost() { return nullptr; }

    /* Input. */

    // Where input goes from now on (nullptr: nowhere). The caller keeps ownership.
    void SetSink(CDisplaySink* pSink) { m_pSink = pSink; }
    // Keeps the pointer (and, with bKeyboard, the keyboard) for hWnd while a
    // popup holds the capture, so presses outside every window arrive; nullptr ends it.
    virtual void GrabInput(HWND hWnd, bool bKeyboard) = 0;
    // The cursor for the top-level window, or for the grab while one holds
    // (NULL: none shown).
    virtual void SetTopLevelCursor(HWND hWnd, HCURSOR hCursor) = 0;
    // The pointer's position; false when the display does not know it (the
    // window layer's own position stands).
    virtual bool PointerPosition(POINT* pPoint) = 0;

    /* The clipboard shared with other programs. Offering and reading may wait
       for another program (a bounded time), so the window layer calls them
       without its lock; the formats answer at once from what is known. */

    // Offers the items as the program's clipboard (an empty list gives it up
    // when the program holds it and leaves another program's alone).
    virtual void OfferClipboard(const std::vector<CClipboardItem>& items) = 0;
    // Whether another program holds the clipboard; its formats (as in
    // CClipboardItem; empty until they are known).
    virtual bool ForeignClipboardFormats(std::vector<std::string>* pFormats) = 0;
    // Reads one format from the other program; false on failure, a wrong
    // answer or timeout.
    virtual bool ReadForeignClipboard(const std::string& strFormat, std::vector<BYTE>* pData) = 0;

    /* The event source, for the message wait of the installing thread. */

    // A descriptor that becomes readable when events arrive; -1 without one.
    virtual int EventDescriptor() = 0;
    // Whether events wait to be dispatched (reads what arrived, never blocks).
    virtual bool HasPendingEvents() = 0;
    // Reports the events that wait through the sink. Lock of the window layer NOT held.
    virtual void DispatchEvents() = 0;
    // Shows what the calling thread presented; called before the thread sleeps.
    virtual void Flush() = 0;

protected:
    CDisplaySink* m_pSink { nullptr };
};
