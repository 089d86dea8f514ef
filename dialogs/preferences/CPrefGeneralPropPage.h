#pragma once

// The general page of the general preference sheet: for how many days a
// document counts as new, how recently catalogued documents are marked (since
// the last update, within a number of days, or both) and in which colour, the
// default folder for copies (picked from My Computer or typed), and two
// window options. The folder must be writable and on a fixed disk when it is
// given; an empty one is not checked. A colour the combo does not offer is
// kept as it came. Its template is resource IDD_PREF_GENERAL.

#include "platform/framework/CPropertyPage.h"
#include "store/PreferenceSheets.h"
#include "ui/CColorComboBox.h"
#include "ui/CHotButton.h"
#include "ui/CPopupFolderPicker.h"

class CPrefGeneralPropPage : public CPropertyPage {
    DECLARE_MESSAGE_MAP()

public:
    /* What the day edits and their arrows accept. */
    static constexpr int MIN_DAYS = 0;
    static constexpr int MAX_DAYS = 99;

    // The page reads and writes data, which outlives it.
    explicit CPrefGeneralPropPage(CPrefGeneralPageData& data);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // Refuses a default folder that is missing, read-only or removable.
    BOOL OnApply() override;
    void OnBrowse();
    void OnWithinDays();

private:
    // The recently-catalogued days follow their check box.
    void EnableRecentDays();

    CPrefGeneralPageData& m_data;
    CColorComboBox m_colors;
    CHotButton m_browse;
    CPopupFolderPicker m_picker;
};
