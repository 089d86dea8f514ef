#include "frame/CDlgDocDescription.h"

#include "resources/ResourceIds.h"
#include "store/CDocumentRec.h"
#include "store/ResString.h"
#include "ui/DocumentIcons.h"

#include "platform/base/TextFunctions.h"
#include "platform/controls/EditControl.h"
#include "platform/controls/StaticControl.h"
#include "platform/framework/CDataExchange.h"

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
    SendDlgItemMessage(IDC_DESCRIPTION_ICON, STM_SETICON, reinterpret_cast<WPARAM>(GetDocumentIcon(m_document)), 0);
    SendDlgItemMessage(IDC_DESCRIPTION_TEXT, EM_LIMITTEXT, MAX_DESCRIPTION, 0);
    return TRUE;
}

void CDlgDocDescription::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_DESCRIPTION_PATH, m_strPath);
    DDX_Text(pDX, IDC_DESCRIPTION_TEXT, m_strText);
}
