#include "ui/CRecordListBox.h"

#include "platform/framework/CDC.h"
#include "platform/gdi/Icons.h"
#include "platform/gdi/SysColors.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "ui/DocumentIcons.h"
#include "ui/NodePath.h"

#include <memory>
#include <vector>

IMPLEMENT_DYNAMIC(CRecordListBox, CListBox)

namespace {

// A document: its icon in a node-path cell, then its path.
void DrawDocument(CDC* pDC, const CDocumentRec& document, const RECT& rect)
{
    const int nTop = rect.top + (rect.bottom - rect.top - NODE_PATH_ICON_SIZE) / 2;
    DrawIconEx(pDC->GetSafeHdc(), rect.left, nTop, GetDocumentIcon(document), NODE_PATH_ICON_SIZE, NODE_PATH_ICON_SIZE,
        0, nullptr, DI_NORMAL);
    RECT text = rect;
    text.left += NODE_PATH_ICON_SIZE + NODE_PATH_ICON_GAP;
    CString strPath;
    document.GetFullPath(strPath);
    pDC->DrawText(strPath, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

} // namespace

int CRecordListBox::AddRecord(CCatalogRecord* pRecord)
{
    const int nIndex = AddString("");
    if (nIndex < 0) {
        delete pRecord;
        return LB_ERR;
    }
    SetItemDataPtr(nIndex, pRecord);
    return nIndex;
}

CCatalogRecord* CRecordListBox::GetRecord(int nIndex) const
{
    void* pData = GetItemDataPtr(nIndex);
    return pData == reinterpret_cast<void*>(static_cast<INT_PTR>(LB_ERR)) ? nullptr
                                                                          : static_cast<CCatalogRecord*>(pData);
}

int CRecordListBox::FindItemByData(CRecordRef ref) const
{
    for (int nIndex = GetCount() - 1; nIndex >= 0; --nIndex) {
        const CCatalogRecord* pRecord = GetRecord(nIndex);
        if (pRecord && pRecord->GetRef().nBlock == ref.nBlock && pRecord->GetRef().nSlot == ref.nSlot)
            return nIndex;
    }
    return -1;
}

void CRecordListBox::DeleteSelected()
{
    const int nSelected = GetSelCount();
    if (nSelected <= 0)
        return;
    std::vector<int> indexes(static_cast<std::size_t>(nSelected));
    const int nRead = GetSelItems(nSelected, indexes.data());
    for (int i = nRead - 1; i >= 0; --i)
        DeleteString(static_cast<UINT>(indexes[static_cast<std::size_t>(i)]));
}

void CRecordListBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    const int nItem = static_cast<int>(lpDrawItemStruct->itemID);
    if (nItem < 0 || nItem >= GetCount())
        return;
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    const RECT rect = lpDrawItemStruct->rcItem;
    if (lpDrawItemStruct->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) {
        const bool bSelected = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
        pDC->FillSolidRect(&rect, GetSysColor(bSelected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
        const COLORREF crOldText = pDC->SetTextColor(GetSysColor(bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        const int nOldMode = pDC->SetBkMode(TRANSPARENT);
        CCatalogRecord* pRecord = GetRecord(nItem);
        if (const auto* pNode = dynamic_cast<const CNodeRec*>(pRecord)) {
            RECT path = rect;
            DrawNodePath(pNode, pDC->GetSafeHdc(), &path);
        } else if (const auto* pDocument = dynamic_cast<const CDocumentRec*>(pRecord)) {
            DrawDocument(pDC, *pDocument, rect);
        }
        pDC->SetBkMode(nOldMode);
        pDC->SetTextColor(crOldText);
    }
    if (lpDrawItemStruct->itemAction & ODA_FOCUS)
        pDC->DrawFocusRect(&rect);
}

void CRecordListBox::DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct)
{
    delete static_cast<CCatalogRecord*>(reinterpret_cast<void*>(lpDeleteItemStruct->itemData));
    CListBox::DeleteItem(lpDeleteItemStruct);
}
