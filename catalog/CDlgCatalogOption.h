#pragma once

// The one-text option dialog of the automatic-library preferences: it shows
// m_strText (empty at first) for editing and keeps the edited text when the
// user presses OK. Its template is resource IDD_CATALOG_OPTION.

#include "platform/framework/CDialog.h"

class CDlgCatalogOption : public CDialog {
public:
    explicit CDlgCatalogOption(CWnd* pParent = nullptr);

    CString m_strText;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
