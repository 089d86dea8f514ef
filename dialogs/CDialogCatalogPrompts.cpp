#include "dialogs/CDialogCatalogPrompts.h"

#include "dialogs/documents/CDlgExpiryDate.h"
#include "dialogs/documents/CDlgPassword.h"
#include "dialogs/documents/DocumentRow.h"
#include "store/CDocumentRec.h"
#include "ui/DocumentIcons.h"

#include "platform/framework/CWinThread.h"

namespace {

// The engine's variant that asks before unprotecting.
constexpr int ASK_TO_UNPROTECT = 2;

} // namespace

int CDialogCatalogPrompts::AskPassword(
    HICON hIcon, LPCTSTR pszPath, LPCTSTR pszStored, int nVariant, BOOL bLong, CString& strPassword)
{
    CDlgPassword dlg(AfxGetMainWnd());
    dlg.SetUp(
        hIcon, pszPath, pszStored, nVariant == ASK_TO_UNPROTECT ? CDlgPassword::UNPROTECT : CDlgPassword::PLAIN, bLong);
    const int nResult = static_cast<int>(dlg.DoModal());
    if (nResult == IDOK)
        strPassword = dlg.GetPassword();
    return nResult;
}

int CDialogCatalogPrompts::AskExpiryDate(const CDocumentRec& document, LONG& nExpiry)
{
    CDlgExpiryDate dlg(AfxGetMainWnd());
    dlg.SetUp(DocumentDisplayPath(document), GetDocumentIcon(document), nExpiry);
    const int nResult = static_cast<int>(dlg.DoModal());
    if (nResult == IDOK)
        nExpiry = static_cast<LONG>(dlg.GetExpiry());
    return nResult;
}
