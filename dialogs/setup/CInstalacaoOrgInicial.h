#pragma once

// The set-up wizard's organisation page: an editable tree of up to two
// branches, the groups of the chosen usage and the user's own groups (the
// usage file's head lines and one group per own name), kept in step with the
// computer usage page each time the page is shown, without losing the
// user's edits to a branch that stays. At Finish the branches become
// COrgItem trees.

#include "dialogs/setup/CInstPropPage.h"
#include "dialogs/setup/COrgTreeCtrl.h"
#include "frame/SetupResults.h"

#include "platform/framework/CImageList.h"

#include <map>
#include <memory>
#include <vector>

class CCmdUI;

class CInstalacaoOrgInicial : public CInstPropPage {
    DECLARE_MESSAGE_MAP()

public:
    CInstalacaoOrgInicial();

    COrgTreeCtrl& GetTree() { return m_tree; }
    // The two branches as records, null for a branch that is not there.
    void BuildOrgItems(std::unique_ptr<COrgItem>& pCustom, std::unique_ptr<COrgItem>& pUsage);

    BOOL OnSetActive() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    LRESULT OnWizardBack() override;

private:
    void AdjustUsageBranch();
    void AdjustOwnBranch();
    // The label of the group of an own name, in the resources' word order.
    static CString OwnNameLabel(const CString& strName);
    BOOL CheckRename(HTREEITEM hItem, const CString& strCurrent, const CString& strProposed);
    std::unique_ptr<COrgItem> BuildItem(HTREEITEM hItem);

    void OnAdd();
    void OnRename();
    void OnRemove();
    void OnUpdateSelected(CCmdUI* pCmdUI);
    void OnUpdateRemove(CCmdUI* pCmdUI);
    void OnTreeDeleteItem(NMHDR* pNMHDR, LRESULT* pResult);

    COrgTreeCtrl m_tree;
    CImageList m_images;
    CString m_strShownUsage;                     // the usage whose branch the tree shows
    std::map<CString, HTREEITEM> m_ownNameItems; // own name to its group
    HTREEITEM m_hUsageBranch { nullptr };
    HTREEITEM m_hOwnBranch { nullptr };
};
