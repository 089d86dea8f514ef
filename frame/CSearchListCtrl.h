#pragma once

// CSearchListCtrl: the search results window's list: the family's cells and
// commands on the documents the last search found. It takes no drops.

#include "frame/CArqListCtrl.h"

class CSearchListCtrl : public CArqListCtrl {
    DECLARE_DYNCREATE(CSearchListCtrl)

public:
    CSearchListCtrl() = default;

    // Enter and Escape reach the list, not the dialog.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    DROPEFFECT DropOver(CKadDragObj*, UINT, int, int) override { return DROPEFFECT_NONE; }
    BOOL DropTake(CKadDragObj*, DROPEFFECT) override { return FALSE; }
};
