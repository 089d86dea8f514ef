#pragma once

// A group's keywords and search type in two pages, under the group's path.
// OK stores both pages unless the group is fixed; Cancel writes nothing. Its
// template is resource IDD_KEYWORD_PROPERTIES.

#include "dialogs/groups/GroupPropertySheets.h"
#include "ui/CNodePathCtrl.h"

#include "platform/framework/CDialog.h"

#include <memory>

class CNodeRec;

class CDlgKeywordProperties : public CDialog {
    DECLARE_MESSAGE_MAP()

public:
    explicit CDlgKeywordProperties(CWnd* pParent = nullptr);
    ~CDlgKeywordProperties() override;

    // Runs the dialog for a copy of node; DoModal's result.
    INT_PTR ShowForNode(const CNodeRec& node);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam);

private:
    CNodePathCtrl m_nodePath;
    CPropertySheetPalavrasChaves m_sheet;
    std::unique_ptr<CNodeRec> m_pNode;
};
