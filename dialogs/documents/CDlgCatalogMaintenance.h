#pragma once

// The choices before the catalog's maintenance run: four clean-up boxes,
// preset from the preferences, beside the lists of the folders the run
// concerns (the library's file name masks, and the clean-up folders that
// exist, writable, on a fixed medium). It only shows and returns the choices;
// the preferences are not written. Its template is resource IDD_CATALOG_MAINTENANCE.

#include "ui/CSysImageList.h"

#include "platform/framework/CDialog.h"
#include "platform/framework/CListCtrl.h"

class CCatalog;

class CDlgCatalogMaintenance : public CDialog {
public:
    // pCatalog: the main catalog the lists are read from (null: empty lists).
    explicit CDlgCatalogMaintenance(CCatalog* pCatalog, CWnd* pParent = nullptr);

    // The choices, read after IDOK.
    int m_bExpired;
    int m_bRecycle;
    int m_bTempFiles;
    int m_bTempFolders;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

private:
    CListCtrl m_libraryFolders;
    CListCtrl m_cleanUpFolders;
    CCatalog* m_pCatalog;
    CSysImageList m_sysImages;
};
