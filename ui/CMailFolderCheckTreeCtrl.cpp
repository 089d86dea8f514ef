#include "ui/CMailFolderCheckTreeCtrl.h"

#include "catalog/DocumentTexts.h"
#include "platform/controls/ListViewControl.h"
#include "store/CCatalog.h"
#include "ui/CUiHostServices.h"

CMailFolderCheckTreeCtrl::CMailFolderCheckTreeCtrl()
{
    SetExclusionAllowed(FALSE);
}

void CMailFolderCheckTreeCtrl::InsertFolders(CMailFolderArray& entries, HTREEITEM hParent)
{
    InsertEntries(entries, hParent);
    ApplyStoredStates(TVI_ROOT);
}

void CMailFolderCheckTreeCtrl::InsertEntries(CMailFolderArray& entries, HTREEITEM hParent)
{
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        HTREEITEM hItem = InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_STATE, it->strName,
            0, 0, INDEXTOSTATEIMAGEMASK(STATE_UNCHECKED), TVIS_STATEIMAGEMASK, reinterpret_cast<LPARAM>(&*it), hParent,
            TVI_SORT);
        if (hItem && it->pSubfolders)
            InsertEntries(*it->pSubfolders, hItem);
    }
}

void CMailFolderCheckTreeCtrl::LoadCheckedPaths()
{
    m_paths.clear();
    CCatalog* pCatalog = GetHostMainCatalog();
    if (!pCatalog)
        return;
    int nIterator = pCatalog->GetLocationCount();
    CString strKey;
    while (pCatalog->NextLocation(&nIterator, strKey))
        m_paths[strKey] = CMailFolderRecord { CString(), CString(),
            static_cast<DWORD>(StoreKindOfLocation(pCatalog->GetLocationKind(strKey))) };
}

CString CMailFolderCheckTreeCtrl::ItemKey(HTREEITEM hItem) const
{
    const auto* pEntry = reinterpret_cast<const CMailFolderEntry*>(GetItemData(hItem));
    if (!pEntry)
        return CString();
    CString strKey = pEntry->strMailbox;
    strKey.MakeLower();
    return strKey;
}

void CMailFolderCheckTreeCtrl::CollectCheckedPaths(HTREEITEM hParent, const CString& strPrefix)
{
    HTREEITEM hChild = hParent == TVI_ROOT ? GetRootItem() : GetChildItem(hParent);
    for (; hChild; hChild = GetNextSiblingItem(hChild)) {
        const CString strDisplayPath = strPrefix + "\\" + GetItemText(hChild);
        const CString strKey = ItemKey(hChild);
        const int nState = GetCheckState(hChild);
        if (!strKey.IsEmpty()) {
            const bool bChecked = nState == STATE_CHECKED_PARTLY || nState == STATE_CHECKED;
            if (bChecked && !m_paths.count(strKey)) {
                const auto* pEntry = reinterpret_cast<const CMailFolderEntry*>(GetItemData(hChild));
                m_paths[strKey] = CMailFolderRecord { strDisplayPath, CString(), pEntry->dwStoreKind };
            } else if (!bChecked) {
                m_paths.erase(strKey);
            }
        }
        if (ItemHasChildren(hChild))
            CollectCheckedPaths(hChild, strDisplayPath);
    }
}

void CMailFolderCheckTreeCtrl::ApplyStoredStates(HTREEITEM hParent)
{
    HTREEITEM hChild = hParent == TVI_ROOT ? GetRootItem() : GetChildItem(hParent);
    for (; hChild; hChild = GetNextSiblingItem(hChild)) {
        const CString strKey = ItemKey(hChild);
        ApplyCheckAction(hChild, !strKey.IsEmpty() && m_paths.count(strKey) ? ACTION_CHECK : ACTION_UNCHECK);
        if (ItemHasChildren(hChild)) {
            ApplyStoredStates(hChild);
            Expand(hChild, TVE_EXPAND);
        }
    }
}
