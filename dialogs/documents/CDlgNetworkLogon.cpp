#include "dialogs/documents/CDlgNetworkLogon.h"

#include "resources/ResourceIds.h"

#include "platform/base/WinError.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/shell/NetworkConnections.h"

#include <string>

CDlgNetworkLogon::CDlgNetworkLogon(LPCTSTR pszRemote, LPCTSTR pszLocalDevice, CWnd* pParent)
    : CDialog(IDD_NETWORK_LOGON, pParent)
    , m_strRemote(pszRemote)
    , m_strLocalDevice(pszLocalDevice != nullptr ? pszLocalDevice : "")
{
}

void CDlgNetworkLogon::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_NETWORK_PATH, m_strRemote);
    DDX_Text(pDX, IDC_PASSWORD, m_strPassword);
    DDV_MaxChars(pDX, m_strPassword, MAX_PASSWORD);
}

void CDlgNetworkLogon::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    std::string strRemote(m_strRemote);
    std::string strLocalDevice(m_strLocalDevice);
    NETRESOURCE resource {};
    resource.dwType = RESOURCETYPE_DISK;
    resource.lpRemoteName = strRemote.data();
    resource.lpLocalName = strLocalDevice.empty() ? nullptr : strLocalDevice.data();
    const DWORD dwResult = WNetAddConnection2(&resource, m_strPassword, nullptr, 0);
    if (dwResult == NO_ERROR) {
        EndDialog(IDOK);
        return;
    }
    if (dwResult == ERROR_INVALID_PASSWORD) {
        AfxMessageBox(IDS_LOGON_BAD_PASSWORD, MB_ICONEXCLAMATION);
        GotoDlgCtrl(GetDlgItem(IDC_PASSWORD));
        return;
    }
    CString strMessage;
    strMessage.Format(IDS_LOGON_FAILED, static_cast<int>(dwResult));
    AfxMessageBox(strMessage, MB_ICONEXCLAMATION);
    EndDialog(IDCANCEL);
}
