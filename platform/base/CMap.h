#pragma once

// CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>: a hash table from unique keys to
// values; ARG_KEY and ARG_VALUE are how keys and values are passed in.
//
// The program relies on the order in which GetNextAssoc walks a map, so the
// table follows the class library's documented layout exactly:
//   - The table has a fixed number of buckets: 17 unless InitHashTable sets
//     another size before the first entry. It never grows or shrinks by itself;
//     RemoveAll frees the buckets but keeps their number.
//   - An entry lives in bucket HashKey(key) % table size.
//   - A new entry goes to the head of its bucket's chain.
//   - A walk visits buckets 0 .. size - 1 and each chain from its head, so of
//     two keys in one bucket the one added later comes first.
// HashKey is called with its template argument deduced from ARG_KEY (a
// reference dropped): HashKey<int> for ARG_KEY int, HashKey<LPCTSTR> for
// LPCTSTR. The default shifts an integral key, taken as 32 bits, or a pointer
// right by 4 bits. Text keys, LPCTSTR or CString, hash their bytes up to the
// first NUL, as unsigned values, with nHash = (nHash << 5) + nHash + byte
// from 0. A key type of one's own gets its hash by specialising HashKey, or by
// an overload HashKey(const K&) found next to K; keys are compared with
// CompareElements (CollectionHelpers.h).
//
// A walk may remove the entry it was just given (RemoveKey) and go on.
// Adding entries during a walk may or may not show them later in that walk.

#include "platform/base/AfxDebug.h"
#include "platform/base/CObject.h"
#include "platform/base/CString.h"
#include "platform/base/CollectionHelpers.h"

#include <memory>
#include <type_traits>

// The default hash: integral keys as 32 bits and pointers, shifted right by 4.
template<class ARG_KEY> UINT HashKey(ARG_KEY key)
{
    using Key = std::remove_cvref_t<ARG_KEY>;
    if constexpr (std::is_pointer_v<Key>)
        return static_cast<UINT>(reinterpret_cast<UINT_PTR>(key) >> 4);
    else if constexpr (std::is_integral_v<Key> || std::is_enum_v<Key>)
        return static_cast<UINT>(static_cast<DWORD>(key) >> 4);
    else
        static_assert(std::is_pointer_v<Key>, "this key type needs its own HashKey");
}

// Text keys: the bytes of the NUL-terminated text, taken as unsigned so that a
// key's bucket does not depend on whether char is signed; a null pointer
// hashes as "".
template<> inline UINT HashKey<LPCTSTR>(LPCTSTR key)
{
    UINT nHash = 0;
    for (const char* p = key; p && *p; ++p)
        nHash = (nHash << 5) + nHash + static_cast<unsigned char>(*p);
    return nHash;
}

inline UINT HashKey(const CString& key)
{
    return HashKey<LPCTSTR>(key);
}

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE> class CMap : public CObject {
public:
    // The key and value types, for CTypedPtrMap.
    using BASE_KEY = KEY;
    using BASE_ARG_KEY = ARG_KEY;
    using BASE_VALUE = VALUE;
    using BASE_ARG_VALUE = ARG_VALUE;

    // Entries are allocated one by one; nBlockSize, the allocation batch
    // callers may give, has no effect.
    explicit CMap(int /*nBlockSize*/ = 10) { }
    ~CMap() override { RemoveAll(); }

    /* Count. */
    int GetCount() const { return m_nCount; }
    int GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    /* Lookup and change. */
    // TRUE and the value in rValue when the key is present; else FALSE and
    // rValue unchanged.
    BOOL Lookup(ARG_KEY key, VALUE& rValue) const;
    // The key's value, added value-initialised (0, nullptr, "") when missing.
    VALUE& operator[](ARG_KEY key);
    void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }
    // FALSE when the key was not present.
    BOOL RemoveKey(ARG_KEY key);
    void RemoveAll();

    /* Walking, in bucket order (see above). */
    // BEFORE_START_POSITION, or nullptr for an empty map.
    POSITION GetStartPosition() const { return m_nCount == 0 ? nullptr : BEFORE_START_POSITION; }
    // Returns the entry at rNextPosition and moves rNextPosition to the next
    // one, nullptr after the last.
    void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const;

    /* The bucket table. */
    UINT GetHashTableSize() const { return m_nHashTableSize; }
    // Sets the number of buckets (a prime about 20% above the expected count
    // spreads best). Only for an empty map: with entries, or with a size of 0,
    // the call changes nothing. bAllocNow FALSE defers allocating the buckets
    // to the first entry.
    void InitHashTable(UINT nHashSize, BOOL bAllocNow = TRUE);

    void AssertValid() const override;

