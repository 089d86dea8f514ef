#pragma once

// What a window that takes drops inside the program does while a drag runs
// over it. The drag tracker (CDragTracker) calls these on the registered
// window under the cursor; a window of a listed class takes drops only when
// its object also derives from this interface.

#include "platform/base/WinTypes.h"

class CKadDragObj;

/* Drop effects: what a drop on the target would do, as bits. */
using DROPEFFECT = DWORD;
constexpr DROPEFFECT DROPEFFECT_NONE = 0;
constexpr DROPEFFECT DROPEFFECT_COPY = 1;
constexpr DROPEFFECT DROPEFFECT_MOVE = 2;

class CKadDropTarget {
public:
    virtual ~CKadDropTarget() = default;

    // The drag came over the window.
    virtual void DropEnter() = 0;
    // The drag is at (x, y), client coordinates, with nKeyState's MK_SHIFT and
    // MK_CONTROL bits; returns what a drop there would do.
    virtual DROPEFFECT DropOver(CKadDragObj* pPayload, UINT nKeyState, int x, int y) = 0;
    // The drag left the window, or ended over it without a drop.
    virtual void DropLeave() = 0;
    // Takes the payload with the effect last answered; FALSE when nothing was taken.
    virtual BOOL DropTake(CKadDragObj* pPayload, DROPEFFECT effect) = 0;
};
