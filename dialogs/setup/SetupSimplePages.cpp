#include "dialogs/setup/SetupSimplePages.h"

#include "dialogs/setup/CInstalacaoPropertySheet.h"
#include "dialogs/setup/NoticeLook.h"
#include "resources/ResourceIds.h"

#include "platform/controls/ButtonControl.h"
#include "platform/framework/CDataExchange.h"

CInstalacaoWelcome::CInstalacaoWelcome()
    : CInstPropPage(IDD_SETUP_WELCOME)
{
    SetPageInfo(IDB_SETUP_WELCOME, PSWIZB_NEXT);
}

/***************************** The mode page *****************************/

CInstalacaoTipoOrganizacao::CInstalacaoTipoOrganizacao()
    : CInstPropPage(IDD_SETUP_MODE)
{
    SetPageInfo(IDB_SETUP_MODE, PSWIZB_BACK | PSWIZB_NEXT);
}

void CInstalacaoTipoOrganizacao::DoDataExchange(CDataExchange* pDX)
{
    CInstPropPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SETUP_PICTURE3, m_picture3);
    DDX_Control(pDX, IDC_SETUP_PICTURE2, m_picture2);
    DDX_Control(pDX, IDC_SETUP_PICTURE1, m_picture1);
}

BOOL CInstalacaoTipoOrganizacao::OnInitDialog()
{
    CInstPropPage::OnInitDialog();
    SetSmallPicture(m_picture3, IDB_BACKUP_PICTURE);
    SetSmallPicture(m_picture2, IDB_COMPACT_TARGET);
    SetSmallPicture(m_picture1, IDB_SETUP_ORGANISE);
    CheckRadioButton(IDC_SETUP_FOLDER_MODE, IDC_SETUP_ORGANISATION_MODE,
        m_bFolderMode ? IDC_SETUP_FOLDER_MODE : IDC_SETUP_ORGANISATION_MODE);
    return TRUE;
}

LRESULT CInstalacaoTipoOrganizacao::OnWizardNext()
{
    m_bFolderMode = IsDlgButtonChecked(IDC_SETUP_FOLDER_MODE) == BST_CHECKED;
    if (!m_bFolderMode)
        return IDD_SETUP_USAGE;
    return GetSheet().PrepareFolderTree() ? IDD_SETUP_FOLDERS : -1;
}

/***************************** The last page *****************************/

CInstalacaoTelaFinal::CInstalacaoTelaFinal()
    : CInstPropPage(IDD_SETUP_FINAL)
{
    SetPageInfo(IDB_SETUP_FINAL, PSWIZB_BACK | PSWIZB_FINISH);
}

LRESULT CInstalacaoTelaFinal::OnWizardBack()
{
    return GetSheet().GetModePage().IsFolderMode() ? IDD_SETUP_FOLDERS : IDD_SETUP_KEYWORDS;
}

BOOL CInstalacaoTelaFinal::OnWizardFinish()
{
    GetSheet().CollectResults();
    return CInstPropPage::OnWizardFinish();
}
