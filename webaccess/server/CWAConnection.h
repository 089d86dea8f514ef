#pragma once

// The web access server's link with the directory server. By the connection
// type of the settings: on the LAN (2) the relay writes into the
// communication folder itself and its port comes from "WAServer.ini" in the
// directory-server folder; over a modem (1) or a cable link (3) the
// connection opens the listening socket of the socket channel and announces
// its port. It connects and disconnects the account, and pings the server.
//
// State: 0 not connected, else the connection type in use; a port is known
// (not -1) whenever the state is not 0. For type 2 no socket exists.

#include "webaccess/directory/CWASetupConnection.h"

#include "platform/base/CString.h"

#include <memory>

class CWAChannelPolicy;
class CWAListenSocket;
class CWAServicePrompts;
class CWASettings;

class CWAConnection : public CWASetupConnection {
public:
    // All three must outlive the connection; the policy goes to every
    // listening socket it opens (none: they refuse uploads).
    CWAConnection(CWASettings& settings, CWAServicePrompts& prompts, const CWAChannelPolicy* pPolicy = nullptr);
    ~CWAConnection() override;
    CWAConnection(const CWAConnection&) = delete;
    CWAConnection& operator=(const CWAConnection&) = delete;

    // Takes the account from the settings; with an account, a catalog and a
    // communication folder, Connect; otherwise the setup wizard, then
    // EnsureTargetFolder; a wizard that ends without Finish leaves no socket open.
    BOOL RunSetup();
    // Reaches the directory-server folder (type 2), makes the communication
    // folder, opens the socket and runs the connect dialog. Each failure
    // shows its message with the stop icon and gives FALSE, the socket closed.
    BOOL Connect();
    // Makes the communication folder with its parents; a catalog code that is
    // not letters and digits, or a folder that cannot be made, shows 5043.
    BOOL EnsureTargetFolder();
    // Opens what nConnType needs (see the class comment) and returns the port,
    // -1 when none; the state follows. The listener's queue holds as many
    // connections as the channel serves at once: relays that connect while
    // the program is busy would otherwise wait a second to try again.
    int CreateSocket(int nConnType, LPCTSTR pszDirServer) override;
    // Deletes the listening socket with every open exchange; state 0, port -1.
    void CloseSocket() override;
    // The account the setup wizard registered, used by Connect, Disconnect and Ping.
    void SetAccount(LPCTSTR pszLogin, LPCTSTR pszPassword, LPCTSTR pszCatalogName, LPCTSTR pszCatalogCode) override;
    // Tells the server the catalog goes off line, unless a dial-up link is
    // already gone; the socket is closed in every case. FALSE keeps the
    // server's message as the last message.
    BOOL Disconnect();
    // Pings the server with the catalog code and the port; TRUE when it answered 0.
    BOOL Ping();

    int GetState() const { return m_nState; }
    int GetPort() const { return m_nPort; }
    const CString& GetLastMessage() const { return m_strLastMessage; }
    // The listening socket of types 1 and 3; null when none.
    CWAListenSocket* GetListenSocket() const { return m_pSocket.get(); }

private:
    CWASettings& m_settings;
    CWAServicePrompts& m_prompts;
    const CWAChannelPolicy* m_pPolicy;
    std::unique_ptr<CWAListenSocket> m_pSocket;
    int m_nState { 0 };
    CString m_strLogin;
    CString m_strPassword;
    CString m_strCatName;
    CString m_strCatCode;
    CString m_strLastMessage;
    int m_nPort { -1 };
};
