#include "platform/net/HostSockets.h"

#include "platform/net/WinsockErrors.h"

#include <cerrno>

#include <fcntl.h>
#include <netinet/in.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int Fail()
{
    return -HostSockets::ErrorFromErrno(errno);
}

sockaddr_in MakeAddress(ULONG nAddress, USHORT nPort)
{
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_port = nPort;
    address.sin_addr.s_addr = nAddress;
    return address;
}

void TakeAddress(const sockaddr_in& address, ULONG* pnAddress, USHORT* pnPort)
{
    if (pnAddress)
        *pnAddress = address.sin_addr.s_addr;
    if (pnPort)
        *pnPort = address.sin_port;
}

} // namespace

namespace HostSockets {

int Open()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    return fd < 0 ? Fail() : fd;
}

int Bind(int fd, ULONG nAddress, USHORT nPort)
{
    const sockaddr_in address = MakeAddress(nAddress, nPort);
    return ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0 ? 0 : Fail();
}

int Listen(int fd, int nBacklog)
{
    return ::listen(fd, nBacklog) == 0 ? 0 : Fail();
}

int Accept(int fd, bool bNonBlocking, ULONG* pnAddress, USHORT* pnPort)
{
    sockaddr_in address {};
    socklen_t nLength = sizeof(address);
    const int fdNew = ::accept4(
        fd, reinterpret_cast<sockaddr*>(&address), &nLength, SOCK_CLOEXEC | (bNonBlocking ? SOCK_NONBLOCK : 0));
    if (fdNew < 0)
        return Fail();
    TakeAddress(address, pnAddress, pnPort);
    return fdNew;
}

int Connect(int fd, ULONG nAddress, USHORT nPort)
{
    const sockaddr_in address = MakeAddress(nAddress, nPort);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0)
        return 0;
    return errno == EINPROGRESS ? -WSAEWOULDBLOCK : Fail();
}

long Receive(int fd, void* pBuffer, size_t nLength, bool bPeek)
{
    const ssize_t nRead = ::recv(fd, pBuffer, nLength, bPeek ? MSG_PEEK | MSG_DONTWAIT : 0);
    return nRead < 0 ? Fail() : static_cast<long>(nRead);
}

long Send(int fd, const void* pBuffer, size_t nLength)
{
    const ssize_t nSent = ::send(fd, pBuffer, nLength, MSG_NOSIGNAL);
    return nSent < 0 ? Fail() : static_cast<long>(nSent);
}

int ShutDown(int fd, int nHow)
{
    static_assert(SHUT_RD == 0 && SHUT_WR == 1 && SHUT_RDWR == 2);
    return ::shutdown(fd, nHow) == 0 ? 0 : Fail();
}

void Close(int fd)
{
    ::close(fd);
}

int LocalName(int fd, ULONG* pnAddress, USHORT* pnPort)
{
    sockaddr_in address {};
    socklen_t nLength = sizeof(address);
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &nLength) != 0)
        return Fail();
    TakeAddress(address, pnAddress, pnPort);
    return 0;
}

int PeerName(int fd, ULONG* pnAddress, USHORT* pnPort)
{
    sockaddr_in address {};
    socklen_t nLength = sizeof(address);
    if (::getpeername(fd, reinterpret_cast<sockaddr*>(&address), &nLength) != 0)
        return Fail();
    TakeAddress(address, pnAddress, pnPort);
    return 0;
}

int SetNonBlocking(int fd, bool bNonBlocking)
{
    const int nFlags = ::fcntl(fd, F_GETFL);
    if (nFlags < 0)
        return Fail();
    const int nNew = bNonBlocking ? (nFlags | O_NONBLOCK) : (nFlags & ~O_NONBLOCK);
    return ::fcntl(fd, F_SETFL, nNew) == 0 ? 0 : Fail();
}

int BytesReadable(int fd)
{
    int nCount = 0;
    return ::ioctl(fd, FIONREAD, &nCount) == 0 ? nCount : Fail();
}

int PendingError(int fd)
{
    int nError = 0;
    socklen_t nLength = sizeof(nError);
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &nError, &nLength) != 0)
        return ErrorFromErrno(errno);
    return nError == 0 ? 0 : ErrorFromErrno(nError);
}

int ErrorFromErrno(int nErrno)
{
    switch (nErrno) {
    case EINTR:
        return WSAEINTR;
    case EACCES:
    case EPERM:
        return WSAEACCES;
    case EFAULT:
        return WSAEFAULT;
    case EMFILE:
    case ENFILE:
        return WSAEMFILE;
    case EAGAIN:
        return WSAEWOULDBLOCK;
    case EINPROGRESS:
        return WSAEINPROGRESS;
    case EALREADY:
        return WSAEALREADY;
    case EBADF:
    case ENOTSOCK:
        return WSAENOTSOCK;
    case EAFNOSUPPORT:
        return WSAEAFNOSUPPORT;
    case EADDRINUSE:
        return WSAEADDRINUSE;
    case EADDRNOTAVAIL:
        return WSAEADDRNOTAVAIL;
    case ENETDOWN:
        return WSAENETDOWN;
    case ENETUNREACH:
        return WSAENETUNREACH;
    case ECONNABORTED:
        return WSAECONNABORTED;
    case ECONNRESET:
    case EPIPE:
        return WSAECONNRESET;
    case ENOBUFS:
    case ENOMEM:
        return WSAENOBUFS;
    case EISCONN:
        return WSAEISCONN;
    case ENOTCONN:
        return WSAENOTCONN;
    case ESHUTDOWN:
        return WSAESHUTDOWN;
    case ETIMEDOUT:
        return WSAETIMEDOUT;
    case ECONNREFUSED:
        return WSAECONNREFUSED;
    case EHOSTUNREACH:
        return WSAEHOSTUNREACH;
    default:
        return WSAEINVAL;
    }
}

} // namespace HostSockets
