#pragma once

// The mail page of the documents sheet: the catalog's mail stores, one line
// each ("<mailbox> ( <mail client> )") behind the mail folder picture. It
// only shows them: the stores go back to the sheet's owner as they came.
// Its template is resource IDD_PREF_MAILS.

#include "platform/framework/CPropertyPage.h"
#include "store/PreferenceSheets.h"
#include "ui/CImageListBox.h"

class CMailsPropPage : public CPropertyPage {
public:
    // The page reads data, which outlives it.
    explicit CMailsPropPage(const CMailsPageData& data);

    // A store's line: its mailbox's display name and its mail client's name.
    static CString StoreLine(const CMailStoreChoice& store);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    const CMailsPageData& m_data;
    CImageListBox m_stores;
};
