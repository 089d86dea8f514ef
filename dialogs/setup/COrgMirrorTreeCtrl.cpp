#include "dialogs/setup/COrgMirrorTreeCtrl.h"

void COrgMirrorTreeCtrl::Mirror(COrgTreeCtrl& source)
{
    m_pSource = &source;
    DeleteAllItems();
    CopyChildren(nullptr, TVI_ROOT);
}

void COrgMirrorTreeCtrl::CopyChildren(HTREEITEM hSourceParent, HTREEITEM hParent)
{
    for (HTREEITEM hSource = hSourceParent ? m_pSource->GetChildItem(hSourceParent) : m_pSource->GetRootItem(); hSource;
         hSource = m_pSource->GetNextSiblingItem(hSource)) {
        int nImage = 0;
        int nSelectedImage = 0;
        m_pSource->GetItemImage(hSource, nImage, nSelectedImage);
        HTREEITEM hItem = InsertItem(m_pSource->GetItemText(hSource), nImage, nSelectedImage, hParent, TVI_LAST);
        if (!hItem)
            continue;
        SetItemData(hItem, reinterpret_cast<DWORD_PTR>(hSource));
        if (m_pSource->ItemHasChildren(hSource)) {
            CopyChildren(hSource, hItem);
            Expand(hItem, TVE_EXPAND);
        }
    }
}

HTREEITEM COrgMirrorTreeCtrl::GetSourceItem(HTREEITEM hItem) const
{
    return hItem ? reinterpret_cast<HTREEITEM>(GetItemData(hItem)) : nullptr;
}

HTREEITEM COrgMirrorTreeCtrl::FindMirrorOf(HTREEITEM hSource) const
{
    return hSource ? FindMirrorBelow(nullptr, hSource) : nullptr;
}

HTREEITEM COrgMirrorTreeCtrl::FindMirrorBelow(HTREEITEM hParent, HTREEITEM hSource) const
{
    for (HTREEITEM hItem = hParent ? GetChildItem(hParent) : GetRootItem(); hItem; hItem = GetNextSiblingItem(hItem)) {
        if (GetSourceItem(hItem) == hSource)
            return hItem;
        if (HTREEITEM hFound = FindMirrorBelow(hItem, hSource))
            return hFound;
    }
    return nullptr;
}

BOOL COrgMirrorTreeCtrl::AnyNodeHasCriteria(HTREEITEM hLevel) const
{
    for (HTREEITEM hItem = hLevel ? GetChildItem(hLevel) : GetRootItem(); hItem; hItem = GetNextSiblingItem(hItem)) {
        const COrgNode* pNode = m_pSource ? m_pSource->GetNode(GetSourceItem(hItem)) : nullptr;
        if (pNode && (pNode->keywords.GetSize() > 0 || pNode->folders.GetSize() > 0))
            return TRUE;
        if (AnyNodeHasCriteria(hItem))
            return TRUE;
    }
    return FALSE;
}
