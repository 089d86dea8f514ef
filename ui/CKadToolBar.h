#pragma once

// The main frame's toolbar. Resting the cursor for half a second on the
// favourites, recently catalogued, new-document or unprotected button (the
// last two only while enabled) runs that button's command, which opens its
// popup, as a click would; a move restarts the wait. The favourites button
// also takes documents dragged from the program's lists: they are linked to
// the favourites node.

#include "platform/framework/CToolBar.h"
#include "ui/CKadDropTarget.h"

class CKadToolBar
    : public CToolBar
    , public CKadDropTarget {
    DECLARE_DYNAMIC(CKadToolBar)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT_PTR TIMER_HOVER = 100;
    static constexpr UINT HOVER_MS = 500;

    CKadToolBar() = default;

    // The command of the button at a client point, searching from the last
    // button; 0 when none.
    UINT HitTestButton(int x, int y) const;

    /* Drops: only documents, only on the favourites button. */

    // Links the payload's documents (last to first) to the favourites node and
    // tells the main window that the catalog changed; TRUE when any was linked.
    virtual BOOL OnDrop(CKadDragObj* pPayload, CPoint point);
    virtual void OnDragEnter() { }
    // DROPEFFECT_COPY for catalog entries with a document over the favourites
    // button, else DROPEFFECT_NONE.
    virtual DROPEFFECT OnDragOver(CKadDragObj* pPayload, UINT nKeyState, int x, int y);
    virtual void OnDragLeave() { }

    void DropEnter() override { OnDragEnter(); }
    DROPEFFECT DropOver(CKadDragObj* pPayload, UINT nKeyState, int x, int y) override
    {
        return OnDragOver(pPayload, nKeyState, x, y);
    }
    void DropLeave() override { OnDragLeave(); }
    BOOL DropTake(CKadDragObj* pPayload, DROPEFFECT effect) override;

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnDestroy();
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnTimer(UINT_PTR nIDEvent);

private:
    CPoint m_lastPoint { -1, -1 }; // where the cursor was last seen, client coordinates
    CPoint m_dropPoint { -1, -1 }; // the last point a drag was over
};
