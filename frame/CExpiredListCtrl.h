#pragma once

// CExpiredListCtrl: the expired documents window's list, with the family's
// cells; its state column (4116) shows each document's state picture as the
// document list's does, and its date column (4118) is edited with the
// calendar like the expiry date.

#include "frame/CArqListCtrl.h"

class CExpiredListCtrl : public CArqListCtrl {
    DECLARE_DYNCREATE(CExpiredListCtrl)

public:
    CExpiredListCtrl() = default;

    CString GetRowCellText(const CCatalogRecord* pRecord, LONG nColumnId) override;
    // Enter and Escape reach the list, not the dialog.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Dropped documents are asked their expiry date.
    DROPEFFECT DropOver(CKadDragObj* pPayload, UINT nKeyState, int x, int y) override;
    BOOL DropTake(CKadDragObj* pPayload, DROPEFFECT effect) override;
};
