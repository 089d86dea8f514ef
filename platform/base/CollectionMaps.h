#pragma once

// The class library's ready-made maps, each a CMap of one key and value type
// with a run-time class record of its own, and CTypedPtrMap, which gives a
// pointer map a typed interface. Their walk order is CMap's (see CMap.h): the
// string maps hash the key's bytes, the WORD and pointer maps shift the key
// right by 4 bits.

#include "platform/base/CMap.h"
#include "platform/base/CString.h"

// Text keys are compared case-sensitively, byte by byte.
class CMapStringToPtr : public CMap<CString, LPCTSTR, void*, void*> {
    DECLARE_DYNAMIC(CMapStringToPtr)

public:
    using CMap::CMap;
};

class CMapStringToString : public CMap<CString, LPCTSTR, CString, const CString&> {
    DECLARE_SERIAL(CMapStringToString)
    void Serialize(CArchive& ar) override;

public:
    using CMap::CMap;
};

// Holds the pointers only; the objects stay the caller's to delete.
class CMapStringToOb : public CMap<CString, LPCTSTR, CObject*, CObject*> {
    DECLARE_SERIAL(CMapStringToOb)
    void Serialize(CArchive& ar) override;

public:
    using CMap::CMap;
};

class CMapWordToPtr : public CMap<WORD, WORD, void*, void*> {
    DECLARE_DYNAMIC(CMapWordToPtr)

public:
    using CMap::CMap;
};

class CMapPtrToPtr : public CMap<void*, void*, void*, void*> {
    DECLARE_DYNAMIC(CMapPtrToPtr)

public:
    using CMap::CMap;
};

class CMapPtrToWord : public CMap<void*, void*, WORD, WORD> {
    DECLARE_DYNAMIC(CMapPtrToWord)

public:
    using CMap::CMap;
};

class CMapWordToOb : public CMap<WORD, WORD, CObject*, CObject*> {
    DECLARE_SERIAL(CMapWordToOb)
    void Serialize(CArchive& ar) override;

public:
    using CMap::CMap;
};

// A pointer map whose keys are KEY and values VALUE (a pointer type). Lookup
// and GetNextAssoc convert the stored key and value with static_cast;
// operator[] hands out the stored value itself as a VALUE&, which is right
// only when a VALUE object starts with the base map's value type (single
// inheritance from CObject, or void*).
template<class BASE_CLASS, class KEY, class VALUE> class CTypedPtrMap : public BASE_CLASS {
public:
    explicit CTypedPtrMap(int nBlockSize = 10)
        : BASE_CLASS(nBlockSize)
    {
    }

    BOOL Lookup(typename BASE_CLASS::BASE_ARG_KEY key, VALUE& rValue) const
    {
        typename BASE_CLASS::BASE_VALUE value {};
        if (!BASE_CLASS::Lookup(key, value))
            return FALSE;
        rValue = static_cast<VALUE>(value);
        return TRUE;
    }
    VALUE& operator[](typename BASE_CLASS::BASE_ARG_KEY key)
    {
        return reinterpret_cast<VALUE&>(BASE_CLASS::operator[](key));
    }
    void SetAt(KEY key, VALUE newValue) { BASE_CLASS::SetAt(key, newValue); }
    BOOL RemoveKey(KEY key) { return BASE_CLASS::RemoveKey(key); }
    void GetNextAssoc(POSITION& rPosition, KEY& rKey, VALUE& rValue) const
    {
        typename BASE_CLASS::BASE_KEY key {};
        typename BASE_CLASS::BASE_VALUE value {};
        BASE_CLASS::GetNextAssoc(rPosition, key, value);
        rKey = static_cast<KEY>(key);
        rValue = static_cast<VALUE>(value);
    }
};
