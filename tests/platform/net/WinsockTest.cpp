#include "platform/net/Winsock.h"

#include "platform/testing/TestDriver.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"
#include "tools/testpeers/PeerSocket.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

namespace {

constexpr UINT WM_NOTE = 0x0401;

struct CNote {
    SOCKET s;
    long lEvent;
    int nError;
};

std::vector<CNote>* g_pNotes = nullptr;

LRESULT CALLBACK RecorderProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_NOTE && g_pNotes != nullptr) {
        g_pNotes->push_back({ static_cast<SOCKET>(wParam), WSAGETSELECTEVENT(lParam), WSAGETSELECTERROR(lParam) });
        return 0;
    }
    return DefWindowProc(hWnd, uMsg, wParam, lParam);
}

// Records the notifications of the sockets selected for its window.
class WinsockTest : public testing::Test {
protected:
    void SetUp() override
    {
        g_pNotes = &m_notes;
        WNDCLASS wc {};
        wc.lpfnWndProc = RecorderProc;
        wc.lpszClassName = "WinsockTestRecorder";
        RegisterClass(&wc);
        m_hWnd = CreateWindowEx(0, "WinsockTestRecorder", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(m_hWnd, nullptr);
    }
    void TearDown() override
    {
        for (SOCKET s : m_sockets)
            closesocket(s);
        DestroyWindow(m_hWnd);
        g_pNotes = nullptr;
    }

    SOCKET Track(SOCKET s)
    {
        m_sockets.push_back(s);
        return s;
    }

    // A listener on 127.0.0.1 with a chosen port, selected for lEvents.
    SOCKET Listener(long lEvents, int* pnPort)
    {
        const SOCKET s = Track(socket(AF_INET, SOCK_STREAM, 0));
        SOCKADDR_IN address {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = inet_addr("127.0.0.1");
        EXPECT_EQ(bind(s, reinterpret_cast<SOCKADDR*>(&address), sizeof(address)), 0);
        EXPECT_EQ(listen(s, 5), 0);
        int nLength = sizeof(address);
        EXPECT_EQ(getsockname(s, reinterpret_cast<SOCKADDR*>(&address), &nLength), 0);
        *pnPort = ntohs(address.sin_port);
        EXPECT_EQ(WSAAsyncSelect(s, m_hWnd, WM_NOTE, lEvents), 0);
        return s;
    }

    // An accepted connection with a peer at the other end, selected for
    // lEvents and FD_ACCEPT, which it takes over from its listener.
    SOCKET Connected(long lEvents, CPeerSocket& peer)
    {
        int nPort = 0;
        const SOCKET sListen = Listener(lEvents | FD_ACCEPT, &nPort);
        peer = CPeerSocket::Connect(nPort);
        EXPECT_TRUE(peer.IsValid());
        EXPECT_TRUE(m_driver.PumpUntil([&] { return Count(sListen, FD_ACCEPT) > 0; }));
        const SOCKET s = Track(accept(sListen, nullptr, nullptr));
        EXPECT_NE(s, INVALID_SOCKET);
        return s;
    }

    int Count(SOCKET s, long lEvent) const
    {
        int nCount = 0;
        for (const CNote& note : m_notes)
            nCount += note.s == s && note.lEvent == lEvent ? 1 : 0;
        return nCount;
    }

    // Lets the wait look again for a while, for notifications that must not come.
    void Settle()
    {
        m_driver.PumpUntil([] { return false; }, 100);
    }

    CTestDriver m_driver;
    HWND m_hWnd { nullptr };
    std::vector<CNote> m_notes;
    std::vector<SOCKET> m_sockets;
};

} // namespace

TEST_F(WinsockTest, AcceptIsAnnouncedOnceUntilTheNextAccept)
{
    int nPort = 0;
    const SOCKET sListen = Listener(FD_ACCEPT, &nPort);
    CPeerSocket first = CPeerSocket::Connect(nPort);
    CPeerSocket second = CPeerSocket::Connect(nPort);
    ASSERT_TRUE(m_driver.PumpUntil([&] { return Count(sListen, FD_ACCEPT) == 1; }));
    Settle();
    EXPECT_EQ(Count(sListen, FD_ACCEPT), 1) << "both wait, but one notice until accept";
    Track(accept(sListen, nullptr, nullptr));
    EXPECT_TRUE(m_driver.PumpUntil([&] { return Count(sListen, FD_ACCEPT) == 2; })) << "the second still waits";
    Track(accept(sListen, nullptr, nullptr));
    Settle();
    EXPECT_EQ(Count(sListen, FD_ACCEPT), 2);
}

TEST_F(WinsockTest, ReadIsAnnouncedAgainOnlyWhileDataRemainsAfterARecv)
{
    CPeerSocket peer;
    const SOCKET s = Connected(FD_READ | FD_CLOSE, peer);
    ASSERT_TRUE(peer.Send("abcdef"));
    ASSERT_TRUE(m_driver.PumpUntil([&] { return Count(s, FD_READ) == 1; }));
    ASSERT_TRUE(peer.Send("gh"));
    Settle();
    EXPECT_EQ(Count(s, FD_READ), 1) << "no second notice before recv";
    char buffer[4];
    ASSERT_EQ(recv(s, buffer, 4, 0), 4);
    EXPECT_TRUE(m_driver.PumpUntil([&] { return Count(s, FD_READ) == 2; })) << "data remains";
    char rest[16];
    EXPECT_EQ(recv(s, rest, sizeof(rest), 0), 4);
    Settle();
    EXPECT_EQ(Count(s, FD_READ), 2) << "nothing left to announce";
    EXPECT_EQ(recv(s, rest, sizeof(rest), 0), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
}

TEST_F(WinsockTest, DataPresentAtSelectionIsAnnounced)
{
    CPeerSocket peer;
    const SOCKET s = Connected(0, peer);
    ASSERT_TRUE(peer.Send("x"));
    Settle();
    EXPECT_EQ(Count(s, FD_READ), 0) << "the accepted socket took over FD_ACCEPT only";
    ASSERT_EQ(WSAAsyncSelect(s, m_hWnd, WM_NOTE, FD_READ), 0);
    EXPECT_TRUE(m_driver.PumpUntil([&] { return Count(s, FD_READ) == 1; }));
}

TEST_F(WinsockTest, CloseComesOnceAfterTheDataAndTellsOrderlyFromReset)
{
    CPeerSocket peer;
    const SOCKET s = Connected(FD_READ | FD_CLOSE, peer);
    ASSERT_TRUE(peer.Send("bye"));
    peer.ShutDownSend();
    ASSERT_TRUE(m_driver.PumpUntil([&] { return Count(s, FD_READ) == 1; }));
    Settle();
    EXPECT_EQ(Count(s, FD_CLOSE), 0) << "not before the data is read";
    char buffer[8];
    EXPECT_EQ(recv(s, buffer, sizeof(buffer), 0), 3);
    ASSERT_TRUE(m_driver.PumpUntil([&] { return Count(s, FD_CLOSE) == 1; }));
    EXPECT_EQ(m_notes.back().nError, 0);
    EXPECT_EQ(recv(s, buffer, sizeof(buffer), 0), 0);
    Settle();
    EXPECT_EQ(Count(s, FD_CLOSE), 1);

    CPeerSocket other;
    const SOCKET sReset = Connected(FD_READ | FD_CLOSE, other);
    other.Reset();
    ASSERT_TRUE(m_driver.PumpUntil([&] { return Count(sReset, FD_CLOSE) == 1; }));
    EXPECT_EQ(m_notes.back().nError, WSAECONNRESET);
}

TEST_F(WinsockTest, WriteFollowsAcceptAndAgainOnlyAfterASendThatWouldBlock)
{
    CPeerSocket peer;
    const SOCKET s = Connected(FD_WRITE, peer);
    ASSERT_TRUE(m_driver.PumpUntil([&] { return Count(s, FD_WRITE) == 1; }));
    const std::string block(65536, 'z');
    ASSERT_EQ(send(s, block.data(), 10, 0), 10);
    Settle();
    EXPECT_EQ(Count(s, FD_WRITE), 1) << "a send that went through arms nothing";
    while (send(s, block.data(), static_cast<int>(block.size()), 0) != SOCKET_ERROR) { }
    ASSERT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
    Settle();
    EXPECT_EQ(Count(s, FD_WRITE), 1) << "no room yet";
    std::thread reader([&peer] { peer.ReceiveAll(2000ms); });
    EXPECT_TRUE(m_driver.PumpUntil([&] { return Count(s, FD_WRITE) == 2; }));
    closesocket(s);
    reader.join();
}

TEST_F(WinsockTest, ConnectReportsItsOutcomeOnce)
{
    CPeerListener server;
    const SOCKET s = Track(socket(AF_INET, SOCK_STREAM, 0));
    ASSERT_EQ(WSAAsyncSelect(s, m_hWnd, WM_NOTE, FD_CONNECT | FD_WRITE), 0);
    SOCKADDR_IN address {};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<USHORT>(server.Port()));
    address.sin_addr.s_addr = inet_addr("127.0.0.1");
    EXPECT_EQ(connect(s, reinterpret_cast<SOCKADDR*>(&address), sizeof(address)), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
    ASSERT_TRUE(m_driver.PumpUntil([&] { return Count(s, FD_CONNECT) == 1 && Count(s, FD_WRITE) == 1; }));
    EXPECT_EQ(m_notes.front().lEvent, FD_CONNECT) << "connect before write";
    EXPECT_EQ(m_notes.front().nError, 0);

    const int nClosedPort = server.Port();
    server.Close();
    const SOCKET sRefused = Track(socket(AF_INET, SOCK_STREAM, 0));
    ASSERT_EQ(WSAAsyncSelect(sRefused, m_hWnd, WM_NOTE, FD_CONNECT | FD_WRITE), 0);
    address.sin_port = htons(static_cast<USHORT>(nClosedPort));
    EXPECT_EQ(connect(sRefused, reinterpret_cast<SOCKADDR*>(&address), sizeof(address)), SOCKET_ERROR);
    ASSERT_TRUE(m_driver.PumpUntil([&] { return Count(sRefused, FD_CONNECT) == 1; }));
    EXPECT_EQ(m_notes.back().nError, WSAECONNREFUSED);
    Settle();
    EXPECT_EQ(Count(sRefused, FD_WRITE), 0);
}

TEST_F(WinsockTest, ANewSelectionReplacesTheOldAndCloseEndsThem)
{
    CPeerSocket peer;
    const SOCKET s = Connected(FD_READ | FD_CLOSE, peer);
    ASSERT_EQ(WSAAsyncSelect(s, m_hWnd, WM_NOTE, FD_CLOSE), 0);
    ASSERT_TRUE(peer.Send("data"));
    peer.ShutDownSend();
    ASSERT_TRUE(m_driver.PumpUntil([&] { return Count(s, FD_CLOSE) == 1; })) << "close without reading";
    EXPECT_EQ(Count(s, FD_READ), 0);

    CPeerSocket second;
    const SOCKET s2 = Connected(FD_READ, second);
    closesocket(s2);
    ASSERT_TRUE(second.Send("late"));
    Settle();
    EXPECT_EQ(Count(s2, FD_READ), 0);
    // A closed handle never names a later socket.
    const SOCKET s3 = Track(socket(AF_INET, SOCK_STREAM, 0));
    EXPECT_NE(s3, s2);
    EXPECT_EQ(recv(s2, nullptr, 0, 0), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
}

TEST_F(WinsockTest, ABlockedMessageWaitWakesForASocket)
{
    CPeerSocket peer;
    const SOCKET s = Connected(FD_READ, peer);
    std::thread sender([&peer] {
        std::this_thread::sleep_for(50ms);
        peer.Send("wake");
    });
    const auto start = std::chrono::steady_clock::now();
    MSG msg {};
    ASSERT_TRUE(GetMessage(&msg, nullptr, 0, 0));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    EXPECT_EQ(msg.message, WM_NOTE);
    EXPECT_EQ(static_cast<SOCKET>(msg.wParam), s);
    EXPECT_EQ(WSAGETSELECTEVENT(msg.lParam), FD_READ);
    sender.join();
}

TEST(WinsockAddressTest, DottedAddressesAndByteOrder)
{
    EXPECT_EQ(ntohl(inet_addr("127.0.0.1")), 0x7F000001u);
    EXPECT_EQ(inet_addr("256.0.0.1"), INADDR_NONE);
    EXPECT_EQ(inet_addr("1.2.3"), INADDR_NONE);
    EXPECT_EQ(inet_addr("1.2.3.4x"), INADDR_NONE);
    EXPECT_STREQ(inet_ntoa(IN_ADDR { inet_addr("10.64.0.7") }), "10.64.0.7");
    EXPECT_EQ(htons(0x1234), 0x3412);
}
