#include "dialogs/documents/CDlgConfirmDocument.h"

#include "dialogs/documents/DocumentRow.h"
#include "resources/ResourceIds.h"
#include "store/CDocumentRec.h"
#include "ui/DocumentIcons.h"

CDlgConfirmDocument::CDlgConfirmDocument(const CDocumentRec* pDocument, CWnd* pParent)
    : CDialog(IDD_CONFIRM_DOCUMENT, pParent)
    , m_pDocument(pDocument)
{
}

BOOL CDlgConfirmDocument::OnInitDialog()
{
    CDialog::OnInitDialog();
    ShowDocumentRow(*this, GetDocumentIcon(*m_pDocument), DocumentDisplayPath(*m_pDocument));
    GotoDlgCtrl(GetDlgItem(IDCANCEL));
    return FALSE;
}
