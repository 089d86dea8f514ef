#pragma once

// A flat owner-drawn push button with a small down arrow at its right that
// fires when the cursor rests on it for a second, as well as when clicked:
// the add, choose and browse buttons that open a popup or a folder picker.
//
//   idle ──move over──> dwelling (timers 101 at 1000 ms, 102 every 30 ms)
//        <──cursor left (102 finds it outside)──
//   dwelling ──101 fires──> posts the command unless pushed, idle

#include "platform/framework/CButton.h"

class CHotButton : public CButton {
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT_PTR TIMER_DWELL = 101;
    static constexpr UINT_PTR TIMER_LEAVE_CHECK = 102;
    static constexpr UINT DWELL_MS = 1000;
    static constexpr UINT LEAVE_CHECK_MS = 30;

    CHotButton() = default;

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

protected:
    void OnDestroy();
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnTimer(UINT_PTR nIDEvent);

private:
    void StopDwelling();

    BOOL m_bDwelling { FALSE }; // the dwell timer runs
};
