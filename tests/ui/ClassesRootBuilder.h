#pragma once

// Writes keys of the classes root for the tests of what reads file types. The
// registry lives in the test's program folder, so each test starts empty.

#include "platform/base/Registry.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>

// Creates the key (and those above it) with string values; "" names the default value.
inline void SetClassesKey(
    const std::string& strPath, std::initializer_list<std::pair<std::string, std::string>> values = {})
{
    HKEY hKey = nullptr;
    ASSERT_EQ(
        RegCreateKeyEx(HKEY_CLASSES_ROOT, strPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr),
        ERROR_SUCCESS);
    for (const auto& [strName, strValue] : values)
        RegSetValueEx(hKey, strName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(strValue.c_str()),
            static_cast<DWORD>(strValue.size() + 1));
    RegCloseKey(hKey);
}

// An extension of a type with a description; with bCreatable a ShellNew key
// that makes an empty file.
inline void SetFileType(
    const std::string& strExtension, const std::string& strType, const std::string& strDescription, bool bCreatable)
{
    SetClassesKey(strExtension, { { "", strType } });
    SetClassesKey(strType, { { "", strDescription } });
    if (bCreatable)
        SetClassesKey(strExtension + "\\ShellNew", { { "NullFile", "" } });
}
