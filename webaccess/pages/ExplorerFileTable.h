#pragma once

// The rows of the explorer's file table, which the explorer page and the
// uploaded-files page share: one row per folder or file with its icon, its
// link, its name and, for a file, its size and date; and a filler row that
// keeps a short table at the height of twenty rows.

#include "platform/base/CString.h"

class CWAOutputFile;

// The link attribute that opens the file menu for a program path ("MN" menu
// for the browser flag, "MIE" otherwise).
CString FileMenuLink(LPCTSTR pszPath, bool bNetscape);
// One row; the name is plain text, the size and date texts are written as
// they are.
void WriteExplorerFileRow(
    CWAOutputFile& reply, LPCTSTR pszIcon, LPCTSTR pszLink, LPCTSTR pszName, LPCTSTR pszSize, LPCTSTR pszDate);
// The filler row below nListed rows; nothing from twenty rows on.
void WriteExplorerFiller(CWAOutputFile& reply, int nListed);
