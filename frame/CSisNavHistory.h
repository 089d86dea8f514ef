#pragma once

// CSisNavHistory: the back and forward list of the systems tree's selected
// items. Entries are tree item handles, oldest first; the current index is -1
// while the history is empty. Pushing drops the entries after the current one
// and, at capacity, the oldest entry. Without a capacity nothing is kept.

#include "platform/controls/TreeViewControl.h"

#include <vector>

class CSisNavHistory {
public:
    // Gives the history room for nCapacity entries, once: FALSE when it has a
    // capacity already or nCapacity is not positive.
    BOOL SetCapacity(int nCapacity);
    // Empties the history; the capacity stays.
    void Reset();

    // Makes hItem the current entry, after the current one.
    void Push(HTREEITEM hItem);
    // The entry before the current one, which becomes current; null at the first.
    HTREEITEM Back();
    // The entry after the current one, which becomes current; null at the last.
    HTREEITEM Forward();
    // Removes every entry equal to hItem; the current index stays on the same
    // entry, or moves to the one before a removed current entry.
    void RemoveValue(HTREEITEM hItem);

    // The current entry; null when empty.
    HTREEITEM GetCurrent() const { return m_nIndex >= 0 ? m_items[static_cast<size_t>(m_nIndex)] : nullptr; }
    int GetIndex() const { return m_nIndex; }
    int GetCount() const { return m_nCount; }
    BOOL CanGoBack() const { return m_nIndex >= 1; }
    BOOL CanGoForward() const { return m_nIndex + 1 < m_nCount; }

private:
    std::vector<HTREEITEM> m_items; // m_nCapacity entries, of which the first m_nCount are used
    int m_nIndex { -1 };
    int m_nCount { 0 };
    int m_nCapacity { 0 };
};
