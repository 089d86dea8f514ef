#pragma once

// One connection of the socket channel, carrying one exchange with the relay
// of the directory server. It writes the request (or the upload) into the
// communication folder under the names the request-folder server reads,
// waits for the reply file the server writes, and sends it back unchanged;
// the end of the reply is the close of the connection.
//
// A state machine on the socket's notifications; nothing waits on the stack:
//
//   INIT --first line--> REQUEST --"<#END#>"--> WAIT --<ID>.out--> SEND --> DONE
//        \                                       ^  (no wait after a logout: DONE)
//         `-----------> UPLOAD --count--> UNZIP -'
//
//   INIT     bytes up to the first LF; ParseInitLine; the folder must be this
//            listener's; the ID is claimed for the whole exchange ("System
//            is busy!" while another live exchange has it); then <ID>.out is
//            deleted (failures ignored).
//            An upload must be announced by its session and fit the limit
//            and the free space (the listener's policy); otherwise it is
//            refused before a byte lands.
//   REQUEST  <ID>.$in made new with "<ID>\r\n", or "<ID>|<key>\r\n" when
//            the first line carries a session key; each line written with
//            "\r\n"; "<#LOGOUT " clears the wait; "<#END#>" renames it to
//            <ID>.in ("System is busy!" when taken). Bytes after it are ignored.
//   UPLOAD   <ID>.$$1 receives the packed size (1 or more) or the raw size,
//            bytes that came with the first line first; short: "Uploaded
//            file corrupted!". Raw: renamed to <ID>.upl.
//   UNZIP    into <ID>.$$2 in slices (the listener posts each turn), bounded
//            by the raw size; then renamed to <ID>.upl. A reset of the peer
//            ends it.
//   WAIT     until <ID>.out exists and the request or upload this exchange
//            placed is gone, taken by the server (CheckReply after each scan
//            of the server and on the listener's tick): SEND. 60 s: "Time
//            Out". Listener ended: "Communication Shut Down". A half-close of
//            the peer keeps the wait; a reset ends it.
//   SEND     the file's bytes as the socket takes them, SEND_SLICE a turn
//            (the listener posts the next); then the file is deleted and
//            the socket closed.
// An error reply is a zip reply "\r\n<#ERR |text|#>" in a temporary file,
// sent as in SEND. A file error while receiving sends nothing.
//
// Invariants: (1) a temporary name (.$in, .$$1, .$$2) is created new and
// claimed from the listener; a name another live exchange claims answers
// "System is busy!", an unclaimed leftover is deleted and made again.
// (2) Every way out of an exchange deletes the temporaries it still owns,
// and the request or upload it placed while the server has not taken it.
// (4) A reply goes only to the exchange whose request made it: one live
// exchange per ID (the claim of INIT), and none takes a reply before the
// server took its request, or leaves a request behind whose reply a later
// exchange of the ID would take.
// (3) The connection never deletes itself: once DONE the listener deletes it
// after the notification has returned.
// Limits: a line 64 KiB, a request 1 MiB (past them: closed, nothing sent;
// a first line past it: "Invalid command!"); 30 s without a byte while
// receiving, or the policy's deadline passed before the request is whole
// (an upload: the deadline and its bytes at MIN_UPLOAD_RATE): closed,
// nothing sent; 60 s without progress while sending: closed.

#include "platform/net/AsyncSocket.h"
#include "webaccess/server/CWAChannelFile.h"
#include "webaccess/server/CWASocketMessage.h"
#include "webaccess/server/CWAUnzipReader.h"

#include <string>
#include <vector>

class CWAListenSocket;

class CWAClientSocket : public CAsyncSocket {
public:
    enum class State { INIT, REQUEST, UPLOAD, UNZIP, WAIT, SEND, DONE };

    explicit CWAClientSocket(CWAListenSocket* pListener);
    // Deletes the temporaries still owned; a reply being sent is deleted too.
    ~CWAClientSocket() override;

    State GetState() const { return m_eState; }
    bool IsFinished() const { return m_eState == State::DONE; }

    /* The listener's calls. */

