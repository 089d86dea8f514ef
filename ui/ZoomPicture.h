#pragma once

// A picture shown over part of a host window in a zoom window (CZoomWnd) that
// the host keeps in a slot: the content reader's held picture (the last
// ReadFileContent of this thread that found one) or a bitmap resource. The
// slot owns the window; the window clears the slot when it is destroyed with
// its host, so a host frees the slot before its children go (WM_DESTROY).
// Showing again reuses the slot's window. Used from the user-interface thread.

#include "platform/framework/CWnd.h"

class CZoomWnd;

struct CZoomSlot {
    // The slot's window stays at its address: it points back here.
    CZoomSlot() = default;
    CZoomSlot(const CZoomSlot&) = delete;
    CZoomSlot& operator=(const CZoomSlot&) = delete;

    CZoomWnd* pWnd { nullptr }; // owned; null while no picture is shown
    int nPercent { 0 };         // the zoom asked (0: fitted)
};

// The argument of ShowZoomImage for the content reader's held picture.
constexpr int HELD_PICTURE = -1;

// Shows the held picture fitted to rect (host client coordinates) on the
// menu colour, from its top left. FALSE when there is none or it cannot be
// read: the slot is then empty.
BOOL ShowPictureInRect(CWnd& host, CZoomSlot& slot, const RECT& rect);
// Shows the held picture (HELD_PICTURE) fitted, or the bitmap resource
// nPicture at 100 %, centred on white at rect, and invalidates rect of the
// host; FALSE with the slot empty when it cannot be shown.
BOOL ShowZoomImage(CWnd& host, CZoomSlot& slot, int nPicture, const RECT& rect);
// Deletes the slot's window and its picture; nothing on an empty slot.
void FreeZoomImage(CZoomSlot& slot);
// Zooms the shown picture to nPercent (0: fitted), laying it out again only
// when the percent changes; repaints it in any case.
void SetZoomPercent(CZoomSlot& slot, int nPercent);
// The percent asked; for a fitted picture, the percent in effect.
int GetZoomPercent(const CZoomSlot& slot);
