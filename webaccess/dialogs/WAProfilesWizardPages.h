#pragma once

// The profile wizard's three pages (see CWAProfilesWizardPropSheet): the name
// and password, the groups the profile sees, and the transfers with the
// upload folder. Each keeps its values in public members, loaded before the
// wizard runs and read after Finish.

#include "webaccess/dialogs/CGroupCheckTreeCtrl.h"
#include "webaccess/profiles/CWAProfiles.h"

#include "ui/CDibButton.h"
#include "ui/CHotButton.h"
#include "ui/CImageButton.h"
#include "ui/CLabelCtrl.h"
#include "ui/CPIDLPopupCtrl.h"
#include "ui/CPopupFolderPicker.h"

#include "platform/framework/CImageList.h"
#include "platform/framework/CPropertyPage.h"

class CWAProfilesWizardPropSheet;

// The base of the pages: the header picture (1204), the dark blue title
// (1434) and the wizard buttons the page shows.
class CWAProfilesWizardPropPage : public CPropertyPage {
public:
    CWAProfilesWizardPropPage(CWAProfilesWizardPropSheet& sheet, UINT nIDTemplate, UINT nIDBitmap, DWORD dwButtons);

    // The page belongs to the default profile's wizard; set before the pages open.
    BOOL m_bDefaultProfile { FALSE };

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;

    // Shows the message with the stop icon and puts the focus on the field (none: 0).
    void Refuse(UINT nIdMessage, int nIdField = 0);
    // Shows the legend pictures: nImage of the check states beside each control.
    void ShowLegend(std::initializer_list<std::pair<CImageButton*, int>> legend);

    CWAProfilesWizardPropSheet& m_sheet;

private:
    CLabelCtrl m_title;
    CDibButton m_picture;
    UINT m_nIDBitmap;
    DWORD m_dwButtons;
    CImageList m_legendImages;
};

// The name and the password (typed twice), both unique among the profiles.
class CWAProfilesWizardNamePropPage : public CWAProfilesWizardPropPage {
public:
    explicit CWAProfilesWizardNamePropPage(CWAProfilesWizardPropSheet& sheet);

    CString m_strName;
    CString m_strPassword;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    LRESULT OnWizardNext() override;

private:
    CImageButton m_picture;
};

// Every group, or the groups checked in the catalog's tree.
class CWAProfilesWizardGroupsPropPage : public CWAProfilesWizardPropPage {
    DECLARE_MESSAGE_MAP()

public:
    explicit CWAProfilesWizardGroupsPropPage(CWAProfilesWizardPropSheet& sheet);

    CWAGroupRightsMap m_rights;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    LRESULT OnWizardNext() override;
    void OnCheckAll();
    void OnUncheckAll();
    void OnChoice();

private:
    // Shows the tree and its controls while the chosen-groups radio is checked.
    void ShowTree();

    CGroupCheckTreeCtrl m_tree;
    CLabelCtrl m_label;
    CImageButton m_legendWhole;
    CImageButton m_legendPart;
    CImageButton m_legendNone;
};

// Whether visitors may download and upload, and the folder uploads go to.
class CWAProfilesWizardDocTransfersPropPage : public CWAProfilesWizardPropPage {
    DECLARE_MESSAGE_MAP()

public:
    explicit CWAProfilesWizardDocTransfersPropPage(CWAProfilesWizardPropSheet& sheet);

    BOOL m_bMayDownload { FALSE };
    BOOL m_bMayUpload { FALSE };
    CString m_strFolder;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnWizardFinish() override;
    void OnUpload();
    void OnBrowse();

private:
    // Shows the folder's label, edit and browse button while uploads are allowed.
    void ShowFolder();

    CHotButton m_browse;
    // The fixed and network drives only.
    CPopupFolderPicker m_picker { CPIDLPopupCtrl::MASK_FIXED_NETWORK };
};
