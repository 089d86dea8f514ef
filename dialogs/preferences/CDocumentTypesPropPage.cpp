#include "dialogs/preferences/CDocumentTypesPropPage.h"

#include "platform/framework/MessageMap.h"
#include "resources/ResourceIds.h"

// clang-format off
BEGIN_MESSAGE_MAP(CDocumentTypesPropPage, CPropertyPage)
    ON_LBN_SELCHANGE(IDC_DOC_TYPES, &CDocumentTypesPropPage::OnTypeSelChange)
    ON_CLBN_CHKCHANGE(IDC_DOC_TYPES, &CDocumentTypesPropPage::OnTypeCheckChange)
    ON_CLBN_CHKCHANGE(IDC_DOC_EXTENSIONS, &CDocumentTypesPropPage::OnExtensionCheckChange)
    ON_BN_CLICKED(IDC_DOC_ADD_EXTENSION, &CDocumentTypesPropPage::OnAddExtension)
END_MESSAGE_MAP()
// clang-format on

CDocumentTypesPropPage::CDocumentTypesPropPage(CDocumentTypesPageData& data)
    : CPropertyPage(IDD_DOCUMENT_TYPES)
    , m_choice(data.chosenExtensions)
{
}

BOOL CDocumentTypesPropPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_choice.FillAllTypes();
    m_choice.MarkChosenExtensions();
    m_choice.Init(this);
    // The focus is on the type list.
    return FALSE;
}

void CDocumentTypesPropPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    m_choice.BindControls(pDX);
}

void CDocumentTypesPropPage::OnOK()
{
    m_choice.CommitShownType();
    CPropertyPage::OnOK();
}
