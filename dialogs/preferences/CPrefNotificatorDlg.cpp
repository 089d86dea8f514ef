#include "dialogs/preferences/CPrefNotificatorDlg.h"

#include "platform/controls/ButtonControl.h"
#include "platform/framework/AfxMessages.h"
#include "platform/framework/CDataExchange.h"
#include "platform/framework/MessageMap.h"
#include "resources/ResourceIds.h"

// clang-format off
BEGIN_MESSAGE_MAP(CPrefNotificatorDlg, CPropertyPage)
    ON_MESSAGE(WM_KICKIDLE, &CPrefNotificatorDlg::OnKickIdle)
END_MESSAGE_MAP()
// clang-format on

CPrefNotificatorDlg::CPrefNotificatorDlg(CPrefNotificatorPageData& data)
    : CPropertyPage(IDD_PREF_NOTIFICATION)
    , m_data(data)
{
}

void CPrefNotificatorDlg::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    if (!pDX->m_bSaveAndValidate) {
        if (m_data.nDSAutoCataloguing != CATALOGUE_NEVER && m_data.nDSAutoCataloguing != CATALOGUE_ALWAYS)
            m_data.nDSAutoCataloguing = CATALOGUE_BY_RULES;
        if (m_data.nDSList != 0 && m_data.nDSList != 1)
            m_data.nDSList = 0;
    }
    // Each radio group's index is the stored value.
    DDX_Radio(pDX, IDC_NOTIFY_NEVER, m_data.nDSAutoCataloguing);
    DDX_Radio(pDX, IDC_NOTIFY_OPEN_WINDOW, m_data.nDSList);
    DDX_Check(pDX, IDC_NOTIFY_SOUND, m_data.bDSPlaySound);
}

LRESULT CPrefNotificatorDlg::OnKickIdle(WPARAM, LPARAM)
{
    const BOOL bTell = IsDlgButtonChecked(IDC_NOTIFY_ALWAYS) != BST_CHECKED;
    for (int nID : { IDC_NOTIFY_OPEN_WINDOW, IDC_NOTIFY_TRAY_ONLY, IDC_NOTIFY_SOUND }) {
        CWnd* pItem = GetDlgItem(nID);
        if (pItem && pItem->IsWindowEnabled() != bTell)
            pItem->EnableWindow(bTell);
    }
    return 0;
}
