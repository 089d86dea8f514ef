#pragma once

// The web access service: finds request files in the communication folder on
// a timer, runs the command each one carries in its user's session, and
// writes the reply beside it, where the relay (or the socket channel) takes
// it. Its tray icon shows while it serves; every step is logged.
//
// Files of one exchange, each named by the communication ID: <ID>.in (line 1
// the user ID, followed after a LOGIN by "|" and the session key that the
// LOGIN reply handed out; line 2 the token; deleted once read), <ID>.~ou (the reply
// being written) and <ID>.out (the reply, renamed only once complete). A
// reply is a zip reply that ends in "\r\n<#END#>", after an error line
// "\r\n<#ERR |text|#>" when the request failed; a successful LOGIN puts
// "\r\n<#SESSION |key|#>" after its page.
//
// Sessions: one per successful LOGIN, found by the user ID and its key
// together. A failed LOGIN touches no session; a LOGIN carrying a session's
// key replaces that session; a session idle for the settings' SessionTime
// ends. Wrong passwords hold their user ID for a while (CWALoginThrottle).
//
// Requests: a watch on the communication folder runs a scan as soon as a
// name comes or goes, and timer 101 scans as well. A scan runs at most
// MAX_SCAN_BATCH requests and for about SCAN_BUDGET_MS; what is left waits
// for the next, armed at once. A DOWN2 reply's file bytes are written by the
// reply writer on its own thread; the ID's next request waits until that
// reply is whole.
//
// Uploads: the socket channel takes one only when the ID's session announced
// it (UPL, which the profile must allow), it is within the settings' limit
// and the disk has room for it; an upload file nobody announced, or one past
// the limit, is deleted.
//
// Timers of the tray window (intervals from the settings, with floors so a
// zero setting never spins):
//   101 ReqTime   scan for request files (then the socket channel's waits)
//   102 ReqTime   look for announced uploads (<ID>.upl) while any is pending
//   103 30000 ms  watch a dial-up link while the connection state is 1
//   104 PingTime  ping the directory server; a third of it after a failure
// Everything runs in the user-interface thread, but for the reply writer's
// copying of a download and the folder watch's wait, which only post to it.

#include "ui/CSystemTray.h"
#include "webaccess/server/CWAChannelPolicy.h"
#include "webaccess/server/CWALogFile.h"
#include "webaccess/server/CWALoginThrottle.h"

#include <map>
#include <memory>
#include <set>
#include <vector>

class CCatalog;
class CWACmdLogin;
class CWAConnection;
class CWAOutputFile;
class CWAReplyWriter;
class CWARequestWatch;
class CWAServicePrompts;
class CWASession;
class CWASettings;
struct WA_GROUP_KEY;

