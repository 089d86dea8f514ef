#pragma once

// The idle pass of a dialog or sheet whose children update their controls
// while the user works: each direct child gets WM_KICKIDLE (a page answers
// with UpdateDialogControls over itself), then the window's own controls are
// updated through their update-UI handlers. Returns 0, the handler's answer.

#include "platform/framework/CWnd.h"

LRESULT RelayKickIdle(CWnd* pWnd, WPARAM wParam, LPARAM lParam);
