#include "platform/net/Winsock.h"

#include "platform/base/Threads.h"
#include "platform/net/HostSockets.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Messages.h"
#include "platform/window/WaitDescriptors.h"
#include "platform/window/Window.h"

#include <cstdio>
#include <cstring>
#include <mutex>
#include <unordered_map>
#include <vector>

/*
 * The socket table. Each SOCKET names one entry; numbers are never given out
 * again. An entry holds the host descriptor, the selection and the arming
 * flags of its notifications. Notifications follow the level of the host
 * socket: a flag is armed when the event may be posted, the wait watches the
 * descriptor only for armed events, and posting disarms until the call that
 * the event asks for (accept, recv, a send that would block) arms it again.
 * So a socket that stays readable while its owner has not yet read is not
 * watched, and the wait never wakes for it in vain.
 *
 * Lock order: the wait lock (taken by the message wait around
 * CollectDescriptors) before the table lock. Nothing is posted with the table
 * lock held.
 */

namespace {

struct CSocketEntry {
    int fd { -1 };
    bool bNonBlocking { false };
    bool bListening { false };
    bool bConnecting { false };
    bool bConnected { false };
    bool bEnded { false }; // the end of the data, or a reset, has been seen
    HWND hWnd { nullptr };
    UINT uMsg { 0 };
    long lEvents { 0 };
    DWORD dwThreadId { 0 };
    bool bAcceptArmed { false };
    bool bReadArmed { false };
    bool bWriteArmed { false };
    bool bCloseSent { false };
};

struct CNotification {
    HWND hWnd;
    UINT uMsg;
    SOCKET s;
    LPARAM lParam;
};

thread_local int t_nLastError = 0;

class CSocketTable : public CWaitDescriptorProvider {
public:
    CSocketTable() { AddWaitDescriptorProvider(this); }

    std::mutex m_lock;
    std::unordered_map<SOCKET, CSocketEntry> m_entries; // Guarded by m_lock
    SOCKET m_nNext { 0x100 };                           // Guarded by m_lock

    void CollectDescriptors(DWORD dwThreadId, std::vector<pollfd>& fds) override
    {
        std::lock_guard lock(m_lock);
        for (auto& [s, entry] : m_entries) {
            if (entry.dwThreadId != dwThreadId || entry.hWnd == nullptr)
                continue;
            if (const short nEvents = WatchedEvents(entry))
                fds.push_back({ entry.fd, nEvents, 0 });
        }
    }

    void DispatchReady(DWORD dwThreadId) override
    {
        std::vector<CNotification> notifications;
        {
            std::lock_guard lock(m_lock);
            std::vector<pollfd> fds;
            std::vector<SOCKET> sockets;
            for (auto& [s, entry] : m_entries) {
                if (entry.dwThreadId != dwThreadId || entry.hWnd == nullptr)
                    continue;
                if (const short nEvents = WatchedEvents(entry)) {
                    fds.push_back({ entry.fd, nEvents, 0 });
                    sockets.push_back(s);
                }
            }
            if (fds.empty() || poll(fds.data(), fds.size(), 0) <= 0)
                return;
            for (size_t i = 0; i < fds.size(); ++i) {
                if (fds[i].revents != 0)
                    Notice(sockets[i], m_entries[sockets[i]], fds[i].revents, notifications);
            }
        }
        for (const CNotification& note : notifications)
            PostMessage(note.hWnd, note.uMsg, static_cast<WPARAM>(note.s), note.lParam);
    }

private:
    // The poll events that would give a notification now.
    static short WatchedEvents(const CSocketEntry& entry)
    {
        const long lEvents = entry.lEvents;
        if (entry.bListening)
            return (lEvents & FD_ACCEPT) && entry.bAcceptArmed ? POLLIN : 0;
        if (entry.bConnecting)
            return POLLOUT;
        if (!entry.bConnected)
            return 0;
        short nEvents = 0;
        if (!entry.bEnded) {
            if ((lEvents & FD_READ) && entry.bReadArmed)
                nEvents |= POLLIN;
            else if (!(lEvents & FD_READ) && (lEvents & FD_CLOSE) && !entry.bCloseSent)
                nEvents |= POLLRDHUP;
        }
        if ((lEvents & FD_WRITE) && entry.bWriteArmed)
            nEvents |= POLLOUT;
        return nEvents;
    }

