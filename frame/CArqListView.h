#pragma once

// CArqListView in its first form: the documents of the selected node, by
// name, in a report list (ID 101). Moving the focus to a row announces it to
// the catalog view's frame with "ALM ItemChanged" (lParam the row + 1; 0 for none).

#include "frame/CPaneView.h"

#include "platform/framework/CListCtrl.h"

class CNodeRec;

class CArqListView : public CPaneView {
    DECLARE_DYNCREATE(CArqListView)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT LIST_ID = 101;

    CArqListView() = default;

    CListCtrl& GetListCtrl() { return m_list; }
    // Shows the documents of pNode (none for null).
    void Fill(const CNodeRec* pNode);

protected:
    BOOL CreateControl() override;
    CWnd* GetControl() override { return &m_list; }

    void OnItemChanged(NMHDR* pNotify, LRESULT* pResult);

private:
    CListCtrl m_list;
};
