#pragma once

// CArray<TYPE, ARG_TYPE>: a growable array of TYPE indexed from 0; ARG_TYPE is
// how elements are passed in (often `const TYPE&`, or TYPE itself for numbers
// and pointers).
//
// Elements live in one contiguous block. When an operation needs more slots
// than the block has, a new block of max(new size, old slots + grow-by) slots
// replaces it and the elements move over; pointers and references into the
// array are then invalid. The grow-by count is the one given to SetSize; while
// it is 0 (the default) the array doubles, growing by at least 4 slots, so
// that n Adds move each element a bounded number of times on average.
// Shrinking keeps the block (FreeExtra gives unused slots back) except that a
// size of 0 frees it.
//
// Elements are value-initialised when they enter the array (numbers and
// pointers read 0, classes get their default constructor) and destroyed when
// they leave it.
//
// Index errors are the caller's bug. Debug builds stop at an ASSERT. Release
// builds never touch memory outside the array: reading a bad index gives a
// value-initialised element, writing through a bad index goes to a scratch
// element and is lost, and SetAt, SetAtGrow, InsertAt, RemoveAt and SetSize
// with a negative index, a negative count or a range past the end change
// nothing. A failed allocation throws std::bad_alloc and leaves the array as
// it was.

#include "platform/base/AfxDebug.h"
#include "platform/base/CObject.h"
#include "platform/base/CollectionHelpers.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <memory>
#include <new>
#include <type_traits>

template<class TYPE, class ARG_TYPE = const TYPE&> class CArray : public CObject {
public:
    CArray() = default;
    ~CArray() override;

    /* Size. */
    int GetSize() const { return static_cast<int>(m_pEnd - m_pData); }
    int GetCount() const { return GetSize(); }
    BOOL IsEmpty() const { return m_pEnd == m_pData; }
    int GetUpperBound() const { return GetSize() - 1; }
    // New elements are value-initialised, removed ones destroyed. A negative
    // nGrowBy keeps the current grow-by count.
    void SetSize(int nNewSize, int nGrowBy = -1);
    // Gives back the slots beyond the current size.
    void FreeExtra();
    void RemoveAll() { SetSize(0); }

    /* Element access; nIndex must lie in 0..GetUpperBound(). */
    const TYPE& GetAt(int nIndex) const;
    void SetAt(int nIndex, ARG_TYPE newElement);
    TYPE& ElementAt(int nIndex);
    const TYPE& operator[](int nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](int nIndex) { return ElementAt(nIndex); }
    // The elements in order; nullptr while the array has no block.
    const TYPE* GetData() const { return m_pData; }
    TYPE* GetData() { return m_pData; }

    /* Growing. */
    // Stores the element at nIndex, first growing the array to nIndex + 1
    // elements when it is shorter.
    void SetAtGrow(int nIndex, ARG_TYPE newElement);
    // Appends the element; returns its index.
    int Add(ARG_TYPE newElement);
    // Appends copies of src's elements (src may be this array); returns the
    // index of the first one.
    int Append(const CArray& src);
    // Makes this array a copy of src.
    void Copy(const CArray& src);

    /* Inserting and removing. */
    // Inserts nCount copies of the element before nIndex, moving later
    // elements up; at or past the end the array first grows to nIndex.
    void InsertAt(int nIndex, ARG_TYPE newElement, int nCount = 1);
    // Inserts copies of all of pNewArray's elements before nStartIndex.
    void InsertAt(int nStartIndex, CArray* pNewArray);
    // Removes nCount elements from nIndex on, moving later elements down.
    void RemoveAt(int nIndex, int nCount = 1);

    void AssertValid() const override;

private:
    bool IsValidIndex(int nIndex) const { return nIndex >= 0 && nIndex < GetSize(); }
    int GetSlotCount() const { return static_cast<int>(m_pSlotsEnd - m_pData); }
    // Opens nCount slots before nIndex (or grows the array to nIndex + nCount
    // when nIndex is at or past the end); the slots hold value-initialised or
    // moved-from elements that the caller overwrites.
    void OpenGap(int nIndex, int nCount);
    // Moves the elements into a block of exactly nNewMax slots (nNewMax >= size).
    void Reallocate(int nNewMax);
    // The slot count to grow to for nNewSize elements, by the grow-by rule.
    int GrownMaxSize(int nNewSize) const;

    // Elements whose bytes may be copied to move them (numbers, pointers,
    // plain structures) live in a block of the C heap, which realloc grows in
    // place when it can and, for a large block, by moving its pages rather
    // than copying them into pages that are new to the process; other
    // elements live in a block of std::allocator and are moved one by one.
    static constexpr bool MOVES_AS_BYTES
        = std::is_trivially_copyable_v<TYPE> && alignof(TYPE) <= alignof(std::max_align_t);
    // Gives back the block (nSlots slots); null is nothing.
    static void FreeBlock(TYPE* pData, int nSlots);

    // The block and its ends are pointers, not counts: element stores (of
    // DWORD, say) cannot alias them, so a loop of Adds need not reload them.
    TYPE* m_pData { nullptr };
    TYPE* m_pEnd { nullptr };      // past the last element
    TYPE* m_pSlotsEnd { nullptr }; // past the last slot of m_pData
    int m_nGrowBy { 0 };           // 0: the size, at least 4 (the array doubles)
};

