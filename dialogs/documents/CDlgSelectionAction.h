#pragma once

// Asks whether to go on with an action on a selection of catalog entries or
// files: the text names them, the caption and the picture say whether they go
// to the recycle bin or are deleted for good. With the warning flag (network
// items, which no recycle bin takes) CDlgConfirmOperation asks first, and a
// refusal there ends this dialog before it shows. IDOK goes on. Its template
// is resource IDD_SELECTION_ACTION.

#include "platform/framework/CDialog.h"

class CDlgSelectionAction : public CDialog {
public:
    // nKind: a CCatalogPrompts SELECTION_ kind.
    CDlgSelectionAction(int nKind, LPCTSTR pszText, BOOL bWarn, CWnd* pParent = nullptr);

protected:
    BOOL OnInitDialog() override;

private:
    int m_nKind;
    CString m_strText;
    BOOL m_bWarn;
};
