#include "dialogs/groups/CGroupFolderListCtrl.h"

#include "mail/CMailClientSet.h"

#include "platform/controls/ListViewControl.h"
#include "platform/framework/MessageMap.h"

#include <memory>

BEGIN_MESSAGE_MAP(CGroupFolderListCtrl, CListCtrl)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

constexpr TCHAR MAIL_MARK = '*';
constexpr int ROW_MARGIN = 38; // the image and the gaps beside the text

bool IsMailEntry(const CString& strEntry)
{
    return !strEntry.IsEmpty() && strEntry[0] == MAIL_MARK;
}

} // namespace

CString CGroupFolderListCtrl::GetDisplayText(const CString& strEntry)
{
    if (!IsMailEntry(strEntry))
        return strEntry;
    const CString strMailbox = strEntry.Mid(1);
    const CString strName = GetMailboxDisplayName(strMailbox);
    return strName.IsEmpty() ? strMailbox : strName;
}

BOOL CGroupFolderListCtrl::ContainsFolder(const CString& strEntry) const
{
    CString strText = GetDisplayText(strEntry);
    strText.MakeLower();
    LVFINDINFO find {};
    find.flags = LVFI_STRING;
    find.psz = strText;
    return FindItem(&find, -1) >= 0;
}

int CGroupFolderListCtrl::AddFolder(const CString& strEntry)
{
    CString strText = GetDisplayText(strEntry);
    const int nWidth = GetStringWidth(strText) + ROW_MARGIN;
    strText.MakeLower();
    auto pEntry = std::make_unique<CString>(strEntry);
    pEntry->MakeLower();
    const int nRow = InsertItem(GetItemCount(), strText, IsMailEntry(strEntry) ? MAIL_IMAGE : FOLDER_IMAGE);
    if (nRow < 0)
        return -1;
    SetItemData(nRow, reinterpret_cast<DWORD_PTR>(pEntry.release()));
    if (GetColumnWidth(0) < nWidth)
        SetColumnWidth(0, nWidth);
    return nRow;
}

CString CGroupFolderListCtrl::GetEntry(int nRow) const
{
    const auto* pEntry = reinterpret_cast<const CString*>(GetItemData(nRow));
    return pEntry != nullptr ? *pEntry : CString();
}

void CGroupFolderListCtrl::DeleteSelected()
{
    for (int nRow = GetNextItem(-1, LVNI_SELECTED); nRow >= 0; nRow = GetNextItem(-1, LVNI_SELECTED)) {
        DeleteRow(nRow);
        SetColumnWidth(0, LVSCW_AUTOSIZE);
    }
}

void CGroupFolderListCtrl::TakeEntries(CStringArray& entries)
{
    for (int nRow = GetItemCount() - 1; nRow >= 0; --nRow)
        entries.Add(GetEntry(nRow));
    for (int nRow = GetItemCount() - 1; nRow >= 0; --nRow)
        DeleteRow(nRow);
}

void CGroupFolderListCtrl::OnDestroy()
{
    for (int nRow = GetItemCount() - 1; nRow >= 0; --nRow)
        DeleteRow(nRow);
    CListCtrl::OnDestroy();
}

void CGroupFolderListCtrl::DeleteRow(int nRow)
{
    delete reinterpret_cast<CString*>(GetItemData(nRow));
    SetItemData(nRow, 0);
    DeleteItem(nRow);
}
