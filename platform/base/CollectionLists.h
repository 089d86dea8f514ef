#pragma once

// The class library's ready-made lists, each a CList of one element type with
// a run-time class record of its own, and CTypedPtrList, which gives a pointer
// list (CPtrList or CObList) a typed interface.

#include "platform/base/CList.h"
#include "platform/base/CString.h"

// Find compares the pointers, not the objects.
class CPtrList : public CList<void*, void*> {
    DECLARE_DYNAMIC(CPtrList)

public:
    using CList::CList;
};

// Holds the pointers only; the objects stay the caller's to delete. Find
// compares the pointers.
class CObList : public CList<CObject*, CObject*> {
    DECLARE_SERIAL(CObList)
    void Serialize(CArchive& ar) override;

public:
    using CList::CList;
};

// Find compares the texts, case-sensitively.
class CStringList : public CList<CString, const CString&> {
    DECLARE_SERIAL(CStringList)
    void Serialize(CArchive& ar) override;

public:
    using CList::CList;
};

// A pointer list whose elements are TYPE (a pointer type). The forms that
// return TYPE convert the stored pointer with static_cast; the forms that
// return TYPE& hand out the stored pointer itself, which is right only when a
// TYPE object starts with its BASE_CLASS element type (single inheritance from
// CObject, or void*). InsertBefore, InsertAfter and Find take TYPE through the
// base class's element type.
template<class BASE_CLASS, class TYPE> class CTypedPtrList : public BASE_CLASS {
public:
    explicit CTypedPtrList(int nBlockSize = 10)
        : BASE_CLASS(nBlockSize)
    {
    }

    TYPE& GetHead() { return reinterpret_cast<TYPE&>(BASE_CLASS::GetHead()); }
    TYPE GetHead() const { return static_cast<TYPE>(BASE_CLASS::GetHead()); }
    TYPE& GetTail() { return reinterpret_cast<TYPE&>(BASE_CLASS::GetTail()); }
    TYPE GetTail() const { return static_cast<TYPE>(BASE_CLASS::GetTail()); }
    TYPE RemoveHead() { return static_cast<TYPE>(BASE_CLASS::RemoveHead()); }
    TYPE RemoveTail() { return static_cast<TYPE>(BASE_CLASS::RemoveTail()); }

    POSITION AddHead(TYPE newElement) { return BASE_CLASS::AddHead(newElement); }
    POSITION AddTail(TYPE newElement) { return BASE_CLASS::AddTail(newElement); }
    void AddHead(CTypedPtrList* pNewList) { BASE_CLASS::AddHead(pNewList); }
    void AddTail(CTypedPtrList* pNewList) { BASE_CLASS::AddTail(pNewList); }

    TYPE& GetNext(POSITION& rPosition) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetNext(rPosition)); }
    TYPE GetNext(POSITION& rPosition) const { return static_cast<TYPE>(BASE_CLASS::GetNext(rPosition)); }
    TYPE& GetPrev(POSITION& rPosition) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetPrev(rPosition)); }
    TYPE GetPrev(POSITION& rPosition) const { return static_cast<TYPE>(BASE_CLASS::GetPrev(rPosition)); }
    TYPE& GetAt(POSITION position) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetAt(position)); }
    TYPE GetAt(POSITION position) const { return static_cast<TYPE>(BASE_CLASS::GetAt(position)); }
    void SetAt(POSITION position, TYPE newElement) { BASE_CLASS::SetAt(position, newElement); }
};
