#pragma once

// The main window's registered messages that the kit's controls post or send
// by name when the catalog or an entry's properties changed, or to have an
// entry selected. The frame handles them; without a main window they go nowhere.

#include "platform/base/WinTypes.h"

constexpr char MSG_REDO[] = "APPM Refazer";                   // the catalog's content changed
constexpr char MSG_REREAD[] = "APPM Reler";                   // properties changed
constexpr char MSG_SELECT_ENTRY[] = "APPM Selecionar SisArq"; // wParam a node, lParam a document

void PostToMainWindow(LPCTSTR pszMessage, WPARAM wParam = 0, LPARAM lParam = 0);
LRESULT SendToMainWindow(LPCTSTR pszMessage, WPARAM wParam = 0, LPARAM lParam = 0);
