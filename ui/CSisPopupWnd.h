#pragma once

// The popup window of the systems (window class "SisPopupWnd"): create it,
// fill its list with FillItems, allow right clicks for the row menu, then
// track it; it returns a CNodeRec the caller deletes, or null.

#include "ui/CPopupWnd.h"
#include "ui/CSisPopupCtrl.h"

class CSisPopupWnd : public CPopupWnd {
public:
    CSisPopupWnd();

    CPopupCtrl* GetPopupCtrl() override { return &m_list; }
    CSisPopupCtrl& GetSisList() { return m_list; }

private:
    CSisPopupCtrl m_list;
};
