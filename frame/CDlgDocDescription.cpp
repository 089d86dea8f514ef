#include "frame/CDlgDocDescription.h"

#include "resources/ResourceIds.h"
#include "store/CDocumentRec.h"
#include "store/ResString.h"
#include "ui/DocumentIcons.h"

#include "platform/base/TextFunctions.h"
#include "platform/framework/CDataExchange.h"
#include "platform/framework/CEdit.h"
#include "platform/framework/CStatic.h"

CDlgDocDescription::CDlgDocDescription(const CDocumentRec& document, CWnd* pParent)
    : CDialog(IDD_DOC_DESCRIPTION, pParent)
    , m_document(document)
{
    m_document.GetFullPath(m_strPath);
}

void CDlgDocDescription::SetPresetText(const CString& strText)
{
    m_strText = strText.Left(static_cast<int>(Utf8PrefixLength(strText, MAX_DESCRIPTION)));
    m_bPreset = TRUE;
}

BOOL CDlgDocDescription::OnInitDialog()
{
    if (!m_bPreset) {
        CDocumentInfo info {};
        if (m_document.GetInfo(&info))
            m_strText = info.szDescription;
    }
    CDialog::OnInitDialog();
    SetWindowText(GetResString(m_bPreset ? IDS_DESCRIPTION_FROM_SELECTION : IDS_DESCRIPTION_EDIT));
    if (auto* pIcon = static_cast<CStatic*>(GetDlgItem(IDC_DESCRIPTION_ICON)))
        pIcon->SetIcon(GetDocumentIcon(m_document));
    if (auto* pEdit = static_cast<CEdit*>(GetDlgItem(IDC_DESCRIPTION_TEXT)))
        pEdit->LimitText(MAX_DESCRIPTION);
    return TRUE;
}

void CDlgDocDescription::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_DESCRIPTION_PATH, m_strPath);
    DDX_Text(pDX, IDC_DESCRIPTION_TEXT, m_strText);
}
