#pragma once

// The popup hit table: the windows of the open popup chain that the chain's
// mouse and keyboard routing can target, in order of registration, so the
// deepest open popup list is the last list entry. One per process; only the
// user-interface thread touches it.

#include "platform/base/WinTypes.h"

class CWnd;

/* Entry kinds. */
constexpr int POPUP_HIT_LIST = 1;         // a CPopupCtrl
constexpr int POPUP_HIT_ARROW_BUTTON = 2; // a CBtnSetaPopup

// bAdd TRUE appends the window; a window present already, or neither a
// popup list nor a popup arrow button, is refused with FALSE. bAdd FALSE
// removes it (later entries move down one); FALSE when it is absent.
BOOL RegisterPopupHitWindow(CWnd* pWnd, BOOL bAdd);
// The index of the window, searching from the last entry down; -1 absent.
int FindPopupHitWindow(const CWnd* pWnd);
// The index of the last popup list (the deepest open one); -1 none.
int FindKeyboardPopup();

int GetPopupHitCount();
// The window and kind of the entry at nIndex; null and 0 for a bad index.
CWnd* GetPopupHitWindow(int nIndex);
int GetPopupHitKind(int nIndex);
