#pragma once

// The web catalog's settings: shows the registered catalog's name and
// renames it on the directory server (through CDlgWAChangeCatalog, which
// asks for the password when none is stored and stores the new name). A new
// name that is empty or differs from the current one only in case is
// refused before any request. Ends with IDOK once the server renamed it.

#include "ui/CDibButton.h"
#include "ui/CLabelCtrl.h"

#include "platform/framework/CDialog.h"

class CWASettings;

class CDlgWACatalogSettings : public CDialog {
public:
    explicit CDlgWACatalogSettings(CWASettings& settings, CWnd* pParent = nullptr);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    // Shows nIdMessage (information icon) and puts the focus on the new name.
    void RefuseNewName(UINT nIdMessage);

    CWASettings& m_settings;
    CLabelCtrl m_title;
    CLabelCtrl m_note;
    CDibButton m_picture;
};
