#pragma once

// The set-up wizard's keywords page: a read-only copy of the organisation
// tree, the selected group's name, and over IDC_SHEET_PLACEHOLDER the pages
// that give the selected group its keywords, search kind and folders. What
// the pages show goes into the organisation tree's item when another group
// is selected and when the page is left. Leaving the page remembers the
// selected group, which is selected again when the page comes back while it
// still exists. Next asks before going on when no group has a keyword or a
// folder.

#include "dialogs/groups/GroupPropertySheets.h"
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
    // The idle pass reaches the group pages too, which enable their buttons through it.
    LRESULT OnKickIdleWithGroup(WPARAM wParam, LPARAM lParam);
    void OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult);
    void ShowName(HTREEITEM hItem);
    // The pages' values into, and out of, the organisation tree's item of hItem (a mirror item).
    void StoreGroup(HTREEITEM hItem);
    void LoadGroup(HTREEITEM hItem);

    COrgMirrorTreeCtrl m_mirror;
    CImageList m_images;
    CLabelCtrl m_name;
    CPropertySheetInstGrupos m_groupSheet;
    HTREEITEM m_hShown { nullptr };      // the mirror item whose values the pages show
    HTREEITEM m_hRemembered { nullptr }; // the organisation tree's item last selected
};
