#include "platform/window/Paint.h"

#include "platform/base/WinError.h"
#include "platform/display/Display.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/Blt.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Pictures.h"
#include "platform/gdi/Rects.h"
#include "platform/gdi/Regions.h"
#include "platform/gdi/SurfaceDC.h"
#include "platform/gdi/SysColors.h"
#include "platform/window/CaretInternal.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Messages.h"
#include "platform/window/QueueInternal.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/Window.h"
#include "platform/window/WindowInternal.h"

#include <algorithm>
#include <map>
#include <optional>
#include <utility>

namespace {

/***** Region helpers *****/

// An owned region handle, deleted when it goes.
class CRegion {
public:
    CRegion()
        : m_hRgn(CreateRectRgn(0, 0, 0, 0))
    {
    }
    explicit CRegion(const RECT& rc)
        : m_hRgn(CreateRectRgnIndirect(&rc))
    {
    }
    ~CRegion() { DeleteObject(m_hRgn); }
    CRegion(const CRegion&) = delete;
    CRegion& operator=(const CRegion&) = delete;

    HRGN Get() const { return m_hRgn; }
    bool IsEmpty() const
    {
        RECT rc {};
        return GetRgnBox(m_hRgn, &rc) == NULLREGION;
    }
    void Combine(HRGN hOther, int nMode) { CombineRgn(m_hRgn, m_hRgn, hOther, nMode); }
    void Combine(const RECT& rc, int nMode)
    {
        CRegion other(rc);
        Combine(other.Get(), nMode);
    }
    void Offset(int dx, int dy) { OffsetRgn(m_hRgn, dx, dy); }

private:
    HRGN m_hRgn;
};

RECT OffsetCopy(RECT rc, int dx, int dy)
{
    OffsetRect(&rc, dx, dy);
    return rc;
}

/***** Geometry, lock held *****/

// The client rectangle in client coordinates.
RECT ClientRectLocked(const CWindow& window)
{
    RECT rc = ClientRectInParentLocked(window);
    return RECT { 0, 0, rc.right - rc.left, rc.bottom - rc.top };
}

RECT ScreenClientRectLocked(const CWindow& window)
{
    POINT pt = ClientOriginLocked(window);
    RECT rc = ClientRectLocked(window);
    return OffsetCopy(rc, pt.x, pt.y);
}

bool HasFrame(const CWindow& window)
{
    RECT rcClient = ClientRectInParentLocked(window);
    return !EqualRect(&rcClient, &window.rcWindow);
}

// Whether an area (client coordinates; nullptr: the whole window) reaches
// beyond the client area into the frame.
bool ReachesFrameLocked(const CWindow& window, HRGN hrgnArea)
{
    if (!hrgnArea)
        return true;
    CRegion outside;
    outside.Combine(hrgnArea, RGN_OR);
    outside.Combine(ClientRectLocked(window), RGN_DIFF);
    return !outside.IsEmpty();
}

// Where a window DC of `window` draws on its top-level window's surface, and
// what of it can show there (surface coordinates). False for the desktop.
bool DcPlacementLocked(CWindow& window, bool bClient, POINT* pptOrigin, CRegion& visible)
{
    if (&window == &DesktopLocked())
        return false;
    CWindow& top = TopLevelOfLocked(window);
    RECT rcTop = ScreenWindowRectLocked(top);
    RECT rcArea = bClient ? ScreenClientRectLocked(window) : ScreenWindowRectLocked(window);
    OffsetRect(&rcArea, -rcTop.left, -rcTop.top);
    *pptOrigin = POINT { rcArea.left, rcArea.top };
    visible.Combine(rcArea, RGN_OR);
    if (!IsVisibleLocked(window)) {
        visible.Combine(rcArea, RGN_DIFF);
        return true;
    }
    auto inTop = [&](const RECT& rcScreen) { return OffsetCopy(rcScreen, -rcTop.left, -rcTop.top); };
    if (window.dwStyle & WS_CLIPCHILDREN) {
        for (CWindow* pChild : window.children) {
            if (pChild->dwStyle & WS_VISIBLE)
                visible.Combine(inTop(ScreenWindowRectLocked(*pChild)), RGN_DIFF);
        }
    }
    for (CWindow* pWindow = &window; pWindow != &top; pWindow = pWindow->pParent) {
        CWindow& parent = *pWindow->pParent;
        visible.Combine(inTop(ScreenClientRectLocked(parent)), RGN_AND);
        if (pWindow->dwStyle & WS_CLIPSIBLINGS) {
            for (CWindow* pSibling : parent.children) {
                if (pSibling == pWindow)
                    break; // the rest lie below
                if (pSibling->dwStyle & WS_VISIBLE)
                    visible.Combine(inTop(ScreenWindowRectLocked(*pSibling)), RGN_DIFF);
            }
        }
    }
    return true;
}

/***** Update regions, lock held *****/

// Adds `area` (client coordinates; nullptr: the whole client area) to the
// update region, and to the visible children's as the flags say.
void InvalidateAreaLocked(CWindow& window, HRGN hrgnArea, bool bErase, UINT flags)
{
    RECT rcClient = ClientRectLocked(window);
    CRegion area(rcClient);
    if (hrgnArea)
        area.Combine(hrgnArea, RGN_AND);
    if (area.IsEmpty())
        return;
    if (!window.hrgnUpdate)
        window.hrgnUpdate = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(window.hrgnUpdate, window.hrgnUpdate, area.Get(), RGN_OR);
    window.bEraseDue = window.bEraseDue || bErase;
    bool bChildren = (flags & RDW_ALLCHILDREN) || (!(flags & RDW_NOCHILDREN) && !(window.dwStyle & WS_CLIPCHILDREN));
    if (!bChildren)
        return;
    for (CWindow* pChild : window.children) {
        if (!(pChild->dwStyle & WS_VISIBLE) || pChild->bRedrawOff)
            continue;
        CRegion childArea(pChild->rcWindow);
        childArea.Combine(area.Get(), RGN_AND);
        if (childArea.IsEmpty())
            continue;
        if (HasFrame(*pChild))
            pChild->bFrameDue = true;
        RECT rcChildClient = ClientRectInParentLocked(*pChild);
        childArea.Offset(-rcChildClient.left, -rcChildClient.top);
        InvalidateAreaLocked(*pChild, childArea.Get(), bErase, flags & ~RDW_NOCHILDREN);
    }
}

void ValidateAreaLocked(CWindow& window, HRGN hrgnArea)
{
    if (!window.hrgnUpdate)
        return;
    if (hrgnArea)
        CombineRgn(window.hrgnUpdate, window.hrgnUpdate, hrgnArea, RGN_DIFF);
    RECT rc {};
    if (!hrgnArea || GetRgnBox(window.hrgnUpdate, &rc) == NULLREGION) {
        DeleteObject(window.hrgnUpdate);
        window.hrgnUpdate = nullptr;
        window.bEraseDue = false;
    }
}

CWindow* PaintCandidateLocked(CWindow& window, DWORD dwThreadId, const CMessageFilter& filter)
{
    if (!(window.dwStyle & WS_VISIBLE) || window.bRedrawOff)
        return nullptr;
    if ((window.hrgnUpdate || window.bFrameDue) && window.dwThreadId == dwThreadId
        && filter.Matches(window.hWnd, WM_PAINT))
        return &window;
    for (CWindow* pChild : window.children) {
        if (CWindow* pFound = PaintCandidateLocked(*pChild, dwThreadId, filter))
            return pFound;
    }
    return nullptr;
}

/***** Window DCs *****/

struct CWindowDc {
    HWND hWnd { nullptr };
    HWND hTop { nullptr };
};

// The DCs handed out and not yet released. Lock held.
std::map<HDC, CWindowDc>& WindowDcs()
{
    static auto* pDcs = new std::map<HDC, CWindowDc>;
    return *pDcs;
}

HDC DesktopDcLocked()
{
    // Drawing on the desktop shows nowhere; the DC still measures as the screen.
    static HBITMAP s_hbmDesktop
        = CreateBitmap(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), 1, 32, nullptr);
    HDC hdc = CreateSurfaceDC(s_hbmDesktop, POINT {}, nullptr);
    WindowDcs()[hdc] = CWindowDc {};
    return hdc;
}

