#include "dialogs/groups/KeywordRows.h"

#include "ui/CKeywordListCtrl.h"

#include "platform/controls/ListViewControl.h"

void EndKeywordEdit(CKeywordListCtrl& list)
{
    if (list.GetEditControl() == nullptr)
        return;
    if (CWnd* pParent = list.GetParent())
        pParent->SetFocus();
}

std::vector<CString> GetKeywordRows(const CKeywordListCtrl& list)
{
    std::vector<CString> texts;
    for (int nRow = list.GetItemCount() - 1; nRow >= 1; --nRow) {
        CString strText = list.GetItemText(nRow, 0);
        strText.Trim();
        if (!strText.IsEmpty())
            texts.push_back(strText);
    }
    return texts;
}

void EditKeywordRow(CKeywordListCtrl& list)
{
    list.SetFocus();
    int nRow = list.GetNextItem(-1, LVNI_SELECTED);
    if (nRow < 0)
        nRow = list.GetNextItem(-1, LVNI_FOCUSED);
    list.EditLabel(nRow < 0 ? 0 : nRow);
}

BOOL CanDeleteKeywordRows(const CKeywordListCtrl& list)
{
    return list.GetNextItem(-1, LVNI_SELECTED) > 0;
}