    static void Add(
        std::vector<CNotification>& notifications, SOCKET s, const CSocketEntry& entry, long lEvent, int nError = 0)
    {
        if (entry.lEvents & lEvent)
            notifications.push_back({ entry.hWnd, entry.uMsg, s,
                WSAMAKESELECTREPLY(static_cast<WORD>(lEvent), static_cast<WORD>(nError)) });
    }

    // Turns what poll reported for one socket into notifications and disarms them.
    static void Notice(SOCKET s, CSocketEntry& entry, short nReady, std::vector<CNotification>& notifications)
    {
        if (entry.bListening) {
            entry.bAcceptArmed = false;
            if (nReady & POLLIN)
                Add(notifications, s, entry, FD_ACCEPT);
            return;
        }
        if (entry.bConnecting) {
            entry.bConnecting = false;
            const int nError = HostSockets::PendingError(entry.fd);
            entry.bConnected = nError == 0;
            entry.bReadArmed = entry.bWriteArmed = entry.bConnected;
            Add(notifications, s, entry, FD_CONNECT, nError);
            return;
        }
        if ((nReady & POLLOUT) && entry.bWriteArmed) {
            entry.bWriteArmed = false;
            Add(notifications, s, entry, FD_WRITE);
        }
        if (entry.bEnded || !(nReady & (POLLIN | POLLRDHUP | POLLERR | POLLHUP)))
            return;
        char ch = 0;
        const long nPeek = HostSockets::Receive(entry.fd, &ch, 1, true);
        if (nPeek == -WSAEWOULDBLOCK)
            return;
        if (nPeek > 0 && (entry.lEvents & FD_READ)) {
            if (entry.bReadArmed) {
                entry.bReadArmed = false;
                Add(notifications, s, entry, FD_READ);
            }
            return;
        }
        // The end of the data (or a peer that closed while nobody reads), or a reset.
        entry.bEnded = true;
        entry.bReadArmed = false;
        if (!entry.bCloseSent) {
            entry.bCloseSent = true;
            Add(notifications, s, entry, FD_CLOSE, nPeek < 0 ? static_cast<int>(-nPeek) : 0);
        }
    }
};

CSocketTable& Table()
{
    static auto* pTable = new CSocketTable;
    return *pTable;
}

int Failed(int nError)
{
    t_nLastError = nError;
    return SOCKET_ERROR;
}

// Runs fn(entry) under the table lock; WSAENOTSOCK for an unknown handle.
template<typename Fn> int WithEntry(SOCKET s, Fn fn)
{
    CSocketTable& table = Table();
    std::lock_guard lock(table.m_lock);
    auto it = table.m_entries.find(s);
    if (it == table.m_entries.end())
        return Failed(WSAENOTSOCK);
    return fn(it->second);
}

// 0 or SOCKET_ERROR with the error of a host result.
int Result(int nHost)
{
    return nHost < 0 ? Failed(-nHost) : 0;
}

bool TakeAddress(const SOCKADDR* name, int namelen, ULONG& nAddress, USHORT& nPort)
{
    if (name == nullptr || namelen < static_cast<int>(sizeof(SOCKADDR_IN)))
        return false;
    SOCKADDR_IN address {};
    std::memcpy(&address, name, sizeof(address));
    if (address.sin_family != AF_INET)
        return false;
    nAddress = address.sin_addr.s_addr;
    nPort = address.sin_port;
    return true;
}

int GiveAddress(ULONG nAddress, USHORT nPort, SOCKADDR* name, int* namelen)
{
    if (name == nullptr || namelen == nullptr)
        return 0;
    if (*namelen < static_cast<int>(sizeof(SOCKADDR_IN)))
        return Failed(WSAEFAULT);
    SOCKADDR_IN address {};
    address.sin_family = AF_INET;
    address.sin_port = nPort;
    address.sin_addr.s_addr = nAddress;
    std::memcpy(name, &address, sizeof(address));
    *namelen = sizeof(address);
    return 0;
}

} // namespace

