#include "platform/net/AsyncSocket.h"

#include "platform/window/Messages.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"

#include <cstring>
#include <mutex>
#include <unordered_map>

namespace {

// The message of the socket window's notifications.
constexpr UINT WM_SOCKET_NOTIFY = 0x0373;
constexpr char SOCKET_WINDOW_CLASS[] = "ArchivoraSocketWindow";

// The calling thread's sockets, by handle.
thread_local std::unordered_map<SOCKET, CAsyncSocket*> t_handleMap;
thread_local HWND t_hSocketWindow = nullptr;

LRESULT CALLBACK SocketWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_SOCKET_NOTIFY) {
        CAsyncSocket::DoCallBack(wParam, lParam);
        return 0;
    }
    if (uMsg == WM_NCDESTROY && hWnd == t_hSocketWindow)
        t_hSocketWindow = nullptr;
    return DefWindowProc(hWnd, uMsg, wParam, lParam);
}

HWND SocketWindow()
{
    static std::once_flag s_registered;
    std::call_once(s_registered, [] {
        WNDCLASS wc {};
        wc.lpfnWndProc = SocketWindowProc;
        wc.lpszClassName = SOCKET_WINDOW_CLASS;
        wc.style = CS_GLOBALCLASS;
        RegisterClass(&wc);
    });
    if (t_hSocketWindow == nullptr || !IsWindow(t_hSocketWindow))
        t_hSocketWindow
            = CreateWindowEx(0, SOCKET_WINDOW_CLASS, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    return t_hSocketWindow;
}

// A dotted address or "localhost" in network byte order; INADDR_NONE otherwise.
ULONG AddressOf(LPCTSTR pszAddress)
{
    if (pszAddress == nullptr || *pszAddress == '\0')
        return htonl(INADDR_ANY);
    if (std::strcmp(pszAddress, "localhost") == 0)
        return htonl(0x7F000001);
    return inet_addr(pszAddress);
}

} // namespace

BOOL AfxSocketInit(WSADATA* lpwsaData)
{
    WSADATA data {};
    WSAStartup(0x0101, lpwsaData != nullptr ? lpwsaData : &data);
    return SocketWindow() != nullptr ? TRUE : FALSE;
}

CAsyncSocket::~CAsyncSocket()
{
    if (m_hSocket != INVALID_SOCKET)
        CAsyncSocket::Close();
}

BOOL CAsyncSocket::Create(UINT nSocketPort, int nSocketType, long lEvent, LPCTSTR lpszSocketAddress)
{
    const ULONG nAddress = AddressOf(lpszSocketAddress);
    if (nAddress == INADDR_NONE) {
        WSASetLastError(WSAEINVAL);
        return FALSE;
    }
    const SOCKET hSocket = socket(AF_INET, nSocketType, 0);
    if (hSocket == INVALID_SOCKET)
        return FALSE;
    if (!Attach(hSocket, lEvent)) {
        const int nError = WSAGetLastError();
        Close();
        WSASetLastError(nError);
        return FALSE;
    }
    SOCKADDR_IN address {};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<USHORT>(nSocketPort));
    address.sin_addr.s_addr = nAddress;
    if (bind(m_hSocket, reinterpret_cast<const SOCKADDR*>(&address), sizeof(address)) == SOCKET_ERROR) {
        const int nError = WSAGetLastError();
        Close();
        WSASetLastError(nError);
        return FALSE;
    }
    return TRUE;
}

void CAsyncSocket::Close()
{
    if (m_hSocket == INVALID_SOCKET)
        return;
    t_handleMap.erase(m_hSocket);
    closesocket(m_hSocket);
    m_hSocket = INVALID_SOCKET;
}

BOOL CAsyncSocket::Attach(SOCKET hSocket, long lEvent)
{
    if (hSocket == INVALID_SOCKET || m_hSocket != INVALID_SOCKET) {
        WSASetLastError(WSAEINVAL);
        return FALSE;
    }
    m_hSocket = hSocket;
    t_handleMap[hSocket] = this;
    return lEvent == 0 || AsyncSelect(lEvent) ? TRUE : FALSE;
}

SOCKET CAsyncSocket::Detach()
{
    const SOCKET hSocket = m_hSocket;
    if (hSocket != INVALID_SOCKET) {
        WSAAsyncSelect(hSocket, nullptr, 0, 0);
        t_handleMap.erase(hSocket);
    }
    m_hSocket = INVALID_SOCKET;
    return hSocket;
}

CAsyncSocket* CAsyncSocket::FromHandle(SOCKET hSocket)
{
    auto it = t_handleMap.find(hSocket);
    return it == t_handleMap.end() ? nullptr : it->second;
}

BOOL CAsyncSocket::Listen(int nConnectionBacklog)
{
    return listen(m_hSocket, nConnectionBacklog) == 0 ? TRUE : FALSE;
}