HDC MakeWindowDc(HWND hWnd, bool bClient)
{
    auto lock = LockWindows();
    if (!hWnd)
        return DesktopDcLocked();
    CWindow* pWindow = FindWindowOrFailLocked(hWnd);
    if (!pWindow)
        return nullptr;
    if (pWindow == &DesktopLocked())
        return DesktopDcLocked();
    SyncDisplayLocked();
    CWindow& top = TopLevelOfLocked(*pWindow);
    HBITMAP hbmSurface = DisplayLocked().SurfaceOf(top.hWnd);
    POINT ptOrigin {};
    CRegion visible;
    if (!hbmSurface || !DcPlacementLocked(*pWindow, bClient, &ptOrigin, visible))
        return nullptr;
    HDC hdc = CreateSurfaceDC(hbmSurface, ptOrigin, visible.Get());
    if (hdc)
        WindowDcs()[hdc] = CWindowDc { hWnd, top.hWnd };
    return hdc;
}

// Sends WM_PAINT to the window and, with bChildren, to its descendants that wait for it.
void PaintNow(HWND hWnd, bool bChildren)
{
    bool bDue = false;
    std::vector<HWND> children;
    {
        auto lock = LockWindows();
        CWindow* pWindow = FindWindowLocked(hWnd);
        if (!pWindow)
            return;
        bDue = IsVisibleLocked(*pWindow) && !pWindow->bRedrawOff && (pWindow->hrgnUpdate || pWindow->bFrameDue);
        if (bChildren) {
            for (CWindow* pChild : pWindow->children)
                children.push_back(pChild->hWnd);
        }
    }
    if (bDue)
        SendMessage(hWnd, WM_PAINT, 0, 0);
    for (HWND hChild : children)
        PaintNow(hChild, true);
}

