#pragma once

// The find dialog of the catalog views: the text to look for (offered from
// the find settings' history), the document text it is looked for in, how its
// words combine, and where the results go. It opens on the find settings;
// IDOK means the search was stored as the newest find and last find (and made
// the program's find criteria), ready for the caller to run. Cancel changes
// nothing. An empty text is refused with a message. Its template is resource
// IDD_FIND_FILES_HOST.

#include "platform/framework/CComboBox.h"
#include "platform/framework/CDialog.h"

class CCatalog;
class CFindSettings;

class CDlgFindFilesHost : public CDialog {
    DECLARE_MESSAGE_MAP()

public:
    // pCatalog: the catalog the settings' systems belong to.
    CDlgFindFilesHost(CFindSettings& settings, CCatalog* pCatalog, CWnd* pParent = nullptr);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    CFindSettings& m_settings;
    CCatalog* m_pCatalog;
    CComboBox m_text;
};
