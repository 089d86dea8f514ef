#include "ui/CKadWizardPropertySheet.h"

#include "platform/controls/PropertySheet.h"
#include "resources/ResourceIds.h"

IMPLEMENT_DYNAMIC(CKadWizardPropertySheet, CPropertySheet)

namespace {

// The wizard's buttons and the strings they show.
struct CButtonText {
    int nID;
    UINT nString;
};
constexpr CButtonText BUTTON_TEXTS[] = {
    { ID_WIZBACK, IDS_WIZARD_BACK },
    { ID_WIZNEXT, IDS_WIZARD_NEXT },
    { ID_WIZFINISH, IDS_WIZARD_FINISH },
    { IDHELP, IDS_WIZARD_HELP },
    { IDCANCEL, IDS_WIZARD_CANCEL },
};

} // namespace

CKadWizardPropertySheet::CKadWizardPropertySheet(CWnd* pParentWnd)
    : CPropertySheet(IDS_WIZARD_CAPTION, pParentWnd, 0)
{
    m_psh.dwFlags |= PSH_WIZARD;
}

BOOL CKadWizardPropertySheet::OnInitDialog()
{
    const BOOL bResult = CPropertySheet::OnInitDialog();
    for (const CButtonText& button : BUTTON_TEXTS) {
        CString strText;
        strText.LoadString(button.nString);
        SetDlgItemText(button.nID, strText);
    }
    return bResult;
}
