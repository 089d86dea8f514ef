#pragma once

// What every control shares: its per-window state and life cycle, the way it
// notifies and asks its parent, its font and the measuring of its text.
//
// How a control is laid out in files. XControl.h is its contract: styles,
// messages, notifications, structures and the window procedure, stated first
// in its opening comment. A small control implements it in XControl.cpp. A
// control split by concern keeps its state and the functions its files share
// in XInternal.h (each group headed by the file that defines it, the shared
// helpers in XInternal.cpp); XWndProc.cpp holds the window procedure and the
// window messages, and files such as XInput.cpp, XPaint.cpp and XLayout.cpp
// answer the rest, each through a handler of its messages. Calls run one
// way: from the window procedure down through the files to XInternal.cpp,
// never back up.
//
// A window procedure starts with HandleControlLifecycle, then hands the
// control's own messages and its input to those handlers, and answers the
// remaining window messages itself.

#include "platform/window/Menu.h" // owner-drawn items
#include "platform/window/Messages.h"
#include "platform/window/WindowTypes.h"

#include <memory>
#include <string>
#include <string_view>

// Every control class reserves one pointer of window extra bytes, at offset 0,
// for its state object; the state lives from WM_NCCREATE to WM_NCDESTROY.
constexpr int CONTROL_STATE_OFFSET = 0;
constexpr int CONTROL_EXTRA_BYTES = sizeof(LONG_PTR);

// The base of each control's state: what every control keeps.
struct CControlState {
    virtual ~CControlState() = default;

    HFONT hFont { nullptr };         // WM_SETFONT; nullptr: the DC's default font
    HWND hControlParent { nullptr }; // SetControlParent; nullptr: the parent window
};

// Stores the state on the window, which owns it from then on.
void AttachControlState(HWND hWnd, std::unique_ptr<CControlState> pState);
// The window's state, or nullptr before WM_NCCREATE and after WM_NCDESTROY.
CControlState* GetControlStateBase(HWND hWnd);
template<typename TState> TState* GetControlState(HWND hWnd)
{
    return static_cast<TState*>(GetControlStateBase(hWnd));
}
// Deletes the window's state; called on WM_NCDESTROY.
void DestroyControlState(HWND hWnd);

// The window a control reports to: its parent, or the window set with
// SetControlParent (a combo box's drop-down list reports to the combo box).
HWND ControlParent(HWND hWnd);
void SetControlParent(HWND hWnd, HWND hParent);

// The window's text (WM_GETTEXT), whole.
std::string ControlText(HWND hWnd);

// The client point a mouse message carries in lParam.
inline POINT MousePointOf(LPARAM lParam)
{
    return POINT { static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)) };
}

// The position a WM_HSCROLL or WM_VSCROLL code asks for: nPos moved by a
// line or a page, the thumb's nTrack, the lowest or highest int for SB_TOP
// and SB_BOTTOM, or nPos for other codes. The caller clamps it.
int ScrollTarget(WORD nCode, int nPos, int nLine, int nPage, int nTrack);
// Shows or hides a control's own scroll bar (SB_HORZ, SB_VERT) to match the
// need. An owner that takes a shown bar away again (WM_NCCALCSIZE) sets
// *pbRefused, and the bars are left alone from then on. The window may be
// gone on return (showing a bar sends WM_SIZE).
void MatchScrollBar(HWND hWnd, int nBar, bool bNeeded, bool* pbRefused);

// Sends WM_COMMAND with `nCode` and the control's ID to its parent.
void NotifyParent(HWND hWnd, WORD nCode);

// Prepares `hdc` for painting the control: selects its font, sets the default
// colours of `uCtlColorMsg` (a WM_CTLCOLOR* message; see DefaultControlColors),
// then lets the parent change them with that message. Returns the parent's
// brush, or the default brush when the parent answers 0.
HBRUSH PrepareControlDC(HWND hWnd, HDC hdc, UINT uCtlColorMsg);

/***** Measuring text *****/

// A DC for measuring the control's text, with a font selected: the given
// font, else the control's (WM_SETFONT; none: the DC's default font). Text is
// measured the same on every DC, so this is a memory DC: it needs no window
// surface, clip or display work. The DC is deleted when the object goes.
class CControlMeasureDC {
public:
    explicit CControlMeasureDC(HWND hWnd, HFONT hFont = nullptr);
    ~CControlMeasureDC();
    CControlMeasureDC(const CControlMeasureDC&) = delete;
    CControlMeasureDC& operator=(const CControlMeasureDC&) = delete;

    HDC Get() const { return m_hdc; }
    // The width of one line of text as it is, '&' and tabs included.
    int TextWidth(std::string_view text) const;
    // The size DrawText gives the text with nFormat | DT_CALCRECT in a
    // rectangle nWidth wide (what DT_WORDBREAK breaks to).
    SIZE DrawnSize(std::string_view text, UINT nFormat, int nWidth = 0) const;
    TEXTMETRIC Metrics() const;

private:
    HDC m_hdc;
};

// The height of a line in the control's font.
int ControlFontHeight(HWND hWnd);

// Handles WM_SETFONT and WM_GETFONT for any control; FALSE for other messages.
BOOL HandleFontMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* plResult);

// Answers WM_PAINT: validates the update region and has fnPaint draw the
// whole control into the paint DC.
void PaintControl(HWND hWnd, void (*fnPaint)(HWND hWnd, HDC hdc));

// How a control's window procedure answers the messages of its life cycle.
struct CControlLifecycle {
    // Makes the state WM_NCCREATE attaches from what the window is created
    // with; may also adjust the new window.
    std::unique_ptr<CControlState> (*fnNewState)(HWND hWnd, const CREATESTRUCT* pcs);
    // Draws the whole control on WM_PAINT, so WM_ERASEBKGND erases nothing;
    // nullptr when the control answers both messages itself.
    void (*fnPaint)(HWND hWnd, HDC hdc);
    // Whether WM_SETFONT and WM_GETFONT go to HandleFontMessage.
    bool bFontMessages;
};

template<typename TState> std::unique_ptr<CControlState> NewControlState(HWND, const CREATESTRUCT*)
{
    return std::make_unique<TState>();
}

// Answers what every control answers alike: the font messages, WM_NCCREATE
// (attaches the new state), WM_NCDESTROY (deletes it), WM_ERASEBKGND and
// WM_PAINT, and any message outside the state's life with DefWindowProc.
// Returns FALSE for other messages, which then always find the state.
BOOL HandleControlLifecycle(
    HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, const CControlLifecycle& lifecycle, LRESULT* plResult);

// Sends WM_DRAWITEM to the parent for a control drawn by its owner, with the
// client area as the item rectangle and the control's font selected in hdc.
void SendDrawItem(HWND hWnd, HDC hdc, UINT nCtlType, UINT nItemAction, UINT nItemState);

// Draws an image of kind IMAGE_BITMAP (copied) or IMAGE_ICON (through its
// mask) into `rc` of `hdc`, at its own size: at the top-left, or centred when
// bCenter. Does nothing for a missing image or another kind.
void DrawControlImage(HDC hdc, UINT nImageType, HANDLE hImage, const RECT& rc, BOOL bCenter);
// The size of a bitmap or icon; {0, 0} for anything else.
SIZE GetControlImageSize(UINT nImageType, HANDLE hImage);