/*********************************************************************
 * Implementation
 *********************************************************************/

template<class TYPE, class ARG_TYPE> CArray<TYPE, ARG_TYPE>::~CArray()
{
    std::destroy(m_pData, m_pEnd);
    FreeBlock(m_pData, GetSlotCount());
}

template<class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::SetSize(int nNewSize, int nGrowBy)
{
    ASSERT(nNewSize >= 0);
    if (nNewSize < 0)
        return;
    if (nGrowBy >= 0)
        m_nGrowBy = nGrowBy;
    if (nNewSize == 0) {
        std::destroy(m_pData, m_pEnd);
        m_pEnd = m_pData;
        Reallocate(0);
        return;
    }
    if (nNewSize > GetSlotCount())
        Reallocate(GrownMaxSize(nNewSize));
    if (nNewSize > GetSize())
        std::uninitialized_value_construct(m_pEnd, m_pData + nNewSize);
    else
        std::destroy(m_pData + nNewSize, m_pEnd);
    m_pEnd = m_pData + nNewSize;
}

template<class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::FreeExtra()
{
    if (m_pEnd != m_pSlotsEnd)
        Reallocate(GetSize());
}

template<class TYPE, class ARG_TYPE> const TYPE& CArray<TYPE, ARG_TYPE>::GetAt(int nIndex) const
{
    ASSERT(IsValidIndex(nIndex));
    if (!IsValidIndex(nIndex))
        return CollectionOutOfRangeElement<TYPE>();
    return m_pData[nIndex];
}

template<class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::SetAt(int nIndex, ARG_TYPE newElement)
{
    ASSERT(IsValidIndex(nIndex));
    if (IsValidIndex(nIndex))
        m_pData[nIndex] = newElement;
}

template<class TYPE, class ARG_TYPE> TYPE& CArray<TYPE, ARG_TYPE>::ElementAt(int nIndex)
{
    ASSERT(IsValidIndex(nIndex));
    if (!IsValidIndex(nIndex))
        return CollectionOutOfRangeElement<TYPE>();
    return m_pData[nIndex];
}

template<class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::SetAtGrow(int nIndex, ARG_TYPE newElement)
{
    ASSERT(nIndex >= 0 && nIndex < INT_MAX);
    if (nIndex < 0 || nIndex == INT_MAX)
        return;
    if (nIndex >= GetSize()) {
        // The element may live in this array's block, which growing can move.
        TYPE value(newElement);
        SetSize(nIndex + 1);
        m_pData[nIndex] = std::move(value);
        return;
    }
    m_pData[nIndex] = newElement;
}

template<class TYPE, class ARG_TYPE> int CArray<TYPE, ARG_TYPE>::Add(ARG_TYPE newElement)
{
    int nIndex = GetSize();
    if (m_pEnd != m_pSlotsEnd) {
        // A free slot: the block stays, so an element of this array is still there to copy.
        std::construct_at(m_pEnd, newElement);
        ++m_pEnd;
        return nIndex;
    }
    SetAtGrow(nIndex, newElement);
    return nIndex;
}

template<class TYPE, class ARG_TYPE> int CArray<TYPE, ARG_TYPE>::Append(const CArray& src)
{
    int nOldSize = GetSize();
    int nSrcSize = src.GetSize();
    ASSERT(nSrcSize <= INT_MAX - nOldSize);
    if (nSrcSize > INT_MAX - nOldSize)
        return nOldSize;
    SetSize(nOldSize + nSrcSize);
    // When src is this array, its first nSrcSize elements are the original ones.
    std::copy(src.m_pData, src.m_pData + nSrcSize, m_pData + nOldSize);
    return nOldSize;
}

template<class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::Copy(const CArray& src)
{
    if (&src == this)
        return;
    int nCount = src.GetSize();
    SetSize(nCount);
    if (nCount > 0)
        std::copy(src.m_pData, src.m_pData + nCount, m_pData);
}