/***** Start and end *****/

int WSAStartup(WORD wVersionRequested, LPWSADATA lpWSAData)
{
    if (lpWSAData != nullptr) {
        *lpWSAData = WSADATA {};
        lpWSAData->wVersion = wVersionRequested;
        lpWSAData->wHighVersion = 0x0202;
        std::snprintf(lpWSAData->szDescription, sizeof(lpWSAData->szDescription), "TCP/IP sockets");
        std::snprintf(lpWSAData->szSystemStatus, sizeof(lpWSAData->szSystemStatus), "Running");
        lpWSAData->iMaxSockets = 0xFFFF;
    }
    Table();
    return 0;
}

int WSACleanup()
{
    return 0;
}

int WSAGetLastError()
{
    return t_nLastError;
}

void WSASetLastError(int nError)
{
    t_nLastError = nError;
}

/***** The calls *****/

SOCKET socket(int af, int type, int)
{
    if (af != AF_INET) {
        Failed(WSAEAFNOSUPPORT);
        return INVALID_SOCKET;
    }
    if (type != SOCK_STREAM) {
        Failed(WSAEINVAL);
        return INVALID_SOCKET;
    }
    const int fd = HostSockets::Open();
    if (fd < 0) {
        Failed(-fd);
        return INVALID_SOCKET;
    }
    CSocketTable& table = Table();
    std::lock_guard lock(table.m_lock);
    const SOCKET s = table.m_nNext++;
    table.m_entries[s].fd = fd;
    return s;
}

int bind(SOCKET s, const SOCKADDR* name, int namelen)
{
    ULONG nAddress = 0;
    USHORT nPort = 0;
    if (!TakeAddress(name, namelen, nAddress, nPort))
        return Failed(WSAEFAULT);
    return WithEntry(s, [&](CSocketEntry& entry) { return Result(HostSockets::Bind(entry.fd, nAddress, nPort)); });
}

int listen(SOCKET s, int backlog)
{
    return WithEntry(s, [&](CSocketEntry& entry) {
        if (Result(HostSockets::Listen(entry.fd, backlog)) != 0)
            return SOCKET_ERROR;
        entry.bListening = true;
        entry.bAcceptArmed = true;
        return 0;
    });
}

SOCKET accept(SOCKET s, SOCKADDR* addr, int* addrlen)
{
    CSocketTable& table = Table();
    std::lock_guard lock(table.m_lock);
    auto it = table.m_entries.find(s);
    if (it == table.m_entries.end()) {
        Failed(WSAENOTSOCK);
        return INVALID_SOCKET;
    }
    CSocketEntry& listener = it->second;
    listener.bAcceptArmed = true;
    if (!listener.bListening) {
        Failed(WSAEINVAL);
        return INVALID_SOCKET;
    }
    ULONG nAddress = 0;
    USHORT nPort = 0;
    const int fd = HostSockets::Accept(listener.fd, listener.bNonBlocking, &nAddress, &nPort);
    if (fd < 0) {
        Failed(-fd);
        return INVALID_SOCKET;
    }
    if (GiveAddress(nAddress, nPort, addr, addrlen) != 0) {
        HostSockets::Close(fd);
        return INVALID_SOCKET;
    }
    const SOCKET sNew = table.m_nNext++;
    CSocketEntry& entry = table.m_entries[sNew];
    entry.fd = fd;
    entry.bNonBlocking = listener.bNonBlocking;
    entry.bConnected = true;
    entry.hWnd = listener.hWnd;
    entry.uMsg = listener.uMsg;
    entry.lEvents = listener.lEvents;
    entry.dwThreadId = listener.dwThreadId;
    entry.bReadArmed = entry.bWriteArmed = true;
    return sNew;
}

