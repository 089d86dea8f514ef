#pragma once

// A payload of catalog records: the items dragged or copied (systems, groups
// and documents) with the node they were taken from. The same payload travels
// through the clipboard in the registered format "Archivora CBFormat", whose
// bytes BuildCatalogPayload writes.
//
// Ownership: a payload a drag source fills points at records the source keeps
// (its rows); one filled by PasteFromClipboard owns its records and deletes
// them with itself.

#include "platform/base/CArray.h"
#include "store/DocumentOperations.h"
#include "ui/CKadDragObj.h"

class CCatalog;
class CCatalogRecord;

struct DragItem {
    CCatalogRecord* pRecord { nullptr }; // its block and slot name the entry
    LONG nReserved { 0 };
    int nItem { 0 }; // the list row it came from; 0 from the clipboard or a popup
};

class CKadDragObjReg : public CKadDragObj {
    DECLARE_DYNAMIC(CKadDragObjReg)

public:
    CKadDragObjReg();
    ~CKadDragObjReg() override;

    /* Filling. */

    // The node the items come from (null: none); owned only when the payload owns its records.
    void SetSource(CCatalogRecord* pSource) { m_pSource = pSource; }
    CCatalogRecord* GetSource() const { return m_pSource; }
    void AddItem(CCatalogRecord* pRecord, int nItem);
    int GetItemCount() const { return m_items.GetSize(); }
    const DragItem& GetItem(int nIndex) const { return m_items[nIndex]; }
    BOOL OwnsRecords() const { return m_bOwns; }
    // The references of the source and the items, as the drop routine takes them.
    CCatalogPayload ToPayload(LONG nOperation) const;

    /* The clipboard. */

    // Puts the payload on the clipboard with nOperation (PAYLOAD_COPY or
    // PAYLOAD_MOVE). FALSE, with the clipboard unchanged, when it cannot.
    BOOL CopyToClipboard(int nOperation);
    // Fills this empty payload from the clipboard, checked against the main
    // catalog of the host services: its source must still be a system or
    // group, each item a system, group or document (others are left out
    // silently). Returns the operation stored, or 0 when nothing is pasted:
    // the clipboard holds no payload (silently), the source is gone (message
    // 4255) or the data is damaged (message 4256; nothing is kept).
    int PasteFromClipboard();
    // Empties the clipboard when it still holds the payload this program put
    // there last, so that records named by block and slot are not pasted into
    // a catalog that was rebuilt, restored or set up again since.
    static void ForgetClipboardPayload();
    // Whether the clipboard holds a payload (IsClipboardFormatAvailable's
    // test) and, with bNodeRequired, one of its items, looked at from the
    // last, is still a system or group of the main catalog.
    static BOOL HasClipboardPayload(BOOL bNodeRequired);

private:
    void DeleteRecords();
    // Fills the items from parsed references that name records of pCatalog; FALSE when none does.
    BOOL AddCatalogItems(CCatalog* pCatalog, const CCatalogPayload& payload);

    CCatalogRecord* m_pSource { nullptr };
    CArray<DragItem> m_items;
    BOOL m_bOwns { FALSE };
};
