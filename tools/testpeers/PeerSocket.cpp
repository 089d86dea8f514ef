#include "tools/testpeers/PeerSocket.h"

#include <utility>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

sockaddr_in Loopback(int nPort)
{
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(nPort));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

bool WaitReadable(int fd, std::chrono::milliseconds nLimit)
{
    pollfd pfd { fd, POLLIN, 0 };
    return poll(&pfd, 1, static_cast<int>(nLimit.count())) > 0;
}

} // namespace

CPeerSocket::~CPeerSocket()
{
    Close();
}

CPeerSocket::CPeerSocket(CPeerSocket&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1))
    , m_bClosed(other.m_bClosed)
{
}

CPeerSocket& CPeerSocket::operator=(CPeerSocket&& other) noexcept
{
    if (this != &other) {
        Close();
        m_fd = std::exchange(other.m_fd, -1);
        m_bClosed = other.m_bClosed;
    }
    return *this;
}

CPeerSocket CPeerSocket::Connect(int nPort)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in address = Loopback(nPort);
    if (fd < 0 || ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        if (fd >= 0)
            ::close(fd);
        return CPeerSocket();
    }
    return CPeerSocket(fd);
}

bool CPeerSocket::Send(std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t nSent = ::send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (nSent <= 0)
            return false;
        bytes.remove_prefix(static_cast<size_t>(nSent));
    }
    return true;
}

std::string CPeerSocket::ReceiveSome(size_t nMax, std::chrono::milliseconds nLimit)
{
    if (m_fd < 0 || !WaitReadable(m_fd, nLimit))
        return {};
    std::string strBytes(nMax, '\0');
    const ssize_t nRead = ::recv(m_fd, strBytes.data(), nMax, 0);
    if (nRead <= 0) {
        m_bClosed = true;
        return {};
    }
    strBytes.resize(static_cast<size_t>(nRead));
    return strBytes;
}

std::string CPeerSocket::ReceiveAll(std::chrono::milliseconds nLimit)
{
    const auto deadline = std::chrono::steady_clock::now() + nLimit;
    std::string strAll;
    while (!m_bClosed) {
        const auto remaining
            = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (remaining.count() <= 0)
            break;
        strAll += ReceiveSome(65536, remaining);
    }
    return strAll;
}

void CPeerSocket::ShutDownSend()
{
    if (m_fd >= 0)
        ::shutdown(m_fd, SHUT_WR);
}

void CPeerSocket::Reset()
{
    if (m_fd < 0)
        return;
    linger option { 1, 0 };
    ::setsockopt(m_fd, SOL_SOCKET, SO_LINGER, &option, sizeof(option));
    Close();
}

void CPeerSocket::Close()
{
    if (m_fd >= 0)
        ::close(std::exchange(m_fd, -1));
}

CPeerListener::CPeerListener()
{
    m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = Loopback(0);
    socklen_t nLength = sizeof(address);
    if (m_fd < 0 || ::bind(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0
        || ::listen(m_fd, 64) != 0 || ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &nLength) != 0) {
        Close();
        return;
    }
    m_nPort = ntohs(address.sin_port);
}

CPeerListener::~CPeerListener()
{
    Close();
}

CPeerSocket CPeerListener::Accept(std::chrono::milliseconds nLimit)
{
    if (m_fd < 0 || !WaitReadable(m_fd, nLimit))
        return CPeerSocket();
    const int fd = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC);
    return fd < 0 ? CPeerSocket() : CPeerSocket(fd);
}

void CPeerListener::Close()
{
    if (m_fd >= 0)
        ::close(std::exchange(m_fd, -1));
}