// Sends WM_ERASEBKGND now when an erase is due, as GetUpdateRect and RDW_ERASENOW ask.
void EraseNow(HWND hWnd)
{
    {
        auto lock = LockWindows();
        CWindow* pWindow = FindWindowLocked(hWnd);
        if (!pWindow || !pWindow->bEraseDue || !pWindow->hrgnUpdate)
            return;
        pWindow->bEraseDue = false;
    }
    HDC hdc = GetDC(hWnd);
    HRGN hrgn = CreateRectRgn(0, 0, 0, 0);
    GetUpdateRgn(hWnd, hrgn, FALSE);
    NarrowSurfaceDC(hdc, hrgn);
    DeleteObject(hrgn);
    if (!SendMessage(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0)) {
        auto lock = LockWindows();
        if (CWindow* pWindow = FindWindowLocked(hWnd))
            pWindow->bEraseDue = true; // not erased: BeginPaint reports it in fErase
    }
    ReleaseDC(hWnd, hdc);
}

}

/***** Shared with the other window files *****/

RECT ScreenWindowRectLocked(const CWindow& window)
{
    if (!window.pParent || window.pParent == &DesktopLocked())
        return window.rcWindow;
    POINT pt = ClientOriginLocked(*window.pParent);
    return OffsetCopy(window.rcWindow, pt.x, pt.y);
}

CWindow& TopLevelOfLocked(CWindow& window)
{
    CWindow* pWindow = &window;
    while (pWindow->pParent && pWindow->pParent != &DesktopLocked())
        pWindow = pWindow->pParent;
    return *pWindow;
}