    // Starts the exchange's clock once the connection is accepted.
    void Begin();
    // WAIT: sends the reply when it exists.
    void CheckReply();
    // Applies the time limits.
    void OnTick();
    // UNZIP or SEND: one more slice.
    void ContinueTurn();
    // The listener ends: a wait is answered "Communication Shut Down" as far
    // as the socket takes it at once; every exchange then ends.
    void ShutDown();
    // Answers "System is busy!" and ends, for a connection over the limit.
    void Refuse();

    /* Notifications. */

    void OnReceive(int nErrorCode) override;
    void OnSend(int nErrorCode) override;
    void OnClose(int nErrorCode) override;

    // The largest line and request accepted.
    static constexpr size_t MAX_LINE = 64 * 1024;
    static constexpr size_t MAX_REQUEST = 1024 * 1024;
    static constexpr DWORD IDLE_LIMIT = 30000;  // ms without a byte while receiving
    static constexpr DWORD REPLY_LIMIT = 60000; // ms to wait for the reply
    static constexpr DWORD SEND_LIMIT = 60000;  // ms without progress while sending
    static constexpr ULONGLONG UNZIP_SLICE = 4 * 1024 * 1024;
    static constexpr size_t SEND_SLICE = 256 * 1024;
    static constexpr ULONGLONG MIN_UPLOAD_RATE = 64 * 1024; // bytes a second an upload must keep up

    // The request deadline of a listener without a policy.
    static constexpr DWORD DEFAULT_REQUEST_DEADLINE = 30000; // ms

private:
    // The bytes of one turn, as the state takes them.
    void Consume(const char* pData, size_t nLength);
    void ReadInit(const std::string& strLine);
    void DeleteOldReply();
    // FALSE when the exchange ended.
    bool TakeRequest(const std::string& strLine);
    void TakeUpload(const char* pData, size_t nLength);
    // FALSE, with the refusal sent, when the policy refuses the upload.
    bool AdmitUpload();
    void FinishUpload();
    void ContinueUnzip();
    void StoreUpload(const CString& strResult);
    // Waits for the reply to strPlaced (<ID>.in or <ID>.upl), unless no
    // reply comes (a logout).
    void StartWait(const CString& strPlaced);

    // Creates <ID> + pszExtension by invariant (1), its path going to
    // strOwned once claimed; false when the exchange ended instead.
    bool CreateTemporary(CWAChannelFile& file, CString& strOwned, LPCTSTR pszExtension);
    void DropTemporary(CString& strPath);
    CString PathOf(LPCTSTR pszExtension) const;

    // Sends a file (deleted afterwards) and closes.
    void StartSending(const CString& strPath);
    void SendMore();
    // Sends the error reply; without a temporary file, only closes.
    void SendError(LPCTSTR pszText);
    // Ends the exchange: temporaries deleted, the socket closed.
    void Finish();

    CWAListenSocket* m_pListener;
    State m_eState { State::INIT };
    DWORD m_dwLastActivity { 0 }; // tick count of the last byte or step
    DWORD m_dwStarted { 0 };      // tick count of the accept
    DWORD m_dwReceiveLimit { 0 }; // ms from the accept until the request or upload must be whole
    DWORD m_dwReplyDeadline { 0 };
    bool m_bWaitForReply { true };

    CString m_strFolder; // the communication folder, ending in '\'
    CString m_strId;
    CString m_strIdClaim;     // the claim of the ID while this exchange lives; empty when none
    CString m_strPlaced;      // the request or upload waiting for the server; empty when none
    std::string m_strPending; // bytes of a line not yet complete
    size_t m_nRequestBytes { 0 };

    CWAChannelFile m_file; // .$in, .$$1 or the file being sent
    CString m_strTempIn;   // owned temporaries, empty when none
    CString m_strTempUpload;
    CString m_strTempUnzip;
    LONG m_nRawSize { 0 };
    LONG m_nPackedSize { 0 };
    ULONGLONG m_nUploadLeft { 0 };
    CWAUnzipReader m_unzip;

    CString m_strSendPath;     // deleted when the send ends
    std::vector<char> m_block; // the block being sent
    size_t m_nBlockPos { 0 };
    bool m_bFileDone { false };
};
