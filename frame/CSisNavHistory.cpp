#include "frame/CSisNavHistory.h"

#include <algorithm>

BOOL CSisNavHistory::SetCapacity(int nCapacity)
{
    if (m_nCapacity > 0 || nCapacity <= 0)
        return FALSE;
    m_items.assign(static_cast<size_t>(nCapacity), nullptr);
    m_nCapacity = nCapacity;
    return TRUE;
}

void CSisNavHistory::Reset()
{
    m_nIndex = -1;
    m_nCount = 0;
}

void CSisNavHistory::Push(HTREEITEM hItem)
{
    if (m_nCapacity == 0)
        return;
    ++m_nIndex;
    if (m_nIndex >= m_nCapacity) {
        std::move(m_items.begin() + 1, m_items.end(), m_items.begin());
        m_nIndex = m_nCapacity - 1;
    }
    m_items[static_cast<size_t>(m_nIndex)] = hItem;
    m_nCount = m_nIndex + 1;
}

HTREEITEM CSisNavHistory::Back()
{
    if (m_nIndex < 1)
        return nullptr;
    --m_nIndex;
    return m_items[static_cast<size_t>(m_nIndex)];
}

HTREEITEM CSisNavHistory::Forward()
{
    if (m_nIndex + 1 >= m_nCount)
        return nullptr;
    ++m_nIndex;
    return m_items[static_cast<size_t>(m_nIndex)];
}

void CSisNavHistory::RemoveValue(HTREEITEM hItem)
{
    int nKept = 0;
    int nIndex = m_nIndex;
    for (int i = 0; i < m_nCount; ++i) {
        if (m_items[static_cast<size_t>(i)] == hItem) {
            if (i <= m_nIndex)
                --nIndex;
            continue;
        }
        m_items[static_cast<size_t>(nKept++)] = m_items[static_cast<size_t>(i)];
    }
    m_nCount = nKept;
    m_nIndex = std::max(nIndex, -1);
}
