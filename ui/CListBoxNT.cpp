#include "ui/CListBoxNT.h"

IMPLEMENT_DYNAMIC(CListBoxNT, CListBox)

void CListBoxNT::DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct)
{
    delete reinterpret_cast<CListItemRecord*>(lpDeleteItemStruct->itemData);
    CListBox::DeleteItem(lpDeleteItemStruct);
}

CListItemRecord* CListBoxNT::GetRecord(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetCount())
        return nullptr;
    void* pData = GetItemDataPtr(nIndex);
    return pData == reinterpret_cast<void*>(-1) ? nullptr : static_cast<CListItemRecord*>(pData);
}