private:
    struct CAssoc {
        CAssoc* pNext;
        UINT nHashValue; // bucket index
        KEY key;
        VALUE value;
    };

    // The entry for the key or nullptr; nBucket receives the key's bucket.
    CAssoc* FindAssoc(ARG_KEY key, UINT& nBucket) const;
    // The first entry in bucket nBucket or a later one, or nullptr.
    CAssoc* FirstAssocFrom(UINT nBucket) const;

    std::unique_ptr<CAssoc*[]> m_pHashTable; // m_nHashTableSize chain heads, or none yet
    UINT m_nHashTableSize { 17 };
    int m_nCount { 0 };
};

/*********************************************************************
 * Implementation
 *********************************************************************/

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Lookup(ARG_KEY key, VALUE& rValue) const
{
    UINT nBucket;
    CAssoc* pAssoc = FindAssoc(key, nBucket);
    if (!pAssoc)
        return FALSE;
    rValue = pAssoc->value;
    return TRUE;
}

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
VALUE& CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::operator[](ARG_KEY key)
{
    UINT nBucket;
    if (CAssoc* pAssoc = FindAssoc(key, nBucket))
        return pAssoc->value;
    if (!m_pHashTable)
        InitHashTable(m_nHashTableSize);
    CAssoc* pAssoc = new CAssoc { m_pHashTable[nBucket], nBucket, KEY(key), VALUE() };
    m_pHashTable[nBucket] = pAssoc;
    ++m_nCount;
    return pAssoc->value;
}

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveKey(ARG_KEY key)
{
    if (!m_pHashTable)
        return FALSE;
    CAssoc** ppLink = &m_pHashTable[HashKey(key) % m_nHashTableSize];
    for (CAssoc* pAssoc = *ppLink; pAssoc; ppLink = &pAssoc->pNext, pAssoc = *ppLink) {
        if (CompareElements(&pAssoc->key, &key)) {
            *ppLink = pAssoc->pNext;
            delete pAssoc;
            --m_nCount;
            return TRUE;
        }
    }
    return FALSE;
}

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE> void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveAll()
{
    if (m_pHashTable) {
        for (UINT nBucket = 0; nBucket < m_nHashTableSize; ++nBucket) {
            CAssoc* pAssoc = m_pHashTable[nBucket];
            while (pAssoc) {
                CAssoc* pNext = pAssoc->pNext;
                delete pAssoc;
                pAssoc = pNext;
            }
        }
    }
    m_pHashTable.reset();
    m_nCount = 0;
}

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const
{
    CAssoc* pAssoc
        = rNextPosition == BEFORE_START_POSITION ? FirstAssocFrom(0) : reinterpret_cast<CAssoc*>(rNextPosition);
    ASSERT(pAssoc != nullptr);
    if (!pAssoc) {
        rNextPosition = nullptr;
        return;
    }
    CAssoc* pNext = pAssoc->pNext ? pAssoc->pNext : FirstAssocFrom(pAssoc->nHashValue + 1);
    rNextPosition = reinterpret_cast<POSITION>(pNext);
    rKey = pAssoc->key;
    rValue = pAssoc->value;
}

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::InitHashTable(UINT nHashSize, BOOL bAllocNow)
{
    ASSERT(m_nCount == 0 && nHashSize > 0);
    if (m_nCount != 0 || nHashSize == 0)
        return;
    m_pHashTable.reset();
    if (bAllocNow)
        m_pHashTable = std::make_unique<CAssoc*[]>(nHashSize);
    m_nHashTableSize = nHashSize;
}

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::AssertValid() const
{
    ASSERT(m_nHashTableSize > 0);
    ASSERT(m_pHashTable || m_nCount == 0);
    int nCount = 0;
    for (UINT nBucket = 0; m_pHashTable && nBucket < m_nHashTableSize; ++nBucket) {
        for (const CAssoc* pAssoc = m_pHashTable[nBucket]; pAssoc; pAssoc = pAssoc->pNext) {
            ASSERT(pAssoc->nHashValue == nBucket);
            ++nCount;
        }
    }
    ASSERT(nCount == m_nCount);
}

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CAssoc* CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::FindAssoc(
    ARG_KEY key, UINT& nBucket) const
{
    nBucket = HashKey(key) % m_nHashTableSize;
    if (!m_pHashTable)
        return nullptr;
    for (CAssoc* pAssoc = m_pHashTable[nBucket]; pAssoc; pAssoc = pAssoc->pNext) {
        if (CompareElements(&pAssoc->key, &key))
            return pAssoc;
    }
    return nullptr;
}

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CAssoc* CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::FirstAssocFrom(
    UINT nBucket) const
{
    for (; m_pHashTable && nBucket < m_nHashTableSize; ++nBucket) {
        if (m_pHashTable[nBucket])
            return m_pHashTable[nBucket];
    }
    return nullptr;
}
