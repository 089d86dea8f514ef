#include "platform/testing/TestXServer.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr auto START_TIMEOUT = std::chrono::seconds(20);

// Starts a program with its output sent nowhere; `nKeepFd` stays open in it.
pid_t Spawn(const char* const* argv, int nKeepFd, const std::string& strDisplay)
{
    pid_t nPid = fork();
    if (nPid != 0)
        return nPid;
    int fdNull = open("/dev/null", O_RDWR);
    if (fdNull >= 0) {
        dup2(fdNull, STDIN_FILENO);
        dup2(fdNull, STDOUT_FILENO);
        dup2(fdNull, STDERR_FILENO);
    }
    // Only the descriptors it needs go with it: the test's own stay behind.
    for (int fd = STDERR_FILENO + 1; fd < 1024; ++fd) {
        if (fd != nKeepFd)
            close(fd);
    }
    if (!strDisplay.empty())
        setenv("DISPLAY", strDisplay.c_str(), 1);
    execvp(argv[0], const_cast<char* const*>(argv));
    _exit(127);
}

void Stop(pid_t& nPid)
{
    if (nPid <= 0)
        return;
    kill(nPid, SIGTERM);
    waitpid(nPid, nullptr, 0);
    nPid = -1;
}

}

CTestXServer::CTestXServer(EWindowManager eWindowManager)
{
    if (const char* pszExisting = std::getenv("ARCHIVORA_TEST_DISPLAY"); pszExisting && *pszExisting) {
        m_strName = pszExisting;
        return;
    }
    if (!StartXvfb())
        return;
    if (eWindowManager == EWindowManager::Openbox && !StartOpenbox()) {
        Stop(m_nServer);
        m_strName.clear();
    }
}

CTestXServer::~CTestXServer()
{
    Stop(m_nWindowManager);
    Stop(m_nServer);
}

void CTestXServer::Kill()
{
    if (m_nWindowManager > 0)
        kill(m_nWindowManager, SIGKILL);
    if (m_nServer > 0)
        kill(m_nServer, SIGKILL);
}

bool CTestXServer::StartXvfb()
{
    int fds[2] = { -1, -1 };
    if (pipe2(fds, O_CLOEXEC) != 0) {
        m_strFailure = "no pipe for the server";
        return false;
    }
    // The pipe's write end must survive the exec: only it loses close-on-exec.
    int fdWrite = dup(fds[1]);
    close(fds[1]);
    std::string strFd = std::to_string(fdWrite);
    const char* argv[] = { "Xvfb", "-displayfd", strFd.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
        "-noreset", nullptr };
    m_nServer = Spawn(argv, fdWrite, std::string());
    close(fdWrite);
    std::string strNumber;
    auto deadline = std::chrono::steady_clock::now() + START_TIMEOUT;
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd fd { fds[0], POLLIN, 0 };
        if (poll(&fd, 1, 100) <= 0)
            continue;
        char szChunk[32] {};
        ssize_t nRead = read(fds[0], szChunk, sizeof(szChunk) - 1);
        if (nRead <= 0)
            break; // the server ended without naming a display
        strNumber.append(szChunk, static_cast<size_t>(nRead));
        if (strNumber.find('\n') != std::string::npos)
            break;
    }
    close(fds[0]);
    while (!strNumber.empty() && (strNumber.back() == '\n' || strNumber.back() == '\r'))
        strNumber.pop_back();
    if (strNumber.empty() || strNumber.find_first_not_of("0123456789") != std::string::npos) {
        m_strFailure = "Xvfb did not start (is the xvfb package installed?)";
        Stop(m_nServer);
        return false;
    }
    m_strName = ":" + strNumber;
    return true;
}

bool CTestXServer::StartOpenbox()
{
    const char* argv[] = { "openbox", "--sm-disable", nullptr };
    m_nWindowManager = Spawn(argv, -1, m_strName);
    Display* pDisplay = XOpenDisplay(m_strName.c_str());
    if (!pDisplay) {
        m_strFailure = "the new server refuses connections";
        return false;
    }
    // The window manager serves once it has announced itself on the root.
    Atom check = XInternAtom(pDisplay, "_NET_SUPPORTING_WM_CHECK", False);
    bool bReady = false;
    auto deadline = std::chrono::steady_clock::now() + START_TIMEOUT;
    while (!bReady && std::chrono::steady_clock::now() < deadline) {
        Atom type = None;
        int nFormat = 0;
        unsigned long nItems = 0;
        unsigned long nAfter = 0;
        unsigned char* pData = nullptr;
        if (XGetWindowProperty(pDisplay, DefaultRootWindow(pDisplay), check, 0, 1, False, XA_WINDOW, &type, &nFormat,
                &nItems, &nAfter, &pData)
                == Success
            && nItems == 1)
            bReady = true;
        if (pData)
            XFree(pData);
        if (!bReady)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    // It announces itself before it manages windows, and may drop what it is
    // asked meanwhile: it serves once a window of ours has been mapped through
    // it, asked again each while.
    if (bReady) {
        Window probe = XCreateSimpleWindow(pDisplay, DefaultRootWindow(pDisplay), 0, 0, 10, 10, 0, 0, 0);
        bReady = false;
        for (int nTry = 0; !bReady && std::chrono::steady_clock::now() < deadline; ++nTry) {
            if (nTry % 25 == 0) {
                XUnmapWindow(pDisplay, probe);
                XMapWindow(pDisplay, probe);
            }
            XWindowAttributes attributes {};
            bReady = XGetWindowAttributes(pDisplay, probe, &attributes) && attributes.map_state == IsViewable;
            if (!bReady)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        XDestroyWindow(pDisplay, probe);
        XSync(pDisplay, False);
    }
    XCloseDisplay(pDisplay);
    if (!bReady)
        m_strFailure = "openbox did not start (is the openbox package installed?)";
    return bReady;
}
