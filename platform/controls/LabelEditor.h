#pragma once

// The in-place editor of a list view's or a tree's label: an "Edit" child of
// the control that wants every key (so a hosting dialog keeps Enter and Esc
// away from its buttons), commits on Enter and when it loses the focus, and
// cancels on Esc. It tells its control through fnEnd until the control
// releases it; from then on it is a plain edit control until destroyed.

#include "platform/window/WindowTypes.h"

// The most characters an editor takes, unless its owner limits it further.
constexpr int LABEL_EDITOR_LIMIT = 259;

// Called with the control and whether the text is to be kept.
using LABELEDITEND = void (*)(HWND hControl, bool bCommit);

// Creates the editor, hidden, over rc of hControl with the text and the control's font.
HWND CreateLabelEditor(HWND hControl, const RECT& rc, DWORD dwStyle, LPCSTR lpszText, HFONT hFont, LABELEDITEND fnEnd);
// The control no longer listens: call before destroying or hiding the editor.
void ReleaseLabelEditor(HWND hEdit);
// Selects the whole text, shows the editor and gives it the focus; returns hEdit.
HWND OpenLabelEditor(HWND hEdit);
// Releases and destroys an editor its control did not open.
void DiscardLabelEditor(HWND hEdit);

/* The slow second click: a click on the label of the item that already had
   the focus and the selection starts an edit once the double-click time has
   passed without a second click. The control arms the timer after such a
   click, disarms it on a double click, a key or another click, and edits when
   WM_TIMER brings LABEL_EDIT_TIMER. */

constexpr UINT_PTR LABEL_EDIT_TIMER = 0x4C45;
void ArmLabelEditTimer(HWND hControl);
void DisarmLabelEditTimer(HWND hControl);
