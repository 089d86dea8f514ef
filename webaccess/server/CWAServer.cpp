#include "webaccess/server/CWAServer.h"

#include "platform/base/CFile.h"
#include "platform/base/CTime.h"
#include "platform/base/FileFind.h"
#include "platform/base/FileFunctions.h"
#include "platform/base/FileHandle.h"
#include "platform/base/KernelObject.h"
#include "platform/base/Threads.h"
#include "platform/base/Volumes.h"
#include "platform/base/WinError.h"
#include "platform/framework/CWinApp.h"
#include "platform/gdi/Icons.h"
#include "platform/net/ConnectedState.h"
#include "platform/window/WindowClass.h"
#include "resources/ResourceIds.h"
#include "store/FileHelpers.h"
#include "webaccess/directory/CWAHttpQuery.h"
#include "webaccess/pages/CWAOutputFile.h"
#include "webaccess/profiles/CWAProfiles.h"
#include "webaccess/profiles/CWASettings.h"
#include "webaccess/server/CWACmdUpl.h"
#include "webaccess/server/CWACmdWdir.h"
#include "webaccess/server/CWACommand.h"
#include "webaccess/server/CWAConnection.h"
#include "webaccess/server/CWAGroupWatch.h"
#include "webaccess/server/CWAListenSocket.h"
#include "webaccess/server/CWAReplyWriter.h"
#include "webaccess/server/CWARequestWatch.h"
#include "webaccess/server/CWAServicePrompts.h"
#include "webaccess/server/CWASession.h"
#include "webaccess/server/CWASocketMessage.h"
#include "webaccess/server/FileCommands.h"
#include "webaccess/server/WebCommands.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>

namespace {

constexpr UINT WM_WA_REQUESTS_CHANGED = WM_APP + 0x41;
constexpr UINT WM_WA_REPLY_WRITTEN = WM_APP + 0x42;

} // namespace

BEGIN_MESSAGE_MAP(CWAServer, CSystemTray)
    ON_WM_TIMER()
    ON_MESSAGE(WM_WA_REQUESTS_CHANGED, &CWAServer::OnRequestsChanged)
    ON_MESSAGE(WM_WA_REPLY_WRITTEN, &CWAServer::OnReplyWritten)
END_MESSAGE_MAP()

