#include "dialogs/preferences/CPrefMostRecentsPropPage.h"

#include "platform/controls/ButtonControl.h"
#include "platform/controls/UpDownControl.h"
#include "platform/framework/CDataExchange.h"
#include "resources/ResourceIds.h"
#include "store/CPreferences.h"

#include <iterator>

namespace {

// The option rows, in the list's order, with the bit each one stands for.
// Only the bits the program acts on get a row.
struct RecentOption {
    UINT nLabel;
    DWORD dwBit;
};
constexpr RecentOption RECENT_OPTIONS[] = {
    { IDS_RECENT_NEW_CATALOGUED, CPreferences::RECENT_ADD_CATALOGUED },
};

} // namespace

CPrefMostRecentsPropPage::CPrefMostRecentsPropPage()
    : CPropertyPage(IDD_PREF_RECENT)
    , m_nMostRecents(thePreferences.m_nMostRecents)
{
}

BOOL CPrefMostRecentsPropPage::OnInitDialog()
{
    m_options.SubclassDlgItem(IDC_RECENT_OPTIONS, this);
    m_options.SetCheckStyle(BS_AUTOCHECKBOX);
    for (const RecentOption& option : RECENT_OPTIONS) {
        CString strLabel;
        strLabel.LoadString(option.nLabel);
        const int nIndex = m_options.AddString(strLabel);
        m_options.SetCheck(nIndex, (thePreferences.m_dwMostRecentsOption & option.dwBit) ? 1 : 0);
    }
    if (CWnd* pSpin = GetDlgItem(IDC_RECENT_COUNT_SPIN))
        pSpin->SendMessage(UDM_SETRANGE, 0, MAKELONG(MAX_MOST_RECENTS, MIN_MOST_RECENTS));
    return CPropertyPage::OnInitDialog();
}

void CPrefMostRecentsPropPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_RECENT_COUNT, m_nMostRecents);
    DDV_MinMaxInt(pDX, m_nMostRecents, MIN_MOST_RECENTS, MAX_MOST_RECENTS);
}

void CPrefMostRecentsPropPage::OnOK()
{
    thePreferences.m_nMostRecents = m_nMostRecents;
    // Bits no row stands for are kept as they were.
    DWORD dwOption = thePreferences.m_dwMostRecentsOption;
    for (int nIndex = 0; nIndex < static_cast<int>(std::size(RECENT_OPTIONS)); ++nIndex) {
        const DWORD dwBit = RECENT_OPTIONS[nIndex].dwBit;
        dwOption = m_options.GetCheck(nIndex) == 1 ? (dwOption | dwBit) : (dwOption & ~dwBit);
    }
    thePreferences.m_dwMostRecentsOption = dwOption;
    CPropertyPage::OnOK();
}
