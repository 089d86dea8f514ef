#include "dialogs/CDialogCatalogPrompts.h"

#include "dialogs/documents/CDlgExpiryDate.h"
#include "dialogs/documents/CDlgNewDocsFound.h"
#include "dialogs/documents/CDlgNewDocsSummary.h"
#include "dialogs/documents/CDlgPassword.h"
#include "dialogs/documents/CDlgSelectionAction.h"
#include "dialogs/documents/DocumentRow.h"
#include "store/CDocumentRec.h"
#include "ui/DocumentIcons.h"

#include "platform/framework/CWinThread.h"

namespace {

// The engine's variant that asks before unprotecting.
constexpr int ASK_TO_UNPROTECT = 2;

// The window that owns a question: hParent, else the main window.
CWnd* Owner(HWND hParent)
{
    CWnd* pParent = hParent != nullptr ? CWnd::FromHandle(hParent) : nullptr;
    return pParent != nullptr ? pParent : AfxGetMainWnd();
}

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

int CDialogCatalogPrompts::ConfirmSelectionAction(int nKind, LPCTSTR pszText, BOOL bWarn, HWND hParent)
{
    CDlgSelectionAction dlg(nKind, pszText, bWarn, Owner(hParent));
    return static_cast<int>(dlg.DoModal());
}

int CDialogCatalogPrompts::ShowNewDocsSummary(const CNewDocNoticeArray& queue, HWND hParent)
{
    CDlgNewDocsSummary dlg(queue, Owner(hParent));
    return static_cast<int>(dlg.DoModal());
}

void CDialogCatalogPrompts::ShowNewDocsFound(int nCount, HWND hParent)
{
    CDlgNewDocsFound dlg(nCount, Owner(hParent));
    dlg.DoModal();
}
