#include "webaccess/directory/CWASetupPropPage.h"

#include "resources/ResourceIds.h"
#include "webaccess/directory/CWASetupWizardPropSheet.h"
#include "webaccess/directory/WebTitleLabel.h"

#include "platform/controls/EditControl.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CDataExchange.h"
#include "platform/gdi/SysColors.h"

CWASetupPropPage::CWASetupPropPage(CWASetupWizardPropSheet& sheet, UINT nIDTemplate, UINT nIDBitmap, DWORD dwButtons)
    : CPropertyPage(nIDTemplate)
    , m_sheet(sheet)
    , m_nIDBitmap(nIDBitmap)
    , m_dwButtons(dwButtons)
{
}

void CWASetupPropPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    // A page without a picture puts something else in its place.
    if (m_nIDBitmap != 0)
        DDX_Control(pDX, IDC_WA_SETTINGS_PICTURE, m_picture);
    DDX_Control(pDX, IDC_WA_ACCOUNT_TITLE, m_title);
}

BOOL CWASetupPropPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    if (m_nIDBitmap != 0)
        m_picture.SetBitmap(m_nIDBitmap, 0, 0);
    StyleWebTitle(m_title);
    return TRUE;
}

BOOL CWASetupPropPage::OnSetActive()
{
    m_sheet.PostMessage(PSM_SETWIZBUTTONS, 0, static_cast<LPARAM>(m_dwButtons));
    return CPropertyPage::OnSetActive();
}

LRESULT CWASetupPropPage::OnWizardBack()
{
    return m_nBackTarget != -1 ? PageStep(m_nBackTarget) : CPropertyPage::OnWizardBack();
}

LRESULT CWASetupPropPage::OnWizardNext()
{
    return m_nNextTarget != -1 ? PageStep(m_nNextTarget) : CPropertyPage::OnWizardNext();
}

LRESULT CWASetupPropPage::PageStep(int nTarget) const
{
    // The sheet shows the page whose template ID it is given.
    return reinterpret_cast<LRESULT>(m_sheet.GetPage(nTarget)->m_psp.pszTemplate);
}

CString CWASetupPropPage::GetTrimmedText(int nId) const
{
    CString strText = GetText(nId);
    strText.Trim();
    return strText;
}

CString CWASetupPropPage::GetText(int nId) const
{
    CString strText;
    GetDlgItemText(nId, strText);
    return strText;
}

void CWASetupPropPage::LimitText(int nId, int nLimit)
{
    SendDlgItemMessage(nId, EM_LIMITTEXT, static_cast<WPARAM>(nLimit), 0);
}

LRESULT CWASetupPropPage::Refuse(UINT nIdMessage, UINT nIcon, int nIdField)
{
    AfxMessageBox(nIdMessage, MB_OK | nIcon);
    if (CWnd* pField = GetDlgItem(nIdField))
        pField->SetFocus();
    return -1;
}

BOOL CWASetupPropPage::ReadAccountFields(CString& strUserId, CString& strPassword)
{
    strUserId = GetTrimmedText(IDC_WA_ACCOUNT_USER_ID);
    strPassword = GetText(IDC_WA_ACCOUNT_PASSWORD);
    if (strUserId.IsEmpty())
        Refuse(IDS_WEB_NO_USER_ID, MB_ICONINFORMATION, IDC_WA_ACCOUNT_USER_ID);
    else if (strPassword.IsEmpty())
        Refuse(IDS_WEB_NO_USER_ID, MB_ICONINFORMATION, IDC_WA_ACCOUNT_PASSWORD);
    return !strUserId.IsEmpty() && !strPassword.IsEmpty();
}

void CWASetupPropPage::ShowSmallPicture(CImageButton& picture, UINT nIDBitmap)
{
    constexpr int IMAGE_WIDTH = 16;
    picture.CreateImageList(nIDBitmap, IMAGE_WIDTH, 1, RGB(255, 0, 255), GetSysColor(COLOR_BTNFACE));
}
