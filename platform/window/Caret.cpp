#include "platform/window/Caret.h"

#include "platform/base/Threads.h"
#include "platform/base/Wait.h"
#include "platform/base/WinError.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/Blt.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Rects.h"
#include "platform/window/CaretInternal.h"
#include "platform/window/Paint.h"
#include "platform/window/QueueInternal.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/Window.h"

#include <atomic>

namespace {

constexpr UINT DEFAULT_BLINK_TIME = 530;
constexpr UINT_PTR BLINK_TIMER_ID = 1;
const HBITMAP GREY_SHAPE = reinterpret_cast<HBITMAP>(1);

std::atomic<UINT> g_nBlinkTime { DEFAULT_BLINK_TIME };

// The thread's caret. While bOn, its pixels on the window are inverted; it
// may be on only while neither the program nor a paint has it hidden.
struct Caret {
    HWND hWnd { nullptr };      // none: no caret
    HBITMAP hShape { nullptr }; // NULL: solid; GREY_SHAPE; else the caller's bitmap
    SIZE size {};
    POINT pt {};
    int nHidden { 0 };      // HideCaret calls not yet shown again
    int nPaintHidden { 0 }; // paints and scrolls under way that took it off
    bool bOn { false };

    bool Visible() const { return nHidden == 0 && nPaintHidden == 0; }
};

thread_local Caret t_caret;

// The calling thread's caret, or nullptr. A caret whose window is gone goes too.
Caret* CurrentCaret()
{
    if (!t_caret.hWnd)
        return nullptr;
    if (!IsWindow(t_caret.hWnd)) {
        t_caret = Caret {};
        return nullptr;
    }
    return &t_caret;
}

// The thread's caret when hWnd owns it (NULL: any window), else nullptr with an error.
Caret* OwnedCaret(HWND hWnd)
{
    Caret* pCaret = CurrentCaret();
    if (!pCaret || (hWnd && hWnd != pCaret->hWnd)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    return pCaret;
}

HBRUSH MakeGreyBrush()
{
    // Rows of two bytes, alternately 10101010 and 01010101.
    static constexpr BYTE CHECKERS[16] = { 0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0 };
    HBITMAP hPattern = CreateBitmap(8, 8, 1, 1, CHECKERS);
    HBRUSH hBrush = hPattern ? CreatePatternBrush(hPattern) : nullptr;
    DeleteObject(hPattern);
    return hBrush;
}

// Inverts the caret's pixels on its window: solid and grey carets through a
// pattern, a bitmap caret by XOR with the bitmap (white bits invert).
bool Invert(const Caret& caret)
{
    HDC hdc = GetDC(caret.hWnd);
    if (!hdc)
        return false;
    const POINT& pt = caret.pt;
    BOOL bDone = FALSE;
    if (!caret.hShape) {
        bDone = PatBlt(hdc, pt.x, pt.y, caret.size.cx, caret.size.cy, DSTINVERT);
    } else if (caret.hShape == GREY_SHAPE) {
        HBRUSH hBrush = MakeGreyBrush();
        HGDIOBJ hOld = hBrush ? SelectObject(hdc, hBrush) : nullptr;
        bDone = hOld && PatBlt(hdc, pt.x, pt.y, caret.size.cx, caret.size.cy, PATINVERT);
        if (hOld)
            SelectObject(hdc, hOld);
        DeleteObject(hBrush);
    } else {
        HDC hdcShape = CreateCompatibleDC(hdc);
        HGDIOBJ hOld = SelectObject(hdcShape, caret.hShape);
        bDone = hOld && BitBlt(hdc, pt.x, pt.y, caret.size.cx, caret.size.cy, hdcShape, 0, 0, SRCINVERT);
        if (hOld)
            SelectObject(hdcShape, hOld);
        DeleteDC(hdcShape);
    }
    ReleaseDC(caret.hWnd, hdc);
    return bDone != FALSE;
}

void Toggle(Caret& caret)
{
    if (Invert(caret))
        caret.bOn = !caret.bOn;
}

void TakeOff(Caret& caret)
{
    if (caret.bOn)
        Toggle(caret);
}

void PutOn(Caret& caret)
{
    if (!caret.bOn && caret.Visible())
        Toggle(caret);
}

void CALLBACK Blink(HWND hWnd, UINT, UINT_PTR, DWORD)
{
    Caret* pCaret = CurrentCaret();
    if (pCaret && pCaret->hWnd == hWnd && pCaret->Visible())
        Toggle(*pCaret);
}

// Starts a full blink period now, so a caret just shown or moved stays on for one.
void RestartBlink(const Caret& caret)
{
    UINT nBlinkTime = g_nBlinkTime;
    if (nBlinkTime == INFINITE)
        KillSystemTimer(caret.hWnd, BLINK_TIMER_ID);
    else
        SetSystemTimer(caret.hWnd, BLINK_TIMER_ID, nBlinkTime, Blink);
}

// Shows a visible caret at its place, on for a full blink period.
void ShowFresh(Caret& caret)
{
    if (!caret.Visible())
        return;
    PutOn(caret);
    RestartBlink(caret);
}

// Whether drawing into hWnd may draw over the caret: it is the caret's window or an ancestor of it.
bool PaintCovers(const Caret& caret, HWND hWnd)
{
    return hWnd == caret.hWnd || IsChild(hWnd, caret.hWnd);
}

}

BOOL CreateCaret(HWND hWnd, HBITMAP hBitmap, int nWidth, int nHeight)
{
    DWORD dwThreadId = GetWindowThreadProcessId(hWnd, nullptr);
    if (dwThreadId == 0)
        return FALSE;
    if (dwThreadId != GetCurrentThreadId()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    SIZE size { nWidth > 0 ? nWidth : GetSystemMetrics(SM_CXBORDER),
        nHeight > 0 ? nHeight : GetSystemMetrics(SM_CYBORDER) };
    if (hBitmap && hBitmap != GREY_SHAPE) {
        BITMAP bm {};
        if (!GetObject(hBitmap, sizeof(bm), &bm))
            return FALSE;
        size = SIZE { bm.bmWidth, bm.bmHeight };
    }
    DestroyCaret();
    t_caret = Caret {};
    t_caret.hWnd = hWnd;
    t_caret.hShape = hBitmap;
    t_caret.size = size;
    t_caret.nHidden = 1;
    return TRUE;
}

BOOL DestroyCaret()
{
    Caret* pCaret = OwnedCaret(nullptr);
    if (!pCaret)
        return FALSE;
    TakeOff(*pCaret);
    KillSystemTimer(pCaret->hWnd, BLINK_TIMER_ID);
    *pCaret = Caret {};
    return TRUE;
}

BOOL ShowCaret(HWND hWnd)
{
    Caret* pCaret = OwnedCaret(hWnd);
    if (!pCaret)
        return FALSE;
    if (pCaret->nHidden > 0)
        --pCaret->nHidden;
    ShowFresh(*pCaret);
    return TRUE;
}

BOOL HideCaret(HWND hWnd)
{
    Caret* pCaret = OwnedCaret(hWnd);
    if (!pCaret)
        return FALSE;
    ++pCaret->nHidden;
    TakeOff(*pCaret);
    // The blink timer runs on, doing nothing while the caret is hidden: a
    // caret shown again inside a paint must blink once the paint ends.
    return TRUE;
}

BOOL SetCaretPos(int X, int Y)
{
    Caret* pCaret = OwnedCaret(nullptr);
    if (!pCaret)
        return FALSE;
    TakeOff(*pCaret);
    pCaret->pt = POINT { X, Y };
    ShowFresh(*pCaret);
    return TRUE;
}

BOOL GetCaretPos(LPPOINT lpPoint)
{
    Caret* pCaret = OwnedCaret(nullptr);
    if (!pCaret)
        return FALSE;
    if (!lpPoint) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *lpPoint = pCaret->pt;
    return TRUE;
}

BOOL SetCaretBlinkTime(UINT uMSeconds)
{
    g_nBlinkTime = uMSeconds;
    if (Caret* pCaret = CurrentCaret(); pCaret && pCaret->Visible())
        RestartBlink(*pCaret);
    return TRUE;
}

UINT GetCaretBlinkTime()
{
    return g_nBlinkTime;
}

void TakeCaretOff(HWND hWnd)
{
    Caret* pCaret = CurrentCaret();
    if (!pCaret || !PaintCovers(*pCaret, hWnd))
        return;
    ++pCaret->nPaintHidden;
    TakeOff(*pCaret);
}

void PutCaretBack(HWND hWnd)
{
    Caret* pCaret = CurrentCaret();
    if (!pCaret || !PaintCovers(*pCaret, hWnd) || pCaret->nPaintHidden == 0)
        return;
    --pCaret->nPaintHidden;
    PutOn(*pCaret);
}

void ScrollCaret(HWND hWnd, int dx, int dy, const RECT& rcScroll)
{
    Caret* pCaret = CurrentCaret();
    if (!pCaret || pCaret->hWnd != hWnd)
        return;
    RECT rcCaret { pCaret->pt.x, pCaret->pt.y, pCaret->pt.x + pCaret->size.cx, pCaret->pt.y + pCaret->size.cy };
    RECT rcCommon {};
    if (IntersectRect(&rcCommon, &rcCaret, &rcScroll))
        pCaret->pt = POINT { pCaret->pt.x + dx, pCaret->pt.y + dy };
}
