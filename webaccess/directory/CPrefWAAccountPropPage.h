#pragma once

// The account page of the web access preference sheet: the user ID, the
// password and whether it is kept, the catalog's name and code on the
// directory server. OK trims the user ID and the catalog name and empties the
// password when it is not to be kept; the page never refuses. Its button asks
// the server to mail the forgotten password of the typed user ID, over the
// stored connection kind; nothing on the page or in the settings changes.
// Its template is resource IDD_PREF_WA_ACCOUNT.

#include "platform/framework/CPropertyPage.h"
#include "store/PreferenceSheets.h"

class CPrefWAAccountPropPage : public CPropertyPage {
    DECLARE_MESSAGE_MAP()

public:
    /* The edits' limits, in characters. */
    static constexpr int MAX_FIELD_LENGTH = 20; // user ID, password, catalog name
    static constexpr int MAX_CODE_LENGTH = 9;   // catalog code

    // The page reads and writes data, which outlives it.
    explicit CPrefWAAccountPropPage(CPrefWAAccountPageData& data);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnApply() override;
    void OnSendPassword();

private:
    CPrefWAAccountPageData& m_data;
    BOOL m_bKeepPassword { FALSE };
};
