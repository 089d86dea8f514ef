#pragma once

// Runs one drag inside the program for the window it started in (the
// source), which holds the mouse capture and feeds the tracker its mouse
// moves and messages. The tracker finds the registered drop target under the
// cursor, asks it what a drop would do, shows the matching cursor, and at the
// end hands it the payload.
//
//   Begin ──> running (result 0) ──left button up──> DRAGDROP_S_DROP  ──> End
//                                 ──Esc, right or middle button──> DRAGDROP_S_CANCEL ──> End
//
// The source calls Move on every WM_MOUSEMOVE and FilterMessage on every
// message while the result is 0, then End as soon as it is set, and frees
// the payload and the drag image afterwards: the tracker owns neither.
//
// The target is kept by its window handle and found again in the registry
// before each call, so a target that left the registry or was destroyed
// during the drag is no target from then on (and is not told it was left).

#include "platform/window/MessageQueue.h"
#include "ui/CKadDropTarget.h"

class CImageList;
class CKadDragObj;
class CWnd;

class CDragTracker {
public:
    CDragTracker() = default;
    CDragTracker(const CDragTracker&) = delete;
    CDragTracker& operator=(const CDragTracker&) = delete;

    // Starts the drag at the screen point: pSource captures the mouse and
    // becomes g_dragSource, and the window under the point becomes the target.
    void Begin(CWnd* pSource, CKadDragObj* pPayload, CImageList* pImage, int x, int y);
    // The cursor is at the screen point with nKeyState's MK_* bits.
    void Move(UINT nKeyState, int x, int y);
    // Looks at a message the source is about to dispatch; TRUE when the drag
    // takes it (the source then does not dispatch it).
    BOOL FilterMessage(MSG* pMsg);
    // Ends the drag: the capture and the cursor go back, a drop hands over
    // the payload. Returns the effect of a drop the target took, else 0.
    DROPEFFECT End();

    // 0 while the drag runs; DRAGDROP_S_DROP or DRAGDROP_S_CANCEL once it ended.
    HRESULT GetResult() const { return m_hResult; }
    DROPEFFECT GetEffect() const { return m_effect; }
    CImageList* GetImage() const { return m_pImage; }

private:
    // The target's drop operations while it is still registered and alive; else null.
    CKadDropTarget* Target();
    void EnterTarget(HWND hWnd);
    void LeaveTarget();
    // Shift or Ctrl went down or up: asks the target again where the cursor rests.
    void KeyChanged(UINT nVirtualKey, bool bDown);

    CImageList* m_pImage { nullptr };
    CKadDragObj* m_pPayload { nullptr };
    CWnd* m_pTarget { nullptr };
    int m_nIndex { -1 }; // the target's registry entry when it was entered; -1 none
    DROPEFFECT m_effect { DROPEFFECT_NONE };
    HRESULT m_hResult { 0 };
    HCURSOR m_hPreviousCursor { nullptr };
    HWND m_hTarget { nullptr }; // the target's window, to find it again
    CWnd* m_pSource { nullptr };
};
