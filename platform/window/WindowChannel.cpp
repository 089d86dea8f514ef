#include "platform/window/WindowChannel.h"

#include "platform/base/NamedMutex.h"
#include "platform/base/ResourceModule.h"
#include "platform/base/WinError.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Messages.h"
#include "platform/window/WindowClass.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <optional>

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// The stand-in windows of a second start share this class.
constexpr char STAND_IN_CLASS[] = "ArchivoraInstanceStandIn";

// One request on the channel, answered by one LRESULT.
struct SRequest {
    uint64_t uMsg;
    uint64_t wParam;
    int64_t lParam;
};

// Moves all of the buffer through `transfer` (one read or send at a time);
// false on end of stream or error.
template<class Transfer> bool TransferAll(char* p, size_t cb, Transfer transfer)
{
    while (cb > 0) {
        ssize_t n = transfer(p, cb);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        cb -= static_cast<size_t>(n);
    }
    return true;
}

bool ReadAll(int fd, void* pBuffer, size_t cb)
{
    return TransferAll(static_cast<char*>(pBuffer), cb, [fd](char* p, size_t n) { return read(fd, p, n); });
}

bool WriteAll(int fd, const void* pBuffer, size_t cb)
{
    // The buffer is only read: send takes it as const again.
    return TransferAll(const_cast<char*>(static_cast<const char*>(pBuffer)), cb,
        [fd](const char* p, size_t n) { return send(fd, p, n, MSG_NOSIGNAL); });
}

void CloseFd(int& fd)
{
    if (fd >= 0)
        close(fd);
    fd = -1;
}

// Fills addr with the socket path; false (ERROR_FILENAME_EXCED_RANGE) when it does not fit.
bool MakeAddress(const std::string& strPath, sockaddr_un& addr)
{
    addr = {};
    addr.sun_family = AF_UNIX;
    if (strPath.empty() || strPath.size() >= sizeof(addr.sun_path)) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    std::memcpy(addr.sun_path, strPath.c_str(), strPath.size() + 1);
    return true;
}
}

CWindowChannel::~CWindowChannel()
{
    Close();
}

void CWindowChannel::Close()
{
    if (m_server.joinable()) {
        char ch = 0;
        (void)!write(m_fdStop[1], &ch, 1);
        m_server.join();
    }
    if (m_fdListen >= 0) {
        unlink(ChannelPath().c_str());
        CloseFd(m_fdListen);
    }
    CloseFd(m_fdStop[0]);
    CloseFd(m_fdStop[1]);
    if (m_bFinderInstalled)
        SetForeignWindowFinder(nullptr);
    m_bFinderInstalled = FALSE;
    if (m_hStandIn)
        DestroyWindow(m_hStandIn);
    m_hStandIn = nullptr;
    CloseFd(m_fdPeer);
}

void CWindowChannel::Reach(LPCTSTR pszClassName)
{
    m_strClassName = pszClassName;
    SetForeignWindowFinder(this);
    m_bFinderInstalled = TRUE;
}

std::string CWindowChannel::ChannelPath() const
{
    std::optional<std::string> strFolder = CNamedMutexFiles::RuntimeFolder();
    if (!strFolder)
        return {};
    return *strFolder + "/" + CNamedMutexFiles::FileStem(static_cast<LPCTSTR>(m_strClassName)) + ".sock";
}

BOOL CWindowChannel::Serve(LPCTSTR pszClassName)
{
    m_strClassName = pszClassName;
    sockaddr_un addr;
    std::string strPath = ChannelPath();
    if (!MakeAddress(strPath, addr))
        return FALSE;
    // We hold the mutex, so a socket file left there is from an instance that died.
    unlink(strPath.c_str());
    m_fdListen = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_fdListen < 0 || bind(m_fdListen, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0
        || listen(m_fdListen, 4) != 0 || pipe2(m_fdStop, O_CLOEXEC) != 0) {
        SetLastErrorFromErrno();
        return FALSE;
    }
    m_server = std::thread([this] { ServeLoop(); });
    return TRUE;
}

void CWindowChannel::ServeLoop()
{
    int fdClient = -1;
    for (;;) {
        pollfd fds[2] = { { m_fdStop[0], POLLIN, 0 }, { fdClient >= 0 ? fdClient : m_fdListen, POLLIN, 0 } };
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (fds[0].revents)
            break;
        if (!fds[1].revents)
            continue;
        if (fdClient < 0) {
            fdClient = accept4(m_fdListen, nullptr, nullptr, SOCK_CLOEXEC);
            continue;
        }
        SRequest request;
        if (!ReadAll(fdClient, &request, sizeof(request))) {
            CloseFd(fdClient);
            continue;
        }
        // Only commands cross: they carry no pointers into the sender's memory.
        int64_t lResult = 0;
        HWND hMain = FindWindowEx(nullptr, nullptr, m_strClassName, nullptr);
        if (hMain && request.uMsg == WM_COMMAND)
            lResult = SendMessage(
                hMain, WM_COMMAND, static_cast<WPARAM>(request.wParam), static_cast<LPARAM>(request.lParam));
        if (!WriteAll(fdClient, &lResult, sizeof(lResult)))
            CloseFd(fdClient);
    }
    CloseFd(fdClient);
}

HWND CWindowChannel::FindTopLevelWindow(LPCSTR lpszClass, LPCSTR lpszWindow)
{
    if (!lpszClass || IS_INTRESOURCE(lpszClass) || lpszWindow || m_strClassName.CompareNoCase(lpszClass) != 0)
        return nullptr;
    if (m_hStandIn)
        return m_hStandIn;
    sockaddr_un addr;
    if (!MakeAddress(ChannelPath(), addr))
        return nullptr;
    m_fdPeer = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_fdPeer < 0 || connect(m_fdPeer, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0) {
        CloseFd(m_fdPeer);
        return nullptr;
    }
    WNDCLASS wc {};
    if (!GetClassInfo(nullptr, STAND_IN_CLASS, &wc)) {
        wc.lpfnWndProc = StandInProc;
        wc.lpszClassName = STAND_IN_CLASS;
        RegisterClass(&wc);
    }
    m_hStandIn = CreateWindowEx(0, STAND_IN_CLASS, "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    if (!m_hStandIn) {
        CloseFd(m_fdPeer);
        return nullptr;
    }
    SetWindowLongPtr(m_hStandIn, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return m_hStandIn;
}

LRESULT CALLBACK CWindowChannel::StandInProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    auto* pThis = reinterpret_cast<CWindowChannel*>(GetWindowLongPtr(hWnd, GWLP_USERDATA));
    if (pThis && uMsg == WM_COMMAND)
        return pThis->Forward(uMsg, wParam, lParam);
    return DefWindowProc(hWnd, uMsg, wParam, lParam);
}

LRESULT CWindowChannel::Forward(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    SRequest request { uMsg, static_cast<uint64_t>(wParam), static_cast<int64_t>(lParam) };
    int64_t lResult = 0;
    if (!WriteAll(m_fdPeer, &request, sizeof(request)) || !ReadAll(m_fdPeer, &lResult, sizeof(lResult)))
        return 0;
    return static_cast<LRESULT>(lResult);
}
