#include "dialogs/documents/DocumentUnlock.h"

#include "dialogs/documents/CDlgPassword.h"
#include "dialogs/documents/DocumentRow.h"
#include "store/CDocumentRec.h"
#include "ui/DocumentIcons.h"

int UnlockDocument(CDocumentRec& document, CWnd* pParent, CString& strPassword)
{
    strPassword = document.GetPassword();
    if (strPassword.IsEmpty())
        return UNLOCK_OPEN;
    CDlgPassword dlg(pParent);
    dlg.SetUp(
        GetDocumentIcon(document), DocumentDisplayPath(document), strPassword, CDlgPassword::PLAIN, !document.IsMail());
    if (dlg.DoModal() != IDOK)
        return UNLOCK_CANCELLED;
    // The dialog accepts only the stored password, so the document is
    // checked, never protected again with a mistyped one.
    const int nResult = document.ChangeProtection(nullptr, strPassword);
    if (nResult == PROTECT_OK)
        return UNLOCK_OPEN;
    if (nResult == PROTECT_NOT_PROTECTED)
        return UNLOCK_UNPROTECTED;
    ReportProtectError(document.GetFilePath(), nResult);
    return nResult;
}
