#pragma once

// The web access setup wizard's catalog pages: new or existing catalog, the
// new catalog, the existing catalog (chosen from the account's list through
// the link), and the upload folder of the default profile (see
// CWASetupWizardPropSheet for the road through the pages).

#include "webaccess/directory/CWALinkStatic.h"
#include "webaccess/directory/CWASetupPropPage.h"

#include "ui/CHotButton.h"
#include "ui/CImageButton.h"
#include "ui/CLabelCtrl.h"
#include "ui/CPIDLPopupCtrl.h"
#include "ui/CPopupFolderPicker.h"

// Page 8: a new catalog registration or an existing one.
class CWASetupCatalogChoicePropPage : public CWASetupPropPage {
public:
    explicit CWASetupCatalogChoicePropPage(CWASetupWizardPropSheet& sheet);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    LRESULT OnWizardNext() override;

private:
    CLabelCtrl m_newLabel;
    CLabelCtrl m_existingLabel;
};

// Page 9: the new catalog's name and the default profile's password (typed
// twice). Back leads to the account owner for a new account, else to the
// catalog choice.
class CWASetupNewCatalogPropPage : public CWASetupPropPage {
public:
    explicit CWASetupNewCatalogPropPage(CWASetupWizardPropSheet& sheet);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    LRESULT OnWizardNext() override;

private:
    CImageButton m_picture;
};

// Page 10: the existing catalog's name and code and the default profile's
// password (typed twice); the link lists the account's catalogs to choose from.
class CWASetupCatalogPropPage : public CWASetupPropPage {
public:
    explicit CWASetupCatalogPropPage(CWASetupWizardPropSheet& sheet);

    // Lists the catalogs of the login page's account; the chosen one's name
    // and code go into the fields.
    void OnChooseCatalog();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    LRESULT OnWizardNext() override;

private:
    CImageButton m_picture;
    CWALinkStatic m_link;
};

// Page 11: the folder that receives uploads; Next needs a usable, writable
// folder and offers to create a missing one. Back leads to the new catalog
// when one is registered, else to the existing catalog.
class CWASetupTargetFolderPropPage : public CWASetupPropPage {
    DECLARE_MESSAGE_MAP()

public:
    explicit CWASetupTargetFolderPropPage(CWASetupWizardPropSheet& sheet);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    LRESULT OnWizardNext() override;
    void OnBrowse();

private:
    CHotButton m_browse;
    CImageButton m_picture;
    // The fixed and network drives only.
    CPopupFolderPicker m_picker { CPIDLPopupCtrl::MASK_FIXED_NETWORK };
};
