#pragma once

// CList<TYPE, ARG_TYPE>: a doubly linked list of TYPE; ARG_TYPE is how
// elements are passed in.
//
// A POSITION names one element and stays valid until that element is removed
// or the list emptied; nullptr means "none". Walks go
//     for (POSITION pos = list.GetHeadPosition(); pos; ) use(list.GetNext(pos));
// and may remove the element just returned.
//
// Elements are copied in when added and destroyed when removed. The list's
// elements are compared with CompareElements (Find).
//
// Errors are the caller's bug: reading the head or tail of an empty list, or
// passing a null or foreign POSITION. Debug builds stop at an ASSERT on the
// first two. Release builds hand out a scratch value-initialised element for a
// null position or an empty list and ignore changes through it; a POSITION of
// another list, or of a removed element, cannot be detected.

#include "platform/base/AfxDebug.h"
#include "platform/base/CObject.h"
#include "platform/base/CollectionHelpers.h"

#include <utility>

template<class TYPE, class ARG_TYPE = const TYPE&> class CList : public CObject {
public:
    // Nodes are allocated one by one; nBlockSize, the allocation batch callers
    // may give, has no effect.
    explicit CList(int /*nBlockSize*/ = 10) { }
    ~CList() override { RemoveAll(); }

    /* Count. */
    int GetCount() const { return m_nCount; }
    int GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    /* Head and tail; the list must not be empty. */
    TYPE& GetHead();
    const TYPE& GetHead() const;
    TYPE& GetTail();
    const TYPE& GetTail() const;
    // Removes the first (last) element and returns it.
    TYPE RemoveHead();
    TYPE RemoveTail();

    /* Adding; each returns the new element's position. */
    POSITION AddHead(ARG_TYPE newElement);
    POSITION AddTail(ARG_TYPE newElement);
    // Adds copies of pNewList's elements in their order before the head (after
    // the tail). pNewList may be this list.
    void AddHead(CList* pNewList);
    void AddTail(CList* pNewList);
    // Inserts before (after) position; a null position inserts at the head
    // (tail).
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement);
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement);

    /* Removing. */
    void RemoveAt(POSITION position);
    void RemoveAll();

    /* Walking. GetNext and GetPrev return the element at rPosition and move
       rPosition to the next (previous) element, nullptr past the end. */
    POSITION GetHeadPosition() const { return ToPosition(m_pNodeHead); }
    POSITION GetTailPosition() const { return ToPosition(m_pNodeTail); }
    TYPE& GetNext(POSITION& rPosition);
    const TYPE& GetNext(POSITION& rPosition) const;
    TYPE& GetPrev(POSITION& rPosition);
    const TYPE& GetPrev(POSITION& rPosition) const;
    TYPE& GetAt(POSITION position);
    const TYPE& GetAt(POSITION position) const;
    void SetAt(POSITION position, ARG_TYPE newElement);

    /* Searching. */
    // The first element after startAfter (from the head when startAfter is
    // null) equal to searchValue, or nullptr.
    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const;
    // The element at nIndex counted from the head at 0, or nullptr when nIndex
    // is out of range.
    POSITION FindIndex(int nIndex) const;

    void AssertValid() const override;

private:
    struct CNode {
        CNode* pNext;
        CNode* pPrev;
        TYPE data;
    };

    static POSITION ToPosition(CNode* pNode) { return reinterpret_cast<POSITION>(pNode); }
    static CNode* ToNode(POSITION position) { return reinterpret_cast<CNode*>(position); }
    // Links a new node holding newElement between pPrev and pNext (either may be null).
    CNode* LinkNewNode(CNode* pPrev, CNode* pNext, ARG_TYPE newElement);
    void UnlinkAndFree(CNode* pNode);
    // The node's element, or the scratch element when pNode is null.
    static TYPE& DataOf(CNode* pNode);

    CNode* m_pNodeHead { nullptr };
    CNode* m_pNodeTail { nullptr };
    int m_nCount { 0 };
};

/*********************************************************************
 * Implementation
 *********************************************************************/

template<class TYPE, class ARG_TYPE> TYPE& CList<TYPE, ARG_TYPE>::GetHead()
{
    ASSERT(m_pNodeHead != nullptr);
    return DataOf(m_pNodeHead);
}

