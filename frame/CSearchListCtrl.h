#pragma once

// CSearchListCtrl: the search results window's list: the family's cells and
// commands on the documents the last search found. It takes no drops. Its
// document menu also leads to the groups a document is linked to: choosing
// one shows that group in the catalog view and puts the window away.
// Keys: Alt+Enter the properties, Ctrl+T the processing dialog, F5 the
// results read again.

#include "frame/CArqListCtrl.h"

class CSearchListCtrl : public CArqListCtrl {
    DECLARE_DYNCREATE(CSearchListCtrl)
    DECLARE_MESSAGE_MAP()

public:
    CSearchListCtrl() = default;

    // Enter and Escape reach the list, not the dialog.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    DROPEFFECT DropOver(CKadDragObj*, UINT, int, int) override { return DROPEFFECT_NONE; }
    BOOL DropTake(CKadDragObj*, DROPEFFECT) override { return FALSE; }

protected:
    // A document row's menu at point (screen); nothing elsewhere.
    void OnContextMenu(CWnd* pWnd, CPoint point);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnEnterKey() override;
};
