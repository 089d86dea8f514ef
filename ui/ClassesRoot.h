#pragma once

// Reading the file types under HKEY_CLASSES_ROOT, which the user may edit:
// the walk over its top-level keys and the default values of keys, each read
// as at most MAX_PATH - 1 characters.

#include "platform/base/CString.h"
#include "platform/base/Registry.h"

#include <functional>

// Calls fnKey with the name of each top-level key of the classes root, in the
// registry's order, until it returns false or the names run out.
void ForEachClassesRootKey(const std::function<bool(const CString& strName)>& fnKey);

// The default value of hParent's subkey (hParent itself for an empty one);
// empty when the key or the value is missing or is no string.
CString ReadKeyDefault(HKEY hParent, LPCTSTR pszSubKey);
