#pragma once

// Helpers for tests that check string arrays with the GoogleTest matchers.

#include "platform/base/CollectionArrays.h"

#include <initializer_list>
#include <string>
#include <vector>

// The array's strings, in order.
inline std::vector<std::string> Strings(const CStringArray& values)
{
    std::vector<std::string> strings;
    for (int n = 0; n < values.GetSize(); ++n)
        strings.emplace_back(values[n]);
    return strings;
}

// Replaces the array's strings by these.
inline void SetStrings(CStringArray& values, std::initializer_list<const char*> strings)
{
    values.RemoveAll();
    for (const char* psz : strings)
        values.Add(psz);
}
