#include "platform/window/DragImages.h"

#include "platform/base/WinError.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"

#include <mutex>

namespace {

// The one drag. While `bShown`, `hSaved` holds the lock window's pixels under the image at `ptShown`.
struct DragState {
    std::recursive_mutex mutex;
    HIMAGELIST himl { nullptr }; // a one-image copy of the dragged image
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
    HBITMAP hSaved = CreateBitmap(cx, cy, 1, 32, nullptr);
    bool bMade = himl && hSaved && ImageList_AddIcon(himl, hIcon) == 0;
    DestroyIcon(hIcon);
    if (!bMade) {
        ImageList_Destroy(himl);
        DeleteObject(hSaved);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    drag.himl = himl;
    drag.hSaved = hSaved;
    drag.size = SIZE { cx, cy };
    drag.ptHotspot = POINT { dxHotspot, dyHotspot };
    drag.bLocked = false;
    drag.bVisible = false;
    drag.bShown = false;
    return TRUE;
}

void ImageList_EndDrag()
{
    DragState& drag = Drag();
    std::lock_guard lock(drag.mutex);
    Hide(drag);
    ImageList_Destroy(drag.himl);
    DeleteObject(drag.hSaved);
    drag.himl = nullptr;
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
