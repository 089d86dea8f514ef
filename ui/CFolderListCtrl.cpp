#include "ui/CFolderListCtrl.h"

#include "platform/controls/ListViewControl.h"
#include "store/FileHelpers.h"
#include "ui/CPopupFolderPicker.h"

void CFolderListCtrl::Initialize(BOOL bIcons)
{
    InsertColumn(0, "", LVCFMT_LEFT, INITIAL_WIDTH);
    if (bIcons) {
        m_systemImages = std::make_unique<CSysImageList>();
        // The system list is the shell's: the list must not destroy it with itself.
        ModifyStyle(0, LVS_SHAREIMAGELISTS);
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

void CFolderListCtrl::AddFolders(const CStringArray& folders, EShown eShown, CStringArray& notShown)
{
    for (int n = 0; n < folders.GetSize(); ++n) {
        const BOOL bShown = eShown == EShown::Reachable
            ? !(CheckFolder(folders[n], 0) & (FOLDER_UNUSABLE | FOLDER_MISSING))
            : CheckFolder(folders[n], FOLDER_WRITABLE | FOLDER_REMOVABLE) == FOLDER_WRITABLE;
        if (bShown)
            AddFolder(folders[n]);
        else
            notShown.Add(folders[n]);
    }
}

BOOL CFolderListCtrl::AddPickedFolder(CPopupFolderPicker& picker, CButton& button, ERoots eRoots)
{
    CString strFolder;
    BOOL bAdded = FALSE;
    if (picker.Pick(button, strFolder)) {
        const BOOL bRefused = eRoots == ERoots::Refused && (CheckFolder(strFolder, 0) & FOLDER_NO_PARENT);
        bAdded = !bRefused && AddFolderOnce(strFolder);
    }
    if (::IsWindow(m_hWnd))
        SetFocus();
    return bAdded;
}

void CFolderListCtrl::RemoveSelected()
{
    BOOL bRemoved = FALSE;
    for (int nItem = GetNextItem(-1, LVNI_SELECTED); nItem >= 0; nItem = GetNextItem(-1, LVNI_SELECTED))
        bRemoved = DeleteItem(nItem) || bRemoved;
    if (bRemoved)
        SetColumnWidth(0, LVSCW_AUTOSIZE);
}

void CFolderListCtrl::EnableWithButtons(BOOL bEnable, int nIDAdd, int nIDRemove)
{
    if (!bEnable) {
        for (int nItem = GetNextItem(-1, LVNI_SELECTED); nItem >= 0; nItem = GetNextItem(nItem, LVNI_SELECTED))
            SetItemState(nItem, 0, LVIS_SELECTED);
    }
    CWnd* pParent = GetParent();
    auto enable = [](CWnd* pItem, BOOL bWanted) {
        if (pItem && pItem->IsWindowEnabled() != bWanted)
            pItem->EnableWindow(bWanted);
    };
    enable(this, bEnable);
    if (pParent && nIDAdd)
        enable(pParent->GetDlgItem(nIDAdd), bEnable);
    if (pParent && nIDRemove)
        enable(pParent->GetDlgItem(nIDRemove), bEnable && GetSelectedCount() > 0);
}

void CFolderListCtrl::GetFolders(CStringArray& folders) const
{
    folders.RemoveAll();
    for (int nItem = 0; nItem < GetItemCount(); ++nItem)
        folders.Add(GetItemText(nItem, 0));
}