namespace {

// The server's own error codes beside the commands' status codes.
constexpr int WA_ERROR_NO_COMMAND = 1;
constexpr int WA_ERROR_NO_PROFILE = 3;
constexpr int WA_ERROR_NOT_ALLOWED = 6;
constexpr int WA_ERROR_NO_SESSION = 7;
constexpr int WA_ERROR_NO_UPLOAD_FOLDER = 11;

// The reply and log strings of each error code; any other code is 2's.
struct ErrorStrings {
    int nCode;
    UINT nReply;
    UINT nLog;
};
// clang-format off
constexpr ErrorStrings ERRORS[] = {
    { WA_ERROR_NO_COMMAND,      IDS_WA_ERR_NO_COMMAND,       IDS_WA_LOG_NO_COMMAND },
    { WA_ERROR_NO_PROFILE,      IDS_WA_ERR_NO_PROFILE,       IDS_WA_LOG_NO_PROFILE },
    { WA_STATUS_UNAVAILABLE,    IDS_WA_ERR_UNAVAILABLE,      IDS_WA_LOG_UNAVAILABLE },
    { WA_STATUS_MAIL_FAILED,    IDS_WA_ERR_MAIL_FAILED,      IDS_WA_LOG_MAIL_FAILED },
    { WA_ERROR_NOT_ALLOWED,     IDS_WA_ERR_NOT_ALLOWED,      IDS_WA_LOG_NOT_ALLOWED },
    { WA_ERROR_NO_SESSION,      IDS_WA_ERR_NO_SESSION,       IDS_WA_LOG_NO_SESSION },
    { WA_STATUS_NOT_A_NODE,     IDS_WA_ERR_NOT_A_NODE,       IDS_WA_LOG_NOT_A_NODE },
    { WA_STATUS_MISSING,        IDS_WA_ERR_MISSING,          IDS_WA_LOG_MISSING },
    { WA_STATUS_NO_GROUP,       IDS_WA_ERR_NO_GROUP,         IDS_WA_LOG_NO_GROUP },
    { WA_ERROR_NO_UPLOAD_FOLDER, IDS_WA_ERR_NO_UPLOAD_FOLDER, IDS_WA_LOG_NO_UPLOAD_FOLDER },
};
constexpr ErrorStrings OTHER_ERROR = { WA_STATUS_MALFORMED, IDS_WA_ERR_REFUSED, IDS_WA_LOG_REFUSED };
// clang-format on

const ErrorStrings& StringsOf(int nCode)
{
    for (const ErrorStrings& error : ERRORS)
        if (error.nCode == nCode)
            return error;
    return OTHER_ERROR;
}

CString Loaded(UINT nId)
{
    CString strText;
    strText.LoadString(nId);
    return strText;
}

template<typename... Args> CString Formatted(UINT nId, const Args&... args)
{
    CString strText;
    strText.Format(nId, args...);
    return strText;
}

// Reads a request's two lines. FALSE when the file cannot be opened; a line
// past the limit gives an empty token, which no command matches.
BOOL ReadRequest(LPCTSTR pszPath, CString& strUserId, CString& strToken)
{
    HANDLE hFile = CreateFile(pszPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return FALSE;
    std::string strText;
    char buffer[4096];
    DWORD dwRead = 0;
    bool bTooLong = false;
    while (ReadFile(hFile, buffer, sizeof buffer, &dwRead, nullptr) && dwRead > 0) {
        strText.append(buffer, dwRead);
        if (strText.size() > 2 * CWAServer::MAX_REQUEST_LINE + 4) {
            bTooLong = true;
            break;
        }
    }
    CloseHandle(hFile);
    auto takeLine = [&strText](size_t& nPos) {
        size_t nEnd = strText.find('\n', nPos);
        std::string strLine = strText.substr(nPos, nEnd == std::string::npos ? std::string::npos : nEnd - nPos);
        nPos = nEnd == std::string::npos ? strText.size() : nEnd + 1;
        if (!strLine.empty() && strLine.back() == '\r')
            strLine.pop_back();
        return strLine;
    };
    size_t nPos = 0;
    std::string strFirst = takeLine(nPos);
    std::string strSecond = takeLine(nPos);
    if (bTooLong || strFirst.size() > CWAServer::MAX_REQUEST_LINE || strSecond.size() > CWAServer::MAX_REQUEST_LINE)
        strSecond.clear();
    strUserId = CString(strFirst.c_str());
    strToken = CString(strSecond.c_str());
    return TRUE;
}

} // namespace

CWAServer::CWAServer(CWASettings& settings, CWAServicePrompts& prompts)
    : m_settings(settings)
    , m_prompts(prompts)
{
    CWAGroupWatch::Get().AttachServer(this);
}

CWAServer::~CWAServer()
{
    CWAGroupWatch::Get().DetachServer(this);
    m_pWatch.reset();
    m_pWriter.reset();
    m_pConnection.reset();
    m_sessions.clear();
}

UINT CWAServer::RegisterTrayMessage()
{
    static const UINT s_nMessage = RegisterWindowMessage("WEBM System Tray");
    return s_nMessage;
}

/*** Life ***/

BOOL CWAServer::Init()
{
    m_logFile.SetPath(GetProgramFolder() + "WebArch.LOG");
    HINSTANCE hInstance = AfxFindResourceHandle(MAKEINTRESOURCE(IDI_WEB_TRAY), RT_GROUP_ICON);
    HICON hIcon = LoadIcon(hInstance, MAKEINTRESOURCE(IDI_WEB_TRAY));
    if (!Create(nullptr, RegisterTrayMessage(), "WebArchivora", hIcon, IDR_WEB_TRAY, FALSE)) {
        Halt();
        return FALSE;
    }
    SetIconFromResource(IDI_WEB_TRAY, IDI_WEB_TRAY_BUSY);
    m_pConnection = std::make_unique<CWAConnection>(m_settings, m_prompts, this);
    m_pWriter = std::make_unique<CWAReplyWriter>(GetSafeHwnd(), WM_WA_REPLY_WRITTEN);
    return TRUE;
}

BOOL CWAServer::Start()
{
    return m_pConnection && m_pConnection->RunSetup() && StartScan();
}

void CWAServer::Stop()
{
    StopScan();
    if (m_pConnection)
        m_pConnection->Disconnect();
    HideIcon();
}

void CWAServer::Halt()
{
    StopScan();
    if (GetSafeHwnd())
        DestroyWindow();
}

void CWAServer::ShowLog()
{
    if (m_bLogShown)
        return;
    m_bLogShown = true;
    m_prompts.ShowLog(m_logLines);
    m_bLogShown = false;
}

/*** Serving ***/

BOOL CWAServer::StartScan()
{
    // The folder comes from the catalog code the directory server gave:
    // nothing is deleted or served before the code is known to be safe.
    if (!m_pConnection || !m_pConnection->EnsureTargetFolder())
        return FALSE;
    const CString& strFolder = m_settings.m_strCommFolder;
    WIN32_FIND_DATA data {};
    HANDLE hFind = FindFirstFile(strFolder + "*.in", &data);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFile(strFolder + data.cFileName); // a failure is ignored
        } while (FindNextFile(hFind, &data));
        FindClose(hFind);
    }
    m_pWatch = std::make_unique<CWARequestWatch>(strFolder, GetSafeHwnd(), WM_WA_REQUESTS_CHANGED);
    ArmTimer(TIMER_SCAN, ScanInterval());
    m_nPingInterval = std::max<UINT>(static_cast<UINT>(std::max(m_settings.m_nPingTime, 0)), MIN_PING_INTERVAL);
    ArmTimer(TIMER_PING, m_nPingInterval);
    StopAnimation();
    ShowIcon();
    SetMenuDefaultItem(ID_WEB_LOG, FALSE);
    if (m_settings.m_nWarnConn)
        m_prompts.ShowConnectionNotice();
    if (m_pConnection && m_pConnection->GetState() == WA_CONN_MODEM)
        ArmTimer(TIMER_CONNECTION, CONNECTION_CHECK);
    Log(Loaded(IDS_WA_LOG_STARTED));
    return TRUE;
}

