#pragma once

// What the tooltip's files share: its tools, its timing state and the way
// a tip's text is found.

#include "platform/controls/ControlInternal.h"
#include "platform/controls/ToolTipControl.h"

#include <string>
#include <vector>

struct CToolTipTool {
    UINT uFlags { 0 };
    HWND hwnd { nullptr };
    UINT_PTR uId { 0 };
    RECT rect {};
    HINSTANCE hinst { nullptr };
    std::string strText;      // a stored text
    UINT nResource { 0 };     // a string resource, with hinst
    bool bCallback { false }; // LPSTR_TEXTCALLBACK
    LPARAM lParam { 0 };
};

enum class ETipPhase {
    Idle,    // no tool under the mouse, or the tip went and waits for the mouse to leave
    Waiting, // over a tool, the show timer running
    Shown,
};

struct CToolTipState : CControlState {
    std::vector<CToolTipTool> tools;
    bool bActive { true };
    ETipPhase ePhase { ETipPhase::Idle };
    int nCurrent { -1 };               // the tool under the mouse
    bool bCurrentDone { false };       // the current tool's tip went: not again before the mouse leaves it
    POINT ptCursor {};                 // the last relayed mouse position, screen coordinates
    std::string strShown;              // the text on show
    bool bTracking { false };          // the current tool's tip shows by TTM_TRACKACTIVATE
    POINT ptTrack {};                  // where a tracked tip stands, screen coordinates
    int nDelays[4] { -1, -1, -1, -1 }; // by TTDT_*; -1: from the double-click time
};

// Timers of the tooltip window.
constexpr UINT_PTR TOOLTIP_SHOW_TIMER = 1;
constexpr UINT_PTR TOOLTIP_POP_TIMER = 2;
// While a tool is current the cursor is checked now and then: a tool window
// watched by subclassing does not see the mouse leave it for its parent.
constexpr UINT_PTR TOOLTIP_LEAVE_TIMER = 3;
constexpr UINT TOOLTIP_LEAVE_CHECK = 100;

inline CToolTipState* ToolTipState(HWND hWnd)
{
    return GetControlState<CToolTipState>(hWnd);
}

// The tool with this (hwnd, uId), -1 for none.
int FindTool(const CToolTipState& state, HWND hwnd, UINT_PTR uId);
// A tool's text now, asking TTN_NEEDTEXT for callbacks. FALSE when the tool
// or the tooltip went away meanwhile.
bool ToolText(HWND hWnd, int nTool, std::string* pText);
// A delay (TTDT_RESHOW, TTDT_AUTOPOP, TTDT_INITIAL) in milliseconds.
UINT ToolTipDelay(const CToolTipState& state, WPARAM nKind);
// The size of the tip window that shows a text.
SIZE TipSize(HWND hWnd, const std::string& strText);

/***** Timing (ToolTipTiming.cpp) *****/

// Looks at a relayed message: mouse moves start, switch or end a tip; presses and keys end it.
void RelayToolTipEvent(HWND hWnd, const MSG& msg);
void OnToolTipTimer(HWND hWnd, UINT_PTR nTimer);
// Hides the tip; the current tool stays current when bKeepTool.
void HideTip(HWND hWnd, bool bKeepTool);
// Starts and ends the watching of a TTF_SUBCLASS tool's window.
void WatchToolWindow(HWND hWnd, HWND hTool);
void UnwatchToolWindow(HWND hWnd, HWND hTool);

/***** Tracking (ToolTipTracking.cpp) *****/

// TTM_TRACKACTIVATE: shows the tool's tip at the tracking point, or hides it.
void TrackActivate(HWND hWnd, bool bShow, const TOOLINFO* pInfo);
// TTM_TRACKPOSITION: a tracked tip on show moves there.
void TrackPosition(HWND hWnd, POINT pt);
// Sizes a tracked tip to its text and sets it at its point, inside the point's monitor.
void PlaceTrackedTip(HWND hWnd);
