#pragma once

// The notification page of the new-document monitor sheet: when new
// documents are catalogued (never, when the rules place them, always), how
// the monitor tells of the others (the cataloguing window at once, or only a
// list in the tray) and whether it plays a sound. The telling choices are
// disabled while everything is catalogued, and still saved. A stored choice
// out of range shows as "when the rules place them". Its template is
// resource IDD_PREF_NOTIFICATION.

#include "platform/framework/CPropertyPage.h"
#include "store/PreferenceSheets.h"

class CPrefNotificatorDlg : public CPropertyPage {
    DECLARE_MESSAGE_MAP()

public:
    /* The stored cataloguing choices, in the order of the page's buttons. */
    static constexpr int CATALOGUE_NEVER = 0;
    static constexpr int CATALOGUE_BY_RULES = 1;
    static constexpr int CATALOGUE_ALWAYS = 2;

    // The page reads and writes data, which outlives it.
    explicit CPrefNotificatorDlg(CPrefNotificatorPageData& data);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam);

private:
    CPrefNotificatorPageData& m_data;
};