void CWAServer::StopScan()
{
    for (UINT_PTR nId : { TIMER_SCAN, TIMER_PING, TIMER_UPLOAD, TIMER_CONNECTION })
        KillServerTimer(nId);
    m_pWatch.reset();
    if (m_pWriter)
        m_pWriter->Drop(); // no one waits for those replies now
    m_pendingUploads.clear();
    EndSessions();
    Log(Loaded(IDS_WA_LOG_STOPPED));
}

void CWAServer::EndSessions()
{
    m_sessions.clear();
}

void CWAServer::ForgetGroup(const WA_GROUP_KEY& key)
{
    for (auto& [strKey, pSession] : m_sessions)
        pSession->ForgetGroup(key);
}

void CWAServer::ScanRequests()
{
    if (m_pWatch)
        m_pWatch->Rearm(); // a change from now on asks for another scan
    const CString strFolder = m_settings.m_strCommFolder;
    std::vector<CString> names;
    WIN32_FIND_DATA data {};
    HANDLE hFind = FindFirstFile(strFolder + "*.in", &data);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.emplace_back(data.cFileName);
        } while (FindNextFile(hFind, &data));
        FindClose(hFind);
    }
    ExpireSessions();
    // Names that went away may be logged again when they come back.
    std::erase_if(m_unreadableRequests,
        [&names](const CString& strName) { return std::find(names.begin(), names.end(), strName) == names.end(); });
    DeleteUnannouncedUploads();
    if (!names.empty() && GetWebCatalog() != nullptr) {
        KillServerTimer(TIMER_SCAN);
        // A batch at a time, so the user-interface thread serves its other
        // messages between batches; the rest follows at once.
        const auto start = std::chrono::steady_clock::now();
        size_t nRun = 0;
        bool bMore = false;
        for (const CString& strName : names) {
            if (nRun == MAX_SCAN_BATCH
                || std::chrono::steady_clock::now() - start >= std::chrono::milliseconds(SCAN_BUDGET_MS)) {
                bMore = true;
                break;
            }
            const CString strOut = strFolder + strName.Left(strName.ReverseFind('.')) + ".out";
            if (m_pWriter && m_pWriter->IsWriting(strOut))
                continue; // the ID's reply is still being written: this one waits for it
            ProcessRequestFile(strFolder, strName);
            ++nRun;
        }
        ArmTimer(TIMER_SCAN, bMore ? MIN_SCAN_INTERVAL : ScanInterval());
    }
    if (m_pConnection && m_pConnection->GetListenSocket())
        m_pConnection->GetListenSocket()->CheckReplies();
}

