#pragma once

// Connects a network share after asking for its password. OK connects the
// share (under the local device name when one was given): connected → IDOK;
// a refused password keeps the dialog open on the password field
// (IDS_LOGON_BAD_PASSWORD); any other failure is shown with its number
// (IDS_LOGON_FAILED) and ends the dialog with IDCANCEL. Its template is
// resource IDD_NETWORK_LOGON.

#include "platform/framework/CDialog.h"

class CDlgNetworkLogon : public CDialog {
public:
    static constexpr int MAX_PASSWORD = 25;

    // pszRemote: "\\server\share"; pszLocalDevice: "N:", or null for none.
    CDlgNetworkLogon(LPCTSTR pszRemote, LPCTSTR pszLocalDevice, CWnd* pParent = nullptr);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

private:
    CString m_strRemote;
    CString m_strPassword;
    CString m_strLocalDevice;
};
