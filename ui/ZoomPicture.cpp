#include "ui/ZoomPicture.h"

#include "store/ContentReader.h"
#include "ui/CZoomWnd.h"

#include "platform/framework/CRect.h"
#include "platform/gdi/SysColors.h"

#include <memory>

namespace {

// The slot's window, made on first use, loaded with the picture: null (the
// slot emptied) when the picture cannot be loaded.
CZoomWnd* LoadSlot(CZoomSlot& slot, int nPicture)
{
    if (!slot.pWnd) {
        slot.pWnd = new CZoomWnd;
        slot.pWnd->SetOwnerSlot(&slot.pWnd);
    }
    if (nPicture == HELD_PICTURE) {
        CString strPath;
        CString strFormat;
        if (!GetContentPicture(strPath, strFormat)) {
            FreeZoomImage(slot);
            return nullptr;
        }
        slot.pWnd->SetPicturePath(strPath, CZoomWnd::TYPE_BITMAP_FILE);
    } else {
        slot.pWnd->SetBitmapResource(static_cast<UINT>(nPicture));
    }
    if (!slot.pWnd->SetImage()) {
        FreeZoomImage(slot);
        return nullptr;
    }
    return slot.pWnd;
}

void Relayout(CZoomWnd& wnd)
{
    CRect rcClient;
    wnd.GetClientRect(&rcClient);
    wnd.RecalcLayout(rcClient);
}

} // namespace

BOOL ShowPictureInRect(CWnd& host, CZoomSlot& slot, const RECT& rect)
{
    CZoomWnd* pWnd = LoadSlot(slot, HELD_PICTURE);
    if (!pWnd)
        return FALSE;
    pWnd->SetBackgroundColor(GetSysColor(COLOR_MENU));
    pWnd->SetPositions(0, 0);
    pWnd->SetClientRect(rect);
    if (!pWnd->Create(&host)) {
        FreeZoomImage(slot);
        return FALSE;
    }
    slot.nPercent = 0;
    pWnd->SetZoom(0);
    pWnd->MoveWindow(&rect);
    Relayout(*pWnd);
    return TRUE;
}

BOOL ShowZoomImage(CWnd& host, CZoomSlot& slot, int nPicture, const RECT& rect)
{
    CZoomWnd* pWnd = LoadSlot(slot, nPicture);
    if (!pWnd)
        return FALSE;
    pWnd->SetBackgroundColor(RGB(255, 255, 255));
    pWnd->SetPositions(50, 50);
    pWnd->SetClientRect(rect);
    if (!pWnd->Create(&host)) {
        FreeZoomImage(slot);
        return FALSE;
    }
    slot.nPercent = nPicture == HELD_PICTURE ? 0 : 100;
    pWnd->SetZoom(slot.nPercent);
    pWnd->MoveWindow(&rect);
    Relayout(*pWnd);
    host.InvalidateRect(&rect);
    return TRUE;
}

void FreeZoomImage(CZoomSlot& slot)
{
    // The window clears the slot when it goes; the object is the slot's to delete.
    std::unique_ptr<CZoomWnd> pWnd(slot.pWnd);
    slot.pWnd = nullptr;
    slot.nPercent = 0;
    if (pWnd)
        pWnd->FreePicture();
}

void SetZoomPercent(CZoomSlot& slot, int nPercent)
{
    if (!slot.pWnd)
        return;
    if (nPercent != slot.nPercent) {
        slot.nPercent = nPercent;
        slot.pWnd->SetZoom(nPercent);
        Relayout(*slot.pWnd);
    }
    slot.pWnd->Invalidate();
}

int GetZoomPercent(const CZoomSlot& slot)
{
    if (slot.pWnd && slot.nPercent < CZoomWnd::MIN_ZOOM)
        return slot.pWnd->GetZoom(); // fitted: the percent in effect
    return slot.nPercent;
}
