#pragma once

// The arrow button with auto-repeat: held down, it posts its command at
// once, again after 350 ms and then every 100 ms until it is released. Moving
// off the button while it is held pauses the posting (the button looks
// released) and coming back resumes it. As a drop target it repeats while a
// drag hovers over it and never takes the drop, so hovering a dragged item
// over an arrow scrolls what the arrow scrolls.
//
//   idle ──press or drag enter──> pressed (timer 101, 350 ms) ──> repeating (timer 102, 100 ms)
//        <──release, drag leave, disabled or destroyed──
//
// Commands go as WM_COMMAND (control ID, this window) posted to the parent.

#include "platform/framework/CButton.h"
#include "ui/CKadDropTarget.h"

class CBtnSeta
    : public CButton
    , public CKadDropTarget {
    DECLARE_DYNAMIC(CBtnSeta)
    DECLARE_MESSAGE_MAP()

public:
    /* Timers. */
    static constexpr UINT_PTR TIMER_FIRST_DELAY = 101;
    static constexpr UINT_PTR TIMER_REPEAT = 102;
    static constexpr UINT FIRST_DELAY_MS = 350;
    static constexpr UINT REPEAT_MS = 100;

    CBtnSeta() = default;

    // Starts repeating unless it already does: shows the button pushed, posts
    // the command once and starts the first delay.
    void StartRepeat();
    // Stops a running repeat and shows the button released.
    void StopRepeat();

    /* As a drop target: repeats while a drag hovers, takes no drop. */
    void DropEnter() override { StartRepeat(); }
    DROPEFFECT DropOver(CKadDragObj* pPayload, UINT nKeyState, int x, int y) override;
    void DropLeave() override { StopRepeat(); }
    BOOL DropTake(CKadDragObj* pPayload, DROPEFFECT effect) override;

protected:
    void OnDestroy();
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnTimer(UINT_PTR nIDEvent);

private:
    void PostCommand();

    UINT_PTR m_nTimer { 0 };       // the repeat timer running; 0 none
    BOOL m_bTracking { FALSE };    // the mouse or a drag holds the button
    BOOL m_bShownPushed { FALSE }; // the button shows pushed
};

// Draws an owner-drawn arrow button: a scroll-bar arrow of nArrowState
// (DFCS_SCROLLUP...), greyed when the item is disabled, else pushed while selected.
void DrawArrowFrame(LPDRAWITEMSTRUCT lpDrawItemStruct, UINT nArrowState);
