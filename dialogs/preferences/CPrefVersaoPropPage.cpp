#include "dialogs/preferences/CPrefVersaoPropPage.h"

#include "dialogs/preferences/PageRefusal.h"
#include "platform/controls/ButtonControl.h"
#include "platform/controls/EditControl.h"
#include "platform/framework/AfxMessages.h"
#include "platform/framework/CDataExchange.h"
#include "platform/framework/MessageMap.h"
#include "resources/ResourceIds.h"
#include "store/PathHelpers.h"
#include "store/VersionText.h"

// clang-format off
BEGIN_MESSAGE_MAP(CPrefVersaoPropPage, CPropertyPage)
    ON_MESSAGE(WM_KICKIDLE, &CPrefVersaoPropPage::OnKickIdle)
END_MESSAGE_MAP()
// clang-format on

namespace {

// The version number the preview shows.
constexpr int PREVIEW_VERSION = 1;

} // namespace

CPrefVersaoPropPage::CPrefVersaoPropPage(CPrefVersaoPageData& data)
    : CPropertyPage(IDD_PREF_VERSIONS)
    , m_data(data)
{
}

CString CPrefVersaoPropPage::Preview(const CString& strSample, const CString& strText, BOOL bBefore)
{
    CString strBase;
    CString strExtension;
    SplitFileName(strSample, strBase, strExtension);
    return VersionedFileName(strText, strBase, strExtension, bBefore, PREVIEW_VERSION);
}

BOOL CPrefVersaoPropPage::OnInitDialog()
{
    const BOOL bResult = CPropertyPage::OnInitDialog();
    if (CWnd* pText = GetDlgItem(IDC_VERSION_TEXT))
        pText->SendMessage(EM_LIMITTEXT, MAX_VERSION_TEXT_LENGTH);
    return bResult;
}

void CPrefVersaoPropPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    // The radio group's index is the stored position: 0 before the name, 1 after.
    DDX_Radio(pDX, IDC_VERSION_BEFORE, m_data.nVersionControlPos);
    DDX_Text(pDX, IDC_VERSION_TEXT, m_data.strVersionControlText);
}

BOOL CPrefVersaoPropPage::OnApply()
{
    if (!IsValidVersionText(m_data.strVersionControlText))
        return RefusePageApply(*this, IDS_VERSION_TEXT_INVALID, IDC_VERSION_TEXT);
    return CPropertyPage::OnApply();
}

LRESULT CPrefVersaoPropPage::OnKickIdle(WPARAM, LPARAM)
{
    CString strSample;
    CString strText;
    GetDlgItemText(IDC_DESCRIPTION_PATH, strSample);
    GetDlgItemText(IDC_VERSION_TEXT, strText);
    const CString strPreview = Preview(strSample, strText, IsDlgButtonChecked(IDC_VERSION_BEFORE) == BST_CHECKED);
    CString strShown;
    GetDlgItemText(IDC_VERSION_PREVIEW, strShown);
    if (strShown != strPreview)
        SetDlgItemText(IDC_VERSION_PREVIEW, strPreview);
    return 0;
}
