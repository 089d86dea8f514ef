#pragma once

// Collections that own their elements: the catalog's queries hand out arrays
// and lists of record objects that the caller deletes in one go, and the
// catalog keeps its record caches in maps that delete what they hold.
//
// Each is the class library's typed pointer collection with T* elements plus
// ownership: whatever leaves the collection through RemoveAll, RemoveAt,
// RemoveKey, a replacing SetAt or the destructor is deleted. Detach (and
// RemoveHead/RemoveTail of the list) hands one element to the caller instead.
// Shrinking an array with SetSize does not delete; use RemoveAt.
//
// The record operations (FindByIds, RemoveByIds, ReloadRecord) need only what
// every record class offers: GetBlock(), GetSlot() and, for reloading, Load().

#include "platform/base/CollectionArrays.h"
#include "platform/base/CollectionLists.h"
#include "platform/base/CollectionMaps.h"

/*************************************************************************
 * Arrays
 *************************************************************************/

// An owning pointer array. It grows by 64 elements at a time unless told
// otherwise.
template<class T> class COwnedPtrArray : public CTypedPtrArray<CPtrArray, T*> {
    using Base = CTypedPtrArray<CPtrArray, T*>;

public:
    static constexpr int DEFAULT_GROW_BY = 64;

    explicit COwnedPtrArray(int nGrowBy = DEFAULT_GROW_BY)
        : m_nGrowBy(nGrowBy)
    {
        Base::SetSize(0, nGrowBy);
    }
    ~COwnedPtrArray() override { RemoveAll(); }
    COwnedPtrArray(const COwnedPtrArray&) = delete;
    COwnedPtrArray& operator=(const COwnedPtrArray&) = delete;

    // Deletes every element and empties the array; the grow-by count stays.
    void RemoveAll()
    {
        for (int i = 0; i < Base::GetSize(); ++i)
            delete Base::GetAt(i);
        Base::SetSize(0, m_nGrowBy);
    }
    // Deletes nCount elements from nIndex on and closes the gap. A range
    // outside the array changes nothing.
    void RemoveAt(int nIndex, int nCount = 1)
    {
        if (nIndex < 0 || nCount < 0 || nIndex > Base::GetSize() - nCount)
            return;
        for (int i = nIndex; i < nIndex + nCount; ++i)
            delete Base::GetAt(i);
        Base::RemoveAt(nIndex, nCount);
    }
    // Replaces an element, deleting the one it held.
    void SetAt(int nIndex, T* pNewElement)
    {
        if (nIndex < 0 || nIndex >= Base::GetSize())
            return;
        T* pOld = Base::GetAt(nIndex);
        Base::SetAt(nIndex, pNewElement);
        if (pOld != pNewElement)
            delete pOld;
    }
    // Takes the element at nIndex out of the array without deleting it; the
    // caller owns it. nullptr for an index outside the array.
    T* Detach(int nIndex)
    {
        if (nIndex < 0 || nIndex >= Base::GetSize())
            return nullptr;
        T* pElement = Base::GetAt(nIndex);
        Base::RemoveAt(nIndex);
        return pElement;
    }

private:
    int m_nGrowBy;
};

// An owning array of record objects with a read position, as the document
// lists use it: records are found and removed by their ids, inserted at the
// place a sort key gives, and read one after the other until GetNext gives
// nullptr.
template<class T> class COwnedPtrArray2 : public COwnedPtrArray<T> {
    using Base = COwnedPtrArray<T>;

public:
    explicit COwnedPtrArray2(int nGrowBy = Base::DEFAULT_GROW_BY)
        : Base(nGrowBy)
    {
    }

    // The element at the read position, which then moves on; nullptr after
    // the last element.
    T* GetNext()
    {
        if (m_nPosition < 0 || m_nPosition >= Base::GetSize())
            return nullptr;
        return Base::GetAt(m_nPosition++);
    }
    int GetPosition() const { return m_nPosition; }
    // Sets where the next GetNext reads; 0 starts again from the first element.
    void SetPosition(int nPosition) { m_nPosition = nPosition; }

    // The index of the element with those record ids, or -1.
    template<class BLOCK, class SLOT> int FindIndexByIds(BLOCK nBlock, SLOT nSlot) const
    {
        for (int i = 0; i < Base::GetSize(); ++i) {
            const T* pElement = Base::GetAt(i);
            if (pElement && pElement->GetBlock() == nBlock && pElement->GetSlot() == nSlot)
                return i;
        }
        return -1;
    }
    // The element with those record ids, or nullptr; it stays in the array.
    template<class BLOCK, class SLOT> T* FindByIds(BLOCK nBlock, SLOT nSlot) const
    {
        int nIndex = FindIndexByIds(nBlock, nSlot);
        return nIndex < 0 ? nullptr : Base::GetAt(nIndex);
    }
    // Deletes the element with those record ids; an element before the read
    // position moves the position back, so the walk goes on where it was.
    // FALSE when no element has them.
    template<class BLOCK, class SLOT> BOOL RemoveByIds(BLOCK nBlock, SLOT nSlot)
    {
        int nIndex = FindIndexByIds(nBlock, nSlot);
        if (nIndex < 0)
            return FALSE;
        Base::RemoveAt(nIndex);
        if (nIndex < m_nPosition)
            --m_nPosition;
        return TRUE;
    }
    // Where an element with the key belongs in an array kept sorted by
    // compare(a, b), which is above 0 when a sorts after b: after every
    // element that does not sort after it, so equal keys keep the order they
    // were inserted in. Binary search.
    template<class Compare> int GetInsertPosition(const T* pKey, Compare compare) const
    {
        int nLow = 0;
        int nHigh = Base::GetSize();
        while (nLow < nHigh) {
            int nMiddle = nLow + (nHigh - nLow) / 2;
            if (compare(pKey, Base::GetAt(nMiddle)) >= 0)
                nLow = nMiddle + 1;
            else
                nHigh = nMiddle;
        }
        return nLow;
    }

private:
    int m_nPosition { 0 };
};

