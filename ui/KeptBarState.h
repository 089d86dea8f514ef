#pragma once

// What the layout keeps of a dialog bar: a subkey named after the bar, below
// the layout's key, holding the DWORD values "Show" and "Width".

#include "platform/base/WinTypes.h"

struct CKeptBarState {
    BOOL bShow { TRUE }; // "Show", 1 when absent
    int nWidth { 0 };    // "Width", 0 (none kept) when absent or beyond any screen
};

// Reads the bar's subkey of hParent into *pState; FALSE, leaving it as it
// was, without a parent key or when the subkey cannot be opened.
BOOL LoadKeptBarState(HKEY hParent, LPCTSTR pszKeyName, CKeptBarState* pState);
// Deletes the bar's subkey of hParent with everything under it and writes it again.
void SaveKeptBarState(HKEY hParent, LPCTSTR pszKeyName, const CKeptBarState& state);
