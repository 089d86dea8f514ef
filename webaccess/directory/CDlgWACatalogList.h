#pragma once

// The catalogs registered under an account, fetched from the directory server
// when the dialog opens, for the user to choose one. Nothing shows when the
// server cannot list any (the user saw why and cancelled): DoModal then ends
// with IDCANCEL at once. After IDOK the chosen catalog is
// m_catalogs[m_nSelected].

#include "webaccess/directory/CatalogListReply.h"

#include "ui/CImageListBox.h"
#include "ui/CWAColorEdit.h"

#include "platform/framework/CDialog.h"

class CDlgWACatalogList : public CDialog {
public:
    // The account to list, sent with connection type nConnType.
    CDlgWACatalogList(LPCTSTR pszUserId, LPCTSTR pszPassword, int nConnType, CWnd* pParent = nullptr);
    ~CDlgWACatalogList() override;

    // Asks the server in the request loop and fills the list afresh on each
    // attempt; a reply without catalogs offers Retry and Cancel. TRUE when the
    // list holds at least one catalog (the first is selected).
    BOOL RetrieveCatalogs();

    int m_nSelected { -1 };
    std::vector<CWACatalogEntry> m_catalogs;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    // Fills the list from m_catalogs; FALSE when it is empty.
    BOOL FillList();

    CWAColorEdit m_userId;
    CImageListBox m_list;
    HIMAGELIST m_hImages { nullptr };
    CString m_strUserId;
    CString m_strPassword;
    int m_nConnType;
};