void CWAServer::ProcessRequestFile(LPCTSTR pszFolder, LPCTSTR pszName)
{
    const CString strPath = CString(pszFolder) + pszName;
    CString strUserLine, strToken;
    if (!ReadRequest(strPath, strUserLine, strToken)) {
        if (m_unreadableRequests.insert(pszName).second)
            Log(Formatted(IDS_WA_LOG_REQUEST_UNREADABLE, strPath));
        return;
    }
    DeleteFile(strPath); // a failure is ignored
    const CString strBase = strPath.Left(strPath.ReverseFind('.'));
    const CString strReplyPath = strBase + ".~ou";
    auto pReply = std::make_unique<CWAOutputFile>();
    CWAOutputFile& reply = *pReply;
    if (!reply.Open(strReplyPath, TRUE)) {
        Log(Formatted(IDS_WA_LOG_REPLY_NOT_CREATED, strPath));
        return;
    }
    CCatalog* pCatalog = AcquireWebCatalog();
    std::unique_ptr<CWAReplyBody> pBody; // a DOWN2's bytes, written by the reply writer
    std::unique_ptr<CWACommand> pCommand = CreateWebCommand(strToken);
    const CString strLogToken = MaskLoginToken(strToken); // the log is no place for a password
    const int nId = pCommand ? pCommand->GetId() : WA_CMD_NONE;
    // Line 1 names the session by the user ID and the key its LOGIN made.
    CString strUserId, strKey;
    SplitUserLine(strUserLine, strUserId, strKey);
    ExpireSessions();
    auto itSession = strKey.IsEmpty() ? m_sessions.end() : m_sessions.find(strUserLine);
    if (itSession != m_sessions.end())
        itSession->second->Touch(GetTickCount());
    const bool bOwnCommand = nId == WA_CMD_LOGIN || nId == WA_CMD_LOGOUT;
    if (!pCommand) {
        WriteErrorReply(reply, WA_ERROR_NO_COMMAND, strLogToken);
    } else if (itSession == m_sessions.end() && !bOwnCommand) {
        // Without a session nothing more is told, not even whether the request was well formed.
        if (pCommand->GetStatus() == WA_STATUS_OK)
            Log("UserID = " + strUserId + " - " + pCommand->GetLogText());
        WriteErrorReply(reply, WA_ERROR_NO_SESSION, strUserId);
    } else if (pCommand->GetStatus() != WA_STATUS_OK) {
        WriteErrorReply(reply, pCommand->GetStatus(), strLogToken);
    } else {
        Log("UserID = " + strUserId + " - " + pCommand->GetLogText());
        if (nId == WA_CMD_LOGIN) {
            auto& login = static_cast<CWACmdLogin&>(*pCommand);
            if (login.GetUserId() != strUserId || !pCatalog) {
                // A login under another ID than its request's would reach that user's session.
                WriteErrorReply(reply, WA_STATUS_MALFORMED, strLogToken);
            } else {
                Login(login, reply, *pCatalog, itSession, strBase);
            }
        } else if (nId == WA_CMD_LOGOUT) {
            // Only the session's own key ends it; a LOGOUT without it ends nothing.
            if (itSession != m_sessions.end())
                EndSession(strUserLine, strBase);
        } else if (!itSession->second->GetProfile() || !itSession->second->GetProfile()->IsCommandAllowed(nId)) {
            WriteErrorReply(reply, WA_ERROR_NOT_ALLOWED, strLogToken);
        } else if (nId == WA_CMD_UPL) {
            CString strFolder = itSession->second->GetProfile()->GetUploadFolder();
            if (strFolder.IsEmpty() || !CreateFolderPath(strFolder)) {
                WriteErrorReply(reply, WA_ERROR_NO_UPLOAD_FOLDER, strFolder);
            } else {
                if (strFolder[strFolder.GetLength() - 1] != '\\')
                    strFolder += "\\";
                // The name has no folder part: the target lies in the upload folder.
                m_pendingUploads[strBase + ".upl"] = strFolder + static_cast<CWACmdUpl&>(*pCommand).GetFileName();
                if (!m_armedTimers.contains(TIMER_UPLOAD))
                    ArmTimer(TIMER_UPLOAD, ScanInterval());
            }
        } else {
            auto* pDown2 = nId == WA_CMD_DOWN2 && m_pWriter ? static_cast<CWACmdDown2*>(pCommand.get()) : nullptr;
            if (pDown2)
                pDown2->DeferBody();
            if (!itSession->second->RunCommand(pCommand, reply))
                WriteErrorReply(reply, itSession->second->GetStatus(), strLogToken);
            else if (pDown2 && pCommand.get() == pDown2)
                pBody = pDown2->TakeBody();
        }
    }
    if (pBody) {
        const ErrorStrings& strings = StringsOf(WA_STATUS_REPLY_FAILED);
        CWAReplyJob job { std::move(pReply), std::move(pBody), strReplyPath, strBase + ".out", CString(),
            Formatted(strings.nLog, CString(strLogToken).Left(MAX_LOG_ARGUMENT)) };
        job.strErrorLine.Format("\r\n<#ERR |%s|#>", static_cast<LPCTSTR>(Loaded(strings.nReply)));
        m_pWriter->Add(std::move(job));
        ReleaseWebCatalog(pCatalog);
        return;
    }
    reply.WriteText("\r\n<#END#>");
    reply.Close();
    ReleaseWebCatalog(pCatalog);
    if (nId == WA_CMD_LOGOUT && pCommand && pCommand->GetStatus() == WA_STATUS_OK) {
        DeleteFile(strReplyPath);
        return;
    }
    const CString strOut = strBase + ".out";
    DeleteFile(strOut); // a stale reply of this ID would block the rename
    if (!RenameFileSafe(strReplyPath, strOut))
        Log(Formatted(IDS_WA_LOG_NOT_RENAMED, strOut));
}

