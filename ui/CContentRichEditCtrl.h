#pragma once

// The read-only rich edit of the content preview. Ctrl+A selects all,
// Ctrl+C copies and Ctrl+D asks the parent for the document's description
// (ID_PREVIEW_DESCRIPTION); a right click shows the preview menu with the
// parent as the owner of its commands. The focus stays with the parent
// unless the parent hands it over.

#include "platform/framework/CRichEditCtrl.h"

class CContentRichEditCtrl : public CRichEditCtrl {
    DECLARE_DYNAMIC(CContentRichEditCtrl)
    DECLARE_MESSAGE_MAP()

public:
    CContentRichEditCtrl() = default;

    // Takes Ctrl+A, Ctrl+C and Ctrl+D before they reach the control.
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void OnSetFocus(CWnd* pOldWnd);
    void OnRButtonUp(UINT nFlags, CPoint point);
};
