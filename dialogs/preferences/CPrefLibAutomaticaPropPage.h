#pragma once

// The clean-up page of the general preference sheet: which passes the
// maintenance dialog proposes, and the main catalog's two clean-up lists,
// the name masks of temporary files (typed in a small dialog) and the
// clean-up folders (picked from My Computer; a drive root is refused, since
// maintenance empties a clean-up folder). The lists are written to the
// catalog on OK only, as one change: new entries first, old ones after, so
// a failure leaves the old lists (and says so). Clean-up folders the page
// does not list (missing, read-only or removable now) are kept. Without a
// main catalog the lists are disabled. Its template is resource IDD_PREF_CLEANUP.

#include "platform/base/CollectionArrays.h"
#include "platform/framework/CPropertyPage.h"
#include "store/PreferenceSheets.h"
#include "ui/CFolderListCtrl.h"
#include "ui/CHotButton.h"
#include "ui/CPopupFolderPicker.h"

class CCatalog;

class CPrefLibAutomaticaPropPage : public CPropertyPage {
    DECLARE_MESSAGE_MAP()

public:
    // The page reads and writes data, which outlives it.
    explicit CPrefLibAutomaticaPropPage(CPrefLibAutomaticaPageData& data);

    // Replaces the catalog's name masks and clean-up folders, as one change
    // that adds before it deletes; FALSE when it failed, the old lists kept.
    [[nodiscard]] static BOOL ReplaceCleanUpLists(
        CCatalog& catalog, const CStringArray& masks, const CStringArray& folders);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnAddMask();
    void OnRemoveMasks();
    void OnAddFolder();
    void OnRemoveFolders();
    LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam);

private:
    CPrefLibAutomaticaPageData& m_data;
    CCatalog* m_pCatalog { nullptr }; // the host's main catalog, when there is one
    CFolderListCtrl m_masks;
    CFolderListCtrl m_folders;
    CHotButton m_addFolder;
    CPopupFolderPicker m_picker;
    CStringArray m_unlisted; // clean-up folders kept without being listed
};