void CWAServer::WriteErrorReply(CWAOutputFile& reply, int nCode, LPCTSTR pszLogArgument)
{
    const ErrorStrings& strings = StringsOf(nCode);
    CString strLine;
    strLine.Format("\r\n<#ERR |%s|#>", static_cast<LPCTSTR>(Loaded(strings.nReply)));
    reply.WriteText(strLine);
    CString strArgument(pszLogArgument);
    if (strArgument.GetLength() > MAX_LOG_ARGUMENT)
        strArgument = strArgument.Left(MAX_LOG_ARGUMENT);
    Log(Formatted(strings.nLog, strArgument));
}

void CWAServer::Login(
    CWACmdLogin& login, CWAOutputFile& reply, CCatalog& catalog, SessionMap::iterator itOld, const CString& strBase)
{
    const CString& strUserId = login.GetUserId();
    const DWORD dwNow = GetTickCount();
    // A held ID is answered as a wrong password, without trying this one.
    if (m_loginThrottle.IsHeld(strUserId, dwNow)) {
        Log("UserID = " + strUserId + " - Login held after repeated wrong passwords");
        WriteErrorReply(reply, WA_ERROR_NO_PROFILE, "********");
        return;
    }
    auto pSession = std::make_unique<CWASession>(login, m_settings, catalog);
    if (!pSession->GetProfile()) {
        m_loginThrottle.NoteFailure(strUserId, dwNow);
        WriteErrorReply(reply, WA_ERROR_NO_PROFILE, "********"); // never the tried password
        return;
    }
    m_loginThrottle.NoteSuccess(strUserId);
    // Without a key no later request could reach the session; past the
    // limit a flood of logins would hold memory until the idle limit.
    if (pSession->GetKey().IsEmpty() || (itOld == m_sessions.end() && m_sessions.size() >= MAX_SESSIONS)) {
        WriteErrorReply(reply, WA_STATUS_MALFORMED, login.GetLogText());
        return;
    }
    Log("UserID = " + strUserId + " - Profile: " + pSession->GetProfile()->GetName());
    if (!login.Prepare(*pSession) || !login.Execute(reply, *pSession, 1)) {
        WriteErrorReply(reply, login.GetStatus(), login.GetLogText());
        return;
    }
    login.SetContext(pSession->GetPlace());
    // A login that carried its session's key replaces that session (the
    // owner logs in again); the sessions of others stay as they are.
    if (itOld != m_sessions.end())
        EndSession(CString(itOld->first), strBase);
    CString strToken;
    strToken.Format("\r\n<#SESSION |%s|#>", static_cast<LPCTSTR>(pSession->GetKey()));
    reply.WriteText(strToken);
    const CString strUserLine = pSession->GetUserLine();
    AddSession(strUserLine, std::move(pSession));
}