template<class TYPE, class ARG_TYPE> const TYPE& CList<TYPE, ARG_TYPE>::GetHead() const
{
    ASSERT(m_pNodeHead != nullptr);
    return DataOf(m_pNodeHead);
}

template<class TYPE, class ARG_TYPE> TYPE& CList<TYPE, ARG_TYPE>::GetTail()
{
    ASSERT(m_pNodeTail != nullptr);
    return DataOf(m_pNodeTail);
}

template<class TYPE, class ARG_TYPE> const TYPE& CList<TYPE, ARG_TYPE>::GetTail() const
{
    ASSERT(m_pNodeTail != nullptr);
    return DataOf(m_pNodeTail);
}

template<class TYPE, class ARG_TYPE> TYPE CList<TYPE, ARG_TYPE>::RemoveHead()
{
    ASSERT(m_pNodeHead != nullptr);
    if (!m_pNodeHead)
        return TYPE();
    TYPE value(std::move(m_pNodeHead->data));
    UnlinkAndFree(m_pNodeHead);
    return value;
}

template<class TYPE, class ARG_TYPE> TYPE CList<TYPE, ARG_TYPE>::RemoveTail()
{
    ASSERT(m_pNodeTail != nullptr);
    if (!m_pNodeTail)
        return TYPE();
    TYPE value(std::move(m_pNodeTail->data));
    UnlinkAndFree(m_pNodeTail);
    return value;
}

template<class TYPE, class ARG_TYPE> POSITION CList<TYPE, ARG_TYPE>::AddHead(ARG_TYPE newElement)
{
    return ToPosition(LinkNewNode(nullptr, m_pNodeHead, newElement));
}

template<class TYPE, class ARG_TYPE> POSITION CList<TYPE, ARG_TYPE>::AddTail(ARG_TYPE newElement)
{
    return ToPosition(LinkNewNode(m_pNodeTail, nullptr, newElement));
}

template<class TYPE, class ARG_TYPE> void CList<TYPE, ARG_TYPE>::AddHead(CList* pNewList)
{
    ASSERT(pNewList != nullptr);
    if (!pNewList)
        return;
    // Counted, so that adding a list to itself stops after its original elements.
    CNode* pNode = pNewList->m_pNodeTail;
    for (int nLeft = pNewList->m_nCount; nLeft > 0; --nLeft, pNode = pNode->pPrev)
        AddHead(pNode->data);
}

template<class TYPE, class ARG_TYPE> void CList<TYPE, ARG_TYPE>::AddTail(CList* pNewList)
{
    ASSERT(pNewList != nullptr);
    if (!pNewList)
        return;
    CNode* pNode = pNewList->m_pNodeHead;
    for (int nLeft = pNewList->m_nCount; nLeft > 0; --nLeft, pNode = pNode->pNext)
        AddTail(pNode->data);
}

template<class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertBefore(POSITION position, ARG_TYPE newElement)
{
    if (!position)
        return AddHead(newElement);
    CNode* pNode = ToNode(position);
    return ToPosition(LinkNewNode(pNode->pPrev, pNode, newElement));
}

template<class TYPE, class ARG_TYPE> POSITION CList<TYPE, ARG_TYPE>::InsertAfter(POSITION position, ARG_TYPE newElement)
{
    if (!position)
        return AddTail(newElement);
    CNode* pNode = ToNode(position);
    return ToPosition(LinkNewNode(pNode, pNode->pNext, newElement));
}

template<class TYPE, class ARG_TYPE> void CList<TYPE, ARG_TYPE>::RemoveAt(POSITION position)
{
    ASSERT(position != nullptr);
    if (position)
        UnlinkAndFree(ToNode(position));
}

template<class TYPE, class ARG_TYPE> void CList<TYPE, ARG_TYPE>::RemoveAll()
{
    CNode* pNode = m_pNodeHead;
    while (pNode) {
        CNode* pNext = pNode->pNext;
        delete pNode;
        pNode = pNext;
    }
    m_pNodeHead = m_pNodeTail = nullptr;
    m_nCount = 0;
}

