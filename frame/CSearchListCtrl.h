#pragma once

// CSearchListCtrl: the search results window's list: the family's cells and
// commands on the documents the last search found.

#include "frame/CArqListCtrl.h"

class CSearchListCtrl : public CArqListCtrl {
    DECLARE_DYNCREATE(CSearchListCtrl)

public:
    CSearchListCtrl() = default;

    // Enter and Escape reach the list, not the dialog.
    BOOL PreTranslateMessage(MSG* pMsg) override;
};
