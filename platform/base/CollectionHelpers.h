#pragma once

// What the list and map collections share: the POSITION iterator type, the
// element comparison that Find and Lookup use, and the stand-in element that a
// release build hands out for an access outside a collection.

#include "platform/base/WinTypes.h"

// An opaque place in a list or map. nullptr means "no element": the end of a
// walk, or "none" where a position is passed in.
struct __POSITION { }; // NOLINT(bugprone-reserved-identifier): the name callers know
using POSITION = __POSITION*;

// The position a map walk starts from; GetStartPosition returns it for a map
// that is not empty. It is -1, which no element can have.
inline __POSITION* const BEFORE_START_POSITION
    = reinterpret_cast<POSITION>(static_cast<INT_PTR>(-1)); // NOLINT(performance-no-int-to-ptr)

// TRUE when two elements are equal; CList::Find and CMap's key lookups use it.
// The template arguments are deduced from the pointers (references dropped), so
// a type compares differently when CompareElements<TYPE, ARG_TYPE> is
// specialised for it.
template<class TYPE, class ARG_TYPE> BOOL CompareElements(const TYPE* pElement1, const ARG_TYPE* pElement2)
{
    return *pElement1 == *pElement2 ? TRUE : FALSE;
}

// The element that an out-of-range access reads and writes in a release build:
// a fresh value-initialised TYPE each time, so that reads see 0 (or an empty
// object) and writes go nowhere. Debug builds stop at an ASSERT before this.
template<class TYPE> TYPE& CollectionOutOfRangeElement()
{
    static thread_local TYPE s_element {};
    s_element = TYPE();
    return s_element;
}
