#pragma once

// Sockets: the calls of the socket library that the program uses, over the
// host's TCP/IP sockets, with window notifications (WSAAsyncSelect).
//
// Notifications. A selected socket is non-blocking. Its notifications are
// posted to the selected window, wParam the socket and lParam
// WSAMAKESELECTREPLY(event, error), and are serviced in the message wait of
// the thread that owns that window (GetMessage, PeekMessage, WaitMessage and
// MsgWaitForMultipleObjects poll the thread's selected sockets; a blocked
// wait wakes for them):
//   FD_ACCEPT  when a connection waits; again after the next accept.
//   FD_READ    when data can be read (also at selection with data there);
//              again after the next recv when data remains.
//   FD_WRITE   after connect or accept completes; after a send that failed
//              with WSAEWOULDBLOCK, once there is room again.
//   FD_CONNECT once when a connect completes, with 0 or the error.
//   FD_CLOSE   once, after the data that came before the close was read: 0
//              for an orderly close, WSAECONNRESET for a reset.
//   FD_OOB     never.
// A new selection replaces the last one; closesocket ends them all; messages
// already queued still arrive, for a handle that no longer names a socket.
//
// Only IPv4 stream sockets exist. Sends never raise a signal.

#include "platform/base/WinTypes.h"
#include "platform/net/WinsockErrors.h"

// A socket handle: a number that is never given out twice in a process, so a
// late notification for a closed socket never reaches a later one.
using SOCKET = UINT_PTR;
constexpr SOCKET INVALID_SOCKET = ~static_cast<SOCKET>(0);
constexpr int SOCKET_ERROR = -1;

// clang-format off
constexpr int AF_INET       = 2;
constexpr int SOCK_STREAM   = 1;
constexpr ULONG INADDR_ANY  = 0; // every local address, in either byte order

/* ShutDown. */
constexpr int SD_RECEIVE = 0;
constexpr int SD_SEND    = 1;
constexpr int SD_BOTH    = 2;

/* ioctlsocket. */
constexpr long FIONBIO  = static_cast<long>(0x8004667EUL); // *argp non-zero: non-blocking
constexpr long FIONREAD = 0x4004667F;                      // *argp: bytes ready to read

/* Notification events of WSAAsyncSelect. */
constexpr long FD_READ    = 0x01;
constexpr long FD_WRITE   = 0x02;
constexpr long FD_OOB     = 0x04; // accepted in masks, never posted
constexpr long FD_ACCEPT  = 0x08;
constexpr long FD_CONNECT = 0x10;
constexpr long FD_CLOSE   = 0x20;
constexpr long FD_ALL_EVENTS = FD_READ | FD_WRITE | FD_OOB | FD_ACCEPT | FD_CONNECT | FD_CLOSE;
// clang-format on

// An IPv4 address in network byte order.
struct IN_ADDR {
    ULONG s_addr;
};

// A socket address: the family and the bytes that follow it.
struct SOCKADDR {
    USHORT sa_family;
    char sa_data[14];
};

// An IPv4 socket address: family AF_INET, port and address in network byte order.
struct SOCKADDR_IN {
    SHORT sin_family;
    USHORT sin_port;
    IN_ADDR sin_addr;
    char sin_zero[8];
};

struct WSADATA {
    WORD wVersion;
    WORD wHighVersion;
    char szDescription[257];
    char szSystemStatus[129];
    USHORT iMaxSockets;
    USHORT iMaxUdpDg;
    char* lpVendorInfo;
};
using LPWSADATA = WSADATA*;

// The parts of a notification's lParam.
constexpr WORD WSAGETSELECTEVENT(LPARAM lParam)
{
    return static_cast<WORD>(lParam & 0xFFFF);
}
constexpr WORD WSAGETSELECTERROR(LPARAM lParam)
{
    return static_cast<WORD>((lParam >> 16) & 0xFFFF);
}
constexpr LPARAM WSAMAKESELECTREPLY(WORD wEvent, WORD wError)
{
    return static_cast<LPARAM>(static_cast<DWORD>(wEvent) | (static_cast<DWORD>(wError) << 16));
}

/* Start and end (accepted; the host needs neither). */

int WSAStartup(WORD wVersionRequested, LPWSADATA lpWSAData);
int WSACleanup();
// The error of the calling thread's last failed socket call.
int WSAGetLastError();
void WSASetLastError(int nError);

/* The calls. Each fails with SOCKET_ERROR (INVALID_SOCKET for those that
   make a socket) and the error in WSAGetLastError. */

SOCKET socket(int af, int type, int protocol);
int bind(SOCKET s, const SOCKADDR* name, int namelen);
int listen(SOCKET s, int backlog);
// The new socket takes over the listener's selection (and with it FD_WRITE).
SOCKET accept(SOCKET s, SOCKADDR* addr, int* addrlen);
// On a non-blocking socket: SOCKET_ERROR with WSAEWOULDBLOCK, then FD_CONNECT.
int connect(SOCKET s, const SOCKADDR* name, int namelen);
// 0 at the end of the data; SOCKET_ERROR with WSAEWOULDBLOCK when none waits.
int recv(SOCKET s, char* buf, int len, int flags);
int send(SOCKET s, const char* buf, int len, int flags);
int shutdown(SOCKET s, int how);
int closesocket(SOCKET s);
int getsockname(SOCKET s, SOCKADDR* name, int* namelen);
int getpeername(SOCKET s, SOCKADDR* name, int* namelen);
// FIONBIO (refused with WSAEINVAL for blocking while selected) and FIONREAD.
int ioctlsocket(SOCKET s, long cmd, ULONG* argp);
// Selects the events of lEvent for notifications to hWnd as wMsg; 0 ends them.
int WSAAsyncSelect(SOCKET s, HWND hWnd, UINT wMsg, long lEvent);

/* Byte order and addresses. */

USHORT htons(USHORT hostshort);
USHORT ntohs(USHORT netshort);
ULONG htonl(ULONG hostlong);
ULONG ntohl(ULONG netlong);
// A dotted IPv4 address in network byte order; INADDR_NONE when it is not one.
constexpr ULONG INADDR_NONE = 0xFFFFFFFF;
ULONG inet_addr(const char* cp);
// The dotted form; the text lives until the thread's next call.
const char* inet_ntoa(IN_ADDR in);
