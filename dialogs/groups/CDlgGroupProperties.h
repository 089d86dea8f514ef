#pragma once

// A group's properties in five pages: made for a new group under a parent,
// or shown for an existing node. OK names and creates a new group first
// (refusing the names of the two fixed top nodes at the top level and a
// sibling's name, both without regard to case, so the dialog agrees with the
// tree's renaming), then stores every page into the group. A fixed group is
// shown but never written, and Cancel writes nothing. Its template is
// resource IDD_GROUP_PROPERTIES.

#include "dialogs/groups/GroupPropertySheets.h"
#include "ui/CNodePathCtrl.h"

#include "platform/framework/CDialog.h"

#include <memory>

class CCmdUI;
class CNodeRec;

class CDlgGroupProperties : public CDialog {
    DECLARE_MESSAGE_MAP()

public:
    // Characters (bytes) a group name may have: its field less the terminator.
    static constexpr int NAME_LIMIT = 30;

    explicit CDlgGroupProperties(CWnd* pParent = nullptr);
    ~CDlgGroupProperties() override;

    // Runs the dialog for a copy of node (with its parent unless it is fixed); DoModal's result.
    INT_PTR ShowForNode(const CNodeRec& node);
    // Runs the dialog for a new group under a copy of parent; DoModal's result.
    INT_PTR ShowForNewGroup(const CNodeRec& parent);
    // After IDOK: the group shown or made.
    const CNodeRec* GetGroupNode() const { return m_pGroup.get(); }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam);
    void OnUpdateOK(CCmdUI* pCmdUI);

private:
    // The checks and the creation of a new group; FALSE keeps the dialog open.
    BOOL CreateGroup();
    // TRUE when the name is refused under the parent.
    BOOL IsNameTaken(const CString& strName) const;
    void ShowIcon(int nImage);

    CNodePathCtrl m_nodePath;
    CString m_strName;
    CPropertySheetGrupos m_sheet;
    std::unique_ptr<CNodeRec> m_pGroup;  // null while a new group is being made
    std::unique_ptr<CNodeRec> m_pParent; // null for a fixed group
    HICON m_hIcon { nullptr };
};
