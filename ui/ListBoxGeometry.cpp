#include "ui/ListBoxGeometry.h"

#include "platform/framework/CListBox.h"
#include "platform/gdi/Rects.h"

namespace {

int ClientHeight(CListBox* pListBox)
{
    RECT client {};
    pListBox->GetClientRect(&client);
    return client.bottom - client.top;
}

} // namespace

int GetListBoxLastFullItem(CListBox* pListBox)
{
    const int nCount = pListBox->GetCount();
    int nBudget = ClientHeight(pListBox);
    for (int nItem = pListBox->GetTopIndex(); nItem < nCount; ++nItem) {
        nBudget -= pListBox->GetItemHeight(nItem);
        if (nBudget < 1)
            return nItem;
    }
    return nCount;
}

int GetListBoxLastPartialItem(CListBox* pListBox)
{
    const int nCount = pListBox->GetCount();
    int nBudget = ClientHeight(pListBox);
    for (int nItem = pListBox->GetTopIndex(); nItem < nCount; ++nItem) {
        nBudget -= pListBox->GetItemHeight(nItem);
        if (nBudget < 0)
            return nItem;
    }
    return nCount;
}

int GetListBoxItemFromPoint(CListBox* pListBox, int x, int y)
{
    RECT client {};
    pListBox->GetClientRect(&client);
    if (!PtInRect(&client, POINT { x, y }))
        return -1;
    const int nCount = pListBox->GetCount();
    int nBottom = client.top;
    for (int nItem = pListBox->GetTopIndex(); nItem < nCount; ++nItem) {
        nBottom += pListBox->GetItemHeight(nItem);
        if (nBottom >= client.bottom)
            return y < client.bottom ? nItem : -1;
        if (nBottom >= y)
            return nItem;
    }
    return -1;
}
