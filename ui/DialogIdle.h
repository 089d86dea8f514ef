#pragma once

// The idle message of the modal loops (WM_KICKIDLE) for dialogs whose controls
// follow update-UI handlers, and for the sheets that host pages. A dialog maps
// WM_KICKIDLE to a handler that returns one of these; both answer 0, so the
// loop asks for no further idle time.

#include "platform/framework/CWnd.h"

// A dialog's answer: its immediate children (a child sheet, a page) get
// WM_KICKIDLE first, not their descendants, then the dialog runs its own
// update handlers (UpdateDialogControls, controls without a handler left as
// they are).
LRESULT UpdateDialogOnIdle(CWnd& wnd, WPARAM wParam, LPARAM lParam);
// A sheet's answer: WM_KICKIDLE to the immediate children only.
LRESULT RelayIdleToChildren(CWnd& wnd, WPARAM wParam, LPARAM lParam);
