#pragma once

// How a grid editor reports that its edit ended: an LVN_ENDLABELEDIT
// notification from the list (hwndFrom the list, idFrom the editor's control
// ID, the item and column edited) sent to the list's parent, which reflects
// it back to the list. The list may retire the editor while the notification
// is handled, so an editor touches none of its members after sending it.

#include "platform/controls/ListViewControl.h"

class CWnd;

/* Control IDs of the grid editors. */
constexpr UINT ID_GRID_DATE_EDITOR = 201;
constexpr UINT ID_GRID_TEXT_EDITOR = 202;
constexpr UINT ID_GRID_COMBO_EDITOR = 203;

// Fills in the header and the item and column of info and sends it for
// pEditor, a child of the list.
void SendGridEditEnd(CWnd* pEditor, int nItem, int nColumn, NMLVDISPINFO& info);
