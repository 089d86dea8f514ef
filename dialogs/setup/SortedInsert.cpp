#include "dialogs/setup/SortedInsert.h"

#include "platform/base/CString.h"
#include "platform/framework/CCheckListBox.h"

int InsertSortedNoCase(CCheckListBox& list, LPCTSTR pszText)
{
    int nLow = 0;
    int nHigh = list.GetCount();
    while (nLow < nHigh) {
        const int nMiddle = (nLow + nHigh) / 2;
        CString strLine;
        list.GetText(nMiddle, strLine);
        if (strLine.CompareNoCase(pszText) < 0)
            nLow = nMiddle + 1;
        else
            nHigh = nMiddle;
    }
    return list.InsertString(nLow, pszText);
}
