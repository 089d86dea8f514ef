#pragma once

// The name the classes root gives a file's type, as the desktop shows it: the
// description of the type that the extension's key names ("PDF document"),
// else the type's name itself. Reads the registry at every call; may be
// called from any thread.

#include "platform/base/CString.h"

// The type of an extension (with or without its '.', any case); empty when
// the classes root knows none.
CString FileTypeNameOfExtension(LPCTSTR pszExtension);
