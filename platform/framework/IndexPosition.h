#pragma once

// The class library's POSITION over a std::vector: a position is the index of
// the next element plus one, so that null ends the walk.
//
//     for (POSITION pos = FirstIndexPosition(items); pos;) use(NextAtIndexPosition(items, pos));

#include "platform/base/CollectionHelpers.h"

#include <cstdint>
#include <vector>

template<class T> POSITION FirstIndexPosition(const std::vector<T>& items)
{
    return items.empty() ? nullptr : reinterpret_cast<POSITION>(static_cast<uintptr_t>(1));
}

// The element at rPosition, moving rPosition on; a null element (and position) past the end.
template<class T> T NextAtIndexPosition(const std::vector<T>& items, POSITION& rPosition)
{
    auto nIndex = reinterpret_cast<uintptr_t>(rPosition) - 1;
    if (nIndex >= items.size()) {
        rPosition = nullptr;
        return T {};
    }
    rPosition = nIndex + 1 < items.size() ? reinterpret_cast<POSITION>(nIndex + 2) : nullptr;
    return items[nIndex];
}
