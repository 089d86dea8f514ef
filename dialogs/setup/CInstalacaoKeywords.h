#pragma once

// The set-up wizard's keywords page: a read-only copy of the organisation
// tree, the selected group's name, and room for the pages that give a group
// its keywords, search kind and folders. Leaving the page remembers the
// selected group, which is selected again when the page comes back while it
// still exists. Next asks before going on when no group has a keyword or a
// folder.
//
// FIXME: the group pages (keywords, search kind, folders) that edit the
// selected group's node belong over IDC_SHEET_PLACEHOLDER; until they exist
// the nodes keep what the organisation page gave them.

#include "dialogs/setup/CInstPropPage.h"
#include "dialogs/setup/COrgMirrorTreeCtrl.h"
#include "ui/CLabelCtrl.h"

#include "platform/framework/CImageList.h"

class CInstalacaoKeywords : public CInstPropPage {
    DECLARE_MESSAGE_MAP()

public:
    CInstalacaoKeywords();

    BOOL OnSetActive() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    LRESULT OnWizardBack() override;
    LRESULT OnWizardNext() override;

private:
    void OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult);
    void ShowName(HTREEITEM hItem);

    COrgMirrorTreeCtrl m_mirror;
    CImageList m_images;
    CLabelCtrl m_name;
    HTREEITEM m_hRemembered { nullptr }; // the organisation tree's item last selected
};
