#pragma once

// The resource-string loader: string-table entries of the current resource
// module by their fixed IDs.

#include "platform/base/WinTypes.h"

// The text of string nID of the current resource module (AfxGetResourceHandle),
// in one buffer shared by every call and overwritten by the next one; an empty
// text when the module has no such string. The buffer has no lock: only the
// user-interface thread may call this, and it must copy a text it keeps.
LPCTSTR GetResString(UINT nID);