class CWAServer
    : public CSystemTray
    , public CWAChannelPolicy {
public:
    // clang-format off
    static constexpr UINT_PTR TIMER_SCAN       = 101;
    static constexpr UINT_PTR TIMER_UPLOAD     = 102;
    static constexpr UINT_PTR TIMER_CONNECTION = 103;
    static constexpr UINT_PTR TIMER_PING       = 104;
    static constexpr UINT CONNECTION_CHECK     = 30000; // ms
    static constexpr UINT MIN_SCAN_INTERVAL    = 10;    // ms
    static constexpr UINT MIN_PING_INTERVAL    = 1000;  // ms
    static constexpr size_t MAX_LOG_LINES      = 10000;
    static constexpr int MAX_LOG_ARGUMENT      = 256;
    static constexpr size_t MAX_REQUEST_LINE   = 64 * 1024;
    static constexpr size_t MAX_SESSIONS       = 4096;
    static constexpr size_t MAX_SCAN_BATCH     = 64;    // requests a scan runs at most
    static constexpr UINT SCAN_BUDGET_MS       = 15;    // a scan starts no request after this
    static constexpr ULONGLONG UPLOAD_SPACE_RESERVE = 64 * 1024 * 1024; // bytes an upload leaves free
    // clang-format on

    // Both references must outlive the server.
    CWAServer(CWASettings& settings, CWAServicePrompts& prompts);
    ~CWAServer() override;

    // The tray's callback message "WEBM System Tray", registered once.
    static UINT RegisterTrayMessage();

    /* Life. */

    // The log path, the tray window with icon 407 (hidden) and its animation
    // icons, and the connection. FALSE after Halt when the window fails.
    BOOL Init();
    // Sets up the connection (RunSetup), then serves; FALSE when set-up fails.
    BOOL Start();
    // Stops serving, disconnects and hides the icon.
    void Stop();
    // Stops serving and destroys the tray window.
    void Halt();
    // The log dialog with the lines so far.
    void ShowLog();

    /* Serving. */

    // Deletes leftover request files, arms the timers, shows the icon, shows
    // the connection notice when the settings ask for it and logs 5074.
    // FALSE, with nothing done, when the communication folder is not safe
    // or cannot be made (EnsureTargetFolder shows why).
    BOOL StartScan();
    // Disarms the timers, ends every session and logs 5075.
    void StopScan();
    // Ends every session without stopping: sessions hold records of the
    // catalog they were made on, so they end before that catalog closes.
    void EndSessions();
    // Runs every request file of the communication folder. While no catalog
    // is served (the program is replacing it) the requests wait there.
    void ScanRequests();
    void ProcessRequestFile(LPCTSTR pszFolder, LPCTSTR pszName);
    // Stores every announced upload that has arrived.
    void ScanUploads();
    // Moves an arrived upload to its target and answers with its own reply.
    void StoreUpload(const CString& strUpload, const CString& strTarget);
    // Frees the target name: an existing file is moved aside to
    // "name[NNN-tag].ext", NNN one above the highest such number. FALSE when
    // that move fails.
    static BOOL MakeUniqueName(int nTag, LPCTSTR pszTarget);

    /* The log: "Mon dd, yyyy  hh:mm:ss - text" lines, in memory (the last
       MAX_LOG_LINES) and appended to "WebArch.LOG" in the program folder
       (CWALogFile: the user's alone, bounded in size). No line holds a
       password. */

    void Log(LPCTSTR pszText);
    const std::vector<CString>& GetLogLines() const { return m_logLines; }

    // Every session loses its grant of a group that was deleted.
    void ForgetGroup(const WA_GROUP_KEY& key);

    CWAConnection* GetConnection() const { return m_pConnection.get(); }
    size_t GetSessionCount() const { return m_sessions.size(); }

    /* The socket channel's policy, from the settings. */

    DWORD GetRequestDeadline() const override;
    ULONGLONG GetUploadLimit() const override;
    LPCTSTR CheckUpload(const CString& strUplPath, ULONGLONG nRawSize, ULONGLONG nPackedSize) const override;

protected:
    // The bytes free for the caller in pszFolder's file system; 0 when unknown.
    virtual ULONGLONG GetFreeSpace(LPCTSTR pszFolder) const;

    void OnTimer(UINT_PTR nIDEvent);
    // The folder watch saw a change, or the reply writer finished a reply.
    LRESULT OnRequestsChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnReplyWritten(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    // The error line of code nCode into the reply, and its log line with the
    // argument (cut to MAX_LOG_ARGUMENT characters).
    void WriteErrorReply(CWAOutputFile& reply, int nCode, LPCTSTR pszLogArgument);
    using SessionMap = std::map<CString, std::unique_ptr<CWASession>>;

    // A LOGIN whose user ID is its request's: the new session, with the
    // SESSION token of its key after its page, replaces itOld (the session
    // whose key the request carried; end() for none). A wrong password
    // touches no session and counts against the ID (CWALoginThrottle).
    void Login(CWACmdLogin& login, CWAOutputFile& reply, CCatalog& catalog, SessionMap::iterator itOld,
        const CString& strBase);
    // Drops the upload announced under strBase, then the session.
    void EndSession(const CString& strUserLine, const CString& strBase);
    // The session map by user line (user ID, "|", key).
    void AddSession(const CString& strUserLine, std::unique_ptr<CWASession> pSession);
    void RemoveSession(const CString& strUserLine);
    // Ends the sessions idle for longer than the settings allow.
    void ExpireSessions();
    // Deletes the upload files of the communication folder that no session announced.
    void DeleteUnannouncedUploads();
    bool IsUploadPending(const CString& strUplPath) const;
    void OnPingTimer();
    void CheckConnection();
    UINT ScanInterval() const;
    void ArmTimer(UINT_PTR nId, UINT nInterval);
    void KillServerTimer(UINT_PTR nId);

    CWASettings& m_settings;
    CWAServicePrompts& m_prompts;
    std::set<UINT_PTR> m_armedTimers;
    UINT m_nPingInterval { 0 };
    std::vector<CString> m_logLines;
    CWALogFile m_logFile;
    bool m_bLogShown { false };
    SessionMap m_sessions; // by user line: user ID, "|", key
    CWALoginThrottle m_loginThrottle;
    std::map<CString, CString> m_pendingUploads; // <ID>.upl path to its target
    std::set<CString> m_unreadableRequests;      // logged once each while they stay
    bool m_bLinkAnimation { false };             // the icon animates for a lost dial-up link
    std::unique_ptr<CWAConnection> m_pConnection;
    std::unique_ptr<CWARequestWatch> m_pWatch; // while serving
    std::unique_ptr<CWAReplyWriter> m_pWriter; // from Init
};
