#pragma once

// The default-system page of the new-document monitor sheet: the system new
// documents are catalogued in, shown as its path and chosen from the main
// catalog's systems in a popup, and whether the monitor starts at log-in. A
// catalog without systems leaves the choice button disabled and the system
// as it came. Its template is resource IDD_PREF_DEFAULT_SYSTEM.

#include "platform/framework/CPropertyPage.h"
#include "store/PreferenceSheets.h"
#include "ui/CHotButton.h"
#include "ui/CNodePathCtrl.h"

class CCatalog;

class CPrefDefaultSystemPropPage : public CPropertyPage {
    DECLARE_MESSAGE_MAP()

public:
    // The page reads and writes data, which outlives it; a system picked
    // replaces data's system at once (the sheet's owner copies it out on OK only).
    explicit CPrefDefaultSystemPropPage(CPrefDefaultSystemPageData& data);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnChooseSystem();

private:
    CPrefDefaultSystemPageData& m_data;
    CCatalog* m_pCatalog { nullptr }; // the host's main catalog, when it has systems
    CNodePathCtrl m_path;
    CHotButton m_choose;
    bool m_bChoosing { false };
};
