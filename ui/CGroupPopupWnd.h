#pragma once

// The popup window of a document's groups (window class "GroupPopupWnd"):
// create it, fill its list with FillGroups, then track it; it returns null.

#include "ui/CGroupPopupCtrl.h"
#include "ui/CPopupWnd.h"

class CGroupPopupWnd : public CPopupWnd {
public:
    CGroupPopupWnd();

    CPopupCtrl* GetPopupCtrl() override { return &m_list; }
    CGroupPopupCtrl& GetGroupList() { return m_list; }

private:
    CGroupPopupCtrl m_list;
};
