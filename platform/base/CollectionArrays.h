#pragma once

// The class library's ready-made arrays, each a CArray of one element type
// with a run-time class record of its own, and CTypedPtrArray, which gives a
// pointer array (CPtrArray or CObArray) a typed interface.

#include "platform/base/CArray.h"
#include "platform/base/CString.h"

class CPtrArray : public CArray<void*, void*> {
    DECLARE_DYNAMIC(CPtrArray)
};

class CDWordArray : public CArray<DWORD, DWORD> {
    DECLARE_SERIAL(CDWordArray)
    void Serialize(CArchive& ar) override;
};

class CWordArray : public CArray<WORD, WORD> {
    DECLARE_SERIAL(CWordArray)
    void Serialize(CArchive& ar) override;
};

class CUIntArray : public CArray<UINT, UINT> {
    DECLARE_DYNAMIC(CUIntArray)
};

class CByteArray : public CArray<BYTE, BYTE> {
    DECLARE_SERIAL(CByteArray)
    void Serialize(CArchive& ar) override;
};

// Holds the pointers only; the objects stay the caller's to delete.
class CObArray : public CArray<CObject*, CObject*> {
    DECLARE_SERIAL(CObArray)
    void Serialize(CArchive& ar) override;
};

class CStringArray : public CArray<CString, const CString&> {
    DECLARE_SERIAL(CStringArray)
    void Serialize(CArchive& ar) override;
};

// A pointer array whose elements are TYPE (a pointer type). GetAt and the
// const operator[] convert the stored pointer with static_cast; ElementAt and
// the non-const operator[] hand out the stored pointer itself as a TYPE&, which
// is right only when a TYPE object starts with its BASE_CLASS element type
// (single inheritance from CObject, or void*).
template<class BASE_CLASS, class TYPE> class CTypedPtrArray : public BASE_CLASS {
public:
    TYPE GetAt(int nIndex) const { return static_cast<TYPE>(BASE_CLASS::GetAt(nIndex)); }
    TYPE& ElementAt(int nIndex) { return reinterpret_cast<TYPE&>(BASE_CLASS::ElementAt(nIndex)); }
    void SetAt(int nIndex, TYPE ptr) { BASE_CLASS::SetAt(nIndex, ptr); }
    void SetAtGrow(int nIndex, TYPE newElement) { BASE_CLASS::SetAtGrow(nIndex, newElement); }
    int Add(TYPE newElement) { return BASE_CLASS::Add(newElement); }
    int Append(const CTypedPtrArray& src) { return BASE_CLASS::Append(src); }
    void Copy(const CTypedPtrArray& src) { BASE_CLASS::Copy(src); }
    void InsertAt(int nIndex, TYPE newElement, int nCount = 1) { BASE_CLASS::InsertAt(nIndex, newElement, nCount); }
    void InsertAt(int nStartIndex, CTypedPtrArray* pNewArray) { BASE_CLASS::InsertAt(nStartIndex, pNewArray); }
    TYPE operator[](int nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](int nIndex) { return ElementAt(nIndex); }
};
