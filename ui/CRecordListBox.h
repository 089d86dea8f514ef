#pragma once

// An owner-drawn list box of catalog records (systems, groups, documents):
// each item's data is a record object the list box owns and deletes with
// the item. Nodes are drawn with their path, documents with their icon and
// path.

#include "platform/framework/CListBox.h"
#include "store/CatalogTypes.h"

class CCatalogRecord;

class CRecordListBox : public CListBox {
    DECLARE_DYNAMIC(CRecordListBox)

public:
    CRecordListBox() = default;

    // Adds an item for pRecord, which the list box then owns. The index, or
    // LB_ERR (the record is deleted then).
    int AddRecord(CCatalogRecord* pRecord);
    CCatalogRecord* GetRecord(int nIndex) const;
    // The last item whose record has ref's block and slot; -1 when none.
    int FindItemByData(CRecordRef ref) const;
    // Deletes the selected items, freeing their records.
    void DeleteSelected();

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct) override;
};
