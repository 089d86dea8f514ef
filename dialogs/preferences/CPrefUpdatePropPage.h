#pragma once

// The update page of the general preference sheet: what an update looks at
// first (the catalogued places, the fast-update folders, or both) and the
// list of fast-update folders, added from My Computer and removed by
// selection. Folders that cannot be reached now (an unplugged disk, an
// unmounted share) are not listed but kept: OK hands them back after the
// listed ones, so a page that was only looked at loses nothing. Drive roots
// are listed. Its template is resource IDD_PREF_UPDATE.

#include "platform/base/CollectionArrays.h"
#include "platform/framework/CPropertyPage.h"
#include "store/PreferenceSheets.h"
#include "ui/CFolderListCtrl.h"
#include "ui/CHotButton.h"
#include "ui/CPopupFolderPicker.h"

class CPrefUpdatePropPage : public CPropertyPage {
    DECLARE_MESSAGE_MAP()

public:
    // The page reads and writes data, which outlives it.
    explicit CPrefUpdatePropPage(CPrefUpdatePageData& data);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnAddFolder();
    void OnRemoveFolders();
    LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam);

private:
    CPrefUpdatePageData& m_data;
    CFolderListCtrl m_folders;
    CHotButton m_add;
    CPopupFolderPicker m_picker;
    CStringArray m_unreachable; // folders kept without being listed
};