void CWAServer::EndSession(const CString& strUserLine, const CString& strBase)
{
    auto itUpload = m_pendingUploads.find(strBase + ".upl");
    if (itUpload != m_pendingUploads.end()) {
        Log(Formatted(IDS_WA_LOG_UPLOAD_DROPPED, itUpload->second));
        m_pendingUploads.erase(itUpload);
        if (m_pendingUploads.empty())
            KillServerTimer(TIMER_UPLOAD);
    }
    RemoveSession(strUserLine);
}

void CWAServer::AddSession(const CString& strUserLine, std::unique_ptr<CWASession> pSession)
{
    m_sessions[strUserLine] = std::move(pSession);
}

void CWAServer::RemoveSession(const CString& strUserLine)
{
    m_sessions.erase(strUserLine);
}

void CWAServer::ExpireSessions()
{
    const DWORD dwNow = GetTickCount();
    const DWORD dwLimit = static_cast<DWORD>(
        m_settings.m_nSessionTime > 0 ? m_settings.m_nSessionTime : CWASettings::DEFAULT_SESSION_TIME);
    std::erase_if(m_sessions, [&](const auto& entry) { return dwNow - entry.second->GetLastUsed() >= dwLimit; });
}

void CWAServer::ScanUploads()
{
    bool bFound = false;
    for (auto it = m_pendingUploads.begin(); it != m_pendingUploads.end();) {
        if (GetFileAttributes(it->first) == INVALID_FILE_ATTRIBUTES) {
            ++it;
            continue;
        }
        if (!bFound)
            KillServerTimer(TIMER_UPLOAD);
        bFound = true;
        StoreUpload(it->first, it->second);
        it = m_pendingUploads.erase(it);
    }
    if (bFound && !m_pendingUploads.empty())
        ArmTimer(TIMER_UPLOAD, ScanInterval());
    if (bFound && m_pConnection && m_pConnection->GetListenSocket())
        m_pConnection->GetListenSocket()->CheckReplies();
}

void CWAServer::StoreUpload(const CString& strUpload, const CString& strTarget)
{
    // Every way out but the move deletes the upload: left behind, it would
    // hold disk space and block the ID's next upload.
    auto dropUpload = [&] {
        if (!DeleteFile(strUpload))
            Log(Formatted(IDS_WA_LOG_UPLOAD_NOT_DELETED, strUpload));
    };
    const CString strBase = strUpload.Left(strUpload.ReverseFind('.'));
    CWAOutputFile reply;
    if (!reply.Open(strBase + ".~ou", TRUE)) {
        Log(Formatted(IDS_WA_LOG_REPLY_NOT_CREATED, strUpload));
        dropUpload();
        return;
    }
    CString strLine;
    CFileStatus status {};
    if (CFile::GetStatus(strUpload, status) && status.m_size > GetUploadLimit()) {
        Log(Formatted(IDS_WA_LOG_UPLOAD_TOO_LARGE, strUpload));
        strLine.Format("\r\n<#ERR |%s|#>", static_cast<LPCTSTR>(Loaded(IDS_WA_UPLOAD_TOO_LARGE)));
        dropUpload();
    } else if (!MakeUniqueName(0, strTarget)) {
        Log(Formatted(IDS_WA_LOG_UPLOAD_NAME_TAKEN, strTarget));
        strLine.Format("\r\n<#ERR |%s|#>", static_cast<LPCTSTR>(Loaded(IDS_WA_UPLOAD_NAME_TAKEN)));
        dropUpload();
    } else if (MoveFile(strUpload, strTarget)) {
        Log(Formatted(IDS_WA_LOG_UPLOAD_STORED, strTarget));
    } else {
        Log(Formatted(IDS_WA_LOG_UPLOAD_NOT_MOVED, strTarget));
        strLine.Format("\r\n<#ERR |%s|#>", static_cast<LPCTSTR>(Loaded(IDS_WA_UPLOAD_NOT_MOVED)));
        dropUpload();
    }
    reply.WriteText(strLine + "\r\n<#END#>");
    reply.Close();
    const CString strOut = strBase + ".out";
    DeleteFile(strOut);
    if (!RenameFileSafe(strBase + ".~ou", strOut))
        Log(Formatted(IDS_WA_LOG_NOT_RENAMED, strOut));
}

