#pragma once

// The listening socket of the socket channel and the connections it accepted,
// which it owns. Connections finish on their own notifications; the listener
// deletes finished ones afterwards (on its next tick or posted turn), never
// inside their handlers. Deleting the listener ends every exchange (a wait is
// answered "Communication Shut Down") and closes the connections.
//
// The listener keeps a hidden window in its thread for a one-second tick
// (time limits, replies looked for) and for the turns of long unpacking and
// sending.

#include "platform/base/CString.h"
#include "platform/net/AsyncSocket.h"

#include <map>
#include <memory>
#include <vector>

class CWAChannelPolicy;
class CWAChannelWnd;
class CWAClientSocket;

class CWAListenSocket : public CAsyncSocket {
public:
    // pszCommFolder: the communication folder of this catalog (a trailing '\'
    // is optional); a first line naming another folder is refused.
    explicit CWAListenSocket(LPCTSTR pszCommFolder);
    ~CWAListenSocket() override;

    // Open exchanges at most; a further connection is answered "System is busy!".
    static constexpr size_t MAX_CONNECTIONS = 32;
    static constexpr UINT TICK = 1000; // ms

    // Whether pszFolder (built from a first line) is this catalog's folder,
    // compared without regard to case.
    bool IsCommFolder(LPCTSTR pszFolder) const;
    // The folder of a catalog registered after the socket was made; exchanges
    // already open keep theirs.
    void SetCommFolder(LPCTSTR pszCommFolder);
    // The service's deadlines and upload rules (must outlive the listener);
    // nullptr: the default deadline and no uploads.
    void SetPolicy(const CWAChannelPolicy* pPolicy) { m_pPolicy = pPolicy; }
    const CWAChannelPolicy* GetPolicy() const { return m_pPolicy; }
    // After each scan of the server: exchanges waiting for a reply look for it.
    void CheckReplies();
    // Open connections, finished ones not yet deleted included.
    size_t GetConnectionCount() const { return m_connections.size(); }

    /* For the connections. */

    // Claims a temporary name for pOwner; FALSE when another owner holds it.
    bool ClaimName(const CString& strPath, const CWAClientSocket* pOwner);
    void ReleaseName(const CString& strPath);
    // Asks for a turn: ContinueTurn of pConnection runs from the message loop.
    void PostTurn(CWAClientSocket* pConnection);
    // Asks for finished connections to be deleted soon.
    void PostReap();

    void OnAccept(int nErrorCode) override;

    // The hidden window's messages (WM_TIMER and the posted turns).
    void OnWindowMessage(UINT uMsg, WPARAM wParam);

private:
    void Reap();

    CString m_strCommFolder; // with a trailing '\'
    const CWAChannelPolicy* m_pPolicy { nullptr };
    std::unique_ptr<CWAChannelWnd> m_pWnd; // the tick and the posted turns
    std::vector<std::unique_ptr<CWAClientSocket>> m_connections;
    std::map<CString, const CWAClientSocket*> m_claimedNames; // by lower-cased path
    bool m_bReapPosted { false };
};
