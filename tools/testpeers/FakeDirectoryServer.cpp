#include "tools/testpeers/FakeDirectoryServer.h"

namespace {

constexpr std::chrono::milliseconds ACCEPT_TICK { 20 };
constexpr std::chrono::milliseconds REQUEST_LIMIT { 5000 };
constexpr size_t MAX_REQUEST_HEAD = 64 * 1024;

const char* StatusText(int nStatus)
{
    switch (nStatus) {
    case 200:
        return "OK";
    case 302:
        return "Found";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    default:
        return "Status";
    }
}

} // namespace

CFakeDirectoryServer::CFakeDirectoryServer()
    : m_nPort(m_listener.Port())
    , m_thread([this] { Serve(); })
{
}

CFakeDirectoryServer::~CFakeDirectoryServer()
{
    {
        std::lock_guard lock(m_mutex);
        m_bStop = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

std::string CFakeDirectoryServer::BaseUrl() const
{
    return "http://127.0.0.1:" + std::to_string(m_nPort);
}

void CFakeDirectoryServer::SetReply(CFakeReply reply)
{
    std::lock_guard lock(m_mutex);
    m_reply = std::move(reply);
}

void CFakeDirectoryServer::SetReply(std::string strBody)
{
    CFakeReply reply;
    reply.strBody = std::move(strBody);
    SetReply(std::move(reply));
}

std::vector<std::string> CFakeDirectoryServer::Requests() const
{
    std::lock_guard lock(m_mutex);
    return m_requests;
}

std::string CFakeDirectoryServer::LastQuery() const
{
    std::lock_guard lock(m_mutex);
    if (m_requests.empty())
        return {};
    const std::string& strLine = m_requests.back();
    size_t nQuery = strLine.find('?');
    size_t nEnd = strLine.rfind(' ');
    if (nQuery == std::string::npos || nEnd == std::string::npos || nEnd < nQuery)
        return {};
    return strLine.substr(nQuery + 1, nEnd - nQuery - 1);
}

void CFakeDirectoryServer::Close()
{
    std::unique_lock lock(m_mutex);
    m_bCloseAsked = true;
    m_changed.notify_all(); // ends a held-back reply
    m_changed.wait(lock, [this] { return m_bClosed; });
}

void CFakeDirectoryServer::Serve()
{
    for (;;) {
        {
            std::lock_guard lock(m_mutex);
            if (m_bStop)
                return;
            if (m_bCloseAsked) {
                m_listener.Close();
                m_bClosed = true;
                m_changed.notify_all();
                return;
            }
        }
        CPeerSocket connection = m_listener.Accept(ACCEPT_TICK);
        if (connection.IsValid())
            Answer(connection);
    }
}

void CFakeDirectoryServer::Answer(CPeerSocket& connection)
{
    std::string strHead;
    while (strHead.find("\r\n\r\n") == std::string::npos && strHead.size() < MAX_REQUEST_HEAD) {
        std::string strPiece = connection.ReceiveSome(4096, REQUEST_LIMIT);
        if (strPiece.empty())
            return;
        strHead += strPiece;
    }
    CFakeReply reply;
    {
        std::unique_lock lock(m_mutex);
        m_requests.push_back(strHead.substr(0, strHead.find("\r\n")));
        reply = m_reply;
        if (reply.nDelay.count() > 0
            && m_changed.wait_for(lock, reply.nDelay, [this] { return m_bStop || m_bCloseAsked; }))
            return;
    }
    switch (reply.eEnding) {
    case CFakeReply::Ending::Reply:
        connection.Send("HTTP/1.0 " + std::to_string(reply.nStatus) + " " + StatusText(reply.nStatus)
            + "\r\nContent-Type: text/html\r\nConnection: close\r\n\r\n" + reply.strBody);
        connection.Close();
        break;
    case CFakeReply::Ending::Close:
        connection.Close();
        break;
    case CFakeReply::Ending::Reset:
        connection.Reset();
        break;
    }
}
