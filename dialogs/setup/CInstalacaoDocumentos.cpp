#include "dialogs/setup/CInstalacaoDocumentos.h"

#include "dialogs/setup/NoticeLook.h"
#include "resources/ResourceIds.h"

#include "platform/controls/ListBoxControl.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CDataExchange.h"

// clang-format off
BEGIN_MESSAGE_MAP(CInstalacaoDocumentos, CInstPropPage)
    ON_LBN_SELCHANGE(IDC_DOC_TYPES, &CInstalacaoDocumentos::OnTypeSelChange)
    ON_CLBN_CHKCHANGE(IDC_DOC_TYPES, &CInstalacaoDocumentos::OnTypeCheckChange)
    ON_CLBN_CHKCHANGE(IDC_DOC_EXTENSIONS, &CInstalacaoDocumentos::OnExtensionCheckChange)
    ON_BN_CLICKED(IDC_DOC_ADD_EXTENSION, &CInstalacaoDocumentos::OnAddExtension)
END_MESSAGE_MAP()
// clang-format on

CInstalacaoDocumentos::CInstalacaoDocumentos()
    : CInstPropPage(IDD_SETUP_DOCUMENTS)
{
    SetPageInfo(IDB_SETUP_DOCUMENTS, PSWIZB_BACK | PSWIZB_NEXT);
}

void CInstalacaoDocumentos::DoDataExchange(CDataExchange* pDX)
{
    CInstPropPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SETUP_PICTURE1, m_icon);
    m_choice.BindControls(pDX);
}

BOOL CInstalacaoDocumentos::OnInitDialog()
{
    CInstPropPage::OnInitDialog();
    SetNoticeIcon(m_icon);
    m_choice.FillAllTypes();
    m_choice.Init(this);
    // The focus is on the type list.
    return FALSE;
}

std::set<CString> CInstalacaoDocumentos::GetChosenExtensions() const
{
    std::set<CString> chosen;
    for (POSITION pos = m_chosen.GetStartPosition(); pos;) {
        CString strExtension;
        void* pUnused = nullptr;
        m_chosen.GetNextAssoc(pos, strExtension, pUnused);
        chosen.insert(strExtension);
    }
    return chosen;
}

void CInstalacaoDocumentos::GetOfferedTypes(CStringArray& names)
{
    names.RemoveAll();
    CString strType;
    CFileTypeMap& types = m_choice.FileTypes();
    for (CStringArray* pExtensions = types.GetFirst(strType); pExtensions; pExtensions = types.GetNext(strType))
        names.Add(strType);
}

LRESULT CInstalacaoDocumentos::OnWizardBack()
{
    m_choice.CommitShownType();
    return CInstPropPage::OnWizardBack();
}

LRESULT CInstalacaoDocumentos::OnWizardNext()
{
    m_choice.CommitShownType();
    if (m_chosen.IsEmpty()) {
        AfxMessageBox(IDS_NO_EXTENSION_CHOSEN, MB_ICONEXCLAMATION);
        return -1;
    }
    return CInstPropPage::OnWizardNext();
}
