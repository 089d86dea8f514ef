#include "dialogs/documents/FolderListRows.h"

namespace {

constexpr int COLUMN_START_WIDTH = 10;
constexpr int TEXT_MARGIN = 8;  // room beside a row of text only
constexpr int ICON_MARGIN = 38; // room for the icon and its gap

} // namespace

void InsertFolderColumn(CListCtrl& list)
{
    list.InsertColumn(0, "", LVCFMT_LEFT, COLUMN_START_WIDTH);
}

void AddFolderRow(CListCtrl& list, LPCTSTR pszFolder, int nImage)
{
    const int nWidth = list.GetStringWidth(pszFolder) + (nImage == -1 ? TEXT_MARGIN : ICON_MARGIN);
    CString strRow(pszFolder);
    strRow.MakeLower();
    const int nRow = list.GetItemCount();
    if (nImage == -1)
        list.InsertItem(nRow, strRow);
    else
        list.InsertItem(nRow, strRow, nImage);
    if (list.GetColumnWidth(0) < nWidth)
        list.SetColumnWidth(0, nWidth);
}
