#pragma once

// Shortening a path to the width a window has for it, as the progress
// dialogs and the new-document lists show paths.

#include "platform/base/CString.h"
#include "platform/gdi/GdiTypes.h"

// The path as it fits the width of *pRect in hdc's current font: the path
// itself when it fits, else with middle folders replaced by "...\". The root
// ("x:\", "\\server\share\") and the file name stay; the first folder stays
// as long as anything fits with it, and as many of the last folders as fit.
// When not even the root, "...\" and the name fit, the result is "...\"
// followed by the name, the shortest form there is.
CString AbbreviatePath(LPCTSTR pszPath, HDC hdc, const RECT* pRect);
