#pragma once

// The owner's list of access profiles: a check list whose checks are the
// profiles' enabled flags, with New, Change and Delete (the default profile
// cannot be deleted). New and Change run the profile wizard; a finished
// wizard leaves its profile's row checked, a cancelled one leaves the row as
// it was. The dialog works on copies: OK (with at least one row checked)
// replaces the settings' profiles by the list in its order and saves them
// (a failed save is reported; the dialog closes anyway); Cancel changes nothing.

#include "webaccess/dialogs/CProfilesListBox.h"

#include "ui/CImageButton.h"
#include "ui/CLabelCtrl.h"

#include "platform/framework/CDialog.h"
#include "platform/framework/CImageList.h"

class CWASettings;

class CDlgWAEditProfile : public CDialog {
    DECLARE_MESSAGE_MAP()

public:
    explicit CDlgWAEditProfile(CWASettings& settings, CWnd* pParent = nullptr);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnNewProfile();
    void OnChangeProfile();
    void OnDeleteProfile();
    void OnSelectionChange();

private:
    // The profiles of the list but the row nExcept (-1: none).
    std::vector<const CWAProfiles*> OtherProfiles(int nExcept) const;
    // Change needs a selected row; Delete one that is not the default profile.
    void UpdateButtons();

    CWASettings& m_settings;
    CProfilesListBox m_list;
    CLabelCtrl m_label;
    CImageButton m_legendChecked;
    CImageButton m_legendUnchecked;
    CImageList m_images;
};