int connect(SOCKET s, const SOCKADDR* name, int namelen)
{
    ULONG nAddress = 0;
    USHORT nPort = 0;
    if (!TakeAddress(name, namelen, nAddress, nPort))
        return Failed(WSAEFAULT);
    return WithEntry(s, [&](CSocketEntry& entry) {
        if (entry.bConnected)
            return Failed(WSAEISCONN);
        if (entry.bConnecting)
            return Failed(WSAEALREADY);
        const int nResult = HostSockets::Connect(entry.fd, nAddress, nPort);
        if (nResult == 0 && !entry.bNonBlocking) {
            entry.bConnected = true;
            entry.bReadArmed = entry.bWriteArmed = true;
            return 0;
        }
        if (nResult == 0 || nResult == -WSAEWOULDBLOCK) {
            // The wait reports the end of the connect, even one that is done already.
            entry.bConnecting = true;
            return Failed(WSAEWOULDBLOCK);
        }
        return Failed(-nResult);
    });
}

int recv(SOCKET s, char* buf, int len, int flags)
{
    int fd = -1;
    const int nFound = WithEntry(s, [&](CSocketEntry& entry) {
        entry.bReadArmed = true;
        fd = entry.fd;
        return 0;
    });
    if (nFound != 0)
        return SOCKET_ERROR;
    if (buf == nullptr || len < 0)
        return Failed(WSAEFAULT);
    if (flags != 0)
        return Failed(WSAEINVAL);
    // The read itself runs unlocked: a blocking socket may wait here.
    const long nRead = HostSockets::Receive(fd, buf, static_cast<size_t>(len), false);
    return nRead < 0 ? Failed(static_cast<int>(-nRead)) : static_cast<int>(nRead);
}

int send(SOCKET s, const char* buf, int len, int)
{
    int fd = -1;
    if (WithEntry(s,
            [&](CSocketEntry& entry) {
                fd = entry.fd;
                return 0;
            })
        != 0)
        return SOCKET_ERROR;
    if (buf == nullptr || len < 0)
        return Failed(WSAEFAULT);
    const long nSent = HostSockets::Send(fd, buf, static_cast<size_t>(len));
    if (nSent == -WSAEWOULDBLOCK)
        WithEntry(s, [](CSocketEntry& entry) {
            entry.bWriteArmed = true;
            return 0;
        });
    return nSent < 0 ? Failed(static_cast<int>(-nSent)) : static_cast<int>(nSent);
}

int shutdown(SOCKET s, int how)
{
    return WithEntry(s, [&](CSocketEntry& entry) { return Result(HostSockets::ShutDown(entry.fd, how)); });
}

int closesocket(SOCKET s)
{
    CSocketTable& table = Table();
    int fd = -1;
    {
        std::lock_guard lock(table.m_lock);
        auto it = table.m_entries.find(s);
        if (it == table.m_entries.end())
            return Failed(WSAENOTSOCK);
        fd = it->second.fd;
        table.m_entries.erase(it);
    }
    HostSockets::Close(fd);
    return 0;
}

int getsockname(SOCKET s, SOCKADDR* name, int* namelen)
{
    return WithEntry(s, [&](CSocketEntry& entry) {
        ULONG nAddress = 0;
        USHORT nPort = 0;
        if (Result(HostSockets::LocalName(entry.fd, &nAddress, &nPort)) != 0)
            return SOCKET_ERROR;
        return GiveAddress(nAddress, nPort, name, namelen);
    });
}

int getpeername(SOCKET s, SOCKADDR* name, int* namelen)
{
    return WithEntry(s, [&](CSocketEntry& entry) {
        ULONG nAddress = 0;
        USHORT nPort = 0;
        if (Result(HostSockets::PeerName(entry.fd, &nAddress, &nPort)) != 0)
            return SOCKET_ERROR;
        return GiveAddress(nAddress, nPort, name, namelen);
    });
}