bool CWAServer::IsUploadPending(const CString& strUplPath) const
{
    // The channel builds its paths from the first line: the case may differ.
    return std::any_of(m_pendingUploads.begin(), m_pendingUploads.end(),
        [&strUplPath](const auto& entry) { return entry.first.CompareNoCase(strUplPath) == 0; });
}

void CWAServer::DeleteUnannouncedUploads()
{
    const CString& strFolder = m_settings.m_strCommFolder;
    WIN32_FIND_DATA data {};
    HANDLE hFind = FindFirstFile(strFolder + "*.upl", &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    std::vector<CString> unannounced;
    do {
        const CString strPath = strFolder + data.cFileName;
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !IsUploadPending(strPath))
            unannounced.push_back(strPath);
    } while (FindNextFile(hFind, &data));
    FindClose(hFind);
    for (const CString& strPath : unannounced) {
        if (DeleteFile(strPath))
            Log(Formatted(IDS_WA_LOG_UPLOAD_UNANNOUNCED, strPath));
    }
}

/*** The socket channel's policy ***/

DWORD CWAServer::GetRequestDeadline() const
{
    return static_cast<DWORD>(
        m_settings.m_nRequestDeadline > 0 ? m_settings.m_nRequestDeadline : CWASettings::DEFAULT_REQUEST_DEADLINE);
}

ULONGLONG CWAServer::GetUploadLimit() const
{
    const int nMiB = m_settings.m_nUploadLimit > 0 ? m_settings.m_nUploadLimit : CWASettings::DEFAULT_UPLOAD_LIMIT;
    return static_cast<ULONGLONG>(nMiB) * 1024 * 1024;
}

LPCTSTR CWAServer::CheckUpload(const CString& strUplPath, ULONGLONG nRawSize, ULONGLONG nPackedSize) const
{
    if (!IsUploadPending(strUplPath))
        return WA_CHANNEL_NOT_ANNOUNCED;
    const ULONGLONG nLimit = GetUploadLimit();
    if (nRawSize > nLimit || nPackedSize > nLimit)
        return WA_CHANNEL_TOO_LARGE;
    // The packed bytes and what they unpack to lie side by side for a while;
    // a packed upload that does not tell its size may grow to the limit.
    const ULONGLONG nUnpacked = nPackedSize > 0 && nRawSize == 0 ? nLimit : nRawSize;
    if (GetFreeSpace(m_settings.m_strCommFolder) < nPackedSize + nUnpacked + UPLOAD_SPACE_RESERVE)
        return WA_CHANNEL_NO_SPACE;
    return nullptr;
}

ULONGLONG CWAServer::GetFreeSpace(LPCTSTR pszFolder) const
{
    ULARGE_INTEGER free {};
    return GetDiskFreeSpaceEx(pszFolder, &free, nullptr, nullptr) ? free.QuadPart : 0;
}

BOOL CWAServer::MakeUniqueName(int nTag, LPCTSTR pszTarget)
{
    const CString strTarget(pszTarget);
    if (GetFileAttributes(strTarget) == INVALID_FILE_ATTRIBUTES)
        return TRUE;
    const int nDot = strTarget.ReverseFind('.');
    const int nSlash = strTarget.ReverseFind('\\');
    const bool bExtension = nDot > nSlash;
    const CString strBase = bExtension ? strTarget.Left(nDot) : strTarget;
    const CString strExtension = bExtension ? strTarget.Mid(nDot + 1) : CString();
    const CString strName = strBase.Mid(nSlash + 1);
    int nHighest = 0;
    WIN32_FIND_DATA data {};
    HANDLE hFind = FindFirstFile(strBase + "[*." + strExtension, &data);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            const char* pDigits = data.cFileName + strName.GetLength() + 1;
            if (std::strlen(data.cFileName) <= static_cast<size_t>(strName.GetLength()))
                continue;
            int nNumber = 0;
            for (; *pDigits >= '0' && *pDigits <= '9' && nNumber < 100000; ++pDigits)
                nNumber = nNumber * 10 + (*pDigits - '0');
            nHighest = std::max(nHighest, nNumber);
        } while (FindNextFile(hFind, &data));
        FindClose(hFind);
    }
    CString strAside;
    strAside.Format(
        "%s[%03d-%d].%s", static_cast<LPCTSTR>(strBase), nHighest + 1, nTag, static_cast<LPCTSTR>(strExtension));
    return MoveFile(strTarget, strAside);
}

