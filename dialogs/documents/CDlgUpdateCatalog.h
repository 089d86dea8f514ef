#pragma once

// The choices before the catalog update: two boxes that mirror the
// preference "UpdateOption" (bit value 1 the first, 2 the second) beside the
// list of the fast-update folders. It only shows and returns the choices.
// Its template is resource IDD_UPDATE_CATALOG.

#include "ui/CSysImageList.h"

#include "platform/framework/CDialog.h"
#include "platform/framework/CListCtrl.h"

class CDlgUpdateCatalog : public CDialog {
public:
    explicit CDlgUpdateCatalog(CWnd* pParent = nullptr);

    // The boxes, read after IDOK.
    int m_bFirst { FALSE };
    int m_bSecond { FALSE };

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

private:
    CListCtrl m_folders;
    CSysImageList m_sysImages;
};
