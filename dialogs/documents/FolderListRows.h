#pragma once

// The folder lists of the catalog option dialogs: a report list with one
// column, rows of lower-cased folder paths, with the system folder icon or as
// text only. The column starts narrow and only grows, so every row shows whole.

#include "platform/base/CString.h"
#include "platform/framework/CListCtrl.h"

// Sets up the list's one column, COLUMN_START_WIDTH wide.
void InsertFolderColumn(CListCtrl& list);
// Adds pszFolder, lower-cased, as the last row, with the icon nImage of the
// list's small image list (-1: text only), and widens the column to the row's
// width as measured before lower-casing, plus the icon's room.
void AddFolderRow(CListCtrl& list, LPCTSTR pszFolder, int nImage);
