// Bringing the document list in line with the catalog after a change: the
// record sets are read again and merged into the rows, so that the rows that
// stay keep their focus, selection and marks and the list does not move
// under the user.
//
// The merge walks the rows and the new records together. Both are in sort
// order, and every step either keeps a row (same record), inserts the new
// record before it, or removes it; so the rows end up holding exactly the new
// records, in their order, whatever the old rows held. A record whose sort
// place changed (a renamed document) is removed and inserted again; the state
// its row had is given back to the new row afterwards.

#include "frame/CArqListCtrl.h"

#include "frame/AppMessages.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CatalogCompare.h"

#include "platform/controls/ListViewControl.h"
#include "platform/framework/CRect.h"
#include "platform/framework/CSize.h"
#include "platform/framework/CWaitCursor.h"

#include <algorithm>
#include <optional>
#include <set>
#include <utility>

namespace {

using RefKey = std::pair<CATBLOCK, LONG>;

RefKey KeyOf(const CCatalogRecord& record)
{
    return { record.GetRef().nBlock, record.GetRef().nSlot };
}

} // namespace

// What the user sees of the rows before a merge, by record.
struct CArqListCtrl::RowPlace {
    std::set<RefKey> selected;
    std::optional<RefKey> focused;
    std::optional<RefKey> top; // the first row in view
    int nTop { 0 };
};

CArqListCtrl::RowPlace CArqListCtrl::SaveRowPlace() const
{
    RowPlace place;
    for (int nRow : GetSelectedRows())
        place.selected.insert(KeyOf(*GetRowRecord(nRow)));
    if (const CCatalogRecord* pFocused = GetRowRecord(GetFocusedRow()))
        place.focused = KeyOf(*pFocused);
    place.nTop = static_cast<int>(::SendMessage(m_hWnd, LVM_GETTOPINDEX, 0, 0));
    if (const CCatalogRecord* pTop = GetRowRecord(place.nTop))
        place.top = KeyOf(*pTop);
    return place;
}

void CArqListCtrl::RestoreRowPlace(const RowPlace& place)
{
    const int nCount = GetItemCount();
    int nTop = std::min(place.nTop, nCount - 1);
    for (int nRow = 0; nRow < nCount; ++nRow) {
        const RefKey key = KeyOf(*GetRowRecord(nRow));
        if (place.selected.contains(key) && !GetItemState(nRow, LVIS_SELECTED))
            SetItemState(nRow, LVIS_SELECTED, LVIS_SELECTED);
        // A row removed on the way passed its focus on: the record's own row takes it back.
        if (place.focused == key && !GetItemState(nRow, LVIS_FOCUSED))
            SetItemState(nRow, LVIS_FOCUSED, LVIS_FOCUSED);
        if (place.top == key)
            nTop = nRow;
    }
    if (nCount == 0)
        return;
    if (GetFocusedRow() < 0)
        SetItemState(0, LVIS_FOCUSED, LVIS_FOCUSED);
    if (GetSelectedCount() == 0)
        SetItemState(GetFocusedRow(), LVIS_SELECTED, LVIS_SELECTED);
    // The row that was first in view is first again.
    const int nNowTop = static_cast<int>(::SendMessage(m_hWnd, LVM_GETTOPINDEX, 0, 0));
    CRect rcTop;
    CRect rcNowTop;
    if (nTop >= 0 && nTop != nNowTop && GetItemRect(nTop, &rcTop, LVIR_BOUNDS)
        && GetItemRect(nNowTop, &rcNowTop, LVIR_BOUNDS))
        Scroll(CSize(0, rcTop.top - rcNowTop.top));
}

