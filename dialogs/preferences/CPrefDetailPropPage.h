#pragma once

// The details page of the general preference sheet: which columns the
// active catalog view's document list shows, whether names show their
// extension in the details and list styles, whether sizes show in kilobytes
// (choosable only while the size column is shown), and whether a row's
// description shows as a tip. The list's choices are read from the host when
// the page opens and handed back to it on OK; without an open catalog view
// they are disabled and nothing is handed back. The tip choice travels
// through the page data. Its template is resource IDD_PREF_DETAILS.

#include "platform/framework/CPropertyPage.h"
#include "store/PreferenceSheets.h"

class CPrefDetailPropPage : public CPropertyPage {
    DECLARE_MESSAGE_MAP()

public:
    // The page reads and writes data, which outlives it.
    explicit CPrefDetailPropPage(CPrefDetailPageData& data);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnCheckAll();
    void OnClearAll();
    LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam);

private:
    // Checks or clears the ten column boxes and the details-style extension.
    void SetColumnBoxes(BOOL bCheck);

    CPrefDetailPageData& m_data;
    BOOL m_bHasColumns { FALSE }; // the host had a list to ask
    CListColumnChoices m_columns {};
    BOOL m_bListExtension { FALSE };
    int m_nSizeUnit { 0 }; // the radio group's index: 0 kilobytes, 1 bytes
};
