#pragma once

// The shell folder list from which the user drags the selected items to the
// program's drop targets, as a payload of shell items relative to the shown
// folder, carrying the list's mask. A right click on a row opens the list's
// menu (IDR_SHELL_LIST_MENU), whose commands go to the window the list lives
// in (its nearest ancestor that is no child window). Esc during a drag
// cancels it; releasing the button over a target drops there.
//
// The tracker, the drag image and the payload exist only during a drag.

#include "ui/CShellFolderListCtrl.h"

#include <memory>

class CDragTracker;
class CImageList;
class CKadDragObjPIDL;

class CShellDragListCtrl : public CShellFolderListCtrl {
    DECLARE_MESSAGE_MAP()

public:
    CShellDragListCtrl();
    ~CShellDragListCtrl() override;

    // While a drag runs every message goes through its tracker first.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL IsDragging() const { return m_pTracker != nullptr; }

protected:
    void OnContextMenu(CWnd* pWnd, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnRightClick(NMHDR* pNotify, LRESULT* pResult);
    void OnBeginDrag(NMHDR* pNotify, LRESULT* pResult);

private:
    // Ends a drag that has its result: drops or cancels, then frees its parts.
    void FinishDrag();

    std::unique_ptr<CDragTracker> m_pTracker;
    std::unique_ptr<CImageList> m_pDragImage;
    std::unique_ptr<CKadDragObjPIDL> m_pPayload;
};
