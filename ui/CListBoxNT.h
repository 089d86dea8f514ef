#pragma once

// The base of the list boxes whose items each carry a record on the heap:
// the list owns the records and deletes each with its item (when the item is
// removed or the list destroyed). Records derive from CListItemRecord.

#include "platform/framework/CListBox.h"

// What CListBoxNT items carry; derived lists add their fields.
struct CListItemRecord {
    virtual ~CListItemRecord() = default;
};

class CListBoxNT : public CListBox {
    DECLARE_DYNAMIC(CListBoxNT)

public:
    CListBoxNT() = default;

    // Deletes the item's record, then the list box's own handling.
    void DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct) override;

protected:
    // The record of an item; nullptr for a bad index or an item without one.
    CListItemRecord* GetRecord(int nIndex) const;
};