BOOL CAsyncSocket::Accept(CAsyncSocket& rConnectedSocket, SOCKADDR* lpSockAddr, int* lpSockAddrLen)
{
    if (rConnectedSocket.m_hSocket != INVALID_SOCKET) {
        WSASetLastError(WSAEINVAL);
        return FALSE;
    }
    const SOCKET hSocket = accept(m_hSocket, lpSockAddr, lpSockAddrLen);
    if (hSocket == INVALID_SOCKET)
        return FALSE;
    // The new socket keeps the selection it took over from the listener.
    rConnectedSocket.m_hSocket = hSocket;
    t_handleMap[hSocket] = &rConnectedSocket;
    return TRUE;
}

BOOL CAsyncSocket::Connect(LPCTSTR lpszHostAddress, UINT nHostPort)
{
    const ULONG nAddress = AddressOf(lpszHostAddress);
    if (nAddress == INADDR_NONE || nAddress == htonl(INADDR_ANY)) {
        WSASetLastError(WSAEINVAL);
        return FALSE;
    }
    SOCKADDR_IN address {};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<USHORT>(nHostPort));
    address.sin_addr.s_addr = nAddress;
    return connect(m_hSocket, reinterpret_cast<const SOCKADDR*>(&address), sizeof(address)) == 0 ? TRUE : FALSE;
}

BOOL CAsyncSocket::ShutDown(int nHow)
{
    return shutdown(m_hSocket, nHow) == 0 ? TRUE : FALSE;
}

int CAsyncSocket::Receive(void* lpBuf, int nBufLen, int nFlags)
{
    return recv(m_hSocket, static_cast<char*>(lpBuf), nBufLen, nFlags);
}

int CAsyncSocket::Send(const void* lpBuf, int nBufLen, int nFlags)
{
    return send(m_hSocket, static_cast<const char*>(lpBuf), nBufLen, nFlags);
}

BOOL CAsyncSocket::AsyncSelect(long lEvent)
{
    HWND hWnd = SocketWindow();
    if (hWnd == nullptr) {
        WSASetLastError(WSAENOBUFS);
        return FALSE;
    }
    return WSAAsyncSelect(m_hSocket, hWnd, WM_SOCKET_NOTIFY, lEvent) == 0 ? TRUE : FALSE;
}

BOOL CAsyncSocket::IOCtl(long lCommand, DWORD* lpArgument)
{
    static_assert(sizeof(DWORD) == sizeof(ULONG));
    return ioctlsocket(m_hSocket, lCommand, reinterpret_cast<ULONG*>(lpArgument)) == 0 ? TRUE : FALSE;
}

BOOL CAsyncSocket::GetSockName(CString& rSocketAddress, UINT& rSocketPort)
{
    SOCKADDR_IN address {};
    int nLength = sizeof(address);
    if (getsockname(m_hSocket, reinterpret_cast<SOCKADDR*>(&address), &nLength) != 0)
        return FALSE;
    rSocketAddress = inet_ntoa(address.sin_addr);
    rSocketPort = ntohs(address.sin_port);
    return TRUE;
}

BOOL CAsyncSocket::GetPeerName(CString& rPeerAddress, UINT& rPeerPort)
{
    SOCKADDR_IN address {};
    int nLength = sizeof(address);
    if (getpeername(m_hSocket, reinterpret_cast<SOCKADDR*>(&address), &nLength) != 0)
        return FALSE;
    rPeerAddress = inet_ntoa(address.sin_addr);
    rPeerPort = ntohs(address.sin_port);
    return TRUE;
}

void CAsyncSocket::OnAccept(int) { }
void CAsyncSocket::OnReceive(int) { }
void CAsyncSocket::OnSend(int) { }
void CAsyncSocket::OnConnect(int) { }
void CAsyncSocket::OnClose(int) { }
void CAsyncSocket::OnOutOfBandData(int) { }

void CAsyncSocket::DoCallBack(WPARAM wParam, LPARAM lParam)
{
    CAsyncSocket* pSocket = FromHandle(static_cast<SOCKET>(wParam));
    if (pSocket == nullptr)
        return;
    const int nError = WSAGETSELECTERROR(lParam);
    switch (WSAGETSELECTEVENT(lParam)) {
    case FD_READ:
        pSocket->OnReceive(nError);
        break;
    case FD_WRITE:
        pSocket->OnSend(nError);
        break;
    case FD_OOB:
        pSocket->OnOutOfBandData(nError);
        break;
    case FD_ACCEPT:
        pSocket->OnAccept(nError);
        break;
    case FD_CONNECT:
        pSocket->OnConnect(nError);
        break;
    case FD_CLOSE:
        pSocket->OnClose(nError);
        break;
    default:
        break;
    }
}
