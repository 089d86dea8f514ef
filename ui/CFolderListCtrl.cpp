#include "ui/CFolderListCtrl.h"

#include "platform/controls/ListViewControl.h"

void CFolderListCtrl::Initialize(BOOL bIcons)
{
    InsertColumn(0, "", LVCFMT_LEFT, INITIAL_WIDTH);
    if (bIcons) {
        m_systemImages = std::make_unique<CSysImageList>();
        SetImageList(GetSystemImageList(TRUE), LVSIL_SMALL);
    }
}

int CFolderListCtrl::AddFolder(const CString& strFolder)
{
    // Measured as given: the lower-case text is never wider.
    const int nNeeded = GetStringWidth(strFolder) + (m_systemImages ? ICON_ROW_MARGIN : TEXT_ROW_MARGIN);
    CString strRow(strFolder);
    strRow.MakeLower();
    const int nItem = m_systemImages ? InsertItem(GetItemCount(), strRow, GetSystemFolderIconIndex(FALSE, TRUE))
                                     : InsertItem(GetItemCount(), strRow);
    if (nNeeded > GetColumnWidth(0))
        SetColumnWidth(0, nNeeded);
    return nItem;
}

BOOL CFolderListCtrl::AddFolderOnce(const CString& strFolder)
{
    LVFINDINFO find {};
    find.flags = LVFI_STRING;
    find.psz = strFolder;
    if (FindItem(&find) >= 0)
        return FALSE;
    AddFolder(strFolder);
    return TRUE;
}

void CFolderListCtrl::RemoveSelected()
{
    BOOL bRemoved = FALSE;
    for (int nItem = GetNextItem(-1, LVNI_SELECTED); nItem >= 0; nItem = GetNextItem(-1, LVNI_SELECTED))
        bRemoved = DeleteItem(nItem) || bRemoved;
    if (bRemoved)
        SetColumnWidth(0, LVSCW_AUTOSIZE);
}

void CFolderListCtrl::GetFolders(CStringArray& folders) const
{
    folders.RemoveAll();
    for (int nItem = 0; nItem < GetItemCount(); ++nItem)
        folders.Add(GetItemText(nItem, 0));
}
