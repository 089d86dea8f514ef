#pragma once

// The "SysAnimate32" control: plays a silent clip, one frame after another on
// a window timer at the clip's rate, so a program's clock drives it.
//
// A clip is a resource of type "AVI" in a resource module (see
// resources/FORMAT.md: a header, then the frames side by side in one PNG
// strip). ACM_OPEN reads and decodes it; a damaged clip is refused with FALSE
// and leaves the control empty, drawing its background only. Opening shows
// frame 0; without ACS_CENTER the control takes the size of a frame, with it
// the frame is centred in the control as it is.
//
// ACM_PLAY shows frame `from` at once and then the next frame at every tick
// up to `to`; each further pass starts again at `from`, so a clip played
// after ACM_STOP starts from the beginning again. ACM_STOP leaves the frame
// shown. Pixels the clip marks transparent show the background: the brush the
// parent answers to WM_CTLCOLORSTATIC with ACS_TRANSPARENT, else the default
// colours of a static control.

#include "platform/controls/CommonControls.h"

// clang-format off
constexpr const char* ANIMATE_CLASS = "SysAnimate32";

/* Animation styles. */
constexpr DWORD ACS_CENTER      = 0x0001;
constexpr DWORD ACS_TRANSPARENT = 0x0002;
constexpr DWORD ACS_AUTOPLAY    = 0x0004; // plays endlessly once opened
constexpr DWORD ACS_TIMER       = 0x0008; // accepted; frames always advance on a window timer

/* Animation messages. */
constexpr UINT ACM_OPEN      = WM_USER + 100; // wParam: the module; lParam: the clip's name or MAKEINTRESOURCE(id),
                                              // NULL closes. TRUE when the clip is open
constexpr UINT ACM_PLAY      = WM_USER + 101; // wParam: passes, (UINT)-1 endless; lParam: MAKELONG(from, to),
                                              // to 0xFFFF the last frame. FALSE without a clip or for bad frames
constexpr UINT ACM_STOP      = WM_USER + 102; // TRUE
constexpr UINT ACM_ISPLAYING = WM_USER + 104; // TRUE while frames advance
// clang-format on

// The procedure of the "SysAnimate32" class.
LRESULT CALLBACK AnimateWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