int ioctlsocket(SOCKET s, long cmd, ULONG* argp)
{
    if (argp == nullptr)
        return Failed(WSAEFAULT);
    return WithEntry(s, [&](CSocketEntry& entry) {
        if (cmd == FIONBIO) {
            const bool bNonBlocking = *argp != 0;
            if (!bNonBlocking && entry.hWnd != nullptr && entry.lEvents != 0)
                return Failed(WSAEINVAL);
            if (Result(HostSockets::SetNonBlocking(entry.fd, bNonBlocking)) != 0)
                return SOCKET_ERROR;
            entry.bNonBlocking = bNonBlocking;
            return 0;
        }
        if (cmd == FIONREAD) {
            const int nCount = HostSockets::BytesReadable(entry.fd);
            if (nCount < 0)
                return Failed(-nCount);
            *argp = static_cast<ULONG>(nCount);
            return 0;
        }
        return Failed(WSAEINVAL);
    });
}

int WSAAsyncSelect(SOCKET s, HWND hWnd, UINT wMsg, long lEvent)
{
    if (lEvent != 0 && !IsWindow(hWnd))
        return Failed(WSAEINVAL);
    const DWORD dwOwner = lEvent != 0 ? GetWindowThreadProcessId(hWnd, nullptr) : 0;
    const int nResult = WithEntry(s, [&](CSocketEntry& entry) {
        if (Result(HostSockets::SetNonBlocking(entry.fd, true)) != 0)
            return SOCKET_ERROR;
        entry.bNonBlocking = true;
        entry.hWnd = lEvent != 0 ? hWnd : nullptr;
        entry.uMsg = wMsg;
        entry.lEvents = lEvent;
        entry.dwThreadId = dwOwner;
        entry.bAcceptArmed = entry.bListening;
        entry.bReadArmed = entry.bConnected;
        entry.bWriteArmed = entry.bConnected;
        return 0;
    });
    // The owner's wait must learn of the new selection.
    if (nResult == 0 && dwOwner != 0 && dwOwner != GetCurrentThreadId())
        PostMessage(hWnd, WM_NULL, 0, 0);
    return nResult;
}

/***** Byte order and addresses *****/

USHORT htons(USHORT hostshort)
{
    return static_cast<USHORT>((hostshort >> 8) | (hostshort << 8));
}

USHORT ntohs(USHORT netshort)
{
    return htons(netshort);
}

ULONG htonl(ULONG hostlong)
{
    return ((hostlong & 0xFF) << 24) | ((hostlong & 0xFF00) << 8) | ((hostlong >> 8) & 0xFF00) | (hostlong >> 24);
}

ULONG ntohl(ULONG netlong)
{
    return htonl(netlong);
}

ULONG inet_addr(const char* cp)
{
    if (cp == nullptr)
        return INADDR_NONE;
    ULONG nHost = 0;
    for (int nPart = 0; nPart < 4; ++nPart) {
        if (nPart > 0 && *cp++ != '.')
            return INADDR_NONE;
        if (*cp < '0' || *cp > '9')
            return INADDR_NONE;
        unsigned nValue = 0;
        for (int nDigits = 0; *cp >= '0' && *cp <= '9'; ++nDigits) {
            nValue = nValue * 10 + static_cast<unsigned>(*cp++ - '0');
            if (nDigits == 3 || nValue > 255)
                return INADDR_NONE;
        }
        nHost = (nHost << 8) | nValue;
    }
    return *cp == '\0' ? htonl(nHost) : INADDR_NONE;
}

const char* inet_ntoa(IN_ADDR in)
{
    thread_local char t_szText[16];
    const ULONG nHost = ntohl(in.s_addr);
    std::snprintf(t_szText, sizeof(t_szText), "%u.%u.%u.%u", (nHost >> 24) & 0xFF, (nHost >> 16) & 0xFF,
        (nHost >> 8) & 0xFF, nHost & 0xFF);
    return t_szText;
}
