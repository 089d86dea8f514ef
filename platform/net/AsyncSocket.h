#pragma once

// CAsyncSocket: a socket object whose notifications arrive as calls of its
// handlers (OnAccept, OnReceive, OnSend, OnConnect, OnClose), in the thread
// that created it.
//
// Each thread that makes such sockets has one hidden socket window
// (AfxSocketInit makes it; Create makes it when needed). Notifications go to
// that window, which finds the object by its handle in the thread's handle
// map and calls the handler. A notification for a handle that is no longer
// mapped (the object was closed or destroyed) is dropped. A handler may
// delete other sockets of the thread; deleting its own object is left to
// whoever owns it, after the handler has returned.

#include "platform/base/CString.h"
#include "platform/net/Winsock.h"

// Makes the calling thread's socket window; TRUE when it exists.
BOOL AfxSocketInit(WSADATA* lpwsaData = nullptr);

class CAsyncSocket {
public:
    CAsyncSocket() = default;
    // Closes the socket.
    virtual ~CAsyncSocket();
    CAsyncSocket(const CAsyncSocket&) = delete;
    CAsyncSocket& operator=(const CAsyncSocket&) = delete;

    /* Making and ending. */

    // Makes a stream socket, selects lEvent and binds it to nSocketPort (0:
    // any) on the address (null: every local address; otherwise a dotted
    // address or "localhost"). FALSE, with the error in GetLastError, when
    // any step fails; the socket is closed again then.
    BOOL Create(UINT nSocketPort = 0, int nSocketType = SOCK_STREAM, long lEvent = FD_ALL_EVENTS,
        LPCTSTR lpszSocketAddress = nullptr);
    // Closes the socket and forgets its handle; notifications still queued are dropped.
    virtual void Close();
    // Takes over a socket handle and selects lEvent for this object.
    BOOL Attach(SOCKET hSocket, long lEvent = FD_ALL_EVENTS);
    // Gives the handle up without closing it.
    SOCKET Detach();
    // The object of a handle in the calling thread; null when none.
    static CAsyncSocket* FromHandle(SOCKET hSocket);

    /* Connections. */

    BOOL Listen(int nConnectionBacklog = 5);
    // Accepts a waiting connection into rConnectedSocket, which must not hold a
    // socket; the new socket has this one's selection.
    virtual BOOL Accept(CAsyncSocket& rConnectedSocket, SOCKADDR* lpSockAddr = nullptr, int* lpSockAddrLen = nullptr);
    // Connects to a dotted address or "localhost"; on a selected socket FALSE
    // with WSAEWOULDBLOCK, then OnConnect.
    BOOL Connect(LPCTSTR lpszHostAddress, UINT nHostPort);
    BOOL ShutDown(int nHow = SD_SEND);

    /* Data. Both return SOCKET_ERROR with the error in GetLastError. */

    virtual int Receive(void* lpBuf, int nBufLen, int nFlags = 0);
    virtual int Send(const void* lpBuf, int nBufLen, int nFlags = 0);

    /* Settings. */

    BOOL AsyncSelect(long lEvent = FD_ALL_EVENTS);
    BOOL IOCtl(long lCommand, DWORD* lpArgument);
    // The local address as dotted text and the port.
    BOOL GetSockName(CString& rSocketAddress, UINT& rSocketPort);
    BOOL GetPeerName(CString& rPeerAddress, UINT& rPeerPort);
    static int GetLastError() { return WSAGetLastError(); }

    /* Notifications, each with 0 or a socket error code. */

    virtual void OnAccept(int nErrorCode);
    virtual void OnReceive(int nErrorCode);
    virtual void OnSend(int nErrorCode);
    virtual void OnConnect(int nErrorCode);
    virtual void OnClose(int nErrorCode);
    virtual void OnOutOfBandData(int nErrorCode);

    // Runs the handler of one notification for its socket; used by the socket window.
    static void DoCallBack(WPARAM wParam, LPARAM lParam);

    SOCKET m_hSocket { INVALID_SOCKET };
};