HWND WindowToPaintLocked(DWORD dwThreadId, const CMessageFilter& filter)
{
    for (CWindow* pTop : DesktopLocked().children) {
        if (CWindow* pFound = PaintCandidateLocked(*pTop, dwThreadId, filter))
            return pFound->hWnd;
    }
    return nullptr;
}

void InvalidateWholeLocked(CWindow& window)
{
    if (HasFrame(window))
        window.bFrameDue = true;
    InvalidateAreaLocked(window, nullptr, true, RDW_NOCHILDREN);
    for (CWindow* pChild : window.children)
        InvalidateWholeLocked(*pChild);
}

void InvalidateAfterMoveLocked(CWindow& window, const RECT& rcOld, UINT uFlags)
{
    if (uFlags & SWP_NOREDRAW)
        return;
    bool bShown = (uFlags & SWP_SHOWWINDOW) != 0;
    bool bResized = !(uFlags & SWP_NOSIZE) || (uFlags & SWP_FRAMECHANGED);
    bool bIsChild = window.pParent && window.pParent != &DesktopLocked();
    bool bMoved = !(uFlags & SWP_NOMOVE);
    if (bShown || bResized || (bIsChild && bMoved))
        InvalidateWholeLocked(window);
    if (bIsChild && ((uFlags & SWP_HIDEWINDOW) || bMoved || bResized)) {
        // The parent and the siblings show again where the window was.
        CRegion exposed(rcOld);
        InvalidateAreaLocked(*window.pParent, exposed.Get(), true, 0);
    }
}

void ForgetPaintWindowLocked(CWindow& window)
{
    if (window.hrgnUpdate)
        DeleteObject(window.hrgnUpdate);
    window.hrgnUpdate = nullptr;
    for (auto& [hdc, dc] : WindowDcs()) {
        if (dc.hWnd == window.hWnd)
            dc.hWnd = nullptr; // the DC stays the caller's to release
    }
}

/***** Update regions *****/

BOOL InvalidateRgn(HWND hWnd, HRGN hRgn, BOOL bErase)
{
    return RedrawWindow(hWnd, nullptr, hRgn, RDW_INVALIDATE | (bErase ? RDW_ERASE : 0));
}

BOOL InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase)
{
    return RedrawWindow(hWnd, lpRect, nullptr, RDW_INVALIDATE | (bErase ? RDW_ERASE : 0));
}

