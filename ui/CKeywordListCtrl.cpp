#include "ui/CKeywordListCtrl.h"

#include "resources/ResourceIds.h"

IMPLEMENT_DYNAMIC(CKeywordListCtrl, CEditableListCtrl)

void CKeywordListCtrl::InitColumn()
{
    InsertColumn(0, "", LVCFMT_LEFT, 0);
    SetEditLimit(KEYWORD_LIMIT);
    SetColumnWidth(0, LVSCW_AUTOSIZE);
    CString strEntry;
    strEntry.LoadString(IDS_NEW_KEYWORD_ROW);
    InsertItem(0, strEntry);
}

void CKeywordListCtrl::DeleteWords()
{
    for (int nRow = GetItemCount() - 1; nRow >= 1; --nRow)
        DeleteItem(nRow);
}

void CKeywordListCtrl::FillFromArray(const CStringArray* pWords)
{
    DeleteWords();
    if (!pWords)
        return;
    for (INT_PTR i = pWords->GetSize() - 1; i >= 0; --i)
        InsertItem(1, pWords->GetAt(i));
}

void CKeywordListCtrl::FillFromList(const CKeywordRecArray& keywords)
{
    DeleteWords();
    for (auto it = keywords.rbegin(); it != keywords.rend(); ++it)
        InsertItem(1, (*it)->GetText());
}

void CKeywordListCtrl::DeleteSelected()
{
    for (int nRow = GetFirstSelectedItem(); nRow != -1; nRow = GetNextItem(nRow == 0 ? 0 : nRow - 1, LVNI_SELECTED)) {
        if (nRow == 0) {
            SetItemState(0, 0, LVIS_SELECTED);
            continue;
        }
        DeleteItem(nRow);
        SetColumnWidth(0, LVSCW_AUTOSIZE);
    }
}
