#include "dialogs/setup/CInstalacaoKeywords.h"

#include "dialogs/setup/CInstalacaoOrgInicial.h"
#include "dialogs/setup/CInstalacaoPropertySheet.h"
#include "resources/ResourceIds.h"

#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/AfxMessages.h"
#include "platform/framework/CDataExchange.h"

// clang-format off
BEGIN_MESSAGE_MAP(CInstalacaoKeywords, CInstPropPage)
    ON_MESSAGE(WM_KICKIDLE, &CInstalacaoKeywords::OnKickIdle)
    ON_NOTIFY(TVN_SELCHANGED, IDC_SETUP_TREE, &CInstalacaoKeywords::OnSelChanged)
END_MESSAGE_MAP()
// clang-format on

CInstalacaoKeywords::CInstalacaoKeywords()
    : CInstPropPage(IDD_SETUP_KEYWORDS)
{
    SetPageInfo(IDB_SETUP_KEYWORDS, PSWIZB_BACK | PSWIZB_NEXT);
}

void CInstalacaoKeywords::DoDataExchange(CDataExchange* pDX)
{
    CInstPropPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SETUP_TREE, m_mirror);
    DDX_Control(pDX, IDC_SETUP_NODE_NAME, m_name);
}

BOOL CInstalacaoKeywords::OnInitDialog()
{
    CInstPropPage::OnInitDialog();
    m_images.Create(IDB_NODE_TREE, 16, 1, RGB(255, 0, 255));
    m_mirror.SetImageList(&m_images, TVSIL_NORMAL);
    m_name.SetFontBold(TRUE);
    return TRUE;
}

BOOL CInstalacaoKeywords::OnSetActive()
{
    m_mirror.Mirror(GetSheet().GetOrganisationPage().GetTree());
    HTREEITEM hFirst = m_mirror.GetRootItem();
    if (hFirst && m_mirror.GetChildItem(hFirst))
        hFirst = m_mirror.GetChildItem(hFirst);
    HTREEITEM hSelect = m_mirror.FindMirrorOf(m_hRemembered);
    if (!hSelect) {
        hSelect = hFirst;
        m_hRemembered = m_mirror.GetSourceItem(hFirst);
    }
    if (hSelect) {
        m_mirror.SelectItem(hSelect);
        m_mirror.EnsureVisible(hSelect);
    }
    ShowName(hSelect);
    m_mirror.SetFocus();
    return CInstPropPage::OnSetActive();
}

void CInstalacaoKeywords::OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult)
{
    ShowName(reinterpret_cast<NMTREEVIEW*>(pNMHDR)->itemNew.hItem);
    *pResult = 0;
}

void CInstalacaoKeywords::ShowName(HTREEITEM hItem)
{
    m_name.SetText(hItem ? m_mirror.GetItemText(hItem) : CString());
}

LRESULT CInstalacaoKeywords::OnWizardBack()
{
    m_hRemembered = m_mirror.GetSourceItem(m_mirror.GetSelectedItem());
    return CInstPropPage::OnWizardBack();
}

LRESULT CInstalacaoKeywords::OnWizardNext()
{
    if (!m_mirror.AnyNodeHasCriteria()
        && AfxMessageBox(IDS_NO_CRITERIA, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) != IDYES)
        return -1;
    m_hRemembered = m_mirror.GetSourceItem(m_mirror.GetSelectedItem());
    return IDD_SETUP_FINAL;
}