BOOL ValidateRect(HWND hWnd, const RECT* lpRect)
{
    return RedrawWindow(hWnd, lpRect, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL ValidateRgn(HWND hWnd, HRGN hRgn)
{
    return RedrawWindow(hWnd, nullptr, hRgn, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL RedrawWindow(HWND hWnd, const RECT* lprcUpdate, HRGN hrgnUpdate, UINT flags)
{
    if (!hWnd) {
        // Every top-level window.
        std::vector<HWND> tops;
        {
            auto lock = LockWindows();
            for (CWindow* pTop : DesktopLocked().children)
                tops.push_back(pTop->hWnd);
        }
        for (HWND hTop : tops)
            RedrawWindow(hTop, lprcUpdate, hrgnUpdate, flags);
        return TRUE;
    }
    {
        auto lock = LockWindows();
        CWindow* pWindow = FindWindowOrFailLocked(hWnd);
        if (!pWindow)
            return FALSE;
        std::optional<CRegion> area;
        if (hrgnUpdate) {
            area.emplace();
            area->Combine(hrgnUpdate, RGN_OR);
        } else if (lprcUpdate) {
            area.emplace(*lprcUpdate);
        }
        HRGN hArea = area ? area->Get() : nullptr;
        if ((flags & RDW_INVALIDATE) && IsVisibleLocked(*pWindow) && !pWindow->bRedrawOff) {
            if ((flags & RDW_FRAME) && HasFrame(*pWindow) && ReachesFrameLocked(*pWindow, hArea))
                pWindow->bFrameDue = true;
            InvalidateAreaLocked(*pWindow, hArea, (flags & RDW_ERASE) != 0, flags);
        }
        if (flags & RDW_VALIDATE) {
            ValidateAreaLocked(*pWindow, hArea);
            if (flags & RDW_NOFRAME)
                pWindow->bFrameDue = false;
        }
        if (flags & RDW_NOERASE)
            pWindow->bEraseDue = false;
    }
    if (flags & RDW_ERASENOW)
        EraseNow(hWnd);
    if (flags & RDW_UPDATENOW)
        PaintNow(hWnd, (flags & RDW_ALLCHILDREN) != 0);
    return TRUE;
}

int GetUpdateRgn(HWND hWnd, HRGN hRgn, BOOL bErase)
{
    if (bErase)
        EraseNow(hWnd);
    auto lock = LockWindows();
    CWindow* pWindow = FindWindowOrFailLocked(hWnd);
    if (!pWindow)
        return ERROR;
    if (!pWindow->hrgnUpdate) {
        SetRectRgn(hRgn, 0, 0, 0, 0);
        return NULLREGION;
    }
    return CombineRgn(hRgn, pWindow->hrgnUpdate, nullptr, RGN_COPY);
}

BOOL GetUpdateRect(HWND hWnd, LPRECT lpRect, BOOL bErase)
{
    if (bErase)
        EraseNow(hWnd);
    auto lock = LockWindows();
    CWindow* pWindow = FindWindowOrFailLocked(hWnd);
    if (!pWindow)
        return FALSE;
    RECT rc {};
    if (pWindow->hrgnUpdate)
        GetRgnBox(pWindow->hrgnUpdate, &rc);
    if (lpRect)
        *lpRect = rc;
    return !IsRectEmpty(&rc);
}

BOOL UpdateWindow(HWND hWnd)
{
    if (!IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    PaintNow(hWnd, false);
    return TRUE;
}

/***** Painting *****/

HDC BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint)
{
    if (!lpPaint) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    CRegion update;
    bool bErase = false;
    bool bFrame = false;
    {
        auto lock = LockWindows();
        CWindow* pWindow = FindWindowOrFailLocked(hWnd);
        if (!pWindow)
            return nullptr;
        if (pWindow->hrgnUpdate) {
            update.Combine(pWindow->hrgnUpdate, RGN_OR);
            DeleteObject(pWindow->hrgnUpdate);
            pWindow->hrgnUpdate = nullptr;
        }
        bErase = std::exchange(pWindow->bEraseDue, false);
        bFrame = std::exchange(pWindow->bFrameDue, false);
    }
    if (bFrame)
        SendMessage(hWnd, WM_NCPAINT, 1, 0);
    HDC hdc = GetDC(hWnd);
    if (!hdc)
        return nullptr;
    TakeCaretOff(hWnd);
    NarrowSurfaceDC(hdc, update.Get());
    *lpPaint = PAINTSTRUCT {};
    lpPaint->hdc = hdc;
    GetRgnBox(update.Get(), &lpPaint->rcPaint);
    if (bErase && !update.IsEmpty())
        lpPaint->fErase = SendMessage(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0) ? FALSE : TRUE;
    return hdc;
}

BOOL EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint)
{
    if (!lpPaint) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    BOOL bReleased = ReleaseDC(hWnd, lpPaint->hdc) ? TRUE : FALSE;
    PutCaretBack(hWnd);
    return bReleased;
}

/***** Colours of controls *****/

HBRUSH DefaultControlColors(HDC hdc, UINT uCtlColorMsg)
{
    if (!IsCtlColorMessage(uCtlColorMsg))
        return nullptr;
    int nBackColor = COLOR_3DFACE;
    if (uCtlColorMsg == WM_CTLCOLOREDIT || uCtlColorMsg == WM_CTLCOLORLISTBOX)
        nBackColor = COLOR_WINDOW;
    else if (uCtlColorMsg == WM_CTLCOLORSCROLLBAR)
        nBackColor = COLOR_SCROLLBAR;
    SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(hdc, GetSysColor(nBackColor));
    return GetSysColorBrush(nBackColor);
}

/***** Window DCs *****/

HDC GetDC(HWND hWnd)
{
    return MakeWindowDc(hWnd, true);
}

HDC GetWindowDC(HWND hWnd)
{
    return MakeWindowDc(hWnd, false);
}

int ReleaseDC(HWND hWnd, HDC hDC)
{
    auto lock = LockWindows();
    auto it = WindowDcs().find(hDC);
    if (it == WindowDcs().end() || (hWnd && it->second.hWnd && it->second.hWnd != hWnd))
        return 0;
    HWND hTop = it->second.hTop;
    // What the DC drew is inside its area: only that goes to the desktop.
    RECT rcDrawn {};
    GetSurfaceDCBounds(hDC, &rcDrawn);
    WindowDcs().erase(it);
    DeleteDC(hDC);
    if (hTop && FindWindowLocked(hTop) && !IsRectEmpty(&rcDrawn))
        DisplayLocked().Present(hTop, rcDrawn);
    return 1;
}

HWND WindowFromDC(HDC hDC)
{
    auto lock = LockWindows();
    auto it = WindowDcs().find(hDC);
    return it == WindowDcs().end() ? nullptr : it->second.hWnd;
}

/***** Scrolling *****/

int ScrollWindowEx(HWND hWnd, int dx, int dy, const RECT* prcScroll, const RECT* prcClip, HRGN hrgnUpdate,
    LPRECT prcUpdate, UINT flags)
{
    RECT rcClient {};
    if (!GetClientRect(hWnd, &rcClient))
        return ERROR;
    RECT rcScroll = prcScroll ? *prcScroll : rcClient;
    RECT rcClip = rcClient;
    if (prcClip)
        IntersectRect(&rcClip, &rcClip, prcClip);
    IntersectRect(&rcScroll, &rcScroll, &rcClip);

    // Move the pixels within the window's surface (a copy onto itself reads
    // every pixel before it overwrites it). The caret is off meanwhile and
    // moves with them.
    TakeCaretOff(hWnd);
    HDC hdc = GetDC(hWnd);
    if (hdc) {
        int nWidth = rcScroll.right - rcScroll.left;
        int nHeight = rcScroll.bottom - rcScroll.top;
        if (nWidth > 0 && nHeight > 0) {
            IntersectClipRect(hdc, rcClip.left, rcClip.top, rcClip.right, rcClip.bottom);
            BitBlt(
                hdc, rcScroll.left + dx, rcScroll.top + dy, nWidth, nHeight, hdc, rcScroll.left, rcScroll.top, SRCCOPY);
        }
        ReleaseDC(hWnd, hdc);
    }
    ScrollCaret(hWnd, dx, dy, rcScroll);
    PutCaretBack(hWnd);

    // What the move uncovers: the scrolled area less where it went.
    CRegion uncovered(rcScroll);
    uncovered.Combine(OffsetCopy(rcScroll, dx, dy), RGN_DIFF);
    uncovered.Combine(rcClip, RGN_AND);
    std::vector<HWND> children;
    {
        auto lock = LockWindows();
        CWindow* pWindow = FindWindowLocked(hWnd);
        if (!pWindow)
            return ERROR;
        if (pWindow->hrgnUpdate) {
            // The waiting area moves with the pixels it belongs to.
            CRegion moved(rcScroll);
            CombineRgn(moved.Get(), moved.Get(), pWindow->hrgnUpdate, RGN_AND);
            CombineRgn(pWindow->hrgnUpdate, pWindow->hrgnUpdate, moved.Get(), RGN_DIFF);
            moved.Offset(dx, dy);
            moved.Combine(rcClip, RGN_AND);
            CombineRgn(pWindow->hrgnUpdate, pWindow->hrgnUpdate, moved.Get(), RGN_OR);
        }
        if (flags & SW_SCROLLCHILDREN) {
            for (CWindow* pChild : pWindow->children)
                children.push_back(pChild->hWnd);
        }
        if (flags & SW_INVALIDATE)
            InvalidateAreaLocked(*pWindow, uncovered.Get(), (flags & SW_ERASE) != 0, RDW_ALLCHILDREN);
    }
    for (HWND hChild : children) {
        RECT rc {};
        GetWindowRect(hChild, &rc);
        POINT pt { rc.left, rc.top };
        ScreenToClient(hWnd, &pt);
        SetWindowPos(hChild, nullptr, pt.x + dx, pt.y + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (hrgnUpdate)
        CombineRgn(hrgnUpdate, uncovered.Get(), nullptr, RGN_COPY);
    RECT rcBounds {};
    int nComplexity = GetRgnBox(uncovered.Get(), &rcBounds);
    if (prcUpdate)
        *prcUpdate = rcBounds;
    return nComplexity;
}

BOOL ScrollWindow(HWND hWnd, int XAmount, int YAmount, const RECT* lpRect, const RECT* lpClipRect)
{
    UINT flags = SW_INVALIDATE | SW_ERASE | (lpRect ? 0 : SW_SCROLLCHILDREN);
    return ScrollWindowEx(hWnd, XAmount, YAmount, lpRect, lpClipRect, nullptr, nullptr, flags) != ERROR;
}

/***** Screenshots *****/

HBITMAP CaptureWindowImage(HWND hWnd)
{
    if (!hWnd) {
        auto lock = LockWindows();
        SyncDisplayLocked();
        return DisplayLocked().CaptureScreen();
    }
    HDC hdcWindow = nullptr;
    RECT rcWindow {};
    {
        auto lock = LockWindows();
        CWindow* pWindow = FindWindowOrFailLocked(hWnd);
        if (!pWindow || pWindow == &DesktopLocked())
            return nullptr;
        SyncDisplayLocked();
        CWindow& top = TopLevelOfLocked(*pWindow);
        HBITMAP hbmSurface = DisplayLocked().SurfaceOf(top.hWnd);
        RECT rcTop = ScreenWindowRectLocked(top);
        rcWindow = ScreenWindowRectLocked(*pWindow);
        // Read the window's pixels whatever covers them: no visible area applies.
        hdcWindow
            = CreateSurfaceDC(hbmSurface, POINT { rcWindow.left - rcTop.left, rcWindow.top - rcTop.top }, nullptr);
    }
    if (!hdcWindow)
        return nullptr;
    int nWidth = std::max<int>(rcWindow.right - rcWindow.left, 1);
    int nHeight = std::max<int>(rcWindow.bottom - rcWindow.top, 1);
    HBITMAP hbmImage = CreateBitmap(nWidth, nHeight, 1, 32, nullptr);
    HDC hdcImage = CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(hdcImage, hbmImage);
    BitBlt(hdcImage, 0, 0, nWidth, nHeight, hdcWindow, 0, 0, SRCCOPY);
    SelectObject(hdcImage, hOld);
    DeleteDC(hdcImage);
    DeleteDC(hdcWindow);
    return hbmImage;
}

BOOL SaveWindowScreenshot(HWND hWnd, LPCSTR lpszPath)
{
    HBITMAP hbm = CaptureWindowImage(hWnd);
    if (!hbm)
        return FALSE;
    BOOL bSaved = SaveBitmapAsPng(hbm, lpszPath);
    DeleteObject(hbm);
    return bSaved;
}
