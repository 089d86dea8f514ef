#include "dialogs/documents/CFilePropPageGeneral.h"

#include "dialogs/documents/CDlgBackupInfo.h"
#include "dialogs/documents/FolderListForm.h"
#include "mail/CatalogMessage.h"
#include "mail/MailResult.h"
#include "resources/ResourceIds.h"
#include "store/CDocumentRec.h"

#include "platform/base/TextFunctions.h"
#include "platform/framework/CComboBox.h"
#include "platform/framework/MessageMap.h"

#include <array>
#include <memory>

IMPLEMENT_DYNCREATE(CFilePropPageGeneral, CPropertyPage)

BEGIN_MESSAGE_MAP(CFilePropPageGeneral, CPropertyPage)
    ON_BN_CLICKED(IDC_LOCATION_BROWSE, &CFilePropPageGeneral::OnBrowse)
END_MESSAGE_MAP()

namespace {

// The reader's address lists are read into buffers of this size.
constexpr int ADDRESS_BUFFER = 260;

} // namespace

CFilePropPageGeneral::CFilePropPageGeneral()
    : CPropertyPage(IDD_FILE_GENERAL)
{
}

void CFilePropPageGeneral::SetDocument(const CDocumentRec* pDocument, BOOL bRecycle)
{
    pDocument->GetNameWithLocation(m_strDescription);
    pDocument->GetLabel(m_strLocation);
    pDocument->GetAltNameWithLocation(m_strSecondary);
    m_strComboText = m_strSecondary;
    m_bRecycle = bRecycle;
    m_bFavorite = pDocument->IsUnderTopNode2();
    m_nExpiryState = pDocument->GetExpiryState(FALSE);
    m_bMail = pDocument->IsMail();
    if (!m_bMail)
        return;
    std::unique_ptr<CMailMessage> pMessage;
    if (LoadCatalogMessage(pDocument->GetMailRef(), pMessage) != MAIL_OK)
        return;
    std::array<char, ADDRESS_BUFFER> buffer {};
    pMessage->GetAddressList1(buffer.data(), ADDRESS_BUFFER);
    m_addressLines.emplace_back(buffer.data());
    buffer.fill(0);
    pMessage->GetAddressList2(buffer.data(), ADDRESS_BUFFER);
    m_addressLines.emplace_back(buffer.data());
}

void CFilePropPageGeneral::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_FILE_PICTURE, m_picture);
    DDX_Control(pDX, IDC_LOCATION_BROWSE, m_browse);
    DDX_Control(pDX, IDC_SECONDARY_COMBO, m_addressCombo);
    DDX_Text(pDX, IDC_DESCRIPTION, m_strDescription);
    DDV_MaxChars(pDX, m_strDescription, MAX_TEXT);
    DDX_Text(pDX, IDC_LOCATION, m_strLocation);
    DDV_MaxChars(pDX, m_strLocation, MAX_TEXT);
    DDX_Text(pDX, IDC_SECONDARY, m_strSecondary);
    DDV_MaxChars(pDX, m_strSecondary, MAX_TEXT);
    if (m_bMail)
        DDX_CBString(pDX, IDC_SECONDARY_COMBO, m_strComboText);
    DDX_Check(pDX, IDC_FAVORITE, m_bFavorite);
}

BOOL CFilePropPageGeneral::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    if (IsLocked()) {
        if (m_bRecycle || m_nExpiryState == EXPIRY_MAIL_DELETED)
            GetDlgItem(IDC_FAVORITE)->EnableWindow(FALSE);
        for (int nId : { IDC_LOCATION, IDC_SECONDARY, IDC_LOCATION_BROWSE })
            GetDlgItem(nId)->EnableWindow(FALSE);
    }
    SetBackupPicture(m_picture, IDB_FILE_PICTURE);
    GetDlgItem(IDC_SECONDARY)->ShowWindow(m_bMail ? SW_HIDE : SW_SHOW);
    GetDlgItem(IDC_SECONDARY_COMBO)->ShowWindow(m_bMail ? SW_SHOW : SW_HIDE);
    if (!m_bMail)
        return TRUE;
    int nMatch = 0;
    for (auto it = m_addressLines.rbegin(); it != m_addressLines.rend(); ++it) {
        // At most MAX_TEXT bytes, cut at a character boundary.
        const CString strLine = it->Left(static_cast<int>(Utf8PrefixLength(*it, MAX_TEXT)));
        const int nIndex = m_addressCombo.AddString(strLine);
        if (strLine.CompareNoCase(m_strSecondary) == 0)
            nMatch = nIndex;
    }
    m_addressCombo.SetCurSel(nMatch);
    return TRUE;
}

void CFilePropPageGeneral::OnBrowse()
{
    CString strFolder;
    if (m_picker.Pick(m_browse, strFolder))
        SetDlgItemText(IDC_LOCATION, ListFolderForm(strFolder));
}

BOOL CFilePropPageGeneral::IsLocked() const
{
    return m_bRecycle || m_bMail || m_nExpiryState == EXPIRY_MAIL_DELETED || m_nExpiryState == EXPIRY_NOT_FOUND
        || m_nExpiryState == EXPIRY_UNREACHABLE;
}
