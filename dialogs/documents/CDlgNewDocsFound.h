#pragma once

// Tells that new documents disappeared (deleted, moved or renamed) before
// they were catalogued. Its template is resource IDD_NEW_DOCS_FOUND.

#include "platform/framework/CDialog.h"

class CDlgNewDocsFound : public CDialog {
public:
    CDlgNewDocsFound(int nCount, CWnd* pParent = nullptr);

protected:
    BOOL OnInitDialog() override;

private:
    int m_nCount;
};
