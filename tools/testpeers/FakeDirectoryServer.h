#pragma once

// A stand-in for the directory server: HTTP/1.0 on 127.0.0.1 with a port the
// system chose, served by its own thread, one request per connection. It
// records each request line as it arrived ("GET /path?query HTTP/1.1") and
// answers every request with the reply set last, or fails as that reply says.

#include "tools/testpeers/PeerSocket.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct CFakeReply {
    enum class Ending {
        Reply, // the status line, the headers and the body, then an orderly close
        Close, // an orderly close without a byte
        Reset, // a reset without a byte
    };
    int nStatus { 200 };
    std::string strBody;
    // Held back this long (real time) before the reply, once the request is read.
    std::chrono::milliseconds nDelay { 0 };
    Ending eEnding { Ending::Reply };
};

class CFakeDirectoryServer {
public:
    CFakeDirectoryServer();
    // Stops the thread; a held-back reply is abandoned.
    ~CFakeDirectoryServer();
    CFakeDirectoryServer(const CFakeDirectoryServer&) = delete;
    CFakeDirectoryServer& operator=(const CFakeDirectoryServer&) = delete;

    int Port() const { return m_nPort; }
    // "http://127.0.0.1:<port>", the base of the server's pages.
    std::string BaseUrl() const;

    // The reply to every following request (a 200 with an empty body at first).
    void SetReply(CFakeReply reply);
    // A 200 reply with this body.
    void SetReply(std::string strBody);
    // The request lines in the order they arrived.
    std::vector<std::string> Requests() const;
    // The query of the last request (the text after "?"), or empty.
    std::string LastQuery() const;
    // Stops listening, abandoning a held-back reply: further connections are refused.
    void Close();

private:
    void Serve();
    void Answer(CPeerSocket& connection);

    CPeerListener m_listener;
    int m_nPort;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_bStop { false };
    bool m_bCloseAsked { false };
    bool m_bClosed { false };
    CFakeReply m_reply;
    std::vector<std::string> m_requests;
    std::thread m_thread;
};
