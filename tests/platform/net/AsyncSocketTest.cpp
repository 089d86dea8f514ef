#include "platform/net/AsyncSocket.h"

#include "platform/testing/TestDriver.h"
#include "tests/support/WaitUntil.h"
#include "tools/testpeers/PeerSocket.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

using namespace std::chrono_literals;

namespace {

class CEchoConnection : public CAsyncSocket {
public:
    void OnReceive(int) override
    {
        char buffer[256];
        const int nRead = Receive(buffer, sizeof(buffer));
        if (nRead > 0) {
            m_strReceived.append(buffer, static_cast<size_t>(nRead));
            Send(buffer, nRead);
        }
    }
    void OnClose(int nErrorCode) override
    {
        m_nClosed = 1;
        m_nCloseError = nErrorCode;
    }

    std::string m_strReceived;
    int m_nClosed { 0 };
    int m_nCloseError { -1 };
};

class CEchoListener : public CAsyncSocket {
public:
    void OnAccept(int) override
    {
        auto pConnection = std::make_unique<CEchoConnection>();
        if (Accept(*pConnection))
            m_connections.push_back(std::move(pConnection));
    }

    std::vector<std::unique_ptr<CEchoConnection>> m_connections;
};

// Makes the listener listen on 127.0.0.1; its port, 0 on failure.
UINT ListenOnLoopback(CEchoListener& listener)
{
    CString strAddress;
    UINT nPort = 0;
    if (!listener.Create(0, SOCK_STREAM, FD_ALL_EVENTS, "127.0.0.1") || !listener.Listen()
        || !listener.GetSockName(strAddress, nPort) || strAddress != "127.0.0.1")
        return 0;
    return nPort;
}

} // namespace

TEST(AsyncSocketTest, HandlersRunInTheCreatingThreadThroughItsSocketWindow)
{
    CTestDriver driver;
    ASSERT_TRUE(AfxSocketInit());
    CEchoListener listener;
    const UINT nPort = ListenOnLoopback(listener);
    ASSERT_NE(nPort, 0u);
    EXPECT_EQ(CAsyncSocket::FromHandle(listener.m_hSocket), &listener);

    CPeerSocket peer = CPeerSocket::Connect(static_cast<int>(nPort));
    ASSERT_TRUE(peer.Send("ping"));
    ASSERT_TRUE(driver.PumpUntil(
        [&] { return listener.m_connections.size() == 1 && listener.m_connections[0]->m_strReceived == "ping"; }));
    EXPECT_EQ(peer.ReceiveSome(16, 2000ms), "ping");
    peer.Close();
    CEchoConnection& connection = *listener.m_connections[0];
    ASSERT_TRUE(driver.PumpUntil([&] { return connection.m_nClosed == 1; }));
    EXPECT_EQ(connection.m_nCloseError, 0);
}

TEST(AsyncSocketTest, AClosedObjectHearsNothingMoreAndAPortInUseFails)
{
    CTestDriver driver;
    CEchoListener listener;
    const UINT nPort = ListenOnLoopback(listener);
    ASSERT_NE(nPort, 0u);

    CAsyncSocket second;
    EXPECT_FALSE(second.Create(nPort, SOCK_STREAM, FD_ALL_EVENTS, "127.0.0.1"));
    EXPECT_EQ(CAsyncSocket::GetLastError(), WSAEADDRINUSE);
    EXPECT_EQ(second.m_hSocket, INVALID_SOCKET);

    CPeerSocket peer = CPeerSocket::Connect(static_cast<int>(nPort));
    ASSERT_TRUE(driver.PumpUntil([&] { return listener.m_connections.size() == 1; }));
    driver.Pump();
    CEchoConnection& connection = *listener.m_connections[0];
    const SOCKET hOld = connection.m_hSocket;
    ASSERT_TRUE(peer.Send("late"));
    // The notification is queued (a peek posts it), then the object closes
    // before it is dispatched.
    MSG msg {};
    WaitUntil([&] { return PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE) != FALSE; });
    ASSERT_EQ(msg.wParam, hOld);
    connection.Close();
    EXPECT_EQ(CAsyncSocket::FromHandle(hOld), nullptr);
    driver.PumpUntil([] { return false; }, 100);
    EXPECT_TRUE(connection.m_strReceived.empty());
}