template<class TYPE, class ARG_TYPE> TYPE& CList<TYPE, ARG_TYPE>::GetNext(POSITION& rPosition)
{
    ASSERT(rPosition != nullptr);
    CNode* pNode = ToNode(rPosition);
    rPosition = pNode ? ToPosition(pNode->pNext) : nullptr;
    return DataOf(pNode);
}

template<class TYPE, class ARG_TYPE> const TYPE& CList<TYPE, ARG_TYPE>::GetNext(POSITION& rPosition) const
{
    return const_cast<CList*>(this)->GetNext(rPosition);
}

template<class TYPE, class ARG_TYPE> TYPE& CList<TYPE, ARG_TYPE>::GetPrev(POSITION& rPosition)
{
    ASSERT(rPosition != nullptr);
    CNode* pNode = ToNode(rPosition);
    rPosition = pNode ? ToPosition(pNode->pPrev) : nullptr;
    return DataOf(pNode);
}

template<class TYPE, class ARG_TYPE> const TYPE& CList<TYPE, ARG_TYPE>::GetPrev(POSITION& rPosition) const
{
    return const_cast<CList*>(this)->GetPrev(rPosition);
}

template<class TYPE, class ARG_TYPE> TYPE& CList<TYPE, ARG_TYPE>::GetAt(POSITION position)
{
    ASSERT(position != nullptr);
    return DataOf(ToNode(position));
}

template<class TYPE, class ARG_TYPE> const TYPE& CList<TYPE, ARG_TYPE>::GetAt(POSITION position) const
{
    ASSERT(position != nullptr);
    return DataOf(ToNode(position));
}

template<class TYPE, class ARG_TYPE> void CList<TYPE, ARG_TYPE>::SetAt(POSITION position, ARG_TYPE newElement)
{
    ASSERT(position != nullptr);
    if (position)
        ToNode(position)->data = newElement;
}

template<class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::Find(ARG_TYPE searchValue, POSITION startAfter) const
{
    CNode* pNode = startAfter ? ToNode(startAfter)->pNext : m_pNodeHead;
    for (; pNode; pNode = pNode->pNext) {
        if (CompareElements(&pNode->data, &searchValue))
            return ToPosition(pNode);
    }
    return nullptr;
}

template<class TYPE, class ARG_TYPE> POSITION CList<TYPE, ARG_TYPE>::FindIndex(int nIndex) const
{
    if (nIndex < 0 || nIndex >= m_nCount)
        return nullptr;
    CNode* pNode = m_pNodeHead;
    while (nIndex-- > 0)
        pNode = pNode->pNext;
    return ToPosition(pNode);
}

template<class TYPE, class ARG_TYPE> void CList<TYPE, ARG_TYPE>::AssertValid() const
{
    int nCount = 0;
    const CNode* pPrev = nullptr;
    for (const CNode* pNode = m_pNodeHead; pNode; pNode = pNode->pNext) {
        ASSERT(pNode->pPrev == pPrev);
        pPrev = pNode;
        ++nCount;
    }
    ASSERT(pPrev == m_pNodeTail);
    ASSERT(nCount == m_nCount);
}

template<class TYPE, class ARG_TYPE>
typename CList<TYPE, ARG_TYPE>::CNode* CList<TYPE, ARG_TYPE>::LinkNewNode(
    CNode* pPrev, CNode* pNext, ARG_TYPE newElement)
{
    CNode* pNode = new CNode { pNext, pPrev, TYPE(newElement) };
    (pPrev ? pPrev->pNext : m_pNodeHead) = pNode;
    (pNext ? pNext->pPrev : m_pNodeTail) = pNode;
    ++m_nCount;
    return pNode;
}

template<class TYPE, class ARG_TYPE> void CList<TYPE, ARG_TYPE>::UnlinkAndFree(CNode* pNode)
{
    (pNode->pPrev ? pNode->pPrev->pNext : m_pNodeHead) = pNode->pNext;
    (pNode->pNext ? pNode->pNext->pPrev : m_pNodeTail) = pNode->pPrev;
    --m_nCount;
    delete pNode;
}

template<class TYPE, class ARG_TYPE> TYPE& CList<TYPE, ARG_TYPE>::DataOf(CNode* pNode)
{
    return pNode ? pNode->data : CollectionOutOfRangeElement<TYPE>();
}
