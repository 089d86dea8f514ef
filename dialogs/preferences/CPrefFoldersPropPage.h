#pragma once

// The folders page of the documents sheet: where documents are catalogued.
// Two boxes make the mode: the local disks (with the folders the monitor
// never offers new documents from) and chosen folders (with their list);
// each list and its buttons work only while its box is checked, and OK
// empties the list of an unchecked box. Folders of either list that the
// page does not show are kept on OK after the shown ones: watched folders
// that cannot be reached now, and catalogued folders without a drive letter
// (a share no letter is mapped to). Catalogued folders go back in their
// share form with a final "\". Checking chosen folders with none given is
// refused. Its template is resource IDD_PREF_FOLDERS.

#include "platform/base/CollectionArrays.h"
#include "platform/framework/CPropertyPage.h"
#include "store/PreferenceSheets.h"
#include "ui/CFolderListCtrl.h"
#include "ui/CHotButton.h"
#include "ui/CPopupFolderPicker.h"

class CPrefFoldersPropPage : public CPropertyPage {
    DECLARE_MESSAGE_MAP()

public:
    // The page reads and writes data, which outlives it.
    explicit CPrefFoldersPropPage(CPrefFoldersPageData& data);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnApply() override;
    void OnAddWatched();
    void OnRemoveWatched();
    void OnAddCatalogued();
    void OnRemoveCatalogued();
    LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam);

private:
    CPrefFoldersPageData& m_data;
    CFolderListCtrl m_watched;
    CFolderListCtrl m_catalogued;
    CHotButton m_addWatched;
    CHotButton m_addCatalogued;
    CPopupFolderPicker m_picker; // one for both buttons
    CStringArray m_watchedUnlisted;
    CStringArray m_cataloguedUnlisted;
};
