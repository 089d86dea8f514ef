#pragma once

// The recent-list page of the general preference sheet: how many documents
// the recent list keeps (1 to 50, the class library's range message beyond)
// and the list's option bits the program acts on, one check box each (other
// bits stay as they are). It reads the preferences
// object when it opens and writes the two values back to it on OK only; the
// sheet's copy-out saves them. Its template is resource IDD_PREF_RECENT.

#include "platform/framework/CCheckListBox.h"
#include "platform/framework/CPropertyPage.h"

class CPrefMostRecentsPropPage : public CPropertyPage {
public:
    /* The list's length, as the edit and its arrows accept it. */
    static constexpr int MIN_MOST_RECENTS = 1;
    static constexpr int MAX_MOST_RECENTS = 50;

    CPrefMostRecentsPropPage();

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

private:
    CCheckListBox m_options;
    int m_nMostRecents { MIN_MOST_RECENTS };
};