template<class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::InsertAt(int nIndex, ARG_TYPE newElement, int nCount)
{
    ASSERT(nIndex >= 0 && nCount >= 0 && nCount <= INT_MAX - std::max(nIndex, GetSize()));
    if (nIndex < 0 || nCount <= 0 || nCount > INT_MAX - std::max(nIndex, GetSize()))
        return;
    // The element may live in this array's block, which OpenGap can move.
    TYPE value(newElement);
    OpenGap(nIndex, nCount);
    std::fill(m_pData + nIndex, m_pData + nIndex + nCount, value);
}

template<class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::InsertAt(int nStartIndex, CArray* pNewArray)
{
    ASSERT(pNewArray != nullptr && nStartIndex >= 0);
    if (!pNewArray || nStartIndex < 0 || pNewArray->IsEmpty())
        return;
    if (pNewArray == this) {
        CArray copy;
        copy.Copy(*this);
        InsertAt(nStartIndex, &copy);
        return;
    }
    int nCount = pNewArray->GetSize();
    ASSERT(nCount <= INT_MAX - std::max(nStartIndex, GetSize()));
    if (nCount > INT_MAX - std::max(nStartIndex, GetSize()))
        return;
    OpenGap(nStartIndex, nCount);
    std::copy(pNewArray->m_pData, pNewArray->m_pData + nCount, m_pData + nStartIndex);
}

template<class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::RemoveAt(int nIndex, int nCount)
{
    const int nSize = GetSize();
    ASSERT(nIndex >= 0 && nCount >= 0 && nIndex <= nSize && nCount <= nSize - nIndex);
    if (nIndex < 0 || nCount < 0 || nIndex > nSize || nCount > nSize - nIndex)
        return;
    std::move(m_pData + nIndex + nCount, m_pEnd, m_pData + nIndex);
    std::destroy(m_pEnd - nCount, m_pEnd);
    m_pEnd -= nCount;
}

template<class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::AssertValid() const
{
    ASSERT(m_pData <= m_pEnd && m_pEnd <= m_pSlotsEnd);
    ASSERT((m_pData != nullptr) == (m_pSlotsEnd != m_pData));
    ASSERT(m_nGrowBy >= 0);
}

template<class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::OpenGap(int nIndex, int nCount)
{
    if (nIndex >= GetSize()) {
        SetSize(nIndex + nCount);
        return;
    }
    int nOldSize = GetSize();
    SetSize(nOldSize + nCount);
    std::move_backward(m_pData + nIndex, m_pData + nOldSize, m_pData + nOldSize + nCount);
}

template<class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::FreeBlock(TYPE* pData, int nSlots)
{
    if constexpr (MOVES_AS_BYTES)
        std::free(pData);
    else if (pData)
        std::allocator<TYPE>().deallocate(pData, static_cast<std::size_t>(nSlots));
}

// gcc 12 takes the size read before realloc, once inlined into a loop of
// growths, for a use of the block realloc freed.
#if defined(__GNUC__) && !defined(__clang__)
#    pragma GCC diagnostic push
#    pragma GCC diagnostic ignored "-Wuse-after-free"
#endif
template<class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::Reallocate(int nNewMax)
{
    if constexpr (MOVES_AS_BYTES) {
        const int nSize = GetSize();
        TYPE* pNewData = nullptr;
        if (nNewMax > 0) {
            // On failure realloc leaves the block as it was.
            pNewData = static_cast<TYPE*>(std::realloc(m_pData, static_cast<std::size_t>(nNewMax) * sizeof(TYPE)));
            if (!pNewData)
                throw std::bad_alloc();
        } else {
            std::free(m_pData);
        }
        m_pData = pNewData;
        m_pEnd = pNewData ? pNewData + nSize : nullptr;
        m_pSlotsEnd = pNewData ? pNewData + nNewMax : nullptr;
        return;
    }
    std::allocator<TYPE> allocator;
    TYPE* pNewData = nNewMax > 0 ? allocator.allocate(static_cast<std::size_t>(nNewMax)) : nullptr;
    const int nSize = GetSize();
    if (pNewData)
        std::uninitialized_move(m_pData, m_pEnd, pNewData);
    std::destroy(m_pData, m_pEnd);
    FreeBlock(m_pData, GetSlotCount());
    m_pData = pNewData;
    m_pEnd = pNewData ? pNewData + nSize : nullptr;
    m_pSlotsEnd = pNewData ? pNewData + nNewMax : nullptr;
}
#if defined(__GNUC__) && !defined(__clang__)
#    pragma GCC diagnostic pop
#endif

template<class TYPE, class ARG_TYPE> int CArray<TYPE, ARG_TYPE>::GrownMaxSize(int nNewSize) const
{
    long long nGrowBy = m_nGrowBy;
    if (nGrowBy == 0)
        nGrowBy = std::max(GetSize(), 4);
    long long nNewMax = std::max<long long>(nNewSize, GetSlotCount() + nGrowBy);
    return static_cast<int>(std::min<long long>(nNewMax, INT_MAX));
}
