#include "platform/window/DragImages.h"

#include "platform/base/WinError.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/Blt.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <mutex>

namespace {

// The one drag. While `bShown`, `hSaved` holds the lock window's pixels under the image at `ptShown`.
struct DragState {
    std::recursive_mutex mutex;
    HIMAGELIST himlBase { nullptr }; // a one-image copy of the dragged image
    POINT ptBaseHotspot {};
    HIMAGELIST himl { nullptr }; // what shows: himlBase, or a cursor image merged over it
    POINT ptHotspot {};
    SIZE size {};
    HWND hwndLock { nullptr };
    bool bLocked { false };
    POINT ptPosition {};
    bool bVisible { false }; // what DragShowNolock asked for
    bool bShown { false };   // whether the image is on the window now
    POINT ptShown {};
    HBITMAP hSaved { nullptr };
};

DragState& Drag()
{
    static DragState state;
    return state;
}

void Hide(DragState& drag)
{
    if (!drag.bShown)
        return;
    drag.bShown = false;
    HDC hdc = GetWindowDC(drag.hwndLock);
    if (!hdc)
        return;
    HDC hdcSaved = CreateCompatibleDC(hdc);
    HGDIOBJ hOld = SelectObject(hdcSaved, drag.hSaved);
    BitBlt(hdc, drag.ptShown.x, drag.ptShown.y, drag.size.cx, drag.size.cy, hdcSaved, 0, 0, SRCCOPY);
    SelectObject(hdcSaved, hOld);
    DeleteDC(hdcSaved);
    ReleaseDC(drag.hwndLock, hdc);
}

void Show(DragState& drag)
{
    if (drag.bShown || !drag.bLocked || !drag.bVisible)
        return;
    HDC hdc = GetWindowDC(drag.hwndLock);
    if (!hdc)
        return;
    POINT pt { drag.ptPosition.x - drag.ptHotspot.x, drag.ptPosition.y - drag.ptHotspot.y };
    HDC hdcSaved = CreateCompatibleDC(hdc);
    HGDIOBJ hOld = SelectObject(hdcSaved, drag.hSaved);
    if (hOld && BitBlt(hdcSaved, 0, 0, drag.size.cx, drag.size.cy, hdc, pt.x, pt.y, SRCCOPY)) {
        ImageList_Draw(drag.himl, 0, hdc, pt.x, pt.y, ILD_TRANSPARENT);
        drag.bShown = true;
        drag.ptShown = pt;
    }
    if (hOld)
        SelectObject(hdcSaved, hOld);
    DeleteDC(hdcSaved);
    ReleaseDC(drag.hwndLock, hdc);
}

// Makes `himl` (which the drag takes over) the image that shows, its hot spot
// at ptHotspot; hidden first when it shows. FALSE when out of memory.
bool ReplaceImage(DragState& drag, HIMAGELIST himl, POINT ptHotspot)
{
    int cx = 0;
    int cy = 0;
    HBITMAP hSaved = ImageList_GetIconSize(himl, &cx, &cy) ? CreateBitmap(cx, cy, 1, 32, nullptr) : nullptr;
    if (!hSaved) {
        if (himl != drag.himlBase)
            ImageList_Destroy(himl);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    bool bWasShown = drag.bShown;
    Hide(drag);
    if (drag.himl != drag.himlBase)
        ImageList_Destroy(drag.himl);
    DeleteObject(drag.hSaved);
    drag.himl = himl;
    drag.hSaved = hSaved;
    drag.size = SIZE { cx, cy };
    drag.ptHotspot = ptHotspot;
    if (bWasShown)
        Show(drag);
    return true;
}

}

BOOL ImageList_BeginDrag(HIMAGELIST himlTrack, int iTrack, int dxHotspot, int dyHotspot)
{
    DragState& drag = Drag();
    std::lock_guard lock(drag.mutex);
    if (drag.himl) {
        SetLastError(ERROR_BUSY);
        return FALSE;
    }
    int cx = 0;
    int cy = 0;
    if (!ImageList_GetIconSize(himlTrack, &cx, &cy))
        return FALSE;
    // A copy, so that the list may change during the drag.
    HICON hIcon = ImageList_GetIcon(himlTrack, iTrack, ILD_TRANSPARENT);
    if (!hIcon)
        return FALSE;
    HIMAGELIST himl = ImageList_Create(cx, cy, ILC_COLOR32 | ILC_MASK, 1, 1);
    bool bMade = himl && ImageList_AddIcon(himl, hIcon) == 0;
    DestroyIcon(hIcon);
    if (!bMade) {
        ImageList_Destroy(himl);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    drag.bLocked = false;
    drag.bVisible = false;
    drag.bShown = false;
    drag.himlBase = himl;
    drag.ptBaseHotspot = POINT { dxHotspot, dyHotspot };
    if (!ReplaceImage(drag, himl, drag.ptBaseHotspot)) {
        ImageList_Destroy(himl);
        drag.himlBase = nullptr;
        return FALSE;
    }
    return TRUE;
}

BOOL ImageList_SetDragCursorImage(HIMAGELIST himlDrag, int iDrag, int dxHotspot, int dyHotspot)
{
    DragState& drag = Drag();
    std::lock_guard lock(drag.mutex);
    if (!drag.himl) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // The cursor image lies at (dx, dy) from the dragged image; where the
    // merged image starts left or above the dragged one, the hot spot moves.
    int dx = drag.ptBaseHotspot.x - dxHotspot;
    int dy = drag.ptBaseHotspot.y - dyHotspot;
    HIMAGELIST himl = ImageList_Merge(drag.himlBase, 0, himlDrag, iDrag, dx, dy);
    if (!himl)
        return FALSE;
    POINT ptHotspot { drag.ptBaseHotspot.x + std::max(0, -dx), drag.ptBaseHotspot.y + std::max(0, -dy) };
    return ReplaceImage(drag, himl, ptHotspot);
}

void ImageList_EndDrag()
{
    DragState& drag = Drag();
    std::lock_guard lock(drag.mutex);
    Hide(drag);
    if (drag.himl != drag.himlBase)
        ImageList_Destroy(drag.himl);
    ImageList_Destroy(drag.himlBase);
    DeleteObject(drag.hSaved);
    drag.himl = nullptr;
    drag.himlBase = nullptr;
    drag.hSaved = nullptr;
    drag.bLocked = false;
    drag.hwndLock = nullptr;
}

BOOL ImageList_DragEnter(HWND hwndLock, int x, int y)
{
    DragState& drag = Drag();
    std::lock_guard lock(drag.mutex);
    if (!drag.himl || (hwndLock && !IsWindow(hwndLock))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Hide(drag);
    drag.hwndLock = hwndLock;
    drag.bLocked = true;
    drag.bVisible = true;
    drag.ptPosition = POINT { x, y };
    Show(drag);
    return TRUE;
}

BOOL ImageList_DragLeave(HWND hwndLock)
{
    DragState& drag = Drag();
    std::lock_guard lock(drag.mutex);
    if (!drag.himl || !drag.bLocked || hwndLock != drag.hwndLock) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Hide(drag);
    drag.bLocked = false;
    drag.bVisible = false;
    return TRUE;
}

BOOL ImageList_DragMove(int x, int y)
{
    DragState& drag = Drag();
    std::lock_guard lock(drag.mutex);
    if (!drag.himl) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Hide(drag);
    drag.ptPosition = POINT { x, y };
    Show(drag);
    return TRUE;
}

BOOL ImageList_DragShowNolock(BOOL fShow)
{
    DragState& drag = Drag();
    std::lock_guard lock(drag.mutex);
    if (!drag.himl) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    drag.bVisible = fShow != FALSE;
    if (drag.bVisible)
        Show(drag);
    else
        Hide(drag);
    return TRUE;
}
