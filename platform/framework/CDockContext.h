#pragma once

// CDockContext: a docking bar's dragging between the frame's dock sides and a
// small floating frame, and the places it had last.
//
// Dragging a docked bar floats it at once under the pointer; the small frame
// then follows the pointer, and releasing it over a dock side the bar accepts
// docks it there (dragging a floating frame by its caption does the same).
// A double click floats a docked bar at its last floating place, or docks a
// floating one on the side it had last.

#include "platform/framework/CPoint.h"
#include "platform/framework/CRect.h"

class CControlBar;

class CDockContext {
public:
    explicit CDockContext(CControlBar* pBar);

    /* Dragging. The bar holds the capture while it drags; points are screen points. */

    // Starts following the mouse pressed at pt.
    void StartDrag(CPoint pt);
    BOOL IsDragging() const { return m_bDragging; }
    // A move (bRelease FALSE) or the release while dragging.
    void Track(CPoint pt, BOOL bRelease);
    // Stops following the mouse where the bar is (the capture went elsewhere).
    void CancelDrag() { m_bDragging = false; }

    // Docks a floating bar on its last side, floats a docked one at its last floating place.
    void ToggleDocking();
    // The dock side (its ID) whose zone holds pt and that the bar accepts; 0 when none.
    UINT DockSideAt(CPoint pt) const;

    CControlBar* m_pBar;
    UINT m_uMRUDockID { 0 }; // the side the bar was docked on last
    CRect m_rectMRUDockPos;  // the bar's place there (screen)
    CPoint m_ptMRUFloatPos;  // where its floating frame was last (screen)
    bool m_bMRUFloatSet { false };
    DWORD m_dwMRUFloatStyle { 0 }; // its alignment while floating

private:
    bool m_bDragging { false };
    bool m_bMoved { false }; // past the drag distance
    CPoint m_ptStart;
    CPoint m_ptGrab; // the pointer's offset from the top-left of what moves (the bar, or its floating frame)
};