void CArqListCtrl::MergeRows(const std::vector<CCatalogRecord*>& records)
{
    int nRow = 0;
    int nEnd = GetItemCount();
    size_t nNext = 0;
    const CSortSpec spec = GetSortSpec();
    while (nRow < nEnd && nNext < records.size()) {
        CCatalogRecord* pNew = records[nNext];
        const CCatalogRecord* pOld = GetRowRecord(nRow);
        if (pOld && pOld->GetRef() == pNew->GetRef()) {
            SetItemData(nRow, reinterpret_cast<DWORD_PTR>(pNew));
            if (AreStateImagesOn() && KindOf(pNew) == RowKind::Document)
                SetItemState(nRow, GetStateImage(*static_cast<CDocumentRec*>(pNew)), STATE_IMAGE_MASK);
            // The preview follows the focused row's record, which is a new object now.
            if (GetItemState(nRow, LVIS_FOCUSED)) {
                if (CWnd* pParent = GetParent())
                    pParent->SendMessage(g_nMsgItemChanged, 0, reinterpret_cast<LPARAM>(pNew));
            }
            ++nRow;
            ++nNext;
        } else if (!pOld || CompareRecords(pNew, pOld, spec) < 0) {
            InsertRow(nRow++, pNew);
            ++nEnd;
            ++nNext;
        } else {
            DeleteItem(nRow);
            --nEnd;
        }
    }
    while (nEnd > nRow)
        DeleteItem(--nEnd);
    while (nNext < records.size())
        InsertRow(nRow++, records[nNext++]);
}

void CArqListCtrl::TakeRecordSets(std::unique_ptr<CNodeRecArray> pNodes, std::unique_ptr<CDocumentRecArray> pDocuments)
{
    const CSortSpec spec = GetSortSpec();
    std::vector<CCatalogRecord*> records;
    auto append = [&records](const auto& pSet) {
        if (pSet) {
            for (const auto& pRecord : *pSet)
                records.push_back(pRecord.get());
        }
    };
    if (spec.bAscending) {
        append(pNodes);
        append(pDocuments);
    } else {
        append(pDocuments);
        append(pNodes);
    }
    CWaitCursor wait;
    SetRedraw(FALSE);
    m_nIdleCursor = 0;
    const RowPlace place = SaveRowPlace();
    // The old sets live until no row points into them.
    MergeRows(records);
    m_pFill.reset();
    m_pNodes = std::move(pNodes);
    m_pDocuments = std::move(pDocuments);
    RestoreRowPlace(place);
    SetRedraw(TRUE);
    Invalidate();
    UpdateWindow();
}

BOOL CArqListCtrl::AreRowsSettled() const
{
    const size_t nSets = (m_pNodes ? m_pNodes->size() : 0) + (m_pDocuments ? m_pDocuments->size() : 0);
    return !IsFilling() && static_cast<size_t>(GetItemCount()) == nSets;
}

void CArqListCtrl::RefreshRows(CNodeRec* pNode)
{
    const bool bSameNode = pNode && m_pShownNode && pNode->GetRef() == m_pShownNode->GetRef();
    if (!bSameNode || !AreRowsSettled() || GetItemCount() == 0) {
        Fill(pNode);
    } else {
        CCatalog* pCatalog = pNode->GetCatalog();
        const BOOL bHeld = pCatalog && pCatalog->Acquire();
        m_pShownNode.reset(pNode->Clone());
        const CSortSpec spec = GetSortSpec();
        auto pNodes = std::make_unique<CNodeRecArray>(m_pShownNode->GetSortedChildren(&spec));
        auto pDocuments = std::make_unique<CDocumentRecArray>(m_pShownNode->GetFilteredDocuments(&spec, &m_filter));
        TakeRecordSets(std::move(pNodes), std::move(pDocuments));
        if (bHeld)
            pCatalog->Release();
    }
    // An emptied list has no row to show: the preview clears.
    if (GetItemCount() == 0) {
        if (CWnd* pParent = GetParent())
            pParent->SendMessage(g_nMsgItemChanged, 0, 0);
    }
}

void CArqListCtrl::ReloadDocuments(CDocumentRecArray documents)
{
    if (m_pShownNode || m_pNodes || !AreRowsSettled() || GetItemCount() == 0) {
        FillWithDocuments(std::move(documents));
        return;
    }
    CCatalog* pCatalog = documents.empty() ? nullptr : documents.front()->GetCatalog();
    const BOOL bHeld = pCatalog && pCatalog->Acquire();
    PrepareDocumentSet(documents, GetSortSpec());
    TakeRecordSets(nullptr, std::make_unique<CDocumentRecArray>(std::move(documents)));
    if (bHeld)
        pCatalog->Release();
}