/*** Timers ***/

void CWAServer::OnTimer(UINT_PTR nIDEvent)
{
    switch (nIDEvent) {
    case TIMER_SCAN:
        ScanRequests();
        break;
    case TIMER_UPLOAD:
        ScanUploads();
        break;
    case TIMER_CONNECTION:
        CheckConnection();
        break;
    case TIMER_PING:
        OnPingTimer();
        break;
    default:
        CSystemTray::OnTimer(nIDEvent);
        break;
    }
}

LRESULT CWAServer::OnRequestsChanged(WPARAM, LPARAM)
{
    if (!m_armedTimers.contains(TIMER_SCAN))
        return 0; // not serving, or a scan runs and arms the timer again afterwards
    ScanRequests();
    if (!m_pendingUploads.empty())
        ScanUploads();
    return 0;
}

LRESULT CWAServer::OnReplyWritten(WPARAM, LPARAM)
{
    if (!m_pWriter)
        return 0;
    for (const CWAReplyDone& done : m_pWriter->Collect()) {
        if (!done.strErrorLog.IsEmpty())
            Log(done.strErrorLog);
        if (done.bRenameFailed)
            Log(Formatted(IDS_WA_LOG_NOT_RENAMED, done.strOut));
    }
    if (m_pConnection && m_pConnection->GetListenSocket())
        m_pConnection->GetListenSocket()->CheckReplies();
    // Requests of those IDs waited for these replies.
    if (m_armedTimers.contains(TIMER_SCAN))
        ScanRequests();
    return 0;
}

void CWAServer::OnPingTimer()
{
    KillServerTimer(TIMER_PING);
    UINT nInterval = std::max<UINT>(static_cast<UINT>(std::max(m_settings.m_nPingTime, 0)), MIN_PING_INTERVAL);
    if (!m_pConnection || !m_pConnection->Ping())
        nInterval = std::max<UINT>(nInterval / 3, MIN_PING_INTERVAL);
    m_nPingInterval = nInterval;
    ArmTimer(TIMER_PING, nInterval);
}

void CWAServer::CheckConnection()
{
    KillServerTimer(TIMER_CONNECTION);
    const BOOL bConnected = InternetGetConnectedState(nullptr, 0);
    const int nState = m_pConnection ? m_pConnection->GetState() : -1;
    if (nState == WA_CONN_MODEM) {
        if (!bConnected) {
            StopScan();
            m_pConnection->CloseSocket();
            if (!m_bLinkAnimation) {
                Animate(500, 0);
                m_bLinkAnimation = true;
            }
        }
        ArmTimer(TIMER_CONNECTION, CONNECTION_CHECK);
    } else if (nState == 0) {
        if (!bConnected) {
            if (m_bLinkAnimation)
                ArmTimer(TIMER_CONNECTION, CONNECTION_CHECK);
        } else {
            m_bLinkAnimation = false;
            if (!m_pConnection->Connect() || !StartScan())
                Stop();
        }
    } else {
        Stop();
    }
}

UINT CWAServer::ScanInterval() const
{
    return std::max<UINT>(static_cast<UINT>(std::max(m_settings.m_nReqTime, 0)), MIN_SCAN_INTERVAL);
}

void CWAServer::ArmTimer(UINT_PTR nId, UINT nInterval)
{
    if (GetSafeHwnd() && SetTimer(nId, nInterval, nullptr))
        m_armedTimers.insert(nId);
}

void CWAServer::KillServerTimer(UINT_PTR nId)
{
    if (m_armedTimers.erase(nId) && GetSafeHwnd())
        KillTimer(nId);
}

/*** The log ***/

void CWAServer::Log(LPCTSTR pszText)
{
    const CString strLine = CTime::GetCurrentTime().Format("%b %d, %Y  %H:%M:%S - ") + pszText;
    m_logLines.push_back(strLine);
    if (m_logLines.size() > MAX_LOG_LINES)
        m_logLines.erase(m_logLines.begin(), m_logLines.begin() + static_cast<long>(m_logLines.size() - MAX_LOG_LINES));
    if (m_bLogShown)
        m_prompts.AddLogLine(strLine);
    static_cast<void>(m_logFile.Append(strLine)); // the log never stops the service
}
