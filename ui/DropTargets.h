#pragma once

// The program's drop targets: every window that takes drops inside the
// program registers when it is created and leaves when it is destroyed. Its
// kind (1 to 9) comes from its class, named by the window object's run-time
// class record: kinds 1 to 5, 8 and 9 take exactly one class each, kinds 6
// and 7 a class and every class derived from it. A window of any other class
// is no target. The tracker reaches a target's operations through
// CKadDropTarget, which every object of a listed class implements.
//
// Everything here runs in the user-interface thread.

#include "platform/base/WinTypes.h"
#include "platform/window/Input.h"

class CWnd;

/* Target kinds, tested in this order. */
constexpr int DROP_KIND_SYSTEMS_TREE = 1;  // exactly CSisTreeCtrl
constexpr int DROP_KIND_SEARCH_LIST = 2;   // exactly CSearchListCtrl
constexpr int DROP_KIND_EXPIRED_LIST = 3;  // exactly CExpiredListCtrl
constexpr int DROP_KIND_RECYCLE_LIST = 4;  // exactly CLixeiraListCtrl
constexpr int DROP_KIND_DOCUMENT_LIST = 5; // exactly CArqListCtrl
constexpr int DROP_KIND_POPUP = 6;         // CPopupCtrl or derived
constexpr int DROP_KIND_ARROW_BUTTON = 7;  // CBtnSeta or derived
constexpr int DROP_KIND_MENU = 8;          // exactly CCoolMenu
constexpr int DROP_KIND_TOOLBAR = 9;       // exactly CKadToolBar

/* Drag results. */
constexpr HRESULT DRAGDROP_S_DROP = 0x00040100;
constexpr HRESULT DRAGDROP_S_CANCEL = 0x00040101;

// The window that holds the mouse capture while a drag runs, else null; the
// popups read it to know that a drag is running.
extern CWnd* g_dragSource;

// Called once at start-up: empties the registry, clears g_dragSource and
// loads the three drag cursors from the resource module.
void InitDragDrop();

// Registers (bRegister TRUE) or unregisters the window. Registering returns 0
// for a window registered already or of no listed class; unregistering 0 for
// one that is not registered. 1 otherwise.
int RegisterDropTarget(CWnd* pWnd, BOOL bRegister);
// The index of the window's entry, in registration order; -1 when absent.
int FindDropTarget(CWnd* pWnd);
// The kind of the entry at nIndex; 0 for a bad index.
int GetDropTargetKind(int nIndex);
// The kind a window's class gives it; 0 when none.
int DropKindOfWindow(const CWnd* pWnd);

// The cursors shown for a drop effect: copy 180, move 179, none 178 (the copy bit wins).
HCURSOR DragCursorForEffect(DWORD dwEffect);
