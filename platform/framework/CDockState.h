#pragma once

// CDockState: the places of a frame's control bars, kept in the application's
// profile.
//
// Format, under the profile name P (sections of the application's key):
//   "P-Summary": "Bars" (the count), "ScreenCX", "ScreenCY" (the primary
//                screen's size when saved).
//   "P-Bar<i>" for i below the count: "BarID", "Visible" (0/1), "Floating"
//                (0/1), "DockSide" (a dock side's window ID; 0 when floating or
//                not docked on a side), "Row" and "Offset" (the place on that
//                side), "FloatX", "FloatY" (the floating frame's screen
//                position), "FloatLength" (the length a dynamic bar floats with).
// SaveState removes "P-Bar<n>" sections at or beyond the count.
//
// The profile is outside input. LoadState reads and checks everything before
// anyone uses it: a missing summary, or a count above MAX_BARS or negative,
// loads nothing; a missing section or a repeated bar ID is skipped; a value
// that is missing or out of range is left out, and the frame keeps the bar's
// current state for it (CFrameWnd::SetDockState).

#include "platform/base/CObject.h"
#include "platform/base/CString.h"
#include "platform/framework/CPoint.h"
#include "platform/framework/CSize.h"

#include <optional>
#include <vector>

// One bar's saved place. Values a loaded state lacks are empty.
struct CControlBarInfo {
    UINT m_nBarID { 0 };
    std::optional<BOOL> m_bVisible;
    std::optional<BOOL> m_bFloating;
    std::optional<UINT> m_uDockSide; // 0: floating, or not on a dock side
    std::optional<int> m_nRow;
    std::optional<int> m_nOffset;
    std::optional<CPoint> m_ptFloat;
    std::optional<int> m_nFloatLength;
};

class CDockState : public CObject {
public:
    static constexpr int MAX_BARS = 256;

    // Writes the state; FALSE when a value could not be written.
    BOOL SaveState(LPCTSTR lpszProfileName) const;
    // Reads and checks a state (see above); FALSE, leaving the state empty, when nothing loads.
    BOOL LoadState(LPCTSTR lpszProfileName);
    void Clear();

    std::vector<CControlBarInfo> m_arrBarInfo;
    CSize m_sizeScreen; // the primary screen when the state was taken; 0 when unknown
};
