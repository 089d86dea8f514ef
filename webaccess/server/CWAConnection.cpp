#include "webaccess/server/CWAConnection.h"

#include "platform/base/FileFunctions.h"
#include "platform/base/ProfileFile.h"
#include "platform/base/WinError.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CWaitCursor.h"
#include "platform/net/ConnectedState.h"
#include "resources/ResourceIds.h"
#include "store/CLogFile.h"
#include "store/CNetDriveMap.h"
#include "store/CPreferences.h"
#include "store/FileHelpers.h"
#include "webaccess/directory/CWARequest.h"
#include "webaccess/profiles/CWASettings.h"
#include "webaccess/server/CWAListenSocket.h"
#include "webaccess/server/CWAServicePrompts.h"

namespace {

void ShowStop(UINT nStringId, LPCTSTR pszArgument = nullptr)
{
    CString strText;
    if (pszArgument)
        strText.Format(nStringId, pszArgument);
    else
        strText.LoadString(nStringId);
    AfxMessageBox(strText, MB_OK | MB_ICONSTOP);
}

// A catalog code becomes a part of the communication folder's path.
bool IsSafeCatalogCode(const CString& strCode)
{
    if (strCode.IsEmpty())
        return false;
    for (int i = 0; i < strCode.GetLength(); ++i) {
        char ch = strCode[i];
        if (!((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9')))
            return false;
    }
    return true;
}

} // namespace

CWAConnection::CWAConnection(CWASettings& settings, CWAServicePrompts& prompts, const CWAChannelPolicy* pPolicy)
    : m_settings(settings)
    , m_prompts(prompts)
    , m_pPolicy(pPolicy)
{
}

CWAConnection::~CWAConnection()
{
    CloseSocket();
}

BOOL CWAConnection::RunSetup()
{
    m_strLogin = m_settings.m_strLogin;
    m_strPassword = m_settings.m_strPassword;
    m_strCatName = m_settings.m_strCatName;
    m_strCatCode = m_settings.m_strCatCode;
    BOOL bSetUp = FALSE;
    if (!m_strLogin.IsEmpty() && !m_strCatName.IsEmpty() && !m_strCatCode.IsEmpty()
        && !m_settings.m_strCommFolder.IsEmpty()) {
        bSetUp = Connect();
    } else if (m_prompts.RunSetupWizard(*this)) {
        bSetUp = EnsureTargetFolder();
    } else {
        CloseSocket();
    }
    // Set up: from now on the program offers the service's log and account commands.
    if (bSetUp && !thePreferences.m_bWebAccessEnabled && !thePreferences.SaveWebAccessEnabled(TRUE))
        g_log.Printf("Web access: the set-up could not be recorded in the settings\n");
    return bSetUp;
}

BOOL CWAConnection::Connect()
{
    if (m_settings.m_nConnType == WA_CONN_LAN && !ConnectNetworkPath(m_settings.m_strDirServer)) {
        ShowStop(IDS_WA_DIR_FOLDER_UNREACHABLE, m_settings.m_strDirServer);
        return FALSE;
    }
    if (!EnsureTargetFolder())
        return FALSE;
    CreateSocket(m_settings.m_nConnType, m_settings.m_strDirServer);
    if (m_nPort < 0) {
        ShowStop(IDS_WA_NO_PORT);
        return FALSE;
    }
    CString strNewPassword;
    if (!m_prompts.RunConnectDialog(m_strLogin, m_strPassword, m_strCatName, m_strCatCode, m_nPort, strNewPassword)) {
        CloseSocket();
        return FALSE;
    }
    m_strPassword = strNewPassword;
    return TRUE;
}

BOOL CWAConnection::EnsureTargetFolder()
{
    const CString& strFolder = m_settings.m_strCommFolder;
    // Requests and replies carry passwords and documents: the folder is the
    // user's alone, and one that is a link to elsewhere is not used.
    if (!IsSafeCatalogCode(m_settings.m_strCatCode) || strFolder.IsEmpty() || !CreateFolderPath(strFolder)
        || (!RestrictToOwner(strFolder) && GetLastError() == ERROR_CANT_ACCESS_FILE)) {
        ShowStop(IDS_WA_COMM_FOLDER_FAILED, strFolder);
        return FALSE;
    }
    return TRUE;
}

int CWAConnection::CreateSocket(int nConnType, LPCTSTR pszDirServer)
{
    CloseSocket();
    const bool bTrace = g_log.IsTracing(LOG_WEB_ACCESS);
    if (nConnType == WA_CONN_LAN) {
        if (bTrace)
            g_log.Printf("\nConnection type: LAN, Dir Server: %s", pszDirServer);
        CString strIni(pszDirServer);
        if (!strIni.IsEmpty() && strIni[strIni.GetLength() - 1] != '\\')
            strIni += "\\";
        strIni += "WAServer.ini";
        m_nPort = static_cast<int>(GetPrivateProfileInt("WAServer", "Port", -1, strIni));
    } else if (nConnType == WA_CONN_MODEM || nConnType == WA_CONN_CABLE) {
        if (bTrace)
            g_log.Printf(nConnType == WA_CONN_MODEM ? "\nConnection type: MODEM" : "\nConnection type: CABLE");
        auto pSocket = std::make_unique<CWAListenSocket>(m_settings.m_strCommFolder);
        pSocket->SetPolicy(m_pPolicy);
        CString strAddress;
        UINT nPort = 0;
        if (pSocket->Create(static_cast<UINT>(m_settings.m_nSocketPort), SOCK_STREAM, FD_ALL_EVENTS)
            && pSocket->Listen(static_cast<int>(CWAListenSocket::MAX_CONNECTIONS))
            && pSocket->GetSockName(strAddress, nPort)) {
            m_pSocket = std::move(pSocket);
            m_nPort = static_cast<int>(nPort);
        } else if (bTrace) {
            g_log.Printf("\nSocket error: %d", CAsyncSocket::GetLastError());
        }
    }
    m_nState = m_nPort != -1 ? nConnType : 0;
    return m_nPort;
}

void CWAConnection::CloseSocket()
{
    m_pSocket.reset();
    m_nState = 0;
    m_nPort = -1;
}

void CWAConnection::SetAccount(LPCTSTR pszLogin, LPCTSTR pszPassword, LPCTSTR pszCatalogName, LPCTSTR pszCatalogCode)
{
    m_strLogin = pszLogin;
    m_strPassword = pszPassword;
    m_strCatName = pszCatalogName;
    m_strCatCode = pszCatalogCode;
    // The socket was opened before the catalog was known: from now on it
    // serves the registered catalog's folder, in the program folder as the
    // channel builds it.
    if (m_pSocket)
        m_pSocket->SetCommFolder(BuildCommFolderPath(GetProgramFolder(), pszCatalogCode));
}

BOOL CWAConnection::Disconnect()
{
    CWaitCursor wait;
    if (m_nState == WA_CONN_MODEM && !InternetGetConnectedState(nullptr, 0)) {
        CloseSocket(); // the dial-up link is gone: nothing can reach the server
        return TRUE;
    }
    CWAConnectRequest request;
    request.Connect(FALSE);
    request.SetLoginFields(m_strLogin, m_strPassword);
    request.SetCatalogFields(m_strCatName, m_strCatCode);
    int nResult = request.RunAndParse(WA_CONN_DEFAULT);
    if (nResult != 0)
        m_strLastMessage = request.m_strMessage;
    CloseSocket();
    return nResult == 0;
}

BOOL CWAConnection::Ping()
{
    CWAPingRequest request;
    request.SetCatalogNumber(m_strCatCode);
    request.SetPort(m_nPort);
    return request.Execute() == 0;
}
