#pragma once

// CLixeiraListCtrl: the recycle bin window's list. Its rows are the
// documents of the recycle-bin catalog; besides the family's cells it shows
// the bin state column (4116: "2", the "cannot be restored" picture, when the
// entry has no file in the system's bin) and the original folder (4117).

#include "frame/CArqListCtrl.h"

class CLixeiraListCtrl : public CArqListCtrl {
    DECLARE_DYNCREATE(CLixeiraListCtrl)
    DECLARE_MESSAGE_MAP()

public:
    CLixeiraListCtrl() = default;

    CString GetRowCellText(const CCatalogRecord* pRecord, LONG nColumnId) override;
    // Enter and Escape reach the list, not the dialog.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Catalog records dropped on the bin go there (confirmed), with their
    // files; so do files and folders dragged from a shell list (a folder
    // gives up its files that match the list's mask, and stays).
    DROPEFFECT DropOver(CKadDragObj* pPayload, UINT nKeyState, int x, int y) override;
    BOOL DropTake(CKadDragObj* pPayload, DROPEFFECT effect) override;

    // Whether a recycled entry's file can be brought back from the system's bin.
    static BOOL IsRestorable(const CDocumentRec& entry);

protected:
    // Enter opens the focused entry's properties, Delete deletes the
    // selection for good: the window's commands.
    void OnEnterKey() override;
    void OnDeleteKey() override;
    // A row's menu (restore, delete, properties) for the window.
    void OnContextMenu(CWnd* pWnd, CPoint point);
    // A double click on a row opens its properties.
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    // Ctrl+F the window's find dialog, F3 its Find next.
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
};
