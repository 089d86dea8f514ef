#pragma once

// How the lists of new documents name a notice in the room they have.

#include "catalog/CNewDocNotice.h"
#include "platform/gdi/GdiTypes.h"

// The notice's display name (CNewDocNotice::GetDisplayName) shortened to the
// width of *pRect in hdc's current font: middle folders give way first, the
// file name (or the message's subject) stays.
CString GetShortDisplayName(const CNewDocNotice& notice, HDC hdc, const RECT* pRect);
