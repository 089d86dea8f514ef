#pragma once

// The host's IPv4 stream sockets for the socket calls (Winsock.cpp), which
// cannot include the system's socket headers beside their own names.
// Addresses and ports are in network byte order. Every call that can fail
// returns a negative socket error code (-WSAE...) on failure.

#include "platform/base/WinTypes.h"

namespace HostSockets {

// A new stream socket descriptor.
int Open();
int Bind(int fd, ULONG nAddress, USHORT nPort);
int Listen(int fd, int nBacklog);
// A new descriptor, non-blocking when bNonBlocking; the peer's address.
int Accept(int fd, bool bNonBlocking, ULONG* pnAddress, USHORT* pnPort);
// 0 when connected; -WSAEWOULDBLOCK while a non-blocking connect goes on.
int Connect(int fd, ULONG nAddress, USHORT nPort);
// Bytes read (0 at the end of the data).
long Receive(int fd, void* pBuffer, size_t nLength, bool bPeek);
// Bytes sent; never raises a signal.
long Send(int fd, const void* pBuffer, size_t nLength);
int ShutDown(int fd, int nHow);
void Close(int fd);
int LocalName(int fd, ULONG* pnAddress, USHORT* pnPort);
int PeerName(int fd, ULONG* pnAddress, USHORT* pnPort);
int SetNonBlocking(int fd, bool bNonBlocking);
// Bytes that can be read without waiting.
int BytesReadable(int fd);
// The socket's pending error (0 for none), as a positive socket error code.
int PendingError(int fd);

// The socket error code of an errno value.
int ErrorFromErrno(int nErrno);

} // namespace HostSockets
