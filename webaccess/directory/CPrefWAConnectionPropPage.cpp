#include "webaccess/directory/CPrefWAConnectionPropPage.h"

#include "platform/controls/ButtonControl.h"
#include "platform/controls/EditControl.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CDataExchange.h"
#include "platform/framework/CPropertySheet.h"
#include "platform/framework/MessageMap.h"
#include "resources/ResourceIds.h"
#include "store/FileHelpers.h"

// clang-format off
BEGIN_MESSAGE_MAP(CPrefWAConnectionPropPage, CPropertyPage)
    ON_BN_CLICKED(IDC_WA_CONN_MODEM, &CPrefWAConnectionPropPage::OnKindChosen)
    ON_BN_CLICKED(IDC_WA_CONN_CABLE, &CPrefWAConnectionPropPage::OnKindChosen)
    ON_BN_CLICKED(IDC_WA_CONN_LAN, &CPrefWAConnectionPropPage::OnKindChosen)
    ON_BN_CLICKED(IDC_WA_FOLDER_PICK, &CPrefWAConnectionPropPage::OnPickFolder)
END_MESSAGE_MAP()
// clang-format on

CPrefWAConnectionPropPage::CPrefWAConnectionPropPage(CPrefWAConnectionPageData& data)
    : CPropertyPage(IDD_PREF_WA_CONNECTION)
    , m_data(data)
{
}

BOOL CPrefWAConnectionPropPage::OnInitDialog()
{
    // Only a LAN shares a folder with the directory server.
    if (m_data.nConnType == CONN_MODEM || m_data.nConnType == CONN_CABLE)
        m_data.strDirServer.Empty();
    const BOOL bResult = CPropertyPage::OnInitDialog();
    if (CWnd* pFolder = GetDlgItem(IDC_WA_FOLDER))
        pFolder->SendMessage(EM_LIMITTEXT, MAX_FOLDER_LENGTH);
    int nButton = IDC_WA_CONN_LAN;
    if (m_data.nConnType == CONN_MODEM)
        nButton = IDC_WA_CONN_MODEM;
    else if (m_data.nConnType == CONN_CABLE)
        nButton = IDC_WA_CONN_CABLE;
    CheckDlgButton(nButton, BST_CHECKED);
    EnableFolder();
    return bResult;
}

void CPrefWAConnectionPropPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_WA_FOLDER_PICK, m_pickButton);
    DDX_Text(pDX, IDC_WA_FOLDER, m_data.strDirServer);
}

int CPrefWAConnectionPropPage::CheckedKind() const
{
    if (IsDlgButtonChecked(IDC_WA_CONN_MODEM) == BST_CHECKED)
        return CONN_MODEM;
    if (IsDlgButtonChecked(IDC_WA_CONN_CABLE) == BST_CHECKED)
        return CONN_CABLE;
    return CONN_LAN;
}

BOOL CPrefWAConnectionPropPage::OnApply()
{
    m_data.nConnType = CheckedKind();
    if (m_data.nConnType != CONN_LAN) {
        m_data.strDirServer = GetProgramFolder();
        return CPropertyPage::OnApply();
    }
    m_data.strDirServer.Trim();
    const DWORD dwFolder = CheckFolder(m_data.strDirServer, FOLDER_WRITABLE);
    UINT nRefusal = 0;
    if (dwFolder & (FOLDER_UNUSABLE | FOLDER_MISSING))
        nRefusal = IDS_WEB_FOLDER_MISSING;
    else if (!(dwFolder & FOLDER_WRITABLE))
        nRefusal = IDS_WEB_FOLDER_READ_ONLY;
    if (nRefusal == 0)
        return CPropertyPage::OnApply();
    CString strMessage;
    strMessage.Format(nRefusal, static_cast<LPCTSTR>(m_data.strDirServer));
    if (auto* pSheet = dynamic_cast<CPropertySheet*>(GetParent()))
        pSheet->SetActivePage(this);
    AfxMessageBox(strMessage, MB_OK | MB_ICONEXCLAMATION);
    if (CWnd* pFolder = GetDlgItem(IDC_WA_FOLDER))
        pFolder->SetFocus();
    return FALSE;
}

void CPrefWAConnectionPropPage::OnKindChosen()
{
    EnableFolder();
}

void CPrefWAConnectionPropPage::OnPickFolder()
{
    CString strFolder;
    if (m_picker.Pick(m_pickButton, strFolder))
        SetDlgItemText(IDC_WA_FOLDER, strFolder);
}

void CPrefWAConnectionPropPage::EnableFolder()
{
    const BOOL bLan = CheckedKind() == CONN_LAN;
    for (const int nID : { IDC_WA_FOLDER_CAPTION, IDC_WA_FOLDER, IDC_WA_FOLDER_PICK }) {
        if (CWnd* pControl = GetDlgItem(nID))
            pControl->EnableWindow(bLan);
    }
}
