#include "dialogs/setup/CInstPropPage.h"

#include "dialogs/setup/NoticeLook.h"
#include "resources/ResourceIds.h"

#include "platform/framework/CDataExchange.h"

IMPLEMENT_DYNAMIC(CInstPropPage, CPropertyPage)

CInstPropPage::CInstPropPage(UINT nIDTemplate)
    : CPropertyPage(nIDTemplate)
{
}

void CInstPropPage::SetPageInfo(UINT nIDBitmap, DWORD dwButtons)
{
    m_nIDBitmap = nIDBitmap;
    m_dwButtons = dwButtons;
}

void CInstPropPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_WIZARD_PAGE_TITLE, m_title);
    DDX_Control(pDX, IDC_WIZARD_PAGE_PICTURE, m_picture);
    if (!pDX->m_bSaveAndValidate)
        m_picture.SetBitmap(m_nIDBitmap, 0, 0);
}

BOOL CInstPropPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    StyleNoticeTitle(m_title);
    return TRUE;
}

BOOL CInstPropPage::OnSetActive()
{
    if (CWnd* pSheet = GetParent())
        pSheet->PostMessage(PSM_SETWIZBUTTONS, 0, static_cast<LPARAM>(GetWizardButtons()));
    return CPropertyPage::OnSetActive();
}

LRESULT CInstPropPage::OnKickIdle(WPARAM, LPARAM)
{
    UpdateDialogControls(this, FALSE);
    return 0;
}
