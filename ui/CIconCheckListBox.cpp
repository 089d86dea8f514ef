#include "ui/CIconCheckListBox.h"

#include "platform/base/CollectionArrays.h"
#include "platform/framework/CDC.h"
#include "platform/framework/CImageList.h"
#include "resources/ResourceIds.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CIconCheckListBox, CCheckListBox)

int CIconCheckListBox::IconOf(int nIndex) const
{
    CString strText;
    GetText(nIndex, strText);
    CString strOther;
    strOther.LoadString(IDS_OTHER_DOCUMENT_TYPE);
    const auto* pExtensions = reinterpret_cast<const CStringArray*>(GetItemData(nIndex));
    if (!pExtensions || pExtensions == reinterpret_cast<const CStringArray*>(LB_ERR) || pExtensions->IsEmpty()
        || strText.CompareNoCase(strOther) == 0)
        return 0;
    return std::max(GetFileIconIndex(pExtensions->GetAt(0), FALSE, TRUE), 0);
}

void CIconCheckListBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    const int nItem = static_cast<int>(lpDrawItemStruct->itemID);
    if (nItem < 0 || nItem >= GetCount())
        return;
    CImageList* pImages = GetSystemImageList(1);
    int cxIcon = 0;
    int cyIcon = 0;
    if (pImages)
        ImageList_GetIconSize(*pImages, &cxIcon, &cyIcon);
    DrawTextItem(lpDrawItemStruct, ICON_LEFT + cxIcon + TEXT_GAP);
    if (pImages && (lpDrawItemStruct->itemAction & (ODA_DRAWENTIRE | ODA_SELECT))) {
        const RECT& rect = lpDrawItemStruct->rcItem;
        const int nTop = rect.top + (rect.bottom - rect.top - cyIcon) / 2;
        pImages->Draw(CDC::FromHandle(lpDrawItemStruct->hDC), IconOf(nItem), CPoint(rect.left + ICON_LEFT, nTop),
            ILD_TRANSPARENT);
    }
}

void CIconCheckListBox::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    CCheckListBox::MeasureItem(lpMeasureItemStruct);
    int cxIcon = 0;
    int cyIcon = 0;
    if (CImageList* pImages = GetSystemImageList(1))
        ImageList_GetIconSize(*pImages, &cxIcon, &cyIcon);
    lpMeasureItemStruct->itemHeight
        = static_cast<UINT>(std::max<int>(lpMeasureItemStruct->itemHeight, cyIcon)) + ITEM_MARGIN;
}
