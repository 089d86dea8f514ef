#include "dialogs/preferences/PageRefusal.h"

#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CPropertyPage.h"
#include "platform/framework/CPropertySheet.h"

BOOL RefusePageApply(CPropertyPage& page, UINT nIDPrompt, int nIDFocus)
{
    if (auto* pSheet = dynamic_cast<CPropertySheet*>(page.GetParent()))
        pSheet->SetActivePage(&page);
    AfxMessageBox(nIDPrompt, MB_OK | MB_ICONEXCLAMATION);
    if (CWnd* pFocus = nIDFocus ? page.GetDlgItem(nIDFocus) : nullptr)
        pFocus->SetFocus();
    return FALSE;
}
