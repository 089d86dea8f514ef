#pragma once

// Offers to restore the catalog files from their backups after the last run
// ended without a clean exit; IDOK asks for the restore. Its template is
// resource IDD_CATALOG_RECOVERY.

#include "ui/CImageButton.h"

#include "platform/framework/CDialog.h"

class CDlgCatalogRecovery : public CDialog {
public:
    explicit CDlgCatalogRecovery(CWnd* pParent = nullptr);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

private:
    CImageButton m_picture;
};
