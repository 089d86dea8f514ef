#include "platform/controls/AnimateControl.h"

#include "platform/base/ResourceModule.h"
#include "platform/controls/ControlInternal.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/ImageLists.h"
#include "platform/gdi/Pictures.h"
#include "platform/window/Paint.h"
#include "platform/window/Timers.h"
#include "platform/window/Window.h"

#include <memory>
#include <string>

namespace {

constexpr UINT_PTR FRAME_TIMER = 1;
constexpr int ENDLESS = -1;

struct CImageListDeleter {
    void operator()(ARCHIVORA_IMAGELIST* himl) const { ImageList_Destroy(himl); }
};
using CImageListPtr = std::unique_ptr<ARCHIVORA_IMAGELIST, CImageListDeleter>;

struct CAnimateState : CControlState {
    CImageListPtr frames; // one image a frame; empty while no clip is open
    SIZE frameSize {};
    UINT nMilliseconds { 0 };
    int nFrame { 0 }; // the frame shown
    int nFrom { 0 };
    int nTo { 0 };
    int nPassesLeft { 0 }; // after the current one; ENDLESS
    bool bPlaying { false };
};

CAnimateState* AnimateState(HWND hWnd)
{
    return GetControlState<CAnimateState>(hWnd);
}

DWORD StyleOf(HWND hWnd)
{
    return static_cast<DWORD>(GetWindowLongPtr(hWnd, GWL_STYLE));
}

// The clip's frames as an image list with their transparency as its masks;
// empty when the resource is missing or damaged.
CImageListPtr LoadClip(HINSTANCE hInstance, LPCTSTR lpszName, AnimationClipTemplate& clip)
{
    HRSRC hResource = FindResource(hInstance, lpszName, RESOURCE_TYPE_NAME_AVI);
    HGLOBAL hData = hResource ? LoadResource(hInstance, hResource) : nullptr;
    if (!hData)
        return {};
    const std::span<const BYTE> bytes(
        static_cast<const BYTE*>(LockResource(hData)), SizeofResource(hInstance, hResource));
    std::string strError;
    if (!ReadAnimationClip(bytes, clip, strError))
        return {};
    HBITMAP hbmMask = nullptr;
    HBITMAP hbmStrip = (clip.nFlags & ANIMATION_CLIP_TRANSPARENT_COLOUR)
        ? DecodePicture(clip.strip.data(), clip.strip.size())
        : DecodePictureWithMask(clip.strip.data(), clip.strip.size(), &hbmMask);
    BITMAP bm {};
    CImageListPtr frames;
    // The header promised the strip's size; the decoded pixels must keep that promise.
    if (hbmStrip && GetObject(hbmStrip, sizeof(bm), &bm) && bm.bmWidth == clip.nFrameWidth * clip.nFrameCount
        && bm.bmHeight == clip.nFrameHeight)
        frames.reset(
            ImageList_Create(clip.nFrameWidth, clip.nFrameHeight, ILC_COLOR32 | ILC_MASK, clip.nFrameCount, 0));
    if (frames) {
        const int nFirst = (clip.nFlags & ANIMATION_CLIP_TRANSPARENT_COLOUR)
            ? ImageList_AddMasked(frames.get(), hbmStrip, clip.crTransparent)
            : ImageList_Add(frames.get(), hbmStrip, hbmMask);
        if (nFirst != 0 || ImageList_GetImageCount(frames.get()) != clip.nFrameCount)
            frames.reset();
    }
    if (hbmStrip)
        DeleteObject(hbmStrip);
    if (hbmMask)
        DeleteObject(hbmMask);
    return frames;
}

void Stop(HWND hWnd, CAnimateState& state)
{
    if (state.bPlaying)
        KillTimer(hWnd, FRAME_TIMER);
    state.bPlaying = false;
}

void ShowFrame(HWND hWnd, CAnimateState& state, int nFrame)
{
    state.nFrame = nFrame;
    InvalidateRect(hWnd, nullptr, FALSE);
}

BOOL Open(HWND hWnd, CAnimateState& state, HINSTANCE hInstance, LPCTSTR lpszName)
{
    Stop(hWnd, state);
    state.frames.reset();
    state.nFrame = 0;
    InvalidateRect(hWnd, nullptr, FALSE);
    if (!lpszName)
        return TRUE;
    AnimationClipTemplate clip;
    state.frames = LoadClip(hInstance, lpszName, clip);
    if (!state.frames)
        return FALSE;
    state.frameSize = { clip.nFrameWidth, clip.nFrameHeight };
    state.nMilliseconds = clip.nMilliseconds;
    if (!(StyleOf(hWnd) & ACS_CENTER))
        SetWindowPos(
            hWnd, nullptr, 0, 0, clip.nFrameWidth, clip.nFrameHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

BOOL Play(HWND hWnd, CAnimateState& state, UINT nPasses, int nFrom, int nTo)
{
    const int nLast = state.frames ? ImageList_GetImageCount(state.frames.get()) - 1 : -1;
    if (nTo == 0xFFFF)
        nTo = nLast;
    if (!state.frames || nPasses == 0 || nFrom > nTo || nTo > nLast)
        return FALSE;
    Stop(hWnd, state);
    state.nFrom = nFrom;
    state.nTo = nTo;
    state.nPassesLeft = nPasses == static_cast<UINT>(ENDLESS) ? ENDLESS : static_cast<int>(nPasses) - 1;
    ShowFrame(hWnd, state, nFrom);
    if (nFrom < nTo) {
        state.bPlaying = true;
        SetTimer(hWnd, FRAME_TIMER, state.nMilliseconds, nullptr);
    }
    return TRUE;
}

void NextFrame(HWND hWnd, CAnimateState& state)
{
    if (state.nFrame < state.nTo) {
        ShowFrame(hWnd, state, state.nFrame + 1);
    } else if (state.nPassesLeft != 0) {
        if (state.nPassesLeft != ENDLESS)
            --state.nPassesLeft;
        ShowFrame(hWnd, state, state.nFrom);
    }
    if (state.nFrame == state.nTo && state.nPassesLeft == 0)
        Stop(hWnd, state);
}

void PaintAnimate(HWND hWnd, HDC hdc)
{
    const CAnimateState* pState = AnimateState(hWnd);
    const HBRUSH hbr = (StyleOf(hWnd) & ACS_TRANSPARENT) ? PrepareControlDC(hWnd, hdc, WM_CTLCOLORSTATIC)
                                                         : DefaultControlColors(hdc, WM_CTLCOLORSTATIC);
    RECT rc {};
    GetClientRect(hWnd, &rc);
    FillRect(hdc, &rc, hbr);
    if (!pState->frames)
        return;
    POINT pt {};
    if (StyleOf(hWnd) & ACS_CENTER)
        pt = { (rc.right - pState->frameSize.cx) / 2, (rc.bottom - pState->frameSize.cy) / 2 };
    ImageList_Draw(pState->frames.get(), pState->nFrame, hdc, pt.x, pt.y, ILD_TRANSPARENT);
}

} // namespace

LRESULT CALLBACK AnimateWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    static constexpr CControlLifecycle LIFECYCLE { NewControlState<CAnimateState>, PaintAnimate, false };
    LRESULT lResult = 0;
    if (HandleControlLifecycle(hWnd, uMsg, wParam, lParam, LIFECYCLE, &lResult))
        return lResult;
    CAnimateState* pState = AnimateState(hWnd);
    switch (uMsg) {
    case WM_DESTROY:
        Stop(hWnd, *pState);
        return 0;
    case WM_TIMER:
        if (wParam != FRAME_TIMER)
            return DefWindowProc(hWnd, uMsg, wParam, lParam);
        if (pState->bPlaying)
            NextFrame(hWnd, *pState);
        return 0;
    case ACM_OPEN: {
        const BOOL bOpen = Open(hWnd, *pState, reinterpret_cast<HINSTANCE>(wParam), reinterpret_cast<LPCTSTR>(lParam));
        if (bOpen && pState->frames && (StyleOf(hWnd) & ACS_AUTOPLAY))
            Play(hWnd, *pState, static_cast<UINT>(ENDLESS), 0, 0xFFFF);
        return bOpen;
    }
    case ACM_PLAY:
        return Play(hWnd, *pState, static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
    case ACM_STOP:
        Stop(hWnd, *pState);
        return TRUE;
    case ACM_ISPLAYING:
        return pState->bPlaying;
    default:
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    }
}
