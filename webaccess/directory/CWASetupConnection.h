#pragma once

// What the web access setup wizard needs of the server's connection to the
// directory server: the listening side opened for the chosen connection type
// before the account is registered (the server is told the port), closed
// again when the registration is refused or the wizard is cancelled, and the
// account the wizard registered handed over for the connect and ping
// requests that follow. The server's connection implements it; the wizard
// never sees the server.

#include "platform/base/CString.h"

class CWASetupConnection {
public:
    virtual ~CWASetupConnection() = default;

    // Opens what nConnType needs (pszDirServer: the directory-server folder of
    // a LAN link) and returns the port to announce; a negative value when
    // nothing could be opened.
    virtual int CreateSocket(int nConnType, LPCTSTR pszDirServer) = 0;
    // Closes what CreateSocket opened; nothing when nothing is open.
    virtual void CloseSocket() = 0;
    // The account and catalog the directory server accepted.
    virtual void SetAccount(LPCTSTR pszLogin, LPCTSTR pszPassword, LPCTSTR pszCatalogName, LPCTSTR pszCatalogCode) = 0;
};
