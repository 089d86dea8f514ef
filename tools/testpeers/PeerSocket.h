#pragma once

// A plain TCP connection on the loopback address for test peers: the other
// side of the program's sockets, written on the host's sockets directly and
// never on the code under test. Blocking calls with real-time limits.

#include <chrono>
#include <string>
#include <string_view>

class CPeerSocket {
public:
    CPeerSocket() = default;
    explicit CPeerSocket(int fd)
        : m_fd(fd)
    {
    }
    ~CPeerSocket();
    CPeerSocket(CPeerSocket&& other) noexcept;
    CPeerSocket& operator=(CPeerSocket&& other) noexcept;
    CPeerSocket(const CPeerSocket&) = delete;
    CPeerSocket& operator=(const CPeerSocket&) = delete;

    // Connects to 127.0.0.1:nPort; an invalid socket when refused.
    static CPeerSocket Connect(int nPort);

    bool IsValid() const { return m_fd >= 0; }
    // Sends every byte; false when the connection fails.
    bool Send(std::string_view bytes);
    // Up to nMax bytes, waiting at most nLimit for the first; empty at the
    // end of the data, on a time-out or an error (see IsClosed).
    std::string ReceiveSome(size_t nMax, std::chrono::milliseconds nLimit);
    // Everything until the other side closes, or until nLimit has passed.
    std::string ReceiveAll(std::chrono::milliseconds nLimit);
    // True once a receive met the end of the data or an error.
    bool IsClosed() const { return m_bClosed; }
    // Ends the sending side (an orderly half-close).
    void ShutDownSend();
    // Closes with a reset instead of an orderly close.
    void Reset();
    void Close();

private:
    int m_fd { -1 };
    bool m_bClosed { false };
};

// A listening socket on 127.0.0.1 with a port the system chose.
class CPeerListener {
public:
    CPeerListener();
    ~CPeerListener();
    CPeerListener(const CPeerListener&) = delete;
    CPeerListener& operator=(const CPeerListener&) = delete;

    int Port() const { return m_nPort; }
    // The next connection, waiting at most nLimit; invalid on a time-out.
    CPeerSocket Accept(std::chrono::milliseconds nLimit);
    // Stops listening: later connections are refused.
    void Close();

private:
    int m_fd { -1 };
    int m_nPort { 0 };
};