/*************************************************************************
 * Lists
 *************************************************************************/

// An owning pointer list. RemoveHead and RemoveTail give the element to the
// caller, who then owns it.
template<class T> class COwnedPtrList : public CTypedPtrList<CPtrList, T*> {
    using Base = CTypedPtrList<CPtrList, T*>;

public:
    COwnedPtrList() = default;
    ~COwnedPtrList() override { RemoveAll(); }
    COwnedPtrList(const COwnedPtrList&) = delete;
    COwnedPtrList& operator=(const COwnedPtrList&) = delete;

    // Deletes every element and empties the list.
    void RemoveAll()
    {
        while (!Base::IsEmpty())
            delete Base::RemoveHead();
    }
    // Deletes the element at the position and unlinks it.
    void RemoveAt(POSITION position)
    {
        if (!position)
            return;
        T* pElement = static_cast<const Base&>(*this).GetAt(position);
        Base::RemoveAt(position);
        delete pElement;
    }
};

/*************************************************************************
 * Maps
 *************************************************************************/

// An owning map from KEY to T*, for the catalog's record caches.
template<class KEY, class T> class COwnerPtrMap : public CMap<KEY, KEY, T*, T*> {
    using Base = CMap<KEY, KEY, T*, T*>;

public:
    COwnerPtrMap() = default;
    ~COwnerPtrMap() override { RemoveAll(); }
    COwnerPtrMap(const COwnerPtrMap&) = delete;
    COwnerPtrMap& operator=(const COwnerPtrMap&) = delete;

    // Stores the value under the key, deleting a different value it replaces.
    void SetAt(KEY key, T* pNewValue)
    {
        T* pOld = nullptr;
        if (Base::Lookup(key, pOld) && pOld != pNewValue)
            delete pOld;
        Base::SetAt(key, pNewValue);
    }
    // Deletes the key's value and removes the entry; FALSE when absent.
    BOOL RemoveKey(KEY key)
    {
        T* pOld = nullptr;
        if (!Base::Lookup(key, pOld))
            return FALSE;
        Base::RemoveKey(key);
        delete pOld;
        return TRUE;
    }
    // Deletes every value and empties the map.
    void RemoveAll()
    {
        POSITION position = Base::GetStartPosition();
        while (position) {
            KEY key {};
            T* pValue = nullptr;
            Base::GetNextAssoc(position, key, pValue);
            delete pValue;
        }
        Base::RemoveAll();
    }
    // Re-reads the cached record object with those ids from its catalog after
    // the record was saved elsewhere. FALSE when none is cached or the
    // record could not be read.
    template<class BLOCK, class SLOT> BOOL ReloadRecord(BLOCK nBlock, SLOT nSlot)
    {
        BOOL bReloaded = FALSE;
        POSITION position = Base::GetStartPosition();
        while (position) {
            KEY key {};
            T* pValue = nullptr;
            Base::GetNextAssoc(position, key, pValue);
            if (pValue && pValue->GetBlock() == nBlock && pValue->GetSlot() == nSlot && pValue->Load())
                bReloaded = TRUE;
        }
        return bReloaded;
    }
};

// An owning map from text keys to T*, as the catalog's extension and path
// maps use it. Keys compare exactly; callers lower-case them first.
template<class T> class COwnerStringMap : public CTypedPtrMap<CMapStringToPtr, CString, T*> {
    using Base = CTypedPtrMap<CMapStringToPtr, CString, T*>;

public:
    COwnerStringMap() = default;
    ~COwnerStringMap() override { RemoveAll(); }
    COwnerStringMap(const COwnerStringMap&) = delete;
    COwnerStringMap& operator=(const COwnerStringMap&) = delete;

    // Stores the value under the key, deleting a different value it replaces.
    void SetAt(LPCTSTR pszKey, T* pNewValue)
    {
        T* pOld = nullptr;
        if (Base::Lookup(pszKey, pOld) && pOld != pNewValue)
            delete pOld;
        Base::SetAt(pszKey, pNewValue);
    }
    // Deletes the key's value and removes the entry; FALSE when absent.
    BOOL RemoveKey(LPCTSTR pszKey)
    {
        T* pOld = nullptr;
        if (!Base::Lookup(pszKey, pOld))
            return FALSE;
        Base::RemoveKey(pszKey);
        delete pOld;
        return TRUE;
    }
    // Deletes every value and empties the map.
    void RemoveAll()
    {
        POSITION position = Base::GetStartPosition();
        while (position) {
            CString strKey;
            T* pValue = nullptr;
            Base::GetNextAssoc(position, strKey, pValue);
            delete pValue;
        }
        Base::RemoveAll();
    }
};
