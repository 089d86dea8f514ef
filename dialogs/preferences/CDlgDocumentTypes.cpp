#include "dialogs/preferences/CDlgDocumentTypes.h"

#include "platform/framework/MessageMap.h"
#include "resources/ResourceIds.h"

// clang-format off
BEGIN_MESSAGE_MAP(CDlgDocumentTypes, CDialog)
    ON_LBN_SELCHANGE(IDC_DOC_TYPES, &CDlgDocumentTypes::OnTypeSelChange)
    ON_CLBN_CHKCHANGE(IDC_DOC_TYPES, &CDlgDocumentTypes::OnTypeCheckChange)
    ON_CLBN_CHKCHANGE(IDC_DOC_EXTENSIONS, &CDlgDocumentTypes::OnExtensionCheckChange)
    ON_BN_CLICKED(IDC_DOC_ADD_EXTENSION, &CDlgDocumentTypes::OnAddExtension)
END_MESSAGE_MAP()
// clang-format on

CDlgDocumentTypes::CDlgDocumentTypes(UINT nIDTemplate, CWnd* pParent)
    : CDialog(nIDTemplate, pParent)
{
}

BOOL CDlgDocumentTypes::OnInitDialog()
{
    CDialog::OnInitDialog();
    FillTypes();
    MarkExtensions();
    m_choice.Init(this);
    // The focus is on the type list.
    return FALSE;
}

void CDlgDocumentTypes::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    m_choice.BindControls(pDX);
}
